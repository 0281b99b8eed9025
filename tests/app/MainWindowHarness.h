#pragma once

#include "FakePlotApi.h"
#include "Recorders.h"
#include "app/frmData.h"
#include "core/Lifecycle.h"
#include "graphs/PlotLink.h"
#include "plotter/PlotEngine.h"

#include <QApplication>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace lobex::test {

// The main window as start-up builds it: the real plot engine (its document commands recorded),
// recorded services (or the given help service), a private temporary folder.
struct MainWindowHarness {
    explicit MainWindowHarness(HelpService* help = nullptr)
        : services{recorders.messages, recorders.settings, help ? *help : recorders.help,
                   recorders.dialogs, recorders.mmana} {
        PrepareStartupState(state, {"/opt/lobex", folder.path().toStdString(), ".", '/'});
        engine.SetDecimalSeparator(state.DecimalSeparator);
        engine.SetBitmapsFillArea(true);
        window = std::make_unique<frmData>(state, services, link);
        window->resize(1220, 760);
        window->Form_Load();
        StartPlotter(link, state, recorders.messages);
    }

    QTemporaryDir folder;
    AppState state;
    RecordingServices recorders;
    Services services;
    plotter::PlotEngine engine;
    FakePlotApi api{&engine};
    PlotLink link{api};
    std::unique_ptr<frmData> window;
};

// The polar window while it is on show; null otherwise.
inline QWidget* PolarWindow() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QStringLiteral("frmPolar") && top->isVisible()) {
            return top;
        }
    }
    return nullptr;
}

// A file of samples/ and one of tests/data (the benchmarks build the window without them).
#ifdef LOBEX_SAMPLES_DIR
inline std::string Sample(const char* name) {
    return std::string(LOBEX_SAMPLES_DIR) + "/" + name;
}
inline std::string Fixture(const char* name) {
    return std::string(LOBEX_TEST_DATA_DIR) + "/" + name;
}
#endif

} // namespace lobex::test
