#include "MmanaLink.h"

#include "DataGrid.h"
#include "MmanaTable.h"
#include "TextFile.h"

#include <array>

namespace lobex {
namespace {

constexpr const char* kInputError = "Ошибка ввода данных";
constexpr const char* kNoData = "Данные не найдены в MMANA";

bool Refuse(LoadContext& ctx, const char* message) {
    ctx.messages.Show(message, MessageIcon::Information, ctx.state.AppTitle);
    ctx.view.SetStatus(kInputError);
    return false;
}

} // namespace

bool ReadFromMmana(LoadContext& ctx, MmanaWindowLink& link) {
    AppState& state = ctx.state;
    state.MmanaMainWindow = link.FindMainWindow();
    if (state.MmanaMainWindow == 0) {
        return Refuse(ctx, "MMANA не загружена");
    }
    state.MmanaMemo = link.FindMemo(state.MmanaMainWindow);
    if (state.MmanaMemo == 0) {
        return Refuse(ctx, kNoData);
    }
    state.Data.DataText = link.CopyMemoText(state.MmanaMemo);
    if (state.Data.DataText.empty()) {
        ctx.view.SetStatus(kNoData);
        return false;
    }
    if (!IsMmanaTable(state.Data.DataText)) {
        return Refuse(ctx, "Неправильный формат данных");
    }
    // The parser reads the copy back; without a fresh copy it would read an old table.
    if (!WriteTextFile(ctx, state.DataInFile, state.Data.DataText, "")) {
        return false;
    }
    state.Data.DataKind = KindMmanaWindow;
    if (!ParseMmanaText(ctx, state.DataInFile, state.Data.SelectedSetIndex)) {
        return false;
    }
    static const std::array<const char*, kSeriesCount> labels = {"Parameter", "R",     "j X", "SWR",
                                                                 "Ga",        "F / B", "Elev"};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        state.Data.Series[i].Label = labels[i];
    }
    ctx.view.FillCombos(0);
    return true;
}

bool RunMmanaLoad(LoadContext& ctx, MmanaWindowLink& link) {
    AppState& state = ctx.state;
    state.SourceIndex = 0;
    ClearGrid(ctx);
    state.LogX = false;
    state.LogY = false;
    if (!state.SetChosen) {
        ctx.view.ParamClear();
    }
    if (!ReadFromMmana(ctx, link) || !FillGrid(ctx) || !GridToSeries(ctx)) {
        state.Data.DataText.clear();
        return false;
    }
    return true;
}

} // namespace lobex
