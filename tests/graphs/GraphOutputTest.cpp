#include "graphs/GraphOutput.h"
#include "GraphWorld.h"

#include <gtest/gtest.h>

#include <functional>

namespace lobex::test {
namespace {

using Sent = std::vector<std::pair<std::int32_t, std::string>>;
using Output = std::function<bool(PlotLink&, const AppState&)>;

constexpr std::int32_t kGraphDoc = 11;
constexpr std::int32_t kAzimuthDoc = 12;
constexpr std::int32_t kElevationDoc = 13;

constexpr const char* kNote735 = "[NoteText(\"7.35dBi\")][NotePosition(0.0,1.0)][FontPoints(7,7)]";

// A graph, or both diagrams of a pattern whose maximum gain is 7.35 dBi, ready to leave.
void Prepare(GraphWorld<>& h, bool pattern, const char* decimal = ".") {
    h.state.View.PatternShown = pattern;
    h.state.Loaded.Pattern.MaxGain = 7.35f;
    h.state.DecimalSeparator = decimal;
    h.link.Slots[kMainSlot].DocNum = pattern ? 0 : kGraphDoc;
    h.link.Slots[kAzimuthSlot].DocNum = pattern ? kAzimuthDoc : 0;
    h.link.Slots[kElevationSlot].DocNum = pattern ? kElevationDoc : 0;
}

Output Copy(int chosen) {
    return [chosen](PlotLink& link, const AppState& state) {
        return CopyGraph(link, state, chosen);
    };
}
Output Print() {
    return [](PlotLink& link, const AppState& state) {
        return PrintGraph(link, state, "/data/yagi.csv");
    };
}
Output Save(const char* format, std::string path, int chosen = 0) {
    return [=](PlotLink& link, const AppState& state) {
        return SaveGraphAs(link, state, chosen, format, path);
    };
}

// Each output goes to the document that leaves with its command string; nothing sent is a
// failure.
TEST(GraphOutput, EachCommandGoesToTheDocumentThatLeavesWithItsCommandString) {
    struct Case {
        const char* name;
        bool pattern;
        const char* decimal;
        Output output;
        Sent sent;
    };
    const std::string note = kNote735, lw = "[LineWidth(-2,10)]", dims = "[SetMetafileDims(5,3)]";
    const std::string comma = "[NoteText(\"7,35dBi\")][NotePosition(0.0,1.0)][FontPoints(7,7)]";
    // The print heading: the file's name (a pattern's figures are read back from the page in the
    // window test).
    const std::string page = lw + "[FilePageSetup(0.5,0.5,0.5,0.5)]";
    const std::string graphHeading = R"([PrintHeading()][PrintHeading("yagi.csv")])";
    const Case cases[] = {
        {"graph copied", false, ".", Copy(0), {{kGraphDoc, dims + "[CopyPicture()]"}}},
        {"decimal comma", true, ",", Copy(2), {{kElevationDoc, comma + lw + "[CopyPicture()]"}}},
        {"no diagram chosen: nothing to copy", true, ".", Copy(0), {}},
        {"graph printed",
         false,
         ".",
         Print(),
         {{kGraphDoc, graphHeading + page + "[FilePrint(1)]"}}},
        {"graph saved as PDF",
         false,
         ".",
         Save("pdf", "C:\\Графики\\g.pdf"),
         {{kGraphDoc, dims + "[FileSaveAs(4099,\"C:\\Графики\\g.pdf\")]"}}},
        {"elevation saved with its note",
         true,
         ".",
         Save("emf", "e.emf", 2),
         {{kElevationDoc, note + lw + "[SetMetafileDims(3.3,3.3)][FileSaveAs(4097,\"e.emf\")]"}}},
        {"a bitmap is no engine output", false, ".", Save("png", "g.png"), {}},
    };
    for (const Case& c : cases) {
        GraphWorld<> h;
        Prepare(h, c.pattern, c.decimal);
        EXPECT_EQ(c.output(h.link, h.state), !c.sent.empty()) << c.name;
        EXPECT_EQ(h.api.commands, c.sent) << c.name;
        EXPECT_TRUE(h.messages.shown.empty()) << c.name;
    }
}

TEST(GraphOutput, AMissingDocumentOrARefusedCommandFails) {
    struct Case {
        const char* name;
        bool pattern;
        int missingSlot; // -1: every document is there
        std::int32_t answer;
        Output output;
        std::size_t sent;
    };
    const Case cases[] = {
        {"copy without a graph", false, kMainSlot, 1, Copy(0), 0},
        {"copy refused", false, -1, 0, Copy(0), 1},
        {"print failed or cancelled", false, -1, 0, Print(), 1},
        {"print without the elevation: not even the note", true, kElevationSlot, 1, Print(), 0},
        {"print stops when the note is refused", true, -1, 0, Print(), 1},
        {"save refused", true, -1, 0, Save("pdf", "d.pdf", 1), 1},
    };
    for (const Case& c : cases) {
        GraphWorld<> h;
        Prepare(h, c.pattern);
        if (c.missingSlot >= 0) {
            h.link.Slots[static_cast<std::size_t>(c.missingSlot)].DocNum = 0;
        }
        h.api.commandAnswer = c.answer;
        EXPECT_FALSE(c.output(h.link, h.state)) << c.name;
        EXPECT_EQ(h.api.commands.size(), c.sent) << c.name;
    }
}

} // namespace
} // namespace lobex::test
