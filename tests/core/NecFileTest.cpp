#include "core/NecFile.h"
#include "LoadHarness.h"
#include "core/TextFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace lobex {
namespace {

std::string NecFixture(const char* name) {
    return ReadFileBytes((test::TestDataFolder() / "nec" / name).string());
}

// The Fortran engine's layout: spaced banners, "FREQUENCY=", numbers without their leading zero,
// a negative number glued to the one before, and theta from 90 down to -90 over phi 0..180.
TEST(NecFile, ReadsTheSpacedBannerLayoutOfNec2d) {
    const Parsed<NecOutput> parsed = ParseNecOutput(NecFixture("dipole_nec2d_style.out"));
    ASSERT_TRUE(parsed.result);
    const NecOutput& nec = *parsed.result;
    EXPECT_TRUE(nec.fortran);
    ASSERT_EQ(nec.frequencies.size(), 1u);
    const NecFrequency& f = nec.frequencies[0];
    EXPECT_EQ(f.mhz, 14.2);
    ASSERT_EQ(f.sources.size(), 1u);
    EXPECT_EQ(f.sources[0].current, std::complex<double>(1.3510E-02, -1.4297E-03));
    EXPECT_EQ(f.sources[0].impedance, std::complex<double>(73.2, 7.7467));
    ASSERT_TRUE(f.budget);
    EXPECT_EQ(f.budget->efficiency, 100.0);
    EXPECT_EQ(f.currents.size(), 21u);
    EXPECT_EQ(nec.segments.size(), 21u);
    // The negative thetas are the far side's upper half: azimuth 0..360 by 10, zenith 0..90.
    ASSERT_TRUE(f.pattern);
    EXPECT_EQ(f.pattern->grid.size(), 37u);
    EXPECT_EQ(f.pattern->grid.back().Azimuth, 360.0f);
    EXPECT_EQ(f.pattern->grid.front().Points.size(), 10u);
    EXPECT_EQ(f.pattern->figures.MaxGain, 2.14f);
}

// Directions NEC may print outside MMANA's ranges, and where their maximum lands.
TEST(NecFile, PatternDirectionsComeIntoZenithAndAzimuth) {
    struct Case {
        float theta, phi;
        float zenith, azimuth;
    };
    const Case cases[] = {
        {60.0f, 30.0f, 60.0f, 30.0f},   // the same spherical angles
        {-60.0f, 30.0f, 60.0f, 210.0f}, // across the axis
        {60.0f, -90.0f, 60.0f, 270.0f}, // phi wrapped
        {60.0f, 450.0f, 60.0f, 90.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.theta);
        std::vector<NecPatternLine> lines;
        for (float phi = 0.0f; phi <= 360.0f; phi += 30.0f) {
            for (float theta = 0.0f; theta <= 180.0f; theta += 30.0f) {
                lines.push_back({theta, phi, -999.99f, -10.0f, -10.0f});
            }
        }
        lines.insert(lines.begin(), NecPatternLine{c.theta, c.phi, -999.99f, 9.0f, 9.0f});
        const std::optional<FarFieldPattern> pattern = PatternFromNec(lines);
        ASSERT_TRUE(pattern);
        EXPECT_EQ(pattern->figures.MaxGain, 9.0f);
        EXPECT_EQ(pattern->figures.MaxElevation, 90.0f - c.zenith);
        EXPECT_EQ(pattern->figures.MaxAzimuth, c.azimuth);
        EXPECT_EQ(FindColumn(pattern->grid, 0.0f)->Points[0].Vertical, -999.0f);
    }
}

// Every number form NEC may print reads to the nearest double, on the short way for plain
// decimals and fast_float's for the others (many digits, a large exponent).
TEST(NecFile, NumbersReadToTheNearestDouble) {
    for (const char* number :
         {"100.00", "0.3", "85.939", "2.7409E-01", "1.0000E+00", "-0.0000E+00", ".5", "5.",
          "123456789012345", "99.123456789012345", "9007199254740993", "7.5E+25", "1.5E-30",
          "4.9406564584124654E-324"}) {
        SCOPED_TRACE(number);
        const std::string text = std::string("FREQUENCY : 14 MHz\n---- POWER BUDGET ----\n") +
                                 "EFFICIENCY    =  " + number + " Percent\n";
        const Parsed<NecOutput> parsed = ParseNecOutput(text);
        ASSERT_TRUE(parsed.result && parsed.result->frequencies.at(0).budget);
        EXPECT_EQ(parsed.result->frequencies[0].budget->efficiency, std::strtod(number, nullptr));
    }
}

// nec2c's pattern lines as it prints them, in fixed columns, or shifted a blank (laid out as no
// column reader knows them); frequencies from `first` on, 0.2 MHz apart.
std::string Nec2cOutput(int first, int count, bool shifted) {
    std::string text = "NUMERICAL ELECTROMAGNETICS CODE (nec2c)\n";
    char line[160];
    for (int f = first; f < first + count; ++f) {
        std::snprintf(line, sizeof line, "   FREQUENCY : %.4E MHz\n", 10.0 + 0.2 * f);
        text += line;
        text += "   ---------- RADIATION PATTERNS -----------\n";
        for (int phi = 0; phi < 360; phi += 5) {
            for (int theta = 0; theta <= 90; theta += 5) {
                const double gain = 0.01 * ((theta * 37 + phi * 11 + f * 53) % 4000) - 25.0;
                std::snprintf(line, sizeof line,
                              "%s%8.2f %9.2f %9.2f %8.2f %8.2f %11.4f %9.2f %-6s  %10.4E %9.2f\n",
                              shifted ? " " : "", static_cast<double>(theta),
                              static_cast<double>(phi), phi == 90 ? -999.99 : gain - 3.0, gain,
                              gain + 1.5, 0.0, 90.0, "LINEAR", 0.12079, 85.2);
                text += line;
            }
        }
    }
    return text;
}

// Read by its columns or not, an output of several frequencies gives each frequency's pattern
// as the frequency read alone in nec2c's columns gives it, in file order.
TEST(NecFile, Nec2cOutputReadsAsEachFrequencyAlone) {
    constexpr int kFrequencies = 3;
    for (const bool shifted : {false, true}) {
        SCOPED_TRACE(shifted);
        const std::string text = Nec2cOutput(0, kFrequencies, shifted);
        const Parsed<NecOutput> parsed = ParseNecOutput(text);
        ASSERT_TRUE(parsed.result);
        ASSERT_EQ(parsed.result->frequencies.size(), std::size_t{kFrequencies});
        for (int f = 0; f < kFrequencies; ++f) {
            const Parsed<NecOutput> alone = ParseNecOutput(Nec2cOutput(f, 1, false));
            const NecFrequency& whole = parsed.result->frequencies[static_cast<std::size_t>(f)];
            const NecFrequency& single = alone.result->frequencies.at(0);
            EXPECT_EQ(whole.mhz, single.mhz);
            ASSERT_TRUE(whole.pattern && single.pattern);
            EXPECT_EQ(whole.pattern->figures.MaxGain, single.pattern->figures.MaxGain);
            ASSERT_EQ(whole.pattern->grid.size(), single.pattern->grid.size());
            for (std::size_t c = 0; c < whole.pattern->grid.size(); ++c) {
                const AzimuthColumn& a = whole.pattern->grid[c];
                const AzimuthColumn& b = single.pattern->grid[c];
                ASSERT_EQ(a.Azimuth, b.Azimuth);
                ASSERT_EQ(a.Points.size(), b.Points.size());
                for (std::size_t i = 0; i < a.Points.size(); ++i) {
                    EXPECT_EQ(a.Points[i].Zenith, b.Points[i].Zenith);
                    EXPECT_EQ(a.Points[i].Vertical, b.Points[i].Vertical);
                    EXPECT_EQ(a.Points[i].Horizontal, b.Points[i].Horizontal);
                    EXPECT_EQ(a.Points[i].Total, b.Points[i].Total);
                }
            }
        }
    }
}

// A NEC output opens whatever it is called; any other file not named .csv is still refused.
TEST(NecFile, IsKnownByItsContentNotItsName) {
    test::TempFolder folder;
    const std::string nec = NecFixture("dipole_nec2d_style.out");
    test::LoadHarness h;
    ASSERT_TRUE(h.Open(folder.Write("dipole.txt", nec)));
    EXPECT_EQ(h.state.Loaded.Data.DataKind, KindFarField);
    EXPECT_EQ(h.state.Loaded.Pattern.MaxGain, 2.14f);
    test::LoadHarness other;
    EXPECT_FALSE(other.Open(folder.Write("notes.txt", nec.substr(400))));
    EXPECT_EQ(other.messages.Texts(), std::vector<std::string>{"Неизвестный Формат Файла"});
}

} // namespace
} // namespace lobex
