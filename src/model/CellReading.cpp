#include "model/CellReading.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>

#include "model/DecimalChars.h"
#include "model/ModelTexts.h"

namespace tavrin {

namespace {

// A refusal quotes this many characters of the text at most.
constexpr std::size_t kQuotedCharacters = 20;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::size_t SkipDigits(std::string_view s, std::size_t i)
{
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    return i;
}

// Length of the longest prefix of `s` that forms a number.
std::size_t NumberPrefixLength(std::string_view s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    const std::size_t integer = i;
    i = SkipDigits(s, i);
    std::size_t digits = i - integer;
    if (i < s.size() && s[i] == '.') {
        const std::size_t fraction = i + 1;
        i = SkipDigits(s, fraction);
        digits += i - fraction;
    }
    if (digits == 0)
        return 0;
    // An exponent counts only when at least one digit follows it.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && IsDigit(s[j]))
            i = SkipDigits(s, j);
    }
    return i;
}

// For a number that a double cannot hold: true when it is too large, false
// when it is too small. The power of ten of its first non-zero digit decides;
// a double holds every number whose power lies within about ±308.
bool TooLargeForDouble(std::string_view number)
{
    std::size_t i = (number.front() == '+' || number.front() == '-') ? 1 : 0;
    const std::size_t integerEnd = SkipDigits(number, i);
    long power = 0;
    bool found = false;
    for (std::size_t k = i; k < integerEnd && !found; ++k)
        if (number[k] != '0') {
            power = static_cast<long>(integerEnd - k) - 1;
            found = true;
        }
    i = integerEnd;
    if (i < number.size() && number[i] == '.') {
        const std::size_t fraction = ++i;
        i = SkipDigits(number, fraction);
        for (std::size_t k = fraction; k < i && !found; ++k)
            if (number[k] != '0') {
                power = -static_cast<long>(k - fraction) - 1;
                found = true;
            }
    }
    long exponent = 0;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '+' || number[i] == '-'))
            ++i;
        for (; i < number.size(); ++i)
            exponent = std::min(exponent * 10 + (number[i] - '0'), 1000000L);
        if (negative)
            exponent = -exponent;
    }
    return power + exponent >= 0;
}

// The value of a text that is wholly a number.
double NumberValue(std::string_view number)
{
    if (number.front() == '+')
        number.remove_prefix(1);
    double value = 0.0;
    const auto result = ParsedChars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (!TooLargeForDouble(number))
            return 0.0;
        return number.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return result.ec == std::errc() ? value : 0.0;
}

std::optional<float> ToFloatField(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(FLT_MAX))
        return std::nullopt;
    return static_cast<float>(value);
}

// The first characters of a text, cut at a character boundary of its UTF-8.
std::string Quoted(std::string_view text)
{
    std::size_t characters = 0;
    std::size_t end = 0;
    while (end < text.size()) {
        if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80 && characters++ == kQuotedCharacters)
            return "“" + std::string(text.substr(0, end)) + "…”";
        ++end;
    }
    return "“" + std::string(text) + "”";
}

}  // namespace

bool IsBlankText(std::string_view text)
{
    return Trimmed(text).empty();
}

bool IsWhollyNumber(std::string_view text)
{
    const std::string_view number = Trimmed(text);
    return !number.empty() && NumberPrefixLength(number) == number.size();
}

std::optional<double> CellNumber(std::string_view text)
{
    const std::string_view number = Trimmed(text);
    if (number.empty())
        return 0.0;
    if (NumberPrefixLength(number) != number.size())
        return std::nullopt;
    return NumberValue(number);
}

std::optional<float> ReadFloatCell(std::string_view text)
{
    const std::optional<double> value = CellNumber(text);
    return value ? ToFloatField(*value) : std::nullopt;
}

std::optional<std::int16_t> RoundToInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);  // default rounding: halves to even
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

std::optional<std::int16_t> ReadIntegerCell(std::string_view text)
{
    const std::optional<double> value = CellNumber(text);
    return value ? RoundToInt16(*value) : std::nullopt;
}

std::string IntegerCellFault(std::string_view text)
{
    const std::optional<double> value = CellNumber(text);
    if (!value)
        return NotANumberReason(text);
    return RoundToInt16(*value) ? std::string() : std::string(kIntegerOutOfRange);
}

std::string FloatCellFault(std::string_view text)
{
    const std::optional<double> value = CellNumber(text);
    if (!value)
        return NotANumberReason(text);
    return ToFloatField(*value) ? std::string() : std::string(kBeyondFloat);
}

std::string NotANumberReason(std::string_view text)
{
    return Quoted(Trimmed(text)) + std::string(kNotANumber);
}

double LeadingNumber(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    const std::size_t n = NumberPrefixLength(text);
    return n == 0 ? 0.0 : NumberValue(text.substr(0, n));
}

}  // namespace tavrin
