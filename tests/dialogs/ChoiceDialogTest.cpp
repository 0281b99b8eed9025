#include "../app/WidgetLookup.h"
#include "core/AppState.h"
#include "dialogs/frmChoice.h"

#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace lobex {
namespace {

using test::Find;

class ChoiceDialogTest : public ::testing::Test {
protected:
    ChoiceDialogTest() {
        main.setGeometry(100, 100, 900, 600);
        main.show();
        dialog = std::make_unique<frmChoice>(state, &main);
        dialog->show();
        QTest::qWait(10);
    }
    void Click(const char* name) {
        QTest::mouseClick(Find<QWidget>(*dialog, name), Qt::LeftButton);
    }

    QMainWindow main;
    AppState state;
    std::unique_ptr<frmChoice> dialog;
};

TEST_F(ChoiceDialogTest, CarriesItsCaptionsWithTheAzimuthSelected) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Выбор Графика"));
    EXPECT_EQ(Find<QRadioButton>(*dialog, "optChoice(0)")->text(), QStringLiteral("Азимут"));
    EXPECT_EQ(Find<QRadioButton>(*dialog, "optChoice(1)")->text(), QStringLiteral("Угол Места"));
    EXPECT_EQ(Find<QPushButton>(*dialog, "cmdOK")->text(), QStringLiteral("OK"));
    EXPECT_TRUE(Find<QRadioButton>(*dialog, "optChoice(0)")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>(*dialog, "optChoice(1)")->isChecked());
    EXPECT_NE(dialog->findChild<QWidget*>(QStringLiteral("Frame1")), nullptr);
}

TEST_F(ChoiceDialogTest, OKAtOnceChoosesTheAzimuth) {
    Click("cmdOK");
    EXPECT_EQ(state.ChosenGraph, 1);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(ChoiceDialogTest, TheElevationOptionGivesTwo) {
    Click("optChoice(1)");
    Click("cmdOK");
    EXPECT_EQ(state.ChosenGraph, 2);
}

TEST_F(ChoiceDialogTest, TheCloseBoxAndEscLeaveItOpenWithoutAChoice) {
    EXPECT_FALSE(dialog->close());
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(state.ChosenGraph, 0);
}

TEST_F(ChoiceDialogTest, EveryOpeningStartsFromTheAzimuth) {
    Click("optChoice(1)");
    Click("cmdOK");
    ASSERT_EQ(state.ChosenGraph, 2);
    state.ChosenGraph = 0;
    frmChoice again(state, &main);
    QTimer::singleShot(0, &again, [&again] {
        QTest::mouseClick(again.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    EXPECT_EQ(again.exec(), QDialog::Accepted);
    EXPECT_EQ(state.ChosenGraph, 1);
}

TEST_F(ChoiceDialogTest, SitsCentredOverTheMainWindowTwentyPixelsLow) {
    const QRect own = dialog->frameGeometry();
    const QRect host = main.frameGeometry();
    EXPECT_NEAR(own.center().x(), host.center().x(), 1); // integer halving
    EXPECT_NEAR(own.top(), host.top() + (host.height() - own.height()) / 2 + 20, 1);
}

} // namespace
} // namespace lobex
