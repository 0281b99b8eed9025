#include "ByteArguments.h"
#include "LoadHarness.h"
#include "MainWindowHarness.h"
#include "Recorders.h"
#include "WidgetLookup.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include <unistd.h>

namespace lobex {
namespace {

TEST(MainWindowTest, TheCloseBoxIsRefusedWithAMessageAndTheExitButtonCloses) {
    test::MainWindowHarness harness;
    frmData& window = *harness.window;
    window.show();
    EXPECT_FALSE(window.close());
    ASSERT_EQ(harness.recorders.messages.shown.size(), 1U);
    const test::RecordedMessage& message = harness.recorders.messages.shown[0];
    EXPECT_EQ(message.text,
              "Чтобы выйти из программы, нажмите кнопку Выход,\r\nлибо меню Файл->Выход");
    EXPECT_EQ(message.icon, MessageIcon::Information);
    EXPECT_EQ(message.caption, "Lobex");

    QTest::mouseClick(test::Find<QPushButton>(window, "cmdExit"), Qt::LeftButton);
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
