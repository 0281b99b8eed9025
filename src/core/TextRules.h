#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The number and text rules every reader and writer shares. Text is UTF-8 throughout.
namespace lobex {

// The classic leading-number rule: blanks (spaces, tabs), an optional sign, digits, an optional
// "." and digits, an optional exponent (e or E, sign, digits). Reading stops at the first
// character that cannot continue the number; no number at all gives 0. The point is always ".".
double LeadingNumber(std::string_view text);
// The same, also giving where the number ended (0 when there was none).
double LeadingNumber(std::string_view text, std::size_t& stop);
// The same rule, the digits read directly as the nearest 32-bit float. Out-of-range magnitudes
// raise RuntimeError("Overflow"), as the conversion to a 32-bit value does.
float LeadingFloat(std::string_view text);
// The same, also giving where the number ended (0 when there was none), so a caller walking a
// line need not search the number's characters again.
float LeadingFloat(std::string_view text, std::size_t& stop);

// A number the user's locale formatted, in "." form: the first decimalSeparator becomes ".".
std::string ToPointForm(std::string_view text, std::string_view decimalSeparator);

// The shortest text that reads back to the same value ("0.1", "1e-05", "-177.29").
std::string ShortestText(float value);
std::string ShortestText(double value);

// MMANA's own number form, "-12.34" with at most seven digits, ended by a comma or a line end:
// read from p straight into the value LeadingFloat gives it, p moved past it. False, p
// unchanged, for any other form, which LeadingFloat then reads.
bool ReadPlainFloat(const char*& p, const char* end, float& value);

// A number's shortest text as the user's locale writes it: the point becomes decimalSeparator.
std::string LocaleNumberText(float value, std::string_view decimalSeparator);

// A number's shortest text with the first decimalSeparator replaced by "." (plot commands and
// the text model writer need the point whatever the locale).
std::string PointText(float value, std::string_view decimalSeparator);

// Formats with a pattern such as "#0.00###": "0" marks a digit always shown, "#" one shown only
// when it is not a trailing zero. The shortest decimal text of the value is rounded half away
// from zero, so 0.45f with "#0.0" is "0.5". decimalSeparator is the locale's decimal symbol.
std::string FormatPattern(float value, std::string_view pattern, std::string_view decimalSeparator);
std::string FormatPattern(double value, std::string_view pattern,
                          std::string_view decimalSeparator);

// Rounds to the nearest whole number, halves to the even neighbour (0.5 -> 0, 1.5 -> 2).
double RoundHalfEven(double value);
// Conversions to 16- and 32-bit integers, rounding halves to even; a result out of range raises
// RuntimeError("Overflow").
std::int16_t ToInt16(double value);
std::int32_t ToInt32(double value);

// Removes spaces (not tabs) at both ends.
std::string TrimSpaces(std::string_view text);
// Splits at every occurrence of delimiter. Empty text gives no fields at all; a delimiter that
// is not found gives the whole text as the one field.
std::vector<std::string> Split(std::string_view text, std::string_view delimiter);
// Trims both ends and turns every run of spaces into one space.
std::string CollapseSpaces(std::string_view text);
// Splits text into lines ended by CR LF, LF or CR; a final line end does not add an empty line.
std::vector<std::string> SplitLines(std::string_view text);

// ASCII-only case folding: enough for the markers the readers look for ("Val", "No goal").
std::string ToLowerAscii(std::string_view text);
// The extension of a path's last name, after its last dot, in lower case ("Graph.SVG" gives
// "svg"); empty when that name has no dot. A leading dot counts: ".png" gives "png".
std::string LowerExtension(std::string_view path);
bool ContainsNoCase(std::string_view text, std::string_view needle);

bool IsValidUtf8(std::string_view bytes);
std::string Cp1251ToUtf8(std::string_view bytes);
// Characters Windows-1251 cannot hold become "?".
std::string Utf8ToCp1251(std::string_view text);
// Windows-932, the Shift-JIS Japanese MMANA writes: a byte or pair that names no character, a
// lead byte cut off by the end of the text included, becomes U+FFFD.
std::string Cp932ToUtf8(std::string_view bytes);

enum class TextEncoding { Utf8, Cp932, Cp1251 };
// Which encoding input bytes are in, a byte order mark aside: UTF-8 when they are valid UTF-8;
// Windows-932 when every byte reads as Shift-JIS and the text holds what only Japanese text does
// (kana, full-width forms, the ohm sign MMANA writes, its Japanese section words); else
// Windows-1251, which is what a Russian MMANA writes.
TextEncoding DetectEncoding(std::string_view bytes);
// Input files are bytes, in the encoding DetectEncoding finds; the text returned is UTF-8.
std::string DecodeText(std::string_view bytes);

} // namespace lobex
