#include "model/DecimalChars.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tavrin {

std::to_chars_result ShortestChars(char* first, char* last, double value)
{
#if defined(__cpp_lib_to_chars)
    return std::to_chars(first, last, value);
#else
    return printf_chars::ShortestChars(first, last, value);
#endif
}

std::to_chars_result ShortestChars(char* first, char* last, float value)
{
#if defined(__cpp_lib_to_chars)
    return std::to_chars(first, last, value);
#else
    return printf_chars::ShortestChars(first, last, value);
#endif
}

std::to_chars_result FormattedChars(char* first, char* last, double value, std::chars_format format, int precision)
{
#if defined(__cpp_lib_to_chars)
    return std::to_chars(first, last, value, format, precision);
#else
    return printf_chars::FormattedChars(first, last, value, format, precision);
#endif
}

std::from_chars_result ParsedChars(const char* first, const char* last, double& value)
{
#if defined(__cpp_lib_to_chars)
    return std::from_chars(first, last, value);
#else
    return printf_chars::ParsedChars(first, last, value);
#endif
}

double ShortestDecimal(float value)
{
    char buffer[32];
    const std::to_chars_result written = ShortestChars(buffer, buffer + sizeof buffer, value);
    double shortest = 0.0;
    ParsedChars(buffer, written.ptr, shortest);
    return shortest;
}

namespace printf_chars {

namespace {

std::to_chars_result Written(char* first, char* last, const std::string& text)
{
    if (text.size() > static_cast<std::size_t>(last - first))
        return {last, std::errc::value_too_large};
    std::memcpy(first, text.data(), text.size());
    return {first + text.size(), std::errc()};
}

// The significant digits d1 d2 … dn of a positive finite value and the
// exponent e of d1.d2…dn × 10^e: the fewest digits that `reads` gives back
// as the value, and of those the closest to it. The closest n digits are
// printf's, correctly rounded; where they do not read back, the value is a
// power of two, whose neighbour below is nearer than the one above, and the
// n digits one unit in the last place away may.
struct Significand {
    std::string digits;
    int exponent = 0;
};

// The integer `digits` plus `step` (+1 or -1), as many digits or one more.
std::string Stepped(std::string digits, int step)
{
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (step > 0 && digits[i] == '9') {
            digits[i] = '0';
        } else if (step < 0 && digits[i] == '0') {
            digits[i] = '9';
        } else {
            digits[i] = static_cast<char>(digits[i] + step);
            return digits;
        }
    }
    return "1" + digits;
}

// The significand of the integer `digits` × 10^scale: no leading or trailing zeros.
Significand Normalised(const std::string& digits, int scale)
{
    const std::size_t first = digits.find_first_not_of('0');
    const std::size_t last = digits.find_last_not_of('0');
    return {digits.substr(first, last - first + 1), static_cast<int>(digits.size() - first) - 1 + scale};
}

template <class T, class Reads>
Significand ShortestSignificand(T value, int mostDigits, Reads reads)
{
    char text[64];
    Significand closest;
    for (int n = 1; n <= mostDigits; ++n) {
        std::snprintf(text, sizeof text, "%.*e", n - 1, static_cast<double>(value));
        // "d.ddde+XX", or "de+XX" for one digit: the integer d…d × 10^scale.
        std::string digits;
        const char* p = text;
        for (; *p != 'e'; ++p)
            if (*p != '.')
                digits += *p;
        const int scale = std::atoi(p + 1) - (n - 1);
        closest = Normalised(digits, scale);
        if (reads(text) == value)
            return closest;
        for (const int step : {+1, -1}) {
            const std::string neighbour = Stepped(digits, step);
            if (neighbour.find_first_not_of('0') == std::string::npos)
                continue;
            if (reads((neighbour + "e" + std::to_string(scale)).c_str()) == value)
                return Normalised(neighbour, scale);
        }
    }
    return closest;
}

std::string Scientific(const Significand& s)
{
    std::string text(1, s.digits[0]);
    if (s.digits.size() > 1)
        text += "." + s.digits.substr(1);
    const int magnitude = std::abs(s.exponent);
    text += s.exponent < 0 ? "e-" : "e+";
    if (magnitude < 10)
        text += '0';
    return text + std::to_string(magnitude);
}

// A value whose shortest digits end before its units place is written with
// its exact integer digits, the fixed text closest to it.
template <class T>
std::string Fixed(T value, const Significand& s)
{
    const int n = static_cast<int>(s.digits.size());
    if (s.exponent >= n - 1) {
        char text[400];
        std::snprintf(text, sizeof text, "%.0f", static_cast<double>(value));
        return text;
    }
    if (s.exponent >= 0)
        return s.digits.substr(0, static_cast<std::size_t>(s.exponent) + 1) + "." +
               s.digits.substr(static_cast<std::size_t>(s.exponent) + 1);
    return "0." + std::string(static_cast<std::size_t>(-s.exponent - 1), '0') + s.digits;
}

template <class T, class Reads>
std::to_chars_result Shortest(char* first, char* last, T value, int mostDigits, Reads reads)
{
    const bool negative = std::signbit(value);
    std::string text = negative ? "-" : "";
    if (std::isnan(value))
        return Written(first, last, text + "nan");
    if (std::isinf(value))
        return Written(first, last, text + "inf");
    if (value == 0)
        return Written(first, last, text + "0");
    const T magnitude = std::fabs(value);
    const Significand s = ShortestSignificand(magnitude, mostDigits, reads);
    const std::string fixed = Fixed(magnitude, s);
    const std::string scientific = Scientific(s);
    return Written(first, last, text + (fixed.size() <= scientific.size() ? fixed : scientific));
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The length of `word` at the start of [p, last), letters in either case; 0
// when it is not there.
std::size_t WordAt(const char* p, const char* last, const char* word)
{
    const std::size_t n = std::strlen(word);
    if (static_cast<std::size_t>(last - p) < n)
        return 0;
    for (std::size_t i = 0; i < n; ++i)
        if ((p[i] | 0x20) != word[i])
            return 0;
    return n;
}

}  // namespace

std::to_chars_result ShortestChars(char* first, char* last, double value)
{
    return Shortest(first, last, value, 17, [](const char* text) { return std::strtod(text, nullptr); });
}

std::to_chars_result ShortestChars(char* first, char* last, float value)
{
    return Shortest(first, last, value, 9, [](const char* text) { return std::strtof(text, nullptr); });
}

std::to_chars_result FormattedChars(char* first, char* last, double value, std::chars_format format, int precision)
{
    const char* pattern = format == std::chars_format::fixed        ? "%.*f"
                          : format == std::chars_format::scientific ? "%.*e"
                                                                    : "%.*g";
    const int n = std::snprintf(nullptr, 0, pattern, precision, value);
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(text.data(), text.size(), pattern, precision, value);
    text.pop_back();
    return Written(first, last, text);
}

std::from_chars_result ParsedChars(const char* first, const char* last, double& value)
{
    const char* p = first;
    const bool negative = p < last && *p == '-';
    if (negative)
        ++p;
    if (const std::size_t inf = WordAt(p, last, "inf")) {
        const std::size_t infinity = WordAt(p, last, "infinity");
        value = negative ? -HUGE_VAL : HUGE_VAL;
        return {p + (infinity ? infinity : inf), std::errc()};
    }
    if (const std::size_t nan = WordAt(p, last, "nan")) {
        p += nan;
        // "nan(chars)", the chars letters, digits and underscores.
        const char* q = p;
        if (q < last && *q == '(') {
            ++q;
            while (q < last && (IsDigit(*q) || ((*q | 0x20) >= 'a' && (*q | 0x20) <= 'z') || *q == '_'))
                ++q;
            if (q < last && *q == ')')
                p = q + 1;
        }
        value = negative ? -std::nan("") : std::nan("");
        return {p, std::errc()};
    }
    bool digits = false;
    while (p < last && IsDigit(*p)) {
        ++p;
        digits = true;
    }
    if (p < last && *p == '.') {
        ++p;
        while (p < last && IsDigit(*p)) {
            ++p;
            digits = true;
        }
    }
    if (!digits)
        return {first, std::errc::invalid_argument};
    if (p < last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q < last && (*q == '+' || *q == '-'))
            ++q;
        if (q < last && IsDigit(*q)) {
            while (q < last && IsDigit(*q))
                ++q;
            p = q;
        }
    }
    const std::string text(first, p);
    errno = 0;
    const double read = std::strtod(text.c_str(), nullptr);
    if (errno == ERANGE && (read == 0.0 || std::isinf(read)))
        return {p, std::errc::result_out_of_range};
    value = read;
    return {p, std::errc()};
}

}  // namespace printf_chars

}  // namespace tavrin
