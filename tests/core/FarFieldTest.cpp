#include "core/FarField.h"
#include "LoadHarness.h"
#include "core/DataGrid.h"
#include "core/LoadFlow.h"
#include "core/Messages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace lobex {
namespace {

const std::string kHeader = "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)\r\n";

// A far-field file: every zenith for each azimuth in turn, the total gain from `total`, the
// vertical part 20 dB below it and the horizontal part equal to it.
std::string FarFieldText(const std::vector<float>& zeniths, const std::vector<float>& azimuths,
                         const std::function<float(float zenith, float azimuth)>& total) {
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

// How far round the circle two azimuths are, 0..180.
float AngleBetween(float a, float b) {
    const float d = std::fmod(std::fabs(a - b), 360.0f);
    return d > 180.0f ? 360.0f - d : d;
}

struct Loaded {
    test::LoadHarness h;
    test::TempFolder folder;
    bool ok = false;
    explicit Loaded(const std::string& text, bool fullLoad = false) {
        const std::string path = folder.Write("f.csv", text);
        ok = fullLoad ? LoadFarField(h.ctx, path) : ReadFarFieldGrid(h.ctx, path);
        if (ok && !fullLoad) {
            FindMaximumAndBeam(h.state);
        }
    }
};

TEST(FarFieldGrid, ClosesTheCircleOnlyWhenTheLastStepIsMissing) {
    struct Case {
        float last;
        std::size_t columns;
        float lastAzimuth;
    };
    const Case cases[] = {
        {350.0f, 37, 360.0f}, // 0..350: a 360 column copying 0 is added
        {360.0f, 37, 360.0f}, // 0..360: left as it is
        {340.0f, 35, 340.0f}, // 0..340: a gap of 20 at the end stays open
    };
    for (const Case& c : cases) {
        Loaded f(FarFieldText({0, 45, 90}, Steps(0, c.last, 10),
                              [](float z, float a) { return z + a / 100.0f; }));
        ASSERT_TRUE(f.ok) << c.last;
        const FarFieldGrid& grid = f.h.state.FarField;
        ASSERT_EQ(grid.size(), c.columns) << c.last;
        EXPECT_EQ(grid.back().Azimuth, c.lastAzimuth);
        EXPECT_EQ(grid.back().Points.size(), 3U);
        if (c.last == 350.0f) {
            EXPECT_EQ(grid.back().Points[2].Total, grid.front().Points[2].Total);
        }
    }
}

TEST(FarFieldGrid, KeepsFileOrderAndSkipsBlankLines) {
    Loaded f(kHeader +
             "\r\n  \r\n10,5,-1,-2,-3\r\n20,5,-4,-5,-6\r\n\r\n10,15,1,2,3\r\n20,15,4,5,6\r\n");
    ASSERT_TRUE(f.ok);
    const FarFieldGrid& grid = f.h.state.FarField;
    ASSERT_EQ(grid.size(), 2U); // 5 and 15: the step 10 does not close 360 - 15
    EXPECT_EQ(grid[0].Azimuth, 5.0f);
    EXPECT_EQ(grid[1].Points[1].Zenith, 20.0f);
    EXPECT_EQ(grid[1].Points[1].Vertical, 4.0f);
    EXPECT_EQ(grid[1].Points[1].Horizontal, 5.0f);
    EXPECT_EQ(grid[1].Points[1].Total, 6.0f);
}

TEST(FarFieldGrid, RefusesGridsItCannotHoldWithAMessage) {
    struct Case {
        const char* what;
        std::string text;
        const char* message;
    };
    std::string huge = kHeader;
    for (int z = 0; z <= 16384; ++z) {
        huge += std::to_string(z) + ",0,1,2,3\n";
    }
    const Case cases[] = {
        {"a header alone", kHeader, "Неправильный формат данных"},
        {"a single azimuth", kHeader + "0,0,1,2,3\r\n10,0,1,2,3\r\n", "Неправильный формат данных"},
        {"a short line", kHeader + "0,0,1,2,3\r\n0,10,1,2\r\n", "Неправильный формат данных"},
        {"unequal columns", kHeader + "0,0,1,2,3\r\n10,0,1,2,3\r\n0,10,1,2,3\r\n",
         "Неправильный формат данных"},
        {"a longer last column", kHeader + "0,0,1,2,3\r\n0,10,1,2,3\r\n10,10,1,2,3\r\n",
         "Неправильный формат данных"},
        {"a value beyond the float range", kHeader + "0,0,1,2,3\r\n0,10,1,2,1e40\r\n",
         "Неправильный формат данных"},
        {"the header in other letters",
         "zenith(deg),azimuth(deg),vert(dbi),hori(dbi),total(dbi)\r\n",
         "Неправильный формат данных"},
        {"more zeniths than the grid can list", huge,
         "Файл содержит слишком много узлов.\r\nУменьшите шаг Азимута и/или Зенита."},
    };
    for (const Case& c : cases) {
        Loaded f(c.text);
        EXPECT_FALSE(f.ok) << c.what;
        EXPECT_EQ(f.h.MessageTexts(), std::vector<std::string>{c.message}) << c.what;
        EXPECT_EQ(f.h.messages.shown.at(0).icon, MessageIcon::Information) << c.what;
        ASSERT_EQ(f.h.state.FarField.size(), 1U) << c.what;
        EXPECT_EQ(f.h.state.FarField[0].Points.size(), 1U) << c.what;
    }
}

TEST(FarFieldBeam, FindsTheEdgesNearestTheThreeDecibelLevel) {
    // Maximum at azimuth 0; 10 and 20 degrees either side within 3 dB, 30 beyond, and 20 nearer
    // the 3 dB level than 30.
    const auto gain = [](float zenith, float azimuth) {
        if (zenith != 60.0f) {
            return -20.0f;
        }
        const float d = AngleBetween(azimuth, 0.0f);
        return d == 0 ? 10.0f : d == 10 ? 9.5f : d == 20 ? 7.5f : d == 30 ? 6.0f : -10.0f;
    };
    Loaded f(FarFieldText({0, 60, 90}, Steps(0, 350, 10), gain));
    ASSERT_TRUE(f.ok);
    const PatternResults& p = f.h.state.Pattern;
    EXPECT_EQ(p.MaxGain, 10.0f);
    EXPECT_EQ(p.MaxElevation, 30.0f);
    EXPECT_EQ(p.MaxAzimuth, 0.0f);
    EXPECT_EQ(p.BeamRight, 20.0f);
    EXPECT_EQ(p.BeamLeft, 340.0f);
    EXPECT_EQ(p.BeamWidth, 40.0f);
}

TEST(FarFieldBeam, TakesTheFartherEdgeWhenItIsNearerTheLevel) {
    const auto gain = [](float zenith, float azimuth) {
        if (zenith != 90.0f) {
            return -20.0f;
        }
        const float d = AngleBetween(azimuth, 90.0f);
        return d == 0 ? 10.0f : d == 10 ? 8.0f : d == 20 ? 6.5f : -10.0f; // 20: 3.5 below
    };
    Loaded f(FarFieldText({0, 90}, Steps(0, 350, 10), gain));
    ASSERT_TRUE(f.ok);
    const PatternResults& p = f.h.state.Pattern;
    EXPECT_EQ(p.MaxAzimuth, 90.0f);
    EXPECT_EQ(p.MaxElevation, 0.0f);
    EXPECT_EQ(p.BeamRight, 110.0f); // 3.5 dB down is nearer 3 than 2 dB down at 100
    EXPECT_EQ(p.BeamLeft, 70.0f);
    EXPECT_EQ(p.BeamWidth, 40.0f);
}

TEST(FarFieldBeam, AWholeCircleWithinThreeDecibelsIsThreeHundredSixtyWide) {
    Loaded f(FarFieldText({0, 90}, Steps(0, 350, 10),
                          [](float z, float a) { return z == 90 ? 5.0f - a / 200.0f : 0.0f; }));
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.h.state.Pattern.BeamWidth, 360.0f);
    EXPECT_EQ(f.h.state.Pattern.MaxGain, 5.0f);
}

TEST(FarFieldBeam, AGapInTheAzimuthsEndsTheBackwardWalk) {
    std::vector<float> azimuths = Steps(0, 330, 10);
    azimuths.push_back(350.0f); // 340 is missing
    const auto gain = [](float, float azimuth) {
        const float d = AngleBetween(azimuth, 0.0f);
        return d <= 30 ? 10.0f - 0.05f * d : 5.0f;
    };
    Loaded f(FarFieldText({0, 90}, azimuths, gain));
    ASSERT_TRUE(f.ok);
    const PatternResults& p = f.h.state.Pattern;
    EXPECT_EQ(p.BeamRight, 30.0f);
    EXPECT_EQ(p.BeamLeft, 0.0f); // never reached: the walk stops at the gap
    EXPECT_EQ(p.BeamWidth, 40.0f);
}

TEST(FarFieldBeam, AMaximumInTheLastColumnOfAnOpenGridTakesTheStepBeforeIt) {
    std::vector<float> azimuths = Steps(0, 330, 10);
    azimuths.push_back(335.0f);
    const auto gain = [](float, float azimuth) {
        return azimuth == 335 ? 10.0f : azimuth == 330 ? 9.0f : azimuth == 320 ? 8.5f : 0.0f;
    };
    Loaded f(FarFieldText({0, 90}, azimuths, gain));
    ASSERT_TRUE(f.ok);
    ASSERT_EQ(f.h.state.FarField.size(), azimuths.size()); // open
    const PatternResults& p = f.h.state.Pattern;
    EXPECT_EQ(p.MaxAzimuth, 335.0f);
    // The step is 335 - 330 = 5; 320 lies two such steps away, so the walk stops there.
    EXPECT_EQ(p.BeamWidth, 5.0f);
}

TEST(FarFieldBeam, APatternWithNothingAboveTheFloorHasNoLobe) {
    Loaded f(FarFieldText({0, 90}, Steps(0, 350, 10), [](float, float) { return -999.0f; }));
    ASSERT_TRUE(f.ok);
    const PatternResults& p = f.h.state.Pattern;
    EXPECT_EQ(p.MaxGain, -100.0f);
    EXPECT_EQ(p.BeamWidth, 0.0f);
}

TEST(FarFieldCut, AzimuthCutHoldsEveryColumnAsFourthPowerRadii) {
    const auto gain = [](float zenith, float azimuth) {
        if (zenith != 60.0f) {
            return -30.0f;
        }
        return azimuth == 0 ? 10.0f : azimuth == 90 ? -25.0f : -999.0f;
    };
    Loaded f(FarFieldText({0, 60, 90}, Steps(0, 270, 90), gain));
    ASSERT_TRUE(f.ok);
    f.h.state.CutKind = 1;
    ASSERT_TRUE(BuildCut(f.h.ctx, 0.0f, 30.0f));
    const DataSet& data = f.h.state.Data;
    EXPECT_EQ(data.Series[0].Values, (std::vector<float>{0, 90, 180, 270, 360}));
    const std::vector<float>& total = data.Series[3].Values;
    EXPECT_EQ(f.h.state.Pattern.PlotRange, 70.0f); // from -60 up to the 10 dBi maximum
    EXPECT_FLOAT_EQ(total[0], 1.0f);               // the strongest value on the outer ring
    EXPECT_FLOAT_EQ(total[1], 0.0625f);            // -25 dBi: (35 / 70)^4
    EXPECT_EQ(total[2], 0.0f);                     // -999 is drawn at the -60 floor
    EXPECT_EQ(data.Series[3].Max, total[0]);
    EXPECT_EQ(data.Series[3].Min, 0.0f);
    EXPECT_TRUE(f.h.state.PatternShown);
    EXPECT_EQ(data.DataKind, KindFarField);
    EXPECT_EQ(f.h.view.patternControls.back(), true);

    EXPECT_FALSE(BuildCut(f.h.ctx, 0.0f, 45.0f)); // no zenith 45 in the grid
    EXPECT_EQ(f.h.view.patternControls.back(), false);
    EXPECT_EQ(f.h.messages.shown.size(), 1U);
}

TEST(FarFieldCut, ElevationCutRunsThroughZeroAndOneHundredEighty) {
    Loaded f(FarFieldText({0, 30, 60, 90}, Steps(0, 330, 30), [](float z, float a) {
        return a == 180 ? -z : a == 0 ? z : 99.0f;
    }));
    ASSERT_TRUE(f.ok);
    ElevationCut(f.h.ctx, 0.0f, "");
    const DataSet& data = f.h.state.Data;
    EXPECT_EQ(data.Series[0].Values, (std::vector<float>{90, 60, 30, 0, 120, 150, 180}));
    EXPECT_EQ(data.Series[3].Values, (std::vector<float>{0, 30, 60, 90, -30, -60, -90}));
    EXPECT_TRUE(f.h.messages.shown.empty());

    ElevationCut(f.h.ctx, 10.0f, "gone"); // neither 10 nor 190 exists
    EXPECT_FALSE(f.h.state.Pattern.ElevationCutAvailable);
    EXPECT_EQ(f.h.MessageTexts(), std::vector<std::string>{"gone"});
}

TEST(FarFieldCut, AFloorOnlyPatternDrawsEveryRadiusAtTheCentre) {
    Loaded f(FarFieldText({0, 90}, Steps(0, 350, 10), [](float, float) { return -60.0f; }));
    ASSERT_TRUE(f.ok);
    f.h.state.CutKind = 1;
    ASSERT_TRUE(BuildCut(f.h.ctx, 0.0f, 0.0f));
    EXPECT_EQ(f.h.state.Pattern.PlotRange, 0.0f);
    for (float radius : f.h.state.Data.Series[3].Values) {
        EXPECT_EQ(radius, 0.0f);
    }
}

TEST(FarFieldLoad, FillsTheElevationListAndTheGridTable) {
    test::LoadHarness h;
    const std::string path = (test::TestDataFolder() / "farfield_below_horizon_30deg.csv").string();
    ASSERT_TRUE(LoadDataFile(h.ctx, path));
    EXPECT_TRUE(h.messages.shown.empty());
    const AppState& s = h.state;
    EXPECT_EQ(s.Data.DataKind, KindFarField);
    EXPECT_EQ(s.FarField.size(), 13U);
    EXPECT_EQ(s.Pattern.MaxElevation, 30.0f);
    EXPECT_EQ(s.Pattern.MaxAzimuth, 0.0f);
    EXPECT_TRUE(s.Pattern.ElevationCutAvailable);
    EXPECT_FALSE(h.view.button3D);
    EXPECT_EQ(h.view.showPattern, (std::vector<std::pair<int, int>>{{1, 2}}));
    EXPECT_EQ(h.view.fillCombos, std::vector<int>{3});
    // Elevations from the zenith angles above the horizon; the maximum's one is selected.
    ASSERT_EQ(h.view.ParamCount(), 4);
    EXPECT_EQ(h.view.ParamItemText(0), "90");
    EXPECT_EQ(h.view.ParamItemText(3), "0");
    EXPECT_EQ(h.view.ParamItemData(2), 2);
    EXPECT_EQ(h.view.paramIndex, 2);
    // The grid: the elevation cut through 0 and 180, 2 x 6 + 1 rows, ascending by angle.
    EXPECT_EQ(s.Data.GridRowCount, 13);
    ASSERT_EQ(s.DataGrid.rows.size(), 13U);
    EXPECT_EQ(s.DataGrid.rows.front()[0], "-90.00");
    EXPECT_EQ(s.DataGrid.rows.back()[0], "270.00");
    EXPECT_EQ(s.DataGrid.rows.front().size(), 4U);
    EXPECT_EQ(s.DataGrid.header[0], "Угол Места");
    EXPECT_EQ(s.DataGrid.header[3], "Общая");
    EXPECT_EQ(s.Data.Series[3].Max, 8.04f); // the table's own limits, in dBi
    EXPECT_EQ(s.Data.Series[1].Min, -999.0f);
}

TEST(FarFieldLoad, ASingleZenithLoadsAndSaysOnceThatThereIsNoElevationCut) {
    test::LoadHarness h;
    ASSERT_TRUE(
        LoadDataFile(h.ctx, (test::TestDataFolder() / "farfield_single_zenith.csv").string()));
    ASSERT_EQ(h.messages.shown.size(), 1U);
    EXPECT_EQ(h.messages.shown[0].text, kElevationMessage);
    EXPECT_FALSE(h.state.Pattern.ElevationCutAvailable);
    EXPECT_EQ(h.view.ParamCount(), 1);
    EXPECT_EQ(h.view.ParamItemText(0), "0");
}

TEST(FarFieldLoad, PickingAnElevationRebuildsTheAzimuthCutThere) {
    test::LoadHarness h;
    const std::string path = (test::TestDataFolder() / "farfield_below_horizon_30deg.csv").string();
    ASSERT_TRUE(RunFileOpen(h.ctx, path));
    const GridTable gridBefore = h.state.DataGrid;
    ASSERT_TRUE(ReloadForParamEntry(h.ctx, 1)); // elevation 60
    EXPECT_EQ(h.state.Data.SelectedSetIndex, 1);
    EXPECT_EQ(h.state.SelectedSetText, "60");
    EXPECT_FALSE(h.state.SetChosen);
    EXPECT_EQ(h.view.ParamCount(), 4); // the list stays
    EXPECT_EQ(h.state.DataGrid.rows, gridBefore.rows);
    EXPECT_EQ(h.view.showPattern.size(), 2U);
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST(FarFieldLoad, ElevationListUsesTheLocaleDecimalSymbol) {
    test::LoadHarness h;
    h.state.DecimalSeparator = ",";
    test::TempFolder folder;
    const std::string path = folder.Write(
        "f.csv", FarFieldText({67.5f, 90}, Steps(0, 180, 180), [](float, float) { return 1.0f; }));
    ASSERT_TRUE(RunFileOpen(h.ctx, path));
    ASSERT_EQ(h.view.ParamCount(), 2);
    EXPECT_EQ(h.view.ParamItemText(0), "22,5");
    ASSERT_TRUE(ReloadForParamEntry(h.ctx, 0));
    EXPECT_TRUE(h.messages.shown.empty()); // 22,5 was read back as 22.5, which exists
}

} // namespace
} // namespace lobex
