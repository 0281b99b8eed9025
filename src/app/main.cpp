#include "CommandLine.h"
#include "core/AppState.h"
#include "core/Lifecycle.h"
#include "dialogs/QtFileDialogs.h"
#include "frmData.h"
#include "graphs/PlotLink.h"
#include "platform/LocaleInfo.h"
#include "platform/MmanaWindowLink.h"
#include "platform/QtHelpService.h"
#include "platform/QtMessageService.h"
#include "platform/QtSettingsStore.h"
#include "platform/SingleInstance.h"
#include "platform/TempFolder.h"
#include "plotter/PlotEngine.h"

#include <QApplication>
#include <QDir>
#include <QPrinter>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Lobex"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LOBEX_VERSION_TEXT));

    const lobex::StartupOptions options = lobex::ParseStartupOptions(QCoreApplication::arguments());
    if (!options.error.isEmpty()) {
        std::fprintf(stderr,
                     "lobex: %s\nusage: lobex [FILE] [--3d|--3d-window [--antenna MODEL.maa]] "
                     "[--screenshot PICTURE]\n",
                     qPrintable(options.error));
        return 2;
    }

    // A second copy shows the first one and ends without loading anything. A scripted
    // screenshot run is not a second copy for the user, so it is let through.
    const std::string tempFolder = lobex::GetTempFolder();
    lobex::SingleInstance instance(QString::fromStdString(tempFolder));
    if (options.screenshot.isEmpty() && !instance.TryBecomePrimary()) {
        instance.NotifyPrimary();
        return 0;
    }

    // The plot engine runs in this process, so no plotter left over from an earlier run can
    // exist; start-up goes straight on to the paths.
    lobex::AppState state;
    lobex::StartupEnvironment environment;
    environment.appFolder =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
    environment.tempFolder = tempFolder;
    environment.decimalSeparator = lobex::GetDecimalSeparator();
    environment.separator = QDir::separator().toLatin1();
    lobex::PrepareStartupState(state, environment);

    lobex::QtSettingsStore settings;
    state.Paths.SavePath = lobex::ReadSetting(settings, lobex::kSavePathSetting);
    state.Paths.DataPath = lobex::ReadSetting(settings, lobex::kDataPathSetting);
    state.Paths.DescPath = lobex::ReadSetting(settings, lobex::kDescPathSetting);
    lobex::QtMessageService messages;
    lobex::QtHelpService help;
    lobex::QtFileDialogs dialogs(state, settings, messages);
    const auto mmana = lobex::CreateMmanaWindowLink(state.Paths.UtilsFolder);
    lobex::Services services{messages, settings, help, dialogs, *mmana};

    // The plot engine runs in this process; the link is its documents and the three plot slots.
    lobex::plotter::PlotEngine engine;
    engine.SetDecimalSeparator(state.DecimalSeparator);
    engine.SetDevicePixelRatio(app.devicePixelRatio());
    lobex::PlotLink link(engine);

    lobex::frmData window(state, services, link);
    engine.SetPrinterSetup([&window](QPrinter& printer) { return window.ChoosePrinter(printer); });
    messages.SetParent(&window);
    dialogs.SetParent(&window);
    window.Form_Load();
    if (!lobex::StartPlotter(link, state, messages, [] { QCoreApplication::processEvents(); })) {
        return 1;
    }
    window.show();
    QObject::connect(&instance, &lobex::SingleInstance::ShowRequested, &window,
                     &lobex::frmData::ShowFromOtherCopy);

    // What the command line asks for runs once the window is up, the screenshot last: a load
    // lets window events run, and the picture must show the load finished.
    QTimer::singleShot(0, &window, [&window, &options] {
        if (!options.file.isEmpty()) {
            // A file named on the command line opens as if chosen in the dialog.
            window.OpenFileFromOutside(QDir::toNativeSeparators(options.file).toStdString());
        }
        QWidget* pictured = &window;
        if (options.view3d) {
            pictured =
                window.Show3DForCommandLine(options.antenna.toStdString(), options.view3dWindow);
        }
        if (options.screenshot.isEmpty()) {
            return;
        }
        QString error;
        if (!lobex::SaveWindowPicture(*pictured, options.screenshot, &error)) {
            std::fprintf(stderr, "lobex: cannot save the screenshot: %s\n", qPrintable(error));
            QCoreApplication::exit(1);
            return;
        }
        QCoreApplication::exit(0);
    });
    return QApplication::exec();
}
