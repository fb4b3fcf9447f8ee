#include <gtest/gtest.h>

#include <string>

#include "analysis/Statics.h"
#include "analysis/StaticsTestModels.h"
#include "analysis/StaticsTexts.h"

namespace tavrin {
namespace {

using testing::Cantilever;
using testing::ModelBuilder;
using testing::NodeBalance;
using testing::SimpleBeam;

using testing::kTol;

struct EndForces {
    float Ni, Vi, Mi, Nj, Vj, Mj;
};

void ExpectEndForces(const Element& e, const EndForces& x)
{
    EXPECT_NEAR(e.Ni, x.Ni, kTol);
    EXPECT_NEAR(e.Vi, x.Vi, kTol);
    EXPECT_NEAR(e.Mi, x.Mi, kTol);
    EXPECT_NEAR(e.Nj, x.Nj, kTol);
    EXPECT_NEAR(e.Vj, x.Vj, kTol);
    EXPECT_NEAR(e.Mj, x.Mj, kTol);
}

// Every node in equilibrium under its support, its loads and the member ends.
void ExpectNodesBalanced(const StructureModel& m)
{
    for (std::int16_t n = 1; n <= m.NodeCount(); ++n) {
        SCOPED_TRACE("node " + std::to_string(n));
        const testing::Balance b = NodeBalance(m, n);
        EXPECT_NEAR(b.fx, 0, kTol);
        EXPECT_NEAR(b.fy, 0, kTol);
        EXPECT_NEAR(b.m, 0, kTol);
    }
}

// Reactions, then end forces of case 0 of a determinate structure.
void Solve(StructureModel& m, RecordingMessages& messages)
{
    ASSERT_TRUE(ComputeSupportReactions(m, messages));
    ComputeCaseEndForces(m, 0, messages);
}

struct EndForceCase {
    const char* name;
    StructureModel model;
    std::vector<EndForces> elements;
};

// Moments are positive where the member's end i side hogs: a cantilever root
// under a downward tip load has Mi = +40; sagging span moments are negative.
TEST(EndForcesTest, SimpleBeamAndCantileverUnderEachLoadKind)
{
    EndForceCase cases[] = {
        {"beam, 12 down at x=2",
         SimpleBeam().Force(3, kDownward, 12).Build(),
         {{0, 8, 0, 0, 8, -16}, {0, -4, -16, 0, -4, 0}}},
        {"beam, 2 per length down",
         SimpleBeam().Distributed(1, kDownward, 2).Distributed(2, kDownward, 2).Build(),
         {{0, 6, 0, 0, 2, -8}, {0, 2, -8, 0, -6, 0}}},
        {"beam, clockwise couple 12 at x=2",
         SimpleBeam().Couple(3, kClockwise, 12).Build(),
         {{0, -2, 0, 0, -2, 4}, {0, -2, -8, 0, -2, 0}}},
        // The couple acts at end i of the first member: zero moment must
        // still come out at the roller.
        {"beam, counter-clockwise couple 12 at the pin",
         SimpleBeam().Couple(1, kCounterClockwise, 12).Build(),
         {{0, 2, 12, 0, 2, 8}, {0, 2, 8, 0, 2, 0}}},
        {"beam, 5 to the right at x=2",
         SimpleBeam().Force(3, kRightward, 5).Build(),
         {{5, 0, 0, 5, 0, 0}, {0, 0, 0, 0, 0, 0}}},
        {"one-member beam, counter-clockwise couple 12 at the roller",
         ModelBuilder()
             .Node(0, 0)
             .Node(6, 0)
             .Member(1, 2)
             .Support(1, kPinSupport)
             .Support(2, kRollerSupport)
             .Couple(2, kCounterClockwise, 12)
             .Build(),
         {{0, 2, 0, 0, 2, -12}}},
        {"cantilever, 10 down at the tip", Cantilever().Force(2, kDownward, 10).Build(), {{0, 10, 40, 0, 10, 0}}},
        {"cantilever, 2 per length down", Cantilever().Distributed(1, kDownward, 2).Build(), {{0, 8, 16, 0, 0, 0}}},
        {"cantilever, counter-clockwise couple 6 at the tip",
         Cantilever().Couple(2, kCounterClockwise, 6).Build(),
         {{0, 0, -6, 0, 0, -6}}},
        {"cantilever, 3 to the left at the tip", Cantilever().Force(2, kLeftward, 3).Build(), {{-3, 0, 0, -3, 0, 0}}},
        // Two loads along one axis on one member add up: 6 and 6 at the ends.
        {"beam 0-4, 1 and 2 per length down on one member",
         ModelBuilder()
             .Node(0, 0)
             .Node(4, 0)
             .Member(1, 2)
             .Support(1, kPinSupport)
             .Support(2, kRollerSupport)
             .Distributed(1, kDownward, 1)
             .Distributed(1, kDownward, 2)
             .Build(),
         {{0, 6, 0, 0, -6, 0}}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingMessages messages;
        Solve(c.model, messages);
        EXPECT_TRUE(messages.shown.empty());
        for (std::size_t e = 0; e < c.elements.size(); ++e) {
            SCOPED_TRACE("element " + std::to_string(e + 1));
            ExpectEndForces(c.model.Elements.at(static_cast<long>(e + 1)), c.elements[e]);
        }
        ExpectNodesBalanced(c.model);
    }
}

// A free tip carries nothing, whichever way the member runs: the load on a
// member is its intensity times a projected length that is never negative.
TEST(EndForcesTest, FreeTipOfLeftwardAndDownwardMembersIsUnloaded)
{
    struct Case {
        const char* name;
        StructureModel model;
    };
    Case cases[] = {
        {"leftward, 2 per length down", ModelBuilder()
                                            .Node(4, 0)
                                            .Node(0, 0, kFreeEnd)
                                            .Member(1, 2)
                                            .Support(1, kFixedSupport)
                                            .Distributed(1, kDownward, 2)
                                            .Build()},
        {"down to the left, 1 per length down", ModelBuilder()
                                                    .Node(3, 4)
                                                    .Node(0, 0, kFreeEnd)
                                                    .Member(1, 2)
                                                    .Support(1, kFixedSupport)
                                                    .Distributed(1, kDownward, 1)
                                                    .Build()},
        {"down to the right, 1 per length to the right", ModelBuilder()
                                                             .Node(0, 4)
                                                             .Node(3, 0, kFreeEnd)
                                                             .Member(1, 2)
                                                             .Support(1, kFixedSupport)
                                                             .Distributed(1, kRightward, 1)
                                                             .Build()},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingMessages messages;
        Solve(c.model, messages);
        const Element& e = c.model.Elements.at(1);
        EXPECT_NEAR(e.Nj, 0, kTol);
        EXPECT_NEAR(e.Vj, 0, kTol);
        EXPECT_NEAR(e.Mj, 0, kTol);
        ExpectNodesBalanced(c.model);
    }
}

// Portal on a pin 1 (0,0) and a roller under 4 (6,0), corners 2 (0,4) and
// 3 (6,4); 10 to the right at node 2 and 2 per length down on the beam.
TEST(EndForcesTest, PortalFrameHandsForcesRoundTheCorners)
{
    StructureModel m = ModelBuilder()
                           .Node(0, 0)
                           .Node(0, 4)
                           .Node(6, 4)
                           .Node(6, 0)
                           .Member(1, 2)
                           .Member(2, 3)
                           .Member(3, 4)
                           .Support(1, kPinSupport)
                           .Support(4, kRollerSupport)
                           .Force(2, kRightward, 10)
                           .Distributed(2, kDownward, 2)
                           .Build();
    RecordingMessages messages;
    Solve(m, messages);
    EXPECT_TRUE(messages.shown.empty());
    // The pin's 10 to the left acts 4 below the corner; the roller column
    // carries only its axial force, 76/6 in compression.
    EXPECT_NEAR(m.Elements.at(1).Mj, -40, kTol);
    EXPECT_NEAR(m.Elements.at(2).Mi, -40, kTol);
    EXPECT_NEAR(m.Elements.at(3).Mi, 0, kTol);
    EXPECT_NEAR(m.Elements.at(3).Nj, -76.0f / 6, kTol);
    ExpectNodesBalanced(m);
}

// Chains from each pin to the crown 3 (4,4) of a three-hinged frame: the
// hinge has no moment and the two halves meet in equilibrium there, which
// holds only when both moment equations do.
TEST(EndForcesTest, ThreeHingedFrameMeetsInEquilibriumAtTheCrown)
{
    StructureModel m = ModelBuilder()
                           .Node(0, 0)
                           .Node(0, 4)
                           .Node(4, 4, kHingedJoint)
                           .Node(8, 4)
                           .Node(8, 0)
                           .Member(1, 2)
                           .Member(2, 3)
                           .Member(5, 4)
                           .Member(4, 3)
                           .Support(1, kPinSupport)
                           .Support(5, kPinSupport)
                           .Force(2, kRightward, 3)
                           .Distributed(4, kDownward, 2)
                           .Build();
    RecordingMessages messages;
    Solve(m, messages);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_NEAR(m.Elements.at(2).Mj, 0, kTol);
    EXPECT_NEAR(m.Elements.at(4).Mj, 0, kTol);
    ExpectNodesBalanced(m);
}

TEST(EndForcesTest, NumberingThatBreaksTheChainIsWarnedOnceNamingTheMembers)
{
    struct Case {
        const char* name;
        StructureModel model;
        const char* named;  // empty: no warning
    };
    Case cases[] = {
        {"chain from the pin", SimpleBeam().Force(3, kDownward, 12).Build(), ""},
        {"chain from a free end toward the support",
         ModelBuilder()
             .Node(0, 0)
             .Node(0, 4)
             .Node(3, 4, kFreeEnd)
             .Member(3, 2)
             .Member(2, 1)
             .Support(1, kFixedSupport)
             .Force(3, kDownward, 1)
             .Build(),
         ""},
        {"second span numbered first",
         ModelBuilder()
             .Node(0, 0)
             .Node(6, 0)
             .Node(2, 0)
             .Member(3, 2)
             .Member(1, 3)
             .Support(1, kPinSupport)
             .Support(2, kRollerSupport)
             .Force(3, kDownward, 12)
             .Build(),
         "单元1的"},
        {"two members leave one node",
         ModelBuilder()
             .Node(0, 0)
             .Node(0, 4)
             .Node(3, 4, kFreeEnd)
             .Node(-3, 4, kFreeEnd)
             .Member(1, 2)
             .Member(2, 3)
             .Member(2, 4)
             .Support(1, kFixedSupport)
             .Force(3, kDownward, 1)
             .Build(),
         "单元2、单元3的"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingMessages messages;
        Solve(c.model, messages);
        if (std::string(c.named).empty()) {
            EXPECT_TRUE(messages.shown.empty());
            ExpectNodesBalanced(c.model);
            continue;
        }
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_NE(messages.shown[0].text.find(c.named), std::string::npos) << messages.shown[0].text;
        EXPECT_EQ(messages.shown[0].title, "警告!");
    }
}

TEST(EndForcesTest, DeterminateCaseFillsTheElementsIndeterminateCaseClearsTheReactions)
{
    StructureModel determinate = Cantilever().Force(2, kDownward, 10).Build();
    RecordingMessages messages;
    Solve(determinate, messages);
    EXPECT_FLOAT_EQ(determinate.Elements.at(1).Mi, determinate.CaseMoments.at(0, 1, 1));
    EXPECT_FLOAT_EQ(determinate.Supports.at(1).Fy, 10);

    StructureModel indeterminate = Cantilever().Force(2, kDownward, 10).Degree(1).Build();
    Solve(indeterminate, messages);
    EXPECT_FLOAT_EQ(indeterminate.CaseMoments.at(0, 1, 1), 40);
    EXPECT_FLOAT_EQ(indeterminate.Elements.at(1).Mi, 0);
    EXPECT_EQ(indeterminate.Supports.at(1), (Support{1, std::string(kFixedSupport), std::string(kBelowNode), 0, 0, 0}));
}

TEST(EndForcesTest, CaseOutsideTheSizedTablesIsRefused)
{
    StructureModel m = Cantilever().Force(2, kDownward, 10).Build();
    const StructureModel before = m;
    RecordingMessages messages;
    ComputeCaseEndForces(m, 1, messages);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, kEndForceTablesUnsized);
    EXPECT_EQ(m, before);
}

TEST(EndForcesTest, SuperpositionSetsCaseZeroPlusWeightedUnitCases)
{
    StructureModel m = Cantilever().Degree(2).Build();
    m.RedundantForces.Recreate(2);
    m.RedundantForces.at(1) = 2;
    m.RedundantForces.at(2) = -0.5;
    for (int end = 1; end <= 2; ++end) {
        m.CaseAxialForces.at(0, 1, end) = 1;
        m.CaseAxialForces.at(1, 1, end) = 3;
        m.CaseShearForces.at(2, 1, end) = 4;
        m.CaseMoments.at(0, 1, end) = 10.0f * static_cast<float>(end);
        m.CaseMoments.at(1, 1, end) = -1;
        m.CaseMoments.at(2, 1, end) = 8;
    }
    for (int run = 0; run < 2; ++run) {
        SuperposeEndForces(m);
        ExpectEndForces(m.Elements.at(1), {7, -2, 4, 7, -2, 14});
    }
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

// Loads between the nodes through the tables' own route (reactions, then the
// walk), with hand numbers: a simple beam of 6 under 12 down at 2 (reactions
// 8 and 4, M under the load -16); under a triangle on [0, 6] rising to 3 down
// (reactions 3 and 6, Vj = -6); a cantilever of 4 under a couple of 5 at 1
// (the root takes it, the tip is free).
TEST(EndForcesTest, LoadsBetweenTheNodesInTheTables)
{
    struct Case {
        const char* name;
        StructureModel model;
        float R1, R2;  // Fy of the two supports (R2 unused for a cantilever)
        EndForces element;
    };
    const auto between = [](std::string_view type, float value, std::optional<float> a, std::optional<float> end) {
        return Load{std::string(type), value, std::string(type == kCouple ? kCounterClockwise : kDownward), 0, 1, a,
                    std::nullopt,      end};
    };
    const auto span = [] {
        return ModelBuilder()
            .Node(0, 0)
            .Node(6, 0)
            .Member(1, 2)
            .Support(1, kPinSupport)
            .Support(2, kRollerSupport)
            .Build();
    };
    StructureModel pointLoad = span();
    pointLoad.Loads.Append(between(kConcentratedLoad, -12.0f, 2.0f, std::nullopt));
    StructureModel triangle = span();
    triangle.Loads.Append(between(kDistributedLoad, 0.0f, std::nullopt, -3.0f));
    StructureModel couple = Cantilever().Build();
    couple.Loads.Append(between(kCouple, 5.0f, 1.0f, std::nullopt));
    const Case cases[] = {
        {"force at 2 on a simple beam", pointLoad, 8.0f, 4.0f, {0, 8, 0, 0, -4, 0}},
        {"triangle on a simple beam", triangle, 3.0f, 6.0f, {0, 3, 0, 0, -6, 0}},
        {"couple on a cantilever", couple, 0.0f, 0.0f, {0, 0, -5, 0, 0, 0}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        StructureModel m = k.model;
        RecordingMessages messages;
        Solve(m, messages);
        EXPECT_NEAR(m.Supports.at(1).Fy, k.R1, kTol);
        if (m.SupportCount() > 1) {
            EXPECT_NEAR(m.Supports.at(2).Fy, k.R2, kTol);
        }
        ExpectEndForces(m.Elements.at(1), k.element);
    }
}

}  // namespace
}  // namespace tavrin
