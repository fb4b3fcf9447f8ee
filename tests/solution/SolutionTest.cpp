#include <gtest/gtest.h>

#include <cmath>

#include "analysis/StaticsTestModels.h"
#include "solution/Curve.h"
#include "solution/ForceMethodSolution.h"
#include "solution/FrameStatics.h"
#include "solution/SolutionTestSupport.h"
#include "solution/StiffnessSolution.h"

namespace tavrin {
namespace {

using testing::ModelBuilder;
using testing::Table;
using testing::Unit;

CaseForces Statics(const StructureModel& model, const OneBasedTable<Load>& loads)
{
    std::string why;
    const std::optional<CaseLoads> c = ReadCaseLoads(model, loads, why);
    EXPECT_TRUE(c) << why;
    const std::optional<CaseForces> f = c ? SolveStatics(model, *c, why) : std::nullopt;
    EXPECT_TRUE(f) << why;
    return f ? *f : CaseForces{};
}

TEST(Curve, ProductIntegralsAndDeflectionMatchClosedForms)
{
    const double L = 6.0;
    // int_0^L x (L - x) dx = L^3 / 6, over pieces that break differently.
    PiecewiseCurve f{{0.0, 2.0, L}, {{{0.0, 1.0}}, {{0.0, 1.0}}}};
    const PiecewiseCurve g = SinglePiece(L, {{L, -1.0}});
    EXPECT_NEAR(IntegralOfProduct(f, g), L * L * L / 6.0, 1e-12);
    // A simply supported member under q downward: M = -q x (L - x) / 2
    // (sagging negative), mid-span deflection -5 q L^4 / (384 EI).
    const double q = 10.0, EI = 2.0;
    const PiecewiseCurve w = DeflectionOf(SinglePiece(L, {{0.0, -q * L / 2.0, q / 2.0}}), EI);
    EXPECT_NEAR(w.At(L / 2.0), -5.0 * q * std::pow(L, 4) / (384.0 * EI), 1e-9);
    EXPECT_NEAR(w.At(0.0), 0.0, 1e-12);
    EXPECT_NEAR(w.AtEndJ(), 0.0, 1e-12);
    // A kink at the break: the deflection stays smooth across it.
    const PiecewiseCurve kinked = DeflectionOf(PiecewiseCurve{{0.0, 3.0, L}, {{{0.0, -1.0}}, {{-6.0, 1.0}}}}, 1.0);
    EXPECT_NEAR(kinked.pieces[0](3.0), kinked.pieces[1](3.0), 1e-12);
    // The moment of a point load P = 2 down at mid-span: P L^3 / (48 EI) down under it.
    EXPECT_NEAR(kinked.At(3.0), -2.0 * std::pow(L, 3) / 48.0, 1e-12);
}

// Determinate structures with hand-derived end forces and reactions.
TEST(FrameStatics, DeterminateStructuresGiveTheHandValues)
{
    {
        SCOPED_TRACE("simply supported beam, L = 4, q = 10 down");
        const StructureModel m = ModelBuilder()
                                     .Node(0, 0)
                                     .Node(4, 0)
                                     .Member(1, 2)
                                     .Support(1, kPinSupport)
                                     .Support(2, kRollerSupport)
                                     .Distributed(1, kDownward, 10)
                                     .Build();
        const CaseForces f = Statics(m, m.Loads);
        EXPECT_NEAR(f.supports[0].Fy, 20.0, 1e-12);
        EXPECT_NEAR(f.supports[1].Fy, 20.0, 1e-12);
        EXPECT_NEAR(f.members[0].i.V, 20.0, 1e-12);
        EXPECT_NEAR(f.members[0].j.V, -20.0, 1e-12);
        EXPECT_NEAR(f.members[0].M.At(2.0), -20.0, 1e-12);  // q L^2 / 8, sagging
        EXPECT_NEAR(f.members[0].j.M, 0.0, 1e-12);
    }
    {
        SCOPED_TRACE("column fixed at its foot, 5 rightward at its top 3 up");
        const StructureModel m =
            ModelBuilder().Node(0, 0).Node(0, 3).Member(1, 2).Support(1, kFixedSupport).Force(2, kRightward, 5).Build();
        const CaseForces f = Statics(m, m.Loads);
        EXPECT_NEAR(f.supports[0].Fx, -5.0, 1e-12);
        EXPECT_NEAR(f.supports[0].Fy, 0.0, 1e-12);
        // The wall holds the column against a clockwise overturning 15 with a
        // counter-clockwise couple, which stretches the column's left (-x) side.
        EXPECT_NEAR(f.supports[0].Fm, -15.0, 1e-12);
        // Left normal of a member going up is -x: the wall pushes along -x, V = +5.
        EXPECT_NEAR(f.members[0].i.V, 5.0, 1e-12);
        EXPECT_NEAR(f.members[0].i.M, 15.0, 1e-12);
        EXPECT_NEAR(f.members[0].j.M, 0.0, 1e-12);
    }
    {
        SCOPED_TRACE("inclined member (3, 4), pin and roller, 2 per horizontal length down");
        const StructureModel m = ModelBuilder()
                                     .Node(0, 0)
                                     .Node(3, 4)
                                     .Member(1, 2)
                                     .Support(1, kPinSupport)
                                     .Support(2, kRollerSupport)
                                     .Distributed(1, kDownward, 2)
                                     .Build();
        const CaseForces f = Statics(m, m.Loads);
        EXPECT_NEAR(f.supports[0].Fy, 3.0, 1e-12);
        EXPECT_NEAR(f.supports[1].Fy, 3.0, 1e-12);
        // Across the member 2 * 3/5 * 3/5 per member length: M at mid-span
        // -(0.72) 5^2 / 8 = -2.25; along it N from -3 * 4/5 to +3 * 4/5.
        EXPECT_NEAR(f.members[0].M.At(2.5), -2.25, 1e-12);
        EXPECT_NEAR(f.members[0].i.N, -2.4, 1e-12);
        EXPECT_NEAR(f.members[0].j.N, 2.4, 1e-12);
    }
    {
        SCOPED_TRACE("three-hinged frame: crown moment zero, thrust q L^2 / (8 f)");
        const StructureModel m =
            testing::ThreeHingedFrame().Distributed(2, kDownward, 3).Distributed(3, kDownward, 3).Build();
        const CaseForces f = Statics(m, m.Loads);
        EXPECT_NEAR(f.supports[0].Fy, 12.0, 1e-12);
        EXPECT_NEAR(f.supports[0].Fx, 6.0, 1e-12);  // 3 * 64 / 32
        EXPECT_NEAR(f.supports[1].Fx, -6.0, 1e-12);
        EXPECT_NEAR(f.members[1].j.M, 0.0, 1e-12);
        EXPECT_NEAR(f.members[2].i.M, 0.0, 1e-12);
    }
    {
        SCOPED_TRACE("a couple on a member's own end at a hinge stays on that member");
        const StructureModel m = testing::HingedBeam(kRollerSupport).Couple(2, kCounterClockwise, 6, 2).Build();
        const CaseForces f = Statics(m, m.Loads);
        EXPECT_NEAR(f.members[0].j.M, 0.0, 1e-12);
        EXPECT_NEAR(f.members[1].i.M, 6.0, 1e-12);
        // About the hinge, member 2 alone: 6 + 4 Fy = 0.
        EXPECT_NEAR(f.supports[1].Fy, -1.5, 1e-12);
    }
}

TEST(FrameStatics, RefusesWhatIsNotDeterminateOrNotOneMember)
{
    std::string why;
    const StructureModel propped =
        ModelBuilder().Node(0, 0).Node(4, 0).Member(1, 2).Support(1, kFixedSupport).Support(2, kRollerSupport).Build();
    EXPECT_FALSE(SolveStatics(propped, *ReadCaseLoads(propped, propped.Loads, why), why));
    const StructureModel crown = testing::HingedBeam(kRollerSupport).Couple(2, kCounterClockwise, 6).Build();
    EXPECT_FALSE(ReadCaseLoads(crown, crown.Loads, why));
    EXPECT_NE(why.find("作用单元"), std::string::npos);
}

// Propped cantilever L = 4, q = 10, X1 the roller's upward force: X1 = 3 q L / 8.
StructureModel ProppedCantileverBasicSystem()
{
    return ModelBuilder()
        .Node(0, 0)
        .Node(4, 0)
        .Member(1, 2, 2.0f)
        .Support(1, kFixedSupport)
        .Distributed(1, kDownward, 10)
        .Degree(1)
        .Build();
}

TEST(ForceMethodSolution, ProppedCantileverHasTheTextbookRedundant)
{
    const StructureModel m = ProppedCantileverBasicSystem();
    std::string why;
    const auto s = SolveForceMethod(m, {m.Loads, Table({Unit(2, kConcentratedLoad, kUpward)})}, why);
    ASSERT_TRUE(s) << why;
    EXPECT_NEAR(s->delta[0][0], 64.0 / 3.0 / 2.0, 1e-12);
    EXPECT_NEAR(s->Delta[0], -10.0 * 256.0 / 8.0 / 2.0, 1e-12);
    EXPECT_NEAR(s->X[0], 15.0, 1e-12);
    EXPECT_NEAR(s->total.supports[0].Fy, 25.0, 1e-12);
    EXPECT_NEAR(s->total.members[0].i.M, 20.0, 1e-12);
    EXPECT_NEAR(s->total.members[0].j.M, 0.0, 1e-12);
}

// Gable frames with inclined rafters and loads on a column, the right foot
// released: fixed there (three redundants, one a couple), or pinned with a
// hinge at the ridge (one). The stiffness method on the original structure
// gives the same X, end forces and reactions.
struct GableCase {
    const char* name;
    std::string_view ridge;
    std::string_view footSupport;  // at node 5 in the basic system, "" none
    std::vector<Load> units;
};

TEST(StiffnessSolution, AgreesWithTheForceMethodOnFrames)
{
    const GableCase cases[] = {
        {"fixed feet",
         kRigidJoint,
         "",
         {Unit(5, kConcentratedLoad, kRightward), Unit(5, kConcentratedLoad, kUpward),
          Unit(5, kCouple, kCounterClockwise)}},
        {"pinned feet, hinge at the ridge", kHingedJoint, kRollerSupport, {Unit(5, kConcentratedLoad, kRightward)}},
    };
    for (const GableCase& c : cases) {
        SCOPED_TRACE(c.name);
        ModelBuilder b;
        b.Node(0, 0).Node(0, 4).Node(3, 6, c.ridge).Node(6, 4).Node(6, 0);
        b.Member(1, 2, 2.0f).Member(2, 3, 1.0f).Member(3, 4, 1.0f).Member(4, 5, 3.0f);
        b.Support(1, kFixedSupport);
        if (!c.footSupport.empty())
            b.Support(5, c.footSupport);
        b.Distributed(2, kDownward, 4).Distributed(1, kRightward, 1.5f).Force(3, kRightward, 5);
        b.Degree(static_cast<std::int16_t>(c.units.size()));
        const StructureModel m = b.Build();
        std::vector<OneBasedTable<Load>> loads{m.Loads};
        for (const Load& unit : c.units)
            loads.push_back(Table({unit}));
        testing::CheckAgainstStiffness(m, loads);
    }
}

// Closed forms of the stiffness route: a column fixed at its foot deflects
// P L^3 / (3 EI) toward its load; a fixed-ended beam takes q L^2 / 12.
TEST(StiffnessSolution, ClosedForms)
{
    std::string why;
    const StructureModel column = ModelBuilder()
                                      .Node(0, 0)
                                      .Node(0, 3)
                                      .Member(1, 2, 2.0f)
                                      .Support(1, kFixedSupport)
                                      .Force(2, kLeftward, 4)
                                      .Build();
    const auto c = StiffnessSolution::Build(column, {}, why);
    ASSERT_TRUE(c) << why;
    const CaseLoads loads = *ReadCaseLoads(column, column.Loads, why);
    const auto tip = c->NodeDisplacement(c->Solve(loads), 2);
    EXPECT_NEAR(tip[0], -4.0 * 27.0 / 6.0, 1e-12);
    EXPECT_NEAR(tip[1], 0.0, 1e-12);
    EXPECT_NEAR(tip[2], 4.0 * 9.0 / 4.0, 1e-12);  // counter-clockwise, P L^2 / (2 EI)

    const StructureModel beam = ModelBuilder()
                                    .Node(0, 0)
                                    .Node(6, 0)
                                    .Member(1, 2)
                                    .Support(1, kFixedSupport)
                                    .Support(2, kFixedSupport)
                                    .Distributed(1, kDownward, 2)
                                    .Build();
    const auto b = StiffnessSolution::Build(beam, {}, why);
    ASSERT_TRUE(b) << why;
    const auto r = b->Solve(*ReadCaseLoads(beam, beam.Loads, why));
    EXPECT_NEAR(r.forces.members[0].i.M, 6.0, 1e-12);
    EXPECT_NEAR(r.forces.members[0].j.M, 6.0, 1e-12);
    EXPECT_NEAR(r.forces.members[0].M.At(3.0), -3.0, 1e-12);
}

}  // namespace
}  // namespace tavrin
