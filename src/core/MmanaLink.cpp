#include "MmanaLink.h"

#include "Messages.h"
#include "MmanaTable.h"
#include "TextFile.h"
#include "Texts.h"

namespace lobex {
namespace {

constexpr const char* kNoData = LOBEX_TEXT("Данные не найдены в MMANA");

LoadResult Refuse(LoadResult&& result, std::string_view message) {
    result.status = std::string(kInputErrorStatus);
    return Refused(std::move(result), message, MessageIcon::Information);
}

} // namespace

LoadResult ReadFromMmana(LoadContext& ctx, MmanaWindowLink& link, const LoadRequest& request) {
    AppState& state = ctx.state;
    LoadResult result;
    result.reader = KindMmanaWindow;
    result.data.SelectedSetIndex = static_cast<std::int16_t>(request.set);
    const std::uintptr_t mainWindow = link.FindMainWindow();
    if (mainWindow == 0) {
        return Refuse(std::move(result), LOBEX_TEXT("MMANA не загружена"));
    }
    const std::uintptr_t memo = link.FindMemo(mainWindow);
    if (memo == 0) {
        return Refuse(std::move(result), kNoData);
    }
    const std::string text = link.CopyMemoText(memo);
    if (text.empty()) {
        result.status = kNoData;
        return result;
    }
    if (!IsMmanaTable(text)) {
        return Refuse(std::move(result), kWrongFormatMessage);
    }
    // The copy stays in the temporary folder for whoever wants to look at what was read.
    if (!WriteTextFile(ctx, state.Paths.DataInFile, text, "")) {
        return result;
    }
    Parsed<OptimisationTable> parsed = ParseTable(text, true);
    if (!parsed.result) {
        LoadResult refused = Refusal(KindMmanaWindow, std::move(parsed), request);
        refused.data.DataKind = KindMmanaWindow;
        return refused;
    }
    return DeriveDocument(std::move(*parsed.result), request);
}

} // namespace lobex
