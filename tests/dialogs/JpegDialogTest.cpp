#include "../app/WidgetLookup.h"
#include "Recorders.h"
#include "dialogs/frmJPEG.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace lobex {
namespace {

using test::Find;

class JpegDialogTest : public ::testing::Test {
protected:
    JpegDialogTest() {
        main.setGeometry(100, 100, 900, 600);
        main.show();
    }
    frmJPEG& Open() {
        dialog = std::make_unique<frmJPEG>(settings, options, &main);
        dialog->show();
        QTest::qWait(10);
        return *dialog;
    }
    QString Text(const char* name) { return Find<QLineEdit>(*dialog, name)->text(); }
    bool Ticked(const char* name) { return Find<QCheckBox>(*dialog, name)->isChecked(); }
    void Type(const char* name, const QString& text) {
        QLineEdit* edit = Find<QLineEdit>(*dialog, name);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    void ClickOK() { QTest::mouseClick(Find<QPushButton>(*dialog, "cmdOK"), Qt::LeftButton); }

    QMainWindow main;
    test::MemorySettings settings;
    JpegOptions options{-1, true, true};
    std::unique_ptr<frmJPEG> dialog;
};

TEST_F(JpegDialogTest, CarriesItsCaptions) {
    Open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("JPEG Settings"));
    const std::pair<const char*, const char*> captions[] = {
        {"chkProgressive", "Progressive"}, {"chkGray", "Grayscale"}, {"cmdOK", "OK"},
        {"Label1(0)", "Quality:"},         {"Label1(1)", "Size:"},   {"Label1(2)", "x"},
    };
    for (const auto& [name, caption] : captions) {
        EXPECT_EQ(test::CaptionOf(Find<QObject>(*dialog, name)), QString::fromUtf8(caption))
            << name;
    }
    EXPECT_NE(dialog->findChild<QWidget*>(QStringLiteral("Frame1")), nullptr);
}

TEST_F(JpegDialogTest, FirstUseShows490By290Quality75WithBothBoxesClear) {
    Open();
    EXPECT_EQ(Text("txtWidth"), QStringLiteral("490"));
    EXPECT_EQ(Text("txtHeight"), QStringLiteral("290"));
    EXPECT_EQ(Text("txtQuality"), QStringLiteral("75"));
    EXPECT_FALSE(Ticked("chkProgressive"));
    EXPECT_FALSE(Ticked("chkGray"));
}

TEST_F(JpegDialogTest, ShowsWhatWasStored) {
    settings.values = {{"JPEG/Width", "800"},
                       {"JPEG/Height", "600"},
                       {"JPEG/Quality", "90"},
                       {"JPEG/Progressive", "True"},
                       {"JPEG/Grayscale", "False"}};
    Open();
    EXPECT_EQ(Text("txtWidth"), QStringLiteral("800"));
    EXPECT_EQ(Text("txtHeight"), QStringLiteral("600"));
    EXPECT_EQ(Text("txtQuality"), QStringLiteral("90"));
    EXPECT_TRUE(Ticked("chkProgressive"));
    EXPECT_FALSE(Ticked("chkGray"));
}

TEST_F(JpegDialogTest, OKStoresTheTrimmedTextsAndHandsOverQualityAndGreyscale) {
    Open();
    Type("txtQuality", QStringLiteral("  85  "));
    Type("txtWidth", QStringLiteral("1024 "));
    QTest::mouseClick(Find<QCheckBox>(*dialog, "chkGray"), Qt::LeftButton);
    ClickOK();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(settings.values.at("JPEG/Quality"), "85");
    EXPECT_EQ(settings.values.at("JPEG/Width"), "1024");
    EXPECT_EQ(settings.values.at("JPEG/Height"), "290");
    EXPECT_EQ(settings.values.at("JPEG/Grayscale"), "True");
    EXPECT_EQ(settings.values.at("JPEG/Progressive"), "False");
    EXPECT_EQ(options.Quality, 85);
    EXPECT_TRUE(options.Grayscale);
    EXPECT_FALSE(options.Progressive);

    // The next showing starts from what was stored.
    Open();
    EXPECT_EQ(Text("txtQuality"), QStringLiteral("85"));
    EXPECT_EQ(Text("txtWidth"), QStringLiteral("1024"));
    EXPECT_TRUE(Ticked("chkGray"));
}

TEST_F(JpegDialogTest, AQualityFollowedByLettersIsStoredAsTypedAndGivesItsNumber) {
    Open();
    Type("txtQuality", QStringLiteral("85abc"));
    ClickOK();
    EXPECT_EQ(settings.values.at("JPEG/Quality"), "85abc");
    EXPECT_EQ(options.Quality, 85);

    Open();
    Type("txtQuality", QStringLiteral("best"));
    ClickOK();
    EXPECT_EQ(options.Quality, 0);
}

TEST_F(JpegDialogTest, TheCloseBoxAndEscLeaveItOpenAndChangeNothing) {
    Open();
    Type("txtQuality", QStringLiteral("20"));
    EXPECT_FALSE(dialog->close());
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(settings.values.empty());
    EXPECT_EQ(options.Quality, -1);
}

TEST_F(JpegDialogTest, RunsModallyUntilOK) {
    dialog = std::make_unique<frmJPEG>(settings, options, &main);
    QTimer::singleShot(0, dialog.get(), [this] {
        QTest::mouseClick(Find<QPushButton>(*dialog, "cmdOK"), Qt::LeftButton);
    });
    EXPECT_EQ(dialog->exec(), QDialog::Accepted);
    EXPECT_EQ(options.Quality, 75);
    EXPECT_FALSE(options.Grayscale);
}

TEST_F(JpegDialogTest, SitsCentredOverTheMainWindowTwentyPixelsLow) {
    Open();
    const QRect own = dialog->frameGeometry();
    const QRect host = main.frameGeometry();
    EXPECT_NEAR(own.center().x(), host.center().x(), 1); // integer halving
    EXPECT_NEAR(own.top(), host.top() + (host.height() - own.height()) / 2 + 20, 1);
}

} // namespace
} // namespace lobex
