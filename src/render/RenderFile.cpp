#include "RenderFile.h"

#include "app/OffscreenView3D.h"
#include "app/Turntable.h"
#include "cli/ApplicationObject.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/Utf8Path.h"
#include "images/ImageWriter.h"
#include "images/clsGIF.h"
#include "plotter/PlotOutput.h"
#include "session/Comparison.h"
#include "view3d/AntennaLoader.h"
#include "view3d/CurrentPaths.h"
#include "view3d/PatternModel.h"
#include "view3d/ViewControl.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <variant>

namespace lobex::render {
namespace {

constexpr float kRadiansPerDegree = std::numbers::pi_v<float> / 180.0f;

void PrintMessages(const cli::RecordingMessages& messages, std::ostream& err) {
    cli::PrintMessages(messages, "lobex-cli render: ", err);
}

// The diagrams are drawn as lobex-cli plot draws them, by the same code.
bool WriteDiagram(const RenderOptions& options, ViewKind view, const std::string& path,
                  std::ostream& out, std::ostream& err) {
    std::vector<std::string> args{options.input, "--out", path, "--diagram", ViewName(view)};
    if (options.size) {
        args.push_back("--size");
        args.push_back(std::to_string(options.size->first) + "x" +
                       std::to_string(options.size->second));
    }
    if (options.decimal) {
        args.push_back("--decimal");
        args.push_back(*options.decimal);
    }
    if (options.difference) {
        args.insert(args.end(), {"--compare", options.compare, "--difference"});
    }
    return cli::RunPlotAs("render", args, out, err) == cli::kExitLoaded;
}

bool Write3D(const RenderOptions& options, cli::Session& session, const FarFieldGrid* compared,
             const std::string& path, std::ostream& err) {
    std::string error;
    const std::vector<QImage> pictures =
        Pictures3D(options, session.state, session.messages,
                   options.turntable ? kTurntableFrames : 1, error, compared);
    PrintMessages(session.messages, err);
    session.messages.shown.clear();
    bool written = false;
    if (!pictures.empty() && (options.turntable || options.overFrequency)) {
        const QByteArray bytes =
            EncodeAnimatedGif(ReduceToSharedPalette(pictures),
                              options.overFrequency ? kFrequencyFrameDelay : kTurntableDelay);
        written = plotter::WriteFileAtomically(path, bytes, error);
    } else if (!pictures.empty()) {
        written = WriteRaster(pictures.front(), PictureFormatOf(path), path, session.state, error);
    }
    if (!written) {
        err << "lobex-cli render: " << path << ": " << error << '\n';
    }
    return written;
}

} // namespace

bool DisplayForOpenGl(std::ostream& err) {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return true;
    }
    err << "lobex-cli render: the 3D view needs a display with OpenGL (xvfb-run serves)\n";
    return false;
}

std::vector<QImage> Pictures3D(const RenderOptions& options, AppState& state,
                               MessageService& messages, int frames, std::string& error,
                               const FarFieldGrid* compared) {
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        error = "no temporary folder for the pattern model";
        return {};
    }
    // The model goes through a file, as the 3D button writes and the view reads it.
    state.Paths.TempModelFile = folder.filePath(QStringLiteral("temp.x")).toStdString();
    View3DState view;
    // A current file, or a NEC-2 output's currents, shows its wires alone, as the window's 3D
    // button shows them; a NEC-2 output's pattern has its frequency's currents on its wires.
    const Result* document = state.Loaded.Document.get();
    view.Currents =
        document != nullptr ? ShownCurrents(*document, state.View.NecFrequency) : CurrentWires{};
    ShowNecFrequency(view, document, state.View.NecFrequency);
    if (state.Loaded.Data.DataKind == KindCurrents && !view.Currents.empty()) {
        FrameSubject(view);
    } else {
        View3DContext model{state, view, messages};
        if (!PreparePatternModel(model)) {
            error = "the pattern surface cannot be built";
            return {};
        }
        view.PatternVisible = true;
    }
    if (compared != nullptr) {
        const std::string_view refusal = ShowDifference(view, state.Loaded.FarField, *compared);
        if (!refusal.empty()) {
            error = refusal;
            return {};
        }
    }
    view.GainColours = options.gainColours;
    view.GainRangeDb = static_cast<float>(options.floorDb.value_or(kDefaultGainRangeDb));
    view.AxesVisible = options.axes;
    view.GroundVisible = options.ground;
    view.Wireframe = options.wireframe;

    View3DScene scene;
    scene.Context.ForceOpaqueMaterials = true;
    ResetCamera(view);
    // Tilted, the camera goes up round the pattern's centre, as PageUp takes it; the same
    // update as the view's keeps the tilt within its limits.
    view.CameraPitch = options.tiltDegrees * kRadiansPerDegree;
    UpdateCamera(view, 0.0f, DeviceKind::Hardware);
    CreateSceneFrames(scene, view.DrawnMesh);
    BuildCurrentTubes(scene, view);
    if (!options.antenna.empty() &&
        !LoadAntennaFile(state, view, scene, messages, options.antenna)) {
        error = "the antenna cannot be read";
        return {};
    }
    if (!scene.RootFrame) {
        error = "the scene could not be built";
        return {};
    }
    OffscreenView3D device;
    if (!device.Ready()) {
        error = "no OpenGL 3.3 context";
        return {};
    }
    View3DFonts fonts = DefaultView3DFonts();
    fonts.text = QGuiApplication::font();
    const auto [width, height] = options.size.value_or(kDefault3DSize);
    const Matrix upright = scene.RootFrame->GetMatrix();
    const auto* nec = std::get_if<NecOutput>(document);
    if (options.overFrequency && nec != nullptr) {
        TurnScene(scene, options.turnDegrees * kRadiansPerDegree);
        std::vector<QImage> pictures = FrequencyFrames(device, view, scene.RootFrame->GetMatrix(),
                                                       *nec, state, QSize(width, height), fonts);
        if (pictures.empty()) {
            error = "the pictures could not be drawn";
        }
        return pictures;
    }
    std::vector<QImage> pictures;
    for (int i = 0; i < frames; ++i) {
        // Each angle from the starting matrix, so that no error piles up over a turn.
        scene.RootFrame->SetMatrix(upright);
        TurnScene(scene, options.turnDegrees * kRadiansPerDegree +
                             2.0f * std::numbers::pi_v<float> * static_cast<float>(i) /
                                 static_cast<float>(frames));
        pictures.push_back(device.Picture(scene, view, state, QSize(width, height), fonts));
        if (pictures.back().isNull()) {
            error = "the picture could not be drawn";
            return {};
        }
    }
    return pictures;
}

bool WriteRaster(const QImage& picture, const std::string& format, const std::string& path,
                 const AppState& state, std::string& error) {
    if (format == "svg" || format == "pdf" || format == "emf") {
        const QSizeF inches = QSizeF(picture.size()) / 96.0;
        const QByteArray bytes = plotter::RenderVectorPicture(
            format, inches, QStringLiteral("Lobex"), [&](QPaintDevice&, QPainter& painter) {
                painter.drawImage(QRectF(QPointF(0, 0), QSizeF(picture.size())), picture);
            });
        return plotter::WriteFileAtomically(path, bytes, error);
    }
    JpegOptions jpeg;
    clsGIF gif;
    const ImageResult result = WriteImageFile(picture, format, path, state, jpeg, gif);
    error = result.error;
    return result.ok && result.written;
}

int RenderFile(const RenderOptions& options, std::ostream& out, std::ostream& err) {
    std::vector<ViewKind> views{ViewKind::View3D, ViewKind::Azimuth, ViewKind::Elevation};
    if (options.view) {
        views = {*options.view};
    }
    const bool needs3D = std::ranges::find(views, ViewKind::View3D) != views.end();
    if (needs3D && !DisplayForOpenGl(err)) {
        return cli::kExitFailed;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !needs3D) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const auto application = cli::MakeApplication<QGuiApplication>();

    cli::Session session;
    cli::LoadOptions load;
    load.file = options.input;
    load.decimal = options.decimal;
    load.frequency = options.frequency;
    load.part = options.part;
    if (!session.Load(load, err)) {
        PrintMessages(session.messages, err);
        return cli::kExitFailed;
    }
    if (options.overFrequency &&
        (session.Nec() == nullptr || NecPatternCount(*session.Nec()) < 2)) {
        err << "lobex-cli render: " << options.input
            << ": --over-frequency needs a NEC-2 output with patterns at two frequencies or more\n";
        return cli::kExitUsage;
    }
    const bool currents = session.state.Loaded.Data.DataKind == KindCurrents;
    if (currents && views != std::vector<ViewKind>{ViewKind::View3D}) {
        err << "lobex-cli render: " << options.input
            << ": a current file draws only its wires, with --view 3d\n";
        return cli::kExitFailed;
    }
    if (!session.state.View.PatternShown && !currents) {
        err << "lobex-cli render: " << options.input << ": not a far-field file\n";
        return cli::kExitFailed;
    }
    PrintMessages(session.messages, err);
    session.messages.shown.clear();
    // The compared file is read as the window's "Сравнить с…" reads it.
    std::shared_ptr<const Result> other;
    if (options.difference) {
        LoadRequest request;
        request.decimalSeparator = session.state.DecimalSeparator;
        request.pi = session.state.PiValue;
        const ComparisonRead read =
            ReadForComparison(session.state.Loaded.Shown.get(), options.compare, request);
        if (read.result == nullptr) {
            err << "lobex-cli render: " << options.compare << " cannot be compared";
            for (const LoadMessage& message : read.messages) {
                err << ": " << message.text;
            }
            err << '\n';
            return cli::kExitFailed;
        }
        other = read.result;
    }
    const auto* pattern = std::get_if<FarFieldPattern>(other.get());
    const FarFieldGrid* compared = pattern != nullptr ? &pattern->grid : nullptr;

    std::filesystem::path folder;
    if (!options.view) {
        folder = Utf8Path(options.out);
        std::error_code failed;
        std::filesystem::create_directories(folder, failed);
        if (failed) {
            err << "lobex-cli render: " << options.out << ": " << failed.message() << '\n';
            return cli::kExitFailed;
        }
    }
    const std::string stem = PathToUtf8(Utf8Path(options.input).stem());
    bool written = true;
    for (const ViewKind view : views) {
        const std::string path =
            options.view
                ? options.out
                : PathToUtf8(folder / Utf8Path(stem + "-" + ViewName(view) + "." + options.format));
        if (!cli::OutputIsNoInput("render", path, {options.input, options.antenna, options.compare},
                                  err)) {
            written = false;
            continue;
        }
        written = (view == ViewKind::View3D ? Write3D(options, session, compared, path, err)
                                            : WriteDiagram(options, view, path, out, err)) &&
                  written;
    }
    return written ? cli::kExitLoaded : cli::kExitFailed;
}

} // namespace lobex::render
