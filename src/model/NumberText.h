#pragma once

#include <string>

namespace tavrin {

// The number patterns of the result tables and the picture labels: rounded
// (halves away from zero) to at most `decimals` places, at least one digit
// before the point, trailing zeros dropped, the point kept when no digit
// follows it. 20 -> "20.", 2.5 -> "2.5", 12.345 -> "12.35". A value that
// rounds to zero is "0.", never "-0.".
std::string FormatDecimals(double value, int decimals);

// Pattern "0.##": forces and reactions.
inline std::string FormatForce(double value)
{
    return FormatDecimals(value, 2);
}
// Pattern "0.###": coefficients and unknowns.
inline std::string FormatCoefficient(double value)
{
    return FormatDecimals(value, 3);
}

// Three significant digits, with an exponent for a very small or large
// value: the residuals of the checks and their tolerances. 0.00213 ->
// "0.00213", 1.5e-7 -> "1.5e-07", a zero (also -0) -> "0".
std::string SignificantText(double value);

// The shortest text of a 32-bit value (up to 7 significant digits), without
// a trailing point: 3 -> "3", -2.5 -> "-2.5", 0.1 -> "0.1".
std::string ShortNumberText(double value);

// The shortest text that a number cell reads back as exactly this 32-bit
// value, as a student would type it: 3 -> "3", 0.1 -> "0.1", -2.5 -> "-2.5",
// 1e-08 -> "1e-08"; "0" for either zero.
std::string CellTextOf(float value);

// A number printed by itself on the picture: a blank where a minus sign would
// stand, the number, one trailing blank. 3 -> " 3 ", -2.5 -> "-2.5 ".
std::string PrintedNumber(double value);

// A number turned into text for a list item: a leading blank before a
// non-negative number, none after it. 1 -> " 1", -2 -> "-2".
std::string SignedNumberText(double value);

}  // namespace tavrin
