#include "LoadHarness.h"
#include "core/ImpedanceColumns.h"
#include "core/LoadFlow.h"
#include "core/Messages.h"
#include "core/MmanaTable.h"
#include "core/NearField.h"
#include "core/SweepFile.h"
#include "core/WireCurrents.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace lobex {
namespace {

const std::string kSweepHeader = "Freq(MHz),R(Om),jX(Om),SWR(50.0Om),Ga(dBi),F/B(dB)\r\n";

std::string Rows(int count, const std::string& row = "14.0,50,0,1,7,20\n") {
    std::string rows;
    for (int r = 0; r < count; ++r) {
        rows += row;
    }
    return rows;
}

LoadResult Read(const std::string& text) {
    return ReadSweep(text, LoadRequest{});
}

// Japanese MMANA writes its sweep in Windows-932 with the ohm sign in the header.
TEST(SweepReader, ReadsSixColumnsWithTheirLabelsLimitsAndCurveLists) {
    const std::tuple<const char*, std::vector<float>, float> files[] = {
        {"sweep_50ohm.csv", {-18.0f, -10.0f, -2.0f, 6.0f, 14.0f, 22.0f, 30.0f}, 2.0f},
        {"sweep_cp932_ohm_sign.csv", {-18.0f, -2.0f, 14.0f, 30.0f}, 2.03f},
    };
    for (const auto& [file, reactances, bestSwr] : files) {
        const LoadResult result =
            ReadByHeader(test::ReadBytes(test::TestDataFolder() / file), LoadRequest{});
        ASSERT_TRUE(result.loaded) << file;
        EXPECT_EQ(result.reader, KindSweep);
        EXPECT_TRUE(result.messages.empty());
        const DataSet& data = result.data;
        EXPECT_EQ(SeriesLabels(data), (std::vector<std::string>{"Частота", "R", "j X", "КСВ",
                                                                "Усил", "Впер/Назад", ""}));
        EXPECT_EQ(data.Series[0].Max, 14.3f);
        EXPECT_EQ(data.Series[2].Values, reactances);
        EXPECT_EQ(data.Series[3].Min, bestSwr); // at 14.15 MHz, or 14.1 where that is missing
        EXPECT_EQ(result.sets, SetList{});      // a sweep has no sets
    }
}

TEST(SweepReader, ReadsNumbersByTheLeadingNumberRule) {
    const std::pair<const char*, std::vector<float>> cases[] = {
        {"14,1,50,0,1.0,7,10", {14.0f, 1.0f, 50.0f, 0.0f, 1.0f, 7.0f}}, // a decimal comma
        {" 14.2 ,abc,-3e1,1.5x,,9,extra", {14.2f, 0.0f, -30.0f, 1.5f, 0.0f, 9.0f}},
    };
    for (const auto& [row, values] : cases) {
        const LoadResult result = Read(kSweepHeader + row + "\r\n");
        ASSERT_TRUE(result.loaded) << row;
        for (std::size_t col = 0; col < values.size(); ++col) {
            EXPECT_EQ(result.data.Series[col].Values.at(0), values[col]) << row << " " << col;
        }
    }
}

TEST(SweepReader, ReadsCrLineEndsALastLineWithoutOneAndAFullRowCounter) {
    const LoadResult cr =
        Read(test::ReadBytes(test::TestDataFolder() / "sweep_matched_14150kHz_cr.csv"));
    EXPECT_EQ(cr.data.Series[0].Values, (std::vector<float>{14.1f, 14.15f, 14.2f}));
    const LoadResult lf = Read("Freq(MHz),R Ohm,jX Ohm,SWR(50.0Om),Ga(dBi),F/B(dB)\n1,2,3,4,5,6");
    EXPECT_EQ(lf.data.Series[5].Values, std::vector<float>{6.0f});
    EXPECT_EQ(Read(kSweepHeader + Rows(32767)).data.Series[5].Values.size(), 32767U);
}

TEST(SweepReader, RefusesBadTextWithAMessageAndNoData) {
    const std::tuple<const char*, std::string, Rejection> cases[] = {
        {"short line",
         kSweepHeader + "14.0,50,0,1,7,20\r\n14.1,50,0\r\n",
         {"строка %1: нет поля %2", 3, 4}},
        {"a header alone, which would show a row of zeros at 0 MHz",
         kSweepHeader + "\r\n  \r\n",
         {"нет ни одной строки данных"}},
        {"beyond the float range",
         kSweepHeader + "14.0,1e39,0,1,7,20\r\n",
         {"строка %1, поле %2: число не умещается в 32 бита", 2, 2}},
        {"more rows than the counter holds",
         kSweepHeader + Rows(32768),
         {"строка %1: больше 32767 строк", 32769}},
        {"no sweep header",
         "Freq(MHz),R,jX\r\n1,2,3,4,5,6\r\n",
         {"строка %1: заголовок не узнан", 1}},
    };
    for (const auto& [what, text, cause] : cases) {
        const LoadResult result = Read(text);
        EXPECT_FALSE(result.loaded) << what;
        EXPECT_EQ(result.messages, (std::vector<LoadMessage>{{"Неправильный формат данных",
                                                              MessageIcon::Information, cause}}))
            << what;
        EXPECT_EQ(result.data.Series[0].Values, std::vector<float>{0.0f}) << what;
    }
}

TEST(ReadByHeader, EveryReferenceImpedanceInTheHeaderReachesTheSweepReader) {
    for (const char* header : {
             "Freq(MHz),R Ohm,jX Ohm,SWR(50.0Om),Ga(dBi),F/B(dB)",
             "Freq(MHz),R(Om),jX(Om),SWR(50.0-j12.5Om),Ga(dBi),F/B(dB)",
             "  Freq(MHz),R Ohm,jX Ohm,SWR(14.15MHz),Ga(dBi),F/B(dB)  ",
             "Freq(MHz),R(Ω),jX(Ω),SWR(50.0-j12.5Ω),Ga(dBi),F/B(dB)",
         }) {
        const LoadResult result =
            ReadByHeader(std::string(header) + "\r\n14.1,50,0,1,7,20\r\n", LoadRequest{});
        ASSERT_TRUE(result.loaded) << header;
        EXPECT_EQ(result.data.Series[0].Values, std::vector<float>{14.1f});
    }
}

const std::string kThreeSets =
    test::ReadBytes(test::TestDataFolder() / "table_optimisation_3sets.csv");
const std::string kRow = "\r\n1 1 14.1 50 0 1.0 7.1 20 30\r\n";

LoadRequest ForSet(int set, const char* decimal = ".") {
    return LoadRequest{set, set != 0, decimal, kPiValue};
}

TEST(IsMmanaTable, KnowsATableByItsMarkersOrItsFirstRow) {
    const std::pair<const char*, bool> cases[] = {
        {"No  Val  Para  R", true},
        {"x no target reached", true},
        {"Optimization", true},
        {"Val Para", false},          // one space only
        {"1,1,2,3,4,5,6,7,8", false}, // a first line read alone has no CR
        {"1 1 2 3 4 5 6 7 8\r\n", true},
        {"1  1 2 3 4 5 6 7 8\r\n", false}, // a run of spaces gives an empty field
        {"2,1,2,3,4,5,6,7,8\r\n", false},
        {"1,1,2,3,4,5,6,7\r\n", false},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(IsMmanaTable(text), expected) << '"' << text << '"';
    }
}

TEST(TableReader, KeepsTheRowsOfTheChosenSetAndListsEverySet) {
    for (int set : {0, 3}) {
        const LoadResult result = ReadTable(kThreeSets, LoadRequest{set, false, ".", kPiValue});
        ASSERT_TRUE(result.loaded) << set;
        const int shown = set == 0 ? 1 : set;
        EXPECT_EQ(test::TextsOf(result.sets->entries), (std::vector<std::string>{"1", "2", "3"}));
        EXPECT_EQ(result.sets->selected, shown - 1);
        EXPECT_EQ(result.data.Series[0].Values, (std::vector<float>{5.2f, 5.25f, 5.3f, 5.35f}));
        EXPECT_EQ(result.data.Series[1].Values[0], 20.0f + static_cast<float>(shown));
    }
    // Set 2 alone, its starred best row without the star, no status line.
    LoadResult second;
    ASSERT_TRUE(ParseMmanaText(kThreeSets, 2, ".", second));
    EXPECT_EQ(second.data.DataText, "5\t2\t5.200\t22.00\t-14.00\t1.50\t7.20\t15.00\t22.5\r\n"
                                    "6\t2\t5.250\t24.50\t-9.00\t1.60\t7.20\t16.00\t22.5\r\n"
                                    "7\t2\t5.300\t27.00\t-4.00\t1.70\t7.20\t17.00\t22.5\r\n"
                                    "8\t2\t5.350\t29.50\t1.00\t1.80\t7.20\t18.00\t22.5");
}

TEST(TableReader, ListsEverySetOfAnOptimiserThatStoppedMidCycle) {
    // Five variables, the optimiser stopping on the third: the last line names set 3, yet sets
    // 4 and 5 are there to be chosen.
    std::string text = "No,Set,Parameter,R,jX,SWR,Ga,F/B,Elev\r\n";
    int row = 0;
    for (int set : {1, 2, 3, 4, 5, 1, 2, 3}) {
        ++row;
        text += std::to_string(row) + " " + std::to_string(set) + " 14." + std::to_string(row) +
                " 50 0 1.1 7.1 20 30\r\n";
    }
    EXPECT_EQ(test::TextsOf(ReadTable(text, LoadRequest{}).sets->entries),
              (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    const LoadResult fifth = ReadTable(text, ForSet(5));
    ASSERT_TRUE(fifth.loaded);
    EXPECT_EQ(fifth.data.Series[0].Values, std::vector<float>{14.5f});
}

TEST(TableReader, LabelsComeFromTheLastHeaderLine) {
    const std::tuple<const char*, std::vector<std::string>, std::vector<float>> files[] = {
        {"table_cp1251_russian.csv",
         {"Val", "Длина", "R", "jX", "КСВ", "Усил", "F/B"},
         {5.1f, 5.2f, 5.3f}},
        {"table_cp932_japanese.csv",
         {"Val", "長さ", "R(Ω)", "jX(Ω)", "SWR", "Ga(dBi)", "F/B(dB)"},
         {10.2f, 10.25f, 10.3f}},
    };
    for (const auto& [file, labels, second] : files) {
        const LoadResult result =
            ReadByHeader(test::ReadBytes(test::TestDataFolder() / file), LoadRequest{});
        ASSERT_TRUE(result.loaded) << file;
        EXPECT_EQ(SeriesLabels(result.data), labels);
        EXPECT_EQ(result.data.Series[1].Values, second);
    }
    const std::tuple<const char*, const char*, const char*> headers[] = {
        {"Optim", "X", "Y6"},                            // no header line
        {"Optim\r\nA B Val C D E F G", "B", "G"},        // eight words: from the second
        {"Optim\r\nNo,Set,Val,a,b,c,d,e,f", "Val", "f"}, // nine words split at commas
    };
    for (const auto& [lines, first, last] : headers) {
        const LoadResult result = ReadTable(lines + kRow, ForSet(0));
        ASSERT_TRUE(result.loaded) << lines;
        EXPECT_EQ(result.data.Series[0].Label, first) << lines;
        EXPECT_EQ(result.data.Series[6].Label, last) << lines;
    }
    // A decimal comma of the locale is read.
    const LoadResult comma =
        ReadTable("Optim\r\n1\t1\t14,150\t50,5\t-1,25\t1,1\t7\t20\t30\r\n", ForSet(0, ","));
    EXPECT_EQ(comma.data.Series[0].Values, std::vector<float>{14.15f});
}

TEST(ReadByHeader, ATableRefusalGivesTheParsersOneMessage) {
    const auto info = MessageIcon::Information;
    const auto critical = MessageIcon::Critical;
    const std::tuple<std::string, std::string, MessageIcon, Rejection> cases[] = {
        {"1,1,2,3,4,5,6,7,8\r\n1,1,2,3,4,5,6,7,8\r\n",
         "Неправильный формат данных",
         info,
         {"строка %1: заголовок не узнан", 1}},
        {"Optim\r\n1 1 14.1 50 0 1.0 7.1 20\r\n",
         "Subscript out of range",
         critical,
         {"строка %1: нет поля %2", 2, 9}},
        {"Optim\r\nNo goal\r\n", "Ошибка чтения данных", info, {"нет ни одной строки данных"}},
        {"Optim\r\n1 1 14.1 5e50 0 1.0 7.1 20 30\r\n",
         "Overflow",
         critical,
         {"строка %1, поле %2: число не умещается в 32 бита", 2, 4}},
        {"Optim\r\n1 99999 14.1 50 0 1.0 7.1 20 30\r\n", "Overflow", critical, {}}, // set: 16 bits
    };
    for (const auto& [text, message, icon, cause] : cases) {
        const LoadResult result = ReadByHeader(text, LoadRequest{});
        EXPECT_FALSE(result.loaded) << text;
        EXPECT_EQ(result.messages, (std::vector<LoadMessage>{{message, icon, cause}})) << text;
    }
    // Text the parser refuses outright is also told of on the status line.
    LoadResult plain;
    EXPECT_FALSE(ParseMmanaText("plain text\r\n", 1, ".", plain));
    EXPECT_EQ(plain.status, "Ошибка ввода данных");
}

// The one rule that every view of R and jX (derived curves, the Smith chart, table --z0, info,
// Touchstone) finds its columns by, over the captions MMANA, its window and translated tables
// write.
TEST(ImpedanceColumns, FoundByKindAndCaption) {
    struct Case {
        std::int16_t kind;
        std::vector<std::string> captions;
        std::optional<std::pair<int, int>> expected;
    };
    const std::vector<Case> cases = {
        {KindSweep, {"Частота", "R", "j X", "КСВ"}, std::pair{1, 2}},
        {KindTable, {"Parameter", "R", "jX", "SWR"}, std::pair{1, 2}},
        {KindTable, {"Val", "Длина", "R", "jX"}, std::pair{2, 3}},
        {KindTable, {"Val", "長さ", "R(Ω)", "jX(Ω)"}, std::pair{2, 3}},
        {KindMmanaWindow, {"Parameter", "R", "j X", "SWR"}, std::pair{1, 2}},
        {KindTable, {"Parameter", "R", "SWR", "Ga"}, std::nullopt},
        {KindTable, {"Parameter", "Rx", "jX1", "SWR"}, std::nullopt},
        {KindFarField, {"Zenith", "R", "jX"}, std::nullopt},
    };
    for (const Case& c : cases) {
        DataSet data;
        data.DataKind = c.kind;
        for (std::size_t i = 0; i < c.captions.size(); ++i) {
            data.Series[i].Label = c.captions[i];
        }
        const std::optional<ImpedanceColumns> found = FindImpedanceColumns(data);
        EXPECT_EQ(found ? std::optional(std::pair{found->resistance, found->reactance})
                        : std::nullopt,
                  c.expected)
            << c.captions[2];
    }
}

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

const std::string kWireHeader =
    "WIRE,PULSE,X(m),Y(m),Z(m),REAL(A),IMAGINARY(A),MAGNITUDE(A),PHASE(DEG)\r\n";
const std::filesystem::path kThreeWires = test::TestDataFolder() / "currents_3wires.csv";

LoadResult ReadWire(const std::string& text, int wire) {
    return ReadCurrents(text, LoadRequest{wire, wire != 0, ".", kPiValue});
}

TEST(CurrentsReader, ListsTheWiresAndShowsWireOneFirst) {
    const LoadResult result = ReadWire(test::ReadBytes(kThreeWires), 0);
    ASSERT_TRUE(result.loaded);
    ASSERT_TRUE(result.sets.has_value());
    EXPECT_EQ(test::TextsOf(result.sets->entries), (std::vector<std::string>{"1", "2", "3"}));
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
    std::string text = kWireHeader;
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
    const std::string tooMany = Rows(32768, "1,1,0,0,1,0.1,0.1,0.1,45\n"); // beyond the counter
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
        const LoadResult result = ReadWire(kWireHeader + body, wire);
        EXPECT_FALSE(result.loaded) << message;
        EXPECT_EQ(result.messages, (std::vector<LoadMessage>{{message, icon, cause}})) << message;
    }
    // Short lines of other wires and blank lines are no failure.
    const LoadResult result = ReadWire(kWireHeader + "2,1\r\n\r\n1,1,0,0,1,0.1,0.2,0.3,45.04\r\n"
                                                     "1,2,0,0,2,0.1,0.2,0.3,-45.05\r\n",
                                       1);
    ASSERT_TRUE(result.loaded);
    EXPECT_EQ(result.data.Series[4].Values, (std::vector<float>{45.0f, -45.1f}));
}

// Steps that differ in their last bits counting as one: the centred dipole above.
TEST(RelativePositions, FollowTheDistancesAlongTheWire) {
    const std::pair<std::vector<float>, std::vector<float>> cases[] = {
        // Steps 1 then 2: both ends reach half a step beyond the last pulse.
        {{0, 1, 3}, {0.5f / 4.5f, 1.5f / 4.5f, 3.5f / 4.5f}},
        // A wire passing closest to the origin: lengths add up whatever the direction.
        {{2, 1, 2}, {0.5f / 3, 1.5f / 3, 2.5f / 3}},
        // A loop round the origin: every pulse at one distance, spread evenly.
        {{3, 3, 3}, {0.25f, 0.5f, 0.75f}},
    };
    for (const auto& [distances, expected] : cases) {
        const std::vector<float> positions = RelativePositions(distances);
        ASSERT_EQ(positions.size(), expected.size());
        for (std::size_t i = 0; i < positions.size(); ++i) {
            EXPECT_NEAR(positions[i], expected[i], 1e-5f) << i;
        }
    }
}

} // namespace
} // namespace lobex
