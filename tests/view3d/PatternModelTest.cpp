#include "view3d/PatternModel.h"
#include "PatternGrids.h"
#include "Recorders.h"
#include "SceneTestSupport.h"
#include "view3d/ModelFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace lobex {
namespace {

using test::RecordingMessages;
using test::TemporaryFolder;

class PatternModel : public ::testing::Test {
protected:
    PatternModel() {
        state.TempModelFile = folder.File("temp.x");
        state.FarField = test::FortyBelowTenAbove();
    }

    TemporaryFolder folder;
    AppState state;
    View3DState view;
    RecordingMessages messages;
    View3DContext context{state, view, messages};
};

TEST_F(PatternModel, PreparingWritesTheBinaryModelOfTheLoadedGrid) {
    ASSERT_TRUE(PreparePatternModel(context));
    EXPECT_TRUE(messages.shown.empty());
    const std::string written = test::ReadBytes(state.TempModelFile);
    EXPECT_EQ(written.size(), 168722U);
    EXPECT_EQ(written.substr(0, 16), "xof 0303bin 0032");
    EXPECT_EQ(view.Pattern.PatternVertices.size(), 2701U);
}

TEST_F(PatternModel, TheTextModelUsesPointsWhateverTheLocale) {
    state.DecimalSeparator = ",";
    ASSERT_TRUE(BuildPatternVertices(context));
    ASSERT_TRUE(WriteTextModel(context));
    const std::string written = test::ReadBytes(state.TempModelFile);
    EXPECT_EQ(written.substr(0, 18), "xof 0303txt 0032\r\n");
    // A decimal comma would show as a comma followed by six digits.
    EXPECT_FALSE(std::regex_search(written, std::regex(R"(\d,\d{6}[;,])")));
    EXPECT_NE(written.find("1.000000,0.000000"), std::string::npos);
    EXPECT_NE(written.find("\r\n4;0,73,74,1;,\r\n"), std::string::npos);
}

TEST_F(PatternModel, AGridWithoutSurfaceIsRefusedWithAMessageAndNoFileIsWritten) {
    state.FarField = FarFieldGrid(1); // what a failed load leaves
    EXPECT_FALSE(PreparePatternModel(context));
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(messages.shown[0].caption, "Lobex");
    EXPECT_NE(messages.shown[0].text.find("Трехмерная модель не построена."), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(state.TempModelFile));
}

TEST_F(PatternModel, AFailedWriteShowsTheWriteErrorAndKeepsTheEarlierModel) {
    ASSERT_TRUE(PreparePatternModel(context));
    const std::string earlier = test::ReadBytes(state.TempModelFile);
    state.FarField = test::MakeGrid(10.0f, 10.0f, [](float, float) { return 1.0f; });
    std::filesystem::create_directory(state.TempModelFile + ".tmp");
    EXPECT_FALSE(PreparePatternModel(context));
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].text, "Ошибка записи в файл. Данные не сохранены.");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messages.shown[0].caption, "Lobex");
    EXPECT_EQ(test::ReadBytes(state.TempModelFile), earlier);
}

TEST(DescriptionFile, TheHookWritesNothingAndSaysSo) {
    TemporaryFolder folder;
    test::WriteText(folder.File("temp.x"), "xof 0303txt 0032\r\n");
    EXPECT_FALSE(DescriptionFileHook(folder.File("temp.x"), folder.File("pattern.dsc")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("pattern.dsc")));
}

TEST(DescriptionFile, ThePathIsCutAtTheFirstCsv) {
    struct Case {
        const char* csv;
        const char* dsc;
    };
    const Case cases[] = {
        {"c:\\data\\a.csv", "c:\\data\\a.dsc"},
        {"c:\\data\\a.csv.old.csv", "c:\\data\\a.dsc"},
        {"/home/ham/yagi.csv", "/home/ham/yagi.dsc"},
        {".csv", ".csv.dsc"}, // looked for from the second character on
        {"x.csv", "x.dsc"},
        {"C:\\DATA\\A.CSV", "C:\\DATA\\A.dsc"}, // Windows lists upper-case names for *.csv
        {"a.Csv.csv", "a.Csv.dsc"},             // the exact case is looked for first
        {"pattern.txt", "pattern.txt.dsc"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescriptionPathFor(c.csv), c.dsc) << c.csv;
    }
}

} // namespace
} // namespace lobex
