#include <gtest/gtest.h>

#include "drawing/PictureFiles.h"

namespace tavrin {
namespace {

TEST(ChoosePictureFileTest, APictureExtensionDecidesAnyOtherNameTakesTheFiltersExtension)
{
    const struct {
        const char* chosen;
        PictureFormat filtered;
        const char* name;
        PictureFormat format;
    } cases[] = {
        {"/tmp/a.png", PictureFormat::Pdf, "/tmp/a.png", PictureFormat::Png},
        {"/tmp/结构 图.SVG", PictureFormat::Png, "/tmp/结构 图.SVG", PictureFormat::Svg},
        {"/tmp/弯矩图.Pdf", PictureFormat::Svg, "/tmp/弯矩图.Pdf", PictureFormat::Pdf},
        {"/tmp/弯矩图", PictureFormat::Svg, "/tmp/弯矩图.svg", PictureFormat::Svg},
        {"/tmp/v1.2", PictureFormat::Pdf, "/tmp/v1.2.pdf", PictureFormat::Pdf},
        {"/tmp/a.png.txt", PictureFormat::Png, "/tmp/a.png.txt.png", PictureFormat::Png},
        {"/tmp/.png", PictureFormat::Pdf, "/tmp/.png", PictureFormat::Png},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        const PictureFile file = ChoosePictureFile(c.chosen, c.filtered);
        EXPECT_EQ(file.name, c.name);
        EXPECT_EQ(file.format, c.format);
    }
}

}  // namespace
}  // namespace tavrin
