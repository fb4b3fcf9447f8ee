#include "drawing/PictureSvg.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace tavrin {

namespace {

constexpr double kTitleBandUnits = 14.0;
constexpr double kTitleLetterShare = 0.6;
// From the top of a label to its baseline: the ascent of the CJK font.
constexpr double kAscentShare = 0.88;

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string s(text);
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string Colour(Rgb c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

int PenWidth(const CanvasOp& op)
{
    return op.width < 1 ? 1 : op.width;
}

// A picture point on the screen's pixel grid, as the picture window places
// it: whole pixels, and for a pen of odd width the pixel's centre, so that
// a horizontal or vertical stroke covers whole pixels.
struct Pixel {
    double x;
    double y;
};
Pixel Snapped(double x, double y, int penWidth)
{
    const double centre = penWidth % 2 == 1 ? 0.5 : 0.0;
    return {std::round(x * kSvgPixelsPerUnitX) + centre, std::round(y * kSvgPixelsPerUnitY) + centre};
}

std::string StrokeAttributes(const CanvasOp& op)
{
    return " stroke=\"" + Colour(op.color) + "\" stroke-width=\"" + std::to_string(PenWidth(op)) + "\"";
}

std::string LineSvg(const CanvasOp& op)
{
    const Pixel a = Snapped(op.x1, op.y1, PenWidth(op));
    const Pixel b = Snapped(op.x2, op.y2, PenWidth(op));
    return "<line x1=\"" + Number(a.x) + "\" y1=\"" + Number(a.y) + "\" x2=\"" + Number(b.x) + "\" y2=\"" +
           Number(b.y) + "\"" + StrokeAttributes(op) + "/>\n";
}

std::string PointText(Pixel p)
{
    return Number(p.x) + " " + Number(p.y);
}

// Counter-clockwise on the screen (y down: the sweep flag 0) from |start| to
// |end|, radians with 0 to the right; a negated angle adds the radius to
// that end. Equal ends give the whole circle.
std::string ArcSvg(const CanvasOp& op, Pixel centre, double radius)
{
    const double start = op.start.value_or(0.0);
    const double end = op.end.value_or(2.0 * std::numbers::pi);
    const double from = std::fabs(start);
    constexpr double kFullTurn = 2.0 * std::numbers::pi;
    double span = std::fmod(std::fabs(end) - from, kFullTurn);
    if (span <= 0.0)
        span += kFullTurn;
    const auto at = [&](double angle) {
        return Pixel{centre.x + radius * std::cos(angle), centre.y - radius * std::sin(angle)};
    };
    std::string path = start < 0.0 ? "M" + PointText(centre) + " L" + PointText(at(from)) : "M" + PointText(at(from));
    // One arc command cannot draw a whole turn: two halves.
    const int pieces = span > std::numbers::pi ? 2 : 1;
    for (int k = 1; k <= pieces; ++k)
        path += " A" + Number(radius) + " " + Number(radius) + " 0 0 0 " + PointText(at(from + span * k / pieces));
    if (end < 0.0)
        path += " L" + PointText(centre);
    return "<path d=\"" + path + "\" fill=\"none\"" + StrokeAttributes(op) + "/>\n";
}

std::string CircleSvg(const CanvasOp& op, Rgb ground)
{
    const Pixel centre = Snapped(op.x1, op.y1, PenWidth(op));
    const double radius = std::round(op.r * kSvgPixelsPerUnitX);
    if (op.start || op.end)
        return ArcSvg(op, centre, radius);
    const Rgb fill = op.fillColor == kLightGrey ? ground : op.fillColor;
    return "<circle cx=\"" + Number(centre.x) + "\" cy=\"" + Number(centre.y) + "\" r=\"" + Number(radius) +
           "\" fill=\"" + (op.fillStyle == kFillSolid ? Colour(fill) : std::string("none")) + "\"" +
           StrokeAttributes(op) + "/>\n";
}

std::string TextSvg(const CanvasOp& op)
{
    const Pixel topLeft = Snapped(op.x1, op.y1, 0);
    return "<text x=\"" + Number(topLeft.x) + "\" y=\"" +
           Number(topLeft.y + std::round(kSvgFontPixels * kAscentShare)) + "\" fill=\"" + Colour(op.color) +
           "\" xml:space=\"preserve\">" + XmlEscaped(op.text) + "</text>\n";
}

}  // namespace

std::string XmlEscaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string PictureSvg(const std::vector<CanvasOp>& ops, double width, double height, const SvgSheet& sheet)
{
    const double w = std::ceil(width * kSvgPixelsPerUnitX);
    const double h = std::ceil(height * kSvgPixelsPerUnitY);
    const double band = sheet.title.empty() ? 0.0 : std::ceil(kTitleBandUnits * kSvgPixelsPerUnitY);
    const std::string ground = Colour(sheet.ground);
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(w) + "\" height=\"" +
                      Number(h + band) + "\" viewBox=\"0 0 " + Number(w) + " " + Number(h + band) +
                      "\" font-family=\"Noto Sans CJK SC, sans-serif\" font-size=\"" + Number(kSvgFontPixels) +
                      "\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n<rect width=\"100%\" height=\"100%\" "
                      "fill=\"" +
                      ground + "\"/>\n";
    if (band > 0.0)
        svg += "<text x=\"" + Number(w / 2) + "\" y=\"" + Number(band * (0.5 + kTitleLetterShare * 0.35)) +
               "\" text-anchor=\"middle\" font-weight=\"bold\" font-size=\"" +
               Number(std::round(band * kTitleLetterShare)) + "\">" + XmlEscaped(sheet.title) + "</text>\n";
    svg += "<svg y=\"" + Number(band) + "\" width=\"" + Number(w) + "\" height=\"" + Number(h) + "\">\n";
    for (const CanvasOp& op : ops) {
        switch (op.kind) {
            case CanvasOp::Kind::Cls:
                svg += "<rect width=\"100%\" height=\"100%\" fill=\"" + ground + "\"/>\n";
                break;
            case CanvasOp::Kind::Line:
                svg += LineSvg(op);
                break;
            case CanvasOp::Kind::Circle:
                svg += CircleSvg(op, sheet.ground);
                break;
            case CanvasOp::Kind::Print:
                svg += TextSvg(op);
                break;
        }
    }
    return svg + "</svg>\n</svg>";
}

}  // namespace tavrin
