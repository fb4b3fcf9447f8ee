#include "model/DecimalChars.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace tavrin {
namespace {

// The printf-based conversions, which the browser build uses, hold to the
// standard library's, which the desktop program uses: any text that differs
// would make the page show another number than the desktop.

template <class T>
std::string Standard(T value)
{
    char buffer[512];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

template <class T>
std::string ByPrintf(T value)
{
    char buffer[512];
    const std::to_chars_result result = printf_chars::ShortestChars(buffer, buffer + sizeof buffer, value);
    EXPECT_EQ(result.ec, std::errc());
    return std::string(buffer, result.ptr);
}

std::vector<double> TypicalDoubles()
{
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1.0,
                                  -1.0,
                                  0.1,
                                  0.2,
                                  1.0 / 3.0,
                                  2.5,
                                  -2.5,
                                  1e-7,
                                  1e-4,
                                  1e-3,
                                  1e5,
                                  123456.0,
                                  1e15,
                                  1e16,
                                  1e17,
                                  1e21,
                                  1e22,
                                  1e23,
                                  4.35e22,
                                  5e-324,
                                  DBL_MAX,
                                  DBL_MIN,
                                  -DBL_MAX,
                                  31.5,
                                  -180.0,
                                  36.0,
                                  4.886,
                                  2.667,
                                  0.30000000000000004,
                                  9007199254740993.0,
                                  1.2345678901234567e17,
                                  123456789012345678.0,
                                  1.5e300};
    for (int e = -1074; e <= 1023; e += 7)
        values.push_back(std::ldexp(1.0, e));
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 6000; ++i) {
        // Every bit pattern of a finite double, and decimals as typed.
        const double bits = std::bit_cast<double>(random());
        if (std::isfinite(bits))
            values.push_back(bits);
        values.push_back(static_cast<double>(static_cast<std::int64_t>(random() % 2000001) - 1000000) / 1000.0);
        values.push_back(std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 140) - 70));
    }
    return values;
}

TEST(DecimalChars, ShortestDoubleTextsAreTheStandardOnes)
{
    int differing = 0;
    for (const double value : TypicalDoubles()) {
        if (Standard(value) != ByPrintf(value) && ++differing <= 10)
            ADD_FAILURE() << Standard(value) << " written as " << ByPrintf(value);
    }
    EXPECT_EQ(differing, 0);
}

TEST(DecimalChars, ShortestFloatTextsAreTheStandardOnes)
{
    std::vector<float> values = {0.0f, -0.0f, 0.1f, 1e-8f, 3.0f, -2.5f, 1e13f, 1.2345678e13f, FLT_MAX, FLT_MIN, 1e-45f};
    std::mt19937 random(7);
    for (int i = 0; i < 6000; ++i) {
        const float bits = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (std::isfinite(bits))
            values.push_back(bits);
        values.push_back(static_cast<float>(static_cast<int>(random() % 200001) - 100000) / 100.0f);
    }
    int differing = 0;
    for (const float value : values) {
        if (Standard(value) != ByPrintf(value) && ++differing <= 10)
            ADD_FAILURE() << Standard(value) << " written as " << ByPrintf(value);
    }
    EXPECT_EQ(differing, 0);
}

TEST(DecimalChars, FormattedTextsAreTheStandardOnes)
{
    const std::chars_format formats[] = {std::chars_format::fixed, std::chars_format::scientific,
                                         std::chars_format::general};
    const double values[] = {0.0, -0.0, 12.345, -0.00213, 1.5e-7, 48.0, 1e20, 123456789.125, 0.5, 2.5, 1e-300};
    for (const std::chars_format format : formats)
        for (const int precision : {0, 1, 2, 3, 7, 9, 14, 15, 20})
            for (const double value : values) {
                char expected[512];
                char actual[512];
                const auto a = std::to_chars(expected, expected + sizeof expected, value, format, precision);
                const auto b = printf_chars::FormattedChars(actual, actual + sizeof actual, value, format, precision);
                EXPECT_EQ(std::string(expected, a.ptr), std::string(actual, b.ptr))
                    << value << " format " << static_cast<int>(format) << " precision " << precision;
            }
}

TEST(DecimalChars, ATextTooLongForTheBufferIsRefused)
{
    char buffer[4];
    EXPECT_EQ(printf_chars::ShortestChars(buffer, buffer + sizeof buffer, 123.25).ec, std::errc::value_too_large);
    EXPECT_EQ(printf_chars::FormattedChars(buffer, buffer + sizeof buffer, 1e20, std::chars_format::fixed, 2).ec,
              std::errc::value_too_large);
    EXPECT_EQ(printf_chars::ShortestChars(buffer, buffer + sizeof buffer, 12.5).ec, std::errc());
}

TEST(DecimalChars, ReadingStopsAndRefusesWhereTheStandardDoes)
{
    const char* texts[] = {"2.5",  "-2.5",  "+1",     " 1",     ".5",       "5.",        "-.5e1", "1e",
                           "1e+",  "1e-2x", "1.5e3x", "0x1p3",  "inf",      "-Infinity", "nan",   "nan(x1)",
                           "nan(", "1e400", "-1e400", "1e-400", "1e-310",   "-",         ".",     "e5",
                           "",     "12,5",  "1_000",  "0.1e-2", "00012.50", "4.886"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        const char* last = text + std::char_traits<char>::length(text);
        double expected = -7.0;
        double actual = -7.0;
        const auto a = std::from_chars(text, last, expected);
        const auto b = printf_chars::ParsedChars(text, last, actual);
        EXPECT_EQ(a.ec, b.ec);
        EXPECT_EQ(a.ptr - text, b.ptr - text);
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(actual));
        else
            EXPECT_EQ(expected, actual);
    }
}

}  // namespace
}  // namespace tavrin
