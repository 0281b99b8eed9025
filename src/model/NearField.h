#pragma once

#include <vector>

namespace lobex {

// The field at one point: each component's real and imaginary part, magnitude and phase as the
// file gives them, and the summed field.
struct NearFieldPoint {
    float X = 0.0f;
    float ReX = 0.0f, ImX = 0.0f, MagX = 0.0f, PhaseX = 0.0f;
    float ReY = 0.0f, ImY = 0.0f, MagY = 0.0f, PhaseY = 0.0f;
    float ReZ = 0.0f, ImZ = 0.0f, MagZ = 0.0f, PhaseZ = 0.0f;
    float ReSum = 0.0f;
    float ImSum = 0.0f;
    float Amplitude = 0.0f;
    float PhaseRad = 0.0f;
};

// The points at one (Y, Z), along X.
struct NearFieldLine {
    double y = 0.0, z = 0.0; // m
    std::vector<NearFieldPoint> points;
};

// A near field: electric (V/m) or magnetic (A/m), its lines in the order they first appear.
struct NearField {
    bool electric = false;
    std::vector<NearFieldLine> lines;
};

// The phase of the summed field in radians, -pi to pi: the full-circle angle of (Re, Im); no
// field at all has phase 0.
float SummedPhase(float reSum, float imSum);

// The field's strength at a point: sqrt(|Ex|^2 + |Ey|^2 + |Ez|^2) from the components.
float FieldMagnitude(const NearFieldPoint& point);

} // namespace lobex
