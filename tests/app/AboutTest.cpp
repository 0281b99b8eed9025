#include "WidgetLookup.h"
#include "dialogs/frmAbout.h"

#include <QMainWindow>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace lobex {
namespace {

using test::Find;

TEST(About, VersionLineRunsMinorAndRevisionTogether) {
    EXPECT_EQ(AboutVersionLine(1, 0, 3), "v1.03  by Orvane");
    EXPECT_EQ(AboutVersionLine(2, 1, 0), "v2.10  by Orvane");
}

class AboutBoxTest : public ::testing::Test {
protected:
    AboutBoxTest() {
        main.setGeometry(100, 100, 900, 600);
        main.show();
        about = std::make_unique<frmAbout>(&main);
        about->show();
        QTest::qWait(20);
    }
    QMainWindow main;
    std::unique_ptr<frmAbout> about;
};

TEST_F(AboutBoxTest, ShowsTheProductAndItsVersion) {
    EXPECT_EQ(Find<QLabel>(*about, "Label1")->text(), QStringLiteral("Lobex for MMana"));
    EXPECT_EQ(Find<QLabel>(*about, "Label1")->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(Find<QLabel>(*about, "Label2")->text(),
              QStringLiteral("Visual interface for MMANA "));
    EXPECT_TRUE(Find<QLabel>(*about, "lblVersion")->text().endsWith(QStringLiteral("  by Orvane")));
    EXPECT_TRUE(Find<QLabel>(*about, "lblVersion")->text().startsWith(QLatin1Char('v')));
}

TEST_F(AboutBoxTest, SitsCentredOverTheMainWindowTwentyPixelsLow) {
    const QRect own = about->frameGeometry();
    const QRect host = main.frameGeometry();
    EXPECT_NEAR(own.center().x(), host.center().x(), 1); // integer halving
    EXPECT_NEAR(own.top(), host.top() + (host.height() - own.height()) / 2 + 20, 1);
}

TEST_F(AboutBoxTest, TheCloseBoxDoesNotCloseIt) {
    EXPECT_FALSE(about->close());
    EXPECT_TRUE(about->isVisible());
}

TEST_F(AboutBoxTest, AClickOnAnyLabelOrTheFrameClosesIt) {
    for (const char* name : {"Label1", "Label2", "lblVersion", "Frame1"}) {
        about->show();
        ASSERT_TRUE(about->isVisible());
        QTest::mouseClick(Find<QWidget>(*about, name), Qt::LeftButton);
        EXPECT_FALSE(about->isVisible()) << name;
        EXPECT_EQ(about->result(), QDialog::Accepted);
    }
}

} // namespace
} // namespace lobex
