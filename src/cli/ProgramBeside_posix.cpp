#include "ProgramBeside.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace lobex::cli {

int RunProgramBeside(const std::string& name, const std::vector<std::string>& args,
                     std::string& error) {
    std::error_code failed;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (failed) {
        error = "cannot tell where this program lies: " + failed.message();
        return -1;
    }
    const std::string program = (self.parent_path() / name).string();
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    error = "cannot run " + program + ": " + std::strerror(errno);
    return -1;
}

} // namespace lobex::cli
