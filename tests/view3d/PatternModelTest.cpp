#include "view3d/PatternModel.h"
#include "SceneTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lobex {
namespace {

TEST(PatternModel, AGridWithoutSurfaceIsRefusedWithAMessageAndNoFileIsWritten) {
    test::TempFolder folder;
    AppState state;
    state.Paths.TempModelFile = (folder.Path() / "temp.x").string();
    state.Loaded.FarField = FarFieldGrid(1); // what a failed load leaves
    View3DState view;
    test::RecordingMessages messages;
    View3DContext context{state, view, messages};
    EXPECT_FALSE(PreparePatternModel(context));
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
    EXPECT_NE(messages.shown[0].text.find("Трехмерная модель не построена."), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(state.Paths.TempModelFile));
}

TEST(DescriptionFile, ThePathIsCutAtTheFirstCsvAndTheHookWritesNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"c:\\data\\a.csv", "c:\\data\\a.dsc"},
        {"c:\\data\\a.csv.old.csv", "c:\\data\\a.dsc"},
        {".csv", ".csv.dsc"},                   // looked for from the second character on
        {"C:\\DATA\\A.CSV", "C:\\DATA\\A.dsc"}, // Windows lists upper-case names for *.csv
        {"a.Csv.csv", "a.Csv.dsc"},             // the exact case is looked for first
        {"pattern.txt", "pattern.txt.dsc"},
    };
    for (const auto& [csv, dsc] : cases) {
        EXPECT_EQ(DescriptionPathFor(csv), dsc) << csv;
    }
    test::TempFolder folder;
    const std::string description = (folder.Path() / "pattern.dsc").string();
    EXPECT_FALSE(DescriptionFileHook(folder.Write("temp.x", "xof 0303txt 0032\r\n"), description));
    EXPECT_FALSE(std::filesystem::exists(description));
}

} // namespace
} // namespace lobex
