#pragma once

#include "RenderOptions.h"

#include <QImage>

#include <ostream>
#include <string>
#include <vector>

#include "model/FarFieldPattern.h"

namespace lobex {
struct AppState;
class MessageService;
} // namespace lobex

namespace lobex::render {

// Whether Qt has a platform to draw the 3D view on: the offscreen one gives no usable OpenGL, so
// a display must be named. False, after saying so on err, when none is.
bool DisplayForOpenGl(std::ostream& err);

// Pictures of the 3D view of the far field loaded in state, as options set it up: the first
// turned by options.turnDegrees, each next one a turn / frames further on. None, with the
// reason in error, when the view cannot be drawn. With compared, the pattern is coloured by
// compared − the loaded one. Needs a QGuiApplication on a platform with OpenGL.
std::vector<QImage> Pictures3D(const RenderOptions& options, AppState& state,
                               MessageService& messages, int frames, std::string& error,
                               const FarFieldGrid* compared = nullptr);

// Writes a raster picture as format: png, jpg and gif as pictures, svg, pdf and emf as vector
// files holding the picture at 96 pixels per inch. False with the reason in error.
bool WriteRaster(const QImage& picture, const std::string& format, const std::string& path,
                 const AppState& state, std::string& error);

// What options ask of the one file options.input: one picture, or the three into the folder
// options.out. The exit status: 0 written, 1 failed, 2 usage.
int RenderFile(const RenderOptions& options, std::ostream& out, std::ostream& err);

} // namespace lobex::render
