#include "MainWindowHarness.h"
#include "ModalAnswer.h"
#include "WidgetLookup.h"
#include "images/SaveChoices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>

#include <gtest/gtest.h>

#include <vector>

namespace lobex {
namespace {

using test::AnswerNextDialog;
using test::Find;
using test::PressOk;

class OutputTest : public ::testing::Test {
protected:
    OutputTest() {
        harness.window->show();
        harness.engine.SetPrinterSetup([this](QPrinter& printer) {
            printer.setOutputFileName(Path("engine.pdf"));
            return true;
        });
    }

    void Open(const char* sample) {
        harness.window->OpenFileFromOutside(test::Sample(sample));
        recorders.messages.shown.clear();
        harness.api.commands.clear();
    }
    QString Path(const char* name) const { return harness.folder.filePath(QLatin1String(name)); }
    std::string LastCommand() const {
        return harness.api.commands.empty() ? std::string() : harness.api.commands.back().second;
    }
    void ExpectOnlyMessage(const char* text, MessageIcon icon) {
        ASSERT_EQ(recorders.messages.shown.size(), 1U);
        EXPECT_EQ(recorders.messages.shown[0].text, text);
        EXPECT_EQ(recorders.messages.shown[0].icon, icon);
        EXPECT_EQ(recorders.messages.shown[0].caption, "Lobex");
    }

    test::MainWindowHarness harness;
    AppState& state = harness.state;
    test::RecordingServices& recorders = harness.recorders;
    frmData& window = *harness.window;
};

TEST_F(OutputTest, CopyingTheGraphPutsItOnTheClipboard) {
    Open("yagi3_20m_sweep.csv");
    window.mnuFileGraphCopy_Click();
    ExpectOnlyMessage("График скопирован в память.", MessageIcon::Information);
    EXPECT_FALSE(QGuiApplication::clipboard()->image().isNull());
}

TEST_F(OutputTest, CopyingAPolarDiagramAsksWhichAndAddsTheGainNoteInTheUsersLocale) {
    state.DecimalSeparator = ",";
    Open("yagi3_20m_farfield.csv");
    AnswerNextDialog([](QDialog& dialog) {
        dialog.findChild<QAbstractButton*>(QStringLiteral("optChoice(1)"))->click();
        PressOk(dialog);
    });
    window.mnuFileGraphCopy_Click();
    ASSERT_FALSE(harness.api.commands.empty());
    EXPECT_EQ(harness.api.commands.back().first, harness.link.Slots[2].DocNum);
    EXPECT_NE(LastCommand().find("[NoteText(\"11,74dBi\")]"), std::string::npos);
}

TEST_F(OutputTest, WithoutAGraphTheCommandsFailWithTheirMessages) {
    window.mnuFileGraphCopy_Click();
    ExpectOnlyMessage("Ошибка копирования графика", MessageIcon::Critical);
    recorders.messages.shown.clear();
    window.mnuFileGraphPrint_Click();
    ExpectOnlyMessage("Ошибка печати графика", MessageIcon::Critical);
    recorders.messages.shown.clear();
    recorders.dialogs.save = {2, Path("none.png").toStdString()};
    window.mnuFileGraphSave_Click();
    ExpectOnlyMessage("Ошибка сохранения графика", MessageIcon::Critical);
    EXPECT_FALSE(QFile::exists(Path("none.png")));
}

TEST_F(OutputTest, PrintingPolarDiagramsNotesTheAzimuthAndPrintsTheElevation) {
    Open("yagi3_20m_farfield.csv");
    window.mnuFileGraphPrint_Click();
    ASSERT_EQ(harness.api.commands.size(), 2U);
    EXPECT_EQ(harness.api.commands[0].first, harness.link.Slots[1].DocNum);
    EXPECT_EQ(harness.api.commands[1].first, harness.link.Slots[2].DocNum);
    EXPECT_GT(QFile(Path("engine.pdf")).size(), 1000);
}

TEST_F(OutputTest, APrintThatFailsOrIsCancelledIsReported) {
    for (const char* sample : {"yagi3_20m_sweep.csv", "yagi3_20m_farfield.csv"}) {
        Open(sample);
        harness.engine.SetPrinterSetup([](QPrinter&) { return false; });
        window.mnuFileGraphPrint_Click();
        ExpectOnlyMessage("Ошибка печати графика", MessageIcon::Critical);
    }
}

// The chosen name is written as it stands, or refused; never a file of a name it smuggles in.
TEST_F(OutputTest, AFileNameCannotBreakTheSaveCommandOrWriteASecondFile) {
    struct Case {
        const char* name;
        bool saved;
    };
    const Case cases[] = {
        {"a.emf\")][FileSaveAs(4097,\"injected.emf", false},
        {"d)][FileClose()].emf", true},
    };
    Open("yagi3_20m_sweep.csv");
    const QDir folder(harness.folder.path());
    for (const Case& c : cases) {
        recorders.messages.shown.clear();
        const QStringList before = folder.entryList(QDir::Files);
        recorders.dialogs.save = {3, Path(c.name).toStdString()};
        window.mnuFileGraphSave_Click();
        QStringList written = folder.entryList(QDir::Files);
        for (const QString& name : before) {
            written.removeOne(name);
        }
        if (c.saved) {
            EXPECT_EQ(written, QStringList{QString::fromUtf8(c.name)}) << c.name;
            EXPECT_TRUE(recorders.messages.shown.empty()) << c.name;
        } else {
            EXPECT_TRUE(written.isEmpty()) << c.name;
            ExpectOnlyMessage("Ошибка сохранения графика", MessageIcon::Critical);
        }
    }
    // The document is still open after a name that spells a close.
    recorders.messages.shown.clear();
    window.mnuFileGraphCopy_Click();
    ExpectOnlyMessage("График скопирован в память.", MessageIcon::Information);
}

TEST_F(OutputTest, ThePrintButtonPrintsTheGraphArea) {
    Open("yagi3_20m_sweep.csv");
    window.ChoosePrinter = [this](QPrinter& printer) {
        printer.setOutputFileName(Path("area.pdf"));
        return true;
    };
    window.cmdPrint_Click();
    EXPECT_GT(QFile(Path("area.pdf")).size(), 1000);
    EXPECT_TRUE(recorders.messages.shown.empty());
}

TEST_F(OutputTest, ScreenCopyTakesThePictureOfTheWindow) {
    window.mnuFileScreenCopy_Click();
    ExpectOnlyMessage("Экран скопирован в память.", MessageIcon::Information);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(),
              window.grab().size() * window.devicePixelRatio());
}

TEST_F(OutputTest, TheCaptureButtonSavesABitmapBesideTheProgram) {
    state.Paths.AppFolder = harness.folder.path().toStdString() + "/";
    window.cmdCapture_Click();
    EXPECT_FALSE(QImage(Path("capture.bmp")).isNull());
    EXPECT_TRUE(recorders.messages.shown.empty());
}

// Every file the window writes, each with the message it fails with.
struct WindowWrite {
    const char* name;
    const char* file;
    int filterIndex;  // the save dialog's answer; 0: the printer writes the file
    bool jpegOptions; // the JPEG options window comes up on the way
    void (frmData::*command)();
    const char* failure;
};

std::vector<WindowWrite> WindowWrites() {
    const char* graphSave = "Ошибка сохранения графика";
    const char* screenSave = "Ощибка записи в файл";
    // The writers' own failure paths are tested with them; one of each kind of write here.
    return {
        {"graph PNG", "g.png", 2, false, &frmData::mnuFileGraphSave_Click, graphSave},
        {"graph EMF", "g.emf", 3, false, &frmData::mnuFileGraphSave_Click, graphSave},
        // PNG also passes through the JPEG options, as it always has.
        {"screen PNG", "s.png", 2, true, &frmData::mnuFileScreenSave_Click, screenSave},
        {"CSV export", "d.csv", 1, false, &frmData::mnuFileSave_Click,
         "Ошибка записи в файл. Данные не сохранены."},
        {"printed PDF", "engine.pdf", 0, false, &frmData::mnuFileGraphPrint_Click,
         "Ошибка печати графика"},
    };
}

class OutputFileSafetyTest : public OutputTest {
protected:
    void Run(const WindowWrite& write) {
        recorders.messages.shown.clear();
        if (write.filterIndex > 0) {
            recorders.dialogs.save = {write.filterIndex, Path(write.file).toStdString()};
        }
        if (write.jpegOptions) {
            AnswerNextDialog(PressOk);
        }
        (window.*write.command)();
    }
    void PlantOldFile(const char* name) {
        QFile old(Path(name));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old contents");
    }
    QByteArray Contents(const char* name) {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

// A write that fails (here a read-only file; every writer's full-disk and link cases are in
// tests/writers) shows the command's own message, and the file the user had stays whole.
TEST_F(OutputFileSafetyTest, AFailedWriteShowsEachCommandsErrorAndKeepsTheOldFile) {
    Open("yagi3_20m_sweep.csv");
    for (const WindowWrite& write : WindowWrites()) {
        Run(write);
        EXPECT_TRUE(recorders.messages.shown.empty()) << write.name;
        PlantOldFile(write.file);
        ASSERT_TRUE(QFile::setPermissions(Path(write.file), QFileDevice::ReadOwner));
        Run(write);
        ExpectOnlyMessage(write.failure, MessageIcon::Critical);
        EXPECT_EQ(Contents(write.file), "old contents") << write.name;
        QFile::setPermissions(Path(write.file), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::remove(Path(write.file));
    }
}

} // namespace
} // namespace lobex
