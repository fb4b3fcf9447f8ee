#include "diagrams/InternalForceDiagrams.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "analysis/Statics.h"
#include "drawing/DrawingPasses.h"
#include "drawing/PictureLayout.h"
#include "model/CellReading.h"
#include "model/NumberText.h"
#include "solution/FrameStatics.h"
#include "solution/MemberLoad.h"

namespace tavrin {

namespace {

// How one diagram differs from the others: how it labels its end values and
// when it joins their tips.
// Which force a diagram draws, for the curve of a member loaded between its
// nodes.
enum class DiagramForce { Moment, Shear, Axial };

struct DiagramRule {
    bool absoluteLabels;    // moments are labelled by size, the side shows the sign
    bool tipLineAlways;     // shear joins the tips even when both ends are 0
    bool distributedLoads;  // parabola of the member's distributed loads
    DiagramForce force;
};

constexpr DiagramRule kMomentRule{true, false, true, DiagramForce::Moment};
constexpr DiagramRule kShearRule{false, true, false, DiagramForce::Shear};
constexpr DiagramRule kAxialRule{false, false, false, DiagramForce::Axial};

// The two end values of one member as the diagram plots them.
struct EndValues {
    float i = 0.0f;
    float j = 0.0f;
};

// What one picture plots: per member its two end values, and for the moment
// diagram the distributed loads whose parabola hangs from the line between
// their tips. A member beyond `ends` is not drawn; one beyond `loads` carries
// no parabola.
struct DiagramPlot {
    std::string caption;
    OneBasedTable<EndValues> ends;
    OneBasedTable<DistributedIntensity> loads;
    // Entry e - 1: the loads on member e; a member loaded between its nodes
    // is drawn as the curve of its force, not from its end values alone.
    std::vector<MemberLoad> members;
};

// Beyond this many 2-unit steps (a member millions of picture units long,
// which only an inconsistent transform can produce) the step widens instead
// of the loop running on.
constexpr long kMaxParabolaSegments = 1L << 20;

struct Point {
    double x = 0.0;
    double y = 0.0;
};

Point Between(Point a, Point b, double t)
{
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

// The point `amount` picture units off `base` to the left of the member seen
// from i to j: A = (SinA, CosA) taken from x and y, picture y downward.
Point Offset(Point base, double amount, const Element& e)
{
    return {base.x - amount * static_cast<double>(e.SinA), base.y - amount * static_cast<double>(e.CosA)};
}

void LineTo(Canvas& canvas, Point a, Point b)
{
    canvas.Line(a.x, a.y, b.x, b.y);
}

// Moment of the simply supported member under the loads' projections at the
// fraction t of its length from end i (the member load's own formula); a
// downward load on a horizontal member hangs below.
double LoadMoment(const DistributedIntensity& q, const Element& e, double t)
{
    return UniformLoadMomentBeyondChord(e.Length, e.SinA, e.CosA, q.qh, q.qv, t);
}

// One member as the diagram sees it: its end points in the picture and its
// two end values. Absent for a member that cannot be drawn: an end node
// outside the node table, no end values, or a direction or value that is not
// a number.
struct Member {
    const Element& element;
    Point Pi;
    Point Pj;
    float Fi = 0.0f;
    float Fj = 0.0f;
};

std::optional<Member> DrawableMember(const StructureModel& model, long e, const DiagramPlot& plot)
{
    const EndValues* ends = plot.ends.Find(e);
    if (ends == nullptr)
        return std::nullopt;
    const Element& element = model.Elements.at(e);
    Member m{element, {}, {}, ends->i, ends->j};
    if (!model.NodePicturePoint(element.INode, m.Pi.x, m.Pi.y) ||
        !model.NodePicturePoint(element.JNode, m.Pj.x, m.Pj.y))
        return std::nullopt;
    for (float v : {element.Length, element.SinA, element.CosA, m.Fi, m.Fj})
        if (!std::isfinite(v))
            return std::nullopt;
    return m;
}

// The distributed loads on member e; none for a member beyond the table.
DistributedIntensity LoadsOn(const DiagramPlot& plot, long e)
{
    const DistributedIntensity* q = plot.loads.Find(e);
    return q ? *q : DistributedIntensity{};
}

// The force along member e when loads act between its nodes: the end
// values joined by the loads' own part (moment beyond the chord, or the
// running shear or axial force of the loads); none otherwise.
std::optional<PiecewiseCurve> CurveOf(const DiagramRule& rule, const DiagramPlot& plot, const Member& m, long e)
{
    const auto k = static_cast<std::size_t>(e - 1);
    if (k >= plot.members.size() || !plot.members[k].AnyBetweenNodes())
        return std::nullopt;
    const MemberLoad& load = plot.members[k];
    const double L = load.L();
    switch (rule.force) {
        case DiagramForce::Moment:
            return Sum(LinearCurve(L, m.Fi, m.Fj), load.MomentBeyondChord());
        case DiagramForce::Shear:
            return load.ShearCurve({0.0, static_cast<double>(m.Fi), 0.0});
        case DiagramForce::Axial:
            return load.AxialCurve({static_cast<double>(m.Fi), 0.0, 0.0});
    }
    return std::nullopt;
}

// The largest value the diagram will draw: |end value|, and for moments on a
// loaded member also the parabola's mid-span ordinate |(Mi + Mj)/2 + m(0.5)|.
double LargestDrawnValue(const StructureModel& model, const DiagramRule& rule, const DiagramPlot& plot)
{
    double largest = 0.0;
    const auto consider = [&largest](double v) {
        if (std::isfinite(v))
            largest = std::max(largest, std::fabs(v));
    };
    for (long e = 1; e <= model.ElementCount(); ++e) {
        const std::optional<Member> m = DrawableMember(model, e, plot);
        if (!m)
            continue;
        consider(m->Fi);
        consider(m->Fj);
        if (const std::optional<PiecewiseCurve> curve = CurveOf(rule, plot, *m, e)) {
            consider(curve->LargestMagnitude().value);
            continue;
        }
        if (!rule.distributedLoads)
            continue;
        const DistributedIntensity q = LoadsOn(plot, e);
        if (q.Any())
            consider((m->Fi + m->Fj) / 2.0 + LoadMoment(q, m->element, 0.5));
    }
    return largest;
}

// Puts the largest drawn value at one tenth of the picture width.
float AutomaticScale(const StructureModel& model, const Canvas& canvas, const DiagramRule& rule,
                     const DiagramPlot& plot)
{
    const double largest = LargestDrawnValue(model, rule, plot);
    if (largest <= 1e-20)
        return 1.0f;
    return static_cast<float>(0.1 * canvas.ScaleWidth() / largest);
}

// The ordinate from the member end to its tip, with the value printed where
// the ordinate ends; a zero value gets no label.
void DrawOrdinate(Canvas& canvas, Point end, Point tip, float value, const DiagramRule& rule)
{
    LineTo(canvas, end, tip);
    if (value != 0.0f)
        canvas.Print(FormatForce(rule.absoluteLabels ? std::fabs(value) : value));
}

// The parabola hung from the line Ti→Tj in steps of 2 picture units along the
// member (t = k/h for k = 1..h, h half the member's picture length), then the
// magenta mid-span ordinate with |m(0.5)| at its middle. s is DiagramScale.
void DrawParabola(Canvas& canvas, const Member& m, Point Ti, Point Tj, double s, const DistributedIntensity& q)
{
    const Element& e = m.element;
    const float h = static_cast<float>(std::hypot(m.Pj.x - m.Pi.x, m.Pj.y - m.Pi.y)) / 2.0f;
    if (std::isfinite(h)) {
        const double wholeSteps = std::floor(static_cast<double>(h));
        const bool widened = wholeSteps > static_cast<double>(kMaxParabolaSegments);
        const long segments = widened ? kMaxParabolaSegments : static_cast<long>(wholeSteps);
        Point previous = Ti;
        for (long k = 1; k <= segments; ++k) {
            const double t = static_cast<double>(k) / (widened ? static_cast<double>(segments) : h);
            const Point next = Offset(Between(Ti, Tj, t), s * LoadMoment(q, e, t), e);
            LineTo(canvas, previous, next);
            previous = next;
        }
    }

    const double mm = LoadMoment(q, e, 0.5);
    const Point middle = Between(Ti, Tj, 0.5);
    const Point Q = Offset(middle, s * mm, e);
    canvas.Line(middle.x, middle.y, Q.x, Q.y, kMagenta);
    const Point label = Between(middle, Q, 0.5);
    canvas.SetCurrent(label.x, label.y);
    canvas.Print(FormatForce(std::fabs(mm)));
}

// A member loaded between its nodes: the end ordinates, the curve of its
// force piece by piece in steps of about 2 picture units (a jump at a load
// point drawn as an ordinate), each value labelled at the load points (both
// sides of a jump) and the largest inside a piece where it is none of them.
void DrawMemberCurve(Canvas& canvas, const DiagramRule& rule, const Member& m, const PiecewiseCurve& curve, double s)
{
    const Element& e = m.element;
    const double L = curve.Length();
    const double pictureLength = std::hypot(m.Pj.x - m.Pi.x, m.Pj.y - m.Pi.y);
    const auto base = [&](double x) { return Between(m.Pi, m.Pj, L > 0.0 ? x / L : 0.0); };
    const auto tip = [&](double x, double v) { return Offset(base(x), s * v, e); };
    const auto label = [&](double x, double v) {
        if (v == 0.0 || !std::isfinite(v))
            return;
        const Point at = tip(x, v);
        canvas.SetCurrent(at.x, at.y);
        canvas.Print(FormatForce(rule.absoluteLabels ? std::fabs(v) : v));
    };
    DrawOrdinate(canvas, m.Pi, tip(0.0, curve.AtEndI()), static_cast<float>(curve.AtEndI()), rule);
    DrawOrdinate(canvas, m.Pj, tip(L, curve.AtEndJ()), static_cast<float>(curve.AtEndJ()), rule);
    for (std::size_t k = 0; k < curve.pieces.size(); ++k) {
        const double x0 = curve.breaks[k];
        const double x1 = curve.breaks[k + 1];
        const Polynomial& p = curve.pieces[k];
        const long steps =
            std::clamp(static_cast<long>(pictureLength * (x1 - x0) / (L > 0.0 ? L : 1.0) / 2.0), 1L, 4096L);
        Point previous = tip(x0, p(x0));
        for (long n = 1; n <= steps; ++n) {
            const double x = x0 + (x1 - x0) * static_cast<double>(n) / static_cast<double>(steps);
            const Point next = tip(x, p(x));
            LineTo(canvas, previous, next);
            previous = next;
        }
        if (k > 0) {
            // The ordinate at a load point, and both values of a jump.
            const double before = curve.pieces[k - 1](x0);
            LineTo(canvas, base(x0), tip(x0, p(x0)));
            label(x0, p(x0));
            if (std::fabs(before - p(x0)) > 1e-9 * (std::fabs(before) + std::fabs(p(x0))))
                label(x0, before);
        }
        // The extreme inside the piece.
        const PiecewiseCurve::Extreme inside = PiecewiseCurve{{x0, x1}, {p}}.LargestMagnitude();
        if (inside.x > x0 && inside.x < x1) {
            LineTo(canvas, base(inside.x), tip(inside.x, inside.value));
            label(inside.x, inside.value);
        }
    }
}

// Shear and axial forces join the tips first, the moment diagram after its
// ordinates, so that the magenta line of a loaded member lies on top of them.
void DrawMemberDiagram(Canvas& canvas, const DiagramRule& rule, const Member& m, const DistributedIntensity& q,
                       double s, const std::optional<PiecewiseCurve>& curve)
{
    const Element& e = m.element;
    if (curve) {
        DrawMemberCurve(canvas, rule, m, *curve, s);
        return;
    }
    const Point Ti = Offset(m.Pi, s * m.Fi, e);
    const Point Tj = Offset(m.Pj, s * m.Fj, e);
    const bool tipLine = rule.tipLineAlways || m.Fi != 0.0f || m.Fj != 0.0f;

    if (!rule.distributedLoads) {
        if (tipLine)
            LineTo(canvas, Ti, Tj);
        DrawOrdinate(canvas, m.Pi, Ti, m.Fi, rule);
        DrawOrdinate(canvas, m.Pj, Tj, m.Fj, rule);
        return;
    }

    DrawOrdinate(canvas, m.Pi, Ti, m.Fi, rule);
    DrawOrdinate(canvas, m.Pj, Tj, m.Fj, rule);
    if (tipLine)
        canvas.Line(Ti.x, Ti.y, Tj.x, Tj.y, q.Any() ? kMagenta : canvas.ForeColor());
    if (q.Any())
        DrawParabola(canvas, m, Ti, Tj, s, q);
}

// ---- The report's diagrams --------------------------------------------------

// Which labels a diagram prints: the picture window's, or the report's.
enum class Labels : std::uint8_t { Window, Report };

// Steps of the report's curves along the member, picture units.
constexpr double kReportCurveStep = 0.5;
// How far from its point a label that may be left out may stand.
constexpr double kOptionalReach = 8.0;

// A value of the report's pictures: "0.##" of its size, without the point
// of a whole number.
std::string ValueLabel(double v)
{
    std::string digits = FormatForce(std::fabs(v));
    if (digits.ends_with('.'))
        digits.pop_back();
    return digits;
}

bool PrintsAsZero(double v)
{
    return !std::isfinite(v) || ValueLabel(v) == "0";
}

// The points strictly inside (x0, x1) where p' changes sign: found on 64
// steps, then halved down to a millionth of the piece.
std::vector<double> StationaryPoints(const Polynomial& p, double x0, double x1)
{
    Polynomial slope;
    for (std::size_t k = 1; k < p.c.size(); ++k)
        slope.c.push_back(static_cast<double>(k) * p.c[k]);
    std::vector<double> found;
    if (slope.c.size() < 2 || !(x1 > x0))
        return found;
    constexpr int kSteps = 64;
    double a = x0;
    for (int n = 1; n <= kSteps; ++n) {
        const double b = x0 + (x1 - x0) * n / kSteps;
        if ((slope(a) < 0.0) != (slope(b) < 0.0)) {
            double lo = a;
            double hi = b;
            while (hi - lo > 1e-6 * (x1 - x0)) {
                const double mid = (lo + hi) / 2.0;
                ((slope(lo) < 0.0) == (slope(mid) < 0.0) ? lo : hi) = mid;
            }
            const double x = (lo + hi) / 2.0;
            if (x > x0 + 1e-6 * (x1 - x0) && x < x1 - 1e-6 * (x1 - x0))
                found.push_back(x);
        }
        a = b;
    }
    return found;
}

bool IsConstant(const Polynomial& p)
{
    return std::all_of(p.c.begin() + (p.c.empty() ? 0 : 1), p.c.end(), [](double c) { return c == 0.0; });
}

// One report diagram being drawn: the lines it draws are kept as what its
// labels must keep clear of; the labels are asked for member by member and
// placed together once every line is drawn.
class LabelledDrawing {
public:
    explicit LabelledDrawing(Canvas& canvas) : m_canvas(canvas) {}

    void Line(Point a, Point b, Rgb color)
    {
        m_canvas.Line(a.x, a.y, b.x, b.y, color);
        m_obstacles.segments.push_back({a.x, a.y, b.x, b.y});
    }
    // A member and the hinge circles at its ends, drawn before the diagram.
    void KeepClearOfMember(Point a, Point b)
    {
        m_obstacles.segments.push_back({a.x, a.y, b.x, b.y});
        for (const Point p : {a, b})
            m_obstacles.boxes.push_back(
                {p.x - kHingeRadius, p.y - kHingeRadius, p.x + kHingeRadius, p.y + kHingeRadius});
    }
    // Values first, then the signs, then the notes, so that a value keeps
    // the spot nearest its point. A value already asked for at the same
    // point (the end of two members at one node) is asked once.
    // `side`: the side of the member a value or a sign is plotted on.
    void Value(std::string text, Point at, Point away, const HalfPlane& side)
    {
        const auto same = [&](const LabelRequest& r) {
            return r.text == text && std::fabs(r.x - at.x) < 0.5 && std::fabs(r.y - at.y) < 0.5;
        };
        if (std::none_of(m_values.begin(), m_values.end(), same))
            m_values.push_back({std::move(text), at.x, at.y, away.x, away.y, false, kBlack, side});
    }
    // A value or a sign wanted on the point itself, inside the diagram;
    // such labels and the notes are left out where the picture is too
    // crowded to hold them within kOptionalReach of their points.
    void Inside(std::string text, Point at, Point away, const HalfPlane& side)
    {
        m_values.push_back({std::move(text), at.x, at.y, away.x, away.y, true, kBlack, side, kOptionalReach});
    }
    void Sign(std::string text, Point at, Point away, const HalfPlane& side)
    {
        m_signs.push_back({std::move(text), at.x, at.y, away.x, away.y, true, kBlack, side, kOptionalReach});
    }
    void Note(std::string text, Point at, Point away, Rgb color)
    {
        m_notes.push_back({std::move(text), at.x, at.y, away.x, away.y, false, color, std::nullopt, kOptionalReach});
    }

    void PrintLabels()
    {
        std::vector<LabelRequest> all = m_values;
        all.insert(all.end(), m_signs.begin(), m_signs.end());
        all.insert(all.end(), m_notes.begin(), m_notes.end());
        const std::vector<PlacedLabel> placed = PlaceLabels(all, m_obstacles);
        for (std::size_t k = 0; k < all.size(); ++k) {
            if (!placed[k].shown)
                continue;
            m_canvas.SetForeColor(all[k].color);
            m_canvas.SetCurrent(placed[k].x, placed[k].y);
            m_canvas.Print(all[k].text);
        }
        m_canvas.SetForeColor(kBlack);
    }

private:
    Canvas& m_canvas;
    PictureObstacles m_obstacles;
    std::vector<LabelRequest> m_values, m_signs, m_notes;
};

// The force along a member as the report draws it: the end values joined
// by what the loads add between them (the parabola of a uniform load over
// the whole member, the curve of loads between the nodes), straight
// without loads. The parabola is LoadMoment at t = x/L:
//   m(x) = k (x² - L x),  k = (qh/2)|S|S - (qv/2)|C|C.
PiecewiseCurve ReportCurveOf(const DiagramRule& rule, const DiagramPlot& plot, const Member& m, long e)
{
    if (std::optional<PiecewiseCurve> curve = CurveOf(rule, plot, m, e))
        return *curve;
    const Element& element = m.element;
    const double L = element.Length;
    PiecewiseCurve line = LinearCurve(L, m.Fi, m.Fj);
    const DistributedIntensity q = LoadsOn(plot, e);
    if (!rule.distributedLoads || !q.Any())
        return line;
    const double S = element.SinA;
    const double C = element.CosA;
    const double k = (q.qh / 2.0) * std::fabs(S) * S - (q.qv / 2.0) * std::fabs(C) * C;
    return Sum(line, SinglePiece(L, Polynomial{{0.0, -k * L, k}}));
}

// One member of a report diagram: its ordinates and curve drawn, its labels
// asked for. s is DiagramScale.
void DrawLabelledMember(LabelledDrawing& drawing, const DiagramRule& rule, const Member& m, const PiecewiseCurve& f,
                        bool uniformParabola, double s)
{
    const Element& e = m.element;
    const double L = f.Length();
    const double pictureLength = std::hypot(m.Pj.x - m.Pi.x, m.Pj.y - m.Pi.y);
    const auto base = [&](double x) { return Between(m.Pi, m.Pj, L > 0.0 ? x / L : 0.0); };
    const auto tip = [&](double x, double v) { return Offset(base(x), s * v, e); };
    // The left normal of the member in the picture, and the way off the
    // axis a value of sign v is plotted.
    const Point left{-static_cast<double>(e.SinA), -static_cast<double>(e.CosA)};
    const auto away = [&](double v) { return v * s >= 0.0 ? left : Point{-left.x, -left.y}; };
    const auto sideOf = [&](double v) { return HalfPlane{m.Pi.x, m.Pi.y, away(v).x, away(v).y}; };
    const auto ordinate = [&](double x, double v) {
        if (!PrintsAsZero(v))
            drawing.Line(base(x), tip(x, v), kBlack);
    };
    const auto value = [&](double x, double v) {
        if (!PrintsAsZero(v))
            drawing.Value(ValueLabel(v), tip(x, v), away(v), sideOf(v));
    };

    // A stretch of constant value is labelled once, at its middle, instead
    // of at its ends.
    const auto constant = [&](std::size_t k) { return IsConstant(f.pieces[k]); };
    ordinate(0.0, f.AtEndI());
    ordinate(L, f.AtEndJ());
    if (!constant(0))
        value(0.0, f.AtEndI());
    if (!constant(f.pieces.size() - 1))
        value(L, f.AtEndJ());
    std::vector<double> extremes;
    for (std::size_t k = 0; k < f.pieces.size(); ++k) {
        const double x0 = f.breaks[k];
        const double x1 = f.breaks[k + 1];
        const Polynomial& p = f.pieces[k];
        if (!std::all_of(p.c.begin(), p.c.end(), [](double c) { return c == 0.0; })) {
            const long steps =
                p.c.size() <= 2
                    ? 1L
                    : std::clamp(static_cast<long>(pictureLength * (x1 - x0) / (L > 0.0 ? L : 1.0) / kReportCurveStep),
                                 8L, 4096L);
            Point previous = tip(x0, p(x0));
            for (long n = 1; n <= steps; ++n) {
                const Point next = tip(x0 + (x1 - x0) * static_cast<double>(n) / static_cast<double>(steps),
                                       p(x0 + (x1 - x0) * static_cast<double>(n) / static_cast<double>(steps)));
                drawing.Line(previous, next, kBlack);
                previous = next;
            }
        }
        if (constant(k))
            value((x0 + x1) / 2.0, p(x0));
        if (k > 0) {
            // The ordinate at a load point, and both values of a jump.
            const double before = f.pieces[k - 1](x0);
            ordinate(x0, p(x0));
            if (!constant(k))
                value(x0, p(x0));
            if (std::fabs(before - p(x0)) > 1e-9 * (std::fabs(before) + std::fabs(p(x0))) && !constant(k - 1))
                value(x0, before);
        }
        for (const double x : StationaryPoints(p, x0, x1)) {
            ordinate(x, p(x));
            value(x, p(x));
            extremes.push_back(x);
        }
    }
    if (uniformParabola) {
        // The chord of the end moments and, where it is off the axis, the
        // parabola's height below it at mid-span, written beyond the chord;
        // the real moment at mid-span inside the diagram, half way between
        // the axis and the curve (unless an extreme is labelled there
        // already).
        const double Mi = f.AtEndI();
        const double Mj = f.AtEndJ();
        const double middle = f.At(L / 2.0);
        const Point chord = Between(tip(0.0, Mi), tip(L, Mj), 0.5);
        const Point curve = tip(L / 2.0, middle);
        const Point sag{curve.x - chord.x, curve.y - chord.y};
        if (!PrintsAsZero(Mi) || !PrintsAsZero(Mj)) {
            drawing.Line(tip(0.0, Mi), tip(L, Mj), kMagenta);
            drawing.Line(chord, curve, kMagenta);
            const double height = middle - (Mi + Mj) / 2.0;
            if (!PrintsAsZero(height))
                drawing.Note(std::string(kChordHeightLabel) + ValueLabel(height), chord, {-sag.x, -sag.y}, kMagenta);
        }
        if (!PrintsAsZero(middle) &&
            std::none_of(extremes.begin(), extremes.end(), [&](double x) { return std::fabs(x - L / 2.0) < 0.02 * L; }))
            drawing.Inside(ValueLabel(middle), tip(L / 2.0, middle / 2.0), sag, sideOf(middle));
    }
    if (rule.absoluteLabels)
        return;
    // ⊕ or ⊖ inside each stretch of one sign, at its middle, half way out.
    std::vector<double> xs;
    for (std::size_t k = 0; k < f.pieces.size(); ++k)
        for (int n = 0; n < 64; ++n)
            xs.push_back(f.breaks[k] + (f.breaks[k + 1] - f.breaks[k]) * n / 64.0);
    xs.push_back(L);
    const auto signOf = [&](double x) {
        const double v = f.At(x);
        return PrintsAsZero(v) ? 0 : (v > 0.0 ? 1 : -1);
    };
    for (std::size_t a = 0; a < xs.size();) {
        const int sign = signOf(xs[a]);
        std::size_t b = a;
        while (b + 1 < xs.size() && signOf(xs[b + 1]) == sign)
            ++b;
        if (sign != 0) {
            const double x = (xs[a] + xs[b]) / 2.0;
            const double v = f.At(x);
            drawing.Sign(std::string(sign > 0 ? kPositiveSign : kNegativeSign), tip(x, v / 2.0), away(v), sideOf(v));
        }
        a = b + 1;
    }
}

// Every drawable member of the report diagram; the largest value drawn.
void DrawLabelledMembers(const StructureModel& model, Canvas& canvas, const DiagramRule& rule, const DiagramPlot& plot,
                         double s)
{
    LabelledDrawing drawing(canvas);
    for (long e = 1; e <= model.ElementCount(); ++e) {
        double Xi = 0, Yi = 0, Xj = 0, Yj = 0;
        const Element& element = model.Elements.at(e);
        if (model.NodePicturePoint(element.INode, Xi, Yi) && model.NodePicturePoint(element.JNode, Xj, Yj))
            drawing.KeepClearOfMember({Xi, Yi}, {Xj, Yj});
    }
    for (long e = 1; e <= model.ElementCount(); ++e)
        if (const std::optional<Member> m = DrawableMember(model, e, plot)) {
            const bool uniformParabola = rule.distributedLoads && LoadsOn(plot, e).Any() && !CurveOf(rule, plot, *m, e);
            DrawLabelledMember(drawing, rule, *m, ReportCurveOf(rule, plot, *m, e), uniformParabola, s);
        }
    drawing.PrintLabels();
}

// The diagram's layer over its members: the scale the student typed, or
// without one the automatic scale of the picture's present width, so that
// drawing the layer again at another size never asks again.
float DrawOrdinates(const StructureModel& model, Canvas& canvas, const DiagramRule& rule, const DiagramPlot& plot,
                    std::optional<float> typed, Labels labels)
{
    canvas.AddLayer([&model, &rule, plot, typed, labels](Canvas& again) {
        again.SetCaption(plot.caption);
        DrawOrdinates(model, again, rule, plot, typed, labels);
    });
    const float DiagramScale = typed ? *typed : AutomaticScale(model, canvas, rule, plot);
    canvas.SetDrawWidth(1);
    canvas.SetForeColor(kBlack);
    if (labels == Labels::Report) {
        DrawLabelledMembers(model, canvas, rule, plot, DiagramScale);
        return DiagramScale;
    }

    for (long e = 1; e <= model.ElementCount(); ++e)
        if (const std::optional<Member> m = DrawableMember(model, e, plot))
            DrawMemberDiagram(canvas, rule, *m, LoadsOn(plot, e), DiagramScale, CurveOf(rule, plot, *m, e));
    return DiagramScale;
}

float DrawDiagram(const StructureModel& model, Canvas& canvas, DiagramHost& host, const DiagramRule& rule,
                  const DiagramPlot& plot, Labels labels = Labels::Window)
{
    BeginDiagramPicture(model, canvas, host, plot.caption);
    return DrawOrdinates(model, canvas, rule, plot, TypedScale(host.AskScale(kDiagramScalePrompt, plot.caption)),
                         labels);
}

DiagramShown DrawReport(const StructureModel& model, Canvas& canvas, DiagramHost& host, const DiagramRule& rule,
                        const DiagramPlot& plot)
{
    const float scale = DrawDiagram(model, canvas, host, rule, plot, Labels::Report);
    return {scale, PrintsAsZero(LargestDrawnValue(model, rule, plot))};
}

OneBasedTable<EndValues> ElementEnds(const OneBasedTable<Element>& elements, float Element::*valueI,
                                     float Element::*valueJ)
{
    OneBasedTable<EndValues> ends;
    for (const Element& e : elements)
        ends.Append({e.*valueI, e.*valueJ});
    return ends;
}

// The end forces always belong to the user's loads, also while the
// calculation holds unit forces in Loads.
OneBasedTable<DistributedIntensity> UserDistributedLoads(const StructureModel& model)
{
    return SumDistributedLoads(model.UserLoads(), model.ElementCount());
}

// The loads on each member, for the members loaded between their nodes.
std::vector<MemberLoad> UserMemberLoads(const StructureModel& model)
{
    return MemberLoadsOf(model, model.UserLoads());
}

}  // namespace

void BeginDiagramPicture(const StructureModel& model, Canvas& canvas, DiagramHost& host, std::string_view caption)
{
    canvas.Cls();
    host.ShowPicture(caption);
    canvas.SetForeColor(kBlue);
    DrawMembers(model, canvas, MemberLabels::Hidden);
    // The members' pass captions the picture as the structure; this is the
    // diagram's picture.
    canvas.SetCaption(caption);
}

std::optional<float> TypedScale(const std::optional<std::string>& answer)
{
    if (!answer || !IsWhollyNumber(*answer))
        return std::nullopt;
    return ReadFloatCell(*answer);
}

std::string CaseMomentCaption(int caseNo)
{
    if (caseNo == 0)
        return std::string(kLoadMomentDiagramCaption);
    // M with a combining macron over it: the bar of the unit diagram.
    return "M\u0304" + std::to_string(caseNo) + "图";
}

namespace {

DiagramPlot MomentPlot(const StructureModel& model)
{
    return {std::string(kMomentDiagramCaption), ElementEnds(model.Elements, &Element::Mi, &Element::Mj),
            UserDistributedLoads(model), UserMemberLoads(model)};
}

DiagramPlot ShearPlot(const StructureModel& model)
{
    return {std::string(kShearDiagramCaption),
            ElementEnds(model.Elements, &Element::Vi, &Element::Vj),
            {},
            UserMemberLoads(model)};
}

DiagramPlot AxialPlot(const StructureModel& model)
{
    return {std::string(kAxialDiagramCaption),
            ElementEnds(model.Elements, &Element::Ni, &Element::Nj),
            {},
            UserMemberLoads(model)};
}

// The end moments of case c from the statics in double of the loads the case
// was calculated with; the table's where the statics refuse them.
OneBasedTable<EndValues> CaseEndMoments(const StructureModel& model, int caseNo)
{
    OneBasedTable<EndValues> ends;
    const auto c = static_cast<std::size_t>(caseNo);
    const OneBasedTable<Load>* loads = caseNo == 0 ? &model.UserLoads()
                                       : c < model.CaseReactions.size() && model.CaseReactions[c]
                                           ? &model.CaseReactions[c]->loads
                                           : nullptr;
    std::string why;
    const std::optional<CaseLoads> read = loads ? ReadCaseLoads(model, *loads, why) : std::nullopt;
    if (const std::optional<CaseForces> forces = read ? SolveStatics(model, *read, why) : std::nullopt) {
        for (const MemberForces& m : forces->members)
            ends.Append({static_cast<float>(m.i.M), static_cast<float>(m.j.M)});
        return ends;
    }
    const CaseForceTable& moments = model.CaseMoments;
    for (int e = 1; moments.Has(caseNo, e, 1); ++e)
        ends.Append({moments.at(caseNo, e, 1), moments.at(caseNo, e, 2)});
    return ends;
}

// The parabola of the user's distributed loads hangs from case 0 (MP); a
// unit case is straight lines.
DiagramPlot CaseMomentPlot(const StructureModel& model, int caseNo)
{
    return {CaseMomentCaption(caseNo), CaseEndMoments(model, caseNo),
            caseNo == 0 ? UserDistributedLoads(model) : OneBasedTable<DistributedIntensity>{},
            caseNo == 0 ? UserMemberLoads(model) : std::vector<MemberLoad>{}};
}

DiagramPlot UnitLoadMomentPlot(const OneBasedTable<Element>& endForces)
{
    return {std::string(kUnitLoadMomentCaption), ElementEnds(endForces, &Element::Mi, &Element::Mj), {}};
}

}  // namespace

float DrawMomentDiagram(const StructureModel& model, Canvas& canvas, DiagramHost& host)
{
    return DrawDiagram(model, canvas, host, kMomentRule, MomentPlot(model));
}

float DrawShearDiagram(const StructureModel& model, Canvas& canvas, DiagramHost& host)
{
    return DrawDiagram(model, canvas, host, kShearRule, ShearPlot(model));
}

float DrawAxialDiagram(const StructureModel& model, Canvas& canvas, DiagramHost& host)
{
    return DrawDiagram(model, canvas, host, kAxialRule, AxialPlot(model));
}

float DrawCaseMomentDiagram(const StructureModel& model, int caseNo, Canvas& canvas, DiagramHost& host)
{
    return DrawDiagram(model, canvas, host, kMomentRule, CaseMomentPlot(model, caseNo));
}

float DrawUnitLoadMomentDiagram(const StructureModel& model, const OneBasedTable<Element>& endForces, Canvas& canvas,
                                DiagramHost& host)
{
    return DrawDiagram(model, canvas, host, kMomentRule, UnitLoadMomentPlot(endForces));
}

DiagramShown DrawReportDiagram(const StructureModel& model, ReportDiagram which, Canvas& canvas, DiagramHost& host)
{
    switch (which) {
        case ReportDiagram::Moment:
            return DrawReport(model, canvas, host, kMomentRule, MomentPlot(model));
        case ReportDiagram::Shear:
            return DrawReport(model, canvas, host, kShearRule, ShearPlot(model));
        case ReportDiagram::Axial:
            return DrawReport(model, canvas, host, kAxialRule, AxialPlot(model));
    }
    return {};
}

DiagramShown DrawReportCaseMomentDiagram(const StructureModel& model, int caseNo, Canvas& canvas, DiagramHost& host)
{
    return DrawReport(model, canvas, host, kMomentRule, CaseMomentPlot(model, caseNo));
}

DiagramShown DrawReportUnitLoadMomentDiagram(const StructureModel& model, const OneBasedTable<Element>& endForces,
                                             Canvas& canvas, DiagramHost& host)
{
    return DrawReport(model, canvas, host, kMomentRule, UnitLoadMomentPlot(endForces));
}

}  // namespace tavrin
