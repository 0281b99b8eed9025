#include "Recorders.h"
#include "WidgetLookup.h"
#include "core/AppState.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmChoice.h"
#include "dialogs/frmJPEG.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

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

} // namespace
} // namespace lobex
