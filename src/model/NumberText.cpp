#include "model/NumberText.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tavrin {

namespace {

// Locale-independent text of a value (the decimal point is always '.', also
// under a user locale that writes a comma).
std::string CharsOf(double value, std::chars_format format, int precision)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return std::string(buffer, result.ptr);
}

// Digits of |value| with 15 significant digits: enough to keep the decimal
// value a student typed (12.345 stays 12.345 whether it came as a double or
// widened from a float), so that the rounding below acts on that value.
std::string PlainDecimal(double magnitude)
{
    std::string text = CharsOf(magnitude, std::chars_format::general, 15);
    if (text.find_first_of("eE") == std::string::npos)
        return text;
    // Expand an exponent form into plain digits.
    return CharsOf(magnitude, std::chars_format::fixed, 20);
}

// Adds one unit in the last place of a plain decimal digit string.
void IncrementLast(std::string& digits)
{
    int i = static_cast<int>(digits.size()) - 1;
    for (; i >= 0; --i) {
        if (digits[static_cast<std::size_t>(i)] == '.')
            continue;
        if (digits[static_cast<std::size_t>(i)] == '9') {
            digits[static_cast<std::size_t>(i)] = '0';
        } else {
            ++digits[static_cast<std::size_t>(i)];
            return;
        }
    }
    digits.insert(digits.begin(), '1');
}

}  // namespace

std::string FormatDecimals(double value, int decimals)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "NaN" : (value < 0 ? "-Inf" : "Inf");
    const bool negative = value < 0;
    std::string text = PlainDecimal(std::fabs(value));
    auto point = text.find('.');
    if (point == std::string::npos) {
        text += '.';
        point = text.size() - 1;
    }
    std::string kept = text.substr(0, point + 1 + static_cast<std::size_t>(decimals));
    const std::size_t next = point + 1 + static_cast<std::size_t>(decimals);
    if (next < text.size() && text[next] >= '5')
        IncrementLast(kept);
    while (!kept.empty() && kept.back() == '0' && kept.find('.') != std::string::npos &&
           kept.size() - 1 > kept.find('.'))
        kept.pop_back();
    if (kept.front() == '.')
        kept.insert(kept.begin(), '0');
    const bool zero = kept.find_first_not_of("0.") == std::string::npos;
    return (negative && !zero ? "-" : "") + kept;
}

std::string ShortNumberText(double value)
{
    if (!std::isfinite(value))
        return FormatDecimals(value, 0);
    std::string text = CharsOf(static_cast<double>(static_cast<float>(value)), std::chars_format::general, 7);
    if (text == "-0")
        text = "0";
    return text;
}

std::string PrintedNumber(double value)
{
    const std::string text = ShortNumberText(value);
    return (text.front() == '-' ? "" : " ") + text + " ";
}

std::string SignedNumberText(double value)
{
    const std::string text = ShortNumberText(value);
    return (text.front() == '-' ? "" : " ") + text;
}

}  // namespace tavrin
