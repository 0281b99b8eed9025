#include "LoadHarness.h"
#include "Nec2cRun.h"
#include "session/DocumentSession.h"
#include "session/LiveReload.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace lobex {
namespace {

TEST(LiveReload, ANewVersionIsReportedOnlyOnceItHeldStillThroughAPause) {
    const FileStamp gone{};
    const FileStamp v1{true, 100, 1000};
    const FileStamp v1Longer{true, 180, 1000};
    const FileStamp v2{true, 180, 2000};
    struct Case {
        const char* what;
        FileStamp reported;
        FileStamp seen;
        FileStamp now;
        SettleStep step;
    };
    const Case cases[] = {
        {"settled new version", v1, v2, v2, SettleStep::Report},
        {"grew during the pause", v1, v2, FileStamp{true, 260, 2000}, SettleStep::Wait},
        {"touched during the pause", v1, v2, FileStamp{true, 180, 3000}, SettleStep::Wait},
        {"same size, later write", v1, v1Longer, v2, SettleStep::Wait},
        {"back to what was read", v1, v1, v1, SettleStep::Ignore},
        {"removed for the moment", v1, v2, gone, SettleStep::Ignore},
        {"reappears after a removal", gone, v2, v2, SettleStep::Report},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextSettleStep(c.reported, c.seen, c.now), c.step) << c.what;
    }
}

TEST(LiveReload, ThePickedEntryIsFoundAgainByItsText) {
    const SetList before{{{"0", 18}, {"15", 15}, {"30", 12}}, 1};
    struct Case {
        const char* what;
        SetList before;
        SetList after;
        int entry;
    };
    const Case cases[] = {
        {"same list", before, before, 1},
        {"a finer grid moves it", before, SetList{{{"0", 36}, {"5", 35}, {"15", 33}}, 0}, 2},
        {"gone from the new list", before, SetList{{{"0", 9}, {"10", 8}}, 0}, -1},
        {"nothing was selected", SetList{before.entries, -1}, before, -1},
        {"no list before", SetList{}, before, -1},
        {"empty list after", before, SetList{}, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RepickedEntry(c.before, c.after), c.entry) << c.what;
    }
}

TEST(LiveReload, HeldMessagesBecomeOneStatusLine) {
    HeldMessages held;
    held.Show("Неправильный формат данных", MessageIcon::Information, "Lobex");
    held.Show("Ошибка чтения данных", MessageIcon::Critical, "Lobex");
    EXPECT_EQ(held.Texts().size(), 2u);
    EXPECT_EQ(ReloadFailedStatus(held.Texts()), "Файл не перечитан: Неправильный формат данных");
    EXPECT_EQ(ReloadFailedStatus({"Файл содержит слишком много узлов.\r\nУменьшите шаг."}),
              "Файл не перечитан: Файл содержит слишком много узлов. Уменьшите шаг.");
    EXPECT_EQ(ReloadFailedStatus({}), "Файл не перечитан");
}

using test::LoadHarness;
using test::TempFolder;

// What a user sees of the data on show: the curves, the grid and the set list.
struct Shown {
    std::vector<std::string> labels;
    std::vector<std::vector<float>> values;
    std::vector<std::vector<std::string>> rows;
    SetList sets;
    int set = 0;
    float maxGain = 0.0f;
    friend bool operator==(const Shown&, const Shown&) = default;
};

Shown ShownOf(const AppState& state) {
    Shown shown;
    for (const SeriesRecord& series : state.Loaded.Data.Series) {
        shown.labels.push_back(series.Label);
        shown.values.push_back(series.Values);
    }
    shown.rows = state.Loaded.DataGrid.rows;
    shown.sets = state.Loaded.Sets;
    shown.set = state.Loaded.Data.SelectedSetIndex;
    shown.maxGain = state.Loaded.Pattern.MaxGain;
    return shown;
}

// A session over the headless load flow, as lobex-cli and the tests run it.
struct SessionHarness {
    AppState state;
    test::RecordingMessages messages;
    LoadContext ctx{state, messages};
    HeadlessDataView view{ctx};
    DocumentSession session{ctx, view};
};

// A window's curve lists and log boxes, as far as a reload sees them.
class FakeControls final : public ChoiceControls {
public:
    FakeControls() { shown.left = shown.right = 0; } // both lists on their first entry
    DocumentChoices ShownChoices() const override { return shown; }
    int CurveCount(bool /*left*/) const override { return 6; }
    void SelectCurves(int newLeft, int newRight) override {
        shown.left = newLeft;
        shown.right = newRight;
    }
    void DrawCurves() override { ++drawn; }
    bool TickLogBox(bool x) override {
        shown.logX = shown.logX || x;
        return true;
    }
    bool ReopenOtherKind(const std::function<bool()>& reopen) override {
        ++reopened;
        return reopen();
    }
    DocumentChoices shown; // the curve lists' entries and the log boxes
    int drawn = 0;
    int reopened = 0;
};

std::string ThreeSets(const std::string& thirdSetGain) {
    std::string text = "No,Set,Parameter,R,jX,SWR,Ga,F/B,Elev\r\n";
    for (int set = 1; set <= 3; ++set) {
        const std::string gain = set == 3 ? thirdSetGain : std::to_string(set);
        text += "1," + std::to_string(set) + ",14.1,50,0,1.1," + gain + ",20,30\r\n";
    }
    return text;
}

TEST(DocumentSession, APickFromMemoryShowsWhatReadingTheFileAgainShows) {
    struct Case {
        std::filesystem::path file;
        int entry;
    };
    const Case cases[] = {
        {test::CorpusFolder() / "farfield_csv" / "APET_LazyH-16m_1deg.csv", 30},
        {test::TestDataFolder() / "currents_3wires.csv", 2},
        {test::TestDataFolder() / "nearfield_electric.csv", 1},
        {test::TestDataFolder() / "table_optimisation_3sets.csv", 1},
    };
    for (const Case& c : cases) {
        const TempFolder folder;
        const std::string path = folder.Write("data.csv", test::ReadBytes(c.file));
        LoadHarness readAgain;
        ASSERT_TRUE(readAgain.Open(path)) << c.file;
        ASSERT_TRUE(readAgain.Pick(c.entry)) << c.file;

        SessionHarness h;
        ASSERT_TRUE(h.session.OpenFile(path));
        // MMANA is halfway through rewriting the file.
        folder.Write("data.csv", test::ReadBytes(c.file).substr(0, 100));
        ASSERT_TRUE(h.session.Pick(c.entry)) << c.file;
        EXPECT_EQ(ShownOf(h.state), ShownOf(readAgain.state)) << c.file;
        EXPECT_TRUE(h.messages.shown.empty()) << c.file;
    }
}

TEST(DocumentSession, AReloadKeepsTheUsersChoices) {
    const TempFolder folder;
    const std::string path = folder.Write("table.csv", ThreeSets("3"));
    SessionHarness h;
    ASSERT_TRUE(h.session.OpenFile(path));
    ASSERT_TRUE(h.session.Pick(2));
    h.session.KeepPick();
    FakeControls controls;
    controls.shown.left = 3;
    controls.shown.right = 2;
    controls.shown.logX = true;

    folder.Write("table.csv", ThreeSets("7.5"));
    const ReloadOutcome outcome = h.session.Reload(controls);
    EXPECT_TRUE(outcome.reloaded);
    EXPECT_EQ(h.state.Loaded.Sets.selected, 2);
    EXPECT_EQ(h.state.Loaded.Data.Series[4].Values, std::vector<float>{7.5f}) << "the new file";
    EXPECT_EQ(controls.shown.left, 3);
    EXPECT_EQ(controls.shown.right, 2);
    EXPECT_EQ(controls.reopened, 0);
    EXPECT_GE(controls.drawn, 1);

    // A file that is no table any more: the data stays, the status line says why.
    folder.Write("table.csv", "garbage\r\n");
    const ReloadOutcome failed = h.session.Reload(controls);
    EXPECT_FALSE(failed.reloaded);
    EXPECT_EQ(failed.status, "Файл не перечитан: Неправильный формат данных");
    EXPECT_EQ(h.state.Loaded.Data.Series[4].Values, std::vector<float>{7.5f});
    EXPECT_TRUE(h.messages.shown.empty()) << "nobody asked for the reload: no message box";

    // Another kind of data altogether is handed to the window to show afresh.
    folder.Write("table.csv", test::ReadBytes(test::TestDataFolder() / "sweep_50ohm.csv"));
    EXPECT_TRUE(h.session.Reload(controls).reloaded);
    EXPECT_EQ(controls.reopened, 1);
    EXPECT_EQ(h.state.Loaded.Data.DataKind, KindSweep);
}

TEST(DocumentSession, TellsItsObserversAndForgetsAClosedDocument) {
    const TempFolder folder;
    const std::string path = folder.Write("table.csv", ThreeSets("3"));
    SessionHarness h;
    std::vector<SessionChange> changes;
    const int id = h.session.Observe(
        [&changes](SessionChange change, const Document*) { changes.push_back(change); });
    EXPECT_FALSE(h.session.OpenFile(folder.Write("bad.txt", "x"))) << "not a .csv";
    EXPECT_EQ(h.session.Current(), nullptr);
    ASSERT_TRUE(h.session.OpenFile(path));
    ASSERT_NE(h.session.Current(), nullptr);
    EXPECT_EQ(h.session.Current()->source, path);
    EXPECT_TRUE(std::holds_alternative<OptimisationTable>(*h.session.Current()->result));
    EXPECT_FALSE(h.session.Pick(7)) << "no such entry";
    EXPECT_TRUE(h.session.Pick(1));
    h.session.Close();
    EXPECT_EQ(h.session.Current(), nullptr);
    EXPECT_FALSE(h.session.Pick(0)) << "nothing to pick from";
    h.session.Forget(id);
    ASSERT_TRUE(h.session.OpenFile(path));
    EXPECT_EQ(changes, (std::vector<SessionChange>{SessionChange::Opened, SessionChange::Picked,
                                                   SessionChange::Closed}));
}

TEST(DocumentSession, ANecOutputsPartsAndFrequenciesArePickedFromMemory) {
    const TempFolder folder;
    const std::string yagi = test::ReadBytes(test::TestDataFolder() / "nec" / "yagi3.nec");
    const std::string path = test::RunNec2c(folder.Path(), yagi);
    const std::string output = test::ReadBytes(path);
    SessionHarness h;
    ASSERT_TRUE(h.session.OpenFile(path));
    EXPECT_DOUBLE_EQ(h.state.View.NecFrequency, 14.0) << "the first frequency";
    // nec2c is halfway through rewriting its output.
    folder.Write("deck.out", output.substr(0, 100));
    struct Case {
        double mhz;
        NecPart part;
        double shownMhz;
        std::int16_t kind;
    };
    const Case cases[] = {
        {14.23, NecPart::Currents, 14.2, KindCurrents},
        {14.4, NecPart::Pattern, 14.4, KindFarField},
        {14.1, NecPart::Sweep, 14.1, KindSweep},
        {14.3, NecPart::NearField, 14.3, KindFarField}, // the deck asks for no near field
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mhz);
        ASSERT_TRUE(h.session.PickNec(c.mhz, c.part));
        EXPECT_DOUBLE_EQ(h.state.View.NecFrequency, c.shownMhz);
        EXPECT_EQ(h.state.Loaded.Data.DataKind, c.kind);
        LoadHarness readAgain;
        readAgain.state.View.NecFrequency = c.mhz;
        readAgain.state.View.NecShown = c.part;
        ASSERT_TRUE(readAgain.Open(folder.Write("whole.out", output)));
        Shown picked = ShownOf(h.state);
        Shown read = ShownOf(readAgain.state);
        if (c.kind != KindFarField) {
            // Shown with a pattern only; the last pattern's stay, as after any other file.
            picked.maxGain = read.maxGain;
        }
        EXPECT_EQ(picked, read);
    }
    EXPECT_TRUE(h.messages.shown.empty());

    // Another file starts afresh; data of another kind has no NEC choice to make.
    ASSERT_TRUE(h.session.OpenFile(folder.Write("deck.out", output)));
    EXPECT_DOUBLE_EQ(h.state.View.NecFrequency, 14.0);
    EXPECT_EQ(h.state.View.NecShown, NecPart::Pattern);
    ASSERT_TRUE(h.session.OpenFile(folder.Write("table.csv", ThreeSets("3"))));
    EXPECT_FALSE(h.session.PickNec(14.1, NecPart::Currents));
    EXPECT_EQ(h.state.Loaded.Data.DataKind, KindTable);
}

// A NEC-2 output compares by the part on show: its pattern at the frequency picked against far
// fields, its sweep against sweeps; the pinned copy is that part as it stood.
TEST(DocumentSession, ANecOutputComparesByThePartOnShow) {
    const TempFolder folder;
    const std::string yagi = test::ReadBytes(test::TestDataFolder() / "nec" / "yagi3.nec");
    const std::string path = test::RunNec2c(folder.Path(), yagi);
    const std::string farField =
        folder.Write("mmana.csv", test::ReadBytes(test::CorpusFolder() / "farfield_csv" /
                                                  "APET_LazyH-16m2_10deg.csv"));
    const std::string sweep =
        folder.Write("sweep.csv", test::ReadBytes(test::TestDataFolder() / "sweep_50ohm.csv"));
    SessionHarness h;
    ASSERT_TRUE(h.session.OpenFile(path));
    ASSERT_TRUE(h.session.PickNec(14.2, NecPart::Pattern));
    ASSERT_TRUE(h.session.Compare(farField));
    ASSERT_TRUE(h.session.PinCurrent());
    const auto* pinned = std::get_if<FarFieldPattern>(h.session.Comparisons()[1].result.get());
    ASSERT_NE(pinned, nullptr);
    const auto& nec = std::get<NecOutput>(*h.session.Current()->result);
    EXPECT_EQ(pinned->figures.MaxGain, nec.frequencies[2].pattern->figures.MaxGain);
    EXPECT_FALSE(h.session.Compare(sweep));

    // The sweep on show: the far fields go, a sweep file and the output itself compare.
    ASSERT_TRUE(h.session.PickNec(14.2, NecPart::Sweep));
    h.session.ClearComparisons();
    ASSERT_TRUE(h.session.Compare(sweep));
    ASSERT_TRUE(h.session.Compare(path));
    EXPECT_TRUE(std::holds_alternative<Sweep>(*h.session.Comparisons()[1].result));
}

// What a user reads off the compare entries: their names and whether each is pinned.
std::vector<std::string> LabelsOf(const DocumentSession& session) {
    std::vector<std::string> labels;
    for (const Comparison& entry : session.Comparisons()) {
        labels.push_back(ComparisonLabel(entry));
    }
    return labels;
}

TEST(DocumentSession, ComparesResultsOfOneKindAndKeepsAPinnedOneOverReloads) {
    const TempFolder folder;
    const std::string farField =
        test::ReadBytes(test::CorpusFolder() / "farfield_csv" / "APET_LazyH-16m2_10deg.csv");
    const std::string other =
        test::ReadBytes(test::CorpusFolder() / "farfield_csv" / "APET_4cross_quads2_10deg.csv");
    const std::string shown = folder.Write("shown.csv", farField);
    const std::string compared = folder.Write("compared.csv", other);
    const std::string sweep =
        folder.Write("sweep.csv", test::ReadBytes(test::TestDataFolder() / "sweep_50ohm.csv"));
    SessionHarness h;
    int told = 0;
    h.session.Observe([&told](SessionChange change, const Document*) {
        told += change == SessionChange::Compared ? 1 : 0;
    });
    const auto refused = [&h](const std::string& path, std::string_view message) {
        h.messages.shown.clear();
        EXPECT_FALSE(h.session.Compare(path)) << path;
        ASSERT_EQ(h.messages.shown.size(), 1u) << path;
        EXPECT_EQ(h.messages.shown[0].text, message);
        EXPECT_EQ(h.messages.shown[0].caption, "Lobex");
    };
    refused(compared, kCompareNothingShown);
    ASSERT_TRUE(h.session.OpenFile(shown));
    refused(sweep, kCompareOtherKind);
    refused(folder.Write("bad.csv", "garbage\r\n"), "Неправильный формат данных");
    EXPECT_TRUE(h.session.Comparisons().empty()) << "a refused file changes nothing";

    ASSERT_TRUE(h.session.Compare(compared));
    ASSERT_TRUE(h.session.Compare(compared)) << "read again in its place";
    ASSERT_TRUE(h.session.PinCurrent());
    EXPECT_EQ(LabelsOf(h.session),
              (std::vector<std::string>{"compared.csv", "Эталон 1: shown.csv"}));
    const auto before = h.session.Comparisons()[1].result;

    // MMANA calculates again: the file on show is rewritten, the pinned copy stays as it was.
    folder.Write("shown.csv", other);
    FakeControls controls;
    ASSERT_TRUE(h.session.Reload(controls).reloaded);
    EXPECT_EQ(h.session.Comparisons()[1].result, before);
    EXPECT_NE(h.session.Current()->result, before);

    // A compared file rewritten is read again; one that no longer reads keeps its entry.
    folder.Write("compared.csv", farField);
    EXPECT_TRUE(h.session.ReloadComparison(compared).reloaded);
    EXPECT_EQ(std::get<FarFieldPattern>(*h.session.Comparisons()[0].result).figures.MaxGain,
              std::get<FarFieldPattern>(*before).figures.MaxGain);
    folder.Write("compared.csv", "garbage\r\n");
    const ReloadOutcome failed = h.session.ReloadComparison(compared);
    EXPECT_EQ(failed.status, "Файл не перечитан: Неправильный формат данных");
    EXPECT_EQ(h.session.Comparisons().size(), 2u);

    for (int pin = 2; pin <= 6; ++pin) {
        ASSERT_TRUE(h.session.PinCurrent());
    }
    EXPECT_FALSE(h.session.PinCurrent()) << "seven at most";
    EXPECT_EQ(h.messages.shown.back().text, kCompareTooMany);
    h.session.ClearComparisons();
    EXPECT_TRUE(h.session.Comparisons().empty());

    // Another kind of data opened: the far fields compared no longer belong to it.
    ASSERT_TRUE(h.session.Compare(shown));
    ASSERT_TRUE(h.session.OpenFile(sweep));
    EXPECT_TRUE(h.session.Comparisons().empty());
    EXPECT_EQ(told, 12);
    ASSERT_TRUE(h.session.OpenFile(folder.Write(
        "currents.csv", test::ReadBytes(test::TestDataFolder() / "currents_3wires.csv"))));
    EXPECT_FALSE(h.session.PinCurrent());
    EXPECT_EQ(h.messages.shown.back().text, kCompareKindNotComparable);
}

// A deck's output lies in a temporary folder: its pins are named after the deck, and the deck
// run again writes another output, read in its place with the part and frequency kept.
TEST(DocumentSession, ADecksOutputIsNamedAfterTheDeckAndARerunKeepsTheChoices) {
    const TempFolder folder;
    const TempFolder again;
    const std::string yagi = test::ReadBytes(test::TestDataFolder() / "nec" / "yagi3.nec");
    SessionHarness h;
    ASSERT_TRUE(h.session.OpenFile(test::RunNec2c(folder.Path(), yagi), "/antennas/yagi3.nec"));
    ASSERT_TRUE(h.session.PickNec(14.2, NecPart::Sweep));
    std::string moved = yagi;
    moved.replace(moved.find("FR 0 5 0 0 14.0 0.1"), 19, "FR 0 3 0 0 14.0 0.15");
    FakeControls controls;
    ASSERT_TRUE(h.session.Reload(controls, test::RunNec2c(again.Path(), moved)).reloaded);
    EXPECT_EQ(h.state.View.NecShown, NecPart::Sweep);
    EXPECT_NEAR(h.state.View.NecFrequency, 14.15, 1e-9) << "the nearest to 14.2";
    EXPECT_EQ(std::get<Sweep>(*h.state.Loaded.Shown).points.size(), 3u) << "the new sweep";
    ASSERT_TRUE(h.session.PinCurrent());
    EXPECT_EQ(LabelsOf(h.session), std::vector<std::string>{"Эталон 1: yagi3.nec"});
}

} // namespace
} // namespace lobex
