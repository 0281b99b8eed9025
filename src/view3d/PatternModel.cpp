#include "PatternModel.h"

#include "ModelFile.h"
#include "core/AtomicFile.h"
#include "core/TextRules.h"
#include "core/Utf8Path.h"

#include <new>

namespace lobex {

bool WriteComposedModel(View3DContext& context, const std::function<std::string_view()>& compose) {
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
    std::string bytes;
    return WriteComposedModel(context, [&]() -> std::string_view {
        bytes = BinaryModelBytes(context.view.Pattern);
        return bytes;
    });
}

bool WriteTextModel(View3DContext& context) {
    std::string text;
    return WriteComposedModel(context, [&]() -> std::string_view {
        text = TextModelText(context.view.Pattern, context.state.DecimalSeparator);
        return text;
    });
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
