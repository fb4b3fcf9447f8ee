#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "app/ShellPlacement.h"
#include "app/ShellTexts.h"

namespace tavrin {
namespace {

struct Box {
    double left, top, width, height;
    double Right() const { return left + width; }
    double Bottom() const { return top + height; }
    bool Overlaps(const Box& other) const
    {
        return left < other.Right() && other.left < Right() && top < other.Bottom() && other.top < Bottom();
    }
};

Box At(TwipsPoint p, TwipsSize size)
{
    return {p.left, p.top, size.width, size.height};
}

// Inner areas of a maximised main window (twips at 96 dots per inch, menu
// bar and frame taken off the screen): the forms take their room beside the
// picture, one above the other on a tall screen, side by side on a laptop's;
// a screen without room for both still keeps them apart.
TEST(ShellPlacementTest, FormsOpenBesideThePictureAndNeverOverEachOther)
{
    const struct {
        const char* screen;
        TwipsSize inner;
        bool room;  // for the picture and both forms side by side
    } cases[] = {
        {"1920 x 1080", {28800.0, 14900.0}, true},
        {"1366 x 768", {20490.0, 10200.0}, true},
        {"1280 x 1024", {19200.0, 14050.0}, true},
        {"1024 x 768", {15360.0, 10200.0}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        const TwipsSize picture = PictureStartSize(c.inner);
        EXPECT_EQ(picture.height, c.inner.height);
        EXPECT_GE(picture.width, c.inner.width / 4.0);
        const Box input = At(InputFormOpeningPosition(picture.width, c.inner.height), InputFormFrameSize());
        const Box calculation = At(CalculationFormPosition(picture.width, c.inner), CalculationFormFrameSize());
        EXPECT_FALSE(input.Overlaps(calculation));
        EXPECT_EQ(input.left, picture.width + 50.0);
        EXPECT_LE(input.Right(), c.inner.width);
        if (!c.room)
            continue;
        EXPECT_FALSE(calculation.Overlaps({0.0, 0.0, picture.width, picture.height}));
        EXPECT_LE(calculation.Bottom(), c.inner.height);
        EXPECT_LE(calculation.Right(), c.inner.width + 30.0);
    }
}

// Lines of a Latin letter's width each; a Chinese character (three bytes of
// UTF-8) takes two.
int Columns(std::string_view line)
{
    int columns = 0;
    for (std::size_t i = 0; i < line.size();) {
        const auto lead = static_cast<unsigned char>(line[i]);
        const std::size_t bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        columns += bytes == 1 ? 1 : 2;
        i += bytes;
    }
    return columns;
}

TEST(ShellPlacementTest, NoticeLinesBreakBetweenWordsBeforeTheBoxWouldBreakThem)
{
    for (const std::string_view notice : {kHelpTopicsNotice, kWebBrowserNotice}) {
        SCOPED_TRACE(notice);
        std::size_t start = 0;
        while (start <= notice.size()) {
            const std::size_t end = std::min(notice.find('\n', start), notice.size());
            EXPECT_LE(Columns(notice.substr(start, end - start)), kNoticeLineColumns);
            start = end + 1;
        }
    }
}

}  // namespace
}  // namespace tavrin
