#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "report/PdfTextMaps.h"

namespace tavrin {
namespace {

// A PDF written in one go: objects 1.. in order, then the cross-reference
// table with each object's offset, then startxref.
std::string Pdf(const std::vector<std::string>& objects)
{
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t k = 0; k < objects.size(); ++k) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(k + 1) + " 0 obj\n" + objects[k] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t offset : offsets) {
        const std::string digits = std::to_string(offset);
        pdf += std::string(10 - digits.size(), '0') + digits + " 00000 n \n";
    }
    return pdf + "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " >>\nstartxref\n" + std::to_string(xref) +
           "\n%%EOF\n";
}

std::string Stream(const std::string& data)
{
    return "<< /Length " + std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream";
}

std::string CMap(const std::string& mappings)
{
    return "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n1 begincodespacerange\n<0000> "
           "<FFFF>\nendcodespacerange\n" +
           mappings + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

// Every in-use entry of the table names the offset where its object
// starts, and startxref the table: a viewer finds every object.
void ExpectTableFindsObjects(const std::string& pdf, std::size_t objects)
{
    const std::size_t xref = std::stoul(pdf.substr(pdf.rfind("startxref") + 10));
    ASSERT_EQ(pdf.substr(xref, 4), "xref");
    for (std::size_t k = 1; k <= objects; ++k) {
        const std::size_t offset = std::stoul(pdf.substr(xref + 8 + std::to_string(objects + 1).size() + 20 * k, 10));
        EXPECT_EQ(pdf.substr(offset, std::to_string(k).size() + 6), std::to_string(k) + " 0 obj") << k;
    }
}

// The data of object k's stream, by its own /Length.
std::string StreamData(const std::string& pdf, std::size_t k)
{
    const std::size_t object = pdf.find("\n" + std::to_string(k) + " 0 obj\n");
    const std::size_t length = pdf.find("/Length ", object) + 8;
    const std::size_t data = pdf.find("stream\n", length) + 7;
    const std::string text = pdf.substr(data, std::stoul(pdf.substr(length)));
    EXPECT_EQ(pdf.substr(data + text.size(), 10), "\nendstream");
    return text;
}

const std::map<char32_t, char32_t> kDrawn{
    {U'\u2F12', U'力'}, {U'\u2F00', U'一'}, {U'\u2F01', U'丨'}, {U'\u2E87', U'\U00020628'}};

// Glyph texts as a CJK font's subset gives them: in an array of a range,
// as a range counting up from one text, and as single characters; the
// radicals become the drawn characters, supplementary ones as surrogate
// pairs, every other mapping stays, and the objects after the map are found
// where they moved to.
TEST(PdfTextMapsTest, RadicalTextsBecomeTheDrawnCharactersAndTheObjectsAfterThemAreFound)
{
    const std::string cjk = CMap(
        "2 beginbfrange\n<0000> <0000> <0000>\n<0001> <0003> [<6CD5> <2F12> <0058> ]\n"
        "<0004> <0005> <2F00>\nendbfrange\n2 beginbfchar\n<0006> <2E87>\n<0007> <2F12>\nendbfchar\n");
    const std::string latin = CMap("1 beginbfrange\n<0001> <0002> [<03B4> <0031> ]\nendbfrange\n");
    const std::string pdf = Pdf({"<< /Type /Font /ToUnicode 2 0 R >>", Stream(cjk),
                                 "<< /Type /Font /ToUnicode 4 0 R >>", Stream(latin), "<< /Type /Page >>"});

    const std::string repaired = ReplacePdfGlyphTexts(pdf, kDrawn);
    ExpectTableFindsObjects(repaired, 5);
    const std::string map = StreamData(repaired, 2);
    for (const char* expected : {"<0001> <6CD5>", "<0002> <529B>", "<0003> <0058>", "<0004> <4E00>", "<0005> <4E28>",
                                 "<0006> <D841DE28>", "<0007> <529B>", "<0000> <0000>"})
        EXPECT_NE(map.find(expected), std::string::npos) << expected << "\n" << map;
    EXPECT_EQ(map.find("<2F"), std::string::npos) << map;
    EXPECT_EQ(map.find("<2E"), std::string::npos) << map;
    EXPECT_TRUE(map.starts_with(cjk.substr(0, cjk.find("endcodespacerange"))));
    EXPECT_TRUE(map.ends_with("endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n"));
    EXPECT_EQ(StreamData(repaired, 4), latin);
}

// What is not a writer's one-go layout, or names no radical drawn for
// another character, is left as it was.
TEST(PdfTextMapsTest, PdfWithoutRadicalTextsOrOfAnotherLayoutIsKept)
{
    const std::string radical = CMap("1 beginbfchar\n<0001> <2F12>\nendbfchar\n");
    const struct {
        const char* name;
        std::string pdf;
        std::map<char32_t, char32_t> drawn;
    } cases[] = {
        {"no radical", Pdf({"<< /ToUnicode 2 0 R >>", Stream(CMap("1 beginbfchar\n<0001> <529B>\nendbfchar\n"))}),
         kDrawn},
        {"radical drawn itself", Pdf({"<< /ToUnicode 2 0 R >>", Stream(radical)}), {}},
        {"length in another object",
         Pdf({"<< /ToUnicode 2 0 R >>", "<< /Length 3 0 R >>\nstream\n" + radical + "\nendstream",
              std::to_string(radical.size())}),
         kDrawn},
        {"map cut short", Pdf({"<< /ToUnicode 2 0 R >>", Stream("begincmap\n1 beginbfchar\n<0001> <2F12>\n")}), kDrawn},
        {"no cross-reference table", "%PDF-1.4\n1 0 obj\n<< /ToUnicode 2 0 R >>\nendobj\n", kDrawn},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(ReplacePdfGlyphTexts(k.pdf, k.drawn), k.pdf);
    }
}

}  // namespace
}  // namespace tavrin
