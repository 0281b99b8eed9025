#include "MaaModel.h"

#include <algorithm>

namespace lobex {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<MaaPlace> ParseMaaPlace(std::string_view place) {
    if (place.empty() || (place.front() != 'w' && place.front() != 'W')) {
        return std::nullopt;
    }
    std::size_t at = 1;
    MaaPlace result;
    while (at < place.size() && IsDigit(place[at])) {
        // Larger numbers name no wire of any file that can be read; keep them out of range.
        result.Wire = std::min(result.Wire * 10 + (place[at] - '0'), 100000);
        ++at;
    }
    if (at == 1 || at >= place.size()) {
        return std::nullopt;
    }
    switch (place[at]) {
    case 'b':
    case 'B':
        result.End = 'B';
        break;
    case 'c':
    case 'C':
        result.End = 'C';
        break;
    case 'e':
    case 'E':
        result.End = 'E';
        break;
    default:
        return std::nullopt;
    }
    ++at;
    int sign = 1;
    if (at < place.size() && (place[at] == '+' || place[at] == '-')) {
        result.Signed = true;
        sign = place[at] == '-' ? -1 : 1;
        ++at;
        if (at == place.size()) {
            return std::nullopt;
        }
    }
    for (; at < place.size(); ++at) {
        if (!IsDigit(place[at])) {
            return std::nullopt;
        }
        result.Offset = std::min(result.Offset * 10 + (place[at] - '0'), 100000);
    }
    result.Offset *= sign;
    return result;
}

} // namespace lobex
