#pragma once

#include <array>

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace lobex {

class CompareTable;
class PatternFiguresFrame;

// The result frames laid over the elevation diagram: the maximum, the -3 dB beam width, the
// elevation of the azimuth cut and the 3D button. The main window and the polar window each
// have one, under the same names.
struct PatternPanel {
    QFrame* fraPolar2 = nullptr;
    QFrame* fraPolar3 = nullptr;
    QFrame* fraPolar4 = nullptr;
    QGroupBox* fraMax = nullptr;
    QGroupBox* fraBeam = nullptr;
    // The pattern's further figures, under the two frames above.
    PatternFiguresFrame* fraFigures = nullptr;
    std::array<QLabel*, 3> lblMax{};
    std::array<QLabel*, 3> lblBeam{};
    std::array<QLabel*, 2> lblAz{};
    QLabel* lblMaxElev = nullptr;
    QLabel* lblMaxAzim = nullptr;
    QLabel* lblMaxTotal = nullptr;
    QLabel* lblAzElev = nullptr;
    QLabel* lblBeamWidth = nullptr;
    QLabel* lblBeamLeft = nullptr;
    QLabel* lblBeamRight = nullptr;
    QPushButton* cmd3D = nullptr;
    // While results are compared it takes the place of the maximum and beam frames.
    CompareTable* tblCompare = nullptr;
    // False once the machine turned out to have no OpenGL the 3D view can use.
    bool View3DUsable = true;
};

// Builds the frames as children of host (the elevation picture box), hidden until a
// diagram is drawn.
PatternPanel BuildPatternPanel(QWidget* host);

// The captions of the result frames, in the user's language.
void ApplyPatternCaptions(PatternPanel& panel);

} // namespace lobex
