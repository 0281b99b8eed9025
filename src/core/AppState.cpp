#include "AppState.h"

#include "Texts.h"

namespace lobex {

int LastColumnInUse(std::int16_t kind) {
    switch (kind) {
    case KindNearField:
    case KindCurrents:
        return 4;
    case KindSweep:
        return 5;
    case KindFarField:
        return 3;
    default:
        return kSeriesUpperBound;
    }
}

const SeriesRecord* SeriesOf(const DataSet& data, int column) {
    if (column >= 0 && column < kSeriesCount) {
        return &data.Series[static_cast<std::size_t>(column)];
    }
    const std::size_t derived = static_cast<std::size_t>(column - kSeriesCount);
    return column >= kSeriesCount && derived < data.Derived.size() ? &data.Derived[derived]
                                                                   : nullptr;
}

float SeriesMax(const std::vector<float>& values) {
    if (values.empty()) {
        return 0.0f;
    }
    float result = values[0];
    for (float value : values) {
        if (value > result) {
            result = value;
        }
    }
    return result;
}

float SeriesMin(const std::vector<float>& values) {
    if (values.empty()) {
        return 0.0f;
    }
    float result = values[0];
    for (std::size_t i = 1; i < values.size(); ++i) {
        if (values[i] < result) {
            result = values[i];
        }
    }
    return result;
}

void StoreSeriesLimits(DataSet& data, int last) {
    for (int c = 0; c <= last && c < kSeriesCount; ++c) {
        SeriesRecord& series = data.Series[static_cast<std::size_t>(c)];
        series.Max = SeriesMax(series.Values);
        series.Min = SeriesMin(series.Values);
    }
}

void SetLabels(DataSet& data, const std::array<const char*, kSeriesCount>& labels) {
    for (std::size_t i = 0; i < labels.size(); ++i) {
        data.Series[i].Label = labels[i];
    }
}

std::vector<std::string> SeriesLabels(const DataSet& data) {
    std::vector<std::string> labels;
    for (const SeriesRecord& series : data.Series) {
        labels.push_back(series.Label);
    }
    return labels;
}

void SetDefaultLabels(DataSet& data) {
    SetLabels(data, {LOBEX_TEXT("Параметр"), "R", "j X", LOBEX_TEXT("КСВ"), LOBEX_TEXT("Усиление"),
                     "F / B", LOBEX_TEXT("Зенит")});
}

} // namespace lobex
