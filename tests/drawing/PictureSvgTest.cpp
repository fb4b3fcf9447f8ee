#include "drawing/PictureSvg.h"

#include <gtest/gtest.h>

#include <numbers>
#include <regex>

namespace tavrin {
namespace {

int Count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// A unit across is 1.903 pixels and a unit down 2.08: the labels and lines
// land where the picture window paints them, on whole pixels (the centre of
// a pixel for an odd pen width).
TEST(PictureSvgTest, OperationsLandOnThePixelsOfThePictureWindow)
{
    RecordingCanvas canvas(100.0, 40.0);
    canvas.Cls();
    canvas.SetDrawWidth(1);
    canvas.Line(10.0, 10.0, 60.0, 10.0, kBlue);
    canvas.SetDrawWidth(2);
    canvas.Line(10.0, 20.0, 10.0, 40.0);
    canvas.SetCurrent(20.0, 30.0);
    canvas.Print("M<5 & \"x\"");
    const std::string svg = PictureSvg(canvas.ops, canvas.ScaleWidth(), canvas.ScaleHeight());

    EXPECT_NE(svg.find("width=\"191\" height=\"84\""), std::string::npos) << svg;
    EXPECT_NE(
        svg.find("<line x1=\"19.5\" y1=\"21.5\" x2=\"114.5\" y2=\"21.5\" stroke=\"#0000ff\" stroke-width=\"1\"/>"),
        std::string::npos)
        << svg;
    EXPECT_NE(svg.find("<line x1=\"19\" y1=\"42\" x2=\"19\" y2=\"83\" stroke=\"#000000\" stroke-width=\"2\"/>"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find(">M&lt;5 &amp; &quot;x&quot;</text>"), std::string::npos) << svg;
    EXPECT_NE(svg.find("<text x=\"38\" y=\"73\""), std::string::npos) << svg;
}

// A hinge circle filled with the window's grey hides the lines under it in
// the sheet's own colour; an outline circle is not filled.
TEST(PictureSvgTest, GreyFilledCirclesTakeTheSheetsColour)
{
    RecordingCanvas canvas;
    canvas.SetFillStyle(kFillSolid);
    canvas.SetFillColor(kLightGrey);
    canvas.Circle(50.0, 50.0, 2.0);
    canvas.SetFillStyle(kFillTransparent);
    canvas.Circle(80.0, 50.0, 2.0);
    const std::string onWindow = PictureSvg(canvas.ops, 267.0, 267.0);
    const std::string onPaper = PictureSvg(canvas.ops, 267.0, 267.0, {Rgb{255, 255, 255}, "弯矩图"});
    EXPECT_EQ(Count(onWindow, "fill=\"#e0e0e0\""), 2) << onWindow;  // the ground and the hinge
    EXPECT_EQ(Count(onWindow, "fill=\"none\""), 1);
    EXPECT_EQ(Count(onPaper, "fill=\"#ffffff\""), 2) << onPaper;
    EXPECT_NE(onPaper.find(">弯矩图</text>"), std::string::npos);
    EXPECT_EQ(onWindow.find("弯矩图"), std::string::npos);
}

// A quarter arc from 0 to π/2 runs counter-clockwise on the screen: from
// the right of the centre up to its top (SVG's sweep flag 0); a negated end
// draws the radius back to the centre, and a whole turn takes two arcs.
TEST(PictureSvgTest, ArcsRunCounterClockwiseWithTheirRadii)
{
    RecordingCanvas canvas;
    canvas.Circle(50.0, 50.0, 10.0, 0.0, -std::numbers::pi / 2.0);
    canvas.Circle(50.0, 50.0, 10.0, 1.0, 1.0);
    const std::string svg = PictureSvg(canvas.ops, 267.0, 267.0);
    EXPECT_NE(svg.find("<path d=\"M114.5 104.5 A19 19 0 0 0 95.5 85.5 L95.5 104.5\""), std::string::npos) << svg;
    const std::regex whole("<path d=\"M[^\"]* A19 19 0 0 0 [^\"]* A19 19 0 0 0 [^\"L]*\"");
    EXPECT_TRUE(std::regex_search(svg, whole)) << svg;
}

}  // namespace
}  // namespace tavrin
