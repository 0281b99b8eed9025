#pragma once

#include "View3DState.h"
#include "core/AppState.h"
#include "core/Services.h"
#include "core/Texts.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lobex {

// What the pattern model steps work on: the shared state (the far-field grid, PiValue,
// TempModelFile, DecimalSeparator, AppTitle), the 3D view's state, and where messages go.
struct View3DContext {
    AppState& state;
    View3DState& view;
    MessageService& messages;
};

// What the user is told when a model file cannot be written.
inline constexpr std::string_view kWriteError =
    LOBEX_TEXT("Ошибка записи в файл. Данные не сохранены.");

// Builds the pattern vertices from the loaded far-field grid. A grid the surface cannot be
// built from is refused with an information message; the previous vertices are kept.
bool BuildPatternVertices(View3DContext& context);

// Write the current pattern surface to TempModelFile, binary (for the 3D view) or text (for
// the conversion tool). A failed write shows the critical write-error message and leaves any
// earlier file as it was.
bool WriteBinaryModel(View3DContext& context);
bool WriteTextModel(View3DContext& context);
// Writes the bytes compose makes to TempModelFile; running out of memory while composing counts
// as a failed write, told as the two above tell it.
bool WriteComposedModel(View3DContext& context, const std::function<std::string_view()>& compose);

// What the 3D buttons run before the view starts: BuildPatternVertices, then the surface the
// view draws (from DrawnGrid for a fine grid), written to TempModelFile as a binary model and
// made into the view's mesh in memory, and the camera framed on it. A failed write is told as
// WriteBinaryModel tells it. The next pattern of a view already showing one (another frequency)
// is DrawPatternOf's, its refusal told as an information message; TempModelFile and the framing
// are left as they are: nothing reads the file back, a step through the frequencies should not
// wait for the disk, and the camera stays.
enum class PatternShown { Afresh, Next };
bool PreparePatternModel(View3DContext& context, PatternShown shown = PatternShown::Afresh);

// The peak of one gain colour scale over all the patterns of a document: the strongest surface
// peak of a NEC-2 output's frequencies; none for a document of one pattern or none.
std::optional<float> SharedPeakGainOf(const Result* document);
// The view's SharedPeakGain for the document on show, worked out while "Общая шкала" is on.
void TakeSharedScale(View3DState& view, const Result* document);
// The same surface and mesh of another grid, made in memory only, the camera left where it is
// (the next pattern of a view, the frames of an animation); false when the grid gives no surface
// or memory runs out, with the reason in refusal where one is asked for (an animation's frames
// are silent).
bool DrawPatternOf(View3DState& view, const FarFieldGrid& grid, float piValue,
                   std::string* refusal = nullptr);

// Of a NEC-2 output, the frequency on show and its pattern's maximum gain for the corner text;
// nothing (0) for any other document.
void ShowNecFrequency(View3DState& view, const Result* document, double necMhz);

// Colours the drawn surface of pattern A (the view's, PreparePatternModel made) by B − A of
// compared, on a scale as wide either side of zero as the largest difference, and keeps B for
// the read-out. Answers the refusal when the grids cannot be compared (kinds alike, but no
// common angle or a grid not regular); the view is then as it was.
std::string_view ShowDifference(View3DState& view, const FarFieldGrid& a,
                                const FarFieldGrid& compared);
// Back to the colours by gain (when chosen) or the pattern colour.
void HideDifference(View3DState& view);

// The description-file step of the conversion tool, given the text model and the target path.
// No description format is defined, so it writes nothing and reports that nothing was made.
bool DescriptionFileHook(const std::string& modelPath, const std::string& descriptionPath);

// The description file for a far-field file: the path up to its first ".csv" (looked for from
// the second character on), followed by ".dsc". A path without ".csv" is looked at again with
// the case ignored (Windows lists A.CSV for "*.csv"); one without it in any case gets ".dsc"
// appended to the whole path.
std::string DescriptionPathFor(std::string_view csvPath);

} // namespace lobex
