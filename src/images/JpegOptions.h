#pragma once

#include "core/Services.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace lobex {

// What the JPEG options dialog hands to the image writer. A JPEG picture is scaled to fit
// inside Width x Height with its aspect kept (0: no limit that way) and written progressive
// when asked.
struct JpegOptions {
    std::int16_t Quality = 75;
    bool Progressive = false;
    bool Grayscale = false;
    int Width = 0;
    int Height = 0;
};

// The dialog's fields as stored in the settings ("JPEG" section).
struct JpegSettingsText {
    std::string Width;
    std::string Height;
    std::string Quality;
    bool Progressive = false;
    bool Grayscale = false;
};

// Reads the stored fields, with the defaults 490, 290, 75 and both switches off.
JpegSettingsText ReadJpegSettings(SettingsStore& settings);

// Trims the three texts, stores everything ("True"/"False" for the switches) and returns the
// options that follow from it.
JpegOptions StoreJpegSettings(SettingsStore& settings, const JpegSettingsText& fields);

// A stored switch read as a boolean: "True"/"False" in any letter case, or a number (not 0 is
// true). Anything else counts as false rather than failing.
bool SettingIsTrue(std::string_view text);

// The quality a stored setting gives: its leading number rounded half to even, 0 when none.
// Values beyond the 16-bit range stop at its ends instead of failing.
std::int16_t JpegQualityFromText(std::string_view text);

// A side of the picture from its stored text: the leading number rounded, 0 (no limit) when
// there is none or it is not positive, at most 16384 pixels.
int JpegSideFromText(std::string_view text);

// The quality the JPEG encoder is given: 0 to 100.
int EncoderQuality(std::int16_t quality);

} // namespace lobex
