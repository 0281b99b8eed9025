#include "app/CommandLine.h"
#include "app/View3DHost.h"
#include "app/View3DWidget.h"
#include "app/frmD3D.h"
#include "app/frmData.h"

#include "GifAnimation.h"
#include "LoadHarness.h"
#include "MainWindowHarness.h"
#include "ModalAnswer.h"
#include "WidgetLookup.h"
#include "images/ImageWriter.h"
#include "images/SaveChoices.h"
#include "view3d/AntennaLoader.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

namespace lobex {
namespace {

// The main window with the sample far field loaded and its 3D view started by
// the button.
struct MainWindow3D : ::testing::Test {
    MainWindow3D() {
        h.window->show();
        h.window->OpenFileFromOutside(test::Sample("yagi3_20m_farfield.csv"));
        // The machine's OpenGL is what these tests draw with; its kind only changes
        // a message.
        h.window->View3D().Probe = [] {
            return GlDevice::Hardware;
        };
        test::Find<QPushButton>(*h.window, "cmd3D")->click();
        // The GL view makes the window a new native one: activate it after.
        h.window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(h.window.get(), 30000));
    }
    View3DState& View() { return h.window->View3D().View(); }
    View3DWidget* Widget() { return h.window->View3D().Widget(); }
    frmD3D* OpenBigWindow() {
        QTest::mouseDClick(Widget(), Qt::LeftButton);
        frmD3D* big = h.window->D3DWindow();
        EXPECT_NE(big, nullptr);
        EXPECT_TRUE(big != nullptr && QTest::qWaitForWindowExposed(big, 30000));
        h.recorders.messages.shown.clear();
        return big;
    }
    std::string File(const char* name) const { return h.folder.filePath(name).toStdString(); }

    test::MainWindowHarness h;
};

// Light pixels where the view writes "Lobex" in its top left corner, the view
// standing at origin in the picture: the background there is mid grey and the
// pattern blue.
int CornerTextPixels(const QImage& picture, QPoint origin) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    int text = 0;
    for (int y = 10; y < 30; ++y) {
        for (int x = 10; x < 60; ++x) {
            text += qRed(image.pixel(origin + QPoint(x, y))) > 200 ? 1 : 0;
        }
    }
    return text;
}

QImage ClipboardImage() {
    return QGuiApplication::clipboard()->image();
}

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
    // The check box moves the focus on with the arrow: the release goes where it
    // went.
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
    EXPECT_EQ(View().Antenna.AntennaName, "Dipole 20m");

    // Outside the 3D view the keys are the window's own.
    test::Find<QPushButton>(*h.window, "cmdReturn")->click();
    QTest::keyPress(wire, Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(h.recorders.dialogs.filters.size(), 1U);
}

TEST_F(MainWindow3D, ADoubleClickMovesTheViewIntoItsOwnWindowAndExitBringsItBack) {
    test::Find<QCheckBox>(*h.window, "chk3DRotate")->setChecked(true);
    frmD3D* big = OpenBigWindow();
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(Widget()->window(), big);
    EXPECT_TRUE(h.window->isMinimized());
    EXPECT_TRUE(big->chkRotate->isChecked());
    EXPECT_GT(Widget()->width(), 1280 / 2); // the view fills most of it

    // Its boxes are the main window's.
    big->chkWire->click();
    EXPECT_TRUE(test::Find<QCheckBox>(*h.window, "chk3DWire")->isChecked());
    EXPECT_TRUE(View().Wireframe);

    // The close box is refused with a word why.
    big->close();
    EXPECT_TRUE(big->isVisible());
    EXPECT_EQ(h.recorders.messages.Texts(), std::vector<std::string>{kD3DCloseBoxMessage});

    // Minimised, the view stops ticking; restored, it goes on.
    big->showMinimized();
    QTest::qWait(50);
    h.window->View3D().Tick3D();
    EXPECT_TRUE(h.window->View3D().Paused());
    big->showNormal();
    QTest::qWait(50);
    h.window->View3D().Tick3D();
    EXPECT_FALSE(h.window->View3D().Paused());

    big->cmdClose->click();
    EXPECT_EQ(h.window->D3DWindow(), nullptr);
    ASSERT_NE(Widget(), nullptr);
    EXPECT_EQ(Widget()->window(), h.window.get());
    EXPECT_FALSE(h.window->isMinimized());
    EXPECT_TRUE(View().Wireframe);
}

TEST_F(MainWindow3D, GainColoursFollowTheirBoxesInBothWindowsAndAreRemembered) {
    auto* colours = test::Find<QCheckBox>(*h.window, "chk3DGain");
    auto* range = test::Find<QSpinBox>(*h.window, "spn3DGainRange");
    EXPECT_FALSE(colours->isChecked());
    EXPECT_FALSE(View().GainColours);
    EXPECT_EQ(range->value(), 40);
    range->setValue(25);
    colours->click();
    EXPECT_TRUE(View().GainColours);
    EXPECT_FLOAT_EQ(View().GainRangeDb, 25.0f);
    const auto& stored = h.recorders.settings.values;
    EXPECT_EQ(stored.at("View3D/GainColours"), "1");
    EXPECT_EQ(stored.at("View3D/GainRange"), "25");

    // The big window starts with the main window's choice and drives it.
    frmD3D* big = OpenBigWindow();
    ASSERT_NE(big, nullptr);
    EXPECT_TRUE(big->chkGain->isChecked());
    EXPECT_EQ(big->spnGainRange->value(), 25);
    big->spnGainRange->setValue(60);
    big->chkGain->click();
    EXPECT_FALSE(View().GainColours);
    EXPECT_FLOAT_EQ(View().GainRangeDb, 60.0f);
    EXPECT_FALSE(colours->isChecked());
    big->cmdClose->click();

    // The next start takes what was stored; a range out of reach is brought within it.
    h.recorders.settings.values["View3D/GainColours"] = "1";
    h.recorders.settings.values["View3D/GainRange"] = "95";
    h.window->Form_Load();
    EXPECT_TRUE(colours->isChecked());
    EXPECT_EQ(range->value(), 60);
    EXPECT_TRUE(View().GainColours);
    h.recorders.settings.values["View3D/GainRange"] = "много";
    h.window->Form_Load();
    EXPECT_EQ(range->value(), 40);
}

// A pointer move straight to the view, whatever the X display's own pointer does.
void MovePointer(QWidget* view, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), view->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &move);
}

TEST_F(MainWindow3D, ThePointerOverThePatternReadsItsDirectionAndGainInEitherWindow) {
    const auto statusText = [this] {
        return h.window->statusBar()->currentMessage();
    };
    // Below the centre of the view the pattern stands on the horizon; the corner is background.
    const QPoint onPattern(Widget()->width() / 2, Widget()->height() * 11 / 20);
    MovePointer(Widget(), onPattern);
    EXPECT_TRUE(statusText().startsWith(QStringLiteral("Азимут "))) << statusText().toStdString();
    EXPECT_TRUE(statusText().endsWith(QStringLiteral(" dBi")));
    MovePointer(Widget(), QPoint(3, 3));
    EXPECT_TRUE(statusText().isEmpty()) << statusText().toStdString();

    frmD3D* big = OpenBigWindow();
    ASSERT_NE(big, nullptr);
    MovePointer(Widget(), QPoint(Widget()->width() / 2, Widget()->height() * 11 / 20));
    EXPECT_TRUE(big->lblReadout->text().startsWith(QStringLiteral("Азимут ")));
    MovePointer(Widget(), QPoint(3, 3));
    EXPECT_TRUE(big->lblReadout->text().isEmpty());
}

TEST_F(MainWindow3D, OpeningOtherDataLeavesTheViewForItsGraphFromEitherWindow) {
    for (const bool bigWindow : {false, true}) {
        SCOPED_TRACE(bigWindow ? "from the big window" : "from the main window");
        if (bigWindow) {
            h.window->OpenFileFromOutside(test::Sample("yagi3_20m_farfield.csv"));
            test::Find<QPushButton>(*h.window, "cmd3D")->click();
            ASSERT_NE(OpenBigWindow(), nullptr);
        }
        ASSERT_TRUE(h.state.View.View3DActive);
        h.window->OpenFileFromOutside(test::Sample("yagi3_20m_sweep.csv"));
        EXPECT_FALSE(h.state.View.View3DActive);
        EXPECT_EQ(h.window->D3DWindow(), nullptr);
        EXPECT_FALSE(h.window->isMinimized());
        EXPECT_TRUE(test::Find<QWidget>(*h.window, "fraControls2")->isHidden());
        EXPECT_GT(h.link.Slots[kMainSlot].DocNum, 0); // the sweep's graph is drawn
    }
}

TEST_F(MainWindow3D, PicturesOfTheViewAndOfItsWindowShowTheCornerText) {
    EXPECT_GT(CornerTextPixels(WidgetPicture(*Widget()), {0, 0}), 10);
    const QImage window = WidgetPicture(*h.window);
    EXPECT_EQ(window.size(), h.window->size());
    EXPECT_GT(CornerTextPixels(window, Widget()->mapTo(h.window.get(), QPoint(0, 0))), 10);
}

TEST_F(MainWindow3D, GraphCopyPutsThePictureOfTheViewOnTheClipboardInEitherWindow) {
    test::Find<QCheckBox>(*h.window, "chk3DRotate")->setChecked(true);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    h.window->mnuFileGraphCopy_Click();
    QImage copied = ClipboardImage();
    EXPECT_EQ(copied.size(), Widget()->size());
    EXPECT_GT(CornerTextPixels(copied, {0, 0}), 10);

    frmD3D* big = OpenBigWindow();
    ASSERT_NE(big, nullptr);
    h.window->mnuFileGraphCopy_Click();
    copied = ClipboardImage();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.size(), big->Target()->size());
    EXPECT_GT(CornerTextPixels(copied, Widget()->mapTo(big->Target(), QPoint(0, 0))), 10);
    EXPECT_TRUE(View().AutoRotate); // the turn goes on after the copy
}

TEST_F(MainWindow3D, GraphSaveWritesThePictureOfTheViewAsBmpPngAndJpeg) {
    struct Case {
        int filterIndex;
        const char* file;
        bool jpegOptions;
        bool lossless;
    };
    for (const Case& save : {Case{1, "view.bmp", false, true}, Case{2, "view.png", false, true},
                             Case{3, "view.jpg", true, false}}) {
        SCOPED_TRACE(save.file);
        h.recorders.messages.shown.clear();
        h.recorders.dialogs.filters.clear();
        h.recorders.dialogs.save = {save.filterIndex, File(save.file)};
        bool optionsShown = false;
        if (save.jpegOptions) {
            test::AnswerNextDialog([&optionsShown](QDialog& dialog) {
                optionsShown = dialog.objectName() == QLatin1String("frmJPEG");
                test::PressOk(dialog);
            });
        }
        h.window->mnuFileGraphSave_Click();
        EXPECT_EQ(h.recorders.dialogs.filters, std::vector<std::string>{kGraphSave3DFilter});
        EXPECT_EQ(optionsShown, save.jpegOptions);
        const QImage written(QString::fromStdString(File(save.file)));
        EXPECT_EQ(written.size(), Widget()->size());
        if (save.lossless) {
            EXPECT_GT(CornerTextPixels(written, {0, 0}), 10);
        }
    }

    // From the big window, the picture of its picture box.
    frmD3D* big = OpenBigWindow();
    ASSERT_NE(big, nullptr);
    h.recorders.dialogs.save = {2, File("big.png")};
    h.window->mnuFileGraphSave_Click();
    const QImage written(QString::fromStdString(File("big.png")));
    EXPECT_GT(CornerTextPixels(written, Widget()->mapTo(big->Target(), QPoint(0, 0))), 10);
}

TEST_F(MainWindow3D, GraphSaveWritesOneFullTurnAsALoopingGifAndLeavesTheViewAsItWas) {
    test::Find<QCheckBox>(*h.window, "chk3DRotate")->setChecked(true);
    // Off the starting angle, so that the first frame has to be taken where the view stands.
    View3DScene& scene = h.window->View3D().Scene();
    TurnScene(scene, 0.7f);
    const Matrix before = scene.RootFrame->GetMatrix();
    const QImage still = Widget()->Picture().convertToFormat(QImage::Format_RGB32);
    h.recorders.messages.shown.clear();
    h.recorders.dialogs.save = {5, File("turn.gif")};
    h.window->mnuFileGraphSave_Click();
    EXPECT_TRUE(h.recorders.messages.shown.empty());
    EXPECT_EQ(scene.RootFrame->GetMatrix(), before);
    EXPECT_TRUE(View().AutoRotate);

    QFile file(QString::fromStdString(File("turn.gif")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const test::GifAnimation turn = test::DecodeGifAnimation(file.readAll());
    ASSERT_EQ(turn.error, "");
    EXPECT_EQ(QSize(turn.width, turn.height), still.size());
    EXPECT_EQ(turn.loopCount, 0);
    ASSERT_EQ(turn.frames.size(), 36U);
    EXPECT_EQ(turn.frames[17].delay, 10);

    // The first frame is the still picture in 256 colours of its own; a quarter turn on, the
    // pattern has moved.
    const auto difference = [&still](const QImage& frame) {
        double total = 0;
        for (int y = 0; y < still.height(); ++y) {
            for (int x = 0; x < still.width(); ++x) {
                const QRgb a = still.pixel(x, y);
                const QRgb b = frame.pixel(x, y);
                total += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                         std::abs(qBlue(a) - qBlue(b));
            }
        }
        return total / (still.width() * still.height());
    };
    EXPECT_LT(difference(turn.frames[0].picture), 3.0);
    EXPECT_GT(difference(turn.frames[9].picture), 3 * difference(turn.frames[0].picture));
    EXPECT_GT(CornerTextPixels(turn.frames[9].picture, {0, 0}), 10);

    // A file that cannot be written is reported and the view still turns.
    h.recorders.dialogs.save = {5, File("missing/turn.gif")};
    h.window->mnuFileGraphSave_Click();
    EXPECT_EQ(h.recorders.messages.Texts(), std::vector<std::string>{"Ошибка сохранения графика"});
    EXPECT_TRUE(View().AutoRotate);
}

TEST_F(MainWindow3D, GraphSaveWritesTheGlbModelWithTheLoadedAntenna) {
    const std::string dipole = (test::TestDataFolder() / "3d" / "dipole_20m.maa").string();
    ASSERT_TRUE(h.window->View3D().LoadAntenna(dipole));
    h.recorders.dialogs.save = {4, File("pattern.glb")};
    h.window->mnuFileGraphSave_Click();
    EXPECT_TRUE(h.recorders.messages.shown.empty());
    const std::string bytes = test::ReadBytes(File("pattern.glb"));
    ASSERT_GT(bytes.size(), 20U);
    EXPECT_EQ(bytes.substr(0, 4), "glTF");
    // The JSON chunk names the antenna and the file, and holds the wires.
    EXPECT_NE(bytes.find("\"antenna\":\"Dipole 20m\""), std::string::npos);
    EXPECT_NE(bytes.find("\"source\":\"yagi3_20m_farfield.csv\""), std::string::npos);
    EXPECT_NE(bytes.find("\"name\":\"wires\""), std::string::npos);

    // A place that cannot be written says so, as the other formats do.
    h.recorders.dialogs.save = {4, File("no folder/pattern.glb")};
    h.window->mnuFileGraphSave_Click();
    EXPECT_EQ(h.recorders.messages.Texts(), std::vector<std::string>{"Ошибка сохранения графика"});
}

TEST_F(MainWindow3D, PrintingTheViewIsRefusedWithItsMessage) {
    h.recorders.messages.shown.clear();
    h.api.commands.clear();
    h.window->mnuFileGraphPrint_Click();
    EXPECT_EQ(
        h.recorders.messages.Texts(),
        std::vector<std::string>{"Вывод 3D моделей на печать в данной версии не поддерживается"});
    EXPECT_TRUE(h.api.commands.empty()); // nothing went to a printer
}

TEST_F(MainWindow3D, ScreenCopyWithTheBigWindowOpenTakesThatWindow) {
    frmD3D* big = OpenBigWindow();
    ASSERT_NE(big, nullptr);
    QGuiApplication::clipboard()->clear();
    h.window->mnuFileScreenCopy_Click();
    const QImage copied = ClipboardImage();
    EXPECT_EQ(copied.size(), big->size());
    EXPECT_GT(CornerTextPixels(copied, Widget()->mapTo(big, QPoint(0, 0))), 10);
}

QWidget* PolarWindow() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QStringLiteral("frmPolar") && top->isVisible()) {
            return top;
        }
    }
    return nullptr;
}

TEST(PolarWindow3D, ItsButtonOpensTheBigWindowAndExitReturnsTheViewToAWholeMainWindow) {
    test::MainWindowHarness h;
    h.window->show();
    h.window->OpenFileFromOutside(test::Sample("yagi3_20m_farfield.csv"));
    h.window->View3D().Probe = [] {
        return GlDevice::Hardware;
    };
    h.window->OpenPolarWindow();
    QWidget* polar = PolarWindow();
    ASSERT_NE(polar, nullptr);
    auto* button = test::Find<QPushButton>(*polar, "cmd3D");
    ASSERT_TRUE(button->isEnabled());

    button->click();
    frmD3D* big = h.window->D3DWindow();
    ASSERT_NE(big, nullptr);
    ASSERT_NE(h.window->View3D().Widget(), nullptr);
    EXPECT_EQ(h.window->View3D().Widget()->window(), big);
    EXPECT_TRUE(h.state.View.View3DActive);
    QCoreApplication::processEvents();
    EXPECT_EQ(PolarWindow(), nullptr);
    EXPECT_EQ(h.state.View.PlotHost, PlotHostKind::MainWindow);

    big->cmdClose->click();
    ASSERT_NE(h.window->View3D().Widget(), nullptr);
    EXPECT_EQ(h.window->View3D().Widget()->window(), h.window.get());
    QWidget* plotFrame = test::Find<QWidget>(*h.window, "fraPlot");
    EXPECT_TRUE(plotFrame->isVisible());
    EXPECT_GT(h.window->View3D().Widget()->height(), 100);
}

TEST(PolarWindow3D, WithoutOpenGlTheButtonsOfBothWindowsAreDisabled) {
    test::MainWindowHarness h;
    h.window->show();
    h.window->OpenFileFromOutside(test::Sample("yagi3_20m_farfield.csv"));
    h.window->View3D().Probe = [] {
        return GlDevice::None;
    };
    h.window->OpenPolarWindow();
    ASSERT_NE(PolarWindow(), nullptr);
    test::Find<QPushButton>(*PolarWindow(), "cmd3D")->click();
    EXPECT_EQ(h.window->D3DWindow(), nullptr);
    EXPECT_FALSE(h.state.View.View3DActive);
    EXPECT_EQ(h.recorders.messages.Texts(), std::vector<std::string>{kNoDeviceMessage});
    EXPECT_FALSE(test::Find<QPushButton>(*h.window, "cmd3D")->isEnabled());
    // The data stays, and the diagrams can be drawn again.
    EXPECT_EQ(h.state.Loaded.Data.DataKind, KindFarField);
}

TEST(View3DLive, ARewrittenPatternTakesTheOldOnesPlaceInTheWindowItWasIn) {
    for (const bool bigWindow : {false, true}) {
        SCOPED_TRACE(bigWindow ? "in the big window" : "in the main window");
        test::MainWindowHarness h;
        h.window->show();
        h.window->View3D().Probe = [] {
            return GlDevice::Hardware;
        };
        const QString path = h.folder.filePath(QStringLiteral("pattern.csv"));
        const auto write = [&path](const std::string& from) {
            QFile source(QString::fromStdString(from));
            ASSERT_TRUE(source.open(QIODevice::ReadOnly));
            QSaveFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(source.readAll());
            ASSERT_TRUE(file.commit());
        };
        write(test::Sample("yagi3_20m_farfield.csv"));
        h.window->OpenFileFromOutside(path.toStdString());
        test::Find<QPushButton>(*h.window, "cmd3D")->click();
        if (bigWindow) {
            QTest::mouseDClick(h.window->View3D().Widget(), Qt::LeftButton);
            ASSERT_NE(h.window->D3DWindow(), nullptr);
        }
        const float before = h.window->View3D().View().Pattern.PeakGain;

        write((test::CorpusFolder() / "farfield_csv" / "APET_4cross_quads2_10deg.csv").string());
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return h.window->View3D().View().Pattern.PeakGain != before; }, 5000));
        EXPECT_TRUE(h.state.View.View3DActive);
        EXPECT_NEAR(h.window->View3D().View().Pattern.PeakGain, h.state.Loaded.Pattern.MaxGain,
                    0.01f);
        EXPECT_EQ(h.window->D3DWindow() != nullptr, bigWindow);
        ASSERT_NE(h.window->View3D().Widget(), nullptr);
        EXPECT_EQ(h.window->View3D().Widget()->window(),
                  bigWindow ? static_cast<QWidget*>(h.window->D3DWindow()) : h.window.get());
    }
}

TEST(View3DCommandLine, OpensTheViewWithTheAntennaInTheWindowAsked) {
    for (const bool ownWindow : {false, true}) {
        SCOPED_TRACE(ownWindow);
        test::MainWindowHarness h;
        h.window->show();
        h.window->OpenFileFromOutside(test::Sample("yagi3_20m_farfield.csv"));
        h.window->View3D().Probe = [] {
            return GlDevice::Hardware;
        };
        const std::string dipole = (test::TestDataFolder() / "3d" / "dipole_20m.maa").string();
        QWidget* shown = h.window->Show3DForCommandLine(dipole, ownWindow);
        ASSERT_NE(h.window->View3D().Widget(), nullptr);
        EXPECT_EQ(shown, h.window->View3D().Widget()->window());
        EXPECT_EQ(h.state.View.D3DWindowOpen, ownWindow);
        EXPECT_TRUE(h.window->View3D().View().AntennaLoaded);
        // The screenshot shows the corner text drawn over the frame.
        const QString picture = h.folder.filePath(QStringLiteral("shot.png"));
        QString error;
        ASSERT_TRUE(SaveWindowPicture(*shown, picture.toStdString(), &error))
            << error.toStdString();
        EXPECT_GT(CornerTextPixels(QImage(picture),
                                   h.window->View3D().Widget()->mapTo(shown, QPoint(0, 0))),
                  10);
    }
}

} // namespace
} // namespace lobex
