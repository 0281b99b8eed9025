#pragma once

#include "core/DataView.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace lobex::test {

// The main window's controls as plain values, and every call a loader made to them.
class RecordingView final : public DataView {
public:
    struct ParamEntry {
        std::string text;
        int itemData = 0;
    };

    void ParamClear() override {
        params.clear();
        paramIndex = -1;
    }
    void ParamAddItem(std::string_view text, int itemData) override {
        params.push_back({std::string(text), itemData});
    }
    int ParamCount() const override { return static_cast<int>(params.size()); }
    std::string ParamItemText(int index) const override {
        return params.at(static_cast<std::size_t>(index)).text;
    }
    int ParamItemData(int index) const override {
        return params.at(static_cast<std::size_t>(index)).itemData;
    }
    int ParamListIndex() const override { return paramIndex; }
    void ParamSetListIndex(int index) override {
        paramIndex = index;
        if (onParamClick) {
            onParamClick(index);
        }
    }
    void ParamSetEnabled(bool) override {}
    void SetParamCaption(std::string_view caption) override { paramCaption = caption; }

    void FillCombos(int kind) override { fillCombos.push_back(kind); }
    void SetPatternControls(bool enabled) override { patternControls.push_back(enabled); }
    void Set3DButtonEnabled(bool enabled) override { button3D = enabled; }
    bool ShowPattern(int left, int right) override {
        showPattern.emplace_back(left, right);
        return onShowPattern ? onShowPattern(left, right) : true;
    }
    void SetStatus(std::string_view text) override { statuses.emplace_back(text); }

    void ShowGrid(const GridTable& table) override { grid = table; }
    void SelectGridRow(int row) override { selectedRow = row; }
    int GridCurrentRow() const override { return selectedRow; }
    void PumpEvents() override { ++pumps; }

    std::vector<ParamEntry> params;
    int paramIndex = -1;
    std::string paramCaption;
    std::function<void(int)> onParamClick;

    std::vector<int> fillCombos;
    std::vector<bool> patternControls;
    bool button3D = true;
    std::vector<std::pair<int, int>> showPattern;
    std::function<bool(int, int)> onShowPattern;
    std::vector<std::string> statuses;

    GridTable grid;
    int selectedRow = 1;
    int pumps = 0;
};

} // namespace lobex::test
