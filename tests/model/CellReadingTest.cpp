#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "model/CellReading.h"

namespace tavrin {
namespace {

TEST(CellReadingTest, LeadingNumberStopsAtTheFirstCharacterThatCannotContinueIt)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},       {"abc", 0},     {"12", 12}, {"-3.5", -3.5}, {"+4", 4},   {"2.5e3", 2500},  {"1E-2", 0.01},
        {"12abc", 12}, {"3.4.5", 3.4}, {"1e", 1},  {"1e+", 1},     {".5", 0.5}, {"-.25x", -0.25}, {"  7", 7},
        {"-", 0},      {".", 0},       {"e5", 0},  {"2,5", 2},     {"４", 0},
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
    EXPECT_EQ(ReadIntegerCell("x"), std::nullopt);
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
    EXPECT_EQ(ReadFloatCell("1e-50"), 0.0f);
    EXPECT_EQ(ReadFloatCell("-1e39"), std::nullopt);
    EXPECT_EQ(FloatCellFault("-1e39"), "数值过大，无法存储");
    EXPECT_EQ(IntegerCellFault("40000"), "整数值超出-32768～32767的范围");
    EXPECT_EQ(FloatCellFault(" 12 "), "");
}

// A typo must never become a number: a cell is blank (0), wholly one number
// between optional blanks, or refused.
TEST(CellReadingTest, ACellIsBlankOrWhollyANumberOrRefused)
{
    const double inf = HUGE_VAL;
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"", 0},
        {" \t ", 0},
        {"12", 12},
        {" -3.5\r\n", -3.5},
        {"+4", 4},
        {"2.5E3", 2500},
        {"1.", 1},
        {".5", 0.5},
        {"1e-400", 0},
        {"-1e-400", 0},
        {"0.00000000000000000001e-390", 0},
        {"1e999", inf},
        {"-1e999", -inf},
        {"1e-99999999999999999999", 0},
        {"abc", {}},
        {"x4", {}},
        {"12abc", {}},
        {"1.5m", {}},
        {"1e", {}},
        {"1 2", {}},
        {"-", {}},
        {".", {}},
        {"2,5", {}},
        {"４", {}},
        {"3.4.5", {}},
        {"e5", {}},
        {"1e+", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CellNumber(c.text), c.value);
        EXPECT_EQ(IsWhollyNumber(c.text), c.value && !IsBlankText(c.text));
    }
    EXPECT_EQ(CellNumber("1" + std::string(400, '0')), inf);
    EXPECT_EQ(NotANumberReason(" x4 "), "“x4”不是数字");
    EXPECT_EQ(IntegerCellFault("2x"), "“2x”不是数字");
    EXPECT_EQ(NotANumberReason("一二三四五六七八九十一二三四五六七八九十一二"),
              "“一二三四五六七八九十一二三四五六七八九十…”不是数字");
}

}  // namespace
}  // namespace tavrin
