#include "app/CommandLine.h"
#include "app/NecControls.h"
#include "app/PictureBox.h"
#include "app/Turntable.h"
#include "app/View3DHost.h"
#include "app/View3DWidget.h"
#include "app/frmD3D.h"
#include "app/frmData.h"

#include "GifAnimation.h"
#include "LoadHarness.h"
#include "MainWindowHarness.h"
#include "ModalAnswer.h"
#include "Nec2cRun.h"
#include "WidgetLookup.h"
#include "images/SaveChoices.h"
#include "view3d/PatternModel.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QOpenGLWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

namespace lobex {
namespace {

// The main window showing a file, the sample far field unless told. The machine's OpenGL is what
// these tests draw with; the kind it is taken for only changes a message.
void Show(test::MainWindowHarness& h,
          const std::string& file = test::Sample("yagi3_20m_farfield.csv"),
          GlDevice device = GlDevice::Hardware) {
    h.window->show();
    EXPECT_TRUE(h.OpenAndWait(file)) << file;
    h.window->View3D().Probe = [device] {
        return device;
    };
}

// The 3D view started by its button, the window active as the view's keys need it.
void Start3D(test::MainWindowHarness& h, const char* button = "cmd3D") {
    test::Find<QPushButton>(*h.window, button)->click();
    // The GL view makes the window a new native one: activate it after.
    h.window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(h.window.get(), 30000));
}

// The far field's 3D view started by the button.
struct MainWindow3D : ::testing::Test {
    MainWindow3D() {
        Show(h);
        Start3D(h);
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
    // The graph saved as the save dialog's entry `filter` under the name; what was said.
    std::vector<std::string> Save(int filter, const char* name) {
        h.recorders.messages.shown.clear();
        h.recorders.dialogs.save = {filter, File(name)};
        h.window->mnuFileGraphSave_Click();
        return h.recorders.messages.Texts();
    }
    // What a save into a folder that is not there says.
    std::vector<std::string> NoFolder(const char* name) const {
        return {"Ошибка сохранения графика\r\n" + File(name) + ": No such file or directory"};
    }

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

// A pointer move straight to the view, whatever the X display's own pointer does.
void MovePointer(QWidget* view, QPoint at, Qt::MouseButtons held = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), view->mapToGlobal(QPointF(at)), Qt::NoButton,
                     held, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &move);
}

// The frames a view swaps while the test waits.
struct FrameCount {
    explicit FrameCount(QOpenGLWidget* view) {
        QObject::connect(view, &QOpenGLWidget::frameSwapped, &context, [this] { ++frames; });
    }
    int In(int ms) {
        frames = 0;
        QTest::qWait(ms);
        return frames;
    }
    // No frame for a while, once what was under way has settled: a loaded machine may draw the
    // last frames late, a view that keeps drawing never settles.
    bool Still(int settle) {
        In(settle);
        for (int tries = 0; tries < 20 && In(100) > 0; ++tries) {
        }
        return In(300) == 0;
    }
    QObject context; // ends the connection with the count
    int frames = 0;
};

TEST_F(MainWindow3D, TheViewsKeysWorkWhileAnotherControlHasTheFocus) {
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

TEST_F(MainWindow3D, ShiftF2AsksForOneAntennaWhateverArrivesWhileItsDialogIsOpenAndOnlyIn3D) {
    // Ticked by the user, the box holds the focus; the dialog opens with the key still down.
    auto* colours = test::Find<QCheckBox>(*h.window, "chk3DGain");
    colours->click();
    colours->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), colours);
    h.recorders.dialogs.openFile = (test::TestDataFolder() / "3d" / "dipole_20m.maa").string();
    int asked = 0;
    const auto repeat = [](QWidget* to) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F2, Qt::ShiftModifier, QString(), true);
        QApplication::sendEvent(to, &press);
    };
    h.recorders.dialogs.whileAsking = [&] {
        ++asked;
        // What was queued before the dialog took the keyboard: the key's repeat, a second press.
        repeat(colours);
        QTest::keyPress(colours, Qt::Key_F2, Qt::ShiftModifier);
    };
    QTest::keyPress(colours, Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(View().Antenna.AntennaName, "Dipole 20m");
    // A held key repeats over the view or the box without asking again.
    repeat(colours);
    repeat(Widget());
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(View().AntennaLoaded);
    // Outside the 3D view the keys are the window's.
    test::Find<QPushButton>(*h.window, "cmdReturn")->click();
    QTest::keyPress(colours, Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(asked, 1);
}

TEST_F(MainWindow3D, AStillViewDrawsNothingUntilSomethingMovesIt) {
    auto* timer = test::Find<QTimer>(*h.window, "tmrTimer3D");
    FrameCount frames(Widget());
    EXPECT_TRUE(frames.Still(200));
    EXPECT_FALSE(timer->isActive());

    auto* rotate = test::Find<QCheckBox>(*h.window, "chk3DRotate");
    rotate->setChecked(true);
    EXPECT_GT(frames.In(300), 2);
    rotate->setChecked(false);
    EXPECT_TRUE(frames.Still(100));

    // A drag reaches the view's control (its angles are ViewControlTest's); F6 undoes it.
    const QPoint middle(Widget()->width() / 2, Widget()->height() / 2);
    QTest::mousePress(Widget(), Qt::LeftButton, {}, middle);
    MovePointer(Widget(), middle + QPoint(0, 6), Qt::LeftButton);
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, middle + QPoint(0, 6));
    EXPECT_NEAR(View().CameraPitch, kDragTurn, 1e-5f);
    QTest::keyClick(Widget(), Qt::Key_F6);
    EXPECT_EQ(View().CameraPitch, 0.0f);
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

    // The pointer over the pattern reads its direction and gain in the window's own line.
    MovePointer(Widget(), QPoint(Widget()->width() / 2, Widget()->height() * 11 / 20));
    EXPECT_TRUE(big->lblReadout->text().startsWith(QStringLiteral("Азимут ")))
        << big->lblReadout->text().toStdString();

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

TEST_F(MainWindow3D, GainColoursFollowTheirBoxesAndAreRemembered) {
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

    // The next start takes what was stored; a range out of reach is brought within it.
    h.recorders.settings.values["View3D/GainRange"] = "95";
    h.window->Form_Load();
    EXPECT_TRUE(colours->isChecked());
    EXPECT_EQ(range->value(), 60);
    EXPECT_TRUE(View().GainColours);
    h.recorders.settings.values["View3D/GainRange"] = "много";
    h.window->Form_Load();
    EXPECT_EQ(range->value(), 40);
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
        if (!bigWindow) {
            MovePointer(Widget(), QPoint(Widget()->width() / 2, Widget()->height() * 11 / 20));
            ASSERT_FALSE(h.window->statusBar()->currentMessage().isEmpty());
        }
        h.window->OpenFileFromOutside(test::Sample("yagi3_20m_sweep.csv"));
        // The pattern's read-out does not outlive it.
        EXPECT_TRUE(h.window->statusBar()->currentMessage().isEmpty());
        EXPECT_FALSE(h.state.View.View3DActive);
        EXPECT_EQ(h.window->D3DWindow(), nullptr);
        EXPECT_FALSE(h.window->isMinimized());
        EXPECT_TRUE(test::Find<QWidget>(*h.window, "fraControls2")->isHidden());
        EXPECT_GT(h.link.Slots[kMainSlot].DocNum, 0); // the sweep's graph is drawn
    }
}

TEST_F(MainWindow3D, PicturesAndCopiesOfTheViewShowTheCornerTextInEitherWindow) {
    test::Find<QCheckBox>(*h.window, "chk3DRotate")->setChecked(true);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    h.window->mnuFileGraphCopy_Click();
    QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), Widget()->size());
    EXPECT_GT(CornerTextPixels(copied, {0, 0}), 10);

    frmD3D* big = OpenBigWindow();
    ASSERT_NE(big, nullptr);
    h.window->mnuFileGraphCopy_Click();
    copied = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.size(), big->Target()->size());
    EXPECT_GT(CornerTextPixels(copied, Widget()->mapTo(big->Target(), QPoint(0, 0))), 10);
    EXPECT_TRUE(View().AutoRotate); // the turn goes on after the copy

    // A screen copy takes the big window.
    QGuiApplication::clipboard()->clear();
    h.window->mnuFileScreenCopy_Click();
    copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), big->size());
    EXPECT_GT(CornerTextPixels(copied, Widget()->mapTo(big, QPoint(0, 0))), 10);
}

TEST_F(MainWindow3D, GraphSaveWritesThePictureAsPngOrJpegOrTheModelAsGlbAndPrintingIsRefused) {
    EXPECT_EQ(Save(2, "view.png"), std::vector<std::string>{});
    EXPECT_EQ(h.recorders.dialogs.filters, std::vector<std::string>{kGraphSave3DFilter});
    QImage written(QString::fromStdString(File("view.png")));
    EXPECT_EQ(written.size(), Widget()->size());
    EXPECT_GT(CornerTextPixels(written, {0, 0}), 10);

    bool optionsShown = false;
    test::AnswerNextDialog([&optionsShown](QDialog& dialog) {
        optionsShown = dialog.objectName() == QLatin1String("frmJPEG");
        test::PressOk(dialog);
    });
    EXPECT_EQ(Save(3, "view.jpg"), std::vector<std::string>{});
    EXPECT_TRUE(optionsShown);
    // The options' size, 490 x 290 unless changed, bounds the JPEG picture.
    EXPECT_EQ(QImage(QString::fromStdString(File("view.jpg"))).size(),
              Widget()->size().scaled(490, 290, Qt::KeepAspectRatio));

    // The model with its antenna as glTF.
    ASSERT_TRUE(h.window->View3D().LoadAntenna(
        (test::TestDataFolder() / "3d" / "dipole_20m.maa").string()));
    EXPECT_EQ(Save(4, "pattern.glb"), std::vector<std::string>{});
    const std::string bytes = test::ReadBytes(File("pattern.glb"));
    EXPECT_EQ(bytes.substr(0, 4), "glTF");
    // The JSON chunk names the antenna and the file.
    EXPECT_NE(bytes.find("\"antenna\":\"Dipole 20m\""), std::string::npos);
    EXPECT_NE(bytes.find("\"source\":\"yagi3_20m_farfield.csv\""), std::string::npos);
    // A place that cannot be written says so, as the other formats do.
    EXPECT_EQ(Save(4, "no folder/pattern.glb"), NoFolder("no folder/pattern.glb"));

    h.recorders.messages.shown.clear();
    h.api.commands.clear();
    h.window->mnuFileGraphPrint_Click();
    EXPECT_EQ(
        h.recorders.messages.Texts(),
        std::vector<std::string>{"Вывод 3D моделей на печать в данной версии не поддерживается"});
    EXPECT_TRUE(h.api.commands.empty()); // nothing went to a printer
}

TEST_F(MainWindow3D, GraphSaveWritesOneFullTurnAsALoopingGifAndLeavesTheViewAsItWas) {
    test::Find<QCheckBox>(*h.window, "chk3DRotate")->setChecked(true);
    // Off the starting angle, so that the first frame has to be taken where the view stands.
    View3DScene& scene = h.window->View3D().Scene();
    TurnScene(scene, 0.7f);
    const Matrix before = scene.RootFrame->GetMatrix();
    const QImage still = Widget()->Picture().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(Save(5, "turn.gif"), std::vector<std::string>{});
    EXPECT_EQ(scene.RootFrame->GetMatrix(), before);
    EXPECT_TRUE(View().AutoRotate);

    const test::GifAnimation turn =
        test::DecodeGifAnimation(QByteArray::fromStdString(test::ReadBytes(File("turn.gif"))));
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

    // A file that cannot be written is reported and the view still turns.
    EXPECT_EQ(Save(5, "missing/turn.gif"), NoFolder("missing/turn.gif"));
    EXPECT_TRUE(View().AutoRotate);

    // The GIF over frequency needs a NEC-2 output's frequencies.
    EXPECT_EQ(Save(6, "sweep.gif"), std::vector<std::string>{kNoFrequencyAnimation});
    EXPECT_FALSE(QFile::exists(QString::fromStdString(File("sweep.gif"))));
}

TEST(PolarWindow3D, ItsButtonOpensTheBigWindowAndExitReturnsTheViewToAWholeMainWindow) {
    test::MainWindowHarness h;
    Show(h);
    h.window->OpenPolarWindow();
    QWidget* polar = test::PolarWindow();
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
    EXPECT_EQ(test::PolarWindow(), nullptr);
    EXPECT_EQ(h.state.View.PlotHost, PlotHostKind::MainWindow);

    big->cmdClose->click();
    ASSERT_NE(h.window->View3D().Widget(), nullptr);
    EXPECT_EQ(h.window->View3D().Widget()->window(), h.window.get());
    QWidget* plotFrame = test::Find<QWidget>(*h.window, "fraPlot");
    EXPECT_TRUE(plotFrame->isVisible());
    EXPECT_GT(h.window->View3D().Widget()->height(), 100);

    // "Полярный" shows both diagrams with their result frames, not two white boxes.
    test::Find<QPushButton>(*h.window, "cmdReturn")->click();
    for (const char* box : {"picPolar1", "picPolar2"}) {
        EXPECT_TRUE(test::Find<PictureBox>(*h.window, box)->HasPicture()) << box;
    }
    EXPECT_TRUE(test::Find<QWidget>(*h.window, "fraPolar2")->isVisible());
}

TEST(PolarWindow3D, WithoutOpenGlTheButtonsOfBothWindowsAreDisabled) {
    test::MainWindowHarness h;
    Show(h, test::Sample("yagi3_20m_farfield.csv"), GlDevice::None);
    h.window->OpenPolarWindow();
    ASSERT_NE(test::PolarWindow(), nullptr);
    test::Find<QPushButton>(*test::PolarWindow(), "cmd3D")->click();
    EXPECT_EQ(h.window->D3DWindow(), nullptr);
    EXPECT_FALSE(h.state.View.View3DActive);
    EXPECT_EQ(h.recorders.messages.Texts(), std::vector<std::string>{kNoDeviceMessage});
    EXPECT_FALSE(test::Find<QPushButton>(*h.window, "cmd3D")->isEnabled());
    // The data stays, and the diagrams are drawn again.
    EXPECT_EQ(h.state.Loaded.Data.DataKind, KindFarField);
    EXPECT_TRUE(test::Find<PictureBox>(*h.window, "picPolar2")->HasPicture());
}

TEST(View3DLive, ARewrittenPatternTakesTheOldOnesPlaceInTheWindowItWasIn) {
    for (const bool bigWindow : {false, true}) {
        SCOPED_TRACE(bigWindow ? "in the big window" : "in the main window");
        test::MainWindowHarness h;
        const std::string path = h.Copy("yagi3_20m_farfield.csv");
        Show(h, path);
        Start3D(h);
        if (bigWindow) {
            QTest::mouseDClick(h.window->View3D().Widget(), Qt::LeftButton);
            ASSERT_NE(h.window->D3DWindow(), nullptr);
        }
        const float before = h.window->View3D().View().Pattern.PeakGain;

        test::Replace(path,
                      QByteArray::fromStdString(test::ReadBytes(
                          test::CorpusFolder() / "farfield_csv" / "APET_4cross_quads2_10deg.csv")));
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

// Its pattern with its currents, its frequencies stepped under the same camera and saved as a GIF.
TEST_F(MainWindow3D, ANecOutputsChoicesShowForItAloneAndItsFrequenciesStepUnderTheSameCamera) {
    NecControls& nec = h.window->Nec();
    EXPECT_FALSE(nec.fraNec->isVisible());
    const std::string deck = test::ReadBytes(test::TestDataFolder() / "nec" / "yagi3.nec");
    ASSERT_TRUE(h.OpenAndWait(test::RunNec2c(h.folder.path().toStdString(), deck)));
    ASSERT_TRUE(nec.fraNec->isVisible());
    QStringList parts;
    for (int i = 0; i < nec.cmbNecPart->count(); ++i) {
        parts << nec.cmbNecPart->itemText(i);
    }
    EXPECT_EQ(parts, (QStringList{"Диаграмма", "Частотные характеристики", "Токи"}));
    ASSERT_EQ(nec.cmbNecFrequency->count(), 5);
    EXPECT_EQ(nec.cmbNecFrequency->itemText(1), QStringLiteral("14.10"));

    Start3D(h);
    ASSERT_TRUE(h.state.View.View3DActive);
    View3DHost& host = h.window->View3D();
    EXPECT_TRUE(host.View().PatternVisible);
    EXPECT_EQ(host.View().Currents.size(), 3u);
    EXPECT_DOUBLE_EQ(host.View().NecMhz, 14.0);
    EXPECT_TRUE(test::Find<QCheckBox>(*h.window, "chk3DPhase")->isVisible());
    EXPECT_TRUE(test::Find<QCheckBox>(*h.window, "chk3DGain")->isVisible());
    View3DWidget* widget = host.Widget();
    test::Find<QCheckBox>(*h.window, "chk3DWire")->setChecked(true);
    host.View().CameraPitch = 0.4f;
    TurnScene(host.Scene(), 0.7f);
    const View3DState before = host.View();
    const Matrix turn = host.Scene().RootFrame->GetMatrix();
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_BracketRight);
    QTest::keyClick(widget, Qt::Key_BracketRight);
    EXPECT_DOUBLE_EQ(h.state.View.NecFrequency, 14.2);
    EXPECT_EQ(nec.cmbNecFrequency->currentIndex(), 2);
    EXPECT_EQ(host.Widget(), widget) << "the view goes on";
    EXPECT_NE(host.View().DrawnMesh, before.DrawnMesh);
    EXPECT_NE(host.View().Pattern.PeakGain, before.Pattern.PeakGain);
    EXPECT_FLOAT_EQ(host.View().CameraPitch, 0.4f);
    EXPECT_EQ(host.View().CameraPosition, before.CameraPosition);
    EXPECT_EQ(host.View().SubjectCentre, before.SubjectCentre);
    EXPECT_GE(host.View().SubjectRadius, before.SubjectRadius);
    EXPECT_TRUE(host.View().Wireframe);
    EXPECT_EQ(host.Scene().RootFrame->GetMatrix().m, turn.m);

    // One colour scale over the frequencies reaches the strongest of their peaks.
    nec.chk3DSharedScale->setChecked(true);
    const float shared = ScalePeakGain(host.View());
    EXPECT_EQ(shared, SharedPeakGainOf(h.state.Loaded.Document.get()));
    const float own = host.View().Drawn.PeakGain;
    emit nec.cmbNecFrequency->activated(4);
    EXPECT_DOUBLE_EQ(h.state.View.NecFrequency, 14.4);
    EXPECT_NE(host.View().Drawn.PeakGain, own);
    EXPECT_EQ(ScalePeakGain(host.View()), shared);
    QTest::keyClick(widget, Qt::Key_BracketRight);
    EXPECT_DOUBLE_EQ(h.state.View.NecFrequency, 14.4) << "the last frequency";
    EXPECT_TRUE(h.state.View.View3DActive);

    EXPECT_EQ(Save(6, "sweep.gif"), std::vector<std::string>{});
    const test::GifAnimation frames =
        test::DecodeGifAnimation(QByteArray::fromStdString(test::ReadBytes(File("sweep.gif"))));
    ASSERT_EQ(frames.error, "");
    EXPECT_EQ(frames.frames.size(), 5U);
    EXPECT_EQ(QSize(frames.width, frames.height), widget->Picture().size());

    // Back to the diagrams, without the wires.
    test::Find<QPushButton>(*h.window, "cmdReturn")->click();
    EXPECT_TRUE(host.View().Currents.empty());
    h.window->OpenFileFromOutside(test::Sample("yagi3_20m_sweep.csv"));
    EXPECT_FALSE(nec.fraNec->isVisible());
    EXPECT_FALSE(nec.mnuNecNext->isVisible());
}

TEST(View3DCommandLine, OpensTheViewWithTheAntennaInTheWindowAsked) {
    for (const bool ownWindow : {false, true}) {
        SCOPED_TRACE(ownWindow);
        test::MainWindowHarness h;
        Show(h);
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

TEST_F(MainWindow3D, ACurrentFileShowsItsWiresAloneAndThePhaseDrawsOnlyWhileTicked) {
    ASSERT_TRUE(h.OpenAndWait(test::Fixture("currents_3wires.csv")));
    ASSERT_TRUE(test::Find<QPushButton>(*h.window, "cmdCurrents3D")->isVisible());
    Start3D(h, "cmdCurrents3D");
    ASSERT_TRUE(h.state.View.View3DActive);
    const View3DState& view = View();
    EXPECT_EQ(view.Currents.size(), 3u);
    EXPECT_FALSE(view.PatternVisible);
    auto* phase = test::Find<QCheckBox>(*h.window, "chk3DPhase");
    EXPECT_TRUE(phase->isVisible());
    EXPECT_FALSE(test::Find<QCheckBox>(*h.window, "chk3DGain")->isVisible());

    View3DWidget* widget = Widget();
    FrameCount frames(widget);
    EXPECT_TRUE(frames.Still(200));
    phase->setChecked(true);
    EXPECT_GT(frames.In(300), 2);
    EXPECT_GT(view.CurrentPhase, 0.0);
    phase->setChecked(false);
    EXPECT_TRUE(frames.Still(100));

    // The pointer on a coloured wire (off the legend at the right) names it.
    const QImage picture = widget->Picture().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = widget->devicePixelRatioF();
    std::optional<QPoint> onWire;
    for (int y = 0; y < picture.height() && !onWire; y += 2) {
        for (int x = 0; x < picture.width() * 2 / 3 && !onWire; x += 2) {
            const QColor c(picture.pixel(x, y));
            if (c.saturation() > 120) {
                onWire = QPoint(static_cast<int>(x / ratio), static_cast<int>(y / ratio));
            }
        }
    }
    ASSERT_TRUE(onWire.has_value());
    MovePointer(widget, *onWire);
    EXPECT_TRUE(h.window->statusBar()->currentMessage().startsWith(QStringLiteral("Провод ")))
        << h.window->statusBar()->currentMessage().toStdString();

    // Back to the current graph, without the wires.
    test::Find<QPushButton>(*h.window, "cmdReturn")->click();
    EXPECT_FALSE(h.state.View.View3DActive);
    EXPECT_TRUE(View().Currents.empty());
    EXPECT_GT(h.link.Slots[kMainSlot].DocNum, 0);
}

} // namespace
} // namespace lobex
