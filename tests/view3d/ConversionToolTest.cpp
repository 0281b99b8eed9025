#include "view3d/ConversionTool.h"
#include "GeneratedFarField.h"
#include "SceneTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace lobex {
namespace {

constexpr const char* kWrongFormat = "Неправильный формат данных";

std::string Fixture(const char* name) {
    return (test::TestDataFolder() / name).string();
}

// The vertex count of a text model: its seventh line, "V;".
std::string VertexCountLine(const std::string& model) {
    std::istringstream lines(model);
    std::string line;
    for (int i = 0; i < 7 && std::getline(lines, line); ++i) {
    }
    return line;
}

class ConversionTool : public ::testing::Test {
protected:
    ConversionTool() {
        state.Paths.TempModelFile = temp.Write("temp.x", "the 3D view's model");
        state.Loaded.CurrentFile = "c:\\data\\loaded.csv";
        // A loaded pattern the conversion must leave alone.
        state.Loaded.FarField = {AzimuthColumn{0.0f, {{0.0f, 1.0f, 2.0f, 3.0f}}}};
        state.Loaded.Data.DataKind = KindFarField;
        window.whileAsking = [this] {
            state.Loaded.CurrentFile = window.dataFile;
        };
    }
    std::string ConversionModel() const { return test::ReadBytes(ConversionModelFile(state)); }
    void ExpectTheLoadedDataKept() const {
        EXPECT_EQ(test::ReadBytes(state.Paths.TempModelFile), "the 3D view's model");
        ASSERT_EQ(state.Loaded.FarField.size(), 1U);
        EXPECT_EQ(state.Loaded.FarField[0].Points[0].Total, 3.0f);
        EXPECT_EQ(state.Loaded.Data.DataKind, KindFarField);
        EXPECT_EQ(state.Loaded.CurrentFile, "c:\\data\\loaded.csv");
    }

    test::TempFolder temp;
    test::TempFolder data;
    AppState state;
    test::RecordingMessages messages;
    test::MemorySettings settings;
    test::FakeFileDialogs dialogs;
    ConversionContext context{state, messages, settings, dialogs};
    // The data file window, whose choice also lands in CurrentFile as frmFile's does.
    test::FakeFileDialogs window;
    ConversionContext folderContext{state, messages, settings, window};
    std::vector<bool> busy;
    std::function<void(bool)> busyCallback = [this](bool on) {
        busy.push_back(on);
    };
};

TEST_F(ConversionTool, AnEmptyPathAsksForTheFileInTheStoredDataFolder) {
    settings.values["Paths/DataPath"] = "c:\\mmana\\";
    std::string path;
    EXPECT_FALSE(ConvertCsvToDsc(context, path)); // cancelled
    EXPECT_EQ(dialogs.openTitles, std::vector<std::string>{"Open .csv file"});
    EXPECT_EQ(dialogs.filters, std::vector<std::string>{"CSV File (*.csv)|*.csv"});
    EXPECT_EQ(dialogs.folders, std::vector<std::string>{"c:\\mmana\\"}); // even when it is gone
    EXPECT_FALSE(std::filesystem::exists(ConversionModelFile(state)));
}

TEST_F(ConversionTool, TheChosenFileBecomesATextModelAndTheLoadedDataStays) {
    dialogs.openFile = Fixture("farfield_below_horizon_30deg.csv");
    state.DecimalSeparator = ",";
    std::string path;
    // No description format is defined: the step reports that nothing was made.
    EXPECT_FALSE(ConvertCsvToDsc(context, path));
    EXPECT_EQ(path, dialogs.openFile);
    EXPECT_TRUE(messages.shown.empty());
    const std::string model = ConversionModel();
    EXPECT_EQ(model.substr(0, 18), "xof 0303txt 0032\r\n");
    EXPECT_EQ(VertexCountLine(model), "91;\r"); // 7 zenith angles by 13 columns
    EXPECT_FALSE(std::regex_search(model, std::regex(R"(\d,\d{6}[;,])")))
        << "a decimal comma in the model";
    ExpectTheLoadedDataKept();

    // A path given is converted without asking.
    path = data.Write("lobe.csv", test::MakeFarFieldCsv(30.0, 90.0));
    ConvertCsvToDsc(context, path);
    EXPECT_EQ(dialogs.openTitles.size(), 1U);
    EXPECT_EQ(VertexCountLine(ConversionModel()), "52;\r"); // 4 zenith angles by 13 columns
}

TEST_F(ConversionTool, AFileThatIsNoPatternOrAModelThatCannotBeWrittenIsToldAbout) {
    std::string path = data.Write("bad.csv", test::ReadBytes(Fixture("sweep_50ohm.csv")));
    EXPECT_FALSE(ConvertCsvToDsc(context, path));
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_NE(messages.shown[0].text.find(kWrongFormat), std::string::npos);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
    EXPECT_FALSE(std::filesystem::exists(ConversionModelFile(state)));
    // A model that cannot be written shows the write error.
    messages.shown.clear();
    state.Paths.TempModelFile = (temp.Path() / "gone" / "temp.x").string();
    path = Fixture("farfield_below_horizon_30deg.csv");
    EXPECT_FALSE(ConvertCsvToDsc(context, path));
    ASSERT_EQ(messages.shown.size(), 1U);
    // The conversion writes its own model file beside the temporary one; the message names it.
    EXPECT_TRUE(messages.shown[0].text.starts_with(
        "Ошибка записи в файл. Данные не сохранены.\r\n" + ConversionModelFile(state) + ": "))
        << messages.shown[0].text;
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
}

TEST_F(ConversionTool, AFolderIsConvertedFileByFileInNameOrder) {
    data.Write("a_lobe.csv", test::MakeFarFieldCsv(30.0, 90.0));
    data.Write("b_sweep.csv", test::ReadBytes(Fixture("sweep_50ohm.csv")));
    data.Write("C_SPHERE.CSV", test::ReadBytes(Fixture("farfield_below_horizon_30deg.csv")));
    window.dataFile = data.Write("notes.txt", "not converted");
    ConvertCsvFolder(folderContext, busyCallback);
    EXPECT_EQ(window.captions, std::vector<std::string>{"Open File"});
    // The sweep file is refused on its way; the last file converted is the upper-case one.
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{kWrongFormat, "Convertion completed"}));
    EXPECT_EQ(messages.shown.back().icon, MessageIcon::Information);
    EXPECT_EQ(VertexCountLine(ConversionModel()), "91;\r");
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    ExpectTheLoadedDataKept();

    // A folder without .csv files still ends with the message; a cancel does nothing.
    messages.shown.clear();
    test::TempFolder other;
    window.dataFile = other.Write("model.maa", "x");
    ConvertCsvFolder(folderContext, busyCallback);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Convertion completed"});
    window.dataFile.clear();
    ConvertCsvFolder(folderContext, busyCallback);
    EXPECT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(state.Loaded.CurrentFile, "c:\\data\\loaded.csv");
}

} // namespace
} // namespace lobex
