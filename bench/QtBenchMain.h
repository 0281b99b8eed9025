#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <benchmark/benchmark.h>

namespace lobex::bench {

// The main of a benchmark program that needs a Qt application object: App on `platform`
// unless QT_QPA_PLATFORM names another.
template <typename App>
int RunWithQt(int argc, char** argv, const char* platform) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", platform);
    }
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace lobex::bench
