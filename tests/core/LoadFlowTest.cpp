#include "core/LoadFlow.h"
#include "LoadHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lobex {
namespace {

const std::string kSweep =
    "Freq(MHz),R(Om),jX(Om),SWR(50.0Om),Ga(dBi),F/B(dB)\r\n14.1,50,0,1,7,20\r\n";

TEST(LoadFileByHeader, AHeaderInOtherLettersFallsToTheTableReader) {
    test::LoadHarness h;
    test::TempFolder folder;
    EXPECT_FALSE(LoadFileByHeader(
        h.ctx, folder.Write("x.csv", "zenith(deg),azimuth(deg),vert(dBi),hori(dBi),total(dBi)\r\n"
                                     "0,0,1,1,1\r\n")));
    EXPECT_EQ(h.MessageTexts(), (std::vector<std::string>{"Неправильный формат данных",
                                                          "Неправильный формат данных"}));
    EXPECT_EQ(h.state.Data.DataKind, KindTable); // the table reader got that far
}

TEST(LoadFileByHeader, AnUnreadableFileIsACriticalWrongFormat) {
    test::TempFolder folder;
    for (const std::string& path : {(folder.Path() / "missing.csv").string(),
                                    folder.Write("empty.csv", ""), folder.Path().string()}) {
        test::LoadHarness h;
        EXPECT_FALSE(LoadFileByHeader(h.ctx, path)) << path;
        ASSERT_EQ(h.messages.shown.size(), 1U) << path;
        EXPECT_EQ(h.messages.shown[0].text, "Неправильный формат данных");
        EXPECT_EQ(h.messages.shown[0].icon, MessageIcon::Critical);
        EXPECT_EQ(h.messages.shown[0].caption, "Lobex");
    }
}

TEST(LoadDataFile, AcceptsCsvInAnyCaseAndRefusesOtherEndings) {
    test::TempFolder folder;
    test::LoadHarness upper;
    const std::string path = folder.Write("UPPER.CSV", kSweep);
    EXPECT_TRUE(LoadDataFile(upper.ctx, path));
    EXPECT_EQ(upper.state.CurrentFile, path);
    for (const char* name : {"model.pf3", "data.csv.txt", "csv"}) {
        test::LoadHarness h;
        h.state.Data.DataText = "old";
        EXPECT_FALSE(LoadDataFile(h.ctx, folder.Write(name, kSweep))) << name;
        EXPECT_EQ(h.MessageTexts(), std::vector<std::string>{"Неизвестный Формат Файла"});
        EXPECT_EQ(h.state.CurrentFile, "");
        EXPECT_EQ(h.state.Data.DataText, "");
    }
    test::LoadHarness h;
    EXPECT_FALSE(LoadDataFile(h.ctx, "")); // a cancelled dialog
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST(RunFileOpen, StartsFromAnEmptyGridAndAFreshSetList) {
    test::LoadHarness h;
    test::TempFolder folder;
    h.state.LogX = true;
    h.view.params = {{"old", 9}};
    ASSERT_TRUE(RunFileOpen(h.ctx, folder.Write("s.csv", kSweep)));
    EXPECT_FALSE(h.state.LogX);
    EXPECT_EQ(h.view.ParamCount(), 0);
    EXPECT_EQ(h.state.DataGrid.header[0], "Частота");
    // A failed load leaves the empty grid behind.
    EXPECT_FALSE(RunFileOpen(h.ctx, folder.Write("bad.csv", "nothing\r\n")));
    EXPECT_TRUE(h.state.DataGrid.rows.empty());
    EXPECT_EQ(h.state.DataGrid.header[0], "Парам");
}

TEST(ReloadForParamEntry, PicksTheEntryAndReloadsWithSetChosen) {
    test::LoadHarness h;
    ASSERT_TRUE(
        RunFileOpen(h.ctx, (test::TestDataFolder() / "table_optimisation_3sets.csv").string()));
    ASSERT_TRUE(ReloadForParamEntry(h.ctx, 2));
    EXPECT_FALSE(h.state.SetChosen);
    EXPECT_EQ(h.state.Data.SelectedSetIndex, 3);
    EXPECT_EQ(h.state.Data.Series[1].Values[0], 23.0f);
    EXPECT_EQ(h.view.fillCombos, std::vector<int>{6}); // curve lists kept on a reload

    h.state.ComboFilling = true; // a list being filled is no choice
    EXPECT_FALSE(ReloadForParamEntry(h.ctx, 0));
    EXPECT_EQ(h.state.Data.SelectedSetIndex, 3);
    h.state.ComboFilling = false;
    EXPECT_FALSE(ReloadForParamEntry(h.ctx, 3)); // no such entry
}

} // namespace
} // namespace lobex
