#include "ProgramBeside.h"

#include <windows.h>

#include <string>

namespace lobex::cli {
namespace {

// One word of a command line as the C runtime splits it again: quoted when it holds a blank
// or a quote, backslashes doubled where they come before a quote.
std::string QuotedWord(const std::string& word) {
    if (!word.empty() && word.find_first_of(" \t\n\v\"") == std::string::npos) {
        return word;
    }
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    quoted += '"';
    return quoted;
}

} // namespace

int RunProgramBeside(const std::string& name, const std::vector<std::string>& args,
                     std::string& error) {
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (length == 0 || length == MAX_PATH) {
        error = "cannot tell where this program lies";
        return -1;
    }
    std::string program(self, length);
    program.erase(program.find_last_of("\\/") + 1);
    program += name + ".exe";
    std::string commandLine = QuotedWord(program);
    for (const std::string& arg : args) {
        commandLine += ' ' + QuotedWord(arg);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &process)) {
        error = "cannot run " + program + ": error " + std::to_string(GetLastError());
        return -1;
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    return static_cast<int>(status);
}

} // namespace lobex::cli
