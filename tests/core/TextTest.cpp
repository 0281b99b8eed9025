#include "LoadHarness.h"
#include "core/Errors.h"
#include "core/TextFile.h"
#include "core/TextRules.h"
#include "core/Utf8Path.h"
#include "model/ShortestDecimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace lobex {
namespace {

TEST(TextLines, AcceptsEveryLineEndAndDropsAByteOrderMark) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},   {"a\rb\r", {"a", "b"}},
        {"a\r\r\nb", {"a", "", "b"}}, {"\xEF\xBB\xBFhead\r\nrow", {"head", "row"}},
        {"\n\r", {"", ""}}, // LF then CR: two line ends, not one
    };
    for (const auto& [bytes, expected] : cases) {
        TextLines text(bytes);
        std::vector<std::string> lines;
        for (std::string_view line; text.Next(line);) {
            lines.emplace_back(line);
        }
        EXPECT_EQ(lines, expected) << '"' << bytes << '"';
    }
    EXPECT_EQ(FirstLine("\xD7\xE0\xF1\xF2\xEE\xF2\xE0\r\nrest"), "Частота"); // decoded
}

TEST(ReadFileBytes, ReadsEveryByteAndNamesWhatWentWrong) {
    test::TempFolder folder;
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 7);
    }
    EXPECT_EQ(ReadFileBytes(folder.Write("all.bin", bytes)), bytes);
    const auto failure = [](const std::string& path) -> std::optional<ReadFailure> {
        try {
            ReadFileBytes(path);
        } catch (const ReadError& e) {
            return e.Failure();
        }
        return std::nullopt;
    };
    EXPECT_EQ(failure((folder.Path() / "missing.csv").string()), ReadFailure::NotFound);
    EXPECT_EQ(failure(folder.Path().string()), ReadFailure::NotAFile);
#ifndef _WIN32
    // A pipe would block the program for good: refused without opening it.
    const std::string pipe = (folder.Path() / "pipe.csv").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(failure(pipe), ReadFailure::NotAFile);
#endif
    // Lines up to the longest allowed are read, with any line end; one byte more is refused,
    // also when it runs past the first block read.
    const std::string line(kMaxLineLength, 'x');
    for (const char* end : {"\r\n", "\n", "\r"}) {
        const std::string text = line + end + "1" + end + line;
        EXPECT_EQ(ReadFileBytes(folder.Write("fits.csv", text)), text);
    }
    EXPECT_EQ(failure(folder.Write("long.csv", "1\n" + line + "x")), ReadFailure::LineTooLong);
    EXPECT_EQ(failure(folder.Write("huge.csv", std::string(std::size_t{9} << 20, 'x'))),
              ReadFailure::LineTooLong);
}

TEST(WriteTextFile, WritesWithCrLfOrKeepsTheOldFileAndSaysSo) {
    test::LoadHarness h;
    test::TempFolder folder;
    const std::string path = (folder.Path() / "export.csv").string();
    ASSERT_TRUE(WriteTextFile(h.ctx, path, "1,2\r\n3,4", "a,b"));
    EXPECT_EQ(test::ReadBytes(path), "a,b\r\n1,2\r\n3,4\r\n");
    EXPECT_TRUE(h.messages.shown.empty());
    // A missing folder: one message, and nothing else is touched (the atomic writer's tests
    // cover what is left behind).
    const std::string missing = (folder.Path() / "no" / "x.csv").string();
    EXPECT_FALSE(WriteTextFile(h.ctx, missing, "body", "head"));
    const std::string text = "Ошибка записи в файл. Данные не сохранены.\r\n" + missing + ": " +
                             std::make_error_code(std::errc::no_such_file_or_directory).message();
    EXPECT_EQ(h.messages.shown, (test::MessageList{{text, MessageIcon::Critical, "Lobex", ""}}));
}

#ifndef _WIN32
// File names that are not UTF-8 exist only where names are bytes.
TEST(Utf8Path, NamesComeBackAsTheBytesTheyWere) {
    // Latin-1 "café" (not UTF-8), UTF-8 Cyrillic, and a lone continuation byte.
    const std::vector<std::string> names = {
        "caf\xe9.csv", "\xd0\xb4\xd0\xb0\xd0\xbd\xd0\xbd\xd1\x8b\xd0\xb5.csv", "x\x80y.png"};
    // Written under each name and listed back, each name comes back as it was.
    test::TempFolder folder;
    for (const std::string& name : names) {
        std::ofstream(Utf8Path(folder.Path().string() + "/" + name)) << "data";
    }
    std::set<std::string> found;
    for (const std::filesystem::directory_entry& entry :
         std::filesystem::directory_iterator(Utf8Path(folder.Path().string()))) {
        found.insert(PathToUtf8(entry.path().filename()));
    }
    EXPECT_EQ(found, std::set<std::string>(names.begin(), names.end()));
}
#endif

TEST(LeadingNumber, ReadsTheNumberAtTheStartAndStopsAtTheFirstForeignCharacter) {
    const std::pair<const char*, double> cases[] = {
        {"  14.15abc", 14.15}, {"\t+.5", 0.5}, {"-3e2x", -300.0}, {"1e+", 1.0},   {"12E3.4", 12000},
        {"abc", 0.0},          {"- 5", 0.0},   {"14,1", 14.0},    {"1.2.3", 1.2}, {"0x10", 0.0},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_DOUBLE_EQ(LeadingNumber(text), expected) << '"' << text << '"';
    }
    EXPECT_EQ(LeadingFloat("1e-50"), 0.0f); // too small for a float: zero, not an error
    EXPECT_THROW(LeadingFloat("-5e40"), RuntimeError);
    EXPECT_THROW(LeadingNumber("1e400"), RuntimeError);
}

TEST(LeadingNumber, ReadsEveryShortDecimalAsTheNearestValue) {
    // Checked against the C library's correctly rounded conversion, in the "C" locale.
    std::mt19937_64 random(11);
    for (int i = 0; i < 50000; ++i) {
        const int digits = 1 + static_cast<int>(random() % 17);
        std::string text = random() % 4 == 0 ? "-" : "";
        const int point = static_cast<int>(random() % static_cast<std::uint64_t>(digits + 1));
        for (int d = 0; d < digits; ++d) {
            text += d == point && d > 0 ? "." : "";
            text += static_cast<char>('0' + random() % 10);
        }
        ASSERT_EQ(LeadingFloat(text), std::strtof(text.c_str(), nullptr)) << text;
        ASSERT_EQ(LeadingNumber(text), std::strtod(text.c_str(), nullptr)) << text;
        // MMANA's plain form, read in one pass, gives the rule's value or leaves the field to it.
        const char* const ends[] = {",1.5,-999.00\r\n", "\r\n", "", "x1234567", "\n30.0,"};
        const std::string field = text + ends[random() % 5];
        const char* p = field.data();
        float plain = 0.0f;
        if (ReadPlainFloat(p, field.data() + field.size(), plain)) {
            ASSERT_EQ(plain, LeadingFloat(text)) << field;
            ASSERT_EQ(p, field.data() + text.size()) << field;
        } else {
            ASSERT_EQ(p, field.data()) << field;
        }
    }
    EXPECT_EQ(LeadingFloat("16777217"), 16777216.0f); // one past the mantissa, rounded to even
}

TEST(FormatPattern, RoundsTheShortestDecimalTextHalfAwayFromZero) {
    const std::tuple<float, const char*, const char*, const char*> cases[] = {
        {0.45f, "#0.0", ".", "0.5"},
        {-0.05f, "#0.0", ".", "-0.1"},
        {2.675f, "#0.00", ".", "2.68"},
        {12.5f, "#0.0#", ",", "12,5"},
        {9.995f, "#0.00", ".", "10.00"},
        {-0.004f, "#0.00", ".", "0.00"},
        {1e20f, "#0.00", ".", "100000000000000000000.00"},
    };
    for (const auto& [value, pattern, separator, expected] : cases) {
        EXPECT_EQ(FormatPattern(value, pattern, separator), expected) << value << " " << pattern;
    }
    EXPECT_EQ(FormatPattern(0.125, "#0.00", "."), "0.13"); // a double from its own text
    EXPECT_EQ(FormatPattern(std::nan(""), "#0.00", "."), "NaN");
}

TEST(ShortestText, GivesTheShortestTextThatReadsBack) {
    const std::pair<float, const char*> cases[] = {
        {0.1f, "0.1"},    {16777216.0f, "16777216"}, {0.00001f, "0.00001"},
        {1e-6f, "1E-06"}, {1.5e15f, "1.5E+15"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(ShortestText(value), text);
    }
    for (float value : {14.15f, -195.27f, 3.14159274f, 1e-30f, 3.4e38f}) {
        EXPECT_EQ(LeadingFloat(ShortestText(value)), value) << value;
    }
    // Writers of doubles and arithmetic on read decimals take the float's decimal.
    EXPECT_EQ(ShortestDecimal(11.74f), 11.74);
    EXPECT_EQ(static_cast<float>(90.0 - ShortestDecimal(72.1f)), 17.9f);
    EXPECT_NE(90.0f - 72.1f, 17.9f); // the noise this avoids
}

TEST(PointText, WritesAPointWhateverTheLocaleAndReadsTheLocalesSymbolBack) {
    EXPECT_EQ(PointText(1.8f, ","), "1.8");
    EXPECT_EQ(PointText(0.25f, "\u066B"), "0.25"); // a multi-byte separator (Arabic)
    EXPECT_EQ(LocaleNumberText(1.5f, ","), "1,5");
    EXPECT_EQ(ToPointForm("1,2,3", ","), "1.2,3"); // only the first one
}

TEST(IntegerConversions, RoundHalvesToTheEvenNeighbourAndRefuseWhatDoesNotFit) {
    const std::pair<double, double> cases[] = {{0.5, 0.0}, {1.5, 2.0}, {-2.5, -2.0}, {0.6, 1.0}};
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(RoundHalfEven(value), expected) << value;
    }
    EXPECT_EQ(ToInt16(-32768.5), -32768);
    EXPECT_THROW(ToInt16(32767.5), RuntimeError);
    EXPECT_THROW(ToInt16(std::nan("")), RuntimeError);
}

TEST(Decoding, TakesUtf8WithOrWithoutBomElseWindows1251) {
    EXPECT_EQ(DecodeText("Частота,R"), "Частота,R");
    EXPECT_EQ(DecodeText("\xD7\xE0\xF1\xF2\xEE\xF2\xE0"), "Частота");
    EXPECT_EQ(DecodeText("\xB9 \xA8\xB8 \x96"), "№ Ёё –");
    // After a byte order mark, bytes that are no UTF-8 are still Windows-1251, never passed on.
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF\xD7\xE0\xF1\xF2\xEE\xF2\xE0"), "Частота");
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));     // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // surrogate
    std::string all(256, '\0');
    std::iota(all.begin(), all.end(), '\0'); // every byte
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
    EXPECT_EQ(Utf8ToCp1251("Ж€✓"), "\xC6\x88?");
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

// The JIS table in its order, across the trail byte no pair uses; bytes that name no character
// become replacement characters.
TEST(Cp932, ReadsTheJisTableAndReplacesBytesThatNameNoCharacter) {
    const std::string r(kReplacement);
    const std::pair<std::string, std::string> cases[] = {
        // The katakana from 0x8340 to 0x8396 are consecutive characters; trail 0x7F is skipped.
        {"\x83\x40\x83\x7E\x83\x80\x83\x96", "ァミムヶ"},
        {"\x82\x9F\x82\xF1", "ぁん"},
        {"\x83\x9F\x83\xB6", "ΑΩ"},
        // The first and the last kanji of JIS, and the last of IBM's extension.
        {"\x88\x9F\xEA\xA4\xFC\x4B", "亜熙黑"},
        {"\xA1\xDC\xB2\xD4\xDF", "｡ﾜｲﾔﾟ"}, // half-width katakana are single bytes
        {"w1c,\t0.0\r\n", "w1c,\t0.0\r\n"},
        {"\x93\x64\x93", "電" + r},                  // a lead byte cut off by the end
        {"\x93\r\n", r + "\r\n"},                    // a trail out of range is a byte of its own
        {"\x83\x7F", r + "\x7F"},                    // the trail byte no pair uses
        {"\x85\x40x", r + "x"},                      // a pair in a hole of the table
        {"\xF0\x40\xF9\xFC", r + r},                 // the user-defined area
        {"\x80\xA0\xFD\xFE\xFF", r + r + r + r + r}, // bytes that are neither
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(Cp932ToUtf8(bytes), text);
    }
}

TEST(Decoding, TakesWindows932OnlyWhenTheTextIsJapanese) {
    const std::pair<std::string, std::string> japanese[] = {
        {"*** \x8B\x8B\x93\x64\x93\x5F ***", "*** 給電点 ***"},
        {"*** \xDC\xB2\xD4 ***", "*** ﾜｲﾔ ***"},
        {"SWR(50.0\x83\xB6)", "SWR(50.0Ω)"},
        // A lead byte cut off by the end of the text does not make it some other encoding.
        {"R(\x83\xB6)\x83", "R(Ω)" + std::string(kReplacement)},
    };
    for (const auto& [bytes, text] : japanese) {
        EXPECT_EQ(DetectEncoding(bytes), TextEncoding::Cp932) << text;
        EXPECT_EQ(DecodeText(bytes), text);
    }
    const std::pair<std::string, std::string> russian[] = {
        // Cyrillic capitals read as Shift-JIS are half-width katakana, and a dash before a small
        // letter is a kanji: neither is enough to call a text Japanese.
        {"\xCA\xD1\xC2", "КСВ"},
        {"\x97\xE2", "—в"},
        // An ohm sign in bytes that are no Shift-JIS throughout.
        {"\x83\xB6 \xF2\xEE\xEA", "ѓ¶ ток"},
        {"R(\x83\xB6)\x83\x7F", "R(ѓ¶)ѓ\x7F"},
    };
    for (const auto& [bytes, text] : russian) {
        EXPECT_EQ(DetectEncoding(bytes), TextEncoding::Cp1251) << text;
        EXPECT_EQ(DecodeText(bytes), text);
    }
    EXPECT_EQ(DetectEncoding("R(Ω)"), TextEncoding::Utf8);
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF*** \xDC\xB2\xD4 ***"), TextEncoding::Cp932);
}

} // namespace
} // namespace lobex
