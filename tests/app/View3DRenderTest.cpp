#include "app/View3DHost.h"
#include "app/View3DWidget.h"

#include "LoadHarness.h"
#include "PatternGrids.h"
#include "Recorders.h"
#include "core/AppState.h"
#include "view3d/AntennaLoader.h"
#include "view3d/ModelFile.h"

#include <QApplication>
#include <QImage>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>

namespace lobex {
namespace {

// What the view shows of a pattern at a given size, straight from the framebuffer.
struct RenderedView {
    explicit RenderedView(const FarFieldGrid& grid, int width = 400, int height = 240,
                          float cameraHeight = 0.0f) {
        PatternMesh mesh = test::BuiltMesh(grid);
        CreateSceneFrames(scene, folder.Write("temp.x", BinaryModelBytes(mesh)));
        view.PatternVisible = true;
        // As far back as the camera goes, level with the pattern's centre unless asked
        // otherwise: the whole surface is in view and a sphere projects as a circle.
        view.CameraPosition = {0.0f, cameraHeight, -3.0f};
        UpdateCamera(view, 0.0f, DeviceKind::Hardware);
        widget = std::make_unique<View3DWidget>(scene, view, state);
        widget->resize(width, height);
        widget->show();
    }
    QImage Grab() {
        QImage image = widget->grabFramebuffer();
        EXPECT_TRUE(widget->ContextReady());
        return image.convertToFormat(QImage::Format_RGB32);
    }
    // Where a scene point lands in the picture.
    QPoint Project(Vector3 point) const {
        const Matrix transform = scene.RootFrame->GetMatrix() * ViewMatrix(view) *
                                 ProjectionMatrix(widget->width(), widget->height());
        const Vector3 ndc = Vec3TransformCoord(point, transform);
        return {static_cast<int>((ndc.x + 1.0f) / 2.0f * static_cast<float>(widget->width())),
                static_cast<int>((1.0f - ndc.y) / 2.0f * static_cast<float>(widget->height()))};
    }

    test::TempFolder folder;
    AppState state;
    View3DState view;
    View3DScene scene;
    std::unique_ptr<View3DWidget> widget;
};

bool IsClear(QRgb pixel) {
    return pixel == qRgb(0x80, 0x80, 0x80);
}

// A line is one pixel wide: look around where it should be.
bool AxisColourNear(const QImage& image, QPoint at) {
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const QRgb pixel = image.pixel(at + QPoint(dx, dy));
            if (qRed(pixel) > 180 && qGreen(pixel) > 180 && qBlue(pixel) < 60) {
                return true;
            }
        }
    }
    return false;
}

bool IsPattern(QRgb pixel) {
    return qBlue(pixel) > 150 && qBlue(pixel) > qRed(pixel) + 60;
}

FarFieldGrid Isotropic() {
    return test::MakeGrid(10.0f, 10.0f, [](float, float) { return 0.0f; });
}

TEST(View3DRender, AnIsotropicPatternIsARoundBlueDiscOnTheGreyBackground) {
    RenderedView rendered(Isotropic(), 480, 200);
    const QImage image = rendered.Grab();
    for (const QPoint corner : {QPoint(image.width() - 1, image.height() - 1),
                                QPoint(image.width() - 1, 0), QPoint(0, image.height() - 1)}) {
        EXPECT_TRUE(IsClear(image.pixel(corner))) << corner.x() << "," << corner.y();
    }
    // The disc's width and height along the centre lines.
    int across = 0;
    int down = 0;
    for (int x = 0; x < image.width(); ++x) {
        across += IsPattern(image.pixel(x, image.height() / 2)) ? 1 : 0;
    }
    for (int y = 0; y < image.height(); ++y) {
        down += IsPattern(image.pixel(image.width() / 2, y)) ? 1 : 0;
    }
    EXPECT_GT(down, 100);
    EXPECT_NEAR(across, down, 4); // a few edge pixels of a 10-degree polygon
}

TEST(View3DRender, TheStrongestLobeLandsWhereItsDirectionProjects) {
    // One lobe towards azimuth 0 on the horizon: the pattern's x, which the root's quarter turn
    // points to the right of the picture.
    RenderedView rendered(test::MakeGrid(10.0f, 10.0f, [](float zenith, float azimuth) {
        const float degree = 3.14159265f / 180.0f;
        return 20.0f * std::sin(zenith * degree) * std::cos(azimuth * degree) - 10.0f;
    }));
    const QImage image = rendered.Grab();
    const QPoint tip = rendered.Project({0.0f, 0.0f, 0.9f});
    EXPECT_GT(tip.x(), image.width() * 3 / 5);
    EXPECT_TRUE(IsPattern(image.pixel(tip)));
    // The opposite direction is empty.
    const QPoint back = rendered.Project({0.0f, 0.0f, -0.9f});
    EXPECT_TRUE(IsClear(image.pixel(back)));
}

TEST(View3DRender, ColoursByGainRunFromVioletAtTheCentreToYellowAtTheLobeWithALegend) {
    const auto lobe = [](float zenith, float azimuth) {
        const float degree = 3.14159265f / 180.0f;
        return 20.0f * std::sin(zenith * degree) * std::cos(azimuth * degree) - 10.0f;
    };
    RenderedView rendered(test::MakeGrid(10.0f, 10.0f, lobe), 480, 240);
    rendered.view.Pattern = test::BuiltMesh(test::MakeGrid(10.0f, 10.0f, lobe));
    const QPoint tip = rendered.Project({0.0f, 0.0f, 0.85f});
    const QImage plain = rendered.Grab();
    ASSERT_TRUE(IsPattern(plain.pixel(tip)));

    rendered.view.GainColours = true;
    rendered.view.GainRangeDb = 40.0f;
    const QImage coloured = rendered.Grab();
    // Near the peak: the map's yellow end, lit.
    const QRgb peak = coloured.pixel(tip);
    EXPECT_GT(qRed(peak), 150);
    EXPECT_GT(qGreen(peak), 150);
    EXPECT_LT(qBlue(peak), 120);
    // The weak side of the lobe, 30 dB and more below the peak: violet.
    const QPoint weak = rendered.Project({0.0f, 0.0f, 0.02f});
    const QRgb low = coloured.pixel(weak);
    EXPECT_GT(qBlue(low), qGreen(low)) << qRed(low) << "," << qGreen(low) << "," << qBlue(low);
    // The legend's bar stands in the right part of the view: yellow at its top, violet below.
    int yellow = 0;
    int violet = 0;
    for (int y = 0; y < coloured.height(); ++y) {
        for (int x = coloured.width() * 3 / 4; x < coloured.width(); ++x) {
            const QRgb pixel = coloured.pixel(x, y);
            yellow += qRed(pixel) > 200 && qGreen(pixel) > 200 && qBlue(pixel) < 80 ? 1 : 0;
            violet += qRed(pixel) < 90 && qGreen(pixel) < 30 && qBlue(pixel) > 70 ? 1 : 0;
        }
    }
    EXPECT_GT(yellow, 10);
    EXPECT_GT(violet, 10);
    int plainYellow = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = plain.width() * 3 / 4; x < plain.width(); ++x) {
            const QRgb pixel = plain.pixel(x, y);
            plainYellow += qRed(pixel) > 200 && qGreen(pixel) > 200 && qBlue(pixel) < 80 ? 1 : 0;
        }
    }
    EXPECT_EQ(plainYellow, 0);
}

TEST(View3DRender, AxesAndGroundAppearOnlyWithTheirKeys) {
    // From above, so that the plate shows its top.
    RenderedView rendered(Isotropic(), 400, 240, 0.5f);
    rendered.view.PatternVisible = false;
    const QPoint top = rendered.Project({0.0f, 1.09f, 0.0f});
    const QPoint front = rendered.Project({0.0f, 0.0f, -0.9f});
    QImage image = rendered.Grab();
    EXPECT_FALSE(AxisColourNear(image, top));
    EXPECT_TRUE(IsClear(image.pixel(front)));

    KeyUp3D(rendered.view, vk::F4);
    KeyUp3D(rendered.view, vk::F3);
    image = rendered.Grab();
    EXPECT_TRUE(AxisColourNear(image, top));
    EXPECT_FALSE(IsClear(image.pixel(front))); // the translucent plate over the grey
}

bool IsWire(QRgb pixel) {
    return qRed(pixel) > 180 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}

bool IsMarker(QRgb pixel) {
    return qGreen(pixel) > 150 && qRed(pixel) < 80 && qBlue(pixel) < 80;
}

// Whether a pixel of the kind lies within two pixels of a point: lines are one pixel wide.
template <typename Test>
bool Near(const QImage& image, QPoint at, Test kind) {
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            if (image.rect().contains(at + QPoint(dx, dy)) &&
                kind(image.pixel(at + QPoint(dx, dy)))) {
                return true;
            }
        }
    }
    return false;
}

TEST(View3DRender, ALoadedDipoleShowsItsRedWireAndGreenFeedMarkerWithItsName) {
    RenderedView rendered(Isotropic(), 400, 240, 0.5f);
    rendered.view.PatternVisible = false;
    // A quarter turn so that the dipole lies across the picture instead of along the view.
    TurnScene(rendered.scene, kViewPi / 2.0f);
    test::MemorySettings settings;
    test::FakeFileDialogs dialogs;
    test::RecordingMessages messages;
    dialogs.openFile = (test::TestDataFolder() / "3d" / "dipole_20m.maa").string();
    ASSERT_TRUE(OpenAntennaDescription(
        {rendered.state, rendered.view, rendered.scene, settings, dialogs, messages}));

    QImage image = rendered.Grab();
    // Near each end (scene x = +-0.5 at height 1), and the marker over the feed in the middle.
    const QPoint left = rendered.Project({-0.45f, 1.0f, 0.0f});
    const QPoint right = rendered.Project({0.45f, 1.0f, 0.0f});
    const QPoint feed = rendered.Project({0.0f, 1.0f, 0.0f});
    EXPECT_GT(std::abs(right.x() - left.x()), 60);
    EXPECT_TRUE(Near(image, left, IsWire));
    EXPECT_TRUE(Near(image, right, IsWire));
    EXPECT_TRUE(IsMarker(image.pixel(feed)));
    // The name, frequency and gain lines below "Lobex".
    int text = 0;
    for (int y = 30; y < 75; ++y) {
        for (int x = 10; x < 60; ++x) {
            text += qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) > 200 ? 1 : 0;
        }
    }
    EXPECT_GT(text, 20);

    // F2 hides wire and marker together.
    KeyUp3D(rendered.view, vk::F2);
    image = rendered.Grab();
    EXPECT_FALSE(Near(image, left, IsWire));
    EXPECT_FALSE(IsMarker(image.pixel(feed)));
}

// Without OpenGL the view does not start and says why; a software rasterizer is announced and
// the view runs on it.
TEST(View3DRender, TheKindOfOpenGLDecidesWhetherTheViewStartsAndWhatIsSaid) {
    struct Case {
        GlDevice device;
        std::string_view message;
        bool started;
    };
    for (const Case& c : {Case{GlDevice::None, kNoDeviceMessage, false},
                          Case{GlDevice::Software, kSoftwareDeviceMessage, true}}) {
        AppState state;
        test::RecordingMessages messages;
        QTimer timer;
        View3DHost host(state, messages, timer);
        int probes = 0;
        host.Probe = [&c, &probes] {
            ++probes;
            return c.device;
        };
        QWidget parent;
        EXPECT_EQ(host.Start3DView(&parent, QFont(), QFont()), c.started);
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{std::string(c.message)});
        EXPECT_EQ(state.View.View3DActive, c.started);
        EXPECT_EQ(timer.isActive(), c.started);
        host.Stop3DView();
        // A second start (into the big window and back) keeps to what the first found and
        // announces the software rasterizer no more.
        EXPECT_EQ(host.Start3DView(&parent, QFont(), QFont()), c.started);
        EXPECT_EQ(probes, 1);
        EXPECT_EQ(messages.Texts().size(), c.started ? 1U : 2U);
        host.Stop3DView();
    }
}

} // namespace
} // namespace lobex
