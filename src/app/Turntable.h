#pragma once

#include "scene/D3DMath.h"

#include <QCoreApplication>
#include <QImage>
#include <QSize>

#include <functional>
#include <vector>

namespace lobex {

class View3DHost;
class OffscreenView3D;
struct AppState;
struct NecOutput;
struct View3DFonts;
struct View3DState;

// The turntable GIF: 36 pictures a turn, each shown for a tenth of a second: steps of 10 degrees
// at ten a second look smooth, every browser honours the delay, and a turn takes 3.6 s (the
// view by itself takes about 15 s, too slow for a short looping picture).
inline constexpr int kTurntableFrames = 36;
inline constexpr int kTurntableDelay = 10; // centiseconds

// Pictures of one full turn of the shown 3D view as the user sees it (corner text included):
// the first at the view's present angle, each next one turned on by a turn / frames the way the
// view turns by itself. The view is left at the angle it had. frameDone is called with the
// number of pictures taken so far. Empty when no view is shown or its OpenGL did not come up.
std::vector<QImage> TurntableFrames(View3DHost& host, int frames,
                                    const std::function<void(int frame)>& frameDone = {});

inline constexpr const char* kNoFrequencyAnimation = QT_TRANSLATE_NOOP(
    "lobex", "GIF по частотам делается из диаграмм выхода NEC-2 на двух частотах или более.");

// The animation over frequency shows each frame for half a second: long enough to read its
// frequency in the corner, and a sweep of a dozen frequencies still loops within seconds.
inline constexpr int kFrequencyFrameDelay = 50; // centiseconds

// Pictures of a NEC-2 output's pattern at each of its frequencies that has one, in file order,
// drawn as view shows the frequency on show: one camera, turn (the scene's root matrix) and set
// of flags for all, the currents on the wires where view shows currents, and the gain colours
// and the currents each on one scale over all the frequencies. Empty when a frame cannot be
// drawn.
std::vector<QImage> FrequencyFrames(OffscreenView3D& device, const View3DState& view,
                                    const Matrix& turn, const NecOutput& nec, const AppState& state,
                                    QSize size, const View3DFonts& fonts);

} // namespace lobex
