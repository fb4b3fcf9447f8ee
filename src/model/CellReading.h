#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// Every number the student types into a table cell or a text box is read by
// these rules, so that one text means one number wherever it is typed.
//
// A number is: optional sign, digits, optional decimal point with digits,
// at least one digit in all, then optionally an exponent (e or E, optional
// sign, at least one digit). Blanks are space, tab, CR and LF.

// True when the text holds nothing but blanks (or nothing at all).
bool IsBlankText(std::string_view text);

// True when the text, without its leading and trailing blanks, is wholly one
// number: "12", " -3.5 ", "2.5e4", "1."; not "", "x4", "12abc", "1e", "1 2".
bool IsWhollyNumber(std::string_view text);

// The value of a number cell, in double precision: 0 for a blank cell; the
// number when the text is wholly one (a number too small for a double, such
// as "1e-400", reads 0; one too large reads as an infinity of its sign);
// std::nullopt for any other text, which the caller refuses.
std::optional<double> CellNumber(std::string_view text);

// The same value stored into a 32-bit float field; std::nullopt when the text
// is no number or the value lies beyond the largest float.
std::optional<float> ReadFloatCell(std::string_view text);

// The same value rounded to the nearest integer, halves to the even
// neighbour (2.5 -> 2, 3.5 -> 4), for a 16-bit field; std::nullopt when the
// text is no number or the value lies outside -32768..32767.
std::optional<std::int16_t> ReadIntegerCell(std::string_view text);

// The rounding of ReadIntegerCell for a value already read.
std::optional<std::int16_t> RoundToInt16(double value);

// Why a cell's text cannot fill a 16-bit integer field or a 32-bit float
// field, as the refusals say it ("“x4”不是数字", "数值过大，无法存储");
// empty when it can.
std::string IntegerCellFault(std::string_view text);
std::string FloatCellFault(std::string_view text);

// "“x4”不是数字": the text without its blanks, cut after a few characters.
std::string NotANumberReason(std::string_view text);

// The leading number of a text the program wrote itself (a formatted value),
// read from the start until a character that cannot continue the number; 0
// when the text does not start with one. Never used for what the student
// types: a cell is wholly a number or it is refused.
double LeadingNumber(std::string_view text);

}  // namespace tavrin
