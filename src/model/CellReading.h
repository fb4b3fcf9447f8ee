#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavrin {

// The leading number of a cell text: optional sign, digits, decimal point and
// exponent, read from the start (after leading blanks) until a character that
// cannot continue the number. A text that does not start with a number, and
// the empty text, read as 0. Computed in double precision.
double LeadingNumber(std::string_view text);

// The leading number stored into a 32-bit float field.
float ReadFloatCell(std::string_view text);

// The leading number rounded to the nearest integer, halves to the even
// neighbour (2.5 -> 2, 3.5 -> 4). std::nullopt when the value does not fit a
// 16-bit field (outside -32768..32767): the caller refuses the table.
std::optional<std::int16_t> ReadIntegerCell(std::string_view text);

// The same rounding for a value already read; std::nullopt outside the range.
std::optional<std::int16_t> RoundToInt16(double value);

}  // namespace tavrin
