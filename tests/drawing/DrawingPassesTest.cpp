#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/Canvas.h"
#include "drawing/DrawingPasses.h"
#include "drawing/SampleFrame.h"
#include "model/StructureModel.h"
#include "model/Vocabulary.h"

namespace tavrin {
namespace {

using Kind = CanvasOp::Kind;

struct Point {
    double x = 0;
    double y = 0;
};

// A model drawn one to one: DrawScale 1 and the origin at the picture's
// top-left corner, so a node added at picture point (px, py) is stored at
// model point (px, -py) and every expectation reads in picture units.
struct PictureModel {
    StructureModel model;

    PictureModel() { model.DrawScale = 1.0; }

    std::int16_t Node(double px, double py, std::string_view joint = kRigidJoint)
    {
        const auto number = static_cast<std::int16_t>(model.NodeCount() + 1);
        model.Nodes.Append({number, std::string(joint), static_cast<float>(px), static_cast<float>(-py)});
        return number;
    }

    std::int16_t Member(std::int16_t i, std::int16_t j, std::int16_t code = 0)
    {
        Element e;
        e.Code = code != 0 ? code : static_cast<std::int16_t>(model.ElementCount() + 1);
        e.INode = i;
        e.JNode = j;
        const float dx = model.Nodes.at(j).X - model.Nodes.at(i).X;
        const float dy = model.Nodes.at(j).Y - model.Nodes.at(i).Y;
        e.Length = std::sqrt(dx * dx + dy * dy);
        e.SinA = dy / e.Length;
        e.CosA = dx / e.Length;
        model.Elements.Append(e);
        return model.ElementCount();
    }

    void SupportAt(std::int16_t node, std::string_view type, std::string_view direction)
    {
        model.Supports.Append({node, std::string(type), std::string(direction), 0, 0, 0});
    }

    void LoadOn(std::string_view type, float magnitude, std::string_view direction, std::int16_t node,
                std::int16_t element)
    {
        model.Loads.Append({std::string(type), magnitude, std::string(direction), node, element});
    }
};

Point Start(const CanvasOp& op)
{
    return {op.x1, op.y1};
}
Point End(const CanvasOp& op)
{
    return {op.x2, op.y2};
}

void ExpectAt(Point actual, Point expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-4);
    EXPECT_NEAR(actual.y, expected.y, 1e-4);
}

double Along(Point p, Point origin, Point direction)
{
    return (p.x - origin.x) * direction.x + (p.y - origin.y) * direction.y;
}

// ---- FitModelToPicture --------------------------------------------------------

struct FitCase {
    const char* name;
    std::vector<Point> nodes;  // model coordinates
    double width, height;
    double scale, originX, originY, minX, minY;
};

TEST(FitModelToPictureTest, ScalesTheBoundingBoxIntoSixtyPercentAndCentresIt)
{
    const FitCase cases[] = {
        {"right triangle", {{0, 0}, {4, 0}, {4, 3}}, 200, 150, 30, 40, 120, 0, 0},
        // One node, or all at one point: no scale, drawn at the centre.
        {"one node", {{3, 7}}, 200, 150, 0, 100, 75, 3, 7},
        {"coinciding nodes", {{3, 7}, {3, 7}}, 200, 150, 0, 100, 75, 3, 7},
        // A vertical line fits by height alone, a horizontal one by width.
        {"vertical line", {{2, 0}, {2, 5}}, 200, 150, 18, 100, 120, 2, 0},
        {"horizontal line", {{-1, 2}, {3, 2}}, 200, 150, 30, 40, 75, -1, 2},
        // The smaller factor wins: the long side decides.
        {"wide box", {{0, 0}, {10, 1}}, 200, 150, 12, 40, 81, 0, 0},
        {"tall box", {{0, 0}, {1, 10}}, 200, 150, 9, 95.5, 120, 0, 0},
        {"extremes not at node 1", {{1, 1}, {-2, 4}, {3, -1}}, 200, 150, 18, 55, 120, -2, -1},
        // A span so small that its factor is no float decides nothing.
        {"nodes 1e-40 apart", {{0, 0}, {1e-40, 0}}, 200, 150, 0, 100, 75, 0, 0},
        {"1e-40 across, 1 high", {{0, 0}, {1e-40, 1}}, 200, 150, 90, 100, 120, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StructureModel model;
        for (const Point& p : c.nodes)
            model.Nodes.Append({1, std::string(kRigidJoint), static_cast<float>(p.x), static_cast<float>(p.y)});
        const RecordingCanvas canvas(c.width, c.height);
        FitModelToPicture(model, canvas);
        EXPECT_NEAR(model.DrawScale, c.scale, 1e-5);
        EXPECT_NEAR(model.DrawOriginX, c.originX, 1e-4);
        EXPECT_NEAR(model.DrawOriginY, c.originY, 1e-4);
        EXPECT_DOUBLE_EQ(model.ModelMinX, c.minX);
        EXPECT_DOUBLE_EQ(model.ModelMinY, c.minY);
    }
}

TEST(FitModelToPictureTest, PictureBoxOfTheNodesIsCentredAndFillsSixtyPercentOfOneSide)
{
    StructureModel model;
    for (const Point& p : {Point{1.5, -2}, Point{7, 3.25}, Point{-4, 0.5}, Point{2, 9}})
        model.Nodes.Append({1, std::string(kRigidJoint), static_cast<float>(p.x), static_cast<float>(p.y)});
    const RecordingCanvas canvas(267, 240);
    FitModelToPicture(model, canvas);
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (long n = 1; n <= model.NodeCount(); ++n) {
        double px = 0, py = 0;
        ASSERT_TRUE(model.NodePicturePoint(n, px, py));
        left = std::min(left, px);
        right = std::max(right, px);
        top = std::min(top, py);
        bottom = std::max(bottom, py);
    }
    EXPECT_NEAR((left + right) / 2, 267 / 2.0, 1e-3);
    EXPECT_NEAR((top + bottom) / 2, 240 / 2.0, 1e-3);
    EXPECT_LE(right - left, 0.6 * 267 + 1e-3);
    EXPECT_LE(bottom - top, 0.6 * 240 + 1e-3);
    EXPECT_NEAR(std::max((right - left) / 267, (bottom - top) / 240), 0.6, 1e-5);
    // Model y grows upward, picture y downward: the highest node is on top.
    double topNodeY = 0, unused = 0;
    model.NodePicturePoint(4, unused, topNodeY);
    EXPECT_NEAR(topNodeY, top, 1e-9);
}

TEST(FitModelToPictureTest, WithoutNodesTheOriginIsThePictureCentre)
{
    StructureModel model;
    model.DrawScale = 5;
    const RecordingCanvas canvas(200, 150);
    FitModelToPicture(model, canvas);
    EXPECT_EQ(model.DrawScale, 0.0);
    EXPECT_EQ(model.DrawOriginX, 100.0);
    EXPECT_EQ(model.DrawOriginY, 75.0);
}

// No surface is given a point that is not a number or infinite (an SVG
// would read y="nan"): such an operation is passed over, the drawing state
// moving on as if it had been drawn.
TEST(CanvasTest, OperationsAtPointsThatAreNoFiniteNumbersAreNotDrawn)
{
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        void (*draw)(Canvas&);
        std::size_t drawn;
    } cases[] = {
        {"line", [](Canvas& c) { c.Line(0, 0, 5, 5); }, 1},
        {"line ending at no number", [](Canvas& c) { c.Line(0, 0, 5, nan); }, 0},
        {"line from infinity", [](Canvas& c) { c.Line(-inf, 0, 5, 5, kRed); }, 0},
        {"circle of infinite radius", [](Canvas& c) { c.Circle(1, 1, inf); }, 0},
        {"arc from no angle", [](Canvas& c) { c.Circle(1, 1, 2, nan, 1); }, 0},
        {"text at no number",
         [](Canvas& c) {
             c.SetCurrent(nan, 3);
             c.Print("1");
         },
         0},
        {"text after a line ending at infinity",
         [](Canvas& c) {
             c.Line(0, 0, inf, 0);
             c.Print("1");
         },
         0},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        RecordingCanvas canvas;
        k.draw(canvas);
        EXPECT_EQ(canvas.ops.size(), k.drawn);
    }
}

// ---- DrawNodeNumbers ----------------------------------------------------------

TEST(DrawNodeNumbersTest, ClearsThenPrintsEachNumberInBlackWithItsTopLeftAtTheNode)
{
    PictureModel m;
    m.Node(10, 20);
    m.Node(30, 40);
    m.model.Nodes.at(1).Number = 12;
    m.model.Nodes.at(2).Number = -3;
    RecordingCanvas canvas;
    canvas.SetForeColor(kRed);
    DrawNodeNumbers(m.model, canvas);
    ASSERT_EQ(canvas.ops.size(), 3u);
    EXPECT_EQ(canvas.ops[0].kind, Kind::Cls);
    const auto prints = canvas.Prints();
    EXPECT_EQ(prints[0].text, " 12 ");
    ExpectAt(Start(prints[0]), {10, 20});
    EXPECT_EQ(prints[1].text, "-3 ");
    ExpectAt(Start(prints[1]), {30, 40});
    for (const auto& p : prints)
        EXPECT_EQ(p.color, kBlack);
    EXPECT_EQ(canvas.ForeColor(), kBlack);
}

// Re-entering the structure after a diagram: whichever table is drawn, the
// picture is captioned as the structure again, not as the diagram.
TEST(DrawingPassesTest, EveryPassCaptionsThePictureAsTheStructure)
{
    const std::pair<const char*, void (*)(const StructureModel&, Canvas&)> passes[] = {
        {"nodes", DrawNodeNumbers},
        {"members",
         [](const StructureModel& model, Canvas& canvas) { DrawMembers(model, canvas, MemberLabels::Shown); }},
        {"supports", DrawSupports},
        {"concentrated", DrawConcentratedLoads},
        {"distributed", DrawDistributedLoads},
        {"couples", DrawCouples}};
    PictureModel m;
    m.Node(0, 0);
    for (const auto& [name, pass] : passes) {
        SCOPED_TRACE(name);
        RecordingCanvas canvas;
        canvas.SetCaption("弯矩图");
        pass(m.model, canvas);
        EXPECT_EQ(canvas.caption, kStructurePictureCaption);
    }
}

// ---- DrawMembers --------------------------------------------------------------

TEST(DrawMembersTest, HingedEndsGetGreyFilledCirclesOnTopOfTheTwoPixelLine)
{
    PictureModel m;
    const auto a = m.Node(10, 10, kHingedJoint);
    const auto b = m.Node(50, 10, kHingedJoint);
    const auto c = m.Node(50, 60, kRigidJoint);
    const auto d = m.Node(90, 60, kFreeEnd);
    m.Member(a, b);
    m.Member(c, d);
    RecordingCanvas canvas;
    DrawMembers(m.model, canvas, MemberLabels::Hidden);

    const auto lines = canvas.Lines();
    ASSERT_EQ(lines.size(), 2u);
    for (const auto& l : lines) {
        EXPECT_EQ(l.width, 2);
        EXPECT_EQ(l.color, kBlack);
    }
    ExpectAt(Start(lines[0]), {10, 10});
    ExpectAt(End(lines[0]), {50, 10});
    const auto circles = canvas.Circles();
    ASSERT_EQ(circles.size(), 2u) << "both ends of the hinged member, none between rigid and free";
    ExpectAt(Start(circles[0]), {10, 10});
    ExpectAt(Start(circles[1]), {50, 10});
    for (const auto& circle : circles) {
        EXPECT_EQ(circle.r, kHingeRadius);
        EXPECT_FALSE(circle.start.has_value());
        EXPECT_EQ(circle.width, 1);
        EXPECT_EQ(circle.fillStyle, kFillSolid);
        EXPECT_EQ(circle.fillColor, kLightGrey);
    }
    // Each circle follows its own member's line.
    EXPECT_EQ(canvas.ops[0].kind, Kind::Line);
    EXPECT_EQ(canvas.ops[1].kind, Kind::Circle);
    EXPECT_EQ(canvas.ops[2].kind, Kind::Circle);
    EXPECT_EQ(canvas.ops[3].kind, Kind::Line);
    EXPECT_TRUE(canvas.Prints().empty());
}

TEST(DrawMembersTest, LabelsOnlyWhenAskedForAtTheMidpointOfTheCommittedGeometry)
{
    PictureModel m;
    const auto a = m.Node(20, 100);
    const auto b = m.Node(80, 20);
    m.Member(a, b, 5);
    m.model.DrawScale = 2.0;  // node positions double, the stored Length stays
    m.model.Nodes.at(1).X = 10;
    m.model.Nodes.at(1).Y = -50;
    for (const std::int16_t withLabels : std::vector<std::int16_t>{0, 1, 2, -1}) {
        SCOPED_TRACE(withLabels);
        RecordingCanvas canvas;
        DrawMembers(m.model, canvas, static_cast<MemberLabels>(withLabels));
        const auto prints = canvas.Prints();
        if (withLabels != 1) {
            EXPECT_TRUE(prints.empty());
            continue;
        }
        ASSERT_EQ(prints.size(), 1u);
        EXPECT_EQ(prints[0].text, "( 5 )");
        // Length 100 at scale 2: 100 along the member from end i, which a 3-4-5
        // direction puts 60 right and 80 up of node i at (20, 100).
        ExpectAt(Start(prints[0]), {20 + 60, 100 - 80});
    }
}

TEST(DrawMembersTest, LeavesWidthOneAndTheFillOfTheLastHinge)
{
    {
        SCOPED_TRACE("no elements");
        PictureModel m;
        RecordingCanvas canvas;
        canvas.SetDrawWidth(3);
        canvas.SetFillStyle(kFillTransparent);
        DrawMembers(m.model, canvas, MemberLabels::Shown);
        EXPECT_TRUE(canvas.ops.empty());
        EXPECT_EQ(canvas.DrawWidth(), 1);
        EXPECT_EQ(canvas.FillColor(), kCyan);
        EXPECT_EQ(canvas.FillStyle(), kFillTransparent);
    }
    {
        SCOPED_TRACE("a hinge drawn");
        PictureModel m;
        const auto i = m.Node(0, 0);
        const auto j = m.Node(10, 0, kHingedJoint);
        m.Member(i, j);
        RecordingCanvas canvas;
        DrawMembers(m.model, canvas, MemberLabels::Shown);
        EXPECT_EQ(canvas.DrawWidth(), 1);
        EXPECT_EQ(canvas.FillColor(), kLightGrey);
        EXPECT_EQ(canvas.FillStyle(), kFillSolid);
    }
}

// ---- DrawSupports -------------------------------------------------------------

struct SupportCase {
    std::string_view type, direction;
    int lines, pins;
    Point ground;                      // unit vector from the node toward the hatch side
    double base;                       // distance of the base line from the node toward the ground
    int hatch;                         // hatch strokes, drawn last among the lines
    std::optional<Point> rigidCircle;  // node circle's offset at a rigid joint; none for a fixed support
};

const SupportCase kSupportCases[] = {
    {kRollerSupport, kLeftOfNode, 5, 1, {-1, 0}, 13, 3, Point{-2, 0}},
    {kRollerSupport, kRightOfNode, 5, 1, {1, 0}, 13, 3, Point{2, 0}},
    {kRollerSupport, kBelowNode, 5, 1, {0, 1}, 11, 3, Point{0, 2}},  // the shorter one
    {kRollerSupport, kAboveNode, 5, 1, {0, -1}, 13, 3, Point{0, -2}},
    // A fixed support's hatch lies opposite the named side.
    {kFixedSupport, kAboveNode, 4, 0, {0, 1}, 0, 3, std::nullopt},
    {kFixedSupport, kBelowNode, 4, 0, {0, -1}, 0, 3, std::nullopt},
    {kFixedSupport, kRightOfNode, 4, 0, {-1, 0}, 0, 3, std::nullopt},
    {kFixedSupport, kLeftOfNode, 4, 0, {1, 0}, 0, 3, std::nullopt},
    // A pin support marks the node itself, also at a rigid joint.
    {kPinSupport, kBelowNode, 8, 2, {0, 1}, 12, 5, Point{0, 0}},
    {kPinSupport, kAboveNode, 8, 2, {0, -1}, 12, 5, Point{0, 0}},
    {kPinSupport, kRightOfNode, 8, 2, {1, 0}, 12, 5, Point{0, 0}},
    {kPinSupport, kLeftOfNode, 8, 2, {-1, 0}, 12, 5, Point{0, 0}},
};

TEST(DrawSupportsTest, EachKindAndDirectionStandsOnItsGroundSideWithBaseHatchAndNodeCircle)
{
    const Point node{100, 100};
    for (const auto& c : kSupportCases)
        for (const std::string_view joint : {kRigidJoint, kHingedJoint}) {
            SCOPED_TRACE(std::string(c.type) + " " + std::string(c.direction) + " at " + std::string(joint));
            PictureModel m;
            m.SupportAt(m.Node(node.x, node.y, joint), c.type, c.direction);
            RecordingCanvas canvas;
            canvas.SetFillStyle(kFillTransparent);
            DrawSupports(m.model, canvas);

            const auto lines = canvas.Lines();
            const auto circles = canvas.Circles();
            ASSERT_EQ(static_cast<int>(lines.size()), c.lines);
            ASSERT_EQ(static_cast<int>(circles.size()), c.pins + (c.rigidCircle ? 1 : 0));
            EXPECT_TRUE(canvas.Prints().empty());
            for (const auto& l : lines) {
                EXPECT_EQ(l.color, kRed);
                EXPECT_EQ(l.width, 1);
                EXPECT_GE(Along(Start(l), node, c.ground), -1e-9) << "stroke on the far side of the node";
                EXPECT_GE(Along(End(l), node, c.ground), -1e-9) << "stroke on the far side of the node";
            }
            const auto& base = lines[static_cast<std::size_t>(c.lines - c.hatch - 1)];
            EXPECT_DOUBLE_EQ(Along(Start(base), node, c.ground), c.base);
            EXPECT_DOUBLE_EQ(Along(End(base), node, c.ground), c.base);
            for (int h = c.lines - c.hatch; h < c.lines; ++h) {
                const auto& stroke = lines[static_cast<std::size_t>(h)];
                EXPECT_DOUBLE_EQ(Along(Start(stroke), node, c.ground), c.base) << "hatch starts on the base";
                EXPECT_DOUBLE_EQ(Along(End(stroke), node, c.ground), c.base + 2) << "and leaves it by 2";
            }
            for (int p = 0; p < c.pins; ++p) {
                const auto& pin = circles[static_cast<std::size_t>(p)];
                EXPECT_EQ(pin.r, kHingeRadius);
                EXPECT_EQ(pin.fillStyle, kFillTransparent) << "pins take the fill state in force";
                EXPECT_GT(Along(Start(pin), node, c.ground), 8.0);
            }
            if (c.rigidCircle) {
                const auto& mark = circles.back();
                EXPECT_EQ(canvas.ops.back().kind, Kind::Circle) << "the node circle comes last";
                EXPECT_EQ(mark.fillStyle, kFillSolid);
                EXPECT_EQ(mark.fillColor, kLightGrey);
                EXPECT_EQ(mark.r, kHingeRadius);
                const Point offset = joint == kRigidJoint ? *c.rigidCircle : Point{0, 0};
                ExpectAt(Start(mark), {node.x + offset.x, node.y + offset.y});
            }
        }
}

TEST(DrawSupportsTest, UnknownTextsAndNodesDrawNothingWhileTheOthersAreDrawnInTableOrder)
{
    PictureModel m;
    const auto a = m.Node(50, 50);
    m.SupportAt(a, kRollerSupport, "结点下");
    m.SupportAt(a, "活动", kBelowNode);
    m.SupportAt(a, kFixedSupport, kAboveNode);
    m.SupportAt(0, kFixedSupport, kAboveNode);
    m.SupportAt(2, kFixedSupport, kAboveNode);
    m.SupportAt(-7, kPinSupport, kBelowNode);
    m.SupportAt(a, kFixedSupport, kLeftOfNode);
    RecordingCanvas canvas;
    DrawSupports(m.model, canvas);
    const auto lines = canvas.Lines();
    ASSERT_EQ(lines.size(), 8u) << "two fixed supports at node 1, four strokes each";
    EXPECT_EQ(lines[0].y1, lines[0].y2) << "the horizontal base of the first comes first";
    EXPECT_EQ(lines[4].x1, lines[4].x2) << "then the vertical base of the second";
    EXPECT_EQ(canvas.ForeColor(), kRed);
    EXPECT_EQ(canvas.DrawWidth(), 1);
}

// ---- DrawConcentratedLoads ---------------------------------------------------

struct ArrowCase {
    std::string_view direction;
    Point tail;   // offset of the shaft's far end from the node
    Point label;  // offset of the label from the node
};

TEST(DrawConcentratedLoadsTest, ArrowTipAtTheNodeShaftOnTheSideTheForceComesFrom)
{
    const ArrowCase cases[] = {
        {kUpward, {0, 10}, {0, 10}},
        {kDownward, {0, -10}, {0, -10}},
        {kLeftward, {10, 0}, {10, 0}},
        {kRightward, {-10, 0}, {-20, 0}},  // the label clears the tail
    };
    const Point node{60, 70};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.direction));
        PictureModel m;
        m.LoadOn(kConcentratedLoad, -12, c.direction, m.Node(node.x, node.y), 0);
        RecordingCanvas canvas;
        DrawConcentratedLoads(m.model, canvas);
        const auto lines = canvas.Lines();
        ASSERT_EQ(lines.size(), 3u);
        ExpectAt(Start(lines[0]), node);
        ExpectAt(End(lines[0]), {node.x + c.tail.x, node.y + c.tail.y});
        // Barbs: from 2 back along the shaft and 1 to either side, to the tip.
        const Point back{c.tail.x / 10, c.tail.y / 10};
        const Point side{-back.y, back.x};
        ExpectAt(End(lines[1]), node);
        ExpectAt(End(lines[2]), node);
        EXPECT_DOUBLE_EQ(Along(Start(lines[1]), node, back), 2);
        EXPECT_DOUBLE_EQ(Along(Start(lines[2]), node, back), 2);
        EXPECT_DOUBLE_EQ(std::fabs(Along(Start(lines[1]), node, side)), 1);
        EXPECT_DOUBLE_EQ(Along(Start(lines[1]), node, side), -Along(Start(lines[2]), node, side));
        for (const auto& l : lines) {
            EXPECT_EQ(l.width, 2);
            EXPECT_EQ(l.color, kBlue);
        }
        const auto prints = canvas.Prints();
        ASSERT_EQ(prints.size(), 1u);
        EXPECT_EQ(prints[0].text, "12.");
        ExpectAt(Start(prints[0]), {node.x + c.label.x, node.y + c.label.y});
        EXPECT_EQ(canvas.ops.back().kind, Kind::Print);
    }
}

TEST(DrawConcentratedLoadsTest, SkipsZeroOtherTypesUnknownDirectionsAndMissingNodes)
{
    PictureModel m;
    const auto a = m.Node(10, 10);
    m.LoadOn(kConcentratedLoad, 0, kUpward, a, 0);
    m.LoadOn(kDistributedLoad, 5, kUpward, a, 0);
    m.LoadOn(kCouple, 5, kUpward, a, 0);
    m.LoadOn(kConcentratedLoad, 5, kClockwise, a, 0);
    m.LoadOn(kConcentratedLoad, 5, kUpward, 0, 0);
    m.LoadOn(kConcentratedLoad, 5, kUpward, 2, 0);
    m.LoadOn(kConcentratedLoad, 2.5f, kRightward, a, 0);
    RecordingCanvas canvas;
    DrawConcentratedLoads(m.model, canvas);
    const auto prints = canvas.Prints();
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0].text, "2.5");
    EXPECT_EQ(canvas.Lines().size(), 3u);
    EXPECT_EQ(canvas.DrawWidth(), 2);
    EXPECT_EQ(canvas.ForeColor(), kBlue);
}

// ---- DrawDistributedLoads ----------------------------------------------------

// Shaft positions along the projection, one per arrow (each arrow draws load
// line, shaft and two barbs).
std::vector<double> ShaftPositions(const RecordingCanvas& canvas, bool alongX)
{
    std::vector<double> at;
    const auto lines = canvas.Lines();
    for (std::size_t k = 1; k < lines.size(); k += 4)
        at.push_back(alongX ? lines[k].x1 : lines[k].y1);
    return at;
}

struct RowCase {
    const char* name;
    Point i, j;
    std::string_view direction;
    std::vector<double> shafts;
};

TEST(DrawDistributedLoadsTest, ArrowsEveryFiveUnitsFromEndIOverTheProjection)
{
    const RowCase cases[] = {
        {"100 to 150", {100, 50}, {150, 50}, kDownward, {100, 105, 110, 115, 120, 125, 130, 135, 140, 145, 150}},
        {"150 to 100", {150, 50}, {100, 50}, kDownward, {150, 145, 140, 135, 130, 125, 120, 115, 110, 105, 100}},
        {"12 units, last 2 short", {30, 50}, {42, 50}, kUpward, {30, 35, 40}},
        {"inclined, horizontal projection", {30, 50}, {42, 90}, kDownward, {30, 35, 40}},
        {"upward on a vertical member", {30, 50}, {30, 90}, kUpward, {30}},
        {"leftward on a horizontal member", {30, 50}, {90, 50}, kLeftward, {50}},
        {"rightward, vertical projection upward", {30, 90}, {70, 78}, kRightward, {90, 85, 80}},
        {"leftward down the picture", {30, 50}, {30, 65}, kLeftward, {50, 55, 60, 65}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PictureModel m;
        const auto i = m.Node(c.i.x, c.i.y);
        const auto j = m.Node(c.j.x, c.j.y);
        m.Member(i, j);
        m.LoadOn(kDistributedLoad, 4, c.direction, 0, 1);
        RecordingCanvas canvas;
        DrawDistributedLoads(m.model, canvas);
        const auto shafts = ShaftPositions(canvas, IsVerticalDirection(c.direction));
        ASSERT_EQ(shafts.size(), c.shafts.size());
        for (std::size_t k = 0; k < shafts.size(); ++k)
            EXPECT_NEAR(shafts[k], c.shafts[k], 1e-9) << "arrow " << k;
        EXPECT_EQ(canvas.Prints().size(), c.shafts.size()) << "the label is repeated with every arrow";
    }
}

struct SideCase {
    std::string_view direction;
    Point loadLineFrom, loadLineTo;  // expected, for the member (40,60)-(70,100)
    Point shaftFar;                  // far end of the first shaft
    Point label;
};

TEST(DrawDistributedLoadsTest, ArrowsPointAtTheMemberFromTheSideTheLoadComesFrom)
{
    const SideCase cases[] = {
        {kUpward, {40, 65}, {70, 65}, {40, 65}, {55 + 15, 60 + 8}},
        {kDownward, {40, 55}, {70, 55}, {40, 55}, {55 + 15, 60 - 15}},
        {kLeftward, {45, 60}, {45, 100}, {45, 60}, {40 + 8, 80 + 15}},
        {kRightward, {35, 60}, {35, 100}, {35, 60}, {40 - 20, 80 + 15}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.direction));
        PictureModel m;
        const auto i = m.Node(40, 60);
        const auto j = m.Node(70, 100);
        m.Member(i, j);
        m.LoadOn(kDistributedLoad, -3.456f, c.direction, 0, 1);
        RecordingCanvas canvas;
        canvas.SetDrawWidth(2);
        DrawDistributedLoads(m.model, canvas);
        const auto lines = canvas.Lines();
        ASSERT_GE(lines.size(), 4u);
        ExpectAt(Start(lines[0]), c.loadLineFrom);
        ExpectAt(End(lines[0]), c.loadLineTo);
        ExpectAt(Start(lines[1]), {40, 60});
        ExpectAt(End(lines[1]), c.shaftFar);
        ExpectAt(End(lines[2]), {40, 60});
        ExpectAt(End(lines[3]), {40, 60});
        for (const auto& l : lines) {
            EXPECT_EQ(l.width, 1);
            EXPECT_EQ(l.color, kBlue);
        }
        const auto prints = canvas.Prints();
        EXPECT_EQ(prints[0].text, " 3.46 ");
        ExpectAt(Start(prints[0]), c.label);
    }
}

// The digits of "0.##", as the concentrated-force label prints them: never
// seven significant digits or an exponent.
TEST(DrawDistributedLoadsTest, LabelIsTheRoundedMagnitudePrintedAsANumber)
{
    const std::pair<float, const char*> cases[] = {{-10, " 10 "},
                                                   {2.5f, " 2.5 "},
                                                   {-3.456f, " 3.46 "},
                                                   {0.004f, " 0 "},
                                                   {12.345f, " 12.35 "},
                                                   {20000000.0f, " 20000000 "},
                                                   {123456.78f, " 123456.78 "}};
    for (const auto& [magnitude, text] : cases) {
        SCOPED_TRACE(text);
        PictureModel m;
        const auto i = m.Node(0, 0);
        const auto j = m.Node(3, 0);
        m.Member(i, j);
        m.LoadOn(kDistributedLoad, magnitude, kDownward, 0, 1);
        RecordingCanvas canvas;
        DrawDistributedLoads(m.model, canvas);
        ASSERT_EQ(canvas.Prints().size(), 1u);
        EXPECT_EQ(canvas.Prints()[0].text, text);
    }
}

TEST(DrawDistributedLoadsTest, AMemberWithoutAFiniteSpanGetsNoArrowsInsteadOfEndlessOnes)
{
    for (const float far : {std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(far);
        PictureModel m;
        const auto i = m.Node(0, 0);
        const auto j = m.Node(10, 0);
        m.Member(i, j);
        m.model.Nodes.at(j).X = far;
        m.LoadOn(kDistributedLoad, 1, kDownward, 0, 1);
        m.LoadOn(kDistributedLoad, 1, kUpward, 0, 1);
        RecordingCanvas canvas;
        DrawDistributedLoads(m.model, canvas);
        EXPECT_TRUE(canvas.ops.empty());
    }
}

// ---- DrawCouples --------------------------------------------------------------

TEST(DrawCouplesTest, NodeCoupleArcsAtRigidAndFreeNodesOnly)
{
    struct Case {
        std::string_view joint, direction;
        bool drawn;
        double start, end;
        double barbSide;  // x side of the barbs from the tip
    };
    const Case cases[] = {
        {kRigidJoint, kClockwise, true, 4.71, -0.755, 1}, {kRigidJoint, kCounterClockwise, true, -2.33, 4.71, -1},
        {kFreeEnd, kClockwise, true, 4.71, -0.755, 1},    {kHingedJoint, kClockwise, false, 0, 0, 0},
        {kRigidJoint, kUpward, false, 0, 0, 0},
    };
    const Point node{40, 30};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.joint) + " " + std::string(c.direction));
        PictureModel m;
        m.LoadOn(kCouple, -20, c.direction, m.Node(node.x, node.y, c.joint), 0);
        RecordingCanvas canvas;
        DrawCouples(m.model, canvas);
        if (!c.drawn) {
            EXPECT_TRUE(canvas.ops.empty());
            continue;
        }
        ASSERT_EQ(canvas.ops.size(), 4u);
        const auto& arc = canvas.ops[0];
        ASSERT_EQ(arc.kind, Kind::Circle);
        ExpectAt(Start(arc), node);
        EXPECT_EQ(arc.r, 6);
        EXPECT_EQ(arc.start, c.start);
        EXPECT_EQ(arc.end, c.end);
        for (const auto& barb : {canvas.ops[1], canvas.ops[2]}) {
            ExpectAt(Start(barb), {node.x, node.y + 5});
            EXPECT_GT((barb.x2 - node.x) * c.barbSide, 0);
        }
        EXPECT_EQ(canvas.ops[3].text, "20.");
        ExpectAt(Start(canvas.ops[3]), {node.x, node.y + 8});
    }
}

struct EndCoupleCase {
    int row;
    Point i, j;  // picture positions of the element's ends
    bool atEndI;
    std::string_view direction;
    Point centre;  // expected arc centre, offset from the loaded end
    Point label;   // expected label position, offset from the loaded end
};

TEST(DrawCouplesTest, MemberEndCoupleTakesTheFirstRowMatchingItsMemberAndEnd)
{
    const Point left{100, 100}, right{160, 100}, top{100, 40}, bottom{100, 100};
    const EndCoupleCase cases[] = {
        {1, left, right, true, kClockwise, {2, 0}, {2, 5}},
        {1, left, right, true, kCounterClockwise, {2, 0}, {-1, -12}},
        {2, left, right, false, kClockwise, {-8, 0}, {-8, 5}},
        {2, left, right, false, kCounterClockwise, {-8, 0}, {-5, -12}},
        {3, right, left, true, kClockwise, {-8, 0}, {-8, 5}},
        {3, right, left, true, kCounterClockwise, {-8, 0}, {-5, -12}},
        {4, right, left, false, kClockwise, {2, 0}, {2, 5}},
        {4, right, left, false, kCounterClockwise, {2, 0}, {-1, -12}},
        {5, top, bottom, true, kClockwise, {0, 8}, {8, 5}},
        {5, top, bottom, true, kCounterClockwise, {0, 8}, {-11, 11}},
        {6, top, bottom, false, kClockwise, {0, -2}, {8, -2}},
        {6, top, bottom, false, kCounterClockwise, {0, -2}, {-9, 4}},
        {7, bottom, top, true, kClockwise, {0, -2}, {8, -2}},
        {7, bottom, top, true, kCounterClockwise, {0, -2}, {-10, 1}},
        {8, bottom, top, false, kClockwise, {0, 8}, {8, 8}},
        {8, bottom, top, false, kCounterClockwise, {0, 8}, {-12, 11}},
        // An inclined member counts as not vertical: rows 1 to 4.
        {1, {100, 100}, {130, 40}, true, kClockwise, {2, 0}, {2, 5}},
        {4, {130, 40}, {100, 100}, false, kCounterClockwise, {2, 0}, {-1, -12}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("row " + std::to_string(c.row) + " " + std::string(c.direction));
        PictureModel m;
        const auto i = m.Node(c.i.x, c.i.y, kHingedJoint);
        const auto j = m.Node(c.j.x, c.j.y, kHingedJoint);
        m.Member(i, j);
        m.LoadOn(kCouple, 7.5f, c.direction, c.atEndI ? i : j, 1);
        RecordingCanvas canvas;
        DrawCouples(m.model, canvas);
        ASSERT_EQ(canvas.ops.size(), 4u) << "a hinged node gets the member-end couple only";
        const Point end = c.atEndI ? c.i : c.j;
        const Point centre{end.x + c.centre.x, end.y + c.centre.y};
        const auto& arc = canvas.ops[0];
        ExpectAt(Start(arc), centre);
        EXPECT_EQ(arc.r, 6);
        const bool sideways = c.row <= 4;
        EXPECT_EQ(arc.start, sideways ? 4.71 : 0.0);
        EXPECT_EQ(arc.end, sideways ? 1.51 : 3.14);
        // The head sits where the sense leaves the half-circle: bottom (clockwise)
        // or top of a right half; right (clockwise) or left end of an upper half.
        const bool clockwise = c.direction == kClockwise;
        const Point tip = Start(canvas.ops[1]);
        ExpectAt(Start(canvas.ops[2]), tip);
        if (sideways)
            ExpectAt(tip, {centre.x, centre.y + (clockwise ? 5 : -5)});
        else
            ExpectAt(tip, {centre.x + (clockwise ? 6 : -6), centre.y});
        EXPECT_EQ(canvas.ops[3].text, "7.5");
        ExpectAt(Start(canvas.ops[3]), {end.x + c.label.x, end.y + c.label.y});
    }
}

TEST(DrawCouplesTest, MemberEndCoupleNeedsANodeThatIsAnEndOfItsElement)
{
    struct Case {
        const char* name;
        std::int16_t node, element;
        std::size_t ops;
    };
    // Nodes 1, 2 hinged ends of element 1; node 3 rigid, off the member.
    const Case cases[] = {
        {"node not an end", 3, 1, 4},  // only the node couple at the rigid node
        {"no element", 1, 0, 0},
        {"no node", 0, 1, 0},
        {"element outside the table", 1, 9, 0},
        {"node outside the table", 12, 1, 0},
        {"negative node", -1, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PictureModel m;
        const auto i = m.Node(0, 0, kHingedJoint);
        const auto j = m.Node(50, 0, kHingedJoint);
        m.Member(i, j);
        m.Node(20, 40, kRigidJoint);
        m.LoadOn(kCouple, 1, kClockwise, c.node, c.element);
        RecordingCanvas canvas;
        DrawCouples(m.model, canvas);
        EXPECT_EQ(canvas.ops.size(), c.ops);
    }
}

TEST(DrawCouplesTest, CoupleAtARigidEndIsDrawnOnTheNodeAndBesideTheMember)
{
    PictureModel m;
    const auto i = m.Node(0, 0, kRigidJoint);
    const auto j = m.Node(50, 0, kRigidJoint);
    m.Member(i, j);
    m.LoadOn(kCouple, 0, kCounterClockwise, i, 1);
    RecordingCanvas canvas;
    DrawCouples(m.model, canvas);
    const auto arcs = canvas.Circles();
    ASSERT_EQ(arcs.size(), 2u);
    ExpectAt(Start(arcs[0]), {0, 0});
    ExpectAt(Start(arcs[1]), {2, 0});
    for (const auto& p : canvas.Prints())
        EXPECT_EQ(p.text, "0.") << "a zero couple is still drawn";
}

TEST(DrawCouplesTest, MemberWhoseEndsCoincideGetsNoEndCouple)
{
    PictureModel m;
    const auto i = m.Node(10, 10, kHingedJoint);
    const auto j = m.Node(10, 10, kHingedJoint);
    m.Member(i, j);
    m.model.Elements.at(1).Length = 1;  // as if the nodes had moved after the commit
    m.LoadOn(kCouple, 1, kClockwise, 1, 1);
    RecordingCanvas canvas;
    DrawCouples(m.model, canvas);
    EXPECT_TRUE(canvas.ops.empty());
}

// ---- Loads between the nodes ------------------------------------------------

// a in model units; the picture is the model at `scale`.
struct PointLoadCase {
    const char* name;
    Point i, j;
    double scale;
    std::optional<float> a;
    std::optional<Point> at;  // none: nothing drawn
};

TEST(LoadsBetweenTheNodesTest, ForceTipAndCoupleCentreStandAtDistanceAAlongTheMember)
{
    const PointLoadCase cases[] = {
        {"horizontal, end j on the left", {120, 50}, {20, 50}, 1, 25, Point{95, 50}},
        {"vertical, upward from end i", {50, 100}, {50, 20}, 1, 30, Point{50, 70}},
        {"inclined 3-4-5", {20, 100}, {80, 20}, 1, 50, Point{50, 60}},
        {"inclined at scale 2", {20, 100}, {80, 20}, 2, 25, Point{50, 60}},
        {"a blank reads end i", {20, 100}, {80, 20}, 1, std::nullopt, Point{20, 100}},
        {"a beyond end j", {20, 100}, {80, 20}, 1, 100.5f, std::nullopt},
        {"member of no length", {30, 30}, {30, 30}, 1, 0, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PictureModel m;
        m.model.DrawScale = c.scale;
        m.Member(m.Node(c.i.x / c.scale, c.i.y / c.scale), m.Node(c.j.x / c.scale, c.j.y / c.scale));
        m.model.Loads.Append({std::string(kConcentratedLoad), -12, std::string(kDownward), 0, 1, c.a});
        m.model.Loads.Append({std::string(kCouple), 3, std::string(kCounterClockwise), 0, 1, c.a.value_or(0)});
        RecordingCanvas forces, couples;
        DrawConcentratedLoads(m.model, forces);
        DrawCouples(m.model, couples);
        if (!c.at) {
            EXPECT_TRUE(forces.ops.empty() && couples.ops.empty());
            continue;
        }
        const auto lines = forces.Lines();
        ASSERT_EQ(lines.size(), 3u);
        ExpectAt(Start(lines[0]), *c.at);
        ExpectAt(End(lines[0]), {c.at->x, c.at->y - 10});
        ExpectAt(Start(forces.Prints().at(0)), {c.at->x, c.at->y - 10});
        ASSERT_EQ(couples.Circles().size(), 1u);
        ExpectAt(Start(couples.Circles()[0]), *c.at);
        EXPECT_EQ(couples.Circles()[0].start, -2.33) << "the counter-clockwise arc of a node";
    }
}

// A horizontal member 1 from (100, 50) to (150, 50), an inclined one 2 from
// (40, 60) to (70, 100) and a column 3 from (30, 20) down to (30, 40).
PictureModel ThreeMembers()
{
    PictureModel m;
    m.Member(m.Node(100, 50), m.Node(150, 50));
    m.Member(m.Node(40, 60), m.Node(70, 100));
    m.Member(m.Node(30, 20), m.Node(30, 40));
    return m;
}

Load Spread(std::string_view direction, float magnitude, std::int16_t element, std::optional<float> a,
            std::optional<float> b, std::optional<float> atB = std::nullopt)
{
    return {std::string(kDistributedLoad), magnitude, std::string(direction), 0, element, a, b, atB};
}

// An arrow of a row: its tip and the signed length across the row (picture
// y or x) from the tip to its tail.
struct RowArrow {
    double x, y, tail;
};

// The arrows after the row's load line, each a shaft from its tip and two
// barbs from 2 back toward the tail.
std::vector<RowArrow> SpanArrows(const RecordingCanvas& canvas, bool vertical)
{
    std::vector<RowArrow> arrows;
    const auto lines = canvas.Lines();
    const auto across = [vertical](const CanvasOp& l) { return vertical ? l.y2 - l.y1 : l.x2 - l.x1; };
    for (std::size_t k = 1; k + 2 < lines.size(); k += 3) {
        arrows.push_back({lines[k].x1, lines[k].y1, across(lines[k])});
        for (const CanvasOp& barb : {lines[k + 1], lines[k + 2]}) {
            ExpectAt(End(barb), Start(lines[k]));
            EXPECT_DOUBLE_EQ(-across(barb), std::copysign(2.0, across(lines[k])));
        }
    }
    return arrows;
}

// A value stands beyond its tail as far as a uniform row's beyond its 5-unit
// tails: 10 above a downward row, 15 left of a rightward one. A uniform
// span's value stands 15 past its middle, across from the member there as
// on a whole member: 8 below an upward row.
struct SpanCase {
    const char* name;
    Load load;
    std::vector<RowArrow> arrows;
    std::array<double, 4> line;  // the load line, joining the tails at a and b
    std::vector<std::pair<std::string, Point>> labels;
};

TEST(LoadsBetweenTheNodesTest, RowStandsOverTheSpanOnlyWithArrowsAsLongAsTheIntensity)
{
    const SpanCase cases[] = {
        // Uniform: 5-unit arrows 5 apart from a, as on a whole member.
        {"partial",
         Spread(kDownward, -4, 1, 10, 27),
         {{110, 50, -5}, {115, 50, -5}, {120, 50, -5}, {125, 50, -5}},
         {110, 45, 127, 45},
         {{" 4 ", {118.5 + 15, 50 - 15}}}},
        {"inclined, tips on the member",
         Spread(kUpward, 4, 2, 5, 20),
         {{43, 64, 5}, {48, 64 + 20.0 / 3, 5}},
         {43, 69, 52, 81},
         {{" 4 ", {62.5, 90 + 8}}}},
        // Linear: 15 units at the larger end, in proportion elsewhere.
        {"triangle, no arrow at 0",
         Spread(kDownward, 0, 1, {}, 20, -10),
         {{105, 50, -3.75}, {110, 50, -7.5}, {115, 50, -11.25}, {120, 50, -15}},
         {100, 50, 120, 35},
         {{" 0 ", {100, 50 - 10}}, {" 10 ", {120, 35 - 10}}}},
        {"trapezoid on a column",
         Spread(kRightward, 4, 3, {}, 10, 10),
         {{30, 20, -6}, {30, 25, -10.5}, {30, 30, -15}},
         {24, 20, 15, 30},
         {{" 4 ", {24 - 15, 20}}, {" 10 ", {15 - 15, 30}}}},
        // 5 up to 10 down: the arrows before the zero stand below, pointing
        // up, and so does the value 5, as far as a label below an upward row.
        {"changing sign",
         Spread(kDownward, 5, 1, {}, 15, -10),
         {{100, 50, 7.5}, {110, 50, -7.5}, {115, 50, -15}},
         {100, 57.5, 115, 35},
         {{" 5 ", {100, 57.5 + 3}}, {" 10 ", {115, 35 - 10}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PictureModel m = ThreeMembers();
        m.model.Loads.Append(c.load);
        RecordingCanvas canvas;
        DrawDistributedLoads(m.model, canvas);
        const auto arrows = SpanArrows(canvas, IsVerticalDirection(c.load.Direction));
        ASSERT_EQ(arrows.size(), c.arrows.size());
        for (std::size_t k = 0; k < arrows.size(); ++k) {
            ExpectAt({arrows[k].x, arrows[k].y}, {c.arrows[k].x, c.arrows[k].y});
            EXPECT_NEAR(arrows[k].tail, c.arrows[k].tail, 1e-9) << "arrow " << k;
        }
        ExpectAt(Start(canvas.Lines().front()), {c.line[0], c.line[1]});
        ExpectAt(End(canvas.Lines().front()), {c.line[2], c.line[3]});
        const auto prints = canvas.Prints();
        ASSERT_EQ(prints.size(), c.labels.size());
        for (std::size_t k = 0; k < prints.size(); ++k) {
            EXPECT_EQ(prints[k].text, c.labels[k].first);
            ExpectAt(Start(prints[k]), c.labels[k].second);
        }
    }
}

// ---- All passes ---------------------------------------------------------------

TEST(DrawingPassesTest, NumbersOutsideTheTablesAreSkippedAndTheRestIsDrawn)
{
    PictureModel m;
    const auto a = m.Node(10, 10, kHingedJoint);
    const auto b = m.Node(60, 10, kRigidJoint);
    m.Member(a, b);
    Element broken;
    broken.INode = 1;
    broken.JNode = 7;
    broken.Length = 1;
    m.model.Elements.Append(broken);  // element 2
    broken.INode = -3;
    broken.JNode = 2;
    m.model.Elements.Append(broken);  // element 3
    m.SupportAt(9, kPinSupport, kBelowNode);
    m.SupportAt(b, kFixedSupport, kAboveNode);
    m.LoadOn(kConcentratedLoad, 1, kUpward, 40, 0);
    m.LoadOn(kConcentratedLoad, 1, kUpward, b, 0);
    m.LoadOn(kDistributedLoad, 1, kDownward, 0, 2);
    m.LoadOn(kDistributedLoad, 1, kDownward, 0, 3);
    m.LoadOn(kDistributedLoad, 1, kDownward, 0, 30);
    m.LoadOn(kDistributedLoad, 1, kDownward, 0, -1);
    m.LoadOn(kDistributedLoad, 1, kDownward, 0, 1);
    m.LoadOn(kCouple, 1, kClockwise, 7, 2);
    m.LoadOn(kCouple, 1, kClockwise, 2, 3);

    RecordingCanvas canvas;
    DrawMembers(m.model, canvas, MemberLabels::Shown);
    EXPECT_EQ(canvas.Lines().size(), 1u);
    EXPECT_EQ(canvas.Prints().size(), 1u);

    canvas.ops.clear();
    DrawSupports(m.model, canvas);
    EXPECT_EQ(canvas.Lines().size(), 4u) << "the fixed support at node 2";
    EXPECT_TRUE(canvas.Circles().empty());

    canvas.ops.clear();
    DrawConcentratedLoads(m.model, canvas);
    EXPECT_EQ(canvas.Prints().size(), 1u);

    canvas.ops.clear();
    DrawDistributedLoads(m.model, canvas);
    EXPECT_EQ(canvas.Prints().size(), 11u) << "only the load on element 1";

    canvas.ops.clear();
    DrawCouples(m.model, canvas);
    EXPECT_EQ(canvas.Circles().size(), 1u) << "node 2's couple at the node; its element is broken";
}

TEST(DrawingPassesTest, EachPassLeavesTheStateItSetAndKeepsTheRest)
{
    PictureModel m;
    const auto a = m.Node(10, 10, kHingedJoint);
    const auto b = m.Node(60, 10, kRigidJoint);
    m.Member(a, b);
    m.SupportAt(b, kFixedSupport, kAboveNode);
    m.LoadOn(kConcentratedLoad, 1, kUpward, b, 0);
    m.LoadOn(kDistributedLoad, 1, kDownward, 0, 1);
    m.LoadOn(kCouple, 1, kClockwise, b, 0);

    RecordingCanvas canvas;
    canvas.SetForeColor(kMagenta);
    canvas.SetCurrent(3, 4);
    DrawNodeNumbers(m.model, canvas);
    EXPECT_EQ(canvas.ForeColor(), kBlack);
    EXPECT_EQ(canvas.DrawWidth(), 1);

    canvas.SetDrawWidth(5);
    DrawMembers(m.model, canvas, MemberLabels::Shown);
    EXPECT_EQ(canvas.ForeColor(), kBlack);
    EXPECT_EQ(canvas.DrawWidth(), 1);
    EXPECT_EQ(canvas.FillStyle(), kFillSolid);
    EXPECT_EQ(canvas.FillColor(), kLightGrey);

    canvas.SetFillColor(kMagenta);
    DrawSupports(m.model, canvas);
    EXPECT_EQ(canvas.ForeColor(), kRed);
    EXPECT_EQ(canvas.DrawWidth(), 1);
    EXPECT_EQ(canvas.FillColor(), kMagenta) << "a fixed support draws no circle";

    DrawConcentratedLoads(m.model, canvas);
    EXPECT_EQ(canvas.ForeColor(), kBlue);
    EXPECT_EQ(canvas.DrawWidth(), 2);

    DrawDistributedLoads(m.model, canvas);
    EXPECT_EQ(canvas.DrawWidth(), 1);

    canvas.SetDrawWidth(2);
    DrawCouples(m.model, canvas);
    EXPECT_EQ(canvas.ForeColor(), kBlue);
    EXPECT_EQ(canvas.DrawWidth(), 1);
    EXPECT_EQ(canvas.FillColor(), kMagenta) << "loads never touch the fill";
    EXPECT_EQ(canvas.FillStyle(), kFillSolid);
    // The couple's label was the last thing placed.
    EXPECT_DOUBLE_EQ(canvas.CurrentX(), 60);
    EXPECT_DOUBLE_EQ(canvas.CurrentY(), 18);
}

// What the picture shows: the operations after the last Cls.
std::vector<CanvasOp> Showing(const std::vector<CanvasOp>& ops)
{
    auto cls = std::find_if(ops.rbegin(), ops.rend(), [](const CanvasOp& op) { return op.kind == Kind::Cls; });
    return {cls.base(), ops.end()};
}

// The window grown from 267 x 267 to 534 x 400 units: the picture drawn again
// is what the same drawing gives on a picture of the new size from the start.
TEST(RedrawPictureTest, DrawsTheLayersShownSinceTheLastClearAgainFittedToTheNewSize)
{
    using Draw = void (*)(StructureModel&, Canvas&);
    const struct {
        const char* name;
        Draw draw;
    } cases[] = {
        {"every committed layer", DrawCommittedLayers},
        {"nodes committed again over the whole structure",
         [](StructureModel& model, Canvas& canvas) {
             DrawCommittedLayers(model, canvas);
             FitModelToPicture(model, canvas);
             DrawNodeNumbers(model, canvas);
         }},
        {"members in the colour set before their pass",
         [](StructureModel& model, Canvas& canvas) {
             FitModelToPicture(model, canvas);
             DrawNodeNumbers(model, canvas);
             canvas.SetForeColor(kMagenta);
             DrawMembers(model, canvas, MemberLabels::Hidden);
         }},
        {"cleared after drawing",
         [](StructureModel& model, Canvas& canvas) {
             DrawCommittedLayers(model, canvas);
             canvas.Cls();
         }},
        {"nothing drawn", [](StructureModel&, Canvas&) {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StructureModel model;
        BuildSampleFrame(model);
        StructureModel fresh = model;
        RecordingCanvas canvas;
        c.draw(model, canvas);
        const std::vector<CanvasOp> first = canvas.ops;
        canvas.SetScaleSize(534.0, 400.0);
        canvas.ops.clear();
        RedrawPicture(model, canvas);

        RecordingCanvas expected(534.0, 400.0);
        c.draw(fresh, expected);
        EXPECT_EQ(Showing(canvas.ops), Showing(expected.ops));
        EXPECT_EQ(canvas.ForeColor(), expected.ForeColor());
        EXPECT_EQ(canvas.DrawWidth(), expected.DrawWidth());
        if (Showing(expected.ops).empty()) {
            EXPECT_TRUE(canvas.ops.empty());
            continue;
        }
        EXPECT_EQ(canvas.ops.front().kind, Kind::Cls);
        EXPECT_DOUBLE_EQ(model.DrawScale, fresh.DrawScale);
        EXPECT_NE(Showing(canvas.ops), Showing(first));

        // Drawn again, the picture keeps its layers for the next size.
        canvas.SetScaleSize(267.0, 267.0);
        canvas.ops.clear();
        RedrawPicture(model, canvas);
        EXPECT_EQ(Showing(canvas.ops), Showing(first));
    }
}

}  // namespace
}  // namespace tavrin
