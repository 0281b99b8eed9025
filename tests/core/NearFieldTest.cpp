#include "core/NearField.h"
#include "LoadHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace lobex {
namespace {

const std::string kElectric =
    "X(m),Y(m),Z(m),VECTOR,REAL(V/m),IMAGINARY(V/m),MAGNITUDE(V/m),PHASE(DEG)\r\n";

LoadResult ReadFixture(const char* name) {
    return ReadNearField(test::ReadBytes(test::TestDataFolder() / name), LoadRequest{});
}

TEST(NearFieldReader, SumsTheComponentsAlongTheFirstLineOfPoints) {
    const LoadResult result = ReadFixture("nearfield_electric.csv");
    ASSERT_TRUE(result.loaded);
    const DataSet& data = result.data;
    EXPECT_EQ(data.DataKind, KindNearField);
    EXPECT_TRUE(result.electricField);
    // Y 0.3 and 0.4 both count as 0; the fifth point at Y 2 ends the line.
    EXPECT_EQ(data.Series[0].Values, (std::vector<float>{-1.0f, -0.5f, 0.0f, 0.5f}));
    EXPECT_EQ(result.nearField.size(), 4U);
    EXPECT_EQ(data.Series[1].Values[0], 1.375f); // 1 + 0.25 + 0.125
    EXPECT_EQ(data.Series[2].Values[0], 0.5f);   // 0.5 + 0 + 0
    EXPECT_FLOAT_EQ(data.Series[3].Values[0], std::hypot(1.375f, 0.5f));
    EXPECT_EQ(data.Series[4].Values[0], 19.98f); // atan(0.5 / 1.375), two decimals at most
    // A point without a real part points straight up rather than ending the load.
    EXPECT_EQ(data.Series[1].Values[2], 0.0f);
    EXPECT_EQ(data.Series[4].Values[2], 90.0f);
    EXPECT_EQ(result.gridHeader[0], "Удаление");
    EXPECT_EQ(result.curves, 4);
    EXPECT_EQ(result.sets, SetList{}); // no sets to choose from

    const LoadResult magnetic = ReadFixture("nearfield_magnetic.csv"); // LF line ends
    ASSERT_TRUE(magnetic.loaded);
    EXPECT_FALSE(magnetic.electricField);
    EXPECT_FLOAT_EQ(magnetic.data.Series[1].Values[1], -0.019f);
}

TEST(NearFieldReader, PhasesStayBetweenMinusAndPlusNinetyDegrees) {
    const float degrees = 180.0f / kPiValue;
    EXPECT_EQ(SummedPhase(0.0f, -2.0f, kPiValue) * degrees, -90.0f);
    EXPECT_EQ(SummedPhase(0.0f, 0.0f, kPiValue), 0.0f);
    EXPECT_FLOAT_EQ(SummedPhase(-1.0f, 1.0f, kPiValue) * degrees, -45.0f); // a negative real part
}

TEST(NearFieldReader, RefusesBrokenTextWithAMessage) {
    const std::pair<const char*, std::string> cases[] = {
        {"a header alone", kElectric},
        {"a short component line",
         kElectric + "0,0,0,X,1,1,1\r\n0,0,0,Y,1,1,1,1\r\n0,0,0,Z,1,1,1,1\r\n"},
        {"a point cut short", kElectric + "0,0,0,X,1,1,1,1\r\n0,0,0,Y,1,1,1,1\r\n"},
        {"a value beyond the float range", kElectric + "0,0,0,X,1e40,1,1,1\r\n"},
        {"another header", "X(m),Y(m),Z(m),VECTOR\r\n"},
    };
    for (const auto& [what, text] : cases) {
        const LoadResult result = ReadNearField(text, LoadRequest{});
        EXPECT_FALSE(result.loaded) << what;
        EXPECT_EQ(result.messages, (std::vector<LoadMessage>{
                                       {"Неправильный формат данных", MessageIcon::Information}}))
            << what;
        EXPECT_EQ(result.nearField.size(), 1U) << what;
        EXPECT_EQ(result.data.Series[1].Values, std::vector<float>{0.0f}) << what;
    }
}

} // namespace
} // namespace lobex
