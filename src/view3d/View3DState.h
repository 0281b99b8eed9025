#pragma once

#include "AntennaDescription.h"
#include "CurrentPaths.h"
#include "GainColours.h"
#include "PatternMesh.h"
#include "scene/CD3DMesh.h"
#include "scene/D3DMath.h"

#include <array>
#include <memory>
#include <optional>

namespace lobex {

// The state of the 3D pattern view that lives for the whole run: the pattern surface, the
// antenna description, the view flags and the camera. One exists beside AppState.
struct View3DState {
    // The surface of the whole grid, for the model files and exports.
    PatternMesh Pattern;
    // The surface as the view draws it (the whole grid, or a fine one at kDrawnDetailDegrees)
    // and its mesh, made in memory once per pattern and kept while the view moves between
    // windows.
    PatternMesh Drawn;
    std::shared_ptr<CD3DMesh> DrawnMesh;

    AntennaDescription Antenna;
    bool AntennaLoaded = false;

    bool AutoRotate = false;
    bool Wireframe = false;
    bool WireLighting = false;
    bool PatternVisible = false;
    bool AxesVisible = false;
    bool WiresVisible = false;
    bool GroundVisible = false;
    bool MouseDragging = false;
    // The pattern coloured by gain, down to GainRangeDb below the peak, with a legend.
    bool GainColours = false;
    float GainRangeDb = kDefaultGainRangeDb;
    // "Общая шкала": the gain colours of every pattern of the result (a NEC-2 output's
    // frequencies) keep one scale, up to SharedPeakGain, the strongest of them all; none for a
    // result of one pattern.
    bool SharedScale = false;
    std::optional<float> SharedPeakGain;
    // The top of the currents' colours (amperes) when several frequencies share one scale; none:
    // the largest of the wires on show.
    std::optional<double> ScaleCurrent;
    // The pattern coloured by B − A of a compared pattern instead, over ±DifferenceSpanDb, with
    // its legend; the read-out then gives both gains. Compared is B's grid.
    bool DifferenceColours = false;
    float DifferenceSpanDb = kLeastDifferenceSpanDb;
    FarFieldGrid Compared;

    // Currents on the wires, drawn as tubes coloured by current with a legend; none when empty.
    CurrentWires Currents;
    // "Фаза": the tubes show the instantaneous current, CurrentPhase radians into the cycle,
    // which advances while the view runs.
    bool CurrentPhaseOn = false;
    double CurrentPhase = 0.0;
    // Of a NEC-2 output: the frequency on show (MHz) and its pattern's maximum gain, for the
    // corner text; 0 for any other file.
    double NecMhz = 0.0;
    float NecMaxGain = 0.0f;

    // The sphere the camera keeps in sight (the pattern and a loaded antenna), centred on the
    // scene's upward axis so that the pattern turning about it never leaves it.
    Vector3 SubjectCentre;
    float SubjectRadius = 1.0f;

    // Where the camera stands relative to its framed place: the start value is that place, and
    // the keys move it from there in steps scaled to the framing.
    Vector3 CameraPosition{0.0f, 0.25f, -2.5f};
    // In camera space, changed by the keys.
    Vector3 CameraVelocity;
    // The tilt, radians, kept in 0 .. 3.1415 / 2: the camera goes up round the subject's centre.
    float CameraPitch = 0.0f;
    float PitchVelocity = 0.0f;
    // The camera's tilt and place relative to its framed place: it turns the keys' velocity
    // into the scene. The view transform itself comes from CameraFor.
    Matrix CameraMatrix = MatrixIdentity();
    float FrameStep = 0.0f;
    // Which keys are held, by key code 0..256.
    std::array<bool, 257> KeyDown3D{};
    float LastMouseX = 0.0f;
    float LastMouseY = 0.0f;
};

// The gain the colour scale of the drawn pattern reaches up to, its floor GainRangeDb below.
float ScalePeakGain(const View3DState& view);

// Puts the camera back at its start place and stops its pitching; its velocity and pitch stay.
void ResetCamera(View3DState& view);

} // namespace lobex
