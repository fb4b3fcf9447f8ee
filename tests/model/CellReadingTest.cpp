#include <gtest/gtest.h>

#include "model/CellReading.h"

namespace tavrin {
namespace {

TEST(CellReadingTest, LeadingNumberStopsAtTheFirstCharacterThatCannotContinueIt)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},        {"abc", 0},        {"12", 12},      {"-3.5", -3.5},  {"+4", 4},     {"2.5e3", 2500},
        {"1E-2", 0.01}, {"12abc", 12},     {"3.4.5", 3.4},  {"1e", 1},       {"1e+", 1},    {".5", 0.5},
        {"-.25x", -0.25}, {"  7", 7},      {"-", 0},        {".", 0},        {"e5", 0},     {"2,5", 2},
        {"４", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value);
    }
}

TEST(CellReadingTest, IntegerCellsRoundHalvesToEvenAndReportOverflow)
{
    EXPECT_EQ(ReadIntegerCell("2.5"), 2);
    EXPECT_EQ(ReadIntegerCell("3.5"), 4);
    EXPECT_EQ(ReadIntegerCell("-2.5"), -2);
    EXPECT_EQ(ReadIntegerCell("2.6"), 3);
    EXPECT_EQ(ReadIntegerCell("x"), 0);
    EXPECT_EQ(ReadIntegerCell("32767"), 32767);
    EXPECT_EQ(ReadIntegerCell("-32768"), -32768);
    EXPECT_EQ(ReadIntegerCell("32767.4"), 32767);
    EXPECT_EQ(ReadIntegerCell("32767.5"), std::nullopt);
    EXPECT_EQ(ReadIntegerCell("40000"), std::nullopt);
    EXPECT_EQ(ReadIntegerCell("-1e300"), std::nullopt);
    EXPECT_EQ(ReadIntegerCell("1e999"), std::nullopt);
}

TEST(CellReadingTest, FloatCellsAreStoredInSinglePrecision)
{
    EXPECT_EQ(ReadFloatCell("0.1"), 0.1f);
    EXPECT_EQ(ReadFloatCell("2.5e4"), 25000.0f);
}

}  // namespace
}  // namespace tavrin
