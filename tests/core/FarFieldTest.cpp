#include "core/FarField.h"
#include "LoadHarness.h"
#include "core/LoadFlow.h"
#include "core/TextRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace lobex {
namespace {

const std::string kHeader = "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)\r\n";
const std::string kElevationText =
    "Входной файл содержит недостаточно данных для построения графика угла места.\r\n"
    "Удостовертесь что файл включает данные зенита по азимуту 0 и 180 градусов.";
using Gain = std::function<float(float zenith, float azimuth)>;

// A far-field file: every zenith for each azimuth in turn, the total gain from `total`, the
// vertical part 20 dB below it and the horizontal part equal to it.
std::string FarFieldText(const std::vector<float>& zeniths, const std::vector<float>& azimuths,
                         const Gain& total) {
    std::ostringstream text;
    text << kHeader;
    for (float azimuth : azimuths) {
        for (float zenith : zeniths) {
            const float gain = total(zenith, azimuth);
            text << zenith << ',' << azimuth << ',' << gain - 20.0f << ',' << gain << ',' << gain
                 << "\r\n";
        }
    }
    return text.str();
}

std::vector<float> Steps(float first, float last, float step) {
    std::vector<float> values;
    for (float value = first; value <= last + step / 2; value += step) {
        values.push_back(value);
    }
    return values;
}

// How far round the circle an azimuth is from another, 0..180.
float AngleBetween(float a, float b) {
    const float d = std::fmod(std::fabs(a - b), 360.0f);
    return d > 180.0f ? 360.0f - d : d;
}

// The grid read from text, with its maximum and beam found, in a state of its own.
struct Loaded {
    test::LoadHarness h;
    LoadResult result;
    bool ok = false;
    explicit Loaded(const std::string& text) : result(ReadFarFieldGrid(text)), ok(result.loaded) {
        h.state.Loaded.FarField = result.farField;
        FindMaximumAndBeam(h.state.Loaded.FarField, h.state.Loaded.Pattern);
    }
};

TEST(FarFieldGrid, ClosesTheCircleOnlyWhenTheLastStepIsMissing) {
    const std::tuple<float, std::size_t, float> cases[] = {
        {350.0f, 37, 360.0f}, // 0..350: a 360 column copying 0 is added
        {360.0f, 37, 360.0f}, // 0..360: left as it is
        {340.0f, 35, 340.0f}, // 0..340: a gap of 20 at the end stays open
    };
    for (const auto& [last, columns, lastAzimuth] : cases) {
        Loaded f(FarFieldText({0, 45, 90}, Steps(0, last, 10),
                              [](float z, float a) { return z + a / 100.0f; }));
        ASSERT_TRUE(f.ok) << last;
        const FarFieldGrid& grid = f.h.state.Loaded.FarField;
        ASSERT_EQ(grid.size(), columns) << last;
        EXPECT_EQ(grid.back().Azimuth, lastAzimuth);
        EXPECT_EQ(grid.back().Points[2].Total == grid.front().Points[2].Total, last == 350.0f);
    }
    // File order is kept and blank lines are skipped; 5 and 15 with a step of 10 stay open.
    Loaded f(kHeader +
             "\r\n  \r\n10,5,-1,-2,-3\r\n20,5,-4,-5,-6\r\n\r\n10,15,1,2,3\r\n20,15,4,5,6\r\n");
    ASSERT_EQ(f.h.state.Loaded.FarField.size(), 2U);
    const PatternPoint& p = f.h.state.Loaded.FarField[1].Points[1];
    EXPECT_EQ(std::vector<float>({p.Zenith, p.Vertical, p.Horizontal, p.Total}),
              std::vector<float>({20, 4, 5, 6}));
}

TEST(FarFieldGrid, RefusesGridsItCannotHoldWithAMessage) {
    std::string huge = kHeader;
    for (int z = 0; z <= 16384; ++z) {
        huge += std::to_string(z) + ",0,1,2,3\n";
    }
    const std::pair<const char*, std::string> cases[] = {
        {"a header alone", kHeader},
        {"a single azimuth", kHeader + "0,0,1,2,3\r\n10,0,1,2,3\r\n"},
        {"a short line", kHeader + "0,0,1,2,3\r\n0,10,1,2\r\n"},
        {"unequal columns", kHeader + "0,0,1,2,3\r\n10,0,1,2,3\r\n0,10,1,2,3\r\n"},
        {"a longer last column", kHeader + "0,0,1,2,3\r\n0,10,1,2,3\r\n10,10,1,2,3\r\n"},
        {"a value beyond the float range", kHeader + "0,0,1,2,3\r\n0,10,1,2,1e40\r\n"},
        {"more zeniths than the grid can list", huge},
    };
    for (const auto& [what, text] : cases) {
        Loaded f(text);
        EXPECT_FALSE(f.ok) << what;
        EXPECT_EQ(test::Texts(f.result.messages),
                  std::vector<std::string>{text == huge ? "Файл содержит слишком много узлов.\r\n"
                                                          "Уменьшите шаг Азимута и/или Зенита."
                                                        : "Неправильный формат данных"})
            << what;
        EXPECT_EQ(f.result.messages.at(0).icon, MessageIcon::Information) << what;
        ASSERT_EQ(f.result.farField.size(), 1U) << what;
        EXPECT_EQ(f.result.farField[0].Points.size(), 1U) << what;
    }
}

TEST(FarFieldBeam, FindsTheMaximumAndTheEdgesNearestTheThreeDecibelLevel) {
    struct Case {
        std::vector<float> azimuths;
        float centre;                              // of the lobe
        std::vector<std::pair<float, float>> lobe; // degrees from the centre, gain
        float rest;                                // the gain elsewhere
        std::vector<float> expected;               // azimuth and gain of the maximum, beam
                                                   // left, right and width
    };
    std::vector<float> gap = Steps(0, 330, 10);
    gap.push_back(350.0f); // 340 is missing
    std::vector<float> open = Steps(0, 330, 10);
    open.push_back(335.0f);
    const std::vector<float> circle = Steps(0, 350, 10);
    const Case cases[] = {
        // 10 and 20 degrees either side within 3 dB, 30 beyond, 20 nearer the level than 30.
        {circle, 0, {{0, 10}, {10, 9.5f}, {20, 7.5f}, {30, 6}}, -10, {0, 10, 340, 20, 40}},
        // 3.5 dB down at 110 is nearer the level than 2 dB down at 100.
        {circle, 90, {{0, 10}, {10, 8}, {20, 6.5f}}, -10, {90, 10, 70, 110, 40}},
        // A whole circle within 3 dB.
        {circle, 0, {{0, 5}}, 4, {0, 5, 0, 0, 360}},
        // A gap in the azimuths stops the backward walk before it reaches its edge.
        {gap, 0, {{0, 10}, {10, 9.5f}, {20, 9}, {30, 8.5f}}, 5, {0, 10, 0, 30, 40}},
        // A maximum in the last column of an open grid: the step is 335 - 330 = 5, and 320 lies
        // two such steps away, so the walk stops there.
        {open, 335, {{0, 10}, {5, 9}, {15, 8.5f}}, 0, {335, 10, 0, 0, 5}},
        // Nothing above the floor.
        {circle, 0, {}, -999, {0, -100, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Loaded f(FarFieldText({0, 90}, c.azimuths, [&c](float, float azimuth) {
            for (const auto& [away, gain] : c.lobe) {
                if (AngleBetween(azimuth, c.centre) == away) {
                    return gain;
                }
            }
            return c.rest;
        }));
        ASSERT_TRUE(f.ok);
        const PatternResults& p = f.h.state.Loaded.Pattern;
        EXPECT_EQ(
            std::vector<float>({p.MaxAzimuth, p.MaxGain, p.BeamLeft, p.BeamRight, p.BeamWidth}),
            c.expected)
            << "case " << &c - cases;
    }
}

TEST(FarFieldBeam, AStepThatIsNotExactInBinaryGivesTheSameBeam) {
    // A lobe towards azimuth 0 whose -3 dB edges lie near +-27 degrees: every sampling of it
    // must find a beam of about 54 degrees, however its step rounds in binary.
    const Gain lobe = [](float zenith, float azimuth) {
        const double half = static_cast<double>(azimuth) * 3.14159265358979 / 360.0;
        return static_cast<float>(10.0 +
                                  240.0 * std::log10(std::max(1e-6, std::fabs(std::cos(half)))) -
                                  (zenith == 60.0f ? 0.0 : 5.0));
    };
    for (float step : {10.0f, 5.0f, 1.0f, 3.6f, 0.1f}) {
        std::vector<float> azimuths;
        const int count = static_cast<int>(std::lround(360.0f / step));
        for (int a = 0; a < count; ++a) {
            azimuths.push_back(static_cast<float>(a * static_cast<double>(step)));
        }
        const LoadResult grid =
            ReadFarFieldGrid(FarFieldText({30.0f, 60.0f, 90.0f}, azimuths, lobe));
        ASSERT_TRUE(grid.loaded) << step;
        EXPECT_EQ(grid.farField.size(), static_cast<std::size_t>(count + 1)) << step; // closed
        PatternResults pattern;
        FindMaximumAndBeam(grid.farField, pattern);
        EXPECT_NEAR(pattern.BeamWidth, 54.0f, std::max(step, 1.0f) * 2.0f) << step;
        EXPECT_NEAR(pattern.BeamLeft, 360.0f - pattern.BeamRight, step * 1.01f) << step;
    }
}

TEST(FarFieldReader, TheGridTableHoldsOnlyRowsWithData) {
    const Gain flat = [](float, float) {
        return 1.0f;
    };
    // Without azimuth 180 the table is the front half of the elevation cut, not zeros behind it.
    const LoadResult front =
        ReadFarField(FarFieldText({0.0f, 45.0f, 90.0f}, {0.0f, 90.0f}, flat), LoadRequest{});
    ASSERT_TRUE(front.loaded);
    EXPECT_EQ(front.data.Series[0].Values, (std::vector<float>{90.0f, 45.0f, 0.0f}));
    EXPECT_EQ(front.patternControls, false);
    // Without azimuth 0 there is no row at all, and the pattern still loads through the flow.
    test::LoadHarness h;
    test::TempFolder folder;
    ASSERT_TRUE(
        h.Open(folder.Write("side.csv", FarFieldText({0.0f, 90.0f}, {90.0f, 270.0f}, flat))));
    EXPECT_EQ(h.state.Loaded.Data.GridRowCount, 0);
    EXPECT_TRUE(h.state.Loaded.DataGrid.rows.empty());
    EXPECT_EQ(h.state.Loaded.Data.DataKind, KindFarField);
}

TEST(FarFieldCut, AzimuthCutHoldsEveryColumnAsFourthPowerRadiiAboveTheFloor) {
    const auto gain = [](float zenith, float azimuth) {
        return zenith != 60 ? -30.0f : azimuth == 0 ? 10.0f : azimuth == 90 ? -25.0f : -999.0f;
    };
    Loaded f(FarFieldText({0, 60, 90}, Steps(0, 270, 90), gain));
    ASSERT_TRUE(f.ok);
    f.h.state.View.CutKind = 1;
    const CutResult cut = BuildCut(f.h.ctx, 0.0f, 30.0f);
    ASSERT_TRUE(cut.built);
    const DataSet& data = f.h.state.Loaded.Data;
    EXPECT_EQ(data.Series[0].Values, (std::vector<float>{0, 90, 180, 270, 360}));
    const std::vector<float>& total = data.Series[3].Values;
    EXPECT_EQ(f.h.state.Loaded.Pattern.PlotRange, 70.0f); // from -60 up to the 10 dBi maximum
    EXPECT_FLOAT_EQ(total[0], 1.0f);                      // the strongest value on the outer ring
    EXPECT_FLOAT_EQ(total[1], 0.0625f);                   // -25 dBi: (35 / 70)^4
    EXPECT_EQ(total[2], 0.0f);                            // -999 is drawn at the -60 floor
    EXPECT_EQ(cut.patternControls, true);

    const CutResult missing = BuildCut(f.h.ctx, 0.0f, 45.0f); // no zenith 45 in the grid
    EXPECT_FALSE(missing.built);
    EXPECT_EQ(missing.patternControls, false);
    EXPECT_EQ(f.h.MessageTexts(), std::vector<std::string>{kElevationText});

    // The elevation cut needs both azimuths: 90 and 270 exist, 10 and 190 do not.
    EXPECT_TRUE(ElevationCut(f.h.state.Loaded.FarField, 90.0f, f.h.state.Loaded.Data));
    EXPECT_FALSE(ElevationCut(f.h.state.Loaded.FarField, 10.0f, f.h.state.Loaded.Data));

    // A pattern at the floor alone has no range: every radius sits at the centre.
    Loaded floor(FarFieldText({0, 90}, Steps(0, 350, 10), [](float, float) { return -60.0f; }));
    floor.h.state.View.CutKind = 1;
    ASSERT_TRUE(BuildCut(floor.h.ctx, 0.0f, 0.0f).built);
    EXPECT_EQ(floor.h.state.Loaded.Data.Series[3].Values, std::vector<float>(37, 0.0f));
}

TEST(FarFieldReader, ListsTheElevationsAboveTheHorizonWithTheMaximumsSelected) {
    const LoadResult result =
        ReadFarField(test::ReadBytes(test::TestDataFolder() / "farfield_below_horizon_30deg.csv"),
                     LoadRequest{});
    ASSERT_TRUE(result.loaded);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.pattern.MaxElevation, 30.0f);
    EXPECT_TRUE(result.showPattern);
    EXPECT_EQ(result.patternControls, true);
    EXPECT_EQ(result.curves, 3);
    ASSERT_TRUE(result.sets.has_value());
    EXPECT_EQ(test::Texts(*result.sets), (std::vector<std::string>{"90", "60", "30", "0"}));
    EXPECT_EQ(result.sets->entries[1].itemData, 1); // the zenith index of 60 degrees
    EXPECT_EQ(result.sets->selected, 2);
    EXPECT_EQ(result.gridHeader,
              (std::vector<std::string>{"Угол Места", "Верт", "Гориз", "Общая", "", "", ""}));
    // The grid table is the elevation cut through 0 and 180: 2 x 6 + 1 angles.
    EXPECT_EQ(result.data.Series[0].Values.size(), 13U);
    EXPECT_EQ(result.data.Series[3].Max, 8.04f); // the table's own limits, in dBi

    // Re-read for a chosen elevation, the list stays as it is.
    const LoadResult chosen =
        ReadFarField(test::ReadBytes(test::TestDataFolder() / "farfield_below_horizon_30deg.csv"),
                     LoadRequest{1, true, ".", kPiValue});
    EXPECT_FALSE(chosen.sets.has_value());
    EXPECT_FALSE(chosen.curves.has_value());
}

TEST(FarFieldLoad, FillsTheGridTableAndReloadsTheAzimuthCutForAPickedElevation) {
    test::LoadHarness h;
    ASSERT_TRUE(h.Open((test::TestDataFolder() / "farfield_below_horizon_30deg.csv").string()));
    EXPECT_TRUE(h.messages.shown.empty());
    const AppState& s = h.state;
    EXPECT_TRUE(s.Loaded.Pattern.ElevationCutAvailable);
    EXPECT_EQ(s.Loaded.Sets.selected, 2);
    // The grid: the elevation cut, ascending by angle.
    ASSERT_EQ(s.Loaded.DataGrid.rows.size(), 13U);
    EXPECT_EQ(s.Loaded.DataGrid.rows.front()[0], "-90.00");
    EXPECT_EQ(s.Loaded.DataGrid.rows.back()[0], "270.00");

    // Picking another elevation rebuilds the azimuth cut there and keeps the list and the table.
    ASSERT_TRUE(h.Pick(1));
    EXPECT_EQ(h.state.View.SelectedSetText, "60");
    EXPECT_EQ(h.state.Loaded.Sets.entries.size(), 4U);
    EXPECT_EQ(h.state.Loaded.DataGrid.rows.size(), 13U);
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST(FarFieldLoad, ASingleZenithLoadsAndSaysOnceThatThereIsNoElevationCut) {
    test::LoadHarness h;
    ASSERT_TRUE(h.Open((test::TestDataFolder() / "farfield_single_zenith.csv").string()));
    EXPECT_EQ(h.MessageTexts(), std::vector<std::string>{kElevationText});
    EXPECT_FALSE(h.state.Loaded.Pattern.ElevationCutAvailable);
    EXPECT_EQ(h.state.Loaded.Sets.entries.size(), 1U);
}

TEST(FarFieldLoad, ElevationListUsesTheLocaleDecimalSymbol) {
    test::LoadHarness h;
    h.state.DecimalSeparator = ",";
    test::TempFolder folder;
    ASSERT_TRUE(h.Open(folder.Write(
        "f.csv", FarFieldText({67.5f, 90}, {0, 180}, [](float, float) { return 1.0f; }))));
    ASSERT_EQ(h.state.Loaded.Sets.entries.size(), 2U);
    EXPECT_EQ(h.state.Loaded.Sets.entries[0].text, "22,5");
    ASSERT_TRUE(h.Pick(0));
    EXPECT_TRUE(h.messages.shown.empty()); // 22,5 was read back as 22.5, which exists
}

} // namespace
} // namespace lobex

namespace lobex {
namespace {

// MMANA's own number form is read on a short path; every other form must give what the
// leading-number rule gives, whatever the line end.
TEST(FarFieldGrid, ReadsEveryNumberFormAsTheLeadingNumberRuleDoes) {
    const std::vector<std::string> gains = {
        "-12.34", "7",      "-0",         "0.1234567", "12345678", "-999.00",     " 3.5",
        "+2.25",  "1.5e1",  "2.",         "-.75",      "4.0 ",     "1.25x",       "",
        "-",      "12.5.6", "0.00000001", "99999.99",  "-1234567", "3.40282e+38", "abc"};
    const std::vector<std::string> ends = {"\r\n", "\n", "\r"};
    for (const std::string& ending : ends) {
        std::string text = "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)" + ending;
        // Two azimuths of the same zeniths, each zenith a gain form in all three gain fields;
        // blank lines and a further field on the way.
        for (const char* azimuth : {"0", "180"}) {
            for (std::size_t z = 0; z < gains.size(); ++z) {
                text += std::to_string(z) + "," + azimuth + "," + gains[z] + "," + gains[z] + "," +
                        gains[z] + (z % 5 == 0 ? ",extra" : "") + ending;
                if (z % 7 == 0) {
                    text += "   " + ending + ending;
                }
            }
        }
        const LoadResult result = ReadFarFieldGrid(text);
        ASSERT_TRUE(result.loaded) << static_cast<int>(ending[0]);
        ASSERT_EQ(result.farField.size(), 3U); // 0 and 180, and 360 closing the circle
        for (const AzimuthColumn& column : result.farField) {
            ASSERT_EQ(column.Points.size(), gains.size());
            for (std::size_t z = 0; z < gains.size(); ++z) {
                const float expected = LeadingFloat(gains[z]);
                const PatternPoint& point = column.Points[z];
                EXPECT_EQ(point.Zenith, static_cast<float>(z));
                for (float value : {point.Vertical, point.Horizontal, point.Total}) {
                    EXPECT_EQ(value, expected) << "'" << gains[z] << "'";
                    EXPECT_EQ(std::signbit(value), std::signbit(expected))
                        << "'" << gains[z] << "'";
                }
            }
        }
    }
}

} // namespace
} // namespace lobex
