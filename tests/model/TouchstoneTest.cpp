#include "model/Touchstone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace lobex {
namespace {

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
