#pragma once

#include "FakePlotApi.h"
#include "Recorders.h"
#include "app/frmData.h"
#include "core/Lifecycle.h"
#include "graphs/PlotLink.h"
#include "plotter/PlotEngine.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QSaveFile>
#include <QTableView>
#include <QTemporaryDir>
#ifdef LOBEX_SAMPLES_DIR
#include <QTest> // for the tests' fixture only: the benchmarks have no Qt test library
#endif

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

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

    // Writes bytes into the private folder as they stand and gives the file's path.
    std::string Write(const char* name, std::string_view bytes) const {
        QFile file(folder.filePath(QLatin1String(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << name;
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return file.fileName().toStdString();
    }

    // A copy of a sample in the private folder, for the test to rewrite; the copy's path.
    std::string Copy(const char* sample) const;

    // Opens a file as a file manager hands it over and waits until it is on show: a large one
    // (a NEC-2 output of several patterns) is read off the window's thread.
    bool OpenAndWait(const std::string& path) {
        window->OpenFileFromOutside(path);
        QDeadlineTimer deadline(30000);
        while (state.Loaded.CurrentFile != path && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        return state.Loaded.CurrentFile == path;
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

// Replaces a file the way MMANA and editors do: a new file renamed over the old one.
inline void Replace(const std::string& path, const QByteArray& bytes) {
    QSaveFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path;
    file.write(bytes);
    ASSERT_TRUE(file.commit()) << path;
}

// The polar window while it is on show; null otherwise.
inline QWidget* PolarWindow() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QStringLiteral("frmPolar") && top->isVisible()) {
            return top;
        }
    }
    return nullptr;
}

// A file of samples/ and one of tests/data, and a test over the window (the benchmarks build the
// window without them, nor Qt's test library).
#ifdef LOBEX_SAMPLES_DIR
inline std::string Sample(const char* name) {
    return std::string(LOBEX_SAMPLES_DIR) + "/" + name;
}
inline std::string Fixture(const char* name) {
    return std::string(LOBEX_TEST_DATA_DIR) + "/" + name;
}
inline std::string MainWindowHarness::Copy(const char* sample) const {
    QFile source(QString::fromStdString(Sample(sample)));
    EXPECT_TRUE(source.open(QIODevice::ReadOnly)) << sample;
    return Write(sample, source.readAll().toStdString());
}

// A test of the main window as start-up builds it.
class MainWindowTestBase : public ::testing::Test {
protected:
    explicit MainWindowTestBase(HelpService* help = nullptr) : harness(help) {}
    // The cells of one row of the grid, as shown.
    QStringList GridRow(int row) const {
        const QAbstractItemModel* model =
            window.findChild<QTableView*>(QStringLiteral("ctlGrid"))->model();
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c) {
            cells << model->index(row, c).data().toString();
        }
        return cells;
    }
    // The window on show with a file opened; what the open said and drew is forgotten.
    void Open(const std::string& path) {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 30000));
        window.OpenFileFromOutside(path);
        recorders.messages.shown.clear();
        harness.api.commands.clear();
    }

    MainWindowHarness harness;
    AppState& state = harness.state;
    RecordingServices& recorders = harness.recorders;
    frmData& window = *harness.window;
};
#endif

} // namespace lobex::test
