#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "drawing/DrawingPasses.h"
#include "forcemethod/CalculationFixture.h"
#include "forcemethod/DeflectedShape.h"
#include "forcemethod/Displacements.h"
#include "forcemethod/ModelSolution.h"
#include "solution/StiffnessSolution.h"

namespace tavrin {
namespace {

using testing::Calculation;
using testing::FrameTables;
using testing::WholeCalculation;

// Cantilever of 4 (EI 2) with 3 downward at its tip: PL^3 / 3EI = 32.
const FrameTables kTipLoadedCantilever{
    {{"1", "0", "0", "刚接"}, {"2", "4", "0", "自由端"}},
    {{"1", "2", "1", "2"}},
    {{"1", "固定支座", "结点下方"}},
    {{"集中荷载", "2", "", "向下", "3"}},
};

// Portal 4 x 4 (EI 1) on a pin (node 1) and a roller (node 4), 2 rightward
// at the top of the left column: M = 2y up the column, 8 (1 - x/4) along
// the beam, none in the right column; the unit load at node 3 gives the same
// diagram over 2, so the sway is h^3/3 + h^2 L/3 = 21.333 + 21.333 per unit
// of P.
const FrameTables kPinnedPortal{
    {{"1", "0", "0", "铰接"}, {"2", "0", "4", "刚接"}, {"3", "4", "4", "刚接"}, {"4", "4", "0", "铰接"}},
    {{"1", "1", "1", "2"}, {"2", "1", "2", "3"}, {"3", "1", "3", "4"}},
    {{"1", "铰支座", "结点下方"}, {"4", "活动支座", "结点下方"}},
    {{"集中荷载", "2", "", "向右", "2"}},
};

// The propped cantilever of 4 (EI 1, q 2) released the other way: a simple
// beam with the wall's couple as X1.
const FrameTables kSimpleBeamOfPropped{
    {{"1", "0", "0", "铰接"}, {"2", "4", "0", "铰接"}},
    {{"1", "1", "1", "2"}},
    {{"1", "铰支座", "结点下方"}, {"2", "活动支座", "结点下方"}},
    {{"均布荷载", "", "1", "向下", "2"}},
};

struct DisplacementCase {
    const char* name;
    WholeCalculation whole;
    DisplacementRequest request;
    double Delta;               // hand number, in the sense of the unit load
    std::vector<double> terms;  // the graph products member by member, when written out
};

// Cantilever kCantilever: L 4, EI 1, q 2: qL^4 / 8EI = 64, qL^3 / 6EI =
// 21.333, both against the unit load (down, clockwise). Simple beam of 8
// (kTwoSpanBeam taken as determinate, q 3): 5qL^4 / 384EI = 160 at mid-span,
// qL^3 / 24EI = 64 at the ends (clockwise at the left, counter-clockwise at
// the right). Propped cantilever: qL^3 / 48EI = 2.667 counter-clockwise at
// the prop, whichever the basic system. Gerber beam: the cantilever's tip
// under the hung span's 4 turns by -PL^2/2EI = -32, the hung span by
// 85.333/4 - qL^3/24EI = 16: the hinge opens by 48.
const DisplacementCase kDisplacementCases[] = {
    {"cantilever tip load deflection", {"", &kTipLoadedCantilever, 0, {}}, {2, DisplacementKind::Vertical}, -32, {-32}},
    {"cantilever uniform load deflection",
     {"", &testing::kCantilever, 0, {}},
     {2, DisplacementKind::Vertical},
     -64,
     {}},
    {"cantilever uniform load tip rotation",
     {"", &testing::kCantilever, 0, {}},
     {2, DisplacementKind::Rotation},
     -64.0 / 3,
     {}},
    {"cantilever tip moves not sideways", {"", &testing::kCantilever, 0, {}}, {2, DisplacementKind::Horizontal}, 0, {}},
    {"simple beam mid-span", {"", &testing::kTwoSpanBeam, 0, {}}, {2, DisplacementKind::Vertical}, -160, {-80, -80}},
    {"simple beam left end rotation", {"", &testing::kTwoSpanBeam, 0, {}}, {1, DisplacementKind::Rotation}, -64, {}},
    {"simple beam right end rotation", {"", &testing::kTwoSpanBeam, 0, {}}, {3, DisplacementKind::Rotation}, 64, {}},
    {"support does not move", {"", &testing::kTwoSpanBeam, 0, {}}, {3, DisplacementKind::Vertical}, 0, {0, 0}},
    {"portal sway",
     {"", &kPinnedPortal, 0, {}},
     {3, DisplacementKind::Horizontal},
     256.0 / 3,
     {128.0 / 3, 128.0 / 3, 0}},
    {"propped cantilever on the cantilever",
     {"", &testing::kCantilever, 1, {{{"集中荷载", "2", "", "向上"}}}},
     {2, DisplacementKind::Rotation},
     8.0 / 3,
     {}},
    {"propped cantilever on the simple beam",
     {"", &kSimpleBeamOfPropped, 1, {{{"力偶", "1", "1", "逆时针"}}}},
     {2, DisplacementKind::Rotation},
     8.0 / 3,
     {}},
    {"gerber beam hinge opening",
     {"", &testing::kGerberBeam, 0, {}, {{"1", "2", "3", "2"}}, {{"1", "1"}}},
     {2, DisplacementKind::HingeRotation},
     48,
     {}},
};

TEST(DisplacementsTest, UnitLoadMethodGivesTheHandNumbers)
{
    for (const DisplacementCase& k : kDisplacementCases) {
        SCOPED_TRACE(k.name);
        Calculation c(k.whole);
        const StructureModel before = c.model;
        Displacement d;
        ASSERT_TRUE(ComputeDisplacement(c.model, c.calc, k.request, d, c.messages))
            << ::testing::PrintToString(c.MessageTexts());
        EXPECT_NEAR(d.Delta, k.Delta, 1e-3);
        ASSERT_EQ(d.terms.size(), static_cast<std::size_t>(c.model.ElementCount()));
        for (std::size_t t = 0; t < k.terms.size(); ++t)
            EXPECT_NEAR(d.terms[t].term, k.terms[t], 1e-3) << "member " << t + 1;
        // The unit load's reactions balance it, and the model is as it was.
        float Fx = 0.0f, Fy = 0.0f;
        for (const Support& s : d.unit.reactions) {
            Fx += s.Fx;
            Fy += s.Fy;
        }
        EXPECT_NEAR(Fx, k.request.kind == DisplacementKind::Horizontal ? -1.0f : 0.0f, 1e-5f);
        EXPECT_NEAR(Fy, k.request.kind == DisplacementKind::Vertical ? -1.0f : 0.0f, 1e-5f);
        EXPECT_TRUE(c.model == before);
    }
}

TEST(DisplacementsTest, RefusesWhatCannotBeFormed)
{
    struct Refusal {
        const char* name;
        int degree;
        bool run;
        DisplacementRequest request;
        std::string message;
    };
    const Refusal refusals[] = {
        {"before the final forces", 1, false, {2, DisplacementKind::Vertical}, std::string(kRealMomentsMissing)},
        {"no such node", 0, true, {7, DisplacementKind::Vertical}, "结点7不存在！"},
        {"hinge rotation at a rigid joint",
         0,
         true,
         {2, DisplacementKind::HingeRotation},
         "结点2不是连接两根杆件的铰结点，不能求铰两侧相对转角！"},
    };
    for (const Refusal& k : refusals) {
        SCOPED_TRACE(k.name);
        Calculation c(testing::kCantilever, k.degree);
        if (k.run)
            c.RunAll({});
        Displacement d;
        d.Delta = 5.0;
        EXPECT_FALSE(ComputeDisplacement(c.model, c.calc, k.request, d, c.messages));
        EXPECT_EQ(c.MessageTexts(), std::vector<std::string>{k.message});
        EXPECT_EQ(d.Delta, 5.0);
    }
    // Where a hinge joins two members, each side turns its own way.
    Calculation g(WholeCalculation{"", &testing::kGerberBeam, 0, {}, {{"1", "2", "3", "2"}}, {{"1", "1"}}});
    Displacement d;
    EXPECT_FALSE(ComputeDisplacement(g.model, g.calc, {2, DisplacementKind::Rotation}, d, g.messages));
    EXPECT_EQ(g.MessageTexts(), std::vector<std::string>{"结点2是铰结点，两侧转角不同，请选“铰两侧相对转角”！"});
}

// What "位移计算" worked out is kept, each request once in the order first
// asked, a refused one not at all, also when the structure is analysed
// again; the report and the file take them after the file's own.
TEST(DisplacementsTest, DisplacementsWorkedOutAreKeptOnceForTheReportAndTheFile)
{
    Calculation c(testing::kCantilever, 0);
    c.RunAll({});
    AnsweredScale host(std::nullopt);
    EXPECT_EQ(ShowDisplacement(c.ctx, {2, DisplacementKind::Vertical}, host).end, StepEnd::Done);
    EXPECT_EQ(ShowDisplacement(c.ctx, {2, DisplacementKind::Rotation}, host).end, StepEnd::Done);
    EXPECT_EQ(ShowDisplacement(c.ctx, {2, DisplacementKind::Vertical}, host).end, StepEnd::Done);
    EXPECT_EQ(ShowDisplacement(c.ctx, {7, DisplacementKind::Vertical}, host).end, StepEnd::Refused);
    const CellRows shown{{"2", "竖向位移"}, {"2", "转角"}};
    EXPECT_EQ(c.calc.displacementsShown, shown);
    EXPECT_TRUE(AnalyseAndOpenCalculation(c.ctx));
    EXPECT_EQ(c.calc.displacementsShown, shown);
    EXPECT_EQ(AllDisplacementRequests({{"2", "转角"}, {"1", "转角"}}, shown),
              (CellRows{{"2", "转角"}, {"1", "转角"}, {"2", "竖向位移"}}));
}

// Cantilever of 4 under q 2 (EI 1): tip 64 down and 21.333 clockwise, the
// middle of the member q x^2 (6L^2 - 4Lx + x^2) / 24EI = 22.667 down; the
// red curve drawn at scale 1 ends at the tip's hand deflection.
TEST(DisplacementsTest, DeflectedCantileverPassesThroughTheHandNumbers)
{
    Calculation c(testing::kCantilever, 0);
    c.RunAll({});
    std::vector<NodeDisplacement> nodes;
    ASSERT_TRUE(ComputeNodeDisplacements(c.model, c.calc, nodes, c.messages));
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_NEAR(nodes[0].dy, 0.0, 1e-6);
    EXPECT_NEAR(nodes[1].dx, 0.0, 1e-6);
    EXPECT_NEAR(nodes[1].dy, -64.0, 1e-3);
    EXPECT_NEAR(nodes[1].theta.value_or(0.0), -64.0 / 3, 1e-3);
    std::string why;
    const std::vector<PiecewiseCurve> w = MemberDeflections(c.model, *SolutionOfModel(c.model, why));
    EXPECT_NEAR(MemberPointDisplacement(c.model, nodes, w[0], 1, 0.5).y, -68.0 / 3, 1e-9);
    EXPECT_NEAR(MemberPointDisplacement(c.model, nodes, w[0], 1, 1.0).y, -64.0, 1e-9);

    RecordingCanvas canvas;
    AnsweredScale host(std::string("1"));
    EXPECT_EQ(DrawDeflectedShape(c.model, nodes, canvas, host), 1.0);
    const double tipX = c.model.PictureX(4.0);
    const double tipY = c.model.PictureY(0.0) + 64.0;
    bool reached = false;
    for (const CanvasOp& line : canvas.Lines())
        reached = reached || (line.color == kRed && std::abs(line.x2 - tipX) < 1e-3 && std::abs(line.y2 - tipY) < 1e-3);
    EXPECT_TRUE(reached);

    // The picture window grown: the deflected shape is drawn again at the
    // scale typed, as on a larger picture, without asking again.
    canvas.SetScaleSize(400.0, 300.0);
    canvas.ops.clear();
    canvas.caption.clear();
    RedrawPicture(c.model, canvas);
    EXPECT_EQ(canvas.caption, "位移图");
    RecordingCanvas expected(400.0, 300.0);
    FitModelToPicture(c.model, expected);
    AnsweredScale again(std::string("1"));
    DrawDeflectedShape(c.model, nodes, expected, again);
    EXPECT_EQ(canvas.ops, expected.ops);
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

// Four equal spans of 4 (EI 1) under 1 per unit length, the inner supports
// released as X1..X3, node 2 at the middle of the first span. Three-moment
// equation: hogging 3qL^2/28, qL^2/14, 3qL^2/28 over the inner supports, so
// X1 = 32 qL / 28 and the first span's middle sags 5qL^4/384 - 3qL^4/448 =
// 34/21; the released supports stay where they are.
const FrameTables kFourSpanBeam{
    {{"1", "0", "0", "铰接"},
     {"2", "2", "0", "刚接"},
     {"3", "4", "0", "刚接"},
     {"4", "8", "0", "刚接"},
     {"5", "12", "0", "刚接"},
     {"6", "16", "0", "铰接"}},
    {{"1", "1", "1", "2"}, {"2", "1", "2", "3"}, {"3", "1", "3", "4"}, {"4", "1", "4", "5"}, {"5", "1", "5", "6"}},
    {{"1", "铰支座", "结点下方"}, {"6", "活动支座", "结点下方"}},
    {{"均布荷载", "", "1", "向下", "1"},
     {"均布荷载", "", "2", "向下", "1"},
     {"均布荷载", "", "3", "向下", "1"},
     {"均布荷载", "", "4", "向下", "1"},
     {"均布荷载", "", "5", "向下", "1"}},
};

TEST(DisplacementsTest, FourSpanBeamMatchesTheThreeMomentEquation)
{
    Calculation c(kFourSpanBeam, 3);
    c.RunAll({{{"集中荷载", "3", "", "向上"}}, {{"集中荷载", "4", "", "向上"}}, {{"集中荷载", "5", "", "向上"}}});
    std::string why;
    const std::optional<ForceMethodSolution> s = SolutionOfModel(c.model, why);
    ASSERT_TRUE(s) << why;
    EXPECT_NEAR(s->X[0], 32.0 * 4.0 / 28.0, 1e-12);
    EXPECT_NEAR(s->X[1], 26.0 * 4.0 / 28.0, 1e-12);
    std::vector<NodeDisplacement> nodes;
    ASSERT_TRUE(ComputeNodeDisplacements(c.model, c.calc, nodes, c.messages));
    EXPECT_NEAR(nodes[1].dy, -34.0 / 21.0, 1e-12);
    for (const int released : {2, 3, 4})
        EXPECT_EQ(nodes[static_cast<std::size_t>(released)].dy, 0.0) << released + 1;
    Displacement d;
    ASSERT_TRUE(ComputeDisplacement(c.model, c.calc, {4, DisplacementKind::Vertical}, d, c.messages));
    EXPECT_EQ(SenseText(d.Delta), "");
}

// A column and an inclined cantilever, each under a tip load: the middle of
// the member moves 5 P⊥ L^3 / (48 EI) along the member's normal (P⊥ the
// load's part across it), the chord half of the tip's P⊥ L^3 / (3 EI).
TEST(DisplacementsTest, DeflectedAxesOfAColumnAndAnInclinedMemberBendTowardTheLoad)
{
    struct Case {
        const char* name;
        const char* x;
        const char* y;
        const char* direction;
        double px, py;  // the load, 2 along `direction`
    };
    const Case cases[] = {{"column, load to the left", "0", "4", "向左", -2.0, 0.0},
                          {"member to (3, 4), load downward", "3", "4", "向下", 0.0, -2.0}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const FrameTables frame{{{"1", "0", "0", "刚接"}, {"2", k.x, k.y, "自由端"}},
                                {{"1", "3", "1", "2"}},
                                {{"1", "固定支座", "结点下方"}},
                                {{"集中荷载", "2", "", k.direction, "2"}}};
        Calculation c(frame, 0);
        c.RunAll({});
        std::vector<NodeDisplacement> nodes;
        ASSERT_TRUE(ComputeNodeDisplacements(c.model, c.calc, nodes, c.messages));
        std::string why;
        const std::vector<PiecewiseCurve> w = MemberDeflections(c.model, *SolutionOfModel(c.model, why));
        const double L = 5.0 - (std::string(k.x) == "0" ? 1.0 : 0.0), EI = 3.0;
        const double sinA = std::stod(k.y) / L, cosA = std::stod(k.x) / L;
        const double across = -sinA * k.px + cosA * k.py;  // along the left normal (-sinA, cosA)
        const double tip = across * L * L * L / (3.0 * EI);
        EXPECT_NEAR(nodes[1].dx, -sinA * tip, 1e-12);
        EXPECT_NEAR(nodes[1].dy, cosA * tip, 1e-12);
        const Displacement2D mid = MemberPointDisplacement(c.model, nodes, w[0], 1, 0.5);
        const double middle = 5.0 * across * L * L * L / (48.0 * EI);
        EXPECT_NEAR(mid.x, -sinA * middle, 1e-12);
        EXPECT_NEAR(mid.y, cosA * middle, 1e-12);
    }
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

// Two cantilevers from one wall node typed "铰接": the fixed support clamps
// the node, whose rotation is the support's, 0, with no sense (not refused
// as a hinge joining several members); the free end of the loaded one turns
// q L^3 / (6 EI) clockwise.
TEST(DisplacementsTest, AHingeClampedByAFixedSupportTurnsWithIt)
{
    const FrameTables frame{{{"1", "0", "0", "铰接"}, {"2", "4", "0", "自由端"}, {"3", "0", "3", "自由端"}},
                            {{"1", "1", "1", "2"}, {"2", "1", "1", "3"}},
                            {{"1", "固定支座", "结点下方"}},
                            {{"均布荷载", "", "1", "向下", "2"}}};
    Calculation c(frame, 0);
    c.RunAll({});
    Displacement d;
    ASSERT_TRUE(ComputeDisplacement(c.model, c.calc, {1, DisplacementKind::Rotation}, d, c.messages))
        << (c.messages.shown.empty() ? "" : c.messages.shown.back().text);
    EXPECT_EQ(d.Delta, 0.0);
    EXPECT_EQ(SenseText(d.Delta), "");
    ASSERT_TRUE(ComputeDisplacement(c.model, c.calc, {2, DisplacementKind::Rotation}, d, c.messages));
    EXPECT_NEAR(d.Delta, -2.0 * 64.0 / 6.0, 1e-12);
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

// Every node's displacement by the unit-load method (reduction theorem, on
// the basic system) against the original structure solved by the stiffness
// method: the same to 1e-9 of the largest, on frames with a column load, an
// attached part and three redundants.
TEST(DisplacementsTest, EveryNodeMovesAsTheStiffnessMethodSays)
{
    const std::vector<testing::Rows> portal{
        {{"集中荷载", "4", "", "向右"}}, {{"集中荷载", "4", "", "向上"}}, {{"力偶", "4", "", "逆时针"}}};
    const testing::WholeCalculation cases[] = {
        {"portal fixed at both feet", &testing::kLFrame, 3, portal},
        {"two-span continuous beam", &testing::kTwoSpanBeam, 1, {{{"集中荷载", "2", "", "向上"}}}},
        {"hinged beam over a released support",
         &testing::kHingedBeamOverThreeSupports,
         1,
         {{{"集中荷载", "3", "", "向上"}}},
         {{"1", "2", "4", "2", "3"}},
         {{"1", "1"}}},
    };
    for (const testing::WholeCalculation& k : cases) {
        SCOPED_TRACE(k.name);
        Calculation c(k);
        std::vector<NodeDisplacement> nodes;
        ASSERT_TRUE(ComputeNodeDisplacements(c.model, c.calc, nodes, c.messages));
        std::string why;
        const std::optional<ForceMethodSolution> s = SolutionOfModel(c.model, why);
        ASSERT_TRUE(s) << why;
        const auto original =
            StiffnessSolution::Build(c.model, std::vector<CaseLoads>(s->loads.begin() + 1, s->loads.end()), why);
        ASSERT_TRUE(original) << why;
        const StiffnessSolution::Result r = original->Solve(s->loads[0]);
        double largest = 0.0;
        for (int n = 1; n <= c.model.NodeCount(); ++n)
            for (const double u : original->NodeDisplacement(r, n))
                largest = std::max(largest, std::abs(u));
        // The symmetric two-span beam moves at no node.
        largest = std::max(largest, 1e-12);
        for (int n = 1; n <= c.model.NodeCount(); ++n) {
            const auto u = original->NodeDisplacement(r, n);
            const NodeDisplacement& d = nodes[static_cast<std::size_t>(n - 1)];
            EXPECT_NEAR(d.dx, u[0], 1e-9 * largest) << n;
            EXPECT_NEAR(d.dy, u[1], 1e-9 * largest) << n;
            if (d.theta && EndsHeldRigidly(c.model, static_cast<std::int16_t>(n))) {
                EXPECT_NEAR(*d.theta, u[2], 1e-9 * largest) << n;
            }
        }
    }
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

// Determinate structures move without forces: a cantilever of 4 whose faces
// warm by 30 (left, the top) and 10 (right), alpha 1e-5, h 0.4: the tip moves
// alpha t0 L = 8e-4 along it and kappa L^2 / 2 = 4e-3 down (kappa =
// alpha (30 - 10) / h = 5e-4); a simple beam of 8 whose roller settles 0.02
// turns as a whole, its middle node sinking 0.01.
TEST(DisplacementsTest, DeterminateStructuresMoveUnderHeatAndSettlement)
{
    const FrameTables cantilever{{{"1", "0", "0", "刚接"}, {"2", "4", "0", "自由端"}},
                                 {{"1", "1", "1", "2"}},
                                 {{"1", "固定支座", "结点左侧"}},
                                 {}};
    Calculation c(cantilever, 0);
    c.model.Temperatures.Append({1, 30.0f, 10.0f, 1e-5f, 0.4f});
    c.RunAll({});
    std::vector<NodeDisplacement> nodes;
    ASSERT_TRUE(ComputeNodeDisplacements(c.model, c.calc, nodes, c.messages));
    // alpha is typed as a 32-bit number: 1e-5 to 7 digits.
    EXPECT_NEAR(nodes[1].dx, 1e-5 * 20.0 * 4.0, 1e-6 * 8e-4);
    EXPECT_NEAR(nodes[1].dy, -5e-4 * 16.0 / 2.0, 1e-6 * 4e-3);

    const FrameTables beam{{{"1", "0", "0", "铰接"}, {"2", "4", "0", "刚接"}, {"3", "8", "0", "铰接"}},
                           {{"1", "1", "1", "2"}, {"2", "1", "2", "3"}},
                           {{"1", "铰支座", "结点下方"}, {"3", "活动支座", "结点下方"}},
                           {}};
    Calculation b(beam, 0);
    b.model.Settlements.Append({3, "竖向位移", -0.02f});
    b.RunAll({});
    ASSERT_TRUE(ComputeNodeDisplacements(b.model, b.calc, nodes, b.messages));
    EXPECT_NEAR(nodes[1].dy, -0.01, 1e-9);
    EXPECT_NEAR(nodes[2].dy, -0.02, 1e-9);
    for (const Element& e : b.model.Elements)
        EXPECT_EQ(e.Mi, 0.0f);
}

}  // namespace
}  // namespace tavrin
