#include "CliSupport.h"

#include "core/DataGrid.h"
#include "core/FarField.h"
#include "core/LoadFlow.h"
#include "platform/LocaleInfo.h"

#include <algorithm>
#include <charconv>

namespace lobex::cli {

bool ParseLoadOptions(const std::vector<std::string>& args, LoadOptions& options,
                      std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--set") {
            int value = 0;
            const std::string text = hasValue ? args[i + 1] : std::string();
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (!hasValue || ec != std::errc() || end != text.data() + text.size()) {
                error = "--set needs a whole number";
                return false;
            }
            options.set = value;
            ++i;
        } else if (arg == "--decimal") {
            if (!hasValue || args[i + 1].empty()) {
                error = "--decimal needs the decimal symbol";
                return false;
            }
            options.decimal = args[i + 1];
            ++i;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else if (options.file.empty()) {
            options.file = arg;
        } else {
            error = "one FILE only";
            return false;
        }
    }
    if (options.file.empty() && !options.help) {
        error = "FILE is missing";
        return false;
    }
    return true;
}

void RecordingMessages::Show(std::string_view text, MessageIcon icon, std::string_view) {
    shown.push_back({icon, std::string(text)});
}

void HeadlessView::ParamClear() {
    entries_.clear();
    selected_ = -1;
}

void HeadlessView::ParamAddItem(std::string_view text, int itemData) {
    entries_.push_back({std::string(text), itemData});
}

int HeadlessView::ParamCount() const {
    return static_cast<int>(entries_.size());
}

std::string HeadlessView::ParamItemText(int index) const {
    return entries_.at(static_cast<std::size_t>(index)).text;
}

int HeadlessView::ParamItemData(int index) const {
    return entries_.at(static_cast<std::size_t>(index)).itemData;
}

int HeadlessView::ParamListIndex() const {
    return selected_;
}

void HeadlessView::ParamSetListIndex(int index) {
    selected_ = index;
}

bool HeadlessView::ShowPattern(int, int) {
    return ctx_ != nullptr && BuildPatternCuts(*ctx_);
}

void HeadlessView::SelectGridRow(int row) {
    gridRow_ = row;
}

int HeadlessView::GridCurrentRow() const {
    return gridRow_;
}

Session::Session() {
    view.Attach(&ctx_);
    SetDefaultLabels(state.Data);
}

bool Session::Load(const LoadOptions& options, std::ostream& err) {
    state.DecimalSeparator = options.decimal ? *options.decimal : GetDecimalSeparator();
    ClearGrid(ctx_);
    if (!RunFileOpen(ctx_, options.file)) {
        return false;
    }
    if (!options.set) {
        return true;
    }
    for (int index = 0; index < view.ParamCount(); ++index) {
        if (view.ParamItemData(index) == *options.set) {
            view.ParamSetListIndex(index);
            return ReloadForParamEntry(ctx_, index);
        }
    }
    err << "lobex-cli: the set list holds no entry " << *options.set << '\n';
    return false;
}

std::vector<std::string> ColumnsInUse(const AppState& state) {
    const std::vector<std::string>& header = state.DataGrid.header;
    const auto count = static_cast<std::size_t>(LastColumnInUse(state.Data.DataKind)) + 1;
    return std::vector<std::string>(
        header.begin(),
        header.begin() + static_cast<std::ptrdiff_t>(std::min(count, header.size())));
}

} // namespace lobex::cli
