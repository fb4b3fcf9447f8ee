#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "diagrams/InternalForceDiagrams.h"
#include "drawing/DrawingPasses.h"
#include "drawing/PictureLayout.h"

namespace tavrin {
namespace {

using DiagramFunction = float (*)(const StructureModel&, Canvas&, DiagramHost&);

// Answers the scale prompt with a fixed text and notes where in the drawing
// the window was shown and the prompt asked.
class FakeHost : public DiagramHost {
public:
    FakeHost(const RecordingCanvas& canvas, std::optional<std::string> answer)
        : m_canvas(canvas), m_answer(std::move(answer))
    {
    }
    void ShowPicture(std::string_view caption) override
    {
        captions.emplace_back(caption);
        opsAtShow = m_canvas.ops.size();
    }
    std::optional<std::string> AskScale(std::string_view prompt, std::string_view title) override
    {
        prompts.emplace_back(prompt);
        titles.emplace_back(title);
        opsAtAsk = m_canvas.ops.size();
        return m_answer;
    }

    std::vector<std::string> captions, prompts, titles;
    std::size_t opsAtShow = 0;
    std::size_t opsAtAsk = 0;

private:
    const RecordingCanvas& m_canvas;
    std::optional<std::string> m_answer;
};

// One diagram drawn on a 200 × 200 picture; `after` holds what was drawn
// after the prompt, that is the diagram without the blue members.
struct Drawn {
    Drawn(DiagramFunction draw, const StructureModel& model, std::optional<std::string> answer = "2")
        : host(canvas, std::move(answer))
    {
        scale = draw(model, canvas, host);
        after.assign(canvas.ops.begin() + static_cast<std::ptrdiff_t>(host.opsAtAsk), canvas.ops.end());
    }
    std::vector<CanvasOp> Of(CanvasOp::Kind kind) const
    {
        std::vector<CanvasOp> out;
        std::copy_if(after.begin(), after.end(), std::back_inserter(out),
                     [kind](const CanvasOp& op) { return op.kind == kind; });
        return out;
    }
    std::vector<CanvasOp> Lines() const { return Of(CanvasOp::Kind::Line); }
    std::vector<CanvasOp> Prints() const { return Of(CanvasOp::Kind::Print); }
    std::vector<CanvasOp> LinesIn(Rgb color) const
    {
        std::vector<CanvasOp> out;
        for (const CanvasOp& op : Lines())
            if (op.color == color && (op.x1 != op.x2 || op.y1 != op.y2))
                out.push_back(op);
        return out;
    }

    RecordingCanvas canvas{200.0, 200.0};
    FakeHost host;
    float scale = 0.0f;
    std::vector<CanvasOp> after;
};

struct Pt {
    double x, y;
};

// Picture x = 50 + 10·x, picture y = 200 − 10·y.
StructureModel ModelWithNodes(std::vector<Pt> nodes)
{
    StructureModel model;
    for (const Pt& p : nodes)
        model.Nodes.Append({static_cast<std::int16_t>(model.NodeCount() + 1), "刚接", static_cast<float>(p.x),
                            static_cast<float>(p.y)});
    model.DrawScale = 10.0;
    model.DrawOriginX = 50.0;
    model.DrawOriginY = 200.0;
    return model;
}

Element& AddMember(StructureModel& model, std::int16_t i, std::int16_t j)
{
    Element e;
    e.Code = static_cast<std::int16_t>(model.ElementCount() + 1);
    e.INode = i;
    e.JNode = j;
    const Node& a = model.Nodes.at(i);
    const Node& b = model.Nodes.at(j);
    e.Length = std::hypot(b.X - a.X, b.Y - a.Y);
    e.SinA = (b.Y - a.Y) / e.Length;
    e.CosA = (b.X - a.X) / e.Length;
    model.Elements.Append(e);
    return model.Elements.at(model.ElementCount());
}

// The magnitude signed as the load table stores it: downward and leftward negative.
Load Distributed(std::int16_t element, std::string direction, float typed)
{
    const bool negative = direction == "向下" || direction == "向左";
    return {"均布荷载", negative ? -typed : typed, std::move(direction), 0, element};
}

// A horizontal member of length 4 from picture (50, 200) to (90, 200).
StructureModel Beam()
{
    StructureModel model = ModelWithNodes({{0, 0}, {4, 0}});
    AddMember(model, 1, 2);
    return model;
}

void ExpectPoint(double x, double y, Pt expected)
{
    EXPECT_NEAR(x, expected.x, 1e-4);
    EXPECT_NEAR(y, expected.y, 1e-4);
}

void ExpectLine(const CanvasOp& op, Pt from, Pt to)
{
    ExpectPoint(op.x1, op.y1, from);
    ExpectPoint(op.x2, op.y2, to);
}

void ExpectLabel(const CanvasOp& op, const std::string& text, Pt at)
{
    EXPECT_EQ(op.text, text);
    ExpectPoint(op.x1, op.y1, at);
}

// Farthest any line end lies from the picture line y = 200 of a horizontal beam.
double FarthestFromAxis(const Drawn& d)
{
    double farthest = 0.0;
    for (const CanvasOp& op : d.Lines())
        farthest = std::max({farthest, std::fabs(op.y1 - 200.0), std::fabs(op.y2 - 200.0)});
    return farthest;
}

const struct {
    DiagramFunction draw;
    const char* caption;
} kDiagrams[] = {{DrawMomentDiagram, "弯矩图"}, {DrawShearDiagram, "剪力图"}, {DrawAxialDiagram, "轴力图"}};

TEST(InternalForceDiagramsTest, OpeningClearsShowsBlueMembersAsksAndLeavesBlackWidthOne)
{
    StructureModel model = Beam();
    Element& e = model.Elements.at(1);
    e.Ni = e.Vi = e.Mi = 3.0f;
    e.Nj = e.Vj = e.Mj = -1.0f;
    for (const auto& diagram : kDiagrams) {
        SCOPED_TRACE(diagram.caption);
        const Drawn d(diagram.draw, model);
        ASSERT_FALSE(d.canvas.ops.empty());
        EXPECT_EQ(d.canvas.ops.front().kind, CanvasOp::Kind::Cls);
        EXPECT_EQ(d.host.captions, std::vector<std::string>{diagram.caption});
        EXPECT_EQ(d.canvas.caption, diagram.caption);
        EXPECT_EQ(d.host.opsAtShow, 1u);
        EXPECT_EQ(d.host.prompts, std::vector<std::string>{"输入绘图比例(30～100)："});
        EXPECT_EQ(d.host.titles, std::vector<std::string>{diagram.caption});

        int members = 0;
        for (std::size_t k = 1; k < d.host.opsAtAsk; ++k) {
            const CanvasOp& op = d.canvas.ops[k];
            EXPECT_NE(op.kind, CanvasOp::Kind::Print) << "members carry no labels";
            if (op.kind == CanvasOp::Kind::Line) {
                EXPECT_EQ(op.color, kBlue);
                ++members;
            }
        }
        EXPECT_EQ(members, 1);
        for (const CanvasOp& op : d.Lines())
            EXPECT_EQ(op.width, 1);
        for (const CanvasOp& op : d.Prints())
            EXPECT_EQ(op.color, kBlack);
        EXPECT_EQ(d.canvas.ForeColor(), kBlack);
        EXPECT_EQ(d.canvas.DrawWidth(), 1);
    }
}

// Seen from end i to end j a positive value lies on the left; picture y grows
// downward, so "up" on the screen is −y.
TEST(InternalForceDiagramsTest, PositiveValuesLieLeftOfTheMemberSeenFromIToJ)
{
    const struct {
        const char* name;
        Pt i, j;  // model coordinates
        Pt left;  // unit picture vector to the member's left
    } members[] = {
        {"horizontal, i left", {0, 0}, {4, 0}, {0, -1}},
        {"horizontal, i right", {4, 0}, {0, 0}, {0, 1}},
        {"vertical, i below", {0, 0}, {0, 4}, {-1, 0}},
        {"vertical, i above", {0, 4}, {0, 0}, {1, 0}},
    };
    for (const auto& member : members) {
        StructureModel model = ModelWithNodes({member.i, member.j});
        Element& e = AddMember(model, 1, 2);
        e.Ni = e.Vi = e.Mi = 3.0f;
        e.Nj = e.Vj = e.Mj = -2.0f;
        const Pt Pi{50 + 10 * member.i.x, 200 - 10 * member.i.y};
        const Pt Pj{50 + 10 * member.j.x, 200 - 10 * member.j.y};
        // Scale 2: 3 → 6 units to the left at i, −2 → 4 units to the right at j.
        const Pt Ti{Pi.x + 6 * member.left.x, Pi.y + 6 * member.left.y};
        const Pt Tj{Pj.x - 4 * member.left.x, Pj.y - 4 * member.left.y};
        for (const auto& diagram : kDiagrams) {
            SCOPED_TRACE(std::string(member.name) + ", " + diagram.caption);
            const Drawn d(diagram.draw, model);
            const std::vector<CanvasOp> lines = d.Lines();
            const std::vector<CanvasOp> labels = d.Prints();
            ASSERT_EQ(lines.size(), 3u);
            ASSERT_EQ(labels.size(), 2u);
            const bool moment = diagram.draw == DrawMomentDiagram;
            // Shear and axial force join the tips first, the moment after its ordinates.
            const std::size_t first = moment ? 0 : 1;
            ExpectLine(lines[first], Pi, Ti);
            ExpectLine(lines[first + 1], Pj, Tj);
            ExpectLine(lines[moment ? 2 : 0], Ti, Tj);
            ExpectLabel(labels[0], "3.", Ti);
            ExpectLabel(labels[1], moment ? "2." : "-2.", Tj);
        }
    }
}

TEST(InternalForceDiagramsTest, EachDiagramLabelsItsOwnEndValuesMomentsBySize)
{
    StructureModel model = Beam();
    Element& e = model.Elements.at(1);
    e.Mi = -12.345f;
    e.Vi = -12.345f;
    e.Ni = 2.5f;
    const struct {
        DiagramFunction draw;
        const char* label;
    } cases[] = {{DrawMomentDiagram, "12.35"}, {DrawShearDiagram, "-12.35"}, {DrawAxialDiagram, "2.5"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const Drawn d(c.draw, model);
        ASSERT_EQ(d.Prints().size(), 1u) << "no label at the end whose value is 0";
        EXPECT_EQ(d.Prints()[0].text, c.label);
    }
}

// Before any calculation every end value is 0: only shear joins the tips
// (along the member), and nothing is labelled.
TEST(InternalForceDiagramsTest, ZeroEndValuesGiveNoTipLineAndNoLabelExceptTheShearLine)
{
    const struct {
        const char* name;
        DiagramFunction draw;
        std::function<void(Element&)> set;
        std::size_t lines;
        std::vector<std::string> labels;
    } cases[] = {
        {"moment, both 0", DrawMomentDiagram, [](Element&) {}, 0, {}},
        {"axial, both 0", DrawAxialDiagram, [](Element&) {}, 0, {}},
        {"shear, both 0", DrawShearDiagram, [](Element&) {}, 1, {}},
        {"moment, only j", DrawMomentDiagram, [](Element& e) { e.Mj = -6.0f; }, 2, {"6."}},
        {"axial, only i", DrawAxialDiagram, [](Element& e) { e.Ni = 4.0f; }, 2, {"4."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StructureModel model = Beam();
        c.set(model.Elements.at(1));
        const Drawn d(c.draw, model);
        EXPECT_EQ(d.LinesIn(kBlack).size(), c.lines);
        EXPECT_TRUE(d.LinesIn(kMagenta).empty());
        std::vector<std::string> labels;
        for (const CanvasOp& op : d.Prints())
            labels.push_back(op.text);
        EXPECT_EQ(labels, c.labels);
    }
}

// Simply supported beam, L = 4, 10 downward, not yet calculated: the parabola
// hangs from the member axis, 2·(qL²/2)·t(1 − t) = 160·t(1 − t) below it, 40
// at mid-span, where the label reads qL²/8 = 20.
TEST(InternalForceDiagramsTest, DistributedLoadHangsItsParabolaFromTheMemberBeforeAnyCalculation)
{
    StructureModel model = Beam();
    model.Loads.Append(Distributed(1, "向下", 10.0f));
    const Drawn d(DrawMomentDiagram, model);

    const std::vector<CanvasOp> parabola = d.LinesIn(kBlack);
    ASSERT_EQ(parabola.size(), 20u) << "40 picture units in steps of 2";
    Pt previous{50, 200};
    for (const CanvasOp& op : parabola) {
        ExpectPoint(op.x1, op.y1, previous);
        const double t = (op.x2 - 50.0) / 40.0;
        ExpectPoint(op.x2, op.y2, {50 + 40 * t, 200 + 160 * t * (1 - t)});
        previous = {op.x2, op.y2};
    }
    ExpectPoint(previous.x, previous.y, {90, 200});
    ExpectPoint(parabola[9].x2, parabola[9].y2, {70, 240});

    const std::vector<CanvasOp> midSpan = d.LinesIn(kMagenta);
    ASSERT_EQ(midSpan.size(), 1u);
    ExpectLine(midSpan[0], {70, 200}, {70, 240});
    ASSERT_EQ(d.Prints().size(), 1u);
    ExpectLabel(d.Prints()[0], "20.", {70, 220});
}

// With end moments the parabola hangs from the magenta line between the tips.
TEST(InternalForceDiagramsTest, DistributedLoadHangsItsParabolaFromTheLineBetweenTheEndMoments)
{
    StructureModel model = Beam();
    model.Loads.Append(Distributed(1, "向下", 10.0f));
    model.Elements.at(1).Mi = 6.0f;
    model.Elements.at(1).Mj = -4.0f;
    const Drawn d(DrawMomentDiagram, model, "1");
    const Pt Ti{50, 194}, Tj{90, 204}, middle{70, 199};

    using K = CanvasOp::Kind;
    std::vector<K> kinds;
    for (const CanvasOp& op : d.after)
        kinds.push_back(op.kind);
    std::vector<K> expected{K::Line, K::Print, K::Line, K::Print, K::Line};
    expected.insert(expected.end(), 20, K::Line);
    expected.insert(expected.end(), {K::Line, K::Print});
    EXPECT_EQ(kinds, expected);

    const std::vector<CanvasOp> magenta = d.LinesIn(kMagenta);
    ASSERT_EQ(magenta.size(), 2u);
    ExpectLine(magenta[0], Ti, Tj);
    ExpectLine(magenta[1], middle, {70, 219});
    const std::vector<CanvasOp> black = d.LinesIn(kBlack);
    ASSERT_EQ(black.size(), 22u);
    ExpectPoint(black[2].x1, black[2].y1, Ti);
    ExpectPoint(black.back().x2, black.back().y2, Tj);
    ExpectPoint(black[11].x2, black[11].y2, {70, 219});
    ASSERT_EQ(d.Prints().size(), 3u);
    ExpectLabel(d.Prints()[0], "6.", Ti);
    ExpectLabel(d.Prints()[1], "4.", Tj);
    ExpectLabel(d.Prints()[2], "20.", {70, 209});
}

// The left rafter 3->4 of a gable frame, from the ridge (4,7) down to the
// eave (0,4): L 5, S = -0.6, C = -0.8, both negative. Under 2 down per
// horizontal and 4 to the right per vertical projection its load moment is
//   m(t) = (4/2)(-0.36) 25 t(t - 1) - (-2/2)(-0.64) 25 t(t - 1) = 34 t(1 - t),
// tension on its left (the inside), 8.5 at mid-span: 2 * 4^2/8 + 4 * 3^2/8.
// End moments -43 at the ridge and 0 at the eave (the frame on a pin and a
// roller). Scale 1: Pi (90, 130), Ti = Pi - (-43)(-0.6, -0.8) = (64.2, 95.6),
// Tj = Pj = (50, 160); the picture length 50 takes 25 steps, and point k
// lies 34 t(1 - t) beyond the chord toward (0.6, 0.8).
TEST(InternalForceDiagramsTest, ParabolaOfALoadedGableRafterTakesTheSignsOfItsSlope)
{
    StructureModel model = ModelWithNodes({{8, 0}, {8, 4}, {4, 7}, {0, 4}, {0, 0}});
    AddMember(model, 1, 2);
    AddMember(model, 2, 3);
    Element& rafter = AddMember(model, 3, 4);
    AddMember(model, 4, 5);
    rafter.Mi = -43.0f;
    model.Loads.Append(Distributed(3, "向下", 2.0f));
    model.Loads.Append(Distributed(3, "向右", 4.0f));
    const Drawn d(DrawMomentDiagram, model, "1");

    const Pt Ti{64.2, 95.6}, Tj{50, 160}, middle{57.1, 127.8};
    const std::vector<CanvasOp> black = d.LinesIn(kBlack);
    ASSERT_EQ(black.size(), 26u) << "the ordinate at the ridge and 25 steps";
    ExpectLine(black[0], {90, 130}, Ti);
    for (int k = 1; k <= 25; ++k) {
        const double t = k / 25.0;
        const double off = 34 * t * (1 - t);
        ExpectPoint(black[static_cast<std::size_t>(k)].x2, black[static_cast<std::size_t>(k)].y2,
                    {Ti.x + t * (Tj.x - Ti.x) + 0.6 * off, Ti.y + t * (Tj.y - Ti.y) + 0.8 * off});
    }
    const std::vector<CanvasOp> magenta = d.LinesIn(kMagenta);
    ASSERT_EQ(magenta.size(), 2u);
    ExpectLine(magenta[0], Ti, Tj);
    ExpectLine(magenta[1], middle, {57.1 + 0.6 * 8.5, 127.8 + 0.8 * 8.5});
    ASSERT_EQ(d.Prints().size(), 2u);
    ExpectLabel(d.Prints()[0], "43.", Ti);
    ExpectLabel(d.Prints()[1], "8.5", {57.1 + 0.3 * 8.5, 127.8 + 0.4 * 8.5});
}

TEST(InternalForceDiagramsTest, AllDistributedLoadsOfTheStudentOnTheMemberAreAdded)
{
    const struct {
        const char* name;
        Pt j;  // end j in model units, end i at the origin
        std::vector<Load> loads;
        std::vector<Load> saved;  // the student's loads while unit forces are in Loads
        const char* label;        // nullptr: no parabola
        Pt q;                     // end of the mid-span ordinate, scale 2
    } cases[] = {
        {"6 and 4 downward", {4, 0}, {Distributed(1, "向下", 6), Distributed(1, "向下", 4)}, {}, "20.", {70, 240}},
        {"load on another member",
         {4, 0},
         {Distributed(1, "向下", 10), Distributed(2, "向下", 7)},
         {},
         "20.",
         {70, 240}},
        {"rightward 7 and 3 on a vertical member",
         {0, 4},
         {Distributed(1, "向右", 7), Distributed(1, "向右", 3)},
         {},
         "20.",
         {90, 180}},
        {"upward and downward cancel",
         {4, 0},
         {Distributed(1, "向上", 10), Distributed(1, "向下", 10)},
         {},
         nullptr,
         {}},
        {"student's loads put aside",
         {4, 0},
         {{"集中荷载", 1.0f, "向下", 2, 0}},
         {Distributed(1, "向下", 10)},
         "20.",
         {70, 240}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StructureModel model = ModelWithNodes({{0, 0}, c.j});
        AddMember(model, 1, 2);
        for (const Load& load : c.loads)
            model.Loads.Append(load);
        for (const Load& load : c.saved)
            model.SavedLoads.Append(load);
        model.UnitForcesInLoads = !c.saved.empty();
        const Drawn d(DrawMomentDiagram, model);
        if (!c.label) {
            EXPECT_TRUE(d.Lines().size() == 2u && d.Prints().empty()) << "only the two empty ordinates";
            continue;
        }
        const std::vector<CanvasOp> magenta = d.LinesIn(kMagenta);
        ASSERT_EQ(magenta.size(), 1u);
        ExpectPoint(magenta[0].x2, magenta[0].y2, c.q);
        ASSERT_EQ(d.Prints().size(), 1u);
        EXPECT_EQ(d.Prints()[0].text, c.label);
    }
}

TEST(InternalForceDiagramsTest, TypedNumbersAreUsedAsTypedAnythingElseDrawsTheLargestValueAtATenthOfTheWidth)
{
    // Tips of member 1 lie 8·s off the axis, those of member 2 at most 3·s;
    // the automatic scale puts 8 at 0.1 × 200 = 20 units.
    StructureModel model = ModelWithNodes({{0, 0}, {4, 0}, {8, 0}});
    Element& first = AddMember(model, 1, 2);
    first.Vi = first.Vj = 8.0f;
    Element& second = AddMember(model, 2, 3);
    second.Vi = -2.0f;
    second.Vj = 3.0f;
    const struct {
        std::optional<std::string> answer;
        float scale;
    } cases[] = {
        {std::nullopt, 2.5f}, {"", 2.5f},       {"   ", 2.5f}, {"abc", 2.5f}, {"12abc", 2.5f},  {"1e999", 2.5f},
        {"1e", 2.5f},         {".", 2.5f},      {"-", 2.5f},   {"1 2", 2.5f}, {"200", 200.0f},  {" 50 ", 50.0f},
        {"-40", -40.0f},      {"2.5e1", 25.0f}, {"+.5", 0.5f}, {"30", 30.0f}, {"1e-400", 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer ? "\"" + *c.answer + "\"" : "cancelled");
        const Drawn d(DrawShearDiagram, model, c.answer);
        EXPECT_FLOAT_EQ(d.scale, c.scale);
        EXPECT_NEAR(FarthestFromAxis(d), 8.0 * std::fabs(c.scale), 1e-3);
    }
}

// The picture window grown from 200 x 200 to 400 x 300 units: the diagram is
// drawn again as it would be drawn on the larger picture with the same answer,
// without asking again; the automatic scale is the new width's.
TEST(InternalForceDiagramsTest, DrawnAgainAtANewSizeWithTheAnswerGivenBefore)
{
    StructureModel model = Beam();
    Element& e = model.Elements.at(1);
    e.Mi = 3.0f;
    e.Mj = -1.0f;
    model.Loads.Append(Distributed(1, "向下", 10.0f));
    for (const std::optional<std::string>& answer : {std::optional<std::string>("40"), std::optional<std::string>()}) {
        SCOPED_TRACE(answer.value_or("cancelled"));
        StructureModel redrawn = model;
        RecordingCanvas canvas(200.0, 200.0);
        FakeHost host(canvas, answer);
        FitModelToPicture(redrawn, canvas);
        DrawMomentDiagram(redrawn, canvas, host);
        canvas.SetScaleSize(400.0, 300.0);
        canvas.ops.clear();
        canvas.caption.clear();
        RedrawPicture(redrawn, canvas);
        EXPECT_EQ(host.prompts.size(), 1u);
        EXPECT_EQ(host.captions.size(), 1u) << "the window is not brought to the front";
        EXPECT_EQ(canvas.caption, "弯矩图");

        StructureModel fresh = model;
        RecordingCanvas expected(400.0, 300.0);
        FakeHost expectedHost(expected, answer);
        FitModelToPicture(fresh, expected);
        DrawMomentDiagram(fresh, expected, expectedHost);
        EXPECT_EQ(canvas.ops, expected.ops);
    }
}

// The parabola's mid-span ordinate counts as a moment value: |(Mi + Mj)/2 − 20|.
TEST(InternalForceDiagramsTest, AutomaticScaleKeepsTheWholeDiagramWithinATenthOfTheWidth)
{
    const struct {
        const char* name;
        DiagramFunction draw;
        float fi, fj;
        bool loaded;
        double largest;
    } cases[] = {
        {"parabola alone", DrawMomentDiagram, 0, 0, true, 20},
        {"end moment beyond the parabola", DrawMomentDiagram, 30, 0, true, 30},
        {"parabola below negative ends", DrawMomentDiagram, -15, -15, true, 35},
        {"parabola against positive ends", DrawMomentDiagram, 15, 15, true, 15},
        {"huge shear", DrawShearDiagram, 1e30f, -5e29f, false, 1e30},
        {"huge moment", DrawMomentDiagram, -3e38f, 0, false, 3e38},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StructureModel model = Beam();
        Element& e = model.Elements.at(1);
        e.Mi = e.Vi = c.fi;
        e.Mj = e.Vj = c.fj;
        if (c.loaded)
            model.Loads.Append(Distributed(1, "向下", 10.0f));
        const Drawn d(c.draw, model, "");
        EXPECT_FLOAT_EQ(d.scale, static_cast<float>(20.0 / c.largest));
        EXPECT_NEAR(FarthestFromAxis(d), 20.0, 1e-3);
    }

    SCOPED_TRACE("nothing to draw");
    StructureModel model = Beam();
    model.Elements.at(1).Vi = 1e-21f;
    EXPECT_EQ(Drawn(DrawShearDiagram, model, std::nullopt).scale, 1.0f);
}

TEST(InternalForceDiagramsTest, ParabolaOfALongMemberRunsInTwoUnitStepsToItsEnd)
{
    const struct {
        float length;  // model units, 10 picture units each
        std::size_t segments;
        double lastX;
    } cases[] = {{60.0f, 300, 650.0}, {50.1f, 250, 550.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        StructureModel model = ModelWithNodes({{0, 0}, {c.length, 0}});
        AddMember(model, 1, 2);
        model.Loads.Append(Distributed(1, "向下", 1.0f));
        const Drawn d(DrawMomentDiagram, model, "0.001");
        const std::vector<CanvasOp> parabola = d.LinesIn(kBlack);
        ASSERT_EQ(parabola.size(), c.segments);
        for (std::size_t k = 1; k < parabola.size(); ++k)
            ExpectPoint(parabola[k].x1, parabola[k].y1, {parabola[k - 1].x2, parabola[k - 1].y2});
        EXPECT_NEAR(parabola.back().x2, c.lastX, 1e-3);
        EXPECT_NEAR(parabola.back().y2, 200.0, 0.01);
    }
}

TEST(InternalForceDiagramsTest, MembersThatCannotBeDrawnAreSkippedAndAZeroLengthMemberKeepsItsMidSpanLabel)
{
    StructureModel model = Beam();
    Element& missing = AddMember(model, 1, 2);
    missing.JNode = 3;
    missing.Mi = 1e30f;
    Element& notANumber = AddMember(model, 1, 2);
    notANumber.Mi = std::nanf("");
    model.Elements.at(1).Mi = 4.0f;
    const Drawn d(DrawMomentDiagram, model, std::nullopt);
    EXPECT_FLOAT_EQ(d.scale, 5.0f) << "0.1 × 200 / 4: the skipped members do not count";
    ASSERT_EQ(d.Prints().size(), 1u);
    EXPECT_EQ(d.Prints()[0].text, "4.");
    EXPECT_EQ(d.Lines().size(), 3u);

    // All nodes at one picture point: no parabola steps, the mid-span ordinate
    // still stands at that point.
    StructureModel collapsed = Beam();
    collapsed.DrawScale = 0.0;
    collapsed.Loads.Append(Distributed(1, "向下", 10.0f));
    const Drawn z(DrawMomentDiagram, collapsed);
    EXPECT_TRUE(z.LinesIn(kBlack).empty());
    ASSERT_EQ(z.LinesIn(kMagenta).size(), 1u);
    ExpectLine(z.LinesIn(kMagenta)[0], {50, 200}, {50, 240});
    ASSERT_EQ(z.Prints().size(), 1u);
    ExpectLabel(z.Prints()[0], "20.", {50, 220});
}

// The basic system of the propped cantilever, L = 4 fixed at node 1, q = 2
// downward: MP has qL²/2 = 16 at the fixed end and the parabola's qL²/8 = 4
// at mid-span; M̄1 of the unit force up at the prop has L = 4 at the fixed
// end, on the other side, and no parabola, although the user's load stays on
// the member. Both read the case table, not the final moments of the members,
// and the unit force in Loads while the calculation holds it changes nothing.
TEST(InternalForceDiagramsTest, CaseMomentDiagramsOfTheProppedCantileverPlotTheirOwnCaseMoments)
{
    StructureModel model = Beam();
    model.SavedLoads.Append(Distributed(1, "向下", 2.0f));
    model.Loads.Append({"集中荷载", 1.0f, "向上", 2, 0});
    model.UnitForcesInLoads = true;
    model.CaseMoments.Resize(1, 1);
    model.CaseMoments.at(0, 1, 1) = 16.0f;
    model.CaseMoments.at(1, 1, 1) = -4.0f;
    model.Elements.at(1).Mi = 4.0f;  // the final moment: drawn by neither
    const struct {
        int caseNo;
        const char* caption;
        Pt Ti;
        std::vector<std::string> labels;
        std::size_t magenta;  // tip line and mid-span ordinate of a loaded member
    } cases[] = {
        {0, "MP图", {50, 168}, {"16.", "4."}, 2},
        {1, "M\u03041图", {50, 208}, {"4."}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        RecordingCanvas canvas{200.0, 200.0};
        FakeHost host(canvas, "2");
        EXPECT_EQ(DrawCaseMomentDiagram(model, c.caseNo, canvas, host), 2.0f);
        EXPECT_EQ(host.captions, std::vector<std::string>{c.caption});
        EXPECT_EQ(host.titles, std::vector<std::string>{c.caption});
        EXPECT_EQ(canvas.caption, c.caption);

        std::vector<CanvasOp> lines, magenta;
        std::vector<std::string> labels;
        for (std::size_t k = host.opsAtAsk; k < canvas.ops.size(); ++k) {
            const CanvasOp& op = canvas.ops[k];
            if (op.kind == CanvasOp::Kind::Print)
                labels.push_back(op.text);
            if (op.kind == CanvasOp::Kind::Line && (op.x1 != op.x2 || op.y1 != op.y2))
                (op.color == kMagenta ? magenta : lines).push_back(op);
        }
        EXPECT_EQ(labels, c.labels);
        EXPECT_EQ(magenta.size(), c.magenta);
        ASSERT_FALSE(lines.empty());
        ExpectLine(lines[0], {50, 200}, c.Ti);
        if (c.caseNo == 1) {
            ASSERT_EQ(lines.size(), 2u) << "ordinate and tip line, no parabola";
            ExpectLine(lines[1], c.Ti, {90, 200});
        }
    }
}

// A determinate structure has only MP, and it is the final moment diagram:
// the same picture from its case moments, but for the caption.
TEST(InternalForceDiagramsTest, LoadMomentDiagramOfADeterminateStructureIsItsFinalMomentDiagram)
{
    StructureModel model = Beam();
    model.Loads.Append(Distributed(1, "向下", 2.0f));
    model.Elements.at(1).Mi = 16.0f;
    model.Elements.at(1).Mj = -3.0f;
    model.CaseMoments.Resize(0, 1);
    model.CaseMoments.at(0, 1, 1) = 16.0f;
    model.CaseMoments.at(0, 1, 2) = -3.0f;
    for (const char* answer : {"2", ""}) {
        SCOPED_TRACE(answer);
        const Drawn final(DrawMomentDiagram, model, answer);
        const Drawn mp(
            [](const StructureModel& m, Canvas& c, DiagramHost& h) { return DrawCaseMomentDiagram(m, 0, c, h); }, model,
            answer);
        EXPECT_EQ(mp.canvas.caption, "MP图");
        EXPECT_EQ(mp.scale, final.scale);
        EXPECT_TRUE(mp.canvas.ops == final.canvas.ops);
    }
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

std::vector<std::string> LabelTexts(const Drawn& d)
{
    std::vector<std::string> texts;
    for (const CanvasOp& op : d.Prints())
        texts.push_back(op.text);
    return texts;
}

// A simple beam of 6 (picture x 50..110, y 200) with 12 downward at 2 and a
// counter-clockwise couple of 6 at 4, as the tables leave it (reactions 9 and
// 3: Vi 9, Vj -3; no end moments): the moment's ordinates and labels stand
// at the load points, 18 sagging under the force and 6 and 12 on the two
// sides of the couple, with a kink and a jump; the shear is 9 up to the
// force and -3 after it, labelled on both sides.
TEST(InternalForceDiagramsTest, MembersLoadedBetweenTheirNodesDrawTheCurveOfTheirForce)
{
    StructureModel model = ModelWithNodes({{0, 0}, {6, 0}});
    Element& e = AddMember(model, 1, 2);
    e.Vi = 9.0f;
    e.Vj = -3.0f;
    model.Loads.Append({"集中荷载", -12.0f, "向下", 0, 1, 2.0f});
    model.Loads.Append({"力偶", 6.0f, "逆时针", 0, 1, 4.0f});
    const Drawn moment(DrawMomentDiagram, model, "1");
    EXPECT_EQ(LabelTexts(moment), (std::vector<std::string>{"18.", "6.", "12."}));
    // The sagging 18 under the force hangs below the beam (right of i→j).
    bool under = false;
    for (const CanvasOp& op : moment.Lines())
        under = under || (std::fabs(op.x1 - 70.0) < 1e-9 && std::fabs(op.x2 - 70.0) < 1e-9 &&
                          std::fabs(std::max(op.y1, op.y2) - 218.0) < 1e-9);
    EXPECT_TRUE(under);
    const Drawn shear(DrawShearDiagram, model, "1");
    EXPECT_EQ(LabelTexts(shear), (std::vector<std::string>{"9.", "-3.", "-3.", "9."}));
}

// A report diagram on a 200 × 200 picture at the scale typed.
struct ReportDrawn {
    ReportDrawn(ReportDiagram which, const StructureModel& model, std::string answer = "2")
        : host(canvas, std::move(answer))
    {
        shown = DrawReportDiagram(model, which, canvas, host);
    }
    std::vector<CanvasOp> Of(CanvasOp::Kind kind) const
    {
        std::vector<CanvasOp> out;
        std::copy_if(canvas.ops.begin(), canvas.ops.end(), std::back_inserter(out),
                     [kind](const CanvasOp& op) { return op.kind == kind; });
        return out;
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const CanvasOp& op : Of(CanvasOp::Kind::Print))
            texts.push_back(op.text);
        std::sort(texts.begin(), texts.end());
        return texts;
    }
    // The centre of each label printed with `text`.
    std::vector<Pt> Centres(const std::string& text) const
    {
        std::vector<Pt> centres;
        for (const CanvasOp& op : Of(CanvasOp::Kind::Print))
            if (op.text == text) {
                const PictureBox box = TextBox(op.x1, op.y1, op.text);
                centres.push_back({(box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0});
            }
        return centres;
    }
    // A line of the diagram from (x, y1) to (x, y2), either way round.
    bool HasOrdinate(double x, double y1, double y2) const
    {
        return std::any_of(canvas.ops.begin(), canvas.ops.end(), [&](const CanvasOp& op) {
            return op.kind == CanvasOp::Kind::Line && std::fabs(op.x1 - x) < 1e-3 && std::fabs(op.x2 - x) < 1e-3 &&
                   std::fabs(std::min(op.y1, op.y2) - std::min(y1, y2)) < 1e-3 &&
                   std::fabs(std::max(op.y1, op.y2) - std::max(y1, y2)) < 1e-3;
        });
    }

    RecordingCanvas canvas{200.0, 200.0};
    FakeHost host;
    DiagramShown shown;
};

// Where a label must stand: near `at` (its box's centre within `within`
// units), on the side of the member axis through `axis` that `side` points to.
struct Expected {
    std::string text;
    Pt at;
    Pt side;
    double within = 12.0;
};

void ExpectLabels(const ReportDrawn& d, const std::vector<Expected>& expected, Pt axis)
{
    std::vector<std::string> texts;
    for (const Expected& e : expected) {
        texts.push_back(e.text);
        // The label of this text nearest the point wanted.
        const std::vector<Pt> centres = d.Centres(e.text);
        const auto distance = [&](const Pt& p) { return std::hypot(p.x - e.at.x, p.y - e.at.y); };
        const auto nearest = std::min_element(centres.begin(), centres.end(),
                                              [&](const Pt& a, const Pt& b) { return distance(a) < distance(b); });
        ASSERT_NE(nearest, centres.end()) << e.text;
        EXPECT_LE(distance(*nearest), e.within) << e.text;
        EXPECT_GT((nearest->x - axis.x) * e.side.x + (nearest->y - axis.y) * e.side.y, 0.0) << e.text;
    }
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(d.Texts(), texts);
}

// No label of the picture is crossed by a line or lies on another label.
void ExpectLabelsClear(const ReportDrawn& d)
{
    PictureObstacles lines;
    for (const CanvasOp& op : d.Of(CanvasOp::Kind::Line))
        lines.Add(op);
    std::vector<PictureBox> boxes;
    for (const CanvasOp& op : d.Of(CanvasOp::Kind::Print)) {
        const PictureBox box = TextBox(op.x1, op.y1, op.text);
        EXPECT_EQ(lines.Crossings(box), 0) << op.text << " at " << op.x1 << ", " << op.y1;
        for (const PictureBox& other : boxes)
            EXPECT_FALSE(other.Overlaps(box)) << op.text;
        boxes.push_back(box);
    }
}

// The report's moment diagrams by hand numbers, scale 2, q = 2 downward on
// horizontal members (picture y 200) and rightward on a column:
// - simple beam, L = 6: qL²/8 = 9 at mid-span, below (sagging), with its
//   ordinate; the chord lies on the axis, so no qL²/8 note;
// - propped cantilever, fixed at x = 0, L = 8: 16 = qL²/8 over the wall
//   (hogging, above); M(x) = 16 − 10x + x² is least at x = 5, 3L/8 from the
//   prop, −9 = 9qL²/128, with its ordinate; −8 at mid-span, inside the
//   diagram; the parabola's height above the chord 16;
// - beam fixed at both ends, L = 6: qL²/12 = 6 over both walls, qL²/24 = 3
//   at mid-span below, the height qL²/8 = 9;
// - column from (0, 0) up to (0, 6), simply supported: 9 at mid-height,
//   on its right (the side the load bends it to).
TEST(InternalForceDiagramsTest, ReportMomentDiagramsLabelEndsMidSpanAndExtremesWhereTheyAre)
{
    const Pt up{0, -1}, down{0, 1}, right{1, 0};
    const struct Case {
        const char* name;
        Pt j;
        const char* direction;
        float Mi, Mj;
        std::vector<Expected> labels;
        Pt ordinateFrom, ordinateTo;  // of the extreme inside the member
    } cases[] = {
        {"simple beam", {6, 0}, "向下", 0, 0, {{"9", {80, 218}, down}}, {80, 200}, {80, 218}},
        {"propped cantilever",
         {8, 0},
         "向下",
         16,
         0,
         {{"16", {50, 168}, up}, {"9", {100, 218}, down}, {"8", {90, 208}, down}, {"qL²/8 = 16", {90, 184}, up, 25}},
         {100, 200},
         {100, 218}},
        {"fixed beam",
         {6, 0},
         "向下",
         6,
         6,
         {{"6", {50, 188}, up}, {"3", {80, 206}, down}, {"qL²/8 = 9", {80, 188}, up, 25}},
         {80, 200},
         {80, 206}},
        {"column", {0, 6}, "向右", 0, 0, {{"9", {68, 170}, right}}, {0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StructureModel model = ModelWithNodes({{0, 0}, c.j});
        Element& e = AddMember(model, 1, 2);
        e.Mi = c.Mi;
        e.Mj = c.Mj;
        model.Loads.Append(Distributed(1, c.direction, 2.0f));
        const ReportDrawn d(ReportDiagram::Moment, model);
        EXPECT_FALSE(d.shown.zero);
        // The "6" over each wall of the fixed beam is one label per wall.
        std::vector<Expected> labels = c.labels;
        if (c.Mj != 0.0f)
            labels.push_back({"6", {110, 188}, up});
        ExpectLabels(d, labels, {50, 200});
        if (c.ordinateFrom.x != 0.0) {
            EXPECT_TRUE(d.HasOrdinate(c.ordinateFrom.x, c.ordinateFrom.y, c.ordinateTo.y));
        }
        const bool chord = c.Mi != 0.0f || c.Mj != 0.0f;
        const std::vector<CanvasOp> lines = d.Of(CanvasOp::Kind::Line);
        EXPECT_EQ(std::any_of(lines.begin(), lines.end(), [](const CanvasOp& op) { return op.color == kMagenta; }),
                  chord);
        ExpectLabelsClear(d);
    }
}

// Shear and axial force by size, each stretch of one sign marked inside:
// a simple beam of 6 under q = 2 has V = 6 − 2x, ⊕ on the left half above
// the axis and ⊖ on the right half below; under 12 at x = 2 it has 8 and
// −4 on the two sides of the load; a column from (0, 0) to (0, 6)
// in compression 5 gets one 5 and one ⊖; a beam without axial force is a
// zero diagram.
TEST(InternalForceDiagramsTest, ReportShearAndAxialDiagramsMarkTheirSigns)
{
    StructureModel beam = ModelWithNodes({{0, 0}, {6, 0}});
    Element& b = AddMember(beam, 1, 2);
    b.Vi = 6.0f;
    b.Vj = -6.0f;
    beam.Loads.Append(Distributed(1, "向下", 2.0f));
    const ReportDrawn shear(ReportDiagram::Shear, beam, "4");
    ExpectLabels(shear,
                 {{"6", {50, 176}, {0, -1}},
                  {"6", {110, 224}, {0, 1}},
                  {"⊕", {65, 194}, {0, -1}, 10},
                  {"⊖", {95, 206}, {0, 1}, 10}},
                 {50, 200});
    ExpectLabelsClear(shear);
    EXPECT_TRUE(ReportDrawn(ReportDiagram::Axial, beam).shown.zero);
    EXPECT_FALSE(shear.shown.zero);

    // 12 down at x = 2 of the beam: 8 on the left of it, −4 on the right,
    // each stretch labelled once at its middle.
    StructureModel pointLoaded = ModelWithNodes({{0, 0}, {6, 0}});
    Element& p = AddMember(pointLoaded, 1, 2);
    p.Vi = 8.0f;
    p.Vj = -4.0f;
    pointLoaded.Loads.Append({"集中荷载", -12.0f, "向下", 0, 1, 2.0f});
    const ReportDrawn stepped(ReportDiagram::Shear, pointLoaded, "4");
    ExpectLabels(
        stepped,
        {{"8", {60, 168}, {0, -1}}, {"4", {90, 216}, {0, 1}}, {"⊕", {60, 184}, {0, -1}}, {"⊖", {90, 208}, {0, 1}}},
        {50, 200});
    ExpectLabelsClear(stepped);

    StructureModel column = ModelWithNodes({{0, 0}, {0, 6}});
    Element& c = AddMember(column, 1, 2);
    c.Ni = c.Nj = -5.0f;
    const ReportDrawn axial(ReportDiagram::Axial, column, "4");
    // Negative values lie right of a column seen from its foot up.
    ExpectLabels(axial, {{"5", {70, 170}, {1, 0}}, {"⊖", {60, 170}, {1, 0}, 10}}, {50, 200});
    ExpectLabelsClear(axial);
}

}  // namespace
}  // namespace tavrin
