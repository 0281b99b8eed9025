#include "ViewScene.h"

#include "ViewControl.h"
#include "core/TextRules.h"
#include "scene/CD3DMesh.h"
#include "scene/MeshData.h"
#include "scene/XFile.h"

#include <algorithm>
#include <cmath>

namespace lobex {

std::array<DirectionalLight, 2> SetupLights() {
    return {
        {{kLightColor, kLightColor, Vec3Normalize({-1.0f, -1.0f, -1.0f})},
         {{0.8f, 0.8f, 0.8f, 1.0f}, {0.4f, 0.4f, 0.4f, 1.0f}, Vec3Normalize({0.0f, -0.2f, 1.0f})}}};
}

std::array<DirectionalLight, 2> FrameLights() {
    auto lights = SetupLights();
    for (DirectionalLight& light : lights) {
        light.Diffuse = light.Ambient = kLightColor;
    }
    return lights;
}

Material SetupMaterial() {
    return MaterialFromColor({0.2f, 0.2f, 0.2f, 1.0f});
}

ViewSetup SetupViewAndLights(int width, int height) {
    return {ProjectionMatrix(width, height), SetupLights(), SetupMaterial(), kSetupAmbient};
}

std::vector<Line3D> AxisLines() {
    const std::uint32_t c = kAxisColor;
    return {
        {{-1.1f, 0.0f, 0.0f}, {1.1f, 0.0f, 0.0f}, c},
        {{0.0f, 0.0f, -1.1f}, {0.0f, 0.0f, 1.1f}, c},
        {{0.0f, 0.0f, 0.0f}, {0.0f, 1.1f, 0.0f}, c},
        // X at the end of the axis along scene z.
        {{0.0f, 0.025f, 1.14f}, {0.0f, -0.025f, 1.12f}, c},
        {{0.0f, 0.025f, 1.12f}, {0.0f, -0.025f, 1.14f}, c},
        // Y at the end of the axis along scene x.
        {{1.12f, 0.025f, 0.0f}, {1.13f, 0.0f, 0.0f}, c},
        {{1.13f, 0.0f, 0.0f}, {1.14f, 0.025f, 0.0f}, c},
        {{1.13f, 0.0f, 0.0f}, {1.13f, -0.025f, 0.0f}, c},
        // Z at the top of the upward axis.
        {{0.0f, 1.1f, 0.025f}, {0.0f, 1.1f, 0.05f}, c},
        {{0.0f, 1.1f, 0.05f}, {0.0f, 1.05f, 0.025f}, c},
        {{0.0f, 1.05f, 0.025f}, {0.0f, 1.05f, 0.05f}, c},
    };
}

std::vector<Line3D> AntennaWireLines(const AntennaDescription& antenna) {
    std::vector<Line3D> lines;
    lines.reserve(antenna.Wires.size());
    for (const AntennaWire& wire : antenna.Wires) {
        lines.push_back({wire.End1, wire.End2, kWireColor});
    }
    return lines;
}

std::vector<TextLine> TextLines(const View3DState& view, float maxGain,
                                std::string_view decimalSeparator) {
    std::vector<TextLine> lines{{10, 10, true, "Lobex"}};
    if (view.AntennaLoaded) {
        lines.push_back({10, 30, false, view.Antenna.AntennaName});
        lines.push_back({10, 45, false, "f=" + view.Antenna.FrequencyText + "MHz"});
        lines.push_back(
            {10, 60, false, "Ga=" + FormatPattern(maxGain, "#0.00", decimalSeparator) + "dBi"});
    } else if (view.NecMhz > 0.0) {
        lines.push_back(
            {10, 30, false, "f=" + FormatPattern(view.NecMhz, "#0.0##", decimalSeparator) + "MHz"});
        if (view.PatternVisible) {
            lines.push_back(
                {10, 45, false,
                 "Ga=" + FormatPattern(view.NecMaxGain, "#0.00", decimalSeparator) + "dBi"});
        }
    }
    return lines;
}

std::shared_ptr<CD3DMesh> PatternSceneMesh(std::string_view modelBytes,
                                           const PatternMesh& surface) {
    SceneContext context;
    context.ForceOpaqueMaterials = true;
    auto pattern = std::make_shared<CD3DMesh>();
    XFileContent content;
    std::string error;
    if (ReadXFileFromMemory(modelBytes, content, error)) {
        pattern->InitFromContent(context, std::move(content));
    }
    pattern->SetFVF(kFvfPositionNormalTexture);
    pattern->SetMaterialCount(std::max(pattern->GetMaterialCount(), 1));
    pattern->SetMaterial(0, MaterialFromColor(ColorValueFromPacked(kPatternColor)));
    pattern->Optimize();
    pattern->EditVertices([&surface](MeshVertex& vertex) {
        vertex.Tu = PatternGainAt(surface, Vec3Length(vertex.Position));
    });
    return pattern;
}

void CreateSceneFrames(View3DScene& scene, std::shared_ptr<CD3DMesh> pattern) {
    scene.RootFrame = CreateFrame();
    ResetTurn(scene);

    scene.GroundFrame = CreateFrame(scene.RootFrame.get());
    scene.GroundPlate = scene.GroundFrame->AddD3DXMesh(CreateBoxMesh(2.0f, 0.005f, 2.0f));
    scene.GroundPlate->SetMaterialOverride(MaterialFromColor(ColorValueFromPacked(kGroundColor)));

    scene.PatternFrame = CreateFrame(scene.RootFrame.get());
    scene.PatternFrame->AddMesh(pattern ? std::move(pattern) : std::make_shared<CD3DMesh>());
    scene.AntennaFrame.reset();
    scene.CurrentsFrame.reset();
    scene.CurrentTubes.reset();
    scene.SceneReady = true;
}

void ReplacePatternMesh(View3DScene& scene, std::shared_ptr<CD3DMesh> pattern) {
    if (!scene.PatternFrame) {
        return;
    }
    // The old mesh goes from the device with its last holder.
    scene.PatternFrame->Destroy();
    scene.PatternFrame->AddMesh(pattern ? std::move(pattern) : std::make_shared<CD3DMesh>());
}

void FrameSubject(View3DState& view) {
    std::vector<Vector3> points;
    points.reserve(view.Drawn.PatternVertices.size());
    for (const Vector3& vertex : view.Drawn.PatternVertices) {
        points.push_back(ToScene(vertex));
    }
    if (view.AntennaLoaded) {
        for (const AntennaWire& wire : view.Antenna.Wires) {
            points.push_back(wire.End1);
            points.push_back(wire.End2);
        }
    }
    for (const std::vector<Vector3>& path : CurrentScenePaths(view.Currents)) {
        points.insert(points.end(), path.begin(), path.end());
    }
    FrameSubject(view, points);
}

void WidenFraming(View3DState& view) {
    const Vector3 centre = view.SubjectCentre;
    float farthest = view.SubjectRadius * view.SubjectRadius;
    for (const Vector3& vertex : view.Drawn.PatternVertices) {
        // The sphere is centred on the upward axis: the distance holds however the pattern turns.
        const Vector3 p = ToScene(vertex);
        const float dy = p.y - centre.y;
        farthest = std::max(farthest, p.x * p.x + p.z * p.z + dy * dy);
    }
    view.SubjectRadius = std::sqrt(farthest);
}

void BuildFeedMarkers(View3DScene& scene, const AntennaDescription& antenna) {
    if (!scene.RootFrame) {
        return;
    }
    const MeshData sphere = FeedMarkerMesh();
    if (scene.AntennaFrame) {
        scene.AntennaFrame->Destroy();
    }
    const Material marker = MaterialFromColor(ColorValueFromPacked(kMarkerColor));
    scene.AntennaFrame = CreateFrame(scene.RootFrame.get());
    for (std::size_t i = 0; i < antenna.Sources.size(); ++i) {
        auto frame = CreateFrame(scene.AntennaFrame.get());
        frame->SetPosition(antenna.Sources[i].Position);
        frame->AddD3DXMesh(sphere)->SetMaterialOverride(marker);
        frame->ComputeBoundingVolumes();
        frame->ObjectName = "Source" + std::to_string(i);
    }
}

void BuildCurrentTubes(View3DScene& scene, const View3DState& view) {
    if (scene.CurrentsFrame) {
        scene.CurrentsFrame->Destroy();
        scene.CurrentsFrame.reset();
    }
    scene.CurrentTubes.reset();
    if (!scene.RootFrame || view.Currents.empty()) {
        return;
    }
    scene.CurrentsFrame = CreateFrame(scene.RootFrame.get());
    scene.CurrentTubes =
        scene.CurrentsFrame->AddD3DXMesh(CurrentTubeMesh(CurrentScenePaths(view.Currents)));
    scene.CurrentTubes->SetMaterialOverride(MaterialFromColor({1.0f, 1.0f, 1.0f, 1.0f}));
    ColourCurrentTubes(scene, view);
}

void ColourCurrentTubes(View3DScene& scene, const View3DState& view) {
    if (!scene.CurrentTubes) {
        return;
    }
    const std::vector<float> coordinates = CurrentColourCoordinates(
        view.Currents, view.CurrentPhaseOn, view.CurrentPhase, view.ScaleCurrent);
    scene.CurrentTubes->EditVertices([&coordinates](MeshVertex& vertex) {
        const auto index = static_cast<std::size_t>(vertex.Tv);
        vertex.Tu = index < coordinates.size() ? coordinates[index] : 0.0f;
    });
}

void TurnScene(View3DScene& scene, float angle) {
    if (scene.RootFrame && angle != 0.0f) {
        scene.RootFrame->AddRotation(CombineMode::Before, {0.0f, 1.0f, 0.0f}, angle);
    }
}

void ResetTurn(View3DScene& scene) {
    if (scene.RootFrame) {
        scene.RootFrame->SetOrientation(
            QuaternionRotationAxis({0.0f, 1.0f, 0.0f}, 90.0f / 180.0f * kViewPi));
    }
}

namespace {

// Draws the root frame with only one of its children enabled. Each pass starts from the identity
// so that the root's turn applies once: markers and ground stay with the pattern and the wires.
void RenderPass(View3DScene& scene, View3DDevice& device, CD3DFrame* only) {
    device.SetWorldTransform(MatrixIdentity());
    for (CD3DFrame* frame : {scene.PatternFrame.get(), scene.GroundFrame.get(),
                             scene.AntennaFrame.get(), scene.CurrentsFrame.get()}) {
        if (frame != nullptr) {
            frame->Enabled = frame == only;
        }
    }
    scene.RootFrame->Render(scene.Context);
}

void DrawLines(View3DDevice& device, const std::vector<Line3D>& lines) {
    for (const Line3D& line : lines) {
        device.DrawLine3D(line.From, line.To, line.Color);
    }
}

} // namespace

void Render3DFrame(View3DScene& scene, View3DDevice& device, const View3DState& view, int width,
                   int height) {
    if (!scene.SceneReady || !scene.RootFrame) {
        return;
    }
    scene.Context.renderer = &device;
    scene.RootFrame->UpdateFrames();
    device.Clear(kClearColor);
    device.SetLights(FrameLights());
    device.SetAmbient(kFrameAmbient);
    device.SetFillMode(view.Wireframe, !view.Wireframe || view.WireLighting);
    const ViewCamera camera = CameraFor(view, width, height);
    device.SetViewTransform(camera.View);
    device.SetProjection(camera.Projection);

    if (view.PatternVisible) {
        const bool difference = view.DifferenceColours;
        const GainColouring colouring{ScalePeakGain(view), view.GainRangeDb, difference,
                                      view.DifferenceSpanDb};
        device.SetGainColouring(view.GainColours || difference ? &colouring : nullptr);
        RenderPass(scene, device, scene.PatternFrame.get());
        device.SetGainColouring(nullptr);
    }
    if (scene.CurrentsFrame) {
        // Solid tubes even over a wireframe surface, so that the currents inside it read.
        device.SetFillMode(false, true);
        device.SetGainColouring(&kCurrentColouring);
        RenderPass(scene, device, scene.CurrentsFrame.get());
        device.SetGainColouring(nullptr);
        device.SetFillMode(view.Wireframe, !view.Wireframe || view.WireLighting);
    }
    device.SetWorldTransform(scene.RootFrame->GetMatrix());
    if (view.AxesVisible) {
        DrawLines(device, AxisLines());
    }
    if (view.WiresVisible && view.AntennaLoaded) {
        DrawLines(device, AntennaWireLines(view.Antenna));
        if (scene.AntennaFrame) {
            RenderPass(scene, device, scene.AntennaFrame.get());
        }
    }
    if (view.GroundVisible) {
        if (scene.GroundPlate) {
            const std::uint32_t ground =
                view.Pattern.ReachesBelowHorizon ? kSeeThroughGroundColor : kGroundColor;
            scene.GroundPlate->SetMaterialOverride(MaterialFromColor(ColorValueFromPacked(ground)));
        }
        RenderPass(scene, device, scene.GroundFrame.get());
    }
}

} // namespace lobex
