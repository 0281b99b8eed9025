#include "GeneratedSphere.h"
#include "ScratchFile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

// lobex-cli as a script runs it, whole process: start-up on a small sweep, info on the
// 0.5-degree full sphere against wc -l on the same file (the aim: at most three times as long),
// and info on a 13 MB nec2c output of 136 frequencies against wc -l (the aim: five times).
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

// A multiband dipole over perfect ground, 10 to 37 MHz in 136 steps of 0.2 MHz, each with a
// 5-degree pattern over the upper quarter sphere it is symmetric in: about 13 MB of nec2c output.
const std::string& MultibandNecOutput() {
    static const lobex::bench::ScratchFile deck("lobex-bench-multiband.nec");
    static const lobex::bench::ScratchFile output("lobex-bench-multiband.out");
    [[maybe_unused]] static const bool written = [] {
        std::ofstream(deck.path) << "CM Multiband dipole over perfect ground\nCE\n"
                                    "GW 1 21 0 -5 10 0 5 10 0.001\nGE 1\nGN 1\n"
                                    "EX 0 1 11 0 1 0\nFR 0 136 0 0 10 0.2\n"
                                    "RP 0 19 37 1000 0 0 5 5\nEN\n";
        const std::string command = "nec2c -i " + deck.path + " -o " + output.path + " >/dev/null";
        return std::system(command.c_str()) == 0;
    }();
    return output.path;
}

void BM_CliInfo_Nec136Frequencies(benchmark::State& state) {
    if (std::filesystem::file_size(MultibandNecOutput()) < 1000) {
        state.SkipWithError("nec2c wrote no output");
        return;
    }
    state.counters["file_mb"] =
        static_cast<double>(std::filesystem::file_size(MultibandNecOutput())) / 1e6;
    Run(state, {LOBEX_CLI, "info", MultibandNecOutput()});
}
BENCHMARK(BM_CliInfo_Nec136Frequencies)->Unit(benchmark::kMillisecond);

void BM_WcLines_Nec136Frequencies(benchmark::State& state) {
    Run(state, {"/usr/bin/wc", "-l", MultibandNecOutput()});
}
BENCHMARK(BM_WcLines_Nec136Frequencies)->Unit(benchmark::kMillisecond);

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
