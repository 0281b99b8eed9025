#include "LoadHarness.h"
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
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <vector>

namespace lobex {
namespace {

using test::AnswerNextDialog;
using test::Find;
using test::PressOk;
using test::Sample;

class OutputTest : public test::MainWindowTestBase {
protected:
    OutputTest() {
        window.show();
        harness.engine.SetPrinterSetup([this](QPrinter& printer) {
            printer.setOutputFileName(Path("engine.pdf"));
            return true;
        });
    }

    QString Path(const char* name) const { return harness.folder.filePath(QLatin1String(name)); }
    std::string LastCommand() const {
        return harness.api.commands.empty() ? std::string() : harness.api.commands.back().second;
    }
    // The one message said, which is then forgotten.
    void ExpectOnlyMessage(const std::string& text, MessageIcon icon) {
        ASSERT_EQ(recorders.messages.Texts(), std::vector<std::string>{text});
        EXPECT_EQ(recorders.messages.shown[0].icon, icon);
        EXPECT_EQ(recorders.messages.shown[0].caption, "Lobex");
        recorders.messages.shown.clear();
    }
    // A write error: its own text, then the file and the system's reason on the second line.
    void ExpectWriteError(const char* text, const char* file) {
        ASSERT_EQ(recorders.messages.shown.size(), 1U);
        const std::string prefix = std::string(text) + "\r\n" + Path(file).toStdString() + ": ";
        const std::string& shown = recorders.messages.shown[0].text;
        EXPECT_TRUE(shown.starts_with(prefix) && shown.size() > prefix.size()) << shown;
        EXPECT_EQ(recorders.messages.shown[0].icon, MessageIcon::Critical);
    }
};

TEST_F(OutputTest, CopyingAPolarDiagramAsksWhichAndAddsTheGainNoteInTheUsersLocale) {
    state.DecimalSeparator = ",";
    Open(Sample("yagi3_20m_farfield.csv"));
    AnswerNextDialog([](QDialog& dialog) {
        dialog.findChild<QAbstractButton*>(QStringLiteral("optChoice(1)"))->click();
        PressOk(dialog);
    });
    window.mnuFileGraphCopy_Click();
    ASSERT_FALSE(harness.api.commands.empty());
    EXPECT_EQ(harness.api.commands.back().first, harness.link.Slots[2].DocNum);
    EXPECT_NE(LastCommand().find("[NoteText(\"11,74dBi\")]"), std::string::npos);
}

// Without a graph the commands fail with their messages; so does a print the printer refuses.
TEST_F(OutputTest, WithoutAGraphOrAPrinterTheCommandsFailWithTheirMessages) {
    window.mnuFileGraphCopy_Click();
    ExpectOnlyMessage("Ошибка копирования графика", MessageIcon::Critical);
    window.mnuFileGraphPrint_Click();
    ExpectOnlyMessage("Ошибка печати графика", MessageIcon::Critical);
    recorders.dialogs.save = {2, Path("none.png").toStdString()};
    window.mnuFileGraphSave_Click();
    ExpectWriteError("Ошибка сохранения графика", "none.png");
    EXPECT_FALSE(QFile::exists(Path("none.png")));

    harness.engine.SetPrinterSetup([](QPrinter&) { return false; });
    for (const char* sample : {"yagi3_20m_sweep.csv", "yagi3_20m_farfield.csv"}) {
        Open(Sample(sample));
        window.mnuFileGraphPrint_Click();
        ExpectOnlyMessage("Ошибка печати графика", MessageIcon::Critical);
    }
}

// Both diagrams, or the graph, fitted to one page under the file's name and the figures the
// window shows; the PDF's Cyrillic text reads back as text.
TEST_F(OutputTest, PrintingPutsTheFileNameAndFiguresOverTheGraphsAsText) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    ASSERT_FALSE(pdftotext.isEmpty()) << "poppler-utils is needed (scripts/setup.sh)";
    // The sample, the words printed.
    const std::pair<const char*, std::vector<const char*>> cases[] = {
        {"yagi3_20m_farfield.csv",
         {"yagi3_20m_farfield.csv", "Максимум Излучения: Горизонт", "Уровень 11.74 dBi",
          "Ширина по уровню -3dB: Лепесток", "Срез Aзимута для", "Азимут", "Угол"}},
        {"yagi3_20m_sweep.csv", {"yagi3_20m_sweep.csv", "Частота 13.900", "КСВ мин."}},
    };
    for (const auto& [sample, printed] : cases) {
        Open(Sample(sample));
        QFile::remove(Path("engine.pdf"));
        window.mnuFileGraphPrint_Click();
        EXPECT_TRUE(recorders.messages.shown.empty()) << sample;
        QProcess extract;
        extract.start(pdftotext, {Path("engine.pdf"), QStringLiteral("-")});
        ASSERT_TRUE(extract.waitForFinished(10000));
        const QString text = QString::fromUtf8(extract.readAllStandardOutput());
        for (const char* words : printed) {
            EXPECT_TRUE(text.contains(QString::fromUtf8(words))) << words << "\n"
                                                                 << text.toStdString();
        }
    }
}

// The chosen name is written as it stands, or refused; never a file of a name it smuggles in.
TEST_F(OutputTest, AFileNameCannotBreakTheSaveCommandOrWriteASecondFile) {
    // The name typed, whether it is saved.
    const std::pair<const char*, bool> cases[] = {
        {"a.emf\")][FileSaveAs(4097,\"injected.emf", false},
        {"d)][FileClose()].emf", true},
    };
    Open(Sample("yagi3_20m_sweep.csv"));
    const QDir folder(harness.folder.path());
    for (const auto& [name, saved] : cases) {
        recorders.messages.shown.clear();
        const QStringList before = folder.entryList(QDir::Files);
        recorders.dialogs.save = {3, Path(name).toStdString()};
        window.mnuFileGraphSave_Click();
        QStringList written = folder.entryList(QDir::Files);
        for (const QString& old : before) {
            written.removeOne(old);
        }
        if (saved) {
            EXPECT_EQ(written, QStringList{QString::fromUtf8(name)}) << name;
            EXPECT_TRUE(recorders.messages.shown.empty()) << name;
        } else {
            EXPECT_TRUE(written.isEmpty()) << name;
            ExpectWriteError("Ошибка сохранения графика", name);
        }
    }
    // The document is still open after a name that spells a close: the graph copies.
    recorders.messages.shown.clear();
    QGuiApplication::clipboard()->clear();
    window.mnuFileGraphCopy_Click();
    ExpectOnlyMessage("График скопирован в память.", MessageIcon::Information);
    EXPECT_FALSE(QGuiApplication::clipboard()->image().isNull());
}

TEST_F(OutputTest, ThePrintButtonPrintsTheGraphArea) {
    Open(Sample("yagi3_20m_sweep.csv"));
    window.ChoosePrinter = [this](QPrinter& printer) {
        printer.setOutputFileName(Path("area.pdf"));
        return true;
    };
    window.cmdPrint_Click();
    EXPECT_GT(QFile(Path("area.pdf")).size(), 1000);
    EXPECT_TRUE(recorders.messages.shown.empty());
}

// The screen copied to the clipboard, or by the capture button a new picture each time in the
// user's pictures folder (made when missing); the status line says where.
TEST_F(OutputTest, TheScreenIsCopiedOrTheCaptureButtonSavesANewBitmapInThePicturesFolderEachTime) {
    window.mnuFileScreenCopy_Click();
    ExpectOnlyMessage("Экран скопирован в память.", MessageIcon::Information);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(),
              window.grab().size() * window.devicePixelRatio());
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", harness.folder.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", Path("config").toLocal8Bit());
    window.cmdCapture_Click();
    window.cmdCapture_Click();
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", config);
    const QDir pictures(Path("Pictures"));
    const QStringList taken = pictures.entryList({QStringLiteral("capture-*.bmp")}, QDir::Files);
    ASSERT_EQ(taken.size(), 2) << taken.join(' ').toStdString();
    EXPECT_FALSE(QImage(pictures.filePath(taken.back())).isNull());
    EXPECT_TRUE(recorders.messages.shown.empty());
    const QString status = test::Find<QLabel>(window, "lblStatus")->text();
    EXPECT_TRUE(status.startsWith(QStringLiteral("Снимок экрана сохранён в файл: ") +
                                  QDir::toNativeSeparators(pictures.path())))
        << status.toStdString();
}

// The typed name's extension decides the file's type, whatever filter the dialog showed; a
// type the save does not write is refused with the types it does.
TEST_F(OutputTest, TheTypedExtensionDecidesTheSavedFilesType) {
    Open(Sample("yagi3_20m_sweep.csv"));
    recorders.dialogs.save = {1, Path("graph.svg").toStdString()}; // the BMP filter
    window.mnuFileGraphSave_Click();
    EXPECT_TRUE(test::ReadBytes(Path("graph.svg").toStdString()).starts_with("<?xml"));
    recorders.dialogs.save = {1, Path("graph.txt").toStdString()};
    window.mnuFileGraphSave_Click();
    EXPECT_FALSE(QFile::exists(Path("graph.txt")));
    ExpectOnlyMessage("Файл не сохранён: программа не пишет файлы такого типа\r\n" +
                          Path("graph.txt").toStdString() +
                          "\r\nМожно сохранить как: .bmp, .png, .emf, .svg, .pdf",
                      MessageIcon::Information);
}

// A write that fails (here a read-only file) shows the command's own message. That the file the
// user had stays whole, on a full disk or through a link too, is each writer's test
// (WriterSafetyTest); one of each kind of write here.
TEST_F(OutputTest, AFailedWriteShowsEachCommandsError) {
    const char* graphSave = "Ошибка сохранения графика";
    // The file, the save dialog's answer (0: the printer writes the file), whether the JPEG
    // options window comes up on the way, the command, its message.
    const std::tuple<const char*, int, bool, void (frmData::*)(), const char*> cases[] = {
        {"g.png", 2, false, &frmData::mnuFileGraphSave_Click, graphSave},
        {"g.emf", 3, false, &frmData::mnuFileGraphSave_Click, graphSave},
        // PNG also passes through the JPEG options, as it always has.
        {"s.png", 2, true, &frmData::mnuFileScreenSave_Click, "Ощибка записи в файл"},
        // The sweep on show is saved as Touchstone.
        {"d.s1p", 1, false, &frmData::mnuFileSave_Click,
         "Ошибка записи в файл. Данные не сохранены."},
        {"engine.pdf", 0, false, &frmData::mnuFileGraphPrint_Click, "Ошибка печати графика"},
    };
    Open(Sample("yagi3_20m_sweep.csv"));
    for (const auto& [file, filterIndex, jpegOptions, command, failure] : cases) {
        // A new file, then the same made read-only.
        for (const bool readOnly : {false, true}) {
            recorders.messages.shown.clear();
            if (filterIndex > 0) {
                recorders.dialogs.save = {filterIndex, Path(file).toStdString()};
            }
            if (jpegOptions) {
                AnswerNextDialog(PressOk);
            }
            (window.*command)();
            if (!readOnly) {
                EXPECT_TRUE(recorders.messages.shown.empty()) << file;
                ASSERT_TRUE(QFile::setPermissions(Path(file), QFileDevice::ReadOwner));
            }
        }
        ExpectWriteError(failure, file);
        QFile::setPermissions(Path(file), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::remove(Path(file));
    }
}

} // namespace
} // namespace lobex
