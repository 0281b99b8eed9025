#include "NecDeck.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

extern char** environ;

namespace lobex::cli {

bool NecDeckRun::Run(const std::string& deck, std::string& output, std::string& error) {
    return folder_.Make(deck, error) && Spawn(output, error);
}

bool NecDeckRun::RunText(const std::string& text, std::string& output, std::string& error) {
    return folder_.MakeWithText("model.nec", text, error) && Spawn(output, error);
}

bool NecDeckRun::Spawn(std::string& output, std::string& error) {
    output = folder_.Output();
    const std::string log = folder_.Log();
    std::vector<std::string> words = folder_.Command();
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addchdir_np(&actions, folder_.Path().c_str());
    pid_t child = 0;
    const int started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) {
        error = NecNotStartedText(std::strerror(started));
        return false;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        return true;
    }
    error = folder_.FailureText();
    return false;
}

} // namespace lobex::cli
