#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/Canvas.h"

namespace tavrin {

// Where the labels of a written-out picture go and how large the picture
// must be to hold what it shows. Picture units throughout, y downward.

struct PictureBox {
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;

    double Width() const { return right - left; }
    double Height() const { return bottom - top; }
    bool Overlaps(const PictureBox& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    PictureBox Grown(double by) const { return {left - by, top - by, right + by, bottom + by}; }
};

// The size of a label as the pictures print it, in the 9-point face of the
// report at the picture window's resolution: a Latin letter or digit
// kLetterWidth across, a Chinese character or a circled sign twice that,
// kTextHeight down (ascent and descent).
inline constexpr double kLetterWidth = 4.0;
inline constexpr double kTextHeight = 6.7;
double TextWidth(std::string_view text);
// The box of `text` printed with its top-left corner at (x, y).
PictureBox TextBox(double x, double y, std::string_view text);

// What a label must keep clear of: the lines (from x1, y1 to x2, y2), the
// boxes of circles and arcs, and the labels printed or placed.
struct PictureObstacles {
    struct Segment {
        double x1, y1, x2, y2;
    };
    std::vector<Segment> segments;
    std::vector<PictureBox> boxes;

    void Add(const CanvasOp& op);
    // How many of the obstacles `box` touches.
    int Crossings(const PictureBox& box) const;
};
PictureObstacles ObstaclesOf(const std::vector<CanvasOp>& ops);

// The side of a line a label keeps to: the points p with
// (p − (x, y))·(nx, ny) ≥ 0, the line through (x, y) across (nx, ny).
struct HalfPlane {
    double x = 0.0, y = 0.0;
    double nx = 0.0, ny = -1.0;
    bool Holds(const PictureBox& box) const;
};

// A label to be placed: its text, the point it names, and the direction
// (dx, dy) it stands off from that point, away from what it labels (a
// value beyond the tip of its ordinate). A `centred` label is wanted on the
// point itself (a sign inside the area it marks) and stands off only where
// that is taken. Printed in `color`. A label given `within` stays on that
// side of its line (a value on its side of the member), where it can. One
// that may be left out (a note where the picture is crowded) gives the
// farthest from its point it may stand, `reach`.
struct LabelRequest {
    std::string text;
    double x = 0.0, y = 0.0;
    double dx = 0.0, dy = -1.0;
    bool centred = false;
    Rgb color = kBlack;
    std::optional<HalfPlane> within;
    std::optional<double> reach;
};

// The top-left corner of each label, in the order asked. Each label takes
// the first free spot among its candidates, nearest first: the point itself
// for a centred one; beyond the point in its direction, 1 to 14 units off,
// slid sideways up to one and a half label widths; all round the point,
// the nearer to its direction the sooner. A spot is free when the label's
// box, grown by kLabelClearance, crosses no line, circle or label. Where
// none is free, the nearest spot crossing fewest wins, except that a label
// with a reach and no free spot within it is left out (not `shown`). Spots
// off the side a label keeps to are taken only when it has no other. Every
// placed label joins `obstacles`, so that a later one keeps clear of it.
inline constexpr double kLabelClearance = 0.4;
struct PlacedLabel {
    double x = 0.0, y = 0.0;
    bool shown = true;
};
std::vector<PlacedLabel> PlaceLabels(const std::vector<LabelRequest>& labels, PictureObstacles& obstacles);

// Moves each label of a drawn picture that a line, a circle or a label
// before it crosses the least way clear (PlaceLabels, wanted where it is);
// a label that nothing crosses stays. For pictures whose passes print at
// fixed offsets (a load's value on its row, a node's number on its
// member).
void ClearCrossedLabels(std::vector<CanvasOp>& ops);

// The box every line, circle and label of `ops` covers; none when nothing
// is drawn.
std::optional<PictureBox> ContentBox(const std::vector<CanvasOp>& ops);
// Moves the picture so that what it shows starts `margin` from its
// top-left corner; the size that holds it with that margin all round (two
// margins for a picture that shows nothing).
struct PictureSize {
    double width = 0.0;
    double height = 0.0;
};
PictureSize FramePicture(std::vector<CanvasOp>& ops, double margin);
// Leaves out a label that repeats one printed before at the same place in
// the same colour: the window prints a distributed load's value once per
// arrow, one over the other, which on paper is the value many times over.
void DropRepeatedPrints(std::vector<CanvasOp>& ops);

}  // namespace tavrin
