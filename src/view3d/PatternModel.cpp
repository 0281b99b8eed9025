#include "PatternModel.h"

#include "ModelFile.h"
#include "ViewScene.h"
#include "core/AtomicFile.h"
#include "core/TextRules.h"
#include "core/Utf8Path.h"

#include <new>

namespace lobex {
namespace {

// Composes the model in memory and writes it; running out of memory counts as a failed write.
template <typename Compose>
bool WriteModel(View3DContext& context, Compose compose) {
    const std::string& path = context.state.Paths.TempModelFile;
    std::string reason;
    try {
        const FileWriteResult written = WriteAtomically(Utf8Path(path), compose());
        if (written.ok) {
            return true;
        }
        reason = written.error;
    } catch (const std::bad_alloc&) {
        reason = "out of memory";
    }
    context.messages.Show(WithCause(kWriteError, path, reason), MessageIcon::Critical,
                          context.state.AppTitle);
    return false;
}

} // namespace

bool BuildPatternVertices(View3DContext& context) {
    std::string refusal;
    try {
        if (BuildPatternVertices(context.state.Loaded.FarField, context.state.PiValue,
                                 context.view.Pattern, refusal)) {
            return true;
        }
    } catch (const std::bad_alloc&) {
        refusal = kTooManyNodes;
    }
    context.messages.Show(refusal, MessageIcon::Information, context.state.AppTitle);
    return false;
}

bool WriteBinaryModel(View3DContext& context) {
    return WriteModel(context, [&] { return BinaryModelBytes(context.view.Pattern); });
}

bool WriteTextModel(View3DContext& context) {
    return WriteModel(context, [&] {
        return TextModelText(context.view.Pattern, context.state.DecimalSeparator);
    });
}

bool PreparePatternModel(View3DContext& context) {
    if (!BuildPatternVertices(context)) {
        return false;
    }
    View3DState& view = context.view;
    std::string bytes;
    const bool written = WriteModel(context, [&]() -> std::string_view {
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

bool DescriptionFileHook(const std::string& /*modelPath*/, const std::string& /*descriptionPath*/) {
    return false;
}

std::string DescriptionPathFor(std::string_view csvPath) {
    constexpr std::string_view extension = ".csv";
    std::size_t at = csvPath.size() > 1 ? csvPath.find(extension, 1) : std::string_view::npos;
    if (at == std::string_view::npos && csvPath.size() > 1) {
        at = ToLowerAscii(csvPath).find(extension, 1);
    }
    std::string result(csvPath.substr(0, at));
    result.append(".dsc");
    return result;
}

} // namespace lobex
