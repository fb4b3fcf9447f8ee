#include <gtest/gtest.h>

#include <vector>

#include "analysis/Statics.h"
#include "analysis/StaticsTestModels.h"
#include "forcemethod/ForceMethod.h"

namespace tavrin {
namespace {

using testing::ModelBuilder;

constexpr float kTol = 1e-4f;

// One horizontal element (L 6, EI 2) and n = 1; the case moments are set by
// hand: case 1 (6, 0), case 0 as given.
StructureModel OneElement(float p1, float p2)
{
    StructureModel m = ModelBuilder().Node(0, 0).Node(6, 0).Member(1, 2, 2).Degree(1).Build();
    m.CaseMoments.at(1, 1, 1) = 6;
    m.CaseMoments.at(0, 1, 1) = p1;
    m.CaseMoments.at(0, 1, 2) = p2;
    return m;
}

TEST(CoefficientsTest, ProductIntegralsOfOneMember)
{
    struct Case {
        const char* name;
        StructureModel model;
        float delta11, delta1p;
    };
    Case cases[] = {
        {"linear diagrams", OneElement(-18, 0), 36, -108},
        {"parabola of 2 per length down", OneElement(0, 0), 36, -54},
        // Loads along one axis on one member add: q = -3.
        {"1 and 2 per length down on one member", OneElement(0, 0), 36, -81},
        {"vertical member, 3 per length to the right", OneElement(0, 0), 36, -81},
    };
    cases[1].model.Loads.Append({"均布荷载", -2, "向下", 0, 1});
    cases[2].model.Loads.Append({"均布荷载", -1, "向下", 0, 1});
    cases[2].model.Loads.Append({"均布荷载", -2, "向下", 0, 1});
    Element& column = cases[3].model.Elements.at(1);
    column.SinA = 1;
    column.CosA = 0;
    cases[3].model.Loads.Append({"均布荷载", 3, "向右", 0, 1});
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingMessages messages;
        ASSERT_TRUE(FormCoefficients(c.model, messages));
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_NEAR(c.model.FlexibilityMatrix.at(1, 1), c.delta11, kTol);
        EXPECT_NEAR(c.model.FreeTerms.at(1), c.delta1p, kTol);
    }
}

// Elements L 3, EI 1 and L 6, EI 2; case 1 moments (1, 2) and (0, 3), case 2
// (2, 0) and (1, 1). delta12 = 4 + 4.5, delta11 = 7 + 9, delta22 = 4 + 3.
TEST(CoefficientsTest, CoefficientsSumTheMembersAndAreSymmetric)
{
    StructureModel m = ModelBuilder().Node(0, 0).Node(3, 0).Node(9, 0).Member(1, 2).Member(2, 3, 2).Degree(2).Build();
    const float moments[2][2][2] = {{{1, 2}, {0, 3}}, {{2, 0}, {1, 1}}};
    for (int k = 1; k <= 2; ++k)
        for (int e = 1; e <= 2; ++e)
            for (int end = 1; end <= 2; ++end)
                m.CaseMoments.at(k, e, end) = moments[k - 1][e - 1][end - 1];
    RecordingMessages messages;
    ASSERT_TRUE(FormCoefficients(m, messages));
    EXPECT_NEAR(m.FlexibilityMatrix.at(1, 1), 16, kTol);
    EXPECT_NEAR(m.FlexibilityMatrix.at(2, 2), 7, kTol);
    EXPECT_NEAR(m.FlexibilityMatrix.at(1, 2), 8.5, kTol);
    EXPECT_EQ(m.FlexibilityMatrix.at(1, 2), m.FlexibilityMatrix.at(2, 1));
}

TEST(CoefficientsTest, MemberWithoutStiffnessOrLengthIsNamedAndNothingFormed)
{
    StructureModel m = ModelBuilder().Node(0, 0).Node(3, 0).Node(9, 0).Member(1, 2).Member(2, 3).Degree(1).Build();
    m.Elements.at(2).EI = 0;
    m.FlexibilityMatrix.Recreate(1);
    m.FlexibilityMatrix.at(1, 1) = 5;
    const StructureModel before = m;
    RecordingMessages messages;
    EXPECT_FALSE(FormCoefficients(m, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "单元2的EI或长度为零，不能计算系数!");
    EXPECT_EQ(m, before);

    m.Elements.at(2).EI = 1;
    m.Elements.at(1).Length = 0;
    EXPECT_FALSE(FormCoefficients(m, messages));
    EXPECT_EQ(messages.shown.back().text, "单元1的EI或长度为零，不能计算系数!");
}

// The whole force method on the core: case 0 under the user's loads, case k
// under the unit force Xk alone, then the coefficients, the unknowns and the
// superposition, as the calculation steps run them.
void RunForceMethod(StructureModel& m, const std::vector<Load>& unitForces, RecordingMessages& messages)
{
    const OneBasedTable<Load> userLoads = m.Loads;
    ASSERT_TRUE(ComputeSupportReactions(m, messages));
    ComputeCaseEndForces(m, 0, messages);
    for (std::size_t k = 0; k < unitForces.size(); ++k) {
        m.Loads.Clear();
        m.Loads.Append(unitForces[k]);
        ASSERT_TRUE(ComputeSupportReactions(m, messages));
        ComputeCaseEndForces(m, static_cast<std::int16_t>(k + 1), messages);
    }
    m.Loads = userLoads;
    ASSERT_TRUE(FormCoefficients(m, messages));
    ASSERT_TRUE(SolveRedundants(m, messages));
    SuperposeEndForces(m);
    EXPECT_TRUE(messages.shown.empty());
}

Load UnitForce(std::int16_t node, std::string_view direction)
{
    return {"集中荷载", 1, std::string(direction), node, 0};
}

// Fixed at node 1 (0,0), roller released at node 2 (4,0), EI 2, 3 per length
// down: delta11 = L^3/3EI = 32/3, Delta1p = -qL^4/8EI = -48, X1 = 3qL/8 = 4.5,
// qL^2/8 = 6 hogging at the wall, 5qL/8 and 3qL/8 shear at the ends.
TEST(CoefficientsTest, ProppedCantileverUnderUniformLoad)
{
    StructureModel m = ModelBuilder()
                           .Node(0, 0)
                           .Node(4, 0)
                           .Member(1, 2, 2)
                           .Support(1, kFixedSupport)
                           .Distributed(1, kDownward, 3)
                           .Degree(1)
                           .Build();
    RecordingMessages messages;
    RunForceMethod(m, {UnitForce(2, kUpward)}, messages);
    EXPECT_NEAR(m.FlexibilityMatrix.at(1, 1), 32.0f / 3, kTol);
    EXPECT_NEAR(m.FreeTerms.at(1), -48, kTol);
    EXPECT_NEAR(m.RedundantForces.at(1), 4.5, kTol);
    const Element& e = m.Elements.at(1);
    EXPECT_NEAR(e.Mi, 6, kTol);
    EXPECT_NEAR(e.Mj, 0, kTol);
    EXPECT_NEAR(e.Vi, 7.5, kTol);
    EXPECT_NEAR(e.Vj, -4.5, kTol);
}

// Equal spans L with q per length, the inner supports released: two spans
// give 5qL/4 at the middle support and qL^2/8 over it; three spans 1.1 qL at
// each inner support and qL^2/10 over it.
TEST(CoefficientsTest, ContinuousBeams)
{
    StructureModel two = testing::TwoSpans()
                             .Support(1, kPinSupport)
                             .Support(3, kRollerSupport)
                             .Distributed(1, kDownward, 2)
                             .Distributed(2, kDownward, 2)
                             .Degree(1)
                             .Build();
    RecordingMessages messages;
    RunForceMethod(two, {UnitForce(2, kUpward)}, messages);
    EXPECT_NEAR(two.RedundantForces.at(1), 10, kTol);
    EXPECT_NEAR(two.Elements.at(1).Mj, 4, kTol);
    EXPECT_NEAR(two.Elements.at(2).Mi, 4, kTol);
    EXPECT_NEAR(two.Elements.at(2).Mj, 0, kTol);
    EXPECT_NEAR(two.Elements.at(1).Vi, 3, kTol);

    StructureModel three = ModelBuilder()
                               .Node(0, 0)
                               .Node(5, 0)
                               .Node(10, 0)
                               .Node(15, 0)
                               .Member(1, 2)
                               .Member(2, 3)
                               .Member(3, 4)
                               .Support(1, kPinSupport)
                               .Support(4, kRollerSupport)
                               .Distributed(1, kDownward, 2)
                               .Distributed(2, kDownward, 2)
                               .Distributed(3, kDownward, 2)
                               .Degree(2)
                               .Build();
    RunForceMethod(three, {UnitForce(2, kUpward), UnitForce(3, kUpward)}, messages);
    EXPECT_EQ(three.FlexibilityMatrix.at(1, 2), three.FlexibilityMatrix.at(2, 1));
    EXPECT_NEAR(three.RedundantForces.at(1), 11, 1e-3);
    EXPECT_NEAR(three.RedundantForces.at(2), 11, 1e-3);
    EXPECT_NEAR(three.Elements.at(1).Mj, 5, 1e-3);
    EXPECT_NEAR(three.Elements.at(3).Mi, 5, 1e-3);
    EXPECT_NEAR(three.Elements.at(3).Mj, 0, 1e-3);
}

// Portal with pinned feet 1 (0,0) and 4 (6,0), corners 2 (0,4) and 3 (6,4),
// columns EI 2, beam EI 3; X1 the horizontal reaction at 4 (the roller of
// the basic system), delta11 = 32/3 + 32 + 32/3.
// Sideways 10 at a corner: by antisymmetry each foot takes 5, corners 20.
// 2 per length down on the beam: k = (3/2)(4/6) = 1, H = qL^2/(4h(2k+3)) = 0.9
// inward, corner moments 3.6.
TEST(CoefficientsTest, PortalFrameWithPinnedFeet)
{
    struct Case {
        const char* name;
        ModelBuilder loads;
        double x1;
        float corner1, corner2, corner3, corner4;  // Mj(1), Mi(2), Mj(2), Mi(3)
    };
    const auto portal = [] {
        ModelBuilder b;
        b.Node(0, 0).Node(0, 4).Node(6, 4).Node(6, 0).Member(1, 2, 2).Member(2, 3, 3).Member(3, 4, 2);
        b.Support(1, kPinSupport).Support(4, kRollerSupport).Degree(1);
        return b;
    };
    Case cases[] = {
        {"10 sideways at the left corner", portal().Force(2, kRightward, 10), -5, -20, -20, 20, 20},
        {"2 per length down on the beam", portal().Distributed(2, kDownward, 2), -0.9, 3.6f, 3.6f, 3.6f, 3.6f},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        StructureModel m = c.loads.Build();
        RecordingMessages messages;
        RunForceMethod(m, {UnitForce(4, kRightward)}, messages);
        EXPECT_NEAR(m.FlexibilityMatrix.at(1, 1), 32.0f / 3 + 32 + 32.0f / 3, kTol);
        EXPECT_NEAR(m.RedundantForces.at(1), c.x1, kTol);
        EXPECT_NEAR(m.Elements.at(1).Mi, 0, kTol);
        EXPECT_NEAR(m.Elements.at(1).Mj, c.corner1, kTol);
        EXPECT_NEAR(m.Elements.at(2).Mi, c.corner2, kTol);
        EXPECT_NEAR(m.Elements.at(2).Mj, c.corner3, kTol);
        EXPECT_NEAR(m.Elements.at(3).Mi, c.corner4, kTol);
        EXPECT_NEAR(m.Elements.at(3).Mj, 0, kTol);
        // The corners are free nodes: the member ends meeting there balance.
        for (const std::int16_t n : {std::int16_t{2}, std::int16_t{3}}) {
            const testing::Balance b = testing::NodeBalance(m, n, false);
            EXPECT_NEAR(b.fx, 0, kTol);
            EXPECT_NEAR(b.fy, 0, kTol);
            EXPECT_NEAR(b.m, 0, kTol);
        }
    }
}

// Gable frame walked from its right foot: 1 (8,0), eave 2 (8,4), ridge 3
// (4,7), eave 4 (0,4), foot 5 (0,0); EI 1; rafters of length 5. Each member
// has the inside of the frame on its left, so M > 0 is tension inside. The
// left rafter 3->4 (S = -0.6, C = -0.8) carries 2 down per horizontal and 4
// to the right per vertical projection: across it
//   q = v C|C| - h S|S| = -2 (-0.64) - 4 (-0.36) = 2.72 toward the inside,
// the total 8 down and 12 across at its middle (2, 5.5).
// Basic system: pin at 1, roller at 5; X1 the horizontal force at 5.
//   case 0: pin Fx -12, Fy 10.25, roller -2.25; M = 10.25 (8 - x) - 12 y
//     from node 1 on: e1 (0, -48), e2 (-48, -43), e3 (-43, 0), e4 (0, 0);
//     mid-rafter -43/2 + q 25/8 = -13, as the free body 1..(2, 5.5) gives.
//   X1 = 1 to the right: M = -y: e1 (0, -4), e2 (-4, -7), e3 (-7, -4), e4 (-4, 0).
// d11 = 2 (4/6) 32 + 2 (5/6) (32 + 98 + 56) = 1058/3
// D1p = 4/6 (384) + 5/6 (384 + 602 + 336 + 172) + 5/6 (602 + 172)
//       + 5/6 q 25 (-7 - 4) / 4 = 256 + 1245 + 645 - 935/6 = 11941/6
// X1 = -11941/2116 = -5.6432: eave 2 -48 + 4 (5.6432) = -25.427, ridge
// -43 + 7 (5.6432) = -3.498, eave 4 22.573.
TEST(CoefficientsTest, GableFrameWithALoadedRafter)
{
    StructureModel m = ModelBuilder()
                           .Node(8, 0)
                           .Node(8, 4)
                           .Node(4, 7)
                           .Node(0, 4)
                           .Node(0, 0)
                           .Member(1, 2)
                           .Member(2, 3)
                           .Member(3, 4)
                           .Member(4, 5)
                           .Support(1, kPinSupport)
                           .Support(5, kRollerSupport)
                           .Distributed(3, kDownward, 2)
                           .Distributed(3, kRightward, 4)
                           .Degree(1)
                           .Build();
    RecordingMessages messages;
    RunForceMethod(m, {UnitForce(5, kRightward)}, messages);
    EXPECT_NEAR(m.FlexibilityMatrix.at(1, 1), 1058.0 / 3, 1e-3);
    EXPECT_NEAR(m.FreeTerms.at(1), 11941.0 / 6, 2e-3);
    EXPECT_NEAR(m.RedundantForces.at(1), -11941.0 / 2116, 1e-5);
    EXPECT_NEAR(m.Elements.at(1).Mj, -48 + 4 * 11941.0 / 2116, 1e-3);
    EXPECT_NEAR(m.Elements.at(3).Mi, -43 + 7 * 11941.0 / 2116, 1e-3);
    EXPECT_NEAR(m.Elements.at(3).Mj, 4 * 11941.0 / 2116, 1e-3);
    for (const std::int16_t n : {std::int16_t{2}, std::int16_t{3}, std::int16_t{4}}) {
        const testing::Balance b = testing::NodeBalance(m, n, false);
        EXPECT_NEAR(b.fx, 0, 1e-3);
        EXPECT_NEAR(b.fy, 0, 1e-3);
        EXPECT_NEAR(b.m, 0, 1e-3);
    }
}

}  // namespace
}  // namespace tavrin
