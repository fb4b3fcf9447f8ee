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

const Load kUp = Unit(2, kConcentratedLoad, kUpward);
const Load kTurn = Unit(2, kCouple, kCounterClockwise);

// A cantilever of 4 (EI 2) fixed at node 1: the basic system of a propped
// cantilever (X1 the prop's upward force at node 2) or, with the couple as
// X2, of a beam fixed at both ends.
StructureModel Cantilever(std::int16_t degree)
{
    StructureModel m = ModelBuilder().Node(0, 0).Node(4, 0).Member(1, 2, 2.0f).Support(1, kFixedSupport).Build();
    m.IndeterminacyDegree = degree;
    return m;
}

// The textbook cases, each solved by the force method and again by the
// stiffness method with the settlement or the heat imposed:
// - the prop settles c: X1 = -3 EI c / L^3;
// - the wall turns phi counter-clockwise: the tip would rise L phi,
//   X1 = -3 EI phi / L^2;
// - the top face 20 warmer (alpha 1e-5, h 0.5, kappa 4e-4): the tip would
//   sink kappa L^2 / 2, X1 = 3 EI kappa / 2L, the wall's moment 3 EI kappa / 2
//   sagging (the cold face in tension);
// - fixed at both ends, the same heat: M = -EI kappa all along, no shear.
TEST(ImposedDeformationTest, SettlementsAndHeatGiveTheTextbookRedundants)
{
    const double EI = 2.0, L = 4.0, kappa = 1e-5 * 20.0 / 0.5;
    const TemperatureChange heat{1, 20.0, 0.0, 1e-5, 0.5};
    struct Case {
        const char* name;
        int degree;
        ImposedDeformation imposed;
        double X1;
        double Mi, Mj;
    };
    const Case cases[] = {
        {"prop settles", 1, {{}, {}, {-0.01}}, -3 * EI * 0.01 / (L * L * L), 3 * EI * 0.01 / (L * L), 0.0},
        {"wall turns",
         1,
         {{{1, SettlementKind::Rotation, 0.002}}, {}, {}},
         -3 * EI * 0.002 / (L * L),
         3 * EI * 0.002 / L,
         0.0},
        {"faces heated unequally", 1, {{}, {heat}, {}}, 3 * EI * kappa / (2 * L), -3 * EI * kappa / 2, 0.0},
        {"fixed at both ends, heated", 2, {{}, {heat}, {}}, 0.0, -EI * kappa, -EI * kappa},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const StructureModel m = Cantilever(static_cast<std::int16_t>(k.degree));
        std::vector<OneBasedTable<Load>> loads{{}, Table({kUp})};
        if (k.degree == 2)
            loads.push_back(Table({kTurn}));
        std::string why;
        const auto s = SolveForceMethod(m, loads, k.imposed, why);
        ASSERT_TRUE(s) << why;
        EXPECT_NEAR(s->X[0], k.X1, 1e-12);
        EXPECT_NEAR(s->total.members[0].i.M, k.Mi, 1e-12);
        EXPECT_NEAR(s->total.members[0].j.M, k.Mj, 1e-12);

        const std::vector<CaseLoads> restraints(s->loads.begin() + 1, s->loads.end());
        const auto original = StiffnessSolution::Build(m, restraints, why);
        ASSERT_TRUE(original) << why;
        const StiffnessSolution::Result r = original->Solve(s->loads[0], k.imposed);
        for (std::size_t i = 0; i < s->X.size(); ++i)
            EXPECT_NEAR(r.X[i], s->X[i], 1e-12);
        EXPECT_NEAR(r.forces.members[0].i.M, k.Mi, 1e-12);
        EXPECT_NEAR(r.forces.members[0].j.M, k.Mj, 1e-12);
    }
}

// A two-hinged portal (height 4, span 6; columns EI 3, beam EI 2) whose
// beam is warmed evenly by t0 = 30 (alpha 1.2e-5), released at the right
// foot (X1 rightward): the beam would lengthen alpha t0 l and push the foot
// out, N̄1 = +1 in the beam, so
//   Delta_1t = alpha t0 l = 2.16e-3,
//   delta_11 = 2 h^3 / 3 EIc + h^2 l / EIb = 128/9 + 48,
// and X1 = -Delta_1t / delta_11 pulls the foot back; the corners' moment
// X1 h, every share of the ledger the beam's.
TEST(ImposedDeformationTest, WarmedBeamOfATwoHingedPortal)
{
    const StructureModel m =
        testing::PortalFrame().Support(1, kPinSupport).Support(4, kRollerSupport).Degree(1).Build();
    const TemperatureChange warm{2, 30.0, 30.0, 1.2e-5, 0.6};
    const ImposedDeformation imposed{{}, {warm}, {}};
    std::string why;
    const auto s = SolveForceMethod(m, {{}, Table({Unit(4, kConcentratedLoad, kRightward)})}, imposed, why);
    ASSERT_TRUE(s) << why;
    const double Dt = 1.2e-5 * 30.0 * 6.0, d11 = 128.0 / 9.0 + 48.0;
    EXPECT_NEAR(s->Dt[0], Dt, 1e-15);
    EXPECT_NEAR(s->delta[0][0], d11, 1e-12);
    EXPECT_NEAR(s->X[0], -Dt / d11, 1e-15);
    EXPECT_NEAR(std::abs(s->total.members[0].j.M), 4.0 * Dt / d11, 1e-14);

    const std::vector<TemperatureShare> shares =
        TemperatureShares(m, s->cases[1], s->loads[1].members, imposed.temperatures);
    ASSERT_EQ(shares.size(), 1u);
    EXPECT_NEAR(shares[0].integralN, 6.0, 1e-12);
    EXPECT_NEAR(shares[0].term, Dt, 1e-15);
}

// A portal (a column heated unequally, the beam warmed evenly so that it
// lengthens, the left foot settling and turning), released at its right
// foot: the force method and the stiffness method agree on X and on every
// end force.
TEST(ImposedDeformationTest, PortalAgreesWithTheStiffnessMethod)
{
    const StructureModel m = testing::PortalFrame().Support(1, kFixedSupport).Degree(3).Build();
    const ImposedDeformation imposed{{{1, SettlementKind::Vertical, -0.004}, {1, SettlementKind::Rotation, 0.001}},
                                     {{1, 10.0, -5.0, 1.2e-5, 0.4}, {2, 30.0, 30.0, 1.2e-5, 0.6}},
                                     {0.002, 0.0, 0.0}};
    const std::vector<OneBasedTable<Load>> loads{{},
                                                 Table({Unit(4, kConcentratedLoad, kRightward)}),
                                                 Table({Unit(4, kConcentratedLoad, kUpward)}),
                                                 Table({Unit(4, kCouple, kCounterClockwise)})};
    std::string why;
    const auto s = SolveForceMethod(m, loads, imposed, why);
    ASSERT_TRUE(s) << why;
    const auto original =
        StiffnessSolution::Build(m, std::vector<CaseLoads>(s->loads.begin() + 1, s->loads.end()), why);
    ASSERT_TRUE(original) << why;
    const StiffnessSolution::Result r = original->Solve(s->loads[0], imposed);
    double largest = 0.0;
    for (const double x : s->X)
        largest = std::max(largest, std::abs(x));
    ASSERT_GT(largest, 0.0);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(r.X[i], s->X[i], 1e-9 * largest);
    for (std::size_t e = 0; e < 3; ++e) {
        EXPECT_NEAR(r.forces.members[e].i.M, s->total.members[e].i.M, 1e-9 * largest * 6);
        EXPECT_NEAR(r.forces.members[e].j.M, s->total.members[e].j.M, 1e-9 * largest * 6);
        EXPECT_NEAR(r.forces.members[e].i.V, s->total.members[e].i.V, 1e-9 * largest);
    }
    // The foot that settles and turns: its displacement as imposed.
    const auto foot = original->NodeDisplacement(r, 1);
    EXPECT_NEAR(foot[1], -0.004, 1e-15);
    EXPECT_NEAR(foot[2], 0.001, 1e-15);
}

}  // namespace
}  // namespace tavrin
