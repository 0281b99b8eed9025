#include "PatternModel.h"

#include "ModelFile.h"
#include "PatternMesh.h"
#include "ViewScene.h"

#include <new>
#include <optional>
#include <string>

// Apart from the model writers, so that a program writing models alone (lobex-cli) does not take
// in the scene and its model loader.
namespace lobex {

bool PreparePatternModel(View3DContext& context) {
    if (!BuildPatternVertices(context)) {
        return false;
    }
    View3DState& view = context.view;
    std::string bytes;
    const bool written = WriteComposedModel(context, [&]() -> std::string_view {
        const std::optional<FarFieldGrid> coarse =
            DrawnGrid(context.state.Loaded.FarField, kDrawnDetailDegrees);
        std::string refusal;
        if (!coarse) {
            view.Drawn = view.Pattern;
        } else if (!BuildPatternVertices(*coarse, context.state.PiValue, view.Drawn, refusal)) {
            // The whole grid was built, so its coarser copy is too; a failure is a lack of memory.
            throw std::bad_alloc();
        }
        bytes = BinaryModelBytes(view.Drawn);
        return bytes;
    });
    if (!written) {
        return false;
    }
    view.DrawnMesh = PatternSceneMesh(bytes, view.Drawn);
    FrameSubject(view);
    return true;
}

} // namespace lobex
