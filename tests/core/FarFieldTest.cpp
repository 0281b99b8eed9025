#include "core/FarField.h"
#include "GeneratedFarField.h"
#include "LoadHarness.h"
#include "core/LoadFlow.h"
#include "core/Messages.h"
#include "core/TextFile.h"
#include "core/TextRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace lobex {
namespace {

const std::string kHeader = "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)\r\n";
const std::string kElevation(kElevationMessage);
using Gain = std::function<float(float zenith, float azimuth)>;

// Every zenith for each azimuth in turn: vertical 20 dB below the total, horizontal equal to it.
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

float AngleBetween(float a, float b) {
    const float d = std::fmod(std::fabs(a - b), 360.0f);
    return d > 180.0f ? 360.0f - d : d;
}

bool SameGrid(const FarFieldGrid& a, const FarFieldGrid& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& p, const auto& q) {
        return p.Azimuth == q.Azimuth &&
               std::equal(p.Points.begin(), p.Points.end(), q.Points.begin(), q.Points.end(),
                          [](const PatternPoint& x, const PatternPoint& y) {
                              return x.Zenith == y.Zenith && x.Vertical == y.Vertical &&
                                     x.Horizontal == y.Horizontal && x.Total == y.Total;
                          });
    });
}

// The grid read from text, with its maximum and beam found, in a state of its own.
struct Loaded {
    test::LoadHarness h;
    LoadResult result;
    explicit Loaded(const std::string& text) : result(ReadFarFieldGrid(text)) {
        h.state.Loaded.FarField = result.farField;
        FindMaximumAndBeam(h.state.Loaded.FarField, h.state.Loaded.Pattern);
    }
};

TEST(FarFieldGrid, ClosesTheCircleOnlyWhenTheLastStepIsMissing) {
    // 0..350 gets a 360 column copying 0; 0..360 is left; 0..340 leaves a gap of 20 open.
    const std::tuple<float, std::size_t, float> cases[] = {
        {350.0f, 37, 360.0f}, {360.0f, 37, 360.0f}, {340.0f, 35, 340.0f}};
    for (const auto& [last, columns, lastAzimuth] : cases) {
        Loaded f(FarFieldText({0, 90}, Steps(0, last, 10),
                              [](float z, float a) { return z + a / 100.0f; }));
        const FarFieldGrid& grid = f.h.state.Loaded.FarField;
        ASSERT_EQ(grid.size(), columns) << last;
        EXPECT_EQ(grid.back().Azimuth, lastAzimuth);
        EXPECT_EQ(grid.back().Points[1].Total == grid.front().Points[1].Total, last == 350.0f);
    }
}

TEST(FarFieldGrid, RefusesGridsItCannotHoldWithAMessage) {
    std::string huge = kHeader;
    for (int z = 0; z <= 16384; ++z) {
        huge += std::to_string(z) + ",0,1,2,3\n";
    }
    // The message, and beneath it where reading stopped and why.
    const std::tuple<const char*, std::string, Rejection> cases[] = {
        {"a header alone", kHeader, {"нет ни одной строки данных"}},
        {"a single azimuth",
         kHeader + "0,0,1,2,3\r\n10,0,1,2,3\r\n",
         {"в файле только один азимут"}},
        {"a short line", kHeader + "0,0,1,2,3\r\n0,10,1,2\r\n", {"строка %1: нет поля %2", 3, 5}},
        {"unequal columns",
         kHeader + "0,0,1,2,3\r\n10,0,1,2,3\r\n0,10,1,2,3\r\n",
         {"у последнего азимута меньше точек, чем у первого"}},
        {"a broken azimuth",
         kHeader + "0,0,1,2,3\r\n10,0,1,2,3\r\n0,5,1,2,3\r\n10,x5,1,2,3\r\n",
         {"строка %1, поле %2: нет числа", 5, 2}},
        {"a column a line short",
         kHeader + "0,0,1,2,3\r\n10,0,1,2,3\r\n0,10,1,2,3\r\n0,20,1,2,3\r\n10,20,1,2,3\r\n",
         {"строка %1: у предыдущего азимута меньше точек, чем у первого", 5}},
        {"a column a line long",
         kHeader + "0,0,1,2,3\r\n10,0,1,2,3\r\n0,10,1,2,3\r\n10,10,1,2,3\r\n20,10,1,2,3\r\n",
         {"строка %1: у этого азимута больше точек, чем у первого", 6}},
        {"a value beyond the float range",
         kHeader + "0,0,1,2,3\r\n0,10,1,2,1e40\r\n",
         {"строка %1, поле %2: число не умещается в 32 бита", 3, 5}},
        {"more zeniths than the grid can list",
         huge,
         {"строка %1: больше 16384 точек на один азимут", 16386}},
    };
    for (const auto& [what, text, cause] : cases) {
        const LoadResult result = ReadFarFieldGrid(text);
        EXPECT_FALSE(result.loaded) << what;
        EXPECT_EQ(result.messages,
                  (std::vector<LoadMessage>{{text == huge ? "Файл содержит слишком много узлов.\r\n"
                                                            "Уменьшите шаг Азимута и/или Зенита."
                                                          : std::string(kWrongFormatMessage),
                                             MessageIcon::Information, cause}}))
            << what;
    }
}

TEST(FarFieldBeam, FindsTheMaximumAndTheEdgesNearestTheThreeDecibelLevel) {
    struct Case {
        std::vector<float> azimuths;
        float centre;                              // of the lobe
        std::vector<std::pair<float, float>> lobe; // degrees from the centre, gain
        float rest;                                // the gain elsewhere
        std::vector<float> expected; // maximum's azimuth and gain, beam left, right, width
    };
    std::vector<float> gap = Steps(0, 330, 10);
    gap.push_back(350.0f); // 340 is missing
    const std::vector<float> circle = Steps(0, 350, 10);
    const Case cases[] = {
        // 20 degrees either side is nearer the level than 30.
        {circle, 0, {{0, 10}, {10, 9.5f}, {20, 7.5f}, {30, 6}}, -10, {0, 10, 340, 20, 40}},
        // 3.5 dB down at 110 is nearer the level than 2 dB down at 100.
        {circle, 90, {{0, 10}, {10, 8}, {20, 6.5f}}, -10, {90, 10, 70, 110, 40}},
        {circle, 0, {{0, 5}}, 4, {0, 5, 0, 0, 360}}, // a whole circle within 3 dB
        // A gap in the azimuths stops the backward walk before it reaches its edge.
        {gap, 0, {{0, 10}, {10, 9.5f}, {20, 9}, {30, 8.5f}}, 5, {0, 10, 0, 30, 40}},
        {circle, 0, {}, -999, {0, -100, 0, 0, 0}}, // nothing above the floor
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
        const PatternResults& p = f.h.state.Loaded.Pattern;
        EXPECT_EQ(
            std::vector<float>({p.MaxAzimuth, p.MaxGain, p.BeamLeft, p.BeamRight, p.BeamWidth}),
            c.expected)
            << "case " << &c - cases;
    }
}

TEST(FarFieldBeam, AStepThatIsNotExactInBinaryGivesTheSameBeam) {
    // A lobe towards azimuth 0 whose -3 dB edges lie near +-27 degrees.
    const Gain lobe = [](float, float azimuth) {
        const double half = static_cast<double>(azimuth) * 3.14159265358979 / 360.0;
        return static_cast<float>(10.0 +
                                  240.0 * std::log10(std::max(1e-6, std::fabs(std::cos(half)))));
    };
    for (float step : {10.0f, 3.6f, 0.1f}) {
        std::vector<float> azimuths;
        const int count = static_cast<int>(std::lround(360.0f / step));
        for (int a = 0; a < count; ++a) {
            azimuths.push_back(static_cast<float>(a * static_cast<double>(step)));
        }
        Loaded f(FarFieldText({90.0f}, azimuths, lobe));
        EXPECT_NEAR(f.h.state.Loaded.Pattern.BeamWidth, 54.0f, std::max(step, 1.0f) * 2.0f) << step;
    }
}

TEST(FarFieldCut, AzimuthCutHoldsEveryColumnAsFourthPowerRadiiAboveTheFloor) {
    const auto gain = [](float zenith, float azimuth) {
        return zenith != 60 ? -30.0f : azimuth == 0 ? 10.0f : azimuth == 90 ? -25.0f : -999.0f;
    };
    Loaded f(FarFieldText({0, 60, 90}, Steps(0, 270, 90), gain));
    f.h.state.View.CutKind = 1;
    ASSERT_TRUE(BuildCut(f.h.ctx, 0.0f, 30.0f).built);
    const std::vector<float>& total = f.h.state.Loaded.Data.Series[3].Values;
    EXPECT_EQ(f.h.state.Loaded.Pattern.PlotRange, 70.0f); // from -60 up to the 10 dBi maximum
    EXPECT_EQ(total.size(), 5U);
    EXPECT_FLOAT_EQ(total[0], 1.0f);    // the strongest value on the outer ring
    EXPECT_FLOAT_EQ(total[1], 0.0625f); // -25 dBi: (35 / 70)^4
    EXPECT_EQ(total[2], 0.0f);          // -999 is drawn at the -60 floor

    EXPECT_FALSE(BuildCut(f.h.ctx, 0.0f, 45.0f).built); // no zenith 45 in the grid
    EXPECT_EQ(f.h.messages.Texts(), std::vector<std::string>{kElevation});
    // The elevation cut needs both azimuths: 10 and 190 do not exist.
    EXPECT_FALSE(ElevationCut(f.h.state.Loaded.FarField, 10.0f, f.h.state.Loaded.Data));
}

TEST(FarFieldLoad, TheGridHoldsOnlyRowsWithDataAndTheElevationsInTheLocalesForm) {
    const Gain flat = [](float, float) {
        return 1.0f;
    };
    // Without azimuth 180 the table is the front half of the elevation cut, not zeros behind it.
    const LoadResult front =
        ReadFarField(FarFieldText({0.0f, 45.0f, 90.0f}, {0.0f, 90.0f}, flat), LoadRequest{});
    ASSERT_TRUE(front.loaded);
    EXPECT_EQ(front.data.Series[0].Values, (std::vector<float>{90.0f, 45.0f, 0.0f}));
    // Without azimuth 0 there is no row at all, and the pattern still loads.
    test::TempFolder folder;
    test::LoadHarness side;
    ASSERT_TRUE(
        side.Open(folder.Write("side.csv", FarFieldText({0.0f, 90.0f}, {90.0f, 270.0f}, flat))));
    EXPECT_TRUE(side.state.Loaded.DataGrid.rows.empty());
    // Under a decimal comma the elevation 22,5 is listed so and read back as 22.5, which exists.
    test::LoadHarness comma;
    comma.state.DecimalSeparator = ",";
    ASSERT_TRUE(comma.Open(folder.Write("f.csv", FarFieldText({67.5f, 90}, {0, 180}, flat))));
    EXPECT_EQ(comma.state.Loaded.Sets.entries.at(0).text, "22,5");
    ASSERT_TRUE(comma.Pick(0));
    EXPECT_TRUE(comma.messages.shown.empty());
}

// The grid reader's short path for MMANA's number form gives what the leading-number rule gives.
TEST(FarFieldGrid, ReadsEveryNumberFormAsTheLeadingNumberRuleDoes) {
    const std::vector<std::string> gains = {"-12.34",     "-0",    " 3.5",   "+2.25", "1.5e1",
                                            "-.75",       "1.25x", "",       "-",     "12.5.6",
                                            "0.00000001", "abc",   "-999.00"};
    for (const char* ending : {"\r\n", "\n", "\r"}) {
        std::string text = "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)";
        text += ending;
        // The second azimuth written in changing forms: a form repeated from the line before
        // is the same number, a form alike in its first characters is not.
        const std::vector<std::vector<std::string>> azimuths = {{"0"},
                                                                {"180", "180.0", "180.00", "180"}};
        for (const std::vector<std::string>& forms : azimuths) {
            for (std::size_t z = 0; z < gains.size(); ++z) {
                const std::string& azimuth = forms[z % forms.size()];
                text += std::to_string(z) + "," + azimuth + ",0,0," + gains[z] +
                        (z % 5 == 0 ? ",extra" : "") + ending + (z % 7 == 0 ? ending : "");
            }
        }
        const LoadResult result = ReadFarFieldGrid(text);
        ASSERT_TRUE(result.loaded) << static_cast<int>(ending[0]);
        ASSERT_EQ(result.farField.at(1).Azimuth, 180.0f);
        for (std::size_t z = 0; z < gains.size(); ++z) {
            const float value = result.farField.at(1).Points.at(z).Total;
            EXPECT_EQ(value, LeadingFloat(gains[z])) << "'" << gains[z] << "'";
            EXPECT_EQ(std::signbit(value), std::signbit(LeadingFloat(gains[z]))) << gains[z];
        }
    }
}

// A large file is read in pieces as it comes, its parts on two threads; whatever it holds and
// wherever, the load is the one reading it whole gives, refusals and their lines included.
TEST(FarFieldGrid, ALargeFileLoadsAsItsWholeTextDoes) {
    const std::string text = test::MakeFarFieldCsv(1.0, 180.0);
    const std::size_t late = text.find('\n', text.size() * 3 / 4) + 1;
    const std::size_t lateEnd = text.find('\n', late) + 1;
    // The line after a cut between two parts the threads take, and one in the middle of a part.
    const std::size_t cut = text.find('\n', std::size_t{640} << 10) + 1;
    const std::size_t cutEnd = text.find('\n', cut) + 1;
    const std::size_t early = text.find('\n', text.size() / 3) + 1;
    const std::size_t column = text.find("\n0.0,", early) + 1;
    std::string crOnly = text;
    crOnly.erase(std::remove(crOnly.begin(), crOnly.end(), '\n'), crOnly.end());
    const std::tuple<const char*, std::string> cases[] = {
        {"as written", text},
        {"a broken azimuth late on", text.substr(0, late) + "1,x,1,2,3\r\n" + text.substr(late)},
        {"a line too long late on",
         text.substr(0, lateEnd - 2) + "," + std::string(70000, 'x') + text.substr(lateEnd - 2)},
        {"a blank line late on", text.substr(0, late) + "\r\n" + text.substr(late)},
        {"a line missing at a cut", text.substr(0, cut) + text.substr(cutEnd)},
        {"a line twice at a cut", text.substr(0, cutEnd) + text.substr(cut)},
        {"a broken azimuth early on", text.substr(0, early) + "1,x,1,2,3\r\n" + text.substr(early)},
        {"a blank line before a column early on",
         text.substr(0, column) + "\r\n" + text.substr(column)},
        {"old Mac line ends", crOnly},
    };
    test::TempFolder folder;
    for (const auto& [what, content] : cases) {
        const std::string path = folder.Write("large.csv", content);
        const LoadResult file = LoadFileByHeader(path, {});
        LoadResult whole;
        try {
            whole = ReadByHeader(ReadFileBytes(path), {});
        } catch (const ReadError& error) {
            whole.messages = {ReadFailureMessage(error)};
        }
        EXPECT_EQ(file.loaded, whole.loaded) << what;
        EXPECT_EQ(file.messages, whole.messages) << what;
        EXPECT_TRUE(SameGrid(file.farField, whole.farField)) << what;
    }
}

} // namespace
} // namespace lobex
