#include <gtest/gtest.h>

#include "model/NumberText.h"

namespace tavrin {
namespace {

struct PatternCase {
    double value;
    int decimals;
    const char* text;
};

TEST(NumberTextTest, PatternsRoundDropZerosAndKeepThePoint)
{
    const PatternCase cases[] = {
        {20, 2, "20."},
        {2.5, 2, "2.5"},
        {12.345, 2, "12.35"},
        {-12.345, 2, "-12.35"},
        {0.12345, 3, "0.123"},
        {0.5, 2, "0.5"},
        {-0.001, 2, "0."},
        {-0.0, 2, "0."},
        {0, 2, "0."},
        {9.995, 2, "10."},
        {1e-7, 3, "0."},
        {123456.789, 2, "123456.79"},
        {12.345f, 2, "12.35"},
        {-2.0 / 3.0, 3, "-0.667"},
        {0.0049, 2, "0."},
        {0.005, 2, "0.01"},
        {1e20, 2, "100000000000000000000."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatDecimals(c.value, c.decimals), c.text);
    }
}

// Whole numbers and plain digits take a quicker road than numbers written
// with an exponent; the texts must not tell the roads apart.
TEST(NumberTextTest, PatternsAtTheEdgesOfThePlainDigits)
{
    const PatternCase cases[] = {
        {999999999999999.0, 2, "999999999999999."},
        {1e15, 2, "1000000000000000."},
        {0.995, 2, "1."},
        {-99.995, 2, "-100."},
        {0.00015, 4, "0.0002"},
        {-0.5, 0, "-1."},
        {-7.0, 3, "-7."},
        {1e-5, 3, "0."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatDecimals(c.value, c.decimals), c.text);
    }
    EXPECT_EQ(ShortNumberText(1234567), "1234567");
    EXPECT_EQ(ShortNumberText(12345678), "1.234568e+07");
    EXPECT_EQ(ShortNumberText(-3), "-3");
    EXPECT_EQ(PrintedNumber(7), " 7 ");
}

TEST(NumberTextTest, PrintedNumbersStandBetweenBlanks)
{
    EXPECT_EQ(PrintedNumber(3), " 3 ");
    EXPECT_EQ(PrintedNumber(-2.5), "-2.5 ");
    EXPECT_EQ(PrintedNumber(12), " 12 ");
    EXPECT_EQ(PrintedNumber(0.1f), " 0.1 ");
    EXPECT_EQ(PrintedNumber(-0.0), " 0 ");
    EXPECT_EQ(SignedNumberText(1), " 1");
    EXPECT_EQ(SignedNumberText(-2), "-2");
}

}  // namespace
}  // namespace tavrin
