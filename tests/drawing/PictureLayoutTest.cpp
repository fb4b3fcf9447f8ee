#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "drawing/PictureLayout.h"

namespace tavrin {
namespace {

// Operations as the canvas records them.
CanvasOp LineOp(double x1, double y1, double x2, double y2)
{
    RecordingCanvas canvas;
    canvas.Line(x1, y1, x2, y2);
    return canvas.ops.back();
}

CanvasOp PrintOp(double x, double y, const std::string& text, Rgb color = kBlack)
{
    RecordingCanvas canvas;
    canvas.SetForeColor(color);
    canvas.SetCurrent(x, y);
    canvas.Print(text);
    return canvas.ops.back();
}

// The distance from (x, y) to the nearest point of `box`.
double DistanceTo(const PictureBox& box, double x, double y)
{
    const double dx = std::max({box.left - x, 0.0, x - box.right});
    const double dy = std::max({box.top - y, 0.0, y - box.bottom});
    return std::hypot(dx, dy);
}

// Each label is placed clear of the lines and of the labels before it, and
// as near its point as that allows; where its wanted spot is free it is
// exactly there: 1 unit beyond the point in its direction, centred across.
TEST(PictureLayoutTest, LabelsTakeTheNearestSpotClearOfLinesAndEachOther)
{
    // A square of side 40 with its top-left corner at (80, 80).
    const std::vector<CanvasOp> square{LineOp(80, 80, 120, 80), LineOp(120, 80, 120, 120), LineOp(120, 120, 80, 120),
                                       LineOp(80, 120, 80, 80)};
    const struct Case {
        const char* name;
        std::vector<CanvasOp> drawn;
        std::vector<LabelRequest> labels;
        std::vector<PlacedLabel> exactly;  // empty: only clear and near
        double within;                     // of its point, picture units
    } cases[] = {
        {"up from a free point", {}, {{"12", 100, 100, 0, -1}}, {{96, 100 - 1 - kTextHeight}}, 0},
        {"right of a free point", {}, {{"12", 100, 100, 1, 0}}, {{101, 100 - kTextHeight / 2}}, 0},
        {"down, direction not of unit length", {}, {{"7", 100, 100, 0, 5}}, {{98, 101}}, 0},
        {"a line across the wanted spot", {LineOp(0, 96, 200, 96)}, {{"12", 100, 100, 0, -1}}, {}, 12},
        {"three labels at one point", {}, {{"X1", 50, 50, 1, 0}, {"X2", 50, 50, 1, 0}, {"X3", 50, 50, 1, 0}}, {}, 15},
        {"a sign centred in a square it fits",
         square,
         {{"⊕", 100, 100, 0, -1, true}},
         {{100 - 3.2, 100 - kTextHeight / 2}},
         0},
        {"a sign in a strip too low for it",
         {LineOp(0, 100, 200, 100), LineOp(0, 104, 200, 104)},
         {{"⊖", 100, 102, 0, 1, true}},
         {},
         12},
        {"a value kept above its member's line, though wanted below",
         {},
         {{"5", 100, 99, 0, 1, false, kBlack, HalfPlane{0, 100, 0, -1}}},
         {},
         12},
        {"values at both ends of a member",
         {LineOp(40, 60, 160, 60)},
         {{"21.33", 40, 60, 0, -1}, {"9", 160, 60, 0, 1}, {"21.33", 40, 60, 0, -1}},
         {},
         15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PictureObstacles obstacles = ObstaclesOf(c.drawn);
        const std::vector<PlacedLabel> placed = PlaceLabels(c.labels, obstacles);
        ASSERT_EQ(placed.size(), c.labels.size());
        const PictureObstacles lines = ObstaclesOf(c.drawn);
        std::vector<PictureBox> boxes;
        for (std::size_t k = 0; k < placed.size(); ++k) {
            const PictureBox box = TextBox(placed[k].x, placed[k].y, c.labels[k].text);
            EXPECT_EQ(lines.Crossings(box), 0) << c.labels[k].text;
            if (c.labels[k].within) {
                EXPECT_TRUE(c.labels[k].within->Holds(box)) << c.labels[k].text;
            }
            for (const PictureBox& before : boxes)
                EXPECT_FALSE(before.Overlaps(box)) << c.labels[k].text;
            boxes.push_back(box);
            if (!c.exactly.empty()) {
                EXPECT_NEAR(placed[k].x, c.exactly[k].x, 1e-9);
                EXPECT_NEAR(placed[k].y, c.exactly[k].y, 1e-9);
            } else {
                EXPECT_LE(DistanceTo(box, c.labels[k].x, c.labels[k].y), c.within) << c.labels[k].text;
            }
        }
        // The placed labels are obstacles for whatever is placed next.
        EXPECT_EQ(obstacles.boxes.size(), lines.boxes.size() + placed.size());
    }
}

// A label that has no free spot at all still gets one near its point, at
// a spot crossing no more lines than the one it wanted.
TEST(PictureLayoutTest, ALabelWithoutAFreeSpotCrossesAsLittleAsItCan)
{
    std::vector<CanvasOp> grid;
    for (int k = 0; k <= 100; k += 3) {
        grid.push_back(LineOp(k, 0, k, 100));
        grid.push_back(LineOp(0, k, 100, k));
    }
    PictureObstacles obstacles = ObstaclesOf(grid);
    const std::vector<PlacedLabel> placed = PlaceLabels({{"1234", 50, 50, 0, -1}}, obstacles);
    ASSERT_EQ(placed.size(), 1u);
    const PictureObstacles lines = ObstaclesOf(grid);
    const PictureBox box = TextBox(placed[0].x, placed[0].y, "1234");
    const PictureBox wanted = TextBox(50 - 8, 50 - 1 - kTextHeight, "1234");
    EXPECT_LE(lines.Crossings(box.Grown(kLabelClearance)), lines.Crossings(wanted.Grown(kLabelClearance)));
    EXPECT_LE(DistanceTo(box, 50, 50), 15.0);

    // One that may be left out is, where nothing near its point is free;
    // with room within its reach it stands there.
    LabelRequest note{"qL²/8 = 1", 50, 50, 0, -1};
    note.reach = 8.0;
    const std::size_t before = obstacles.boxes.size();
    EXPECT_FALSE(PlaceLabels({note}, obstacles).front().shown);
    EXPECT_EQ(obstacles.boxes.size(), before);
    note.y = 112;
    const PlacedLabel clear = PlaceLabels({note}, obstacles).front();
    EXPECT_TRUE(clear.shown);
    EXPECT_LE(DistanceTo(TextBox(clear.x, clear.y, note.text), 50, 112), 8.0);
}

// A label printed across a line moves the least way clear of it and of the
// labels printed before it; one that nothing crosses stays where it was.
TEST(PictureLayoutTest, ACrossedLabelMovesClearAndAFreeOneStays)
{
    std::vector<CanvasOp> ops{LineOp(0, 50, 100, 50), PrintOp(10, 10, "7"), PrintOp(40, 47, "( 1 )"),
                              PrintOp(42, 47, "2")};
    ClearCrossedLabels(ops);
    EXPECT_EQ(ops[1], PrintOp(10, 10, "7"));
    const PictureObstacles line = ObstaclesOf({ops[0]});
    const PictureBox first = TextBox(ops[2].x1, ops[2].y1, ops[2].text);
    const PictureBox second = TextBox(ops[3].x1, ops[3].y1, ops[3].text);
    EXPECT_EQ(line.Crossings(first), 0);
    EXPECT_EQ(line.Crossings(second), 0);
    EXPECT_FALSE(first.Overlaps(second));
    EXPECT_LE(DistanceTo(first, 40 + TextWidth("( 1 )") / 2, 47 + kTextHeight / 2), 8.0);
}

// The picture is moved so that what it shows starts one margin from the
// corner, and is as large as that with a margin all round: a line from
// (10, 20) to (110, 40) and a label "AB" (8 x 6.7) at (100, 50) cover
// x 10..110 and y 20..56.7.
TEST(PictureLayoutTest, APictureIsCutToWhatItShows)
{
    std::vector<CanvasOp> ops{CanvasOp{}, LineOp(10, 20, 110, 40), PrintOp(100, 50, "AB")};
    const PictureSize size = FramePicture(ops, 5.0);
    EXPECT_NEAR(size.width, 100.0 + 10.0, 1e-9);
    EXPECT_NEAR(size.height, 36.7 + 10.0, 1e-9);
    EXPECT_NEAR(ops[1].x1, 5.0, 1e-9);
    EXPECT_NEAR(ops[1].y1, 5.0, 1e-9);
    EXPECT_NEAR(ops[1].x2, 105.0, 1e-9);
    EXPECT_NEAR(ops[1].y2, 25.0, 1e-9);
    EXPECT_NEAR(ops[2].x1, 95.0, 1e-9);
    EXPECT_NEAR(ops[2].y1, 35.0, 1e-9);
    const std::optional<PictureBox> content = ContentBox(ops);
    ASSERT_TRUE(content);
    EXPECT_NEAR(content->left, 5.0, 1e-9);
    EXPECT_NEAR(content->bottom, size.height - 5.0, 1e-9);

    std::vector<CanvasOp> nothing{CanvasOp{}};
    const PictureSize empty = FramePicture(nothing, 5.0);
    EXPECT_EQ(empty.width, 10.0);
    EXPECT_EQ(empty.height, 10.0);
}

// The window prints a distributed load's value once per arrow at one spot:
// on paper it is printed once. The same text elsewhere or in another colour
// is another label.
TEST(PictureLayoutTest, ALabelRepeatedAtOnePlaceIsPrintedOnce)
{
    std::vector<CanvasOp> ops;
    for (int k = 0; k < 6; ++k) {
        ops.push_back(LineOp(10.0 + 5 * k, 50, 10.0 + 5 * k, 55));
        ops.push_back(PrintOp(40, 35, " 3 ", kBlue));
    }
    ops.push_back(PrintOp(90, 35, " 3 ", kBlue));
    ops.push_back(PrintOp(40, 35, " 3 ", kRed));
    DropRepeatedPrints(ops);
    std::vector<CanvasOp> prints;
    for (const CanvasOp& op : ops)
        if (op.kind == CanvasOp::Kind::Print)
            prints.push_back(op);
    ASSERT_EQ(prints.size(), 3u);
    EXPECT_EQ(prints[0], PrintOp(40, 35, " 3 ", kBlue));
    EXPECT_EQ(prints[1], PrintOp(90, 35, " 3 ", kBlue));
    EXPECT_EQ(prints[2], PrintOp(40, 35, " 3 ", kRed));
    EXPECT_EQ(ops.size(), 6u + 3u);
}

}  // namespace
}  // namespace tavrin
