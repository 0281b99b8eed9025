#include "app/View3DHost.h"

#include "LoadHarness.h"
#include "MainWindowHarness.h"
#include "WidgetLookup.h"
#include "view3d/AntennaLoader.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace lobex {
namespace {

// The main window with the sample far field loaded and its 3D view started by the button.
struct MainWindow3D : ::testing::Test {
    MainWindow3D() {
        h.window->show();
        h.window->OpenFileFromOutside(test::Sample("yagi3_20m_farfield.csv"));
        // The machine's OpenGL is what these tests draw with; its kind only changes a message.
        h.window->View3D().Probe = [] {
            return GlDevice::Hardware;
        };
        test::Find<QPushButton>(*h.window, "cmd3D")->click();
        // The GL view makes the window a new native one: activate it after.
        h.window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(h.window.get()));
    }
    View3DState& View() { return h.window->View3D().View(); }

    test::MainWindowHarness h;
};

TEST_F(MainWindow3D, TheViewsKeysWorkWhileAnotherControlOfTheWindowHasTheFocus) {
    ASSERT_TRUE(h.state.View.View3DActive);
    auto* rotate = test::Find<QCheckBox>(*h.window, "chk3DRotate");
    rotate->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), rotate);
    const bool ground = View().GroundVisible;
    const bool axes = View().AxesVisible;

    QTest::keyClick(rotate, Qt::Key_F3);
    EXPECT_NE(View().GroundVisible, ground);
    QTest::keyClick(rotate, Qt::Key_F4);
    EXPECT_NE(View().AxesVisible, axes);
    // Once per key, not once for each parent the event passes on its way up.
    QTest::keyClick(rotate, Qt::Key_F3);
    EXPECT_EQ(View().GroundVisible, ground);

    // A held cursor key moves the camera.
    QTest::keyPress(rotate, Qt::Key_Left);
    EXPECT_TRUE(View().KeyDown3D[vk::Left]);
    // The check box moves the focus on with the arrow: the release goes where it went.
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_FALSE(View().KeyDown3D[vk::Left]);
}

TEST_F(MainWindow3D, ShiftF2AsksForAnAntennaAndShowsIt) {
    h.recorders.dialogs.openFile = (test::TestDataFolder() / "3d" / "dipole_20m.maa").string();
    auto* wire = test::Find<QCheckBox>(*h.window, "chk3DWire");
    wire->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), wire);
    QTest::keyPress(wire, Qt::Key_F2, Qt::ShiftModifier);
    ASSERT_EQ(h.recorders.dialogs.filters.size(), 1U);
    EXPECT_EQ(h.recorders.dialogs.filters.back(), kAntennaFilter);
    EXPECT_TRUE(View().AntennaLoaded);
    EXPECT_TRUE(View().WiresVisible);
    EXPECT_EQ(View().Antenna.AntennaName, "Dipole 20m");

    // Outside the 3D view the keys are the window's own.
    test::Find<QPushButton>(*h.window, "cmdReturn")->click();
    QTest::keyPress(wire, Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(h.recorders.dialogs.filters.size(), 1U);
}

} // namespace
} // namespace lobex
