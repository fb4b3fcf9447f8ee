#include "app/Utf8Text.h"

namespace tavrin {

namespace {

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0u) == 0x80u;
}

// `value` (below 0x100) as two upper-case hex digits after `prefix`.
std::string Escaped(std::string_view prefix, unsigned value)
{
    constexpr char kHex[] = "0123456789ABCDEF";
    return std::string(prefix) + kHex[(value >> 4) & 0xFu] + kHex[value & 0xFu];
}

}  // namespace

std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    // Sequence length and the smallest code point it may carry (anything
    // smaller is an overlong form).
    std::size_t length = 1;
    char32_t least = 0;
    char32_t cp = lead;
    if (lead >= 0xC2u && lead <= 0xDFu) {
        length = 2;
        least = 0x80;
        cp = lead & 0x1Fu;
    } else if (lead >= 0xE0u && lead <= 0xEFu) {
        length = 3;
        least = 0x800;
        cp = lead & 0x0Fu;
    } else if (lead >= 0xF0u && lead <= 0xF4u) {
        length = 4;
        least = 0x10000;
        cp = lead & 0x07u;
    } else if (lead >= 0x80u) {
        ++i;
        return std::nullopt;
    }
    if (i + length > text.size()) {
        ++i;
        return std::nullopt;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if (!IsContinuation(next)) {
            ++i;
            return std::nullopt;
        }
        cp = (cp << 6) | (next & 0x3Fu);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return std::nullopt;
    }
    i += length;
    return cp;
}

std::string QuotedInput(std::string_view text)
{
    std::string quoted;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const std::optional<char32_t> cp = NextCodePoint(text, i);
        if (!cp || *cp < 0x20 || *cp == 0x7F)
            quoted += Escaped("\\x", static_cast<unsigned char>(text[start]));
        else if (*cp >= 0x80 && *cp <= 0x9F)
            quoted += Escaped("\\u00", static_cast<unsigned>(*cp));
        else
            quoted.append(text.substr(start, i - start));
    }
    return quoted;
}

}  // namespace tavrin
