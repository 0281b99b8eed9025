#pragma once

#include <QImage>

#include <functional>
#include <vector>

namespace lobex {

class View3DHost;

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

} // namespace lobex
