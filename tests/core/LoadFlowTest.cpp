#include "core/LoadFlow.h"
#include "LoadHarness.h"
#include "core/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace lobex {
namespace {

const std::string kSweep =
    "Freq(MHz),R(Om),jX(Om),SWR(50.0Om),Ga(dBi),F/B(dB)\r\n14.1,50,0,1,7,20\r\n";
const std::string kWrongFormat = "Неправильный формат данных";

std::string Fixture(const char* name) {
    return (test::TestDataFolder() / name).string();
}

// The window's side of a load: every view call and every message, in the order they came, and
// what the state held when the pattern was drawn.
class FlowRecorder final : public DataView, public MessageService {
public:
    void ShowLoadStart() override { calls.push_back("start"); }
    bool ShowPattern() override {
        calls.push_back("pattern");
        gridAtPattern = state.Loaded.FarField.size();
        maxElevationAtPattern = state.Loaded.Pattern.MaxElevation;
        return headless.ShowPattern();
    }
    void ShowLoadResult(const LoadResult& result) override {
        calls.push_back(result.loaded ? "result: loaded" : "result: refused");
    }
    void SetStatus(std::string_view text) override {
        calls.push_back("status: " + std::string(text));
    }
    void SetBusy(bool busy) override { calls.push_back(busy ? "busy" : "idle"); }
    void PumpEvents() override {}
    void Show(std::string_view text, MessageIcon icon, std::string_view) override {
        calls.push_back((icon == MessageIcon::Critical ? "critical: " : "message: ") +
                        std::string(text));
    }

    bool Open(const std::string& path) { return OpenFile(ctx, *this, path); }
    bool Pick(int index) {
        return ReloadForParamEntry(state, index, [this] { return LoadData(ctx, *this, {}); });
    }

    AppState state;
    LoadContext ctx{state, *this};
    HeadlessDataView headless{ctx};
    std::vector<std::string> calls;
    std::size_t gridAtPattern = 0;
    float maxElevationAtPattern = 0.0f;
};

TEST(LoadFlow, AFarFieldsCutsAreDrawnBeforeTheGridTableAndABrokenFileResetsNothing) {
    FlowRecorder flow;
    ASSERT_TRUE(flow.Open(Fixture("farfield_below_horizon_30deg.csv")));
    // Read first; only a load that succeeded resets the views, draws and clears an old status.
    EXPECT_EQ(flow.calls, (std::vector<std::string>{"busy", "idle", "start", "pattern",
                                                    "status: ", "result: loaded"}));
    // The pattern was drawn from the new grid and its maximum; then the grid table took the
    // series: the elevation cut, from -90 degrees.
    EXPECT_EQ(flow.gridAtPattern, 13U); // 12 azimuths and the copy closing the circle
    EXPECT_EQ(flow.maxElevationAtPattern, 30.0f);
    EXPECT_EQ(flow.state.Loaded.Data.Series[0].Min, -90.0f);
    // The elevations are listed with the maximum's picked; 0 and 180 give 2 x 6 + 1 rows.
    const LoadedData& loaded = flow.state.Loaded;
    EXPECT_EQ(test::TextsOf(loaded.Sets.entries),
              (std::vector<std::string>{"90", "60", "30", "0"}));
    EXPECT_EQ(loaded.Sets.selected, 2);
    ASSERT_EQ(loaded.DataGrid.rows.size(), 13U);
    EXPECT_EQ(loaded.DataGrid.rows.front()[0], "-90.00");
    // Another elevation picked reads the file again for it, keeping the list.
    flow.calls.clear();
    ASSERT_TRUE(flow.Pick(1));
    EXPECT_EQ(flow.state.View.SelectedSetText, "60");
    EXPECT_EQ(loaded.Sets.entries.size(), 4U);
    for (const std::string& call : flow.calls) {
        EXPECT_FALSE(call.starts_with("message") || call.starts_with("critical")) << call;
    }

    // A broken file: its one message comes before the result, and nothing is reset around it.
    flow.calls.clear();
    test::TempFolder folder;
    EXPECT_FALSE(flow.Open(folder.Write("t.csv", "Optim\r\n1 1 14.1 50 0 1.0 7.1 20\r\n")));
    EXPECT_EQ(flow.calls,
              (std::vector<std::string>{"busy", "idle", "critical: Subscript out of range",
                                        "result: refused"}));
}

// A wire picked in the list whose file has gone bad: the wire shown before stays, list and all.
TEST(LoadFlow, AFailedPickLeavesThePickedWireAsItWas) {
    test::TempFolder folder;
    test::LoadHarness h;
    const std::filesystem::path wires = folder.Path() / "wires.csv";
    std::filesystem::copy_file(Fixture("currents_3wires.csv"), wires);
    ASSERT_TRUE(h.Open(wires.string()));
    ASSERT_TRUE(h.Pick(1)); // wire 2
    EXPECT_EQ(h.state.Loaded.Data.GridRowCount, 4);
    const AppState before = h.state;
    std::filesystem::resize_file(wires, 10);
    for (int entry : {2, 9}) { // a wire of the list, and no entry at all
        EXPECT_FALSE(h.Pick(entry));
        EXPECT_EQ(h.state.Loaded.Sets, before.Loaded.Sets);
        EXPECT_EQ(h.state.Loaded.Data.Series[1].Values, before.Loaded.Data.Series[1].Values);
        EXPECT_EQ(h.state.Loaded.Data.SelectedSetIndex, 2);
        EXPECT_EQ(h.state.Loaded.DataGrid.rows, before.Loaded.DataGrid.rows);
    }
}

TEST(LoadFlow, OnlyCsvFilesAreReadInAnyCase) {
    test::TempFolder folder;
    for (const char* name : {"model.pf3", "data.csv.txt"}) {
        test::LoadHarness h;
        EXPECT_FALSE(h.Open(folder.Write(name, kSweep))) << name;
        EXPECT_EQ(h.messages.Texts(), std::vector<std::string>{"Неизвестный Формат Файла"});
    }
    test::LoadHarness h;
    h.state.View.LogX = true;
    const std::string sweep = folder.Write("UPPER.CSV", kSweep);
    ASSERT_TRUE(h.Open(sweep));
    EXPECT_EQ(h.state.Loaded.CurrentFile, sweep);
    // The data text is the grid's rows read back: row number, set 1, the cells as shown.
    EXPECT_EQ(h.state.Loaded.Data.DataText, "1\t1\t14.10\t50.00\t0.00\t1.00\t7.00\t20.00");
    EXPECT_FALSE(h.state.View.LogX); // a new load clears the views
}

// Touchstone files are known by their name; whatever they cannot give is told with its line,
// and what was on show stays.
TEST(LoadFlow, TouchstoneFilesOpenAsSweepsAndABrokenOneSaysItsLine) {
    test::TempFolder folder;
    test::LoadHarness h;
    // S11 = 1/2 at 100 ohms: 300 ohms, SWR 3, return loss 20·log10(2).
    const std::string good = folder.Write("NANO.S1P", "! VNA\n# kHz S RI R 100\n14100 0.5 0\n");
    ASSERT_TRUE(h.Open(good));
    const DataSet& data = h.state.Loaded.Data;
    EXPECT_EQ(data.DataKind, KindSweep);
    EXPECT_EQ(SeriesLabels(data),
              (std::vector<std::string>{"Частота", "R", "j X", "КСВ", "Обр. потери", "|Γ|", ""}));
    EXPECT_EQ(h.state.Loaded.DataGrid.rows.at(0),
              (std::vector<std::string>{"14.10", "300.00", "0.00", "3.00", "6.0206", "0.50"}));
    const struct {
        const char* text;
        const char* message;
    } broken[] = {
        {"# MHz S MA\n14 0.5 10\n\n14.1 0.5 x\n", "Строка 4 файла Touchstone не читается"},
        {"! Z\n# MHz Z RI R 50\n14 50 0\n",
         "Строка 2: открываются только S-параметры (в файле параметры Y, Z, H или G)"},
    };
    for (const auto& c : broken) {
        h.messages.shown.clear();
        EXPECT_FALSE(h.Open(folder.Write("broken.s1p", c.text)));
        EXPECT_EQ(h.messages.Texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(h.state.Loaded.CurrentFile, good);
    }
}

TEST(LoadFlow, AMissingFileIsNotFoundAndWhatIsNoDataFileIsAFormatError) {
    test::TempFolder folder;
    const std::pair<std::string, LoadMessage> cases[] = {
        {(folder.Path() / "missing.csv").string(),
         {"Файл не найден", MessageIcon::Information, {}}},
        {folder.Path().string(), {kWrongFormat, MessageIcon::Information, {"это папка"}}},
        // No MMANA file has a line that long, and none is held whole to find out.
        {folder.Write("long.csv", "\r\n" + std::string(kMaxLineLength + 1, '1')),
         {kWrongFormat, MessageIcon::Information, {"строка %1: длиннее 65536 знаков", 2}}},
    };
    for (const auto& [path, message] : cases) {
        EXPECT_EQ(LoadFileByHeader(path, LoadRequest{}).messages, std::vector<LoadMessage>{message})
            << path;
    }
    test::LoadHarness h;
    EXPECT_FALSE(h.Open((folder.Path() / "missing.csv").string()));
    EXPECT_EQ(h.messages.shown,
              (test::MessageList{{"Файл не найден", MessageIcon::Information, "Lobex", ""}}));
}

TEST(LoadFlow, ReadsTheTableOutOfTheRunningMmanaOrSaysWhyNot) {
    test::TempFolder folder;
    const std::string table =
        "No,Set,Parameter,R,jX,SWR,Ga,F/B,Elev\r\n1 1 14.1 50 0 1.0 7.1 20 30\r\n";
    struct Case {
        bool running, hasMemo;
        std::string text;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {false, true, table, {"message: MMANA не загружена", "status: Ошибка ввода данных"}},
        {true, false, table, {"message: Данные не найдены в MMANA", "status: Ошибка ввода данных"}},
        {true, true, "", {"status: Данные не найдены в MMANA"}},
        {true, true, table, {"start", "status: "}},
    };
    for (const Case& c : cases) {
        FlowRecorder flow;
        flow.state.Paths.DataInFile = (folder.Path() / "data.in").string();
        test::FakeMmanaLink mmana;
        mmana.running = c.running;
        mmana.hasMemo = c.hasMemo;
        mmana.text = c.text;
        const bool loaded = LoadData(flow.ctx, flow, LoadSource{&mmana, {}});
        std::vector<std::string> expected{"busy", "idle"};
        expected.insert(expected.end(), c.calls.begin(), c.calls.end());
        expected.push_back(loaded ? "result: loaded" : "result: refused");
        EXPECT_EQ(loaded, c.calls.front() == "start");
        EXPECT_EQ(flow.calls, expected) << c.text;
        if (loaded) {
            EXPECT_EQ(flow.state.Loaded.Data.Series[0].Values, std::vector<float>{14.1f});
            EXPECT_EQ(test::ReadBytes(flow.state.Paths.DataInFile),
                      table + "\r\n"); // the copy kept
        }
    }
}

} // namespace
} // namespace lobex
