#pragma once

#include "PlotLink.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The graph leaving the program through the engine: to the clipboard, the printer or a vector
// file. Which document leaves: the rectangular graph of slot 0, or while a pattern is shown
// the polar diagram the user chose (1 azimuth, 2 elevation), which carries the gain note.
// Every call is false when that document is missing or the engine refuses the command.
namespace lobex {

// The FileSaveAs code of "emf", "svg" or "pdf"; nothing for a format the engine does not write.
std::optional<int> VectorFormatCode(std::string_view format);

// The maximum gain as a note in the top-left corner; the number follows the user's decimal
// symbol, unlike the numbers of the command language.
std::string GainNote(float maxGain, std::string_view decimalSeparator);

// Copies the picture to the clipboard.
bool CopyGraph(PlotLink& link, const AppState& state, int chosen);

// The lines printed above the graph: where the data came from (source: the file's name, or
// "MMANA"), then the figures the window shows beside it: the pattern's maximum, beam width and
// cut, or a sweep's frequencies, lowest SWR and resonances.
std::vector<std::string> PrintHeading(const PlotLink& link, const AppState& state,
                                      std::string_view source);

// Prints the graph, or both polar diagrams on one page (the note goes into the azimuth
// document), fitted to the page under the heading. False too when printing fails or the user
// cancels it.
bool PrintGraph(PlotLink& link, const AppState& state, std::string_view source);

// Writes the picture to path as an EMF, SVG or PDF file (format "emf", "svg" or "pdf"). A path
// the command language cannot carry unchanged is refused rather than saved under another name.
bool SaveGraphAs(PlotLink& link, const AppState& state, int chosen, std::string_view format,
                 std::string_view path);

} // namespace lobex
