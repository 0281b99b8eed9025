#include "ByteArguments.h"
#include "LoadHarness.h"
#include "MainWindowHarness.h"
#include "Recorders.h"
#include "WidgetLookup.h"
#include "app/frmData.h"
#include "dialogs/QtHelpService.h"
#include "dialogs/frmHelp.h"
#include "platform/QtTranslations.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include <unistd.h>

// The main window's shell: closing, keys, the grid, help, the language of Qt's own dialogs; and
// the real program as a user or a script starts it.
namespace lobex {
namespace {

using test::Find;
using test::Sample;

// The main window shown and active, as the keyboard needs it.
class KeysGridHelpTest : public test::MainWindowTestBase {
protected:
    explicit KeysGridHelpTest(HelpService* help = nullptr) : MainWindowTestBase(help) {}

    void ShowActive() {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QList<double> ColumnValues(int column) const {
        QList<double> values;
        for (int row = 0; row < state.Loaded.Data.GridRowCount; ++row) {
            QString cell = grid->model()->index(row, column).data().toString();
            values << cell.replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
        }
        return values;
    }
    void ClickHeader(int column) {
        QHeaderView* header = grid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    }

    QTableView* grid = Find<QTableView>(window, "ctlGrid");
};

TEST_F(KeysGridHelpTest, EachShortcutRunsItsMenuCommand) {
    const QString pdf = harness.folder.filePath(QStringLiteral("graph.pdf"));
    harness.engine.SetPrinterSetup([&pdf](QPrinter& printer) {
        printer.setOutputFileName(pdf);
        return true;
    });
    ShowActive();
    // Ctrl+P before anything is loaded finds no graph to print, and says nothing.
    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(recorders.messages.shown.empty());

    QTest::mouseClick(Find<QRadioButton>(window, "optSrc(1)"), Qt::LeftButton);
    recorders.dialogs.dataFile = Sample("yagi3_20m_sweep.csv");
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(recorders.dialogs.captions, std::vector<std::string>{"Open File"});
    EXPECT_GT(state.Loaded.Data.GridRowCount, 0);

    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(pdf));

    QTest::keyClick(&window, Qt::Key_F1);
    EXPECT_EQ(recorders.help.opened.size(), 1U);

    // Saving a data file from MMANA starts where data files were last opened.
    const QString data = harness.folder.filePath(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkpath(data));
    recorders.settings.values["Paths/DataPath"] = data.toStdString() + "/";
    Find<QAction>(window, "mnuFileSave")->setEnabled(true);
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(recorders.dialogs.folders, std::vector<std::string>{data.toStdString() + "/"});

    // Ctrl+Q takes the Exit path: the window goes and the program's temporary bitmap with it.
    QFile bitmap(QString::fromStdString(state.Paths.TempBitmapFile));
    ASSERT_TRUE(bitmap.open(QIODevice::WriteOnly));
    bitmap.close();
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(bitmap.exists());
}

TEST_F(KeysGridHelpTest, AHeaderClickSortsBothWaysTheSelectionGoesAlongAndCtrlCCopiesWhatIsShown) {
    state.DecimalSeparator = ",";
    window.OpenFileFromOutside(Sample("yagi3_20m_sweep.csv"));
    const int rows = state.Loaded.Data.GridRowCount;
    ASSERT_GT(rows, 10);
    const int swr = 3;
    ASSERT_TRUE(GridRow(0)[swr].contains(QLatin1Char(','))) << GridRow(0).join(' ').toStdString();
    // Chosen with explicit flags: a modifier an earlier window's Ctrl+Q left held would make
    // selectRow toggle.
    grid->selectionModel()->setCurrentIndex(grid->model()->index(4, 0),
                                            QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    const QStringList chosen = GridRow(4);

    for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        ClickHeader(swr);
        EXPECT_EQ(grid->horizontalHeader()->sortIndicatorSection(), swr);
        EXPECT_EQ(grid->horizontalHeader()->sortIndicatorOrder(), order);
        QList<double> values = ColumnValues(swr);
        if (order == Qt::DescendingOrder) {
            std::reverse(values.begin(), values.end());
        }
        EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
        const QModelIndexList selected = grid->selectionModel()->selectedRows();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(GridRow(selected[0].row()), chosen);
        EXPECT_EQ(grid->currentIndex().row(), selected[0].row());
        // The rows below the data stay empty and below.
        EXPECT_TRUE(GridRow(rows).join(QString()).isEmpty());
    }

    // Ctrl+C copies a block in the order it is shown; the empty rows below the data are no part
    // of it.
    const QAbstractItemModel* model = grid->model();
    grid->selectionModel()->select(QItemSelection(model->index(0, 0), model->index(1, 0)),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid->selectionModel()->select(QItemSelection(model->index(rows, 0), model->index(rows + 1, 0)),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              GridRow(0).join(QLatin1Char('\t')) + QLatin1Char('\n') +
                  GridRow(1).join(QLatin1Char('\t')) + QLatin1Char('\n'));

    // Another kind of data, other columns: back in the program's own order.
    window.OpenFileFromOutside(Sample("yagi3_20m_farfield.csv"));
    EXPECT_EQ(grid->horizontalHeader()->sortIndicatorSection(), -1);
}

TEST_F(KeysGridHelpTest, EveryButtonListAndBoxCarriesAHint) {
    QStringList bare;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        const bool kind = qobject_cast<QAbstractButton*>(control) != nullptr ||
                          qobject_cast<QComboBox*>(control) != nullptr;
        // Ours are named; Qt's own parts (the menu bar's, the grid's corner) are not, or "qt_".
        const QString name = control->objectName();
        if (kind && control->toolTip().isEmpty() && !name.isEmpty() &&
            !name.startsWith(QLatin1String("qt_"))) {
            bare << name;
        }
    }
    EXPECT_TRUE(bare.isEmpty()) << bare.join(QStringLiteral(", ")).toStdString();
}

// The real help service: the document in the program's own help window.
class HelpWindowTest : public KeysGridHelpTest {
protected:
    HelpWindowTest() : KeysGridHelpTest(&help) {}
    QtHelpService help;
};

TEST_F(HelpWindowTest, F1ShowsTheDocumentInOneWindowOrSaysWhyNot) {
    help.SetParent(&window);
    // The help document lies beside the test programs as beside the program.
    state.Paths.DataFolder = QCoreApplication::applicationDirPath().toStdString() + "/";
    window.SetFormLanguage();
    const QRegularExpressionMatch title =
        QRegularExpression(QStringLiteral("<title>(.*)</title>"))
            .match(QString::fromStdString(test::ReadBytes(window.HelpFile())));
    ASSERT_TRUE(title.hasMatch()) << window.HelpFile();

    ShowActive();
    for (int press = 0; press < 2; ++press) {
        QTest::keyClick(&window, Qt::Key_F1);
        ASSERT_NE(help.Window(), nullptr);
        EXPECT_TRUE(help.Window()->isVisible());
        EXPECT_EQ(help.Window()->windowTitle(), title.captured(1));
        EXPECT_EQ(window.findChildren<frmHelp*>().size(), 1) << "one help window";
    }
    EXPECT_TRUE(recorders.messages.shown.empty());

    // Without the document: a message naming it, and no window is opened anew.
    help.Window()->close();
    state.Paths.DataFolder = harness.folder.path().toStdString() + "/";
    window.SetFormLanguage();
    QTest::keyClick(&window, Qt::Key_F1);
    ASSERT_EQ(recorders.messages.Texts(),
              std::vector<std::string>{"Не удалось открыть справку: " + window.HelpFile()});
    EXPECT_FALSE(help.Window()->isVisible());
}

TEST(QtRussian, StandardButtonsAndFileDialogsSpeakRussian) {
    const QString file = QtTranslationsFolder() + QStringLiteral("/qtbase_ru.qm");
    if (!QFile::exists(file)) {
        GTEST_SKIP() << "Qt's Russian translation is not installed here (" << file.toStdString()
                     << ", Debian package qt6-translations-l10n)";
    }
    ASSERT_TRUE(InstallQtRussian());
    QDialogButtonBox box(QDialogButtonBox::Open | QDialogButtonBox::Save |
                         QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
    EXPECT_EQ(box.button(QDialogButtonBox::Open)->text(), QStringLiteral("Открыть"));
    EXPECT_EQ(box.button(QDialogButtonBox::Save)->text(), QStringLiteral("Сохранить"));

    QStandardPaths::setTestModeEnabled(true); // the dialog keeps its settings in Qt's test area
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
}

TEST_F(KeysGridHelpTest, TheCloseBoxIsRefusedWithAMessageAndTheExitButtonCloses) {
    window.show();
    EXPECT_FALSE(window.close());
    ASSERT_EQ(recorders.messages.shown.size(), 1U);
    const test::RecordedMessage& message = recorders.messages.shown[0];
    EXPECT_EQ(message.text,
              "Чтобы выйти из программы, нажмите кнопку Выход,\r\nлибо меню Файл->Выход");
    EXPECT_EQ(message.icon, MessageIcon::Information);
    EXPECT_EQ(message.caption, "Lobex");

    QTest::mouseClick(Find<QPushButton>(window, "cmdExit"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

// The real program, as a user or a script starts it.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("TMPDIR"), home.path());
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           home.filePath(QStringLiteral("config")));
        // A per-user runtime folder of the test's own keeps its lock apart from other runs.
        QDir(home.path()).mkdir(QStringLiteral("run"));
        QFile::setPermissions(home.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
        program.setProcessEnvironment(environment);
        program.setProgram(QStringLiteral(LOBEX_EXE));
    }
    ~ProgramTest() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }

    // A file in the home folder with the given bytes; its path.
    QString Write(const char* name, const char* bytes = "") {
        QFile file(home.filePath(QLatin1String(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    // Runs the program to its end; what it said on standard error.
    QString Run(const QStringList& arguments, int withinMs = 30000) {
        program.setArguments(arguments);
        program.start();
        EXPECT_TRUE(program.waitForFinished(withinMs)) << "a message box waits for a click";
        return QString::fromUtf8(program.readAllStandardError());
    }

    QTemporaryDir home;
    QProcess program;
};

TEST_F(ProgramTest, AnUnknownOptionIsRefusedWithUsage) {
    EXPECT_TRUE(Run({QStringLiteral("--bogus")}).contains(QStringLiteral("usage")));
    EXPECT_EQ(program.exitCode(), 2);
}

TEST_F(ProgramTest, ScreenshotOfABadFileTellsItsMessageOnStandardErrorAndEnds) {
    const QString bad = Write("bad.csv", "this is no MMANA file\r\nnor is this line\r\n");
    const QString picture = home.filePath(QStringLiteral("bad.png"));
    const QString errors = Run({bad, QStringLiteral("--screenshot"), picture});
    EXPECT_EQ(program.exitCode(), 0) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("lobex: message (icon 64): ")))
        << errors.toStdString();
    EXPECT_FALSE(QImage(picture).isNull());
}

// A deck runs through nec2c before its output is on show: what the command line asks for beyond
// the open waits for it.
TEST_F(ProgramTest, ADeckNamedOnTheCommandLineIsComparedAndPicturedOnceItsRunEnds) {
    const QString picture = home.filePath(QStringLiteral("nec.png"));
    const QString errors =
        Run({QStringLiteral(LOBEX_TEST_DATA_DIR "/nec/yagi3.nec"), QStringLiteral("--compare"),
             QStringLiteral(LOBEX_SAMPLES_DIR "/yagi3_20m_farfield.csv"),
             QStringLiteral("--screenshot"), picture},
            60000);
    EXPECT_EQ(program.exitCode(), 0) << errors.toStdString();
    EXPECT_FALSE(errors.contains(QStringLiteral("lobex: message"))) << errors.toStdString();
    EXPECT_FALSE(QImage(picture).isNull());
}

TEST_F(ProgramTest, AFileNamedInLatin1OpensFromTheCommandLine) {
    const QString blank = home.filePath(QStringLiteral("blank.png"));
    Run({QStringLiteral("--screenshot"), blank});

    const std::string folder = QFile::encodeName(home.path()).toStdString();
    const std::string file = folder + "/caf\xe9.csv";
    const std::string picture = folder + "/caf\xe9.png";
    // Qt cannot name these files to remove them with the folder.
    const std::shared_ptr<void> removal(nullptr, [&](void*) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        std::filesystem::remove(picture, ignored);
    });
    ASSERT_TRUE(std::filesystem::copy_file(LOBEX_SAMPLES_DIR "/yagi3_20m_sweep.csv", file));
    test::StartWithByteArguments(program, QStringLiteral(LOBEX_EXE),
                                 {file, "--screenshot", picture});
    ASSERT_TRUE(program.waitForFinished(30000));
    const QByteArray errors = program.readAllStandardError();
    EXPECT_EQ(program.exitCode(), 0) << errors.toStdString();
    // No message: neither a wrong format nor a missing file.
    EXPECT_FALSE(errors.contains("lobex: message")) << errors.toStdString();
    // The graph of the file is in the picture.
    const QImage image = QImage::fromData(QByteArray::fromStdString(test::ReadBytes(picture)));
    ASSERT_FALSE(image.isNull());
    EXPECT_NE(image, QImage(blank));
}

// "lobex files/x.csv" (the desktop entry's "lobex %f") while a copy runs: that copy opens the
// file, and remembers it by its absolute name.
TEST_F(ProgramTest, ASecondStartHandsItsFileToTheFirstCopy) {
    program.start();
    ASSERT_TRUE(program.waitForStarted());
    QDir(home.path()).mkdir(QStringLiteral("files"));
    const QString file = home.filePath(QStringLiteral("files/x.csv"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(LOBEX_SAMPLES_DIR "/yagi3_20m_sweep.csv"), file));
    const auto found = [this](const QString& name, const QString& text = {}) {
        QDirIterator entries(home.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (entries.hasNext()) {
            QFile entry(entries.next());
            if (entry.fileName().endsWith(name) &&
                (text.isEmpty() || (entry.open(QIODevice::ReadOnly) &&
                                    QString::fromUtf8(entry.readAll()).contains(text)))) {
                return true;
            }
        }
        return false;
    };
    for (int wait = 0; wait < 200 && !found(QStringLiteral("lobex.lock")); ++wait) {
        QTest::qWait(50);
    }
    QProcess second;
    second.setProcessEnvironment(program.processEnvironment());
    second.setWorkingDirectory(home.path());
    second.start(QStringLiteral(LOBEX_EXE), {QStringLiteral("files/x.csv")});
    ASSERT_TRUE(second.waitForFinished(30000)) << "the second copy ends";
    EXPECT_EQ(second.exitCode(), 0);
    bool remembered = false;
    for (int wait = 0; wait < 200 && !remembered; ++wait) {
        QTest::qWait(50);
        remembered = found(QStringLiteral(".conf"), QStringLiteral("File1=") + file);
    }
    EXPECT_TRUE(remembered);
}

TEST_F(ProgramTest, WithoutAnyPrivateFolderItSaysSoAndEndsWithOne) {
    // A plain file: below it nothing can be made, not even by the superuser.
    const QString unusable = Write("file");
    QProcessEnvironment environment = program.processEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.insert(QStringLiteral("TMPDIR"), unusable + QStringLiteral("/tmp"));
    environment.insert(QStringLiteral("HOME"), unusable + QStringLiteral("/home"));
    program.setProcessEnvironment(environment);
    const QString picture = home.filePath(QStringLiteral("none.png"));
    const QString errors = Run({QStringLiteral("--screenshot"), picture});
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_TRUE(errors.contains(
        QStringLiteral("lobex: message (icon 16): Не удалось создать папку для временных файлов.")))
        << errors.toStdString();
    EXPECT_TRUE(
        errors.contains(unusable + QStringLiteral("/tmp/lobex-") + QString::number(getuid())))
        << errors.toStdString();
    EXPECT_FALSE(QFile::exists(picture));
}

} // namespace
} // namespace lobex
