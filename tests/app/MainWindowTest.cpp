#include "ByteArguments.h"
#include "MainWindowHarness.h"
#include "Recorders.h"
#include "WidgetLookup.h"
#include "app/frmData.h"
#include "core/Lifecycle.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
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

TEST_F(MainWindowTest, TheCloseBoxIsRefusedWithAMessage) {
    window->show();
    EXPECT_FALSE(window->close());
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
        EXPECT_FALSE(bitmap.exists()) << byMenu;
    }
}

TEST_F(MainWindowTest, HelpOpensTheDocumentBesideTheProgramOrSaysItCannot) {
    Find<QAction>(*window, "mnuHelpContent")->trigger();
    EXPECT_EQ(recorders.help.opened, std::vector<std::string>{"/opt/lobex/Help/Lobex.html"});

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

    QTemporaryDir home;
    QProcess program;
};

TEST_F(ProgramTest, ASecondCopyEndsAtOnceAndLeavesTheFirstRunning) {
    program.start();
    ASSERT_TRUE(program.waitForStarted());
    QTest::qWait(1500); // let the first copy take its lock
    QProcess second;
    second.setProcessEnvironment(program.processEnvironment());
    second.start(QStringLiteral(LOBEX_EXE), {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(program.state(), QProcess::Running);
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
    EXPECT_FALSE(QFile::exists(picture));
}

} // namespace
} // namespace lobex
