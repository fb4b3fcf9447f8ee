#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// The code point of the UTF-8 sequence at text[i], and i moved past it. A
// byte that does not begin a well-formed sequence (a stray continuation
// byte, a cut, overlong or surrogate sequence, a value past U+10FFFF) gives
// nothing, and i moves past that byte alone.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& i);

// Text from the case file or the command line as a message quotes it: every
// byte that is not well-formed UTF-8, and every control character, written
// as \xHH (C1 controls as \u00HH), so that a message is always valid UTF-8
// and never steers the terminal.
std::string QuotedInput(std::string_view text);

}  // namespace tavrin
