#pragma once

#include <charconv>

namespace tavrin {

// Decimal texts of floating-point values, independent of the user's locale
// (the decimal point is always '.'), exactly as std::to_chars and
// std::from_chars make and read them. Every conversion of a double or a
// float to or from text goes through here: a standard library without the
// floating-point overloads (the browser build's) gets the same texts from
// the printf-based conversions below, so that the page shows the numbers
// the desktop program shows.

// The shortest text that reads back as the same value: fixed or scientific,
// whichever is shorter (fixed on a tie), as std::to_chars(first, last, value).
std::to_chars_result ShortestChars(char* first, char* last, double value);
std::to_chars_result ShortestChars(char* first, char* last, float value);

// std::to_chars(first, last, value, format, precision) for fixed, scientific
// and general.
std::to_chars_result FormattedChars(char* first, char* last, double value, std::chars_format format, int precision);

// std::from_chars(first, last, value) (general format): an optional '-', the
// digits with an optional point and exponent, or inf, infinity, nan; no
// blank, no '+', no hexadecimal. A value beyond the range of a double is
// result_out_of_range and leaves `value` as it was.
std::from_chars_result ParsedChars(const char* first, const char* last, double& value);

// The value of the shortest text of a 32-bit value, as a double: 0.1f gives
// 0.1 rather than 0.100000001490116; what JSON shows of the 32-bit tables.
double ShortestDecimal(float value);

// The same made from snprintf and strtod in the "C" locale, for standard
// libraries that lack the floating-point overloads; built everywhere so that
// the tests hold them to the standard ones.
namespace printf_chars {
std::to_chars_result ShortestChars(char* first, char* last, double value);
std::to_chars_result ShortestChars(char* first, char* last, float value);
std::to_chars_result FormattedChars(char* first, char* last, double value, std::chars_format format, int precision);
std::from_chars_result ParsedChars(const char* first, const char* last, double& value);
}  // namespace printf_chars

}  // namespace tavrin
