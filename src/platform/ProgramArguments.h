#pragma once

#include <string>
#include <vector>

namespace lobex {

// The words of the command line after the program's name, as the system gave them. File names
// are bytes on POSIX and are kept so, valid UTF-8 or not (a name in Latin-1 still opens);
// Windows hands them over as UTF-16, and they come back as UTF-8.
std::vector<std::string> ProgramArguments(int argc, char** argv);

} // namespace lobex
