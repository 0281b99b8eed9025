#include "core/WireCurrents.h"
#include "LoadHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lobex {
namespace {

const std::string kHeader =
    "WIRE,PULSE,X(m),Y(m),Z(m),REAL(A),IMAGINARY(A),MAGNITUDE(A),PHASE(DEG)\r\n";
const std::filesystem::path kThreeWires = test::TestDataFolder() / "currents_3wires.csv";

LoadResult ReadWire(const std::string& text, int wire) {
    return ReadCurrents(text, LoadRequest{wire, wire != 0, ".", kPiValue});
}

TEST(CurrentsReader, ListsTheWiresAndShowsWireOneFirst) {
    const LoadResult result = ReadWire(test::ReadBytes(kThreeWires), 0);
    ASSERT_TRUE(result.loaded);
    ASSERT_TRUE(result.sets.has_value());
    EXPECT_EQ(test::Texts(*result.sets), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(result.setCaption, "Провод:");
    const DataSet& data = result.data;
    // Five pulses at equal steps from the origin: a step beyond each end.
    EXPECT_EQ(data.Series[0].Values,
              (std::vector<float>{1 / 6.0f, 2 / 6.0f, 3 / 6.0f, 4 / 6.0f, 5 / 6.0f}));
    EXPECT_EQ(data.Series[4].Values[0], -11.3f); // the phase keeps one decimal

    // A wire of a single pulse sits in the middle rather than ending the load.
    const LoadResult single = ReadWire(test::ReadBytes(kThreeWires), 3);
    ASSERT_TRUE(single.loaded);
    EXPECT_EQ(single.data.Series[0].Values, std::vector<float>{0.5f});
}

TEST(CurrentsReader, ACentredElementIsMeasuredAlongTheWire) {
    // A dipole from (-4.75, 0, 0) to (4.75, 0, 0) in 20 segments, as MMANA writes it: 19 pulses
    // at the segment junctions. Distances from the origin would fold back at the centre, and
    // steps of 0.475 that differ in their last bits must still count as one step.
    std::string text = kHeader;
    for (int p = 1; p <= 19; ++p) {
        const double x = -4.75 + p * 0.475;
        text += "1," + std::to_string(p) + "," + std::to_string(x) + ",0,0,1,0,1,0\r\n";
    }
    const LoadResult result = ReadWire(text, 0);
    ASSERT_TRUE(result.loaded);
    const std::vector<float>& along = result.data.Series[0].Values;
    ASSERT_EQ(along.size(), 19U);
    // A whole step beyond each end pulse: 0.05, 0.10, ... 0.95.
    for (std::size_t p = 0; p < along.size(); ++p) {
        EXPECT_NEAR(along[p], 0.05f * static_cast<float>(p + 1), 1e-5f) << p;
    }
}

TEST(CurrentsReader, RefusalsCarryTheirMessageAndIcon) {
    std::string tooMany; // more pulses than the counter holds
    for (int r = 0; r < 32768; ++r) {
        tooMany += "1,1,0,0,1,0.1,0.1,0.1,45\n";
    }
    const auto info = MessageIcon::Information;
    const auto critical = MessageIcon::Critical;
    const std::tuple<std::string, int, const char*, MessageIcon, Rejection> cases[] = {
        {"1,1,0,0,1,0.1,0.1,0.1\r\n",
         1,
         "Subscript out of range",
         critical,
         {"строка %1: нет поля %2", 2, 9}},
        {"1,1,0,0,1,0.1,0.1,0.1,45\r\n",
         2,
         "Неправильный формат данных",
         info,
         {"в файле нет токов этого провода"}},
        {tooMany, 1, "Overflow", critical, {"строка %1: больше 32767 импульсов на провод", 32769}},
        {"70000,1,0,0,1,0.1,0.1,0.1,45\r\n", 0, "Overflow", critical, {}}, // wire: 16 bits
    };
    for (const auto& [body, wire, message, icon, cause] : cases) {
        const LoadResult result = ReadWire(kHeader + body, wire);
        EXPECT_FALSE(result.loaded) << message;
        EXPECT_EQ(result.messages, (std::vector<LoadMessage>{{message, icon, cause}})) << message;
    }
    // Short lines of other wires and blank lines are no failure.
    const LoadResult result = ReadWire(kHeader + "2,1\r\n\r\n1,1,0,0,1,0.1,0.2,0.3,45.04\r\n"
                                                 "1,2,0,0,2,0.1,0.2,0.3,-45.05\r\n",
                                       1);
    ASSERT_TRUE(result.loaded);
    EXPECT_EQ(result.data.Series[4].Values, (std::vector<float>{45.0f, -45.1f}));
}

} // namespace
} // namespace lobex
