#include "model/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "model/CellReading.h"
#include "model/DecimalChars.h"

namespace tavrin {

namespace {

// Locale-independent text of a value (the decimal point is always '.', also
// under a user locale that writes a comma).
std::string CharsOf(double value, std::chars_format format, int precision)
{
    char buffer[400];
    const auto result = FormattedChars(buffer, buffer + sizeof buffer, value, format, precision);
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

// The general case, from the plain digits of the value: also numbers
// written with an exponent, which the tables rarely show.
std::string FormatDecimalsSlowly(double value, int decimals)
{
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

}  // namespace

std::string FormatDecimals(double value, int decimals)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "NaN" : (value < 0 ? "-Inf" : "Inf");
    const bool negative = value < 0;
    const double magnitude = std::fabs(value);
    // The result tables print thousands of numbers per calculation, so the
    // common cases are read from one conversion into a buffer: a whole number
    // below 10^15 is its own 15-digit decimal, and 15 significant digits
    // between 10^-4 and 10^15 place the point inside the digits.
    if (magnitude < 1e15 && magnitude == static_cast<double>(static_cast<std::uint64_t>(magnitude)) && decimals >= 0) {
        char buffer[24] = {'-'};
        char* end = std::to_chars(buffer + 1, buffer + sizeof buffer - 1, static_cast<std::uint64_t>(magnitude)).ptr;
        *end++ = '.';
        return std::string(negative && magnitude != 0.0 ? buffer : buffer + 1, end);
    }
    char scientific[32];
    char* sciEnd =
        FormattedChars(scientific, scientific + sizeof scientific, magnitude, std::chars_format::scientific, 14).ptr;
    // scientific = "d.dddddddddddddde+XX" or "...e-XX"
    const char* e = std::find(scientific, sciEnd, 'e');
    int exponent = 0;
    std::from_chars(e + 2, sciEnd, exponent);
    if (e[1] == '-')
        exponent = -exponent;
    if (exponent < -4 || exponent >= 15 || decimals < 0 || decimals > 20)
        return FormatDecimalsSlowly(value, decimals);

    // digit[i] stands for 10^(exponent - i).
    char digit[15];
    digit[0] = scientific[0];
    std::copy(scientific + 2, scientific + 16, digit + 1);
    const auto digitAt = [&](int power) {
        const int i = exponent - power;
        return i >= 0 && i < 15 ? digit[i] : '0';
    };
    // Integer part, the point and `decimals` places; the place after them
    // rounds half up.
    char kept[48];
    int n = 0;
    for (int power = std::max(exponent, 0); power >= 0; --power)
        kept[n++] = digitAt(power);
    kept[n++] = '.';
    for (int power = -1; power >= -decimals; --power)
        kept[n++] = digitAt(power);
    if (digitAt(-decimals - 1) >= '5') {
        int i = n - 1;
        for (; i >= 0; --i) {
            if (kept[i] == '.')
                continue;
            if (kept[i] != '9') {
                ++kept[i];
                break;
            }
            kept[i] = '0';
        }
        if (i < 0) {
            std::copy_backward(kept, kept + n, kept + n + 1);
            kept[0] = '1';
            ++n;
        }
    }
    while (kept[n - 1] == '0')
        --n;
    const bool zero = std::all_of(kept, kept + n, [](char c) { return c == '0' || c == '.'; });
    std::string text;
    text.reserve(static_cast<std::size_t>(n) + 1);
    if (negative && !zero)
        text += '-';
    text.append(kept, static_cast<std::size_t>(n));
    return text;
}

std::string SignificantText(double value)
{
    if (value == 0.0)
        return "0";
    return CharsOf(value, std::chars_format::general, 3);
}

std::string ShortNumberText(double value)
{
    if (!std::isfinite(value))
        return FormatDecimals(value, 0);
    // Node numbers and member codes, labelled on every redraw: a whole
    // number of up to seven digits prints as its digits.
    const float single = static_cast<float>(value);
    if (std::fabs(single) < 1e7f && single == static_cast<float>(static_cast<long>(single))) {
        char buffer[16];
        char* end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long>(single)).ptr;
        return std::string(buffer, end);
    }
    std::string text = CharsOf(static_cast<double>(single), std::chars_format::general, 7);
    if (text == "-0")
        text = "0";
    return text;
}

std::string CellTextOf(float value)
{
    if (value == 0.0f)
        return "0";
    char buffer[64];
    const auto shortest = ShortestChars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, shortest.ptr);
    // A cell is read in double precision and then stored as a float; nine
    // significant digits name every float whatever the rounding between.
    if (ReadFloatCell(text) != value)
        text = CharsOf(static_cast<double>(value), std::chars_format::general, 9);
    return text;
}

std::string PrintedNumber(double value)
{
    std::string text = ShortNumberText(value);
    if (text.front() != '-')
        text.insert(text.begin(), ' ');
    text += ' ';
    return text;
}

std::string SignedNumberText(double value)
{
    const std::string text = ShortNumberText(value);
    return (text.front() == '-' ? "" : " ") + text;
}

}  // namespace tavrin
