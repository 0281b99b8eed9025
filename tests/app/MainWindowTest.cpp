#include "ByteArguments.h"
#include "MainWindowHarness.h"
#include "Recorders.h"
#include "WidgetLookup.h"
#include "app/frmData.h"
#include "core/DataGrid.h"
#include "core/Lifecycle.h"

#include <QAction>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include <unistd.h>

namespace lobex {
namespace {

using test::Find;

class MainWindowTest : public ::testing::Test {
protected:
    test::MainWindowHarness harness;
    QTemporaryDir& folder = harness.folder;
    AppState& state = harness.state;
    test::RecordingServices& recorders = harness.recorders;
    std::unique_ptr<frmData>& window = harness.window;
};

TEST_F(MainWindowTest, StartsWithTheEmptyGridAndTheControlsOfNoData) {
    auto* grid = Find<QTableView>(*window, "ctlGrid");
    ASSERT_NE(grid, nullptr);
    const QAbstractItemModel* model = grid->model();
    EXPECT_EQ(model->rowCount(), 20);
    QStringList header;
    for (int c = 0; c < model->columnCount(); ++c) {
        const QString caption = model->headerData(c, Qt::Horizontal).toString();
        header << caption;
        EXPECT_GE(grid->columnWidth(c), 53); // never narrower than 800 twips
        EXPECT_EQ(grid->columnWidth(c), grid->columnWidth(0));
        // The caption fits its column with room for the header's padding.
        EXPECT_LE(grid->horizontalHeader()->fontMetrics().horizontalAdvance(caption) + 8,
                  grid->columnWidth(c))
            << caption.toStdString();
    }
    EXPECT_EQ(header.join(QLatin1Char('|')), QString::fromUtf8(kGridLanguageHeader.data()));
    EXPECT_EQ(grid->currentIndex().row(), 0);

    EXPECT_FALSE(Find<QAction>(*window, "mnuFileSave")->isEnabled());
    EXPECT_FALSE(Find<QComboBox>(*window, "cmbParam")->isEnabled());
    EXPECT_TRUE(Find<QFrame>(*window, "fraControls2")->isHidden());
    EXPECT_FALSE(Find<QFrame>(*window, "fraControls1")->isHidden());
    EXPECT_FALSE(Find<QMenu>(*window, "mnuTools")->menuAction()->isVisible());
    EXPECT_TRUE(Find<QWidget>(*window, "picPolar1")->isHidden());
    EXPECT_FALSE(Find<QWidget>(*window, "picPlot")->isHidden());
}

TEST_F(MainWindowTest, FillCombosListsTheCurvesOfEachKind) {
    for (int i = 0; i < kSeriesCount; ++i) {
        std::string& label = state.Loaded.Data.Series[static_cast<std::size_t>(i)].Label;
        label = "S";
        label += std::to_string(i);
    }
    // kind passed -> number of curves offered
    const std::pair<int, int> cases[] = {{0, 6}, {3, 3}, {4, 4}, {5, 5}, {6, 6}};
    auto* left = Find<QComboBox>(*window, "cmbLeft");
    auto* right = Find<QComboBox>(*window, "cmbRight");
    for (const auto& [kind, curves] : cases) {
        window->FillCombos(kind);
        ASSERT_EQ(left->count(), curves) << kind;
        ASSERT_EQ(right->count(), curves + 1) << kind;
        EXPECT_EQ(right->itemText(0), QStringLiteral("None"));
        EXPECT_EQ(right->itemData(0).toInt(), 0);
        for (int k = 0; k < curves; ++k) {
            EXPECT_EQ(left->itemText(k), QStringLiteral("S%1").arg(k + 1));
            EXPECT_EQ(left->itemData(k).toInt(), k + 1);
            EXPECT_EQ(right->itemText(k + 1), QStringLiteral("S%1").arg(k + 1));
            EXPECT_EQ(right->itemData(k + 1).toInt(), k + 1);
        }
        EXPECT_EQ(left->currentIndex(), 0);
        EXPECT_EQ(right->currentIndex(), 0);
        EXPECT_FALSE(left->isHidden());
        EXPECT_FALSE(right->isHidden());
    }
}

TEST_F(MainWindowTest, TheCloseBoxIsRefusedWithAMessage) {
    window->show();
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(recorders.messages.shown.size(), 1U);
    const test::RecordedMessage& message = recorders.messages.shown[0];
    EXPECT_EQ(message.text,
              "Чтобы выйти из программы, нажмите кнопку Выход,\r\nлибо меню Файл->Выход");
    EXPECT_EQ(message.icon, MessageIcon::Information);
    EXPECT_EQ(message.caption, "Lobex");
}

TEST_F(MainWindowTest, ExitByButtonOrMenuClosesTheWindowAndDeletesTheTemporaryBitmap) {
    for (const bool byMenu : {false, true}) {
        test::MainWindowHarness h;
        QFile bitmap(QString::fromStdString(h.state.Paths.TempBitmapFile));
        ASSERT_TRUE(bitmap.open(QIODevice::WriteOnly));
        bitmap.write("BM");
        bitmap.close();
        h.window->show();
        if (byMenu) {
            Find<QAction>(*h.window, "mnuFileExit")->trigger();
        } else {
            QTest::mouseClick(Find<QPushButton>(*h.window, "cmdExit"), Qt::LeftButton);
        }
        EXPECT_FALSE(h.window->isVisible()) << byMenu;
        EXPECT_TRUE(h.recorders.messages.shown.empty()) << byMenu;
        EXPECT_FALSE(bitmap.exists()) << byMenu;
        EXPECT_EQ(h.state.View.PlotHost, PlotHostKind::None) << byMenu;
    }
}

TEST_F(MainWindowTest, HelpOpensTheDocumentBesideTheProgramOrSaysItCannot) {
    Find<QAction>(*window, "mnuHelpContent")->trigger();
    ASSERT_EQ(recorders.help.opened.size(), 1U);
    EXPECT_EQ(recorders.help.opened[0], "/opt/lobex/Help/Lobex.html");
    EXPECT_TRUE(recorders.messages.shown.empty());

    recorders.help.answer = false;
    Find<QAction>(*window, "mnuHelpContent")->trigger();
    ASSERT_EQ(recorders.messages.shown.size(), 1U);
    EXPECT_NE(recorders.messages.shown[0].text.find("/opt/lobex/Help/Lobex.html"),
              std::string::npos);
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

    // A second copy started beside the running program ends at once and leaves it running.
    void ExpectASecondCopyToEndAtOnce() {
        QProcess second;
        second.setProcessEnvironment(program.processEnvironment());
        second.start(QStringLiteral(LOBEX_EXE), {});
        ASSERT_TRUE(second.waitForFinished(10000));
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(program.state(), QProcess::Running);
    }

    QTemporaryDir home;
    QProcess program;
};

TEST_F(ProgramTest, ScreenshotSavesAPictureOfTheMainWindowAndEnds) {
    const QString picture = home.filePath(QStringLiteral("main.png"));
    program.setArguments({QStringLiteral("--screenshot"), picture});
    program.start();
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const QImage image(picture);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 800);
    EXPECT_GE(image.height(), 500);
}

TEST_F(ProgramTest, ASecondCopyEndsAtOnceAndLeavesTheFirstRunning) {
    program.start();
    ASSERT_TRUE(program.waitForStarted());
    QTest::qWait(1500); // let the first copy take its lock
    ExpectASecondCopyToEndAtOnce();
}

TEST_F(ProgramTest, AnUnknownOptionIsRefusedWithUsage) {
    program.setArguments({QStringLiteral("--bogus")});
    program.start();
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(program.readAllStandardError().contains("usage"));
}

// The folders a start takes, on machines set up in odd ways.
class ProgramStartTest : public ProgramTest {
protected:
    void SetEnvironment(const QString& name, const QString& value) {
        QProcessEnvironment environment = program.processEnvironment();
        if (value.isNull()) {
            environment.remove(name);
        } else {
            environment.insert(name, value);
        }
        program.setProcessEnvironment(environment);
    }
    // A plain file: below it nothing can be made, not even by the superuser.
    QString Unusable() {
        QFile file(home.filePath(QStringLiteral("file")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return file.fileName();
    }
    QString MakeFolder(const QString& name) {
        EXPECT_TRUE(QDir(home.path()).mkpath(name));
        return home.filePath(name);
    }
    static bool AppearsWithin(const QString& path, int ms) {
        QDeadlineTimer deadline(ms);
        while (!QFileInfo::exists(path) && !deadline.hasExpired()) {
            QTest::qWait(50);
        }
        return QFileInfo::exists(path);
    }
    static QStringList Entries(const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                      QDir::NoDotAndDotDot);
    }
    const QString uid = QString::number(getuid());
};

TEST_F(ProgramStartTest, ScreenshotOfABadFileTellsItsMessageOnStandardErrorAndEnds) {
    QFile bad(home.filePath(QStringLiteral("bad.csv")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("this is no MMANA file\r\nnor is this line\r\n");
    bad.close();
    const QString picture = home.filePath(QStringLiteral("bad.png"));
    program.setArguments({bad.fileName(), QStringLiteral("--screenshot"), picture});
    program.start();
    ASSERT_TRUE(program.waitForFinished(30000)) << "a message box waits for a click";
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(program.exitCode(), 0) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("lobex: message (icon 64): ")))
        << errors.toStdString();
    EXPECT_FALSE(QImage(picture).isNull());
}

TEST_F(ProgramStartTest, AFileNamedInLatin1OpensFromTheCommandLine) {
    const QString blank = home.filePath(QStringLiteral("blank.png"));
    program.setArguments({QStringLiteral("--screenshot"), blank});
    program.start();
    ASSERT_TRUE(program.waitForFinished(30000));

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
    ASSERT_TRUE(std::filesystem::exists(picture));
    // The graph of the file is in the picture.
    std::ifstream written(picture, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(written)),
                            std::istreambuf_iterator<char>());
    const QImage image = QImage::fromData(QByteArray::fromStdString(bytes));
    ASSERT_FALSE(image.isNull());
    EXPECT_NE(image, QImage(blank));
}

TEST_F(ProgramStartTest, WithoutAnyPrivateFolderItSaysSoAndEndsWithOne) {
    const QString unusable = Unusable();
    SetEnvironment(QStringLiteral("XDG_RUNTIME_DIR"), {});
    SetEnvironment(QStringLiteral("TMPDIR"), unusable + QStringLiteral("/tmp"));
    SetEnvironment(QStringLiteral("HOME"), unusable + QStringLiteral("/home"));
    const QString picture = home.filePath(QStringLiteral("none.png"));
    program.setArguments({QStringLiteral("--screenshot"), picture});
    program.start();
    ASSERT_TRUE(program.waitForFinished(30000));
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_TRUE(errors.contains(
        QStringLiteral("lobex: message (icon 16): Не удалось создать папку для временных файлов.")))
        << errors.toStdString();
    EXPECT_TRUE(errors.contains(unusable + QStringLiteral("/tmp/lobex-") + uid))
        << errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(picture));
}

TEST_F(ProgramStartTest, AnUnusableTmpdirIsReplacedByTheUsersCacheFolder) {
    SetEnvironment(QStringLiteral("XDG_RUNTIME_DIR"), {});
    SetEnvironment(QStringLiteral("TMPDIR"), Unusable() + QStringLiteral("/tmp"));
    program.start();
    EXPECT_TRUE(AppearsWithin(home.filePath(QStringLiteral(".cache/lobex/lobex.lock")), 10000));
    EXPECT_EQ(program.state(), QProcess::Running);
}

TEST_F(ProgramStartTest, TheLockLivesInThePerUserRuntimeFolder) {
    const QString temp = MakeFolder(QStringLiteral("tmp"));
    SetEnvironment(QStringLiteral("TMPDIR"), temp);
    program.start();
    EXPECT_TRUE(AppearsWithin(home.filePath(QStringLiteral("run/lobex/lobex.lock")), 10000));
    EXPECT_TRUE(Entries(temp).isEmpty()) << Entries(temp).join(' ').toStdString();
}

TEST_F(ProgramStartTest, AFolderPlantedUnderOurNameNeitherPilesUpFoldersNorLetsTwoCopiesRun) {
    const QString temp = MakeFolder(QStringLiteral("tmp"));
    const QString elsewhere = MakeFolder(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QFile::link(elsewhere, temp + QStringLiteral("/lobex-") + uid));
    SetEnvironment(QStringLiteral("XDG_RUNTIME_DIR"), {});
    SetEnvironment(QStringLiteral("TMPDIR"), temp);
    for (int run = 0; run < 2; ++run) {
        QProcess screenshot;
        screenshot.setProcessEnvironment(program.processEnvironment());
        screenshot.start(QStringLiteral(LOBEX_EXE),
                         {QStringLiteral("--screenshot"), home.filePath(QStringLiteral("s.png"))});
        ASSERT_TRUE(screenshot.waitForFinished(30000));
        EXPECT_EQ(screenshot.exitCode(), 0);
    }

    program.start();
    ASSERT_TRUE(AppearsWithin(home.filePath(QStringLiteral(".cache/lobex/lobex.lock")), 10000));
    ExpectASecondCopyToEndAtOnce();

    // Qt keeps a folder of its own there; ours are only the planted name.
    EXPECT_EQ(Entries(temp).filter(QStringLiteral("lobex")),
              QStringList{QStringLiteral("lobex-") + uid});
    EXPECT_TRUE(Entries(elsewhere).isEmpty());
}

} // namespace
} // namespace lobex
