// lobex-cli render over a folder of 50 far-field files: one worker against one per core.
// Run under xvfb-run: the 3D pictures need OpenGL (Mesa's llvmpipe).
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

constexpr int kCopies = 50;

// The 10-degree corpus file 50 times over, in a folder of its own.
const QTemporaryDir& Corpus() {
    static const QTemporaryDir folder;
    static const bool copied = [] {
        const std::filesystem::path source =
            std::filesystem::path(LOBEX_CORPUS_DIR) / "farfield_csv" / "APET_LazyH-16m2_10deg.csv";
        for (int i = 0; i < kCopies; ++i) {
            std::filesystem::copy_file(source, std::filesystem::path(folder.path().toStdString()) /
                                                   ("copy" + std::to_string(i) + ".csv"));
        }
        return true;
    }();
    (void)copied;
    return folder;
}

void BM_RenderFolder(benchmark::State& state) {
    const QString input = Corpus().path();
    const QTemporaryDir out;
    const QStringList args{QStringLiteral("render"), input,
                           QStringLiteral("--out"),  out.path(),
                           QStringLiteral("--jobs"), QString::number(state.range(0))};
    for (auto _ : state) {
        QProcess process;
        process.start(QStringLiteral(LOBEX_CLI), args);
        if (!process.waitForFinished(600000) || process.exitCode() != 0) {
            const std::string said = process.readAllStandardError().toStdString();
            state.SkipWithError(said.c_str());
            return;
        }
    }
    state.counters["files_per_s"] = benchmark::Counter(
        static_cast<double>(kCopies * state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

int main(int argc, char** argv) {
    const QCoreApplication application(argc, argv);
    const int cores = QThread::idealThreadCount();
    benchmark::RegisterBenchmark("BM_RenderFolder", BM_RenderFolder)
        ->ArgName("jobs")
        ->Arg(1)
        ->Arg(cores)
        ->Unit(benchmark::kSecond)
        ->UseRealTime()
        ->Iterations(3);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
