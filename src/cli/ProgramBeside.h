#pragma once

#include <string>
#include <vector>

namespace lobex::cli {

// Runs the program `name` that lies in this program's folder with args, on this program's
// standard streams, and gives its exit status. Where the system allows it this process becomes
// that program and never returns; it does return, with the reason in error, when the program
// cannot be started.
int RunProgramBeside(const std::string& name, const std::vector<std::string>& args,
                     std::string& error);

} // namespace lobex::cli
