#pragma once

#include "AntennaDescription.h"
#include "GainColours.h"
#include "View3DState.h"
#include "scene/CD3DFrame.h"
#include "scene/Material.h"
#include "scene/Renderer.h"
#include "scene/SceneContext.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lobex {

// The view's fixed colours, packed alpha, red, green, blue.
inline constexpr std::uint32_t kClearColor = 0xFF808080U;
inline constexpr std::uint32_t kSetupAmbient = 0xFF101010U;
inline constexpr std::uint32_t kFrameAmbient = 0xFF333333U;
inline constexpr std::uint32_t kPatternColor = 0xFF4040F0U;
inline constexpr std::uint32_t kGroundColor = 0x40C0C0C0U;
// The plate under a pattern that reaches below the horizon (a free-space pattern): fainter, so
// that the lower lobes show through it.
inline constexpr std::uint32_t kSeeThroughGroundColor = 0x18C0C0C0U;
inline constexpr std::uint32_t kAxisColor = 0xFFC0C000U;
inline constexpr std::uint32_t kWireColor = 0xFFFF0000U;
inline constexpr std::uint32_t kMarkerColor = 0xFF00F000U;
inline constexpr std::uint32_t kTextColor = 0xC0FFFFFFU;
inline constexpr ColorValue kLightColor{0.5f, 0.5f, 0.5f, 1.0f};

// A directional light as the fixed-function pipeline lights with it: colours and the direction
// the light travels in (scene space).
struct DirectionalLight {
    ColorValue Diffuse;
    ColorValue Ambient;
    Vector3 Direction;
};

// The two lights as each frame sets them: both take the light colour for diffuse and ambient.
std::array<DirectionalLight, 2> FrameLights();
// The two lights as the set-up leaves them, before the first frame.
std::array<DirectionalLight, 2> SetupLights();
// The device material of the set-up: a dark grey for whatever has no material of its own.
Material SetupMaterial();

// How the device draws at set-up: projection, lights, material and global ambient.
struct ViewSetup {
    Matrix Projection;
    std::array<DirectionalLight, 2> Lights;
    Material DeviceMaterial;
    std::uint32_t Ambient = kSetupAmbient;
};
ViewSetup SetupViewAndLights(int width, int height);

// The graphics device of the view: what the scene draws through, and the frame-level state the
// view sets on top of it.
// What the pattern's colours stand for: the gain each vertex carries (u) coloured over
// PeakGain - RangeDb .. PeakGain; or, for Difference, the B − A it carries (v) on the difference
// map over -SpanDb .. SpanDb.
struct GainColouring {
    float PeakGain = 0.0f;
    float RangeDb = kDefaultGainRangeDb;
    bool Difference = false;
    float SpanDb = kLeastDifferenceSpanDb;
};

class View3DDevice : public Renderer {
public:
    // Colours the meshes drawn next by gain, or gives them their material's colour (nullptr).
    virtual void SetGainColouring(const GainColouring* colouring) = 0;
    virtual void SetProjection(const Matrix& projection) = 0;
    virtual void SetViewTransform(const Matrix& view) = 0;
    virtual void SetLights(const std::array<DirectionalLight, 2>& lights) = 0;
    virtual void SetAmbient(std::uint32_t packed) = 0;
    virtual void Clear(std::uint32_t packed) = 0;
    // Wireframe draws only the edges; lighting off draws every vertex white.
    virtual void SetFillMode(bool wireframe, bool lighting) = 0;
    // A line with the current world transform, lit as a vertex without normal: the colour
    // becomes the material's diffuse and ambient.
    virtual void DrawLine3D(Vector3 from, Vector3 to, std::uint32_t packed) = 0;
};

struct Line3D {
    Vector3 From;
    Vector3 To;
    std::uint32_t Color = 0;
};

// The three axes and their letters X, Y, Z in the axis colour (scene space: the pattern's x is
// the scene's z, its y the scene's x, its z the scene's y).
std::vector<Line3D> AxisLines();
// The wires of the antenna, red.
std::vector<Line3D> AntennaWireLines(const AntennaDescription& antenna);

// A text line in the corner of the view: its top left corner in pixels, whether it uses the
// larger axis-letter font, and its text.
struct TextLine {
    int Left = 0;
    int Top = 0;
    bool AxisFont = false;
    std::string Text;
};
// "Lobex", then, with an antenna loaded, its name, "f=<frequency>MHz" and the peak gain
// "Ga=<gain>dBi" written with the user's decimal symbol; without one, of a NEC-2 output, the
// frequency on show and, with the pattern, its maximum gain.
std::vector<TextLine> TextLines(const View3DState& view, float maxGain,
                                std::string_view decimalSeparator);

// The frames of the view: the root turned by the rotations, the ground plate, the pattern loaded
// from the model file and the feed markers of the antenna.
struct View3DScene {
    SceneContext Context;
    std::shared_ptr<CD3DFrame> RootFrame;
    std::shared_ptr<CD3DFrame> GroundFrame;
    std::shared_ptr<CD3DFrame> PatternFrame;
    std::shared_ptr<CD3DFrame> AntennaFrame;
    std::shared_ptr<CD3DFrame> CurrentsFrame;
    std::shared_ptr<CD3DMesh> CurrentTubes;
    std::shared_ptr<CD3DMesh> GroundPlate;
    bool SceneReady = false;
};

// The pattern mesh as the scene draws it, in the pattern colour, from the bytes of the binary
// model of surface; each vertex carries the gain drawn there as its texture coordinate u, which
// the gain colours read (and v, B − A there, for the difference colours). A model that cannot be
// read gives an empty mesh; the view still runs.
std::shared_ptr<CD3DMesh> PatternSceneMesh(std::string_view modelBytes, const PatternMesh& surface);

// Builds the frame tree with the pattern mesh (none: empty) in the pattern frame. The mesh may
// be shared with earlier scenes: the scene made again when the view moves to another window
// draws the same one.
void CreateSceneFrames(View3DScene& scene, std::shared_ptr<CD3DMesh> pattern);
// Puts another pattern mesh (none: empty) in the pattern frame of a built scene: the turn, the
// camera and everything else drawn stay.
void ReplacePatternMesh(View3DScene& scene, std::shared_ptr<CD3DMesh> pattern);
// Frames the camera on the drawn pattern, a loaded antenna and the wires of the currents.
void FrameSubject(View3DState& view);
// Keeps the framing's centre and widens it only as far as the drawn pattern reaches beyond it,
// turned any way about the upward axis.
void WidenFraming(View3DState& view);
// The small sphere that marks a feed point. Inline, so that the glTF writer takes it without
// the scene's frames (and the model loader behind them).
inline MeshData FeedMarkerMesh() {
    return CreateSphereMesh(0.025f, 8, 8);
}
// One small green sphere per feed point, under a new antenna frame.
void BuildFeedMarkers(View3DScene& scene, const AntennaDescription& antenna);
// The tubes of the view's currents under a new currents frame (none without currents), coloured
// as ColourCurrentTubes says.
void BuildCurrentTubes(View3DScene& scene, const View3DState& view);
// Colours the tubes by the current magnitude, or with the phase on by the instantaneous current.
void ColourCurrentTubes(View3DScene& scene, const View3DState& view);
// How the gain colours read the tubes' colour coordinates (see CurrentColourCoordinates).
inline constexpr GainColouring kCurrentColouring{0.0f, kDefaultGainRangeDb};

// Turns the pattern (and all it carries) about the scene's upward axis.
void TurnScene(View3DScene& scene, float angle);
// Turns it back to where the scene started: a quarter turn, which puts azimuth 0 to the right.
void ResetTurn(View3DScene& scene);

// Draws one frame on the device for a target of width x height pixels: the pattern, axes, wires
// and markers and the ground as the view's flags say, seen by the camera framing the subject.
// The text lines are not drawn here (they go over the picture afterwards).
void Render3DFrame(View3DScene& scene, View3DDevice& device, const View3DState& view, int width,
                   int height);

} // namespace lobex
