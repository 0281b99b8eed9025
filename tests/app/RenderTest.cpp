#include "app/OffscreenView3D.h"
#include "app/View3DHost.h"
#include "app/View3DWidget.h"

#include "GifAnimation.h"
#include "ImageCompare.h"
#include "LoadHarness.h"
#include "PatternGrids.h"
#include "Recorders.h"
#include "core/AppState.h"
#include "view3d/GainColours.h"
#include "view3d/ModelFile.h"
#include "view3d/ViewControl.h"

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSvgRenderer>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <tuple>

// The 3D view's pictures: in its window straight from the framebuffer, drawn without a window
// by the offscreen device against the window's, and the lobex-cli render command run as a user
// runs it.
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
        // Shown without taking the focus from the window tests running beside this one.
        widget->setAttribute(Qt::WA_ShowWithoutActivating);
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

template <typename Kind>
int Count(const QImage& image, Kind kind) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += kind(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
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
    // Along the middle row and down the middle column.
    const int across = Count(image.copy(0, image.height() / 2, image.width(), 1), IsPattern);
    const int down = Count(image.copy(image.width() / 2, 0, 1, image.height()), IsPattern);
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
    // The kind found, what is said, whether the view starts.
    const std::tuple<GlDevice, std::string_view, bool> cases[] = {
        {GlDevice::None, kNoDeviceMessage, false},
        {GlDevice::Software, kSoftwareDeviceMessage, true}};
    for (const auto& [device, message, started] : cases) {
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
            host.Probe = [kind = device, &probes] {
                ++probes;
                return kind;
            };
            EXPECT_EQ(host.Start3DView(&parent, QFont(), QFont()), started);
            EXPECT_EQ(state.View.View3DActive, started);
            EXPECT_FALSE(timer.isActive());
            host.SetAutoRotate(true);
            EXPECT_EQ(timer.isActive(), started);
            host.Stop3DView();
            // A second start (into the big window and back) keeps to what the first found.
            EXPECT_EQ(host.Start3DView(&parent, QFont(), QFont()), started);
            EXPECT_EQ(probes, 1);
            host.Stop3DView();
        }
        // The box at the first run of the program on this machine only; the status line after.
        const std::size_t boxes = started ? 1U : 4U;
        EXPECT_EQ(messages.Texts(), std::vector<std::string>(boxes, std::string(message)));
        EXPECT_EQ(notices.size(), started ? 1U : 0U);
    }
}

TEST(OffscreenView3D, DrawsTheSamePictureAsTheWindowTextAndLegendIncluded) {
    RenderedView rendered(OneLobe(), 480, 300, 0.3f);
    View3DState& view = rendered.view;
    rendered.state.Loaded.Pattern.MaxGain = 10.0f;
    view.Pattern = view.Drawn;
    view.AxesVisible = true;
    view.GroundVisible = true;
    view.GainColours = true;
    view.CameraPosition = {0.1f, 0.35f, -2.6f};
    UpdateCamera(view, 0.0f, DeviceKind::Hardware);
    TurnScene(rendered.scene, 0.7f);
    View3DFonts fonts = DefaultView3DFonts();
    fonts.text = QApplication::font();
    rendered.widget->SetFonts(fonts.text, fonts.axis);
    const QImage window = rendered.widget->Picture().convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(rendered.widget->ContextReady());

    OffscreenView3D offscreen;
    ASSERT_TRUE(offscreen.Ready());
    const QImage picture =
        offscreen.Picture(rendered.scene, view, rendered.state, rendered.widget->size(), fonts)
            .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), window.size());
    EXPECT_LE(test::DifferingPixels(window, picture, 2), window.width() * window.height() / 1000);
    // And it is a picture of the scene, not of an empty frame.
    EXPECT_GT(test::DifferingPixels(picture, QImage(picture.size(), QImage::Format_RGB32), 2),
              1000);
}

// The program as a user runs it; its pictures read back.
struct Render {
    explicit Render(const QStringList& args) {
        QProcess process;
        process.start(QStringLiteral(LOBEX_CLI), QStringList{QStringLiteral("render")} + args);
        EXPECT_TRUE(process.waitForFinished(120000));
        code = process.exitCode();
        out = QString::fromUtf8(process.readAllStandardOutput());
        err = QString::fromUtf8(process.readAllStandardError());
    }
    int code = -1;
    QString out;
    QString err;
};

QString LazyH() {
    return QString::fromStdString(
        (test::CorpusFolder() / "farfield_csv" / "APET_LazyH-16m2_10deg.csv").string());
}

QString Antenna() {
    return QString::fromStdString(
        (test::CorpusFolder() / "maa" / "handiko_3-YAGI-20_taper_notitle.maa").string());
}

class RenderCommand : public ::testing::Test {
protected:
    // What the command draws with these options into a file of the given name, read back.
    QImage Picture(const QString& name, const QStringList& options) {
        const Render run(options + QStringList{"--out", Out(name)});
        EXPECT_EQ(run.code, 0) << run.err.toStdString();
        return QImage(Out(name)).convertToFormat(QImage::Format_RGB32);
    }
    // The 3D picture with the extra options, at 400x300.
    QImage Picture3D(const QString& name, const QStringList& extra = {}) {
        return Picture(name + QStringLiteral(".png"),
                       QStringList{LazyH(), "--view", "3d", "--size", "400x300"} + extra);
    }
    QString Out(const QString& name) const {
        return QString::fromStdString((folder.Path() / name.toStdString()).string());
    }
    test::TempFolder folder;
};

// The horizontal extent of the pattern's pixels.
int PatternWidth(const QImage& image) {
    int left = image.width();
    int right = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (IsPattern(image.pixel(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return right - left;
}

TEST_F(RenderCommand, The3DPictureShowsThePatternTurnedColouredAndWithTheAntennaAsAsked) {
    const QImage plain = Picture3D(QStringLiteral("plain"));
    ASSERT_EQ(plain.size(), QSize(400, 300));
    // The two long lobes of the lazy H reach across; a quarter turn shows them end on.
    const int across = PatternWidth(plain);
    EXPECT_GT(across, 200);
    EXPECT_LT(PatternWidth(Picture3D(QStringLiteral("turned"), {"--turn", "90"})), across * 3 / 4);

    // An antenna adds red wires and green feed markers.
    const auto wire = [](QRgb p) {
        return qRed(p) > 180 && qGreen(p) < 80 && qBlue(p) < 80;
    };
    const auto marker = [](QRgb p) {
        return qGreen(p) > 150 && qRed(p) < 80 && qBlue(p) < 80;
    };
    EXPECT_EQ(Count(plain, wire), 0);
    EXPECT_EQ(Count(plain, marker), 0);
    const QImage antenna = Picture3D(QStringLiteral("antenna"), {"--antenna", Antenna()});
    EXPECT_GT(Count(antenna, wire), 20);
    EXPECT_GT(Count(antenna, marker), 3);

    const QImage coloured = Picture3D(QStringLiteral("gain"), {"--gain-colours"});
    const auto& stops = GainColourStops();
    for (const GainRgb& stop : {stops.front(), stops.back()}) {
        const QRgb want = qRgb(static_cast<int>(std::lround(stop.r * 255)),
                               static_cast<int>(std::lround(stop.g * 255)),
                               static_cast<int>(std::lround(stop.b * 255)));
        // The legend's ends hold the map's first and last colours.
        EXPECT_GT(Count(coloured, [&](QRgb p) { return test::ChannelDistance(p, want) <= 8; }), 5)
            << stop.r << "," << stop.g << "," << stop.b;
    }
}

TEST_F(RenderCommand, ThePatternFitsThePictureWhateverItsShapeAndTilt) {
    for (const char* size : {"400x300", "150x400"}) {
        for (const char* tilt : {"0", "60", "80", "90"}) {
            SCOPED_TRACE(std::string(size) + " tilted " + tilt);
            const QImage picture = Picture(
                QStringLiteral("tilt%1-%2.png").arg(tilt, size),
                {LazyH(), "--antenna", Antenna(), "--view", "3d", "--tilt", tilt, "--size", size});
            const int narrow = std::min(picture.width(), picture.height());
            EXPECT_GT(Count(picture, IsPattern), narrow * narrow / 20);
            // Nothing of it touches the edges.
            const QRect inner = picture.rect().adjusted(1, 1, -1, -1);
            EXPECT_EQ(Count(picture, IsPattern), Count(picture.copy(inner), IsPattern));
        }
    }
}

TEST_F(RenderCommand, DiagramsHaveTheWindowsSizeAndVectorFilesParse) {
    for (const char* view : {"azimuth", "elevation"}) {
        const QImage picture = Picture(QStringLiteral("%1.png").arg(QLatin1String(view)),
                                       {LazyH(), "--view", QLatin1String(view)});
        EXPECT_EQ(picture.size(), QSize(380, 343)) << view;
        const QRgb corner = picture.pixel(0, 0);
        EXPECT_GT(Count(picture, [&](QRgb p) { return p != corner; }), 2000) << view;
    }
    // The 3D picture in each vector format; the diagrams' files are lobex-cli plot's
    // (CliPlot.EveryFileFormatComesOutReadableWithItsOptions).
    for (const char* name : {"3d.svg", "3d.pdf", "3d.emf"}) {
        const Render run({LazyH(), "--view", "3d", "--size", "200x150", "--out", Out(name)});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
    }
    EXPECT_TRUE(QSvgRenderer(Out(QStringLiteral("3d.svg"))).isValid());
    EXPECT_TRUE(test::ReadBytes(Out(QStringLiteral("3d.pdf")).toStdString()).starts_with("%PDF-"));
    EXPECT_EQ(test::ReadBytes(Out(QStringLiteral("3d.emf")).toStdString()).find(" EMF"), 40U);
}

TEST_F(RenderCommand, AFolderIsDrawnFileByFileAndABadFileIsReportedWithoutStoppingTheRest) {
    const std::filesystem::path input = folder.Path() / "in";
    std::filesystem::create_directory(input);
    // Found by their first line; a name the load does not read is passed over.
    for (const char* name : {"first.csv", "second.CSV", "copy.txt"}) {
        std::filesystem::copy_file(LazyH().toStdString(), input / name);
    }
    // The far-field header over numbers that are none: found, then refused.
    std::ofstream(input / "broken.csv")
        << "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)\nrubbish\n";
    std::ofstream(input / "notes.csv") << "Freq,SWR\n";
    const QString outDir = Out(QStringLiteral("pictures"));
    const Render run({QString::fromStdString(input.string()), "--out", outDir, "--size", "200x150",
                      "--jobs", "2"});
    EXPECT_EQ(run.code, 1);
    for (const char* stem : {"first", "second"}) {
        for (const char* view : {"3d", "azimuth", "elevation"}) {
            const QString name = QStringLiteral("%1/%2-%3.png")
                                     .arg(outDir, QLatin1String(stem), QLatin1String(view));
            EXPECT_FALSE(QImage(name).isNull()) << name.toStdString();
        }
    }
    EXPECT_TRUE(run.err.contains(QStringLiteral("broken.csv failed"))) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("notes.csv")));
    EXPECT_FALSE(run.err.contains(QStringLiteral("copy.txt")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("3 far-field files: 2 drawn, 1 failed")))
        << run.out.toStdString();
    EXPECT_FALSE(QFile::exists(outDir + QStringLiteral("/broken-3d.png")));
}

QString NecDeck(const char* name) {
    return QString::fromStdString((test::TestDataFolder() / "nec" / name).string());
}

// The Yagi deck through the real nec2c: its wires coloured by current over the pattern, or alone,
// and its five frequencies as the frames of one GIF.
TEST_F(RenderCommand, ANecDeckDrawsItsCurrentsOnTheWiresAndAGifOverItsFrequencies) {
    // The upper half of the colour map, teal to yellow however lit, where the pattern is blue.
    const auto current = [](QRgb p) {
        const QColor c(p);
        return c.saturation() > 100 && c.hue() >= 60 && c.hue() <= 200;
    };
    // The options beyond the view's, whether the pattern is drawn.
    const std::pair<QStringList, bool> cases[] = {
        {{}, true}, {{"--frequency", "14.2"}, true}, {{"--part", "currents"}, false}};
    for (const auto& [extra, withPattern] : cases) {
        SCOPED_TRACE(extra.join(' ').toStdString());
        // Left of the legends, which carry the whole map.
        const QImage picture = Picture(QStringLiteral("yagi.png"),
                                       QStringList{NecDeck("yagi3.nec"), "--view", "3d", "--turn",
                                                   "60", "--tilt", "30", "--size", "400x300"} +
                                           extra)
                                   .copy(0, 0, 260, 300);
        EXPECT_GT(Count(picture, current), 40);
        EXPECT_EQ(Count(picture, IsPattern) > 2000, withPattern);
    }

    const QString gif = Out(QStringLiteral("sweep.gif"));
    const Render run({NecDeck("yagi3.nec"), "--view", "3d", "--over-frequency", "--gain-colours",
                      "--size", "320x240", "--out", gif});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const test::GifAnimation frames =
        test::DecodeGifAnimation(QByteArray::fromStdString(test::ReadBytes(gif.toStdString())));
    ASSERT_EQ(frames.error, "");
    ASSERT_EQ(frames.frames.size(), 5U);
    EXPECT_EQ(frames.frames[2].delay, 50);
    EXPECT_EQ(frames.loopCount, 0);
    // One camera: the frames differ in the corner's frequency and the colours, not in framing.
    EXPECT_NE(frames.frames[0].picture, frames.frames[4].picture);
    EXPECT_NEAR(PatternWidth(frames.frames[0].picture), PatternWidth(frames.frames[4].picture), 20);

    // Files that have no frequencies to step through are told so, as usage errors are.
    for (const QString& input : {LazyH(), NecDeck("yagi3_lossless.nec")}) {
        const Render refused({input, "--view", "3d", "--over-frequency", "--out", gif + "2.gif"});
        EXPECT_EQ(refused.code, 2) << input.toStdString();
        EXPECT_TRUE(refused.err.contains(QStringLiteral("two frequencies or more")))
            << refused.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(gif + "2.gif"));
}

TEST_F(RenderCommand, UsageErrorsExitWithTwo) {
    const QString png = Out(QStringLiteral("x.png"));
    for (const QStringList& args :
         {QStringList{LazyH(), "--view", "3d"},
          QStringList{LazyH(), "--view", "side", "--out", png},
          QStringList{LazyH(), "--view", "3d", "--out", Out(QStringLiteral("x.bmp"))},
          QStringList{LazyH(), "--view", "3d", "--turntable", "--out", png},
          QStringList{LazyH(), "--view", "3d", "--jobs", "2", "--out", png},
          QStringList{LazyH(), "--view", "3d", "--over-frequency", "--turntable", "--out",
                      Out(QStringLiteral("x.gif"))},
          QStringList{LazyH(), "--view", "azimuth", "--part", "currents", "--out", png},
          QStringList{LazyH(), "--size", "0x10", "--out", png},
          QStringList{LazyH(), "--shiny", "--out", png}}) {
        const Render run(args);
        EXPECT_EQ(run.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("Usage:"))) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(png));
}

} // namespace
} // namespace lobex
