#include "CommandLine.h"
#include "CompareControls.h"
#include "core/AppState.h"
#include "core/Lifecycle.h"
#include "core/NecRun.h"
#include "core/Remembered.h"
#include "dialogs/QtFileDialogs.h"
#include "dialogs/QtHelpService.h"
#include "frmData.h"
#include "graphs/PlotLink.h"
#include "platform/LocaleInfo.h"
#include "platform/MmanaWindowLink.h"
#include "platform/ProgramArguments.h"
#include "platform/QtMessageService.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtTranslations.h"
#include "platform/SingleInstance.h"
#include "platform/TempFolder.h"
#include "plotter/PlotEngine.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTimer>

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

namespace {

// Start-up texts, in the program's own words.
constexpr std::string_view kNoTempFolderMessage = QT_TRANSLATE_NOOP(
    "lobex", "Не удалось создать папку для временных файлов. Программа будет закрыта.");
constexpr std::string_view kNoLockMessage =
    QT_TRANSLATE_NOOP("lobex", "Не удалось создать файл блокировки");
constexpr std::string_view kNoLockConsequence =
    QT_TRANSLATE_NOOP("lobex", "Запуск второй копии программы не будет замечен.");

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Lobex"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LOBEX_VERSION_TEXT));
    // The program speaks Russian, so Qt's own dialogs and buttons should too; without the
    // translation installed they stay in English. An English interface, when chosen, is put in
    // place before any window is made, and Qt's texts then stay English.
    {
        lobex::QtSettingsStore languageStore;
        if (lobex::ReadLanguage(languageStore) != lobex::Language::English ||
            !lobex::InstallEnglish()) {
            lobex::InstallQtRussian();
        }
    }

    // File names are taken from the command line as bytes: Qt's own list of the arguments
    // would turn a name that is not UTF-8 into another one.
    const lobex::StartupOptions options =
        lobex::ParseStartupOptions(lobex::ProgramArguments(argc, argv));
    if (!options.error.isEmpty()) {
        std::fprintf(stderr,
                     "lobex: %s\nusage: lobex [FILE [--compare OTHER]...] "
                     "[--3d|--3d-window [--antenna MODEL.maa]] [--screenshot PICTURE]\n",
                     qPrintable(options.error));
        return 2;
    }

    // A screenshot run has nobody to answer a message box; its messages go to standard error.
    lobex::QtMessageService boxes;
    lobex::PrintedMessages printed(std::cerr);
    lobex::MessageService& messages =
        options.screenshot.empty() ? static_cast<lobex::MessageService&>(boxes) : printed;
    lobex::AppState state;

    const lobex::TempFolder tempFolder = lobex::GetTempFolder();
    if (tempFolder.path.empty()) {
        messages.Show(std::string(kNoTempFolderMessage) + "\r\n" + tempFolder.problem,
                      lobex::MessageIcon::Critical, state.AppTitle);
        return 1;
    }

    // A second copy shows the first one, hands it the file it was started with, and ends. A
    // scripted screenshot run is not a second copy for the user, so it is let through. Where no
    // lock can be made, copies cannot be told apart: this one runs, and says so.
    lobex::SingleInstance instance(QFile::decodeName(tempFolder.path.c_str()));
    bool unguarded = false;
    if (options.screenshot.empty()) {
        switch (instance.TryBecomePrimary()) {
        case lobex::InstanceClaim::AnotherCopyRuns:
            instance.NotifyPrimary(
                QByteArray::fromStdString(lobex::AbsoluteFilePath(options.file)));
            return 0;
        case lobex::InstanceClaim::LockUnavailable:
            unguarded = true;
            break;
        case lobex::InstanceClaim::Primary:
            break;
        }
    }

    // NEC-2 runs of a copy that was killed leave their folders; this copy is the one to remove
    // them.
    lobex::RemoveStaleNecFolders();

    // The plot engine runs in this process, so no plotter left over from an earlier run can
    // exist; start-up goes straight on to the paths.
    lobex::StartupEnvironment environment;
    environment.appFolder =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
    environment.tempFolder = tempFolder.path;
    environment.decimalSeparator = lobex::GetDecimalSeparator();
    environment.separator = QDir::separator().toLatin1();
    lobex::PrepareStartupState(state, environment);

    lobex::QtSettingsStore settings;
    state.Paths.SavePath = lobex::ReadSetting(settings, lobex::kSavePathSetting);
    state.Paths.DataPath = lobex::ReadSetting(settings, lobex::kDataPathSetting);
    state.Paths.DescPath = lobex::ReadSetting(settings, lobex::kDescPathSetting);
    lobex::QtHelpService help;
    lobex::QtFileDialogs dialogs(state, settings, messages);
    const auto mmana = lobex::CreateMmanaWindowLink(state.Paths.UtilsFolder);
    lobex::Services services{messages, settings, help, dialogs, *mmana};

    // The plot engine runs in this process; the link is its documents and the three plot slots.
    lobex::plotter::PlotEngine engine;
    engine.SetDecimalSeparator(state.DecimalSeparator);
    engine.SetDevicePixelRatio(app.devicePixelRatio());
    // On screen the diagrams fill their boxes; copies, prints and files keep their sizes.
    engine.SetBitmapsFillArea(true);
    lobex::PlotLink link(engine);
    link.Translate = [](std::string_view text) {
        return lobex::ShownText(text).toStdString();
    };

    lobex::frmData window(state, services, link);
    engine.SetPrinterSetup([&window](QPrinter& printer) { return window.ChoosePrinter(printer); });
    boxes.SetParent(&window);
    dialogs.SetParent(&window);
    help.SetParent(&window);
    window.MmanaCanRun = lobex::MmanaCanRunHere;
    window.Form_Load();
    if (!lobex::StartPlotter(link, state, messages, [] { QCoreApplication::processEvents(); })) {
        return 1;
    }
    window.show();
    QObject::connect(&instance, &lobex::SingleInstance::ShowRequested, &window,
                     &lobex::frmData::ShowFromOtherCopy);
    QObject::connect(&instance, &lobex::SingleInstance::FileRequested, &window,
                     [&window](const QByteArray& file) {
                         lobex::OpenFileFromOtherCopy(
                             window, lobex::WithNativeSeparators(file.toStdString()));
                     });

    // What the command line asks for runs once the window is up, the screenshot last: a load
    // lets window events run, and the picture must show the load finished. All but the open
    // waits for the file to be on show: a NEC-2 deck runs, a large output is read apart.
    auto* opened = new QTimer(&window);
    opened->setInterval(50);
    QTimer::singleShot(0, &window, [&] {
        if (unguarded) {
            // The path sits inside the sentence: its parts are put in the interface language here.
            messages.Show(lobex::ShownText(kNoLockMessage).toStdString() + " " +
                              instance.LockPath().toStdString() + ".\r\n" +
                              std::string(kNoLockConsequence),
                          lobex::MessageIcon::Information, state.AppTitle);
        }
        if (!options.file.empty()) {
            // A file named on the command line opens as if chosen in the dialog.
            window.OpenFileFromOutside(
                lobex::WithNativeSeparators(lobex::AbsoluteFilePath(options.file)));
        }
        opened->start();
    });
    QObject::connect(opened, &QTimer::timeout, &window, [&] {
        if (window.OpenPending()) {
            return;
        }
        opened->stop();
        for (const std::string& other : options.compare) {
            window.Comparisons().CompareWith(
                lobex::WithNativeSeparators(lobex::AbsoluteFilePath(other)));
        }
        QWidget* pictured = &window;
        if (options.view3d) {
            pictured = window.Show3DForCommandLine(options.antenna, options.view3dWindow);
        }
        if (options.screenshot.empty()) {
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
