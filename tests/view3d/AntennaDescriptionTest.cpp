#include "view3d/AntennaDescription.h"
#include "SceneTestSupport.h"
#include "core/TextRules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

namespace lobex {
namespace {

using test::ExpectNear;

// A half-wave dipole as MMANA-GAL writes it: from (0, -5, 10) to (0, 5, 10), fed in the middle.
const char* const kDipole = "Dipole\r\n"
                            "*\r\n"
                            "14.1\r\n"
                            "***Wires***\r\n"
                            "1\r\n"
                            "0.0,\t-5.0,\t10.0,\t0.0,\t5.0,\t10.0,\t8.000e-04,\t-1\r\n"
                            "***Source***\r\n"
                            "1,\t0\r\n"
                            "w1c,\t0.0,\t1.0\r\n"
                            "***Load***\r\n"
                            "0,\t0\r\n"
                            "***Segmentation***\r\n"
                            "800,\t80,\t2.0,\t2\r\n";

AntennaDescription Read(std::string_view text) {
    AntennaDescription description;
    std::string why;
    EXPECT_TRUE(ReadMaaText(text, description, &why)) << why;
    return description;
}

bool Refused(std::string_view text, std::string* why = nullptr) {
    AntennaDescription description;
    return !ReadMaaText(text, description, why);
}

// The dipole file with one line swapped for another.
std::string WithLine(std::string_view from, std::string_view to) {
    std::string text(kDipole);
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

TEST(ReadMaaFile, TheDipoleIsReadAndScaledIntoTheView) {
    AntennaDescription dipole = Read(kDipole);
    EXPECT_EQ(dipole.AntennaName, "Dipole");
    EXPECT_EQ(dipole.FrequencyText, "14.1");
    ASSERT_EQ(dipole.Wires.size(), 1U);
    // The file's (X, Y, Z) is stored as (Y, Z, X).
    ExpectNear(dipole.Wires[0].End1, {-5, 10, 0});
    ExpectNear(dipole.Wires[0].End2, {5, 10, 0});
    EXPECT_FLOAT_EQ(dipole.Wires[0].Radius, 8.0e-4f);
    ASSERT_EQ(dipole.Sources.size(), 1U);
    ExpectNear(dipole.Sources[0].Position, {0, 10, 0});

    // From -5 to 10 the range is 15, so 1.5 / 15 shrinks it tenfold.
    ASSERT_TRUE(ScaleAntenna(dipole));
    ExpectNear(dipole.Wires[0].End1, {-0.5f, 1.0f, 0.0f});
    ExpectNear(dipole.Wires[0].End2, {0.5f, 1.0f, 0.0f});
    ExpectNear(dipole.Sources[0].Position, {0.0f, 1.0f, 0.0f});
}

TEST(ReadMaaFile, TitlesFollowTheStarLineAndRussianFilesAreReadFromWindows1251) {
    EXPECT_EQ(Read(WithLine("Dipole\r\n*\r\n", "*\r\n")).AntennaName, "");
    // Empty lines before the title are skipped; spaces around it go.
    EXPECT_EQ(Read(WithLine("Dipole\r\n", "\r\n\r\n  Dipole 20m  \r\n")).AntennaName, "Dipole 20m");
    EXPECT_EQ(Read(Utf8ToCp1251(WithLine("Dipole", "Диполь на 20 м"))).AntennaName,
              "Диполь на 20 м");
    std::string unix(kDipole); // line ends of any kind
    std::erase(unix, '\r');
    EXPECT_EQ(Read(unix).Wires.size(), 1U);
}

TEST(ReadMaaFile, SectionHeadersAreRecognisedInTheFormsMmanaWrites) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"***Wires***", "* Провода *", true},        {"***Wires***", "*** Провода ***", true},
        {"***Wires***", "***  Wires  ***", false},   {"***Wires***", "*** Wires ***", false},
        {"***Source***", "*** Source ***", true},    {"***Source***", "*** Источ. ***", true},
        {"***Source***", "***SOURCE***", false},     {"***Source***", "***Sources***", false},
        {"***Load***", "***   Load   ***", true},    {"***Load***", "*** Load ***", true},
        {"***Load***", "*** Нагрузка ***", true},    {"***Load***", "***  Load  ***", false},
        {"***Load***", "***Segmentation***", false},
    };
    for (const auto& [from, to, accepted] : cases) {
        EXPECT_EQ(!Refused(Utf8ToCp1251(WithLine(from, to))), accepted) << to;
    }
}

TEST(ReadMaaFile, SourcesSitAtTheWholeWireNumberAndTheirEnd) {
    // Twelve wires; wire n runs from (X, Y, Z) = (n, 0, 0) to (n, 0, 10).
    std::string text = "Array\r\n*\r\n7.1\r\n***Wires***\r\n12\r\n";
    for (int n = 1; n <= 12; ++n) {
        const std::string x = std::to_string(n);
        text.append(x).append(",\t0.0,\t0.0,\t").append(x).append(",\t0.0,\t10.0,\t0.001,\t-1\r\n");
    }
    struct Case {
        const char* place;
        Vector3 position; // scene space: (Y, Z, X)
    };
    const Case cases[] = {
        {"w1c", {0, 5, 1}},   {"w1B", {0, 0, 1}},     {"w1b", {0, 0, 1}},   {"W2E", {0, 10, 2}},
        {"w12c", {0, 5, 12}}, {"w12e1", {0, 10, 12}}, {"w1c-1", {0, 5, 1}}, {"w10b+2", {0, 0, 10}},
    };
    text.append("***Source***\r\n").append(std::to_string(std::size(cases))).append(",\t1\r\n");
    for (const Case& c : cases) {
        text.append(c.place).append(",\t0.0,\t1.0\r\n");
    }
    text.append("***Load***\r\n0,\t1\r\n");
    const AntennaDescription description = Read(text);
    ASSERT_EQ(description.Sources.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_TRUE(description.Sources[i].Valid) << cases[i].place;
        ExpectNear(description.Sources[i].Position, cases[i].position);
    }
}

TEST(ReadMaaFile, PlacesThatNameNoWireEndAreKeptWithoutAPosition) {
    for (const char* place : {"x1c", "w1", "w1q", "wc", "w1c-", "w1cc", ""}) {
        const AntennaDescription description =
            Read(WithLine("w1c,", std::string(place).append(",")));
        ASSERT_EQ(description.Sources.size(), 1U) << place;
        EXPECT_FALSE(description.Sources[0].Valid) << place;
        ExpectNear(description.Sources[0].Position, {0, 0, 0});
    }
}

TEST(ReadMaaFile, FilesThatBreakARuleAreRefusedAndTheOldDescriptionKept) {
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"no wires header", WithLine("***Wires***", "Wires")},
        {"no wires at all", WithLine("***Wires***\r\n1\r\n", "***Wires***\r\n0\r\n")},
        {"a negative wire count", WithLine("***Wires***\r\n1\r\n", "***Wires***\r\n-3\r\n")},
        {"a count beyond 16 bits", WithLine("***Wires***\r\n1\r\n", "***Wires***\r\n40000\r\n")},
        {"more wires than lines", WithLine("***Wires***\r\n1\r\n", "***Wires***\r\n3\r\n")},
        {"a wire line of seven fields", WithLine(",\t-1\r\n", "\r\n")},
        {"a wire line of nine fields", WithLine(",\t-1\r\n", ",\t-1,\t0\r\n")},
        {"a number beyond a float", WithLine("8.000e-04", "1e45")},
        {"a source on a wire the file lacks", WithLine("w1c,", "w2c,")},
        {"a source on wire 0", WithLine("w1c,", "w0b,")},
        {"a source line of two fields", WithLine("w1c,\t0.0,\t1.0", "w1c,\t0.0")},
        {"more sources than lines", WithLine("1,\t0\r\nw1c", "2,\t0\r\nw1c")},
        {"no load header", WithLine("***Load***", "***Segmentation***")},
        {"a load count beyond the file", WithLine("***Load***\r\n0", "***Load***\r\n9")},
        {"an empty file", ""},
        {"only blank lines", "\r\n\r\n  \r\n"},
    };
    AntennaDescription kept = Read(kDipole);
    for (const Case& c : cases) {
        std::string why;
        EXPECT_FALSE(ReadMaaText(c.text, kept, &why)) << c.what;
        EXPECT_FALSE(why.empty()) << c.what;
        EXPECT_EQ(kept.AntennaName, "Dipole") << c.what;
        EXPECT_EQ(kept.Wires.size(), 1U) << c.what;
    }
    EXPECT_EQ(kAntennaReadError, "Ошибка чтения файла описания антенны.");
}

TEST(ReadMaaFile, LoadsKeepTheirFirstField) {
    const AntennaDescription description =
        Read(WithLine("***Load***\r\n0,\t0\r\n", "***Load***\r\n2,\t1\r\nw1c,\t1,\t6.0,\t50.0\r\n"
                                                 "w1b,\t0,\t0.0,\t1.0e-10,\t0\r\n"));
    EXPECT_EQ(description.Loads, (std::vector<std::string>{"w1c", "w1b"}));
}

TEST(ScaleAntenna, AnAntennaWithoutExtentIsLeftAsItIs) {
    AntennaDescription point =
        Read(WithLine("0.0,\t-5.0,\t10.0,\t0.0,\t5.0,\t10.0", "1.0,\t1.0,\t1.0,\t1.0,\t1.0,\t1.0"));
    EXPECT_FALSE(ScaleAntenna(point));
    ExpectNear(point.Wires[0].End1, {1, 1, 1});
    ExpectNear(point.Sources[0].Position, {1, 1, 1});
}

// Every .maa file of the corpus: which are read and which refused, and why.
TEST(ReadMaaFile, TheRealWorldFilesLoadOrAreRefusedForAReason) {
    struct Expected {
        std::size_t wires;
        std::size_t sources;
        std::size_t loads;
        const char* name;
    };
    const std::map<std::string, Expected> readable = {
        {"K1LH_40m-THS-Parasitic.maa", {8, 1, 1, "40m Twin Half Square (Paracitic)"}},
        {"K1LH_40m_Shrunken_Quad.maa", {20, 1, 1, "40m Shrunken Quad (based on N4JTE info)"}},
        {"handiko_3-YAGI-20_taper_notitle.maa", {3, 1, 0, ""}},
        {"handiko_4xQQ_ru_stack.maa", {8, 1, 0, "2ele CQ 20m"}},
        {"handiko_6M-QUAD-CQ_50.15-2E-50R_noext", {8, 1, 0, ""}},
        {"handiko_BIG_Antenna_Array_Monopole_8src.maa", {8, 8, 8, ""}},
        {"handiko_CQ2-4_crlf.maa", {32, 1, 3, nullptr}},
        {"handiko_DDRR4_ru_cyrillic_title.maa",
         {13, 1, 2, "Продолжение перехода от DDRR к короткому вертикалу 3 kHz"}},
        {"handiko_MCQM_oldheaders_Sloads.MAA", {4, 1, 4, "MultBand Loop With Load  20m,15m,10m"}},
        {"handiko_Split_J-ant_V-H145_ru.maa", {12, 1, 0, "Split J-antenna on 145MHz"}},
        {"handiko_Wideband_match_ru.maa", {8, 1, 4, "3.5 and 3.8 MHz GP (c)DL2KQ"}},
        {"mmana2nec_multiband_vertical.maa", {9, 1, 0, "Multiband vertical"}},
        {"yagiantennasim_yagi_2450MHz_notitle.maa", {5, 1, 0, ""}},
    };
    // The Japanese MMANA names its sections in Shift-JIS (*** ﾜｲﾔ *** and so on), which the
    // rules do not know; the NEC deck is no MMANA file at all.
    const std::set<std::string> refused = {
        "MMANA-JA_12EL23CM.MAA", "MMANA-JA_4X12.MAA",    "MMANA-JA_BEVERAGE.MAA",
        "MMANA-JA_DP160LD.MAA",  "MMANA-JA_DP20.MAA",    "MMANA-JA_HB9CV.MAA",
        "MMANA-JA_MAGLOOPC.MAA", "MMANA-JA_MULTDPH.MAA", "handiko_40m_2E_Wire_Beam_NECdeck.maa",
    };
    const std::filesystem::path folder = test::CorpusFolder() / "maa";
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    std::size_t seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        ++seen;
        AntennaDescription description;
        std::string why;
        const bool read = ReadMaaFile(entry.path().string(), description, &why);
        if (refused.count(name) != 0) {
            EXPECT_FALSE(read) << name;
            EXPECT_NE(why.find("строка 4: нет заголовка раздела проводов"), std::string::npos)
                << name << ": " << why;
            continue;
        }
        const auto expected = readable.find(name);
        ASSERT_NE(expected, readable.end()) << "a corpus file this test does not know: " << name;
        ASSERT_TRUE(read) << name << ": " << why;
        EXPECT_EQ(description.Wires.size(), expected->second.wires) << name;
        EXPECT_EQ(description.Sources.size(), expected->second.sources) << name;
        EXPECT_EQ(description.Loads.size(), expected->second.loads) << name;
        if (expected->second.name != nullptr) {
            EXPECT_EQ(description.AntennaName, expected->second.name) << name;
        }
        for (const FeedSource& source : description.Sources) {
            EXPECT_TRUE(source.Valid) << name << " " << source.Place;
        }
        EXPECT_TRUE(ScaleAntenna(description)) << name;
    }
    EXPECT_EQ(seen, readable.size() + refused.size());
}

TEST(ReadMaaFile, RealSourcesBeyondWireNineLandOnTheirOwnWire) {
    // The shrunken quad is fed at w12e1: the far end of wire 12, (7.0, -5.45, 5.45) in the file.
    AntennaDescription quad;
    ASSERT_TRUE(
        ReadMaaFile((test::CorpusFolder() / "maa" / "K1LH_40m_Shrunken_Quad.maa").string(), quad));
    ASSERT_EQ(quad.Sources.size(), 1U);
    ExpectNear(quad.Sources[0].Position, {-5.45f, 5.45f, 7.0f});
    ExpectNear(quad.Sources[0].Position, quad.Wires[11].End2);
}

} // namespace
} // namespace lobex
