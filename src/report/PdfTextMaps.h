#pragma once

#include <map>
#include <string>

namespace tavrin {

// The text a PDF viewer copies out of a page comes from each font's
// ToUnicode map, one text per glyph. A CJK font draws a Kangxi radical and
// the ideograph of the same shape (⼒ U+2F12 and 力 U+529B) with one glyph,
// and a writer that names each glyph by the lowest code point reaching it
// names the ideograph's glyph by the radical: the text then copies out as
// look-alike radicals.

// True for the radical blocks, U+2E80–U+2FDF.
constexpr bool IsCjkRadical(char32_t c)
{
    return c >= 0x2E80 && c <= 0x2FDF;
}

// `pdf` with every ToUnicode map rewritten so that a glyph named by a key of
// `textOf` is named by its value instead; the objects after a rewritten map
// move and the cross-reference table follows them. A map that names no such
// glyph is kept byte for byte. The PDF comes back unchanged unless it is laid
// out as a PDF writer writes it in one go: one classic cross-reference
// table, each map a stream with a direct /Length.
std::string ReplacePdfGlyphTexts(std::string pdf, const std::map<char32_t, char32_t>& textOf);

}  // namespace tavrin
