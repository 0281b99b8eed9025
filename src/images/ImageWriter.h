#pragma once

#include "JpegOptions.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <string>
#include <string_view>

namespace lobex {

struct AppState;
class clsGIF;

// How an image write ended. An unknown format code is not a failure: nothing is written.
struct ImageResult {
    bool ok = true;
    bool written = false;
    std::string error; // the failure's description when ok is false
};

// The preview rectangles, in the picture's own (device-independent) pixels.
inline constexpr QRect kPreview3DRect{83, 23, 320, 240};
inline constexpr QRect kPreviewPatternRect{12, 14, 480, 320};
inline constexpr QSize kPreviewPatternSize{320, 214};

// The small preview the "p" format codes write: the middle of the 3D view while it is shown,
// else the azimuth diagram scaled down while a pattern is shown, else the picture unchanged.
// A rectangle reaching past the picture is cut at its edge; a null result means nothing of
// the picture lay inside it.
QImage MakePreview(const QImage& picture, bool view3DActive, bool patternShown);

// Writes picture (a grab of the window to save, or the clipboard's picture) to fileName as
// format: "bmp", "png", "jpg" (size, quality, greyscale and progressive from jpeg), "gif"
// (through gif), or
// "ppng", "pgif", "pjpg" for a preview (MakePreview with the state's View3DActive and
// PatternShown) in that format. Any other code writes nothing. An existing file is replaced
// through a temporary file and a rename; failures come back in the result.
ImageResult WriteImageFile(const QImage& picture, std::string_view format,
                           const std::string& fileName, const AppState& state,
                           const JpegOptions& jpeg, clsGIF& gif);

// The bytes of picture in a format Qt's writers know ("bmp", "png", "jpg"), JPEG with the
// options given. Empty when the picture cannot be encoded; error then says why.
QByteArray EncodeImage(const QImage& picture, std::string_view format, const JpegOptions& jpeg,
                       std::string& error);

} // namespace lobex
