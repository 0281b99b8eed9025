#pragma once

#include "PlotDocument.h"

#include <QFont>
#include <QString>

namespace lobex::plotter {

// An installed family for the one a command named: the family itself when it is installed,
// otherwise the first installed of a list of good sans-serif faces (Windows, macOS and Linux
// names), otherwise the system's general font. "MS Sans Serif", the face the commands name, is
// always replaced: it is a bitmap face that cannot be scaled or turned, and absent outside
// Windows. Needs a QGuiApplication.
QString ResolveFontFamily(const QString& requested);

// The font of a text element, its size multiplied by sizeFactor (the caller's device and
// shrink factors).
QFont MakeFont(const FontSpec& spec, double sizeFactor);

} // namespace lobex::plotter
