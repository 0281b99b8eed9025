#pragma once

#include "CommandParser.h"
#include "PlotDocument.h"

#include <string>

// What each command of the command language means. Settings change the document directly; the
// output commands (copy, print, save, close) are handed back to the engine, which carries them
// out on the document as it stands at that point of the string.
//
// Curve numbers are 1-based. Widths are tenths of a point. Sizes are inches. Text elements of
// FontPoints and TextFont are those of FontElement. Line types: 0 none, 1 solid, 2 dashed,
// 3 dotted, 4 dash-dot, 5 dash-dot-dot.
//
//   FontPoints(element, points)                        font size, 1 to 144 points
//   TextFont(element, points, weight, italic, underline, strikeout, charset, "face")
//                                                      whole font; charset is ignored; a face
//                                                      that is not installed falls back to a
//                                                      sans-serif one ("MS Sans Serif" too)
//   GridLineType(kind[, type])                         kind 0 no grid, 1 grid at labelled
//                                                      ticks, 2 at every tick; type as above
//   AutoSize()                                         the plot fills the picture
//   Size(state[, width, height[, wysiwyg]])            state 0 as AutoSize; state 1: the
//                                                      plotting area is width x height inches,
//                                                      scaled down with its fonts when the
//                                                      picture is too small; wysiwyg ignored
//   ManualScale(xlo, ylo, xhi, yhi[, y2lo, y2hi])      axis limits; an empty argument leaves
//                                                      that limit to the data; rectangular
//                                                      axes widen to the nearest labelled tick
//   SelectCurve(curve)                                 curve for later curve commands
//   MultipleYAxes(axes, firstCurve[, options])         axes 2: curves from firstCurve on use a
//                                                      second Y axis on the right; 1: one axis
//   XAxisLabel, YAxisLabel, Y2AxisLabel, Title1, Title2, Title3, Caption ("text")
//                                                      texts; the caption names the document
//                                                      in saved and printed pictures
//   Color(curve, red, green, blue)                     curve colour, 0 to 255 each
//   Scale(code)                                        1 linear, 2 log Y, 3 log X, 4 both log,
//                                                      8 polar in radians, 264 polar in degrees,
//                                                      12 (this engine's own) Smith chart
//   PolarPlotStyle(style)                              bit 0 clockwise, bit 1 zero at the top:
//                                                      3 compass, 0 mathematical
//   NumTicks(axis, intervals[, minorDivisions])        axis 1 X or angle, 2 Y or radius,
//                                                      3 second Y; intervals 1 to 360 (0 nice)
//   LineWidth(curve, width)                            curve -1 every curve, -2 the frame, axes
//                                                      and ticks; width 1 to 500
//   LineType(curve, type)                              curve line type
//   FastLines(on)                                      1: bitmaps draw the curves in straight
//                                                      pieces, several times faster (for
//                                                      many curves); only the antialiasing
//                                                      of their edges differs; vector
//                                                      pictures are the same; 0 (default) off
//   NoteText("text"), NotePosition(x, y)               one note per document (a new text
//                                                      replaces it); its top-left corner at x, y
//                                                      in fractions of the picture from the
//                                                      bottom-left corner
//   PointLabel(x, y, "text")                           a dot at a data point in the selected
//                                                      curve's colour, the text beside it;
//                                                      no arguments: every one removed
//   SwrCircle(swr[, "text"])                           Smith chart: the circle of that SWR
//                                                      (1 to 1000) with its label; 0 none
//   SetMetafileDims(width, height)                     size of copied and saved pictures,
//                                                      0.1 to 100 inches
//   FilePageSetup(left, top, right, bottom)            print margins in inches
//   CopyPicture()                                      clipboard: image and SVG
//   FilePrint([copies[, document]])                    print, 1 to 99 copies, fitted to the
//                                                      page under the print heading; another
//                                                      document given goes on the same page,
//                                                      below this one
//   PrintHeading(["text"])                             a line of the print heading; none:
//                                                      the heading cleared
//   FileSaveAs(4097, "path")                           write an Enhanced Metafile; this
//                                                      engine also takes 4098 for SVG and
//                                                      4099 for PDF
//   ClearEditFlag()                                    mark the document as needing no save
//   FileClose()                                        close the document
namespace lobex::plotter {

enum class OutputAction { None, CopyPicture, FilePrint, FileSaveAs, FileClose };

// The file format codes of FileSaveAs: an Enhanced Metafile, and this engine's own vector
// formats SVG and PDF.
inline constexpr int kFormatEmf = 4097;
inline constexpr int kFormatSvg = 4098;
inline constexpr int kFormatPdf = 4099;

struct CommandEffect {
    bool ok = false;
    std::string error; // why the command was refused
    OutputAction action = OutputAction::None;
    int copies = 1;          // FilePrint
    int printedWith = 0;     // FilePrint: the document printed below this one; 0 none
    std::string path;        // FileSaveAs, UTF-8
    int format = kFormatEmf; // FileSaveAs
};

// Checks a command's name and arguments and, for a setting, applies it to the document. A
// refused command leaves the document as it was.
CommandEffect ApplyCommand(PlotDocument& document, const PlotCommand& command);

} // namespace lobex::plotter
