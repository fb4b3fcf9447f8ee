#include <gtest/gtest.h>

#include <cmath>

#include "analysis/StaticsTestModels.h"
#include "solution/ForceMethodSolution.h"
#include "solution/SolutionTestSupport.h"
#include "solution/StiffnessSolution.h"

namespace tavrin {
namespace {

using testing::ModelBuilder;
using testing::Table;
using testing::Unit;

Load Between(std::string_view type, std::string_view direction, float value, std::int16_t element,
             std::optional<float> a, std::optional<float> b = std::nullopt, std::optional<float> end = std::nullopt)
{
    const bool positive = direction == kUpward || direction == kRightward || direction == kCounterClockwise;
    return {std::string(type),
            positive ? value : -value,
            std::string(direction),
            0,
            element,
            a,
            b,
            end ? std::optional<float>(positive ? *end : -*end) : std::nullopt};
}

// A beam of 6 fixed at node 1 and free at node 2, on its own (the basic
// system) or direction-turned: `x`, `y` give node 2.
StructureModel Cantilever(float x, float y, const OneBasedTable<Load>& loads, std::int16_t degree)
{
    StructureModel m = ModelBuilder().Node(0, 0).Node(x, y).Member(1, 2, 2.0f).Support(1, kFixedSupport).Build();
    m.Loads = loads;
    m.IndeterminacyDegree = degree;
    return m;
}

// Fixed-end moments of the textbook load cases on a beam of 6 held at both
// ends (hogging positive at both ends): a triangle rising from 0 at i to q at
// j, q L^2 / 30 and q L^2 / 20; a force P at a, P a b^2 / L^2 and
// P a^2 b / L^2; a uniform load over the first half, 11 q L^2 / 192 and
// 5 q L^2 / 192; a couple C at mid-span, C/4 and -C/4. Found twice: by the
// force method on the cantilever (the free end's force and couple as
// redundants) and by the member's own fixed-end forces in the stiffness
// method.
TEST(MemberLoadTest, FixedEndMomentsOfTheTextbookLoadCases)
{
    const float L = 6.0f;
    struct Case {
        const char* name;
        Load load;
        double Mi, Mj;
    };
    const double q = 3.0, P = 5.0, a = 2.0, b = 4.0, C = 8.0;
    const Case cases[] = {
        {"triangle", Between(kDistributedLoad, kDownward, 0, 1, std::nullopt, std::nullopt, 3.0f), q * L * L / 30,
         q * L * L / 20},
        {"force at a", Between(kConcentratedLoad, kDownward, 5, 1, 2.0f), P * a * b * b / (L * L),
         P * a * a * b / (L * L)},
        {"uniform over the first half", Between(kDistributedLoad, kDownward, 3, 1, std::nullopt, 3.0f),
         11 * q * L * L / 192, 5 * q * L * L / 192},
        {"couple at mid-span", Between(kCouple, kCounterClockwise, 8, 1, 3.0f), C / 4, -C / 4},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const StructureModel m = Cantilever(L, 0, Table({k.load}), 2);
        std::string why;
        const auto s = SolveForceMethod(
            m, {m.Loads, Table({Unit(2, kConcentratedLoad, kUpward)}), Table({Unit(2, kCouple, kCounterClockwise)})},
            why);
        ASSERT_TRUE(s) << why;
        EXPECT_NEAR(s->total.members[0].i.M, k.Mi, 1e-9);
        EXPECT_NEAR(s->total.members[0].j.M, k.Mj, 1e-9);
        EXPECT_NEAR(s->total.members[0].M.AtEndJ(), k.Mj, 1e-9);
        const MemberLoad::FixedEndForces f = s->loads[0].members[0].FixedEnds();
        EXPECT_NEAR(f.Ci, k.Mi, 1e-9);
        EXPECT_NEAR(f.Cj, -k.Mj, 1e-9);
    }
}

// Propped cantilever of 6 with P at mid-span: X1 = 5P/16 at the prop, and
// the moment under the load 5PL/32 sagging; the stiffness method says the
// same with the prop as a restraint. Turned upright (a column under a
// horizontal force), the same numbers.
TEST(MemberLoadTest, ProppedCantileverUnderAPointLoad)
{
    struct Case {
        const char* name;
        float x, y;
        std::string_view load, unit;
    };
    const Case cases[] = {{"beam", 6, 0, kDownward, kUpward}, {"column", 0, 6, kLeftward, kRightward}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const StructureModel m = Cantilever(k.x, k.y, Table({Between(kConcentratedLoad, k.load, 16, 1, 3.0f)}), 1);
        std::string why;
        const auto s = SolveForceMethod(m, {m.Loads, Table({Unit(2, kConcentratedLoad, k.unit)})}, why);
        ASSERT_TRUE(s) << why;
        EXPECT_NEAR(s->X[0], 5.0, 1e-9);
        const PiecewiseCurve& M = s->total.members[0].M;
        EXPECT_NEAR(std::abs(M.At(3.0)), 5.0 * 16 * 6 / 32, 1e-9);
        EXPECT_NEAR(std::abs(s->total.members[0].i.M), 3.0 * 16 * 6 / 16, 1e-9);
        // A kink under the load: the shear jumps by P.
        const auto k2 = StiffnessSolution::Build(m, {s->loads[1]}, why);
        ASSERT_TRUE(k2) << why;
        const StiffnessSolution::Result r = k2->Solve(s->loads[0]);
        EXPECT_NEAR(r.X[0], 5.0, 1e-9);
        EXPECT_NEAR(r.forces.members[0].i.M, s->total.members[0].i.M, 1e-9);
    }
}

// The curves of a simply supported beam of 6 under a couple of 6 at 2 and a
// trapezoid from 1 to 3 (down) over [3, 6]: the moment jumps by the couple,
// the shear keeps its value across the couple and changes by the trapezoid's
// resultant 6 over [3, 6]; the reactions balance the loads.
TEST(MemberLoadTest, CurvesJumpUnderACoupleAndBendUnderALinearLoad)
{
    const StructureModel m =
        ModelBuilder().Node(0, 0).Node(6, 0).Member(1, 2).Support(1, kPinSupport).Support(2, kRollerSupport).Build();
    const OneBasedTable<Load> loads = Table({Between(kCouple, kCounterClockwise, 6, 1, 2.0f),
                                             Between(kDistributedLoad, kDownward, 1, 1, 3.0f, std::nullopt, 3.0f)});
    std::string why;
    const auto c = ReadCaseLoads(m, loads, why);
    ASSERT_TRUE(c) << why;
    const auto f = SolveStatics(m, *c, why);
    ASSERT_TRUE(f) << why;
    // About node 1: 6 (ccw) - 6 * (3 + 5/3... ) resultant 6 at 3 + 1.75 = 4.75 from node 1.
    const double R2 = (6.0 * 4.75 - 6.0) / 6.0;
    EXPECT_NEAR(f->supports[1].Fy, R2, 1e-12);
    EXPECT_NEAR(f->supports[0].Fy, 6.0 - R2, 1e-12);
    const MemberLoad& load = c->members[0];
    const PiecewiseCurve M = load.MomentCurve(f->members[0].i);
    EXPECT_NEAR(M.At(2.0) - M.pieces[0](2.0), 6.0, 1e-12);
    EXPECT_NEAR(M.AtEndJ(), 0.0, 1e-12);
    const PiecewiseCurve V = load.ShearCurve(f->members[0].i);
    EXPECT_NEAR(V.At(3.0) - V.AtEndJ(), 6.0, 1e-12);
    EXPECT_NEAR(V.AtEndJ(), f->members[0].j.V, 1e-12);
    const MemberLoad::Resultant r = load.ResultantForce();
    EXPECT_NEAR(r.Fy, -6.0, 1e-12);
    EXPECT_NEAR(r.Mi, -6.0 * 4.75 + 6.0, 1e-12);
}

// A triangular load on a column of a fixed portal (per unit of vertical
// projection, 0 at the foot to 4 at the top): the force method and the
// stiffness method agree on X and on every end force.
TEST(MemberLoadTest, TriangularLoadOnAPortalColumnAgreesWithTheStiffnessMethod)
{
    StructureModel m = ModelBuilder()
                           .Node(0, 0)
                           .Node(0, 4)
                           .Node(4, 4)
                           .Node(4, 0)
                           .Member(1, 2, 2.0f)
                           .Member(2, 3, 1.0f)
                           .Member(3, 4, 2.0f)
                           .Support(1, kFixedSupport)
                           .Build();
    m.Loads = Table({Between(kDistributedLoad, kRightward, 0, 1, std::nullopt, std::nullopt, 4.0f),
                     Between(kConcentratedLoad, kDownward, 10, 2, 1.0f)});
    m.IndeterminacyDegree = 3;
    const std::vector<OneBasedTable<Load>> cases{m.Loads, Table({Unit(4, kConcentratedLoad, kRightward)}),
                                                 Table({Unit(4, kConcentratedLoad, kUpward)}),
                                                 Table({Unit(4, kCouple, kCounterClockwise)})};
    testing::CheckAgainstStiffness(m, cases);
    std::string why;
    const auto s = SolveForceMethod(m, cases, why);
    ASSERT_TRUE(s) << why;
    // The column takes the triangle's resultant 8 across it: the two shears differ by 8.
    EXPECT_NEAR(std::abs(s->total.members[0].j.V - s->total.members[0].i.V), 8.0, 1e-9);
}

}  // namespace
}  // namespace tavrin
