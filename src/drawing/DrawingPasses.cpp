#include "drawing/DrawingPasses.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "model/LoadSpan.h"
#include "model/NumberText.h"
#include "model/Vocabulary.h"

namespace tavrin {

namespace {

// An offset from a reference point, picture units, y downward.
struct Offset {
    double dx = 0.0;
    double dy = 0.0;
};

// ---- Frame: fitting and the member layer -----------------------------------

// Share of the picture's width and height that the nodes' bounding box may take.
constexpr double kFitShare = 0.6;
constexpr int kMemberWidth = 2;
constexpr int kDetailWidth = 1;

struct NodeBox {
    float xmin, xmax, ymin, ymax;
};

// Starts from node 1 and widens over the rest; the table must not be empty.
NodeBox BoundingBox(const OneBasedTable<Node>& nodes)
{
    const Node& first = nodes.at(1);
    NodeBox box{first.X, first.X, first.Y, first.Y};
    for (const Node& node : nodes) {
        if (node.X > box.xmax)
            box.xmax = node.X;
        if (node.X < box.xmin)
            box.xmin = node.X;
        if (node.Y > box.ymax)
            box.ymax = node.Y;
        if (node.Y < box.ymin)
            box.ymin = node.Y;
    }
    return box;
}

// Factor that maps `span` model units onto kFitShare of `extent` picture
// units; 0 when the span is empty, or so small that the factor is no 32-bit
// number (nodes 1e-40 apart), so that such an axis never decides the scale
// and no picture point becomes 0 times infinity.
float FitFactor(double extent, float span)
{
    if (span == 0.0f)
        return 0.0f;
    const auto factor = static_cast<float>(extent * kFitShare / static_cast<double>(span));
    return std::isfinite(factor) ? factor : 0.0f;
}

void DrawHingeCircle(Canvas& canvas, double x, double y)
{
    canvas.Circle(x, y, kHingeRadius);
}

// ---- Supports ---------------------------------------------------------------

enum class StrokeKind : std::uint8_t { Line, Pin, NodeCircle };

// One stroke of a support symbol, relative to the node. A Line runs from
// (x1, y1) to (x2, y2). A Pin is a hinge circle at (x1, y1) drawn with the
// fill state in force. A NodeCircle is the hinge circle that marks the node
// itself, drawn last with a solid light-grey fill; it stands at (x1, y1) when
// the node is a rigid joint (so that the joint's rigid look stays visible
// beside the support) and on the node otherwise.
struct Stroke {
    StrokeKind kind = StrokeKind::Line;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

constexpr Stroke L(double x1, double y1, double x2, double y2)
{
    return {StrokeKind::Line, x1, y1, x2, y2};
}
constexpr Stroke P(double x, double y)
{
    return {StrokeKind::Pin, x, y, 0, 0};
}
constexpr Stroke N(double x, double y)
{
    return {StrokeKind::NodeCircle, x, y, 0, 0};
}

constexpr std::size_t kMaxStrokes = 11;

struct SupportSymbol {
    std::string_view type;
    std::string_view direction;
    std::size_t count;
    std::array<Stroke, kMaxStrokes> strokes;
};

// Roller: link, pin, base, hatch on the ground side, node circle. The roller
// below the node is shorter: its pin rests on the base. Fixed: a base through
// the node and its hatch, on the side opposite the named one. Pin support:
// two links, two pins, base, five hatch strokes, node circle.
constexpr std::array<SupportSymbol, 12> kSupportSymbols{{
    {kRollerSupport,
     kLeftOfNode,
     7,
     {L(-1, 0, -9, 0), P(-11, 0), L(-13, -5, -13, 5), L(-13, -3, -15, -1), L(-13, 0, -15, 2), L(-13, 3, -15, 5),
      N(-2, 0)}},
    {kRollerSupport,
     kRightOfNode,
     7,
     {L(1, 0, 9, 0), P(11, 0), L(13, -5, 13, 5), L(13, -3, 15, -1), L(13, 0, 15, 2), L(13, 3, 15, 5), N(2, 0)}},
    {kRollerSupport,
     kBelowNode,
     7,
     {L(0, 1, 0, 11), P(0, 9), L(-5, 11, 5, 11), L(-3, 11, -5, 13), L(0, 11, -2, 13), L(3, 11, 1, 13), N(0, 2)}},
    {kRollerSupport,
     kAboveNode,
     7,
     {L(0, -1, 0, -9), P(0, -11), L(-5, -13, 5, -13), L(-3, -13, -5, -15), L(0, -13, -2, -15), L(3, -13, 1, -15),
      N(0, -2)}},
    {kFixedSupport, kAboveNode, 4, {L(-5, 0, 5, 0), L(-3, 0, -5, 2), L(0, 0, -2, 2), L(3, 0, 1, 2)}},
    {kFixedSupport, kBelowNode, 4, {L(-5, 0, 5, 0), L(-3, 0, -5, -2), L(0, 0, -2, -2), L(3, 0, 1, -2)}},
    {kFixedSupport, kRightOfNode, 4, {L(0, -5, 0, 5), L(0, -3, -2, -1), L(0, 0, -2, 2), L(0, 3, -2, 5)}},
    {kFixedSupport, kLeftOfNode, 4, {L(0, -5, 0, 5), L(0, -3, 2, -1), L(0, 0, 2, 2), L(0, 3, 2, 5)}},
    {kPinSupport,
     kBelowNode,
     11,
     {L(-1, 1, -5, 9), L(1, 1, 5, 9), P(-6, 10), P(6, 10), L(-8, 12, 8, 12), L(-6, 12, -8, 14), L(-3, 12, -5, 14),
      L(0, 12, -2, 14), L(3, 12, 1, 14), L(6, 12, 4, 14), N(0, 0)}},
    {kPinSupport,
     kAboveNode,
     11,
     {L(-1, -1, -5, -9), L(1, -1, 5, -9), P(-6, -10), P(6, -10), L(-8, -12, 8, -12), L(-6, -12, -8, -14),
      L(-3, -12, -5, -14), L(0, -12, -2, -14), L(3, -12, 1, -14), L(6, -12, 4, -14), N(0, 0)}},
    {kPinSupport,
     kRightOfNode,
     11,
     {L(1, -1, 9, -5), L(1, 1, 9, 5), P(10, -6), P(10, 6), L(12, -8, 12, 8), L(12, -6, 14, -8), L(12, -3, 14, -5),
      L(12, 0, 14, -2), L(12, 3, 14, 1), L(12, 6, 14, 4), N(0, 0)}},
    {kPinSupport,
     kLeftOfNode,
     11,
     {L(-1, -1, -9, -5), L(-1, 1, -9, 5), P(-10, -6), P(-10, 6), L(-12, -8, -12, 8), L(-12, -6, -14, -4),
      L(-12, -3, -14, -1), L(-12, 0, -14, 2), L(-12, 3, -14, 5), L(-12, 6, -14, 8), N(0, 0)}},
}};

const SupportSymbol* FindSupportSymbol(const Support& support)
{
    for (const SupportSymbol& symbol : kSupportSymbols)
        if (symbol.type == support.SupportType && symbol.direction == support.Direction)
            return &symbol;
    return nullptr;
}

void DrawStroke(Canvas& canvas, double x, double y, bool rigidNode, const Stroke& stroke)
{
    switch (stroke.kind) {
        case StrokeKind::Line:
            canvas.Line(x + stroke.x1, y + stroke.y1, x + stroke.x2, y + stroke.y2);
            break;
        case StrokeKind::Pin:
            canvas.Circle(x + stroke.x1, y + stroke.y1, kHingeRadius);
            break;
        case StrokeKind::NodeCircle:
            canvas.SetFillStyle(kFillSolid);
            canvas.SetFillColor(kLightGrey);
            if (rigidNode)
                canvas.Circle(x + stroke.x1, y + stroke.y1, kHingeRadius);
            else
                canvas.Circle(x, y, kHingeRadius);
            break;
    }
}

// ---- Loads ------------------------------------------------------------------

// Magnitude label of a concentrated force or a couple: "0.##" of |Magnitude|.
std::string ForceLabel(float magnitude)
{
    return FormatForce(std::fabs(static_cast<double>(magnitude)));
}

// Magnitude label of a distributed load: the digits "0.##" prints for
// |Magnitude|, between blanks and without the point of a whole number, so 10
// reads " 10 " and 20000000 reads " 20000000 ", never in exponent form.
std::string IntensityLabel(float magnitude)
{
    std::string digits = ForceLabel(magnitude);
    if (digits.ends_with('.'))
        digits.pop_back();
    return " " + digits + " ";
}

// An arrow whose tip is at the node: shaft from the tip back to `tail`, two
// barbs from `barb1` and `barb2` to the tip, label at `label`.
struct ForceArrow {
    std::string_view direction;
    Offset tail, barb1, barb2, label;
};

// The arrow stands on the side the force comes from. The label of a
// rightward force starts 10 units beyond the tail so that it clears it.
constexpr std::array<ForceArrow, 4> kForceArrows{{
    {kUpward, {0, 10}, {-1, 2}, {1, 2}, {0, 10}},
    {kDownward, {0, -10}, {-1, -2}, {1, -2}, {0, -10}},
    {kLeftward, {10, 0}, {2, -1}, {2, 1}, {10, 0}},
    {kRightward, {-10, 0}, {-2, -1}, {-2, 1}, {-20, 0}},
}};

constexpr int kConcentratedWidth = 2;

// The arrow of a concentrated force with its tip at (X, Y); none for a
// direction that is no force direction.
void DrawForceArrow(Canvas& canvas, double X, double Y, const Load& load)
{
    for (const ForceArrow& arrow : kForceArrows) {
        if (arrow.direction != load.Direction)
            continue;
        canvas.Line(X, Y, X + arrow.tail.dx, Y + arrow.tail.dy);
        canvas.Line(X + arrow.barb1.dx, Y + arrow.barb1.dy, X, Y);
        canvas.Line(X + arrow.barb2.dx, Y + arrow.barb2.dy, X, Y);
        canvas.SetCurrent(X + arrow.label.dx, Y + arrow.label.dy);
        canvas.Print(ForceLabel(load.Magnitude));
        return;
    }
}

// A distributed load is a row of arrows 5 units apart over one projection of
// the member, starting at end i. In the (u, v) frame of the row, u runs along
// the projection and v across it; `side` is +1 when the arrows stand on the
// larger-v side of the member and point back at it.
struct LoadRowStyle {
    std::string_view direction;
    bool horizontalProjection;  // u = x for vertical loads, u = y for horizontal ones
    double side;
    double labelAcross;  // label's v offset from end i
};

constexpr std::array<LoadRowStyle, 4> kLoadRowStyles{{
    {kUpward, true, 1.0, 8.0},
    {kDownward, true, -1.0, -15.0},
    {kLeftward, false, 1.0, 8.0},
    {kRightward, false, -1.0, -20.0},
}};

constexpr double kArrowSpacing = 5.0;
constexpr double kRowDepth = 5.0;     // length of every arrow of a uniform row
constexpr double kLabelAlong = 15.0;  // label's u offset from the projection's midpoint
// A row longer than this many spacings cannot come from a fitted picture;
// refusing it keeps a broken transform (infinite coordinates) from looping.
constexpr float kMaxArrowSteps = 100000.0f;

// Line between two (u, v) points of a load row.
void RowLine(Canvas& canvas, bool horizontal, double u1, double v1, double u2, double v2)
{
    if (horizontal)
        canvas.Line(u1, v1, u2, v2);
    else
        canvas.Line(v1, u1, v2, u2);
}

void DrawLoadRow(Canvas& canvas, const LoadRowStyle& style, double X1, double Y1, double X2, double Y2,
                 const std::string& label)
{
    const bool h = style.horizontalProjection;
    const double U1 = h ? X1 : Y1;
    const double U2 = h ? X2 : Y2;
    const double V1 = h ? Y1 : X1;
    const double s = style.side;
    const float steps = static_cast<float>(std::fabs(U2 - U1) / kArrowSpacing);
    if (!(steps <= kMaxArrowSteps))
        return;
    const double labelU = (U1 + U2) / 2.0 + kLabelAlong;
    const double labelV = V1 + style.labelAcross;
    for (int k = 0; static_cast<float>(k) <= steps; ++k) {
        const double u = U2 > U1 ? U1 + kArrowSpacing * k : U1 - kArrowSpacing * k;
        RowLine(canvas, h, U1, V1 + kRowDepth * s, U2, V1 + kRowDepth * s);
        RowLine(canvas, h, u, V1, u, V1 + kRowDepth * s);
        RowLine(canvas, h, u - 1.0, V1 + 2.0 * s, u, V1);
        RowLine(canvas, h, u + 1.0, V1 + 2.0 * s, u, V1);
        if (h)
            canvas.SetCurrent(labelU, labelV);
        else
            canvas.SetCurrent(labelV, labelU);
        canvas.Print(label);
    }
}

// A couple: an arc of radius 6 about `centre` (relative to the reference
// point), drawn counter-clockwise from `start` to `end`; an arrow head of two
// barbs drawn from the tip (relative to the arc centre); the label (relative
// to the reference point).
constexpr double kCoupleRadius = 6.0;

struct ArrowHead {
    Offset tip, barb1, barb2;
};

void DrawCoupleSymbol(Canvas& canvas, double x, double y, Offset centre, double start, double end,
                      const ArrowHead& head, Offset label, const std::string& text)
{
    const double ax = x + centre.dx;
    const double ay = y + centre.dy;
    canvas.Circle(ax, ay, kCoupleRadius, start, end);
    canvas.Line(ax + head.tip.dx, ay + head.tip.dy, ax + head.barb1.dx, ay + head.barb1.dy);
    canvas.Line(ax + head.tip.dx, ay + head.tip.dy, ax + head.barb2.dx, ay + head.barb2.dy);
    canvas.SetCurrent(x + label.dx, y + label.dy);
    canvas.Print(text);
}

// A couple at a rigid or free node, centred on it; the negative angle also
// draws the radius to that end of the arc. The head sits at the bottom.
struct NodeCoupleSymbol {
    std::string_view direction;
    double start, end;
    ArrowHead head;
};

constexpr std::array<NodeCoupleSymbol, 2> kNodeCouples{{
    {kClockwise, 4.71, -0.755, {{0, 5}, {2, 3}, {3, 7}}},
    {kCounterClockwise, -2.33, 4.71, {{0, 5}, {-2, 3}, {-3, 7}}},
}};
constexpr Offset kNodeCoupleLabel{0, 8};

// Member-end couples stand beside the loaded end on the member's side: a
// right half-circle on members that are not vertical in the picture, an
// upper half-circle on vertical ones.
enum class MemberRun : std::uint8_t { Rightward, Leftward, Downward, Upward };

struct EndCoupleRow {
    MemberRun run;
    bool atEndI;
    Offset centre;  // from the loaded end
    Offset clockwiseLabel, counterClockwiseLabel;
};

constexpr std::array<EndCoupleRow, 8> kEndCoupleRows{{
    {MemberRun::Rightward, true, {2, 0}, {2, 5}, {-1, -12}},
    {MemberRun::Rightward, false, {-8, 0}, {-8, 5}, {-5, -12}},
    {MemberRun::Leftward, true, {-8, 0}, {-8, 5}, {-5, -12}},
    {MemberRun::Leftward, false, {2, 0}, {2, 5}, {-1, -12}},
    {MemberRun::Downward, true, {0, 8}, {8, 5}, {-11, 11}},
    {MemberRun::Downward, false, {0, -2}, {8, -2}, {-9, 4}},
    {MemberRun::Upward, true, {0, -2}, {8, -2}, {-10, 1}},
    {MemberRun::Upward, false, {0, 8}, {8, 8}, {-12, 11}},
}};

constexpr double kRightHalfStart = 4.71, kRightHalfEnd = 1.51;
constexpr double kUpperHalfStart = 0.0, kUpperHalfEnd = 3.14;
constexpr ArrowHead kRightHalfClockwise{{0, 5}, {2, 3}, {3, 7}};
constexpr ArrowHead kRightHalfCounterClockwise{{0, -5}, {2, -3}, {3, -7}};
constexpr ArrowHead kUpperHalfClockwise{{6, 0}, {3, -2}, {8, -3}};
constexpr ArrowHead kUpperHalfCounterClockwise{{-6, 0}, {-3, -2}, {-8, -3}};

bool Runs(MemberRun run, double XI, double YI, double XJ, double YJ)
{
    switch (run) {
        case MemberRun::Rightward:
            return XJ > XI;
        case MemberRun::Leftward:
            return XJ < XI;
        case MemberRun::Downward:
            return YJ > YI;
        case MemberRun::Upward:
            return YJ < YI;
    }
    return false;
}

// Picture positions of both ends of element e; false when e or one of its
// nodes lies outside its table.
bool ElementEnds(const StructureModel& model, long e, double& XI, double& YI, double& XJ, double& YJ)
{
    const Element* element = model.Elements.Find(e);
    return element && model.NodePicturePoint(element->INode, XI, YI) && model.NodePicturePoint(element->JNode, XJ, YJ);
}

// The couple symbol of a node, centred on (X, Y).
void DrawCoupleAt(Canvas& canvas, double X, double Y, const Load& load)
{
    for (const NodeCoupleSymbol& symbol : kNodeCouples)
        if (symbol.direction == load.Direction) {
            DrawCoupleSymbol(canvas, X, Y, {0, 0}, symbol.start, symbol.end, symbol.head, kNodeCoupleLabel,
                             ForceLabel(load.Magnitude));
            return;
        }
}

void DrawNodeCouple(const StructureModel& model, Canvas& canvas, const Load& load)
{
    const Node* node = model.Nodes.Find(load.NodeNo);
    if (!node || (node->JointType != kRigidJoint && node->JointType != kFreeEnd))
        return;
    double X = 0, Y = 0;
    model.NodePicturePoint(load.NodeNo, X, Y);
    DrawCoupleAt(canvas, X, Y, load);
}

void DrawEndCouple(const StructureModel& model, Canvas& canvas, const Load& load)
{
    if (load.ElementNo == 0 || load.NodeNo == 0 || !IsCoupleDirection(load.Direction))
        return;
    double XI = 0, YI = 0, XJ = 0, YJ = 0;
    if (!ElementEnds(model, load.ElementNo, XI, YI, XJ, YJ))
        return;
    const Element& element = model.Elements.at(load.ElementNo);
    const bool clockwise = load.Direction == kClockwise;
    for (const EndCoupleRow& r : kEndCoupleRows) {
        const std::int16_t end = r.atEndI ? element.INode : element.JNode;
        if (load.NodeNo != end || !Runs(r.run, XI, YI, XJ, YJ))
            continue;
        const bool sideways = r.run == MemberRun::Rightward || r.run == MemberRun::Leftward;
        const ArrowHead& head = sideways ? (clockwise ? kRightHalfClockwise : kRightHalfCounterClockwise)
                                         : (clockwise ? kUpperHalfClockwise : kUpperHalfCounterClockwise);
        DrawCoupleSymbol(canvas, r.atEndI ? XI : XJ, r.atEndI ? YI : YJ, r.centre,
                         sideways ? kRightHalfStart : kUpperHalfStart, sideways ? kRightHalfEnd : kUpperHalfEnd, head,
                         clockwise ? r.clockwiseLabel : r.counterClockwiseLabel, ForceLabel(load.Magnitude));
        return;
    }
}

// ---- Loads between the nodes ---------------------------------------------------

struct PicturePoint {
    double X = 0.0;
    double Y = 0.0;
};

// A member as drawn: the picture positions of its ends and its length in
// model units, from the node coordinates as the statics take it.
struct DrawnMember {
    PicturePoint i, j;
    double L = 0.0;

    // The point at distance d (model units) from end i along the member.
    PicturePoint At(double d) const
    {
        const double t = d / L;
        return {i.X + t * (j.X - i.X), i.Y + t * (j.Y - i.Y)};
    }
};

// Nothing when e or one of its nodes lies outside its table, or when the
// member has no length to measure a distance along.
std::optional<DrawnMember> MemberOf(const StructureModel& model, long e)
{
    DrawnMember m;
    if (!ElementEnds(model, e, m.i.X, m.i.Y, m.j.X, m.j.Y))
        return std::nullopt;
    const Element& element = model.Elements.at(e);
    const Node& ni = model.Nodes.at(element.INode);
    const Node& nj = model.Nodes.at(element.JNode);
    m.L = std::hypot(double{nj.X} - double{ni.X}, double{nj.Y} - double{ni.Y});
    if (!(m.L > 0.0 && std::isfinite(m.L)))
        return std::nullopt;
    return m;
}

// 0 <= a <= b <= L, with the slack of a length typed to 32-bit precision, so
// that a load typed at the far end of an inclined member is still on it.
bool LiesOnMember(const LoadSpan& span, double L)
{
    const double slack = 1e-6 * L;
    return span.a >= -slack && span.a <= span.b && span.b <= L + slack;
}

// Where a force or a couple between the nodes acts; nothing when its member
// cannot be drawn or the point is not on it.
std::optional<PicturePoint> LoadPoint(const StructureModel& model, const Load& load)
{
    const std::optional<DrawnMember> member = MemberOf(model, load.ElementNo);
    if (!member)
        return std::nullopt;
    const LoadSpan span = SpanOf(load, member->L);
    if (!LiesOnMember(span, member->L))
        return std::nullopt;
    return member->At(span.a);
}

const LoadRowStyle* FindRowStyle(std::string_view direction)
{
    for (const LoadRowStyle& style : kLoadRowStyles)
        if (style.direction == direction)
            return &style;
    return nullptr;
}

// Longest arrow of a linearly varying load, at its larger end: long enough
// that the growth shows at a glance.
constexpr double kSlopedRowDepth = 15.0;

// A row from A to B in the (u, v) frame of its style.
struct RowEnds {
    double Ua, Va, Ub, Vb;

    // Share of the way from A to B at u along the projection; 0 all along
    // a row without a projection.
    double T(double u) const { return Ub == Ua ? 0.0 : (u - Ua) / (Ub - Ua); }
    // The member's v at u.
    double V(double u) const { return Va + T(u) * (Vb - Va); }
};
RowEnds InRowFrame(const LoadRowStyle& style, PicturePoint A, PicturePoint B)
{
    if (style.horizontalProjection)
        return {A.X, A.Y, B.X, B.Y};
    return {A.Y, A.X, B.Y, B.X};
}

// A load row whose intensity varies linearly from qa at its start to qb at
// its end (not both 0). The arrows stand kArrowSpacing apart along the
// projection from the start towards the end, the last one less than a
// spacing short of the end or at it, each with its tip on the member and as
// long as its intensity: `depth` at the larger end. An arrow whose intensity
// has the sign of the larger end stands on the side the load comes from, as
// a uniform row's (so the typed sign does not show, as with a uniform load);
// one of the other sign stands on the other side, and one of intensity 0 is
// left out. The load line joins the tails; a row without a projection has
// none, as on a whole member. Returns the tails' v offsets from the member at
// the start and at the end.
std::pair<double, double> DrawSpanRow(Canvas& canvas, const LoadRowStyle& style, const RowEnds& r, double qa, double qb,
                                      double depth)
{
    const bool h = style.horizontalProjection;
    const double qRef = std::fabs(qa) >= std::fabs(qb) ? qa : qb;
    const auto tail = [&](double q) { return style.side * depth * q / qRef; };
    const float steps = static_cast<float>(std::fabs(r.Ub - r.Ua) / kArrowSpacing);
    if (!(steps <= kMaxArrowSteps))
        return {tail(qa), tail(qb)};
    if (r.Ub != r.Ua)
        RowLine(canvas, h, r.Ua, r.Va + tail(qa), r.Ub, r.Vb + tail(qb));
    for (int k = 0; static_cast<float>(k) <= steps; ++k) {
        const double u = r.Ub > r.Ua ? r.Ua + kArrowSpacing * k : r.Ua - kArrowSpacing * k;
        const double v = r.V(u);
        const double w = tail(qa + r.T(u) * (qb - qa));
        if (w == 0.0)
            continue;
        const double barb = std::copysign(2.0, w);
        RowLine(canvas, h, u, v, u, v + w);
        RowLine(canvas, h, u - 1.0, v + barb, u, v);
        RowLine(canvas, h, u + 1.0, v + barb, u, v);
    }
    return {tail(qa), tail(qb)};
}

// The v offset of an end label from the member: beyond the end's tail as far
// as a uniform row's label is beyond its tails, on the side the tail is on
// (the side the load comes from where there is no arrow).
double EndLabelAcross(const LoadRowStyle& style, double tail)
{
    const double side = tail == 0.0 ? style.side : std::copysign(1.0, tail);
    for (const LoadRowStyle& other : kLoadRowStyles)
        if (other.horizontalProjection == style.horizontalProjection && other.side == side)
            return tail + other.labelAcross - kRowDepth * side;
    return tail;
}

void PrintInRow(Canvas& canvas, const LoadRowStyle& style, double u, double v, const std::string& text)
{
    if (style.horizontalProjection)
        canvas.SetCurrent(u, v);
    else
        canvas.SetCurrent(v, u);
    canvas.Print(text);
}

// A distributed load over [a, b] of its member: a uniform one as the row of
// a whole member with its label, as far across from the member as there (so
// clear of the row on an inclined member too), a linearly varying one with the intensity
// at each end printed beyond that end's tail.
void DrawSpanLoad(const StructureModel& model, Canvas& canvas, const Load& load)
{
    const double qa = StartIntensity(load);
    const double qb = EndIntensity(load);
    const LoadRowStyle* style = FindRowStyle(load.Direction);
    const std::optional<DrawnMember> member = MemberOf(model, load.ElementNo);
    if ((qa == 0.0 && qb == 0.0) || !style || !member)
        return;
    const LoadSpan span = SpanOf(load, member->L);
    if (!LiesOnMember(span, member->L))
        return;
    const RowEnds r = InRowFrame(*style, member->At(span.a), member->At(span.b));
    if (qa == qb) {
        DrawSpanRow(canvas, *style, r, qa, qb, kRowDepth);
        const double labelU = (r.Ua + r.Ub) / 2.0 + kLabelAlong;
        PrintInRow(canvas, *style, labelU, r.V(labelU) + style->labelAcross, IntensityLabel(load.Magnitude));
        return;
    }
    const auto [tailA, tailB] = DrawSpanRow(canvas, *style, r, qa, qb, kSlopedRowDepth);
    PrintInRow(canvas, *style, r.Ua, r.Va + EndLabelAcross(*style, tailA), IntensityLabel(static_cast<float>(qa)));
    PrintInRow(canvas, *style, r.Ub, r.Vb + EndLabelAcross(*style, tailB), IntensityLabel(static_cast<float>(qb)));
}

}  // namespace

void FitModelToPicture(StructureModel& model, const Canvas& canvas)
{
    const double width = canvas.ScaleWidth();
    const double height = canvas.ScaleHeight();
    if (model.Nodes.Empty()) {
        // Nothing to fit: keep the picture's centre as the origin.
        model.DrawScale = 0.0;
        model.ModelMinX = 0.0;
        model.ModelMinY = 0.0;
        model.DrawOriginX = width / 2.0;
        model.DrawOriginY = height / 2.0;
        return;
    }
    const NodeBox box = BoundingBox(model.Nodes);
    const float spanX = box.xmax - box.xmin;
    const float spanY = box.ymax - box.ymin;
    const float sx = FitFactor(width, spanX);
    const float sy = FitFactor(height, spanY);
    // The smaller non-zero factor keeps both axes inside the picture.
    model.DrawScale = (sx != 0.0f && (sx <= sy || sy == 0.0f)) ? sx : sy;
    model.ModelMinX = box.xmin;
    model.ModelMinY = box.ymin;
    model.DrawOriginX = width / 2.0 - static_cast<double>(spanX) * model.DrawScale / 2.0;
    model.DrawOriginY = static_cast<double>(spanY) * model.DrawScale / 2.0 + height / 2.0;
}

void DrawNodeNumbers(const StructureModel& model, Canvas& canvas)
{
    canvas.SetCaption(kStructurePictureCaption);
    canvas.Cls();
    canvas.AddLayer([&model](Canvas& again) { DrawNodeNumbers(model, again); });
    canvas.SetForeColor(kBlack);
    for (long n = 1; n <= model.NodeCount(); ++n) {
        double X = 0, Y = 0;
        model.NodePicturePoint(n, X, Y);
        canvas.SetCurrent(X, Y);
        canvas.Print(PrintedNumber(model.Nodes.at(n).Number));
    }
}

void DrawMembers(const StructureModel& model, Canvas& canvas, MemberLabels WithLabels)
{
    canvas.AddLayer([&model, WithLabels](Canvas& again) { DrawMembers(model, again, WithLabels); });
    canvas.SetCaption(kStructurePictureCaption);
    canvas.SetFillColor(kCyan);
    for (const Element& element : model.Elements) {
        double Xi = 0, Yi = 0, Xj = 0, Yj = 0;
        if (!model.NodePicturePoint(element.INode, Xi, Yi) || !model.NodePicturePoint(element.JNode, Xj, Yj))
            continue;
        canvas.SetDrawWidth(kMemberWidth);
        canvas.Line(Xi, Yi, Xj, Yj);
        if (model.Nodes.at(element.INode).JointType == kHingedJoint) {
            canvas.SetFillStyle(kFillSolid);
            canvas.SetFillColor(kLightGrey);
            canvas.SetDrawWidth(kDetailWidth);
            DrawHingeCircle(canvas, Xi, Yi);
        }
        if (model.Nodes.at(element.JNode).JointType == kHingedJoint) {
            canvas.SetDrawWidth(kDetailWidth);
            canvas.SetFillStyle(kFillSolid);
            canvas.SetFillColor(kLightGrey);
            DrawHingeCircle(canvas, Xj, Yj);
        }
        if (WithLabels == MemberLabels::Shown) {
            // The midpoint from the geometry stored at the element commit.
            const double half = static_cast<double>(element.Length / 2.0f) * model.DrawScale;
            canvas.SetCurrent(Xi + half * static_cast<double>(element.CosA),
                              Yi - half * static_cast<double>(element.SinA));
            canvas.Print("(" + PrintedNumber(element.Code) + ")");
        }
    }
    canvas.SetDrawWidth(kDetailWidth);
}

void DrawSupports(const StructureModel& model, Canvas& canvas)
{
    canvas.AddLayer([&model](Canvas& again) { DrawSupports(model, again); });
    canvas.SetCaption(kStructurePictureCaption);
    canvas.SetDrawWidth(kDetailWidth);
    canvas.SetForeColor(kRed);
    for (const Support& support : model.Supports) {
        double X = 0, Y = 0;
        if (!model.NodePicturePoint(support.NodeNo, X, Y))
            continue;
        const SupportSymbol* symbol = FindSupportSymbol(support);
        if (!symbol)
            continue;
        const bool rigid = model.Nodes.at(support.NodeNo).JointType == kRigidJoint;
        for (const Stroke& stroke : std::span(symbol->strokes.data(), symbol->count))
            DrawStroke(canvas, X, Y, rigid, stroke);
    }
}

void DrawConcentratedLoads(const StructureModel& model, Canvas& canvas)
{
    canvas.AddLayer([&model](Canvas& again) { DrawConcentratedLoads(model, again); });
    canvas.SetCaption(kStructurePictureCaption);
    canvas.SetDrawWidth(kConcentratedWidth);
    canvas.SetForeColor(kBlue);
    for (const Load& load : model.Loads) {
        if (load.Magnitude == 0.0f || load.LoadType != kConcentratedLoad)
            continue;
        if (ActsBetweenNodes(load)) {
            if (const std::optional<PicturePoint> P = LoadPoint(model, load))
                DrawForceArrow(canvas, P->X, P->Y, load);
            continue;
        }
        double X = 0, Y = 0;
        if (model.NodePicturePoint(load.NodeNo, X, Y))
            DrawForceArrow(canvas, X, Y, load);
    }
}

void DrawDistributedLoads(const StructureModel& model, Canvas& canvas)
{
    canvas.AddLayer([&model](Canvas& again) { DrawDistributedLoads(model, again); });
    canvas.SetCaption(kStructurePictureCaption);
    canvas.SetDrawWidth(kDetailWidth);
    canvas.SetForeColor(kBlue);
    for (const Load& load : model.Loads) {
        if (load.LoadType != kDistributedLoad)
            continue;
        if (ActsBetweenNodes(load)) {
            DrawSpanLoad(model, canvas, load);
            continue;
        }
        if (load.Magnitude == 0.0f)
            continue;
        double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
        if (!ElementEnds(model, load.ElementNo, X1, Y1, X2, Y2))
            continue;
        for (const LoadRowStyle& style : kLoadRowStyles)
            if (style.direction == load.Direction) {
                DrawLoadRow(canvas, style, X1, Y1, X2, Y2, IntensityLabel(load.Magnitude));
                break;
            }
    }
}

void DrawCouples(const StructureModel& model, Canvas& canvas)
{
    canvas.AddLayer([&model](Canvas& again) { DrawCouples(model, again); });
    canvas.SetCaption(kStructurePictureCaption);
    canvas.SetDrawWidth(kDetailWidth);
    canvas.SetForeColor(kBlue);
    for (const Load& load : model.Loads) {
        if (load.LoadType != kCouple)
            continue;
        if (ActsBetweenNodes(load)) {
            if (const std::optional<PicturePoint> P = LoadPoint(model, load))
                DrawCoupleAt(canvas, P->X, P->Y, load);
            continue;
        }
        DrawNodeCouple(model, canvas, load);
        DrawEndCouple(model, canvas, load);
    }
}

void RedrawPicture(StructureModel& model, Canvas& canvas)
{
    if (!canvas.HasLayers())
        return;
    FitModelToPicture(model, canvas);
    canvas.DrawLayersAgain();
}

}  // namespace tavrin
