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

LoadResult ReadFixture(const char* name, LoadRequest request = {}) {
    return ReadNearField(test::ReadBytes(test::TestDataFolder() / name), request);
}

TEST(NearFieldReader, OffersEachLineOfPointsAndShowsTheFirst) {
    const LoadResult result = ReadFixture("nearfield_electric.csv");
    ASSERT_TRUE(result.loaded);
    const DataSet& data = result.data;
    EXPECT_TRUE(result.electricField);
    // Y 0.3 and 0.4 are two lines, however close; they are not folded into one that doubles
    // back, and the point at Y 2 is a third.
    const SetList lines{{{"Y=0.3, Z=1", 1}, {"Y=0.4, Z=1", 2}, {"Y=2, Z=1", 3}}, 0};
    EXPECT_EQ(result.sets, lines);
    EXPECT_EQ(result.setCaption, "Линия:");
    EXPECT_EQ(data.Series[0].Values, (std::vector<float>{-1.0f, 0.0f}));
    EXPECT_EQ(data.Series[1].Values[0], 1.375f); // 1 + 0.25 + 0.125
    EXPECT_EQ(data.Series[2].Values[0], 0.5f);   // 0.5 + 0 + 0
    EXPECT_EQ(data.Series[4].Values[0], 19.98f); // atan2(0.5, 1.375), two decimals at most

    // Another line, picked in the list, keeps the list.
    const LoadResult second = ReadFixture("nearfield_electric.csv", {2, true, ".", kPiValue});
    EXPECT_EQ(second.data.Series[0].Values, (std::vector<float>{-0.5f, 0.5f}));
    const LoadResult comma = ReadFixture("nearfield_electric.csv", {0, false, ",", kPiValue});
    EXPECT_EQ(comma.sets->entries[0].text, "Y=0,3, Z=1");

    const LoadResult magnetic = ReadFixture("nearfield_magnetic.csv"); // LF line ends
    ASSERT_TRUE(magnetic.loaded);
    EXPECT_FALSE(magnetic.electricField);
}

TEST(NearFieldReader, TheAmplitudeIsTheFieldStrengthAndThePhaseGoesRoundTheCircle) {
    // Components pointing against each other sum to nothing, yet the field is there.
    const std::string text = kElectric + "0,0,0,X,1,0,1,0\r\n0,0,0,Y,-1,0,1,180\r\n"
                                         "0,0,0,Z,0,0,0,0\r\n"
                                         "1,0,0,X,-0.5,0.25,1,0\r\n1,0,0,Y,-0.5,0.25,1,0\r\n"
                                         "1,0,0,Z,0,0.5,1,0\r\n";
    const LoadResult result = ReadNearField(text, LoadRequest{});
    ASSERT_TRUE(result.loaded);
    const std::vector<float>& amplitude = result.data.Series[3].Values;
    EXPECT_FLOAT_EQ(amplitude[0], std::sqrt(2.0f));
    EXPECT_FLOAT_EQ(amplitude[1], std::sqrt(0.25f + 0.0625f + 0.25f + 0.0625f + 0.25f));
    EXPECT_EQ(result.data.Series[4].Values[1], 135.0f); // atan2(1, -1), not -45

    const float degrees = 180.0f / kPiValue;
    EXPECT_EQ(SummedPhase(0.0f, -2.0f) * degrees, -90.0f);
    EXPECT_FLOAT_EQ(SummedPhase(-1.0f, -1.0f) * degrees, -135.0f);
    EXPECT_FLOAT_EQ(SummedPhase(-1.0f, 0.0f) * degrees, 180.0f);
}

TEST(NearFieldReader, RefusesBrokenTextWithAMessage) {
    const std::tuple<const char*, std::string, Rejection> cases[] = {
        {"a header alone", kElectric, {"нет ни одной строки данных"}},
        {"a short component line",
         kElectric + "0,0,0,X,1,1,1\r\n0,0,0,Y,1,1,1,1\r\n0,0,0,Z,1,1,1,1\r\n",
         {"строка %1: нет поля %2", 2, 8}},
        {"a point cut short",
         kElectric + "0,0,0,X,1,1,1,1\r\n0,0,0,Y,1,1,1,1\r\n",
         {"строка %1: файл кончается раньше строк составляющих Y и Z этой точки", 2}},
        {"another header", "X(m),Y(m),Z(m),VECTOR\r\n", {"строка %1: заголовок не узнан", 1}},
    };
    for (const auto& [what, text, cause] : cases) {
        const LoadResult result = ReadNearField(text, LoadRequest{});
        EXPECT_FALSE(result.loaded) << what;
        EXPECT_EQ(result.messages, (std::vector<LoadMessage>{{"Неправильный формат данных",
                                                              MessageIcon::Information, cause}}))
            << what;
    }
}

} // namespace
} // namespace lobex
