#include "GeneratedSphere.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

// lobex-cli as a script runs it, whole process: start-up on a small sweep, and info on the
// 0.5-degree full sphere against wc -l on the same file (the aim: at most three times as long).
namespace {

const std::string& SweepFile() {
    static const std::string path = LOBEX_SAMPLES_DIR "/yagi3_20m_sweep.csv";
    return path;
}

// Runs the program with its output thrown away; the children's CPU time goes to the counters,
// since on a shared machine the wall clock also counts others' work.
void Run(benchmark::State& state, const std::vector<std::string>& words) {
    std::vector<char*> argv;
    std::vector<std::string> copy = words;
    for (std::string& word : copy) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    rusage before{};
    getrusage(RUSAGE_CHILDREN, &before);
    for (auto _ : state) {
        pid_t child = 0;
        if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("the program did not start");
            break;
        }
        int status = 0;
        waitpid(child, &status, 0);
    }
    rusage after{};
    getrusage(RUSAGE_CHILDREN, &after);
    posix_spawn_file_actions_destroy(&actions);
    const auto seconds = [](const timeval& t) {
        return t.tv_sec + t.tv_usec / 1e6;
    };
    const double cpu = seconds(after.ru_utime) - seconds(before.ru_utime) +
                       seconds(after.ru_stime) - seconds(before.ru_stime);
    state.counters["child_cpu_ms"] =
        1000.0 * cpu /
        static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations()));
}

void BM_CliInfoStartup_Sweep(benchmark::State& state) {
    Run(state, {LOBEX_CLI, "info", SweepFile()});
}
BENCHMARK(BM_CliInfoStartup_Sweep)->Unit(benchmark::kMillisecond);

void BM_CliInfo_Sphere05Degree(benchmark::State& state) {
    Run(state, {LOBEX_CLI, "info", lobex::bench::HalfDegreeSphereFile()});
}
BENCHMARK(BM_CliInfo_Sphere05Degree)->Unit(benchmark::kMillisecond);

void BM_WcLines_Sphere05Degree(benchmark::State& state) {
    Run(state, {"/usr/bin/wc", "-l", lobex::bench::HalfDegreeSphereFile()});
}
BENCHMARK(BM_WcLines_Sphere05Degree)->Unit(benchmark::kMillisecond);

} // namespace
