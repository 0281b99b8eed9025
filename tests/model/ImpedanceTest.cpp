#include "model/Impedance.h"
#include "LoadHarness.h"
#include "core/TextRules.h"
#include "model/SmithChart.h"
#include "model/Touchstone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace lobex {
namespace {

using Z = std::complex<double>;
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Impedance, ReflectionSwrAndReturnLossByHand) {
    struct Row {
        Z z, z0;
        double magnitude, swr, returnLoss;
    };
    const std::vector<Row> rows = {
        {50, 50, 0.0, 1.0, kInf},             // matched: no reflection at all
        {100, 50, 1.0 / 3, 2.0, 9.5424251},   // |Γ| = 50/150
        {25, 50, 1.0 / 3, 2.0, 9.5424251},    // the same mismatch below Z0
        {{30, -40}, 50, 0.5, 3.0, 6.0205999}, // |−20 − j40| / |80 − j40|
        {{0, 50}, 50, 1.0, kInf, 0.0},        // a pure reactance reflects everything
        {-10, 50, 1.5, kInf, -3.5218252},     // a negative resistance gives back more
        {{50, 10}, {50, 10}, 0.0, 1.0, kInf}, // Z = Z0 is the match with a complex Z0
        {{50, -10}, {50, 10}, 0.19611614, 1.4879216, 14.149733}, // 20 / |100 − j20|
    };
    for (const Row& row : rows) {
        const Checked<Reflection> r = Reflect(row.z, row.z0);
        ASSERT_TRUE(r) << row.z;
        EXPECT_NEAR(r.value->magnitude, row.magnitude, 1e-7) << row.z;
        // the chart shows Γ at the impedance normalised to Z0
        EXPECT_LT(std::abs(SmithPoint(NormalisedImpedance(row.z, row.z0)) - r.value->gamma), 1e-12)
            << row.z;
        // infinities equal themselves only; near enough for the rest
        EXPECT_TRUE(r.value->swr == row.swr || std::fabs(r.value->swr - row.swr) < 1e-6) << row.z;
        EXPECT_TRUE(r.value->returnLoss == row.returnLoss ||
                    std::fabs(r.value->returnLoss - row.returnLoss) < 1e-5)
            << row.z;
    }
    const Sweep one{{{14.0f, {50.0f, 0.0f}, 1.0f, 0.0f, 0.0f}}, {}};
    for (const Z z0 : {Z(0), Z(-50), Z(0, 50), Z(std::nan(""), 0)}) {
        const Checked<Reflection> r = Reflect(50, z0);
        EXPECT_FALSE(r) << z0;
        EXPECT_EQ(r.rejection.text, kReferenceImpedanceMessage);
        EXPECT_FALSE(FindImpedanceFigures(one, z0, 2.0)) << z0;
        EXPECT_FALSE(ReflectSweep(one, z0)) << z0;
    }
}

TEST(Impedance, BandwidthsResonancesAndBestSwrOfASweep) {
    // SWR at 50 ohm: 3, 1.2651, 1.3504, 2.4402, 2.4 (computed by hand from R and jX).
    const Sweep sweep{{{14.0f, {30, -40}, 9, 0, 0},
                       {14.1f, {45, -10}, 9, 0, 0},
                       {14.2f, {55, 15}, 9, 0, 0},
                       {14.3f, {80, 50}, 9, 0, 0},
                       {14.4f, {120, 0}, 9, 0, 0}},
                      {}};
    struct Row {
        double threshold;
        std::vector<Band> bands;
    };
    const std::vector<Row> rows = {
        {2.0, {{14.0576406, 14.2596084}}},
        {1.5, {{14.0864609, 14.2137295}}},
        {3.0, {{14.0, 14.4}}}, // at the threshold counts as inside, to the sweep's ends
        {1.1, {}},
    };
    for (const Row& row : rows) {
        const Checked<ImpedanceFigures> figures = FindImpedanceFigures(sweep, 50, row.threshold);
        ASSERT_TRUE(figures);
        ASSERT_EQ(figures.value->bandwidths.size(), row.bands.size()) << row.threshold;
        for (std::size_t i = 0; i < row.bands.size(); ++i) {
            // frequencies are floats of about 7 digits
            EXPECT_NEAR(figures.value->bandwidths[i].low, row.bands[i].low, 2e-6);
            EXPECT_NEAR(figures.value->bandwidths[i].high, row.bands[i].high, 2e-6);
        }
    }
    const ImpedanceFigures figures = *FindImpedanceFigures(sweep, 50, 2.0).value;
    EXPECT_NEAR(*figures.min_swr, 1.2651112, 1e-6);
    EXPECT_NEAR(*figures.min_swr_frequency, 14.1, 2e-6);
    // −10 → +15 between 14.1 and 14.2, and jX exactly 0 at the last point, counted once.
    ASSERT_EQ(figures.resonances.size(), 2u);
    EXPECT_NEAR(figures.resonances[0], 14.14, 2e-6);
    EXPECT_NEAR(figures.resonances[1], 14.4, 2e-6);

    // The derived curves: 30 − j40 is SWR 3, |Γ| 0.5, 6.02 dB return loss.
    const SweepReflection curves = *ReflectSweep(sweep, 50).value;
    EXPECT_NEAR(curves.swr[0], 3.0, 1e-6);
    EXPECT_NEAR(curves.magnitude[0], 0.5, 1e-7);
    EXPECT_NEAR(curves.returnLoss[0], 6.0205999, 1e-5);
    const ImpedanceFigures empty = *FindImpedanceFigures(Sweep{}, 50, 2.0).value;
    EXPECT_FALSE(empty.min_swr);
    EXPECT_TRUE(empty.bandwidths.empty());
}

TEST(Impedance, ReferenceImpedanceFromTheSweepHeader) {
    // The headers of the test sweeps as MMANA wrote them, decoded as the reader decodes them.
    const std::vector<std::pair<const char*, std::optional<Z>>> files = {
        {"sweep_50ohm.csv", Z(50)},
        {"sweep_75ohm_blank_lines.csv", Z(75)},
        {"sweep_cp932_ohm_sign.csv", Z(50)},             // "SWR(50.0Ω)"
        {"sweep_matched_14150kHz_cr.csv", std::nullopt}, // "SWR(14.150MHz)": matched, no Z0
    };
    for (const auto& [file, z0] : files) {
        const std::string bytes = test::ReadBytes(test::TestDataFolder() / file);
        EXPECT_EQ(HeaderImpedance(DecodeText(bytes.substr(0, bytes.find_first_of("\r\n")))), z0)
            << file;
    }
    const std::vector<std::pair<const char*, std::optional<Z>>> rows = {
        {"SWR(50.0-j12.5Om)", Z(50, -12.5)},
        {"SWR(50 + 12.5j Ohm)", Z(50, 12.5)},
        {"SWR(600)", Z(600)},
        {"SWR(0.0Om)", std::nullopt},
        {"SWR(-50Om)", std::nullopt},
        {"SWR(Om)", std::nullopt},
        {"Freq(MHz),R(Om),jX(Om)", std::nullopt},
    };
    for (const auto& [header, z0] : rows) {
        EXPECT_EQ(HeaderImpedance(header), z0) << header;
    }
}

TEST(SmithChart, KnownPointsBothWaysAndTheGridCircles) {
    struct Row {
        Z z, gamma;
    };
    const std::vector<Row> rows = {
        {1, 0},
        {0, -1},
        {{kInf, 0}, 1},
        {{0, 1}, {0, 1}},
        {{0, -1}, {0, -1}},
        {2, 1.0 / 3},
        {{1, 1}, {0.2, 0.4}}, // (j)/(2 + j)
    };
    for (const Row& row : rows) {
        EXPECT_LT(std::abs(SmithPoint(row.z) - row.gamma), 1e-12) << row.z;
        if (std::isfinite(row.z.real())) {
            EXPECT_LT(std::abs(*SmithImpedance(row.gamma) - row.z), 1e-12) << row.z;
        }
    }
    EXPECT_FALSE(SmithImpedance(1.0));
    for (const Z z : {Z(0.3, -2.0), Z(5.0, 0.7), Z(0.02, 0.0), Z(1.0, -1.0)}) {
        EXPECT_LT(std::abs(*SmithImpedance(SmithPoint(z)) - z), 1e-9) << z;
        const SmithCircle r = ResistanceCircle(z.real());
        EXPECT_NEAR(std::abs(SmithPoint(z) - r.centre), r.radius, 1e-12) << z;
        if (z.imag() != 0.0) {
            const ReactanceArc x = *ReactanceCircle(z.imag());
            EXPECT_NEAR(std::abs(SmithPoint(z) - x.circle.centre), x.circle.radius, 1e-12) << z;
            EXPECT_NEAR(std::abs(x.rim), 1.0, 1e-12) << z; // the arc starts on the rim
        }
    }
    EXPECT_LT(std::abs(ReactanceCircle(1)->rim - Z(0, 1)), 1e-12);
    EXPECT_FALSE(ReactanceCircle(0)); // the real axis, a straight line
    EXPECT_NEAR(std::abs(SmithPoint(3.0)), SwrCircle(3.0).radius, 1e-12); // z = 3: SWR 3
}

const Sweep kSweep{{{14.0f, {30.0f, -40.0f}, 3.0f, 7.1f, 20.0f},
                    {14.15f, {50.0f, 0.0f}, 1.0f, 7.2f, 21.0f},
                    {14.35f, {120.5f, 310.25f}, 9.9f, 7.3f, 22.0f}},
                   {}};

TEST(Touchstone, WrittenFileReadsBackAndByAnIndependentReader) {
    const Checked<std::string> written = WriteTouchstone(kSweep, 75.0, "yagi.csv");
    ASSERT_TRUE(written);
    const std::string& text = *written.value;

    // An independent reading: the lines as a network analyser's software sees them.
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "! Lobex: yagi.csv\r");
    std::getline(in, line);
    EXPECT_EQ(line, "# MHz S RI R 75\r");
    for (const SweepPoint& point : kSweep.points) {
        ASSERT_TRUE(std::getline(in, line));
        EXPECT_EQ(line.back(), '\r');
        std::istringstream numbers(line);
        double f = 0, re = 0, im = 0;
        numbers >> f >> re >> im;
        const std::complex<double> s(re, im);
        const std::complex<double> z = 75.0 * (1.0 + s) / (1.0 - s);
        EXPECT_EQ(static_cast<float>(f), point.frequency);   // the shortest text of the float
        EXPECT_NEAR(z.real(), point.impedance.real(), 1e-5); // nine digits of S
        EXPECT_NEAR(z.imag(), point.impedance.imag(), 1e-5);
    }
    EXPECT_FALSE(std::getline(in, line));

    const Checked<TouchstoneSweep> read = ReadTouchstone(text);
    ASSERT_TRUE(read) << RejectionText(read.rejection);
    EXPECT_EQ(read.value->z0, 75.0);
    ASSERT_EQ(read.value->sweep.points.size(), kSweep.points.size());
    for (std::size_t i = 0; i < kSweep.points.size(); ++i) {
        const SweepPoint& back = read.value->sweep.points[i];
        EXPECT_EQ(back.frequency, kSweep.points[i].frequency);
        // float precision of the model's own numbers
        EXPECT_LT(std::abs(back.impedance - kSweep.points[i].impedance), 2e-5f * 330.0f);
    }
    // 30 − j40 against 75 ohm: |Γ| = |−45 − j40| / |105 − j40| = 0.53584, SWR 3.3089.
    EXPECT_NEAR(read.value->sweep.points[0].swr, 3.30890, 1e-4);
    EXPECT_FALSE(WriteTouchstone(kSweep, 0.0, "yagi.csv"));
}

TEST(Touchstone, EveryUnitAndFormatGivesTheSameImpedance) {
    // Z = 25 + j25 against 50 ohm: S = −0.2 + j0.4 = 0.4472 at 116.565°, −6.9897 dB.
    const std::complex<double> s(-0.2, 0.4);
    const double degrees = std::arg(s) * 180.0 / std::numbers::pi;
    struct Unit {
        const char* name;
        double perMegahertz;
    };
    const std::vector<Unit> units = {
        {"Hz", 1e6}, {"kHz", 1e3}, {"MHz", 1.0}, {"GHz", 1e-3}, {"ghz", 1e-3}};
    struct Format {
        const char* name;
        double a, b;
    };
    const std::vector<Format> formats = {{"RI", s.real(), s.imag()},
                                         {"MA", std::abs(s), degrees},
                                         {"db", 20.0 * std::log10(std::abs(s)), degrees}};
    std::vector<std::string> files; // each at 14.15 MHz
    for (const Unit& unit : units) {
        for (const Format& format : formats) {
            std::ostringstream text;
            text.precision(12);
            text << "! measured\n\n# " << unit.name << " S " << format.name << " R 50 ! ref\n"
                 << 14.15 * unit.perMegahertz << '\t' << format.a << "  " << format.b << '\n';
            files.push_back(text.str());
        }
    }
    std::ostringstream defaults; // GHz, MA, 50 ohm
    defaults.precision(12);
    defaults << "#\n" << 0.01415 << ' ' << std::abs(s) << ' ' << degrees << "\r\n";
    files.push_back(defaults.str());
    files.push_back("# MHz RI\n14.15 -0.2 0.4\n"); // R 50 by default

    for (const std::string& text : files) {
        const Checked<TouchstoneSweep> read = ReadTouchstone(text);
        ASSERT_TRUE(read) << text << RejectionText(read.rejection);
        ASSERT_EQ(read.value->sweep.points.size(), 1u) << text;
        const SweepPoint& point = read.value->sweep.points[0];
        EXPECT_NEAR(point.frequency, 14.15, 1e-5) << text;
        EXPECT_NEAR(point.impedance.real(), 25.0, 1e-4) << text; // float impedance
        EXPECT_NEAR(point.impedance.imag(), 25.0, 1e-4) << text;
    }
}

TEST(Touchstone, BadFilesAreRefusedWithTheirLine) {
    struct Row {
        const char* text;
        std::string_view message;
        int line;
    };
    const std::vector<Row> rows = {
        {"# MHz Z RI R 50\n14 50 0\n", kTouchstoneParameterMessage, 1},
        {"! two-port\n# GHz Y MA\n", kTouchstoneParameterMessage, 2},
        {"# MHz S RI R 50\n14 0.1 0.2\n14.1 0.1 0.2 0.3 0.4\n", kTouchstonePortsMessage, 3},
        {"# MHz S RI R 50\r\n14 0.1\r\n", kTouchstoneLineMessage, 2},
        {"# MHz S RI R 50\n\n14 0.1 abc\n", kTouchstoneLineMessage, 3},
        {"# MHz S RI R 0\n14 0.1 0.2\n", kTouchstoneLineMessage, 1},
        {"# MHz S XY\n", kTouchstoneLineMessage, 1},
        {"# MHz S RI\n14 1 0\n", kTouchstoneLineMessage, 2}, // an open circuit has no finite Z
        {"[Version] 2.0\n", kTouchstoneLineMessage, 1},
        {"! nothing but a comment\n# MHz S RI R 50\n", kTouchstoneEmptyMessage, 0},
    };
    for (const Row& row : rows) {
        const Checked<TouchstoneSweep> read = ReadTouchstone(row.text);
        EXPECT_FALSE(read) << row.text;
        EXPECT_EQ(read.rejection.text, row.message) << row.text;
        EXPECT_EQ(read.rejection.line, row.line) << row.text;
    }
    EXPECT_EQ(RejectionText(ReadTouchstone(rows[2].text).rejection),
              "Строка 3: открываются только однопортовые файлы (.s1p), здесь больше трёх чисел");
}

} // namespace
} // namespace lobex
