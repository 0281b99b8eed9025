#include "app/View3DHost.h"
#include "app/View3DWidget.h"

#include "LoadHarness.h"
#include "PatternGrids.h"
#include "Recorders.h"
#include "core/AppState.h"
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
                          float tilt = 0.0f) {
        view.Drawn = test::BuiltMesh(grid);
        CreateSceneFrames(scene, PatternSceneMesh(BinaryModelBytes(view.Drawn), view.Drawn));
        FrameSubject(view);
        view.PatternVisible = true;
        view.CameraPitch = tilt;
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
        const ViewCamera camera = CameraFor(view, widget->width(), widget->height());
        const Matrix transform = scene.RootFrame->GetMatrix() * camera.View * camera.Projection;
        const Vector3 ndc = Vec3TransformCoord(point, transform);
        return {static_cast<int>((ndc.x + 1.0f) / 2.0f * static_cast<float>(widget->width())),
                static_cast<int>((1.0f - ndc.y) / 2.0f * static_cast<float>(widget->height()))};
    }

    AppState state;
    View3DState view;
    View3DScene scene;
    std::unique_ptr<View3DWidget> widget;
};

bool IsClear(QRgb pixel) {
    return pixel == qRgb(0x80, 0x80, 0x80);
}

bool IsPattern(QRgb pixel) {
    return qBlue(pixel) > 150 && qBlue(pixel) > qRed(pixel) + 60;
}

FarFieldGrid Isotropic() {
    return test::MakeGrid(10.0f, 10.0f, [](float, float) { return 0.0f; });
}

// One lobe towards azimuth 0 on the horizon: the pattern's x, which the root's quarter turn
// points to the right of the picture.
FarFieldGrid OneLobe() {
    return test::MakeGrid(10.0f, 10.0f, [](float zenith, float azimuth) {
        const float degree = 3.14159265f / 180.0f;
        return 20.0f * std::sin(zenith * degree) * std::cos(azimuth * degree) - 10.0f;
    });
}

// A round lobe stays round in a wide view: the projection takes width / height as its aspect.
TEST(View3DRender, AnIsotropicPatternIsARoundDiscInAWideView) {
    RenderedView rendered(Isotropic(), 480, 200);
    const QImage image = rendered.Grab();
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

TEST(View3DRender, TheStrongestLobeLandsWhereItsDirectionProjectsOnTheGreyBackground) {
    RenderedView rendered(OneLobe());
    const QImage image = rendered.Grab();
    const QPoint tip = rendered.Project({0.0f, 0.0f, 0.9f});
    EXPECT_GT(tip.x(), image.width() * 3 / 5);
    EXPECT_TRUE(IsPattern(image.pixel(tip)));
    // The opposite direction is empty.
    const QPoint back = rendered.Project({0.0f, 0.0f, -0.9f});
    EXPECT_TRUE(IsClear(image.pixel(back)));
    EXPECT_TRUE(IsClear(image.pixel(image.width() - 1, image.height() - 1)));
}

// Without OpenGL the view does not start and says why; a software rasterizer is announced
// once per machine and the view runs on it, still until something moves.
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
        test::MemorySettings settings;
        QTimer timer;
        QWidget parent;
        std::vector<QString> notices;
        for (int run = 0; run < 2; ++run) {
            View3DHost host(state, messages, settings, timer);
            QObject::connect(&host, &View3DHost::StatusNotice,
                             [&notices](const QString& text) { notices.push_back(text); });
            int probes = 0;
            host.Probe = [&c, &probes] {
                ++probes;
                return c.device;
            };
            EXPECT_EQ(host.Start3DView(&parent, QFont(), QFont()), c.started);
            EXPECT_EQ(state.View.View3DActive, c.started);
            EXPECT_FALSE(timer.isActive());
            host.SetAutoRotate(true);
            EXPECT_EQ(timer.isActive(), c.started);
            host.Stop3DView();
            // A second start (into the big window and back) keeps to what the first found.
            EXPECT_EQ(host.Start3DView(&parent, QFont(), QFont()), c.started);
            EXPECT_EQ(probes, 1);
            host.Stop3DView();
        }
        // The box at the first run of the program on this machine only; the status line after.
        const std::size_t boxes = c.started ? 1U : 4U;
        EXPECT_EQ(messages.Texts(), std::vector<std::string>(boxes, std::string(c.message)));
        EXPECT_EQ(notices.size(), c.started ? 1U : 0U);
    }
}

} // namespace
} // namespace lobex
