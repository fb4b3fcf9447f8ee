#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "drawing/Canvas.h"

namespace tavrin {

// The picture as SVG text, painted op by op as the picture window paints
// it: for the web page's picture window, its exported pictures and the
// report's figures, which have no toolkit to paint with.

// One picture unit in pixels of a 96-dpi screen: laid out as 28.547 twips
// across and 31.2 down (1440 twips an inch), so a unit is about 9 % taller
// than wide.
inline constexpr double kSvgPixelsPerUnitX = 28.547 / 1440.0 * 96.0;
inline constexpr double kSvgPixelsPerUnitY = 31.2 / 1440.0 * 96.0;
// The picture's labels, in pixels: the desktop's 9-point font.
inline constexpr double kSvgFontPixels = 12.0;

struct SvgSheet {
    // The window's grey; the hinge circles filled with it hide the member
    // lines under them, and take the sheet's colour on white paper.
    Rgb ground = kLightGrey;
    // Written in a band above the picture when not empty, as on picture
    // files and prints.
    std::string title;
};

// An <svg> element (no XML declaration) of width x height picture units in
// pixels of kSvgPixelsPerUnitX/Y, holding the operations from the first on:
// lines and outlines in their colour and width, circles filled when their
// fill style is solid, arcs counter-clockwise from |start| to |end| with
// the radius drawn to a negated end, text with its top-left corner at its
// position. Operations outside the area are clipped.
std::string PictureSvg(const std::vector<CanvasOp>& ops, double width, double height, const SvgSheet& sheet = {});

// `text` fit for XML text and attribute values: &, <, > and " escaped.
std::string XmlEscaped(std::string_view text);

}  // namespace tavrin
