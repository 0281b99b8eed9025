#include "PatternModel.h"

#include "ModelFile.h"
#include "PatternMesh.h"
#include "SurfaceReadout.h"
#include "ViewScene.h"
#include "model/PatternDifference.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <variant>

// Apart from the model writers, so that a program writing models alone (lobex-cli) does not take
// in the scene and its model loader.
namespace lobex {

namespace {

// The surface the view draws of the pattern view.Pattern holds, and its model's bytes.
std::string MakeDrawnSurface(View3DState& view, const FarFieldGrid& grid, float piValue) {
    const std::optional<FarFieldGrid> coarse = DrawnGrid(grid, kDrawnDetailDegrees);
    std::string refusal;
    if (!coarse) {
        view.Drawn = view.Pattern;
    } else if (!BuildPatternVertices(*coarse, piValue, view.Drawn, refusal)) {
        // The whole grid was built, so its coarser copy is too; a failure is a lack of memory.
        throw std::bad_alloc();
    }
    return BinaryModelBytes(view.Drawn);
}

} // namespace

bool PreparePatternModel(View3DContext& context, PatternShown shown) {
    View3DState& view = context.view;
    const FarFieldGrid& grid = context.state.Loaded.FarField;
    if (shown == PatternShown::Next) {
        std::string refusal;
        if (!DrawPatternOf(view, grid, context.state.PiValue, &refusal)) {
            context.messages.Show(refusal, MessageIcon::Information, context.state.AppTitle);
            return false;
        }
        TakeSharedScale(view, context.state.Loaded.Document.get());
        return true;
    }
    if (!BuildPatternVertices(context)) {
        return false;
    }
    std::string bytes;
    if (!WriteComposedModel(context, [&]() -> std::string_view {
            bytes = MakeDrawnSurface(view, grid, context.state.PiValue);
            return bytes;
        })) {
        return false;
    }
    view.DrawnMesh = PatternSceneMesh(bytes, view.Drawn);
    TakeSharedScale(view, context.state.Loaded.Document.get());
    FrameSubject(view);
    return true;
}

std::optional<float> SharedPeakGainOf(const Result* document) {
    const auto* nec = document != nullptr ? std::get_if<NecOutput>(document) : nullptr;
    if (nec == nullptr) {
        return std::nullopt;
    }
    const std::optional<float> peak = NecPeakGain(*nec);
    if (NecPatternCount(*nec) < 2 || !peak) {
        return std::nullopt;
    }
    return std::max(*peak, kPatternFloor);
}

void TakeSharedScale(View3DState& view, const Result* document) {
    view.SharedPeakGain = view.SharedScale ? SharedPeakGainOf(document) : std::nullopt;
}

bool DrawPatternOf(View3DState& view, const FarFieldGrid& grid, float piValue,
                   std::string* refusal) {
    std::string why;
    try {
        if (BuildPatternVertices(grid, piValue, view.Pattern, why)) {
            view.DrawnMesh = PatternSceneMesh(MakeDrawnSurface(view, grid, piValue), view.Drawn);
            return true;
        }
    } catch (const std::bad_alloc&) {
        why = kTooManyNodes;
    }
    if (refusal != nullptr) {
        *refusal = std::move(why);
    }
    return false;
}

void ShowNecFrequency(View3DState& view, const Result* document, double necMhz) {
    const NecFrequency* shown =
        document != nullptr ? ShownNecFrequency(*document, necMhz) : nullptr;
    view.NecMhz = shown != nullptr ? shown->mhz : 0.0;
    view.NecMaxGain = shown != nullptr && shown->pattern ? shown->pattern->figures.MaxGain : 0.0f;
}

std::string_view ShowDifference(View3DState& view, const FarFieldGrid& a,
                                const FarFieldGrid& compared) {
    const Checked<DifferenceGrid> difference = DifferenceOf(a, compared);
    if (!difference) {
        return difference.rejection.text;
    }
    if (view.DrawnMesh) {
        // Each vertex's difference in its own direction, between the grid points of either
        // pattern as the read-out takes them, so that colour and read-out agree.
        view.DrawnMesh->EditVertices([&a, &compared](MeshVertex& vertex) {
            const auto [zenith, azimuth] = DirectionOf(FromScene(vertex.Position));
            vertex.Tv = GridGainAt(compared, zenith, azimuth) - GridGainAt(a, zenith, azimuth);
        });
    }
    view.Compared = compared;
    view.DifferenceSpanDb = DifferenceSpan(LargestDifference(*difference.value));
    view.DifferenceColours = true;
    return {};
}

void HideDifference(View3DState& view) {
    view.DifferenceColours = false;
    view.Compared = {};
}

} // namespace lobex
