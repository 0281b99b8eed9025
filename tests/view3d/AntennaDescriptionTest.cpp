#include "view3d/AntennaDescription.h"
#include "SceneTestSupport.h"
#include "view3d/AntennaLoader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

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

// The dipole file with one line swapped for another.
std::string WithLine(std::string_view from, std::string_view to) {
    std::string text(kDipole);
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

TEST(ReadMaaFile, TheDipoleIsReadAndScaledWithItsTitleAndSectionHeadersInAnyForm) {
    AntennaDescription dipole = Read(kDipole);
    EXPECT_EQ(dipole.AntennaName, "Dipole");
    EXPECT_EQ(dipole.FrequencyText, "14.1");
    ASSERT_EQ(dipole.Wires.size(), 1U);
    // The file's (X, Y, Z) is stored as (Y, Z, X).
    ExpectNear(dipole.Wires[0].End1, {-5, 10, 0});
    ASSERT_EQ(dipole.Sources.size(), 1U);
    ExpectNear(dipole.Sources[0].Position, {0, 10, 0});
    // From -5 to 10 the range is 15, so 1.5 / 15 shrinks it tenfold.
    ASSERT_TRUE(ScaleAntenna(dipole));
    ExpectNear(dipole.Wires[0].End2, {0.5f, 1.0f, 0.0f});
    ExpectNear(dipole.Sources[0].Position, {0.0f, 1.0f, 0.0f});
    // Titles follow the star line. (Russian titles in Windows-1251, files without carriage
    // returns and the section headers of Russian and Japanese MMANA and of older versions are
    // those of the corpus files below.)
    EXPECT_EQ(Read(WithLine("Dipole\r\n*\r\n", "*\r\n")).AntennaName, "");
    EXPECT_EQ(Read(WithLine("Dipole\r\n", "\r\n\r\n  Dipole 20m  \r\n")).AntennaName, "Dipole 20m");
    // The wires header in full-width katakana too; near misses are no headers.
    const std::tuple<const char*, std::string, bool> cases[] = {
        {"***Wires***", "*** ワイヤ ***", true},
        {"***Wires***", "*** Wires ***", false},
        {"***Source***", "***Sources***", false},
        {"***Load***", "***  Load  ***", false},
    };
    for (const auto& [from, to, accepted] : cases) {
        AntennaDescription description;
        EXPECT_EQ(ReadMaaText(WithLine(from, to), description, nullptr), accepted) << to;
    }
}

TEST(ReadMaaFile, SourcesSitAtTheWholeWireNumberAndTheirEndOrHaveNoPosition) {
    // Twelve wires; wire n runs from (X, Y, Z) = (n, 0, 0) to (n, 0, 10).
    std::string text = "Array\r\n*\r\n7.1\r\n***Wires***\r\n12\r\n";
    for (int n = 1; n <= 12; ++n) {
        const std::string x = std::to_string(n);
        text.append(x).append(",\t0.0,\t0.0,\t").append(x).append(",\t0.0,\t10.0,\t0.001,\t-1\r\n");
    }
    const std::tuple<const char*, bool, Vector3> cases[] = {
        {"w1c", true, {0, 5, 1}},     {"W2E", true, {0, 10, 2}}, {"w12e1", true, {0, 10, 12}},
        {"w10b+2", true, {0, 0, 10}}, {"w1q", false, {0, 0, 0}}, {"w1c-", false, {0, 0, 0}},
        {"x1c", false, {0, 0, 0}},
    };
    text.append("***Source***\r\n").append(std::to_string(std::size(cases))).append(",\t1\r\n");
    for (const auto& c : cases) {
        text.append(std::get<0>(c)).append(",\t0.0,\t1.0\r\n");
    }
    const AntennaDescription description = Read(text.append("***Load***\r\n0,\t1\r\n"));
    ASSERT_EQ(description.Sources.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [place, valid, position] = cases[i];
        EXPECT_EQ(description.Sources[i].Valid, valid) << place;
        ExpectNear(description.Sources[i].Position, position);
    }
}

TEST(ReadMaaFile, FilesThatBreakARuleAreRefusedAndTheOldDescriptionKept) {
    const std::pair<const char*, std::string> cases[] = {
        {"no wires header", WithLine("***Wires***", "Wires")},
        {"no wires at all", WithLine("***Wires***\r\n1\r\n", "***Wires***\r\n0\r\n")},
        {"more wires than lines", WithLine("***Wires***\r\n1\r\n", "***Wires***\r\n3\r\n")},
        {"a wire line of seven fields", WithLine(",\t-1\r\n", "\r\n")},
        {"a number beyond a float", WithLine("8.000e-04", "1e45")},
        {"a source on a wire the file lacks", WithLine("w1c,", "w2c,")},
        {"more sources than lines", WithLine("1,\t0\r\nw1c", "2,\t0\r\nw1c")},
        {"a load count beyond the file", WithLine("***Load***\r\n0", "***Load***\r\n9")},
        {"an empty file", ""},
    };
    AntennaDescription kept = Read(kDipole);
    for (const auto& [what, text] : cases) {
        std::string why;
        EXPECT_FALSE(ReadMaaText(text, kept, &why)) << what;
        EXPECT_FALSE(why.empty()) << what;
        EXPECT_EQ(kept.Wires.size(), 1U) << what;
    }
}

// Every .maa file of the corpus: read with its wires, or refused for a reason. Japanese MMANA's
// files (headers and titles in Windows-932, sections after the loads the view does not need)
// and a Russian one (Windows-1251) give their titles and loads too.
TEST(ReadMaaFile, TheRealWorldFilesLoadOrAreRefusedForAReason) {
    struct Expected {
        std::size_t wires;
        const char* title = nullptr;
        std::vector<std::string> loads = {};
    };
    const std::map<std::string, Expected> files = {
        {"K1LH_40m-THS-Parasitic.maa", {8}},
        {"K1LH_40m_Shrunken_Quad.maa", {20}},
        {"handiko_3-YAGI-20_taper_notitle.maa", {3}},
        {"handiko_4xQQ_ru_stack.maa", {8}},
        {"handiko_6M-QUAD-CQ_50.15-2E-50R_noext", {8}},
        {"handiko_BIG_Antenna_Array_Monopole_8src.maa", {8}},
        {"handiko_CQ2-4_crlf.maa", {32}},
        {"handiko_DDRR4_ru_cyrillic_title.maa",
         {13, "Продолжение перехода от DDRR к короткому вертикалу 3 kHz", {"w10c", "w1c"}}},
        {"handiko_MCQM_oldheaders_Sloads.MAA", {4}},
        {"handiko_Split_J-ant_V-H145_ru.maa", {12}},
        {"handiko_Wideband_match_ru.maa", {8}},
        {"mmana2nec_multiband_vertical.maa", {9}},
        {"yagiantennasim_yagi_2450MHz_notitle.maa", {5}},
        {"MMANA-JA_12EL23CM.MAA", {96, "12ele loop"}},
        {"MMANA-JA_4X12.MAA", {17, "4X12ele yagi 430MHz", {"w13b"}}},
        {"MMANA-JA_BEVERAGE.MAA", {3, "Beverage (リアルＧＮＤ 地上高 0mで計算すること)", {"w3e2"}}},
        {"MMANA-JA_DP160LD.MAA", {1, "DP 160m With LOAD", {"w1c-1", "w1c+1"}}},
        {"MMANA-JA_DP20.MAA", {1, "水平ＤＰ ２０ｍ"}},
        {"MMANA-JA_HB9CV.MAA", {2, "HB9CV 20m"}},
        {"MMANA-JA_MAGLOOPC.MAA", {9, "MagLoop 20m 50Ω Feed", {"w6c", "w7c", "w8c"}}},
        {"MMANA-JA_MULTDPH.MAA",
         {8, "Multi-Band TRAP-DP (40m,20m,15m,10m)", {"w3b", "w4b", "w5b", "w6b", "w7b", "w8b"}}},
    };
    std::size_t seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::CorpusFolder() / "maa")) {
        const std::string name = entry.path().filename().string();
        ++seen;
        AntennaDescription description;
        std::string why;
        const bool read = ReadMaaFile(entry.path().string(), description, &why);
        const auto expected = files.find(name);
        if (expected == files.end()) { // a NEC deck
            EXPECT_NE(why.find("строка 4: нет заголовка раздела проводов"), std::string::npos)
                << name << ": " << why;
            continue;
        }
        ASSERT_TRUE(read) << name << ": " << why;
        EXPECT_EQ(description.Wires.size(), expected->second.wires) << name;
        for (const FeedSource& source : description.Sources) {
            EXPECT_TRUE(source.Valid) << name << " " << source.Place;
        }
        if (expected->second.title != nullptr) {
            EXPECT_EQ(description.AntennaName, expected->second.title) << name;
            EXPECT_EQ(description.Loads, expected->second.loads) << name;
        }
        if (name == "MMANA-JA_HB9CV.MAA") { // its second source: wire 2, 135 degrees, 0.5 V
            ASSERT_EQ(description.Sources.size(), 2U);
            EXPECT_EQ(description.Sources[1].Place, "w2c");
            EXPECT_EQ(description.Sources[1].Value1, 135.0f);
            EXPECT_EQ(description.Sources[1].Value2, 0.5f);
        }
        EXPECT_TRUE(ScaleAntenna(description)) << name;
    }
    EXPECT_EQ(seen, files.size() + 1);
}

TEST(AntennaLoader, WhatEachChoiceLeavesLoadedShownAndRemembered) {
    AppState state;
    state.AppTitle = "Lobex";
    View3DState view;
    View3DScene scene;
    CreateSceneFrames(scene, nullptr);
    test::MemorySettings settings;
    test::FakeFileDialogs dialogs;
    test::RecordingMessages messages;
    const AntennaContext context{state, view, scene, settings, dialogs, messages};
    test::TempFolder folder;
    const std::string dipole = (test::TestDataFolder() / "3d" / "dipole_20m.maa").string();
    const std::string broken =
        folder.Write("broken.maa", "Dipole\r\n*\r\n14.1\r\n***Wires***\r\n0\r\n");
    // The file chosen, loaded, the messages, the folder remembered.
    const std::tuple<std::string, bool, std::vector<std::string>, std::string> cases[] = {
        {"", false, {}, ""}, // cancelled
        {broken, false, {std::string(kAntennaReadError)}, FolderOf(broken)},
        {dipole, true, {}, FolderOf(dipole)},
    };
    for (const auto& [chosen, loaded, texts, rememberedFolder] : cases) {
        SCOPED_TRACE(chosen);
        // An antenna from before must not survive a cancelled or failed read.
        view.AntennaLoaded = true;
        view.WiresVisible = false;
        messages.shown.clear();
        settings.values.clear();
        dialogs.openFile = chosen;

        EXPECT_EQ(OpenAntennaDescription(context), loaded);
        EXPECT_EQ(view.AntennaLoaded, loaded);
        EXPECT_EQ(view.WiresVisible, loaded); // a new antenna is shown at once
        EXPECT_EQ(messages.Texts(), texts);
        EXPECT_EQ(dialogs.filters.back(), "MMANA Input Files (*.maa)|*.maa|");
        const auto stored = settings.values.find("Paths/DescPath");
        EXPECT_EQ(stored == settings.values.end() ? "" : stored->second, rememberedFolder);
    }
    // The dipole loaded last has its one feed marker.
    EXPECT_EQ(view.Antenna.AntennaName, "Dipole 20m");
    ASSERT_TRUE(scene.AntennaFrame);
    EXPECT_EQ(scene.AntennaFrame->GetChildFrameCount(), 1);
    EXPECT_NE(scene.AntennaFrame->FindChildObject("Source0"), nullptr);
    // The next dialog opens where it was; the fallback to the program's folder for a folder
    // that is gone is the shared rule of every dialog.
    dialogs.openFile.clear();
    OpenAntennaDescription(context);
    EXPECT_EQ(dialogs.folders.back(), FolderOf(dipole));
}

} // namespace
} // namespace lobex
