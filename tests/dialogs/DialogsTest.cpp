#include "ModalAnswer.h"
#include "Recorders.h"
#include "WidgetLookup.h"
#include "core/AppState.h"
#include "dialogs/QtFileDialogs.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmChoice.h"
#include "dialogs/frmFile.h"
#include "dialogs/frmJPEG.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace lobex {
namespace {

using test::Find;

// The about box, the graph choice and the JPEG options windows over a main window. Each sits
// centred over it twenty pixels low; the close box does not close it.
class DialogsTest : public ::testing::Test {
protected:
    DialogsTest() {
        main.setGeometry(100, 100, 900, 600);
        main.show();
    }
    void Show(QDialog& dialog) {
        dialog.show();
        QTest::qWait(10);
        const QRect own = dialog.frameGeometry();
        const QRect host = main.frameGeometry();
        EXPECT_NEAR(own.center().x(), host.center().x(), 1); // integer halving
        EXPECT_NEAR(own.top(), host.top() + (host.height() - own.height()) / 2 + 20, 1);
        EXPECT_NE(dialog.findChild<QWidget*>(QStringLiteral("Frame1")), nullptr);
    }
    static void ExpectOnlyOKCloses(QDialog& dialog) {
        EXPECT_FALSE(dialog.close());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible());
    }
    static void Click(QDialog& dialog, const char* name) {
        QTest::mouseClick(Find<QWidget>(dialog, name), Qt::LeftButton);
    }
    static void Type(QDialog& dialog, const char* name, const QString& text) {
        QLineEdit* edit = Find<QLineEdit>(dialog, name);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    QMainWindow main;
    AppState state;
    test::MemorySettings settings;
    JpegOptions options{-1, true, true};
};

TEST(About, VersionLineRunsMinorAndRevisionTogether) {
    EXPECT_EQ(AboutVersionLine(1, 0, 3), "v1.03  by Orvane");
    EXPECT_EQ(AboutVersionLine(2, 1, 0), "v2.10  by Orvane");
}

TEST_F(DialogsTest, TheAboutBoxClosesOnAClickOnAnyLabelOrTheFrame) {
    frmAbout about(&main);
    Show(about);
    EXPECT_FALSE(about.close());
    for (const char* name : {"Label1", "Label2", "lblVersion", "Frame1"}) {
        about.show();
        Click(about, name);
        EXPECT_FALSE(about.isVisible()) << name;
    }
}

TEST_F(DialogsTest, GraphChoiceStartsFromTheAzimuthAndGivesOneOrTwo) {
    frmChoice dialog(&main);
    Show(dialog);
    EXPECT_TRUE(Find<QRadioButton>(dialog, "optChoice(0)")->isChecked());
    ExpectOnlyOKCloses(dialog);
    EXPECT_EQ(dialog.Chosen(), 0);
    Click(dialog, "optChoice(1)");
    Click(dialog, "cmdOK");
    EXPECT_EQ(dialog.Chosen(), 2);

    // Every opening starts from the azimuth again; OK at once chooses it.
    frmChoice again(&main);
    QTimer::singleShot(0, &again, [&again] { Click(again, "cmdOK"); });
    EXPECT_EQ(again.exec(), QDialog::Accepted);
    EXPECT_EQ(again.Chosen(), 1);
}

TEST_F(DialogsTest, JpegOptionsShowTheStoredFieldsAndOKStoresThemTrimmed) {
    auto dialog = std::make_unique<frmJPEG>(settings, options, &main);
    Show(*dialog);
    // The close box and Esc change nothing.
    Type(*dialog, "txtQuality", QStringLiteral("20"));
    ExpectOnlyOKCloses(*dialog);
    EXPECT_TRUE(settings.values.empty());
    EXPECT_EQ(options.Quality, -1);

    Type(*dialog, "txtQuality", QStringLiteral("  85  "));
    Type(*dialog, "txtWidth", QStringLiteral("1024 "));
    Click(*dialog, "chkGray");
    Click(*dialog, "cmdOK");
    const std::map<std::string, std::string> stored = {{"JPEG/Quality", "85"},
                                                       {"JPEG/Width", "1024"},
                                                       {"JPEG/Height", "290"},
                                                       {"JPEG/Grayscale", "True"},
                                                       {"JPEG/Progressive", "False"}};
    EXPECT_EQ(settings.values, stored);
    EXPECT_EQ(options.Quality, 85);
    EXPECT_TRUE(options.Grayscale);

    // The next showing, modal, starts from what was stored.
    dialog = std::make_unique<frmJPEG>(settings, options, &main);
    QTimer::singleShot(0, dialog.get(), [&dialog] {
        EXPECT_EQ(Find<QLineEdit>(*dialog, "txtWidth")->text(), QStringLiteral("1024"));
        EXPECT_TRUE(Find<QCheckBox>(*dialog, "chkGray")->isChecked());
        Click(*dialog, "cmdOK");
    });
    EXPECT_EQ(dialog->exec(), QDialog::Accepted);
}

// The file window, and Qt's open and save dialogs as the program sets them up.
class FileWindowTest : public ::testing::Test {
protected:
    FileWindowTest() {
        for (const char* name : {"Run1.CSV", "b.csv", "notes.txt", "model.maa"}) {
            QFile(data.filePath(QLatin1String(name))).open(QIODevice::WriteOnly);
        }
        QDir(data.path()).mkdir(QStringLiteral("Sub"));
        state.Paths.AppFolder = app.path().toStdString() + "/";
        settings.values["Paths/DataPath"] = data.path().toStdString();
    }

    QStringList Listed(frmFile& window) {
        QStringList names;
        auto* list = Find<QListWidget>(window, "lstFile");
        for (int i = 0; i < list->count(); ++i) {
            names << list->item(i)->text();
        }
        return names;
    }

    void Pick(frmFile& window, const QString& name) {
        auto* list = Find<QListWidget>(window, "lstFile");
        const auto items = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        list->setCurrentItem(items.front());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(items.front()).center());
    }

    QTemporaryDir data;
    QTemporaryDir app;
    AppState state;
    test::MemorySettings settings;
    test::RecordingMessages messages;
};

TEST_F(FileWindowTest, ListsOnlyCsvFilesAndTheFolderListLeadsDownAndUp) {
    frmFile window(state, settings, messages, nullptr);
    EXPECT_EQ(Listed(window), (QStringList{QStringLiteral("b.csv"), QStringLiteral("Run1.CSV")}));
    auto* folders = Find<QListWidget>(window, "lstDir");
    QListWidgetItem* sub = folders->item(folders->count() - 1);
    ASSERT_EQ(sub->text().trimmed(), QStringLiteral("Sub"));

    emit folders->itemActivated(sub);
    EXPECT_EQ(window.FolderPath(), data.filePath(QStringLiteral("Sub")));
    EXPECT_TRUE(Listed(window).isEmpty());

    // One level up again through the entry of the parent folder.
    emit folders->itemActivated(folders->item(folders->currentRow() - 1));
    EXPECT_EQ(window.FolderPath(), data.path());
    EXPECT_EQ(Listed(window).size(), 2);
}

TEST_F(FileWindowTest, ChoosingAFileRemembersItsFolderWithItsLetterCase) {
    frmFile window(state, settings, messages, nullptr);
    window.show();
    Pick(window, QStringLiteral("Run1.CSV"));
    QTest::mouseClick(Find<QPushButton>(window, "cmdOK"), Qt::LeftButton);

    EXPECT_EQ(state.Loaded.CurrentFile, data.filePath(QStringLiteral("Run1.CSV")).toStdString());
    EXPECT_EQ(settings.values["Paths/DataPath"], data.path().toStdString() + "/");
    EXPECT_FALSE(window.isVisible());
}

TEST_F(FileWindowTest, ADoubleClickChoosesLikeOk) {
    frmFile window(state, settings, messages, nullptr);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 30000));
    auto* list = Find<QListWidget>(window, "lstFile");
    const QListWidgetItem* item =
        list->findItems(QStringLiteral("b.csv"), Qt::MatchExactly).front();
    // Through the window, as the platform delivers it: item views want the whole sequence.
    const QPoint at = list->viewport()->mapTo(&window, list->visualItemRect(item).center());
    QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_EQ(state.Loaded.CurrentFile, data.filePath(QStringLiteral("b.csv")).toStdString());
}

TEST_F(FileWindowTest, OkWithoutAChoiceAndCancelLeaveNoFile) {
    {
        frmFile window(state, settings, messages, nullptr);
        window.show();
        QTest::mouseClick(Find<QPushButton>(window, "cmdOK"), Qt::LeftButton);
        EXPECT_TRUE(state.Loaded.CurrentFile.empty());
    }
    state.Paths.SaveFileName = "x.png";
    frmFile window(state, settings, messages, nullptr);
    window.show();
    Pick(window, QStringLiteral("b.csv"));
    QTest::mouseClick(Find<QPushButton>(window, "cmdCancel"), Qt::LeftButton);
    EXPECT_TRUE(state.Loaded.CurrentFile.empty());
    EXPECT_TRUE(state.Paths.SaveFileName.empty());
}

TEST_F(FileWindowTest, ATypedPathOpensItsFolderOrItsFileAndPfFilesAreRefused) {
    QFile(data.filePath(QStringLiteral("ant.pf3"))).open(QIODevice::WriteOnly);
    frmFile window(state, settings, messages, nullptr);
    window.show();
    auto* text = Find<QLineEdit>(window, "txtFile");

    text->setText(data.filePath(QStringLiteral("Sub")));
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_EQ(window.FolderPath(), data.filePath(QStringLiteral("Sub")));
    EXPECT_TRUE(window.isVisible());

    text->setText(data.filePath(QStringLiteral("ant.pf3")));
    QTest::mouseClick(Find<QPushButton>(window, "cmdOK"), Qt::LeftButton);
    EXPECT_TRUE(state.Loaded.CurrentFile.empty());
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"PF file format is not supported in this version"});

    text->setText(data.filePath(QStringLiteral("notes.txt")));
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_EQ(state.Loaded.CurrentFile, data.filePath(QStringLiteral("notes.txt")).toStdString());
}

// Open and save dialogs alike: each starts where it is told and offers the folder data files
// were last opened from and the last save folder in its side bar.
TEST_F(FileWindowTest, TheOpenAndSaveDialogsOfferTheDataAndSaveFolders) {
    // Qt's dialogs keep their own settings: the test's go to Qt's test area.
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir out;
    settings.values["Paths/DataPath"] = data.path().toStdString() + "/";
    settings.values["Paths/SavePath"] = out.path().toStdString() + "/";
    QtFileDialogs dialogs(state, settings, messages);
    QList<QUrl> places;
    QString shown;
    const auto look = [&places, &shown](QFileDialog& dialog) {
        places = dialog.sidebarUrls();
        shown = dialog.directory().absolutePath();
    };

    test::AnswerNextDialog([&](QDialog& dialog) {
        auto& files = static_cast<QFileDialog&>(dialog);
        look(files);
        // As the user picks the type: the list emits what the program listens to.
        QTest::keyClick(Find<QComboBox>(files, "fileTypeCombo"), Qt::Key_Down);
        files.selectFile(out.filePath(QStringLiteral("graph")));
        dialog.accept(); // QFileDialog's own accept, as the Save button
    });
    const SaveChoice saved = dialogs.AskSaveFile("BMP|*.bmp|PNG|*.png", out.path().toStdString());
    EXPECT_EQ(shown, out.path());
    EXPECT_EQ(saved.filterIndex, 2);
    // The chosen entry's ending is added to a name typed without one.
    EXPECT_EQ(saved.path, out.filePath(QStringLiteral("graph.png")).toStdString());
    EXPECT_TRUE(places.contains(QUrl::fromLocalFile(data.path()))) << shown.toStdString();
    EXPECT_TRUE(places.contains(QUrl::fromLocalFile(out.path())));

    places.clear();
    test::AnswerNextDialog([&](QDialog& dialog) {
        look(static_cast<QFileDialog&>(dialog));
        dialog.reject();
    });
    EXPECT_EQ(
        dialogs.AskOpenFile("Open .csv file", "CSV File (*.csv)|*.csv", data.path().toStdString()),
        "");
    EXPECT_EQ(shown, data.path());
    EXPECT_TRUE(places.contains(QUrl::fromLocalFile(data.path())));
    EXPECT_TRUE(places.contains(QUrl::fromLocalFile(out.path())));
}

} // namespace
} // namespace lobex
