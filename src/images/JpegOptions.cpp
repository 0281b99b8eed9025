#include "JpegOptions.h"

#include "core/Errors.h"
#include "core/TextRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace lobex {

namespace {

constexpr std::string_view kTrue = "True";
constexpr std::string_view kFalse = "False";

} // namespace

bool SettingIsTrue(std::string_view text) {
    const std::string trimmed = TrimSpaces(text);
    const std::string lower = ToLowerAscii(trimmed);
    if (lower == "true") {
        return true;
    }
    if (lower == "false" || trimmed.empty()) {
        return false;
    }
    // A number, and nothing but a number, converts too.
    std::string_view digits = trimmed;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec == std::errc::result_out_of_range) {
        return true;
    }
    return ec == std::errc() && end == digits.data() + digits.size() && value != 0.0;
}

std::int16_t JpegQualityFromText(std::string_view text) {
    constexpr double kLowest = std::numeric_limits<std::int16_t>::min();
    constexpr double kHighest = std::numeric_limits<std::int16_t>::max();
    double value = 0.0;
    try {
        value = LeadingNumber(text);
    } catch (const RuntimeError&) {
        // Only a magnitude too large for a double gets here; its sign decides the end.
        const std::string trimmed = TrimSpaces(text);
        const std::size_t first = trimmed.find_first_not_of('\t');
        value = first != std::string::npos && trimmed[first] == '-' ? kLowest : kHighest;
    }
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<std::int16_t>(std::clamp(RoundHalfEven(value), kLowest, kHighest));
}

int JpegSideFromText(std::string_view text) {
    static constexpr int kLargestSide = 16384;
    return std::clamp<int>(JpegQualityFromText(text), 0, kLargestSide);
}

int EncoderQuality(std::int16_t quality) {
    return std::clamp<int>(quality, 0, 100);
}

JpegSettingsText ReadJpegSettings(SettingsStore& settings) {
    JpegSettingsText fields;
    fields.Width = ReadSetting(settings, kJpegWidthSetting);
    fields.Height = ReadSetting(settings, kJpegHeightSetting);
    fields.Quality = ReadSetting(settings, kJpegQualitySetting);
    fields.Progressive = SettingIsTrue(ReadSetting(settings, kJpegProgressiveSetting));
    fields.Grayscale = SettingIsTrue(ReadSetting(settings, kJpegGrayscaleSetting));
    return fields;
}

JpegOptions StoreJpegSettings(SettingsStore& settings, const JpegSettingsText& fields) {
    const std::string quality = TrimSpaces(fields.Quality);
    WriteSetting(settings, kJpegWidthSetting, TrimSpaces(fields.Width));
    WriteSetting(settings, kJpegHeightSetting, TrimSpaces(fields.Height));
    WriteSetting(settings, kJpegQualitySetting, quality);
    WriteSetting(settings, kJpegProgressiveSetting, fields.Progressive ? kTrue : kFalse);
    WriteSetting(settings, kJpegGrayscaleSetting, fields.Grayscale ? kTrue : kFalse);

    JpegOptions options;
    options.Quality = JpegQualityFromText(quality);
    options.Progressive = fields.Progressive;
    options.Grayscale = fields.Grayscale;
    options.Width = JpegSideFromText(fields.Width);
    options.Height = JpegSideFromText(fields.Height);
    return options;
}

} // namespace lobex
