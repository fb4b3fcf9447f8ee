#include "report/PdfTextMaps.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrin {

namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

bool IsBlank(char c)
{
    return c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '\f' || c == '\0';
}

void SkipBlanks(std::string_view text, std::size_t& i)
{
    while (i < text.size() && IsBlank(text[i]))
        ++i;
}

// The unsigned decimal at text[i], after blanks; i moves past it.
std::optional<std::size_t> NumberAt(std::string_view text, std::size_t& i)
{
    SkipBlanks(text, i);
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (error != std::errc())
        return std::nullopt;
    i = static_cast<std::size_t>(end - text.data());
    return value;
}

// An in-use entry of the cross-reference table: `at` is where its ten
// offset digits stand in the file.
struct XrefEntry {
    std::size_t at;
    std::size_t object;
    std::size_t offset;
};

struct Xref {
    std::size_t start;        // of the keyword "xref"
    std::size_t offsetBegin;  // the number after "startxref"
    std::size_t offsetEnd;
    std::vector<XrefEntry> entries;
};

// Entries are 20 bytes each: "oooooooooo ggggg n" and a two-byte line end.
std::optional<Xref> ReadXref(std::string_view pdf)
{
    const std::size_t key = pdf.rfind("startxref");
    if (key == kNotFound)
        return std::nullopt;
    std::size_t i = key + 9;
    SkipBlanks(pdf, i);
    const std::size_t offsetBegin = i;
    const std::optional<std::size_t> start = NumberAt(pdf, i);
    if (!start || pdf.substr(*start, 4) != "xref")
        return std::nullopt;
    Xref xref{*start, offsetBegin, i, {}};
    std::size_t j = *start + 4;
    for (;;) {
        SkipBlanks(pdf, j);
        if (pdf.substr(j, 7) == "trailer")
            return xref;
        const std::optional<std::size_t> first = NumberAt(pdf, j);
        const std::optional<std::size_t> count = NumberAt(pdf, j);
        if (!first || !count)
            return std::nullopt;
        SkipBlanks(pdf, j);
        for (std::size_t k = 0; k < *count; ++k, j += 20) {
            if (j + 20 > pdf.size())
                return std::nullopt;
            std::size_t digits = j;
            const std::optional<std::size_t> offset = NumberAt(pdf, digits);
            if (!offset || digits != j + 10)
                return std::nullopt;
            if (pdf[j + 17] == 'n')
                xref.entries.push_back({j, *first + k, *offset});
        }
    }
}

// The objects that fonts name as their ToUnicode maps ("/ToUnicode 12 0 R").
std::vector<std::size_t> ToUnicodeObjects(std::string_view pdf)
{
    std::vector<std::size_t> objects;
    constexpr std::string_view kKey = "/ToUnicode";
    for (std::size_t at = pdf.find(kKey); at != kNotFound; at = pdf.find(kKey, at + 1)) {
        std::size_t i = at + kKey.size();
        const std::optional<std::size_t> object = NumberAt(pdf, i);
        const std::optional<std::size_t> generation = NumberAt(pdf, i);
        SkipBlanks(pdf, i);
        if (object && generation && i < pdf.size() && pdf[i] == 'R')
            objects.push_back(*object);
    }
    return objects;
}

// Where a stream object keeps its direct /Length and its data.
struct StreamPlace {
    std::size_t lengthBegin;
    std::size_t lengthEnd;
    std::size_t dataBegin;
    std::size_t dataEnd;
};

std::optional<StreamPlace> StreamOf(std::string_view pdf, std::size_t object, std::size_t offset)
{
    std::size_t i = offset;
    if (NumberAt(pdf, i) != object)
        return std::nullopt;
    const std::size_t keyword = pdf.find("stream", i);
    const std::size_t length = pdf.find("/Length", i);
    if (keyword == kNotFound || length == kNotFound || length > keyword)
        return std::nullopt;
    std::size_t j = length + 7;
    SkipBlanks(pdf, j);
    const std::size_t lengthBegin = j;
    const std::optional<std::size_t> size = NumberAt(pdf, j);
    std::size_t after = j;
    // "/Length 12 0 R" names another object: not written in one go.
    if (!size || NumberAt(pdf, after))
        return std::nullopt;
    std::size_t data = keyword + 6;
    if (pdf.substr(data, 2) == "\r\n")
        data += 2;
    else if (pdf.substr(data, 1) == "\n")
        data += 1;
    else
        return std::nullopt;
    std::size_t end = data + *size;
    if (end > pdf.size())
        return std::nullopt;
    std::size_t check = end;
    SkipBlanks(pdf, check);
    if (pdf.substr(check, 9) != "endstream")
        return std::nullopt;
    return StreamPlace{lengthBegin, j, data, end};
}

struct Token {
    enum class Kind { Hex, Open, Close, Word };
    Kind kind;
    std::string_view text;  // a hex string without its brackets
    std::size_t begin;
};

std::vector<Token> Tokens(std::string_view cmap)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (true) {
        SkipBlanks(cmap, i);
        if (i >= cmap.size())
            return tokens;
        const std::size_t begin = i;
        if (cmap[i] == '<' && cmap.substr(i, 2) != "<<") {
            const std::size_t close = cmap.find('>', i);
            if (close == kNotFound)
                return tokens;
            tokens.push_back({Token::Kind::Hex, cmap.substr(i + 1, close - i - 1), begin});
            i = close + 1;
        } else if (cmap[i] == '[' || cmap[i] == ']') {
            tokens.push_back({cmap[i] == '[' ? Token::Kind::Open : Token::Kind::Close, cmap.substr(i, 1), begin});
            ++i;
        } else {
            while (i < cmap.size() && !IsBlank(cmap[i]) && cmap[i] != '[' && cmap[i] != ']' &&
                   (i == begin || cmap[i] != '<'))
                ++i;
            tokens.push_back({Token::Kind::Word, cmap.substr(begin, i - begin), begin});
        }
    }
}

std::optional<unsigned> HexValue(std::string_view hex)
{
    unsigned value = 0;
    const auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
    if (error != std::errc() || end != hex.data() + hex.size() || hex.empty())
        return std::nullopt;
    return value;
}

// A destination: UTF-16 code units, four hex digits each.
std::optional<std::u16string> Units(std::string_view hex)
{
    if (hex.empty() || hex.size() % 4 != 0)
        return std::nullopt;
    std::u16string units;
    for (std::size_t i = 0; i < hex.size(); i += 4) {
        const std::optional<unsigned> unit = HexValue(hex.substr(i, 4));
        if (!unit)
            return std::nullopt;
        units.push_back(static_cast<char16_t>(*unit));
    }
    return units;
}

std::u16string Utf16(char32_t c)
{
    if (c < 0x10000)
        return std::u16string(1, static_cast<char16_t>(c));
    const char32_t v = c - 0x10000;
    return {static_cast<char16_t>(0xD800 + (v >> 10)), static_cast<char16_t>(0xDC00 + (v & 0x3FF))};
}

std::string Hex(unsigned value, std::size_t digits)
{
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out(digits, '0');
    for (std::size_t i = digits; i-- > 0; value >>= 4)
        out[i] = kDigits[value & 0xFu];
    return out;
}

struct TextMap {
    std::vector<std::pair<unsigned, std::u16string>> entries;  // glyph code, its text
    std::size_t codeDigits = 4;
    std::size_t mappingsBegin = kNotFound;  // after "endcodespacerange"
    std::size_t mappingsEnd = kNotFound;    // at "endcmap"
};

// The bfchar and bfrange mappings of a character map; none when it holds
// something else there.
std::optional<TextMap> ReadTextMap(std::string_view cmap)
{
    const std::vector<Token> tokens = Tokens(cmap);
    TextMap map;
    const auto hexAt = [&](std::size_t k) { return k < tokens.size() && tokens[k].kind == Token::Kind::Hex; };
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        const Token& token = tokens[k];
        if (token.kind != Token::Kind::Word)
            continue;
        if (token.text == "endcodespacerange") {
            map.mappingsBegin = token.begin + token.text.size();
        } else if (token.text == "endcmap") {
            map.mappingsEnd = token.begin;
        } else if (token.text == "beginbfchar") {
            for (++k; hexAt(k) && hexAt(k + 1); k += 2) {
                const std::optional<unsigned> code = HexValue(tokens[k].text);
                std::optional<std::u16string> text = Units(tokens[k + 1].text);
                if (!code || !text)
                    return std::nullopt;
                map.codeDigits = tokens[k].text.size();
                map.entries.emplace_back(*code, std::move(*text));
            }
            if (k >= tokens.size() || tokens[k].text != "endbfchar")
                return std::nullopt;
        } else if (token.text == "beginbfrange") {
            for (++k; hexAt(k) && hexAt(k + 1); k += 2) {
                const std::optional<unsigned> low = HexValue(tokens[k].text);
                const std::optional<unsigned> high = HexValue(tokens[k + 1].text);
                if (!low || !high || *high < *low)
                    return std::nullopt;
                map.codeDigits = tokens[k].text.size();
                k += 2;
                if (hexAt(k)) {
                    // One destination, its last unit counting up with the code.
                    std::optional<std::u16string> text = Units(tokens[k].text);
                    if (!text)
                        return std::nullopt;
                    for (unsigned code = *low; code <= *high; ++code, ++text->back())
                        map.entries.emplace_back(code, *text);
                } else if (k < tokens.size() && tokens[k].kind == Token::Kind::Open) {
                    unsigned code = *low;
                    for (++k; hexAt(k); ++k, ++code) {
                        std::optional<std::u16string> text = Units(tokens[k].text);
                        if (!text || code > *high)
                            return std::nullopt;
                        map.entries.emplace_back(code, std::move(*text));
                    }
                    if (k >= tokens.size() || tokens[k].kind != Token::Kind::Close)
                        return std::nullopt;
                } else {
                    return std::nullopt;
                }
                k -= 1;  // the loop's step passes the destination
            }
            if (k >= tokens.size() || tokens[k].text != "endbfrange")
                return std::nullopt;
        }
    }
    if (map.mappingsBegin == kNotFound || map.mappingsEnd == kNotFound || map.mappingsEnd < map.mappingsBegin)
        return std::nullopt;
    return map;
}

// The map again, every mapping as a bfchar entry (at most 100 to a block).
std::string WriteTextMap(std::string_view cmap, const TextMap& map)
{
    std::string out(cmap.substr(0, map.mappingsBegin));
    out += '\n';
    constexpr std::size_t kPerBlock = 100;
    for (std::size_t first = 0; first < map.entries.size(); first += kPerBlock) {
        const std::size_t count = std::min(kPerBlock, map.entries.size() - first);
        out += std::to_string(count) + " beginbfchar\n";
        for (std::size_t k = first; k < first + count; ++k) {
            out += '<' + Hex(map.entries[k].first, map.codeDigits) + "> <";
            for (const char16_t unit : map.entries[k].second)
                out += Hex(unit, 4);
            out += ">\n";
        }
        out += "endbfchar\n";
    }
    out += cmap.substr(map.mappingsEnd);
    return out;
}

// The map with each glyph that reads as a key of `textOf` reading as its
// value; none when no glyph does.
std::optional<std::string> RepairedTextMap(std::string_view cmap, const std::map<char32_t, char32_t>& textOf)
{
    std::optional<TextMap> map = ReadTextMap(cmap);
    if (!map)
        return std::nullopt;
    bool changed = false;
    for (auto& [code, text] : map->entries) {
        if (text.size() != 1)
            continue;
        const auto found = textOf.find(text.front());
        if (found == textOf.end())
            continue;
        text = Utf16(found->second);
        changed = true;
    }
    if (!changed)
        return std::nullopt;
    return WriteTextMap(cmap, *map);
}

struct Splice {
    std::size_t begin;
    std::size_t end;
    std::string text;
};

}  // namespace

std::string ReplacePdfGlyphTexts(std::string pdf, const std::map<char32_t, char32_t>& textOf)
{
    const std::optional<Xref> xref = ReadXref(pdf);
    if (!xref || textOf.empty())
        return pdf;
    std::vector<Splice> splices;
    for (const std::size_t object : ToUnicodeObjects(pdf)) {
        for (const XrefEntry& entry : xref->entries) {
            if (entry.object != object)
                continue;
            const std::optional<StreamPlace> place = StreamOf(pdf, object, entry.offset);
            if (!place || place->dataEnd > xref->start)
                continue;
            const std::string_view data =
                std::string_view(pdf).substr(place->dataBegin, place->dataEnd - place->dataBegin);
            std::optional<std::string> repaired = RepairedTextMap(data, textOf);
            if (!repaired)
                continue;
            // The length and the data with the bytes between them kept.
            std::string text = std::to_string(repaired->size()) +
                               pdf.substr(place->lengthEnd, place->dataBegin - place->lengthEnd) + *repaired;
            splices.push_back({place->lengthBegin, place->dataEnd, std::move(text)});
        }
    }
    if (splices.empty())
        return pdf;
    std::sort(splices.begin(), splices.end(), [](const Splice& a, const Splice& b) { return a.begin < b.begin; });
    for (std::size_t k = 1; k < splices.size(); ++k)
        if (splices[k].begin < splices[k - 1].end)
            return pdf;
    // Where a byte before the cross-reference table moves to.
    const auto moved = [&](std::size_t at) {
        std::ptrdiff_t shift = 0;
        for (const Splice& s : splices)
            if (s.end <= at)
                shift += static_cast<std::ptrdiff_t>(s.text.size()) - static_cast<std::ptrdiff_t>(s.end - s.begin);
        return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(at) + shift);
    };
    std::string tail = pdf.substr(xref->start);
    for (const XrefEntry& entry : xref->entries) {
        const std::string digits = std::to_string(moved(entry.offset));
        if (digits.size() > 10)
            return pdf;
        tail.replace(entry.at - xref->start, 10, std::string(10 - digits.size(), '0') + digits);
    }
    tail.replace(xref->offsetBegin - xref->start, xref->offsetEnd - xref->offsetBegin,
                 std::to_string(moved(xref->start)));
    std::string out;
    out.reserve(pdf.size() + 1024);
    std::size_t at = 0;
    for (const Splice& s : splices) {
        out.append(pdf, at, s.begin - at);
        out += s.text;
        at = s.end;
    }
    out.append(pdf, at, xref->start - at);
    return out + tail;
}

}  // namespace tavrin
