#include <gtest/gtest.h>

#include <string>

#include "analysis/Statics.h"
#include "analysis/StaticsTestModels.h"
#include "analysis/StaticsTexts.h"

namespace tavrin {
namespace {

using testing::Cantilever;
using testing::HingedBeam;
using testing::ModelBuilder;
using testing::SimpleBeam;
using testing::ThreeHingedFrame;
using testing::ThreeHingedNodes;
using testing::WholeStructureBalance;

using testing::kTol;

struct Expected {
    float Fx, Fy, Fm;
};

void ExpectBalanced(const StructureModel& m)
{
    const testing::Balance b = WholeStructureBalance(m);
    EXPECT_NEAR(b.fx, 0, kTol);
    EXPECT_NEAR(b.fy, 0, kTol);
    EXPECT_NEAR(b.m, 0, kTol);
}

struct ReactionCase {
    const char* name;
    StructureModel model;
    std::vector<Expected> reactions;
};

void RunCases(std::span<ReactionCase> cases)
{
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingMessages messages;
        ASSERT_TRUE(ComputeSupportReactions(c.model, messages));
        EXPECT_TRUE(messages.shown.empty());
        std::int16_t s = 1;
        for (const Expected& e : c.reactions) {
            SCOPED_TRACE("support " + std::to_string(s));
            EXPECT_NEAR(c.model.Supports.at(s).Fx, e.Fx, kTol);
            EXPECT_NEAR(c.model.Supports.at(s).Fy, e.Fy, kTol);
            EXPECT_NEAR(c.model.Supports.at(s).Fm, e.Fm, kTol);
            ++s;
        }
        ExpectBalanced(c.model);
    }
}

TEST(SupportReactionsTest, SimpleBeamAndCantileverUnderEachLoadKind)
{
    ReactionCase cases[] = {
        {"beam, 12 down at x=2: lever rule", SimpleBeam().Force(3, kDownward, 12).Build(), {{0, 8, 0}, {0, 4, 0}}},
        {"beam, 2 per length down over 6",
         SimpleBeam().Distributed(1, kDownward, 2).Distributed(2, kDownward, 2).Build(),
         {{0, 6, 0}, {0, 6, 0}}},
        {"beam, clockwise couple 12: reactions form a counter-clockwise couple",
         SimpleBeam().Couple(3, kClockwise, 12).Build(),
         {{0, -2, 0}, {0, 2, 0}}},
        // The roller at node 2 is pushed down, the pin lifted.
        {"beam, counter-clockwise couple 12 at the roller",
         SimpleBeam().Couple(2, kCounterClockwise, 12).Build(),
         {{0, 2, 0}, {0, -2, 0}}},
        {"beam, 5 to the right: the pin alone", SimpleBeam().Force(3, kRightward, 5).Build(), {{-5, 0, 0}, {0, 0, 0}}},
        {"cantilever, 10 down at the tip", Cantilever().Force(2, kDownward, 10).Build(), {{0, 10, -40}}},
        {"cantilever, 2 per length down", Cantilever().Distributed(1, kDownward, 2).Build(), {{0, 8, -16}}},
        {"cantilever, counter-clockwise couple 6", Cantilever().Couple(2, kCounterClockwise, 6).Build(), {{0, 0, 6}}},
        {"cantilever, 3 to the left", Cantilever().Force(2, kLeftward, 3).Build(), {{3, 0, 0}}},
    };
    RunCases(cases);
}

TEST(SupportReactionsTest, RollerAcrossThePinAndThreeRollers)
{
    ReactionCase cases[] = {
        // L-frame: pin 1 (0,0), roller right of node 2 (0,4), 6 down at node 3 (3,4).
        {"horizontal roller takes the moment about the pin",
         ModelBuilder()
             .Node(0, 0)
             .Node(0, 4)
             .Node(3, 4)
             .Member(1, 2)
             .Member(2, 3)
             .Support(1, kPinSupport)
             .Support(2, kRollerSupport, kRightOfNode)
             .Force(3, kDownward, 6)
             .Build(),
         {{4.5f, 6, 0}, {-4.5f, 0, 0}}},
        // The third roller's force is level with the pair: its moment counts.
        {"vertical pair, third roller above them",
         ModelBuilder()
             .Node(0, 0)
             .Node(6, 0)
             .Node(6, 3)
             .Member(1, 2)
             .Member(2, 3)
             .Support(1, kRollerSupport, kBelowNode)
             .Support(2, kRollerSupport, kBelowNode)
             .Support(3, kRollerSupport, kLeftOfNode)
             .Force(3, kRightward, 4)
             .Build(),
         {{0, 0, 0}, {0, 0, 0}, {-4, 0, 0}}},
        {"horizontal pair, third roller right of them",
         ModelBuilder()
             .Node(0, 0)
             .Node(0, 4)
             .Node(3, 4)
             .Member(1, 2)
             .Member(2, 3)
             .Support(1, kRollerSupport, kLeftOfNode)
             .Support(2, kRollerSupport, kLeftOfNode)
             .Support(3, kRollerSupport, kBelowNode)
             .Force(2, kRightward, 6)
             .Force(3, kDownward, 9)
             .Build(),
         {{0, 0, 0}, {-6, 0, 0}, {0, 9, 0}}},
        {"vertical pair, third roller's line through the first",
         ModelBuilder()
             .Node(0, 0)
             .Node(4, 0)
             .Node(2, 0)
             .Node(2, 3)
             .Member(1, 3)
             .Member(3, 2)
             .Member(3, 4)
             .Support(1, kRollerSupport, kBelowNode)
             .Support(3, kRollerSupport, kRightOfNode)
             .Support(2, kRollerSupport, kAboveNode)
             .Distributed(1, kDownward, 1)
             .Distributed(2, kDownward, 2)
             .Distributed(3, kLeftward, 1)
             .Build(),
         {{0, 3.625f, 0}, {3, 0, 0}, {0, 2.375f, 0}}},
    };
    RunCases(cases);
}

// Pins A (node 1) and B (node 5), crown hinge C at node 3 (4,4); 2 per length
// down on the member from C to node 4 (8,4). About A: 48 - 8 RyB = 0; B's
// part about C: 16 - 4 RxB - 4 RyB = 0. RyB = 6, RxB = -2; A: 2, 2.

TEST(SupportReactionsTest, ThreeHingedFrameWhicheverPinComesFirstAndHoweverNumbered)
{
    ReactionCase cases[] = {
        {"chain from A to B", ThreeHingedFrame().Distributed(3, kDownward, 2).Build(), {{2, 2, 0}, {-2, 6, 0}}},
        {"right pin listed first",
         ThreeHingedNodes()
             .Member(1, 2)
             .Member(2, 3)
             .Member(3, 4)
             .Member(4, 5)
             .Support(5, kPinSupport)
             .Support(1, kPinSupport)
             .Distributed(3, kDownward, 2)
             .Build(),
         {{-2, 6, 0}, {2, 2, 0}}},
        // The loaded member ends at the crown, not right of it.
        {"chains numbered from each pin toward the crown",
         ThreeHingedNodes()
             .Member(1, 2)
             .Member(2, 3)
             .Member(5, 4)
             .Member(4, 3)
             .Support(1, kPinSupport)
             .Support(5, kPinSupport)
             .Distributed(4, kDownward, 2)
             .Build(),
         {{2, 2, 0}, {-2, 6, 0}}},
        {"loaded on the left side instead",
         ThreeHingedNodes()
             .Member(1, 2)
             .Member(2, 3)
             .Member(3, 4)
             .Member(4, 5)
             .Support(1, kPinSupport)
             .Support(5, kPinSupport)
             .Distributed(2, kDownward, 2)
             .Build(),
         {{2, 6, 0}, {-2, 2, 0}}},
        // Arch of two straight members, B higher than A: about A
        // 24 + 2 RxB - 8 RyB = 0, about C 8 - 2 RxB - 4 RyB = 0.
        {"supports at different levels",
         ModelBuilder()
             .Node(0, 0)
             .Node(4, 4, kHingedJoint)
             .Node(8, 2)
             .Member(1, 2)
             .Member(2, 3)
             .Support(1, kPinSupport)
             .Support(3, kPinSupport)
             .Distributed(2, kDownward, 1)
             .Build(),
         {{4.0f / 3, 4.0f / 3, 0}, {-4.0f / 3, 8.0f / 3, 0}}},
    };
    RunCases(cases);
}

// The reactions of B's part and the loads on it balance about the crown.
TEST(SupportReactionsTest, ThreeHingedPartsBalanceAboutTheCrown)
{
    StructureModel m = ThreeHingedNodes()
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
    ASSERT_TRUE(ComputeSupportReactions(m, messages));
    ExpectBalanced(m);
    // Counter-clockwise moments about C (4,4) of (Fx, Fy) at (x, y):
    // (x - 4) Fy - (y - 4) Fx. Left part: A's reaction and the 3 at C's level.
    const Support& a = m.Supports.at(1);
    const double leftAboutC = (0 - 4) * a.Fy - (0 - 4) * a.Fx - (4 - 4) * 3.0;
    EXPECT_NEAR(leftAboutC, 0, kTol);
    // Right part: B's reaction and the 8 down at (6,4).
    const Support& b = m.Supports.at(2);
    const double rightAboutC = (8 - 4) * b.Fy - (0 - 4) * b.Fx + (6 - 4) * -8.0;
    EXPECT_NEAR(rightAboutC, 0, kTol);
}

struct FaultCase {
    const char* name;
    StructureModel model;
    std::string_view reason;
};

TEST(SupportReactionsTest, UnsolvableArrangementsNameTheCauseAndKeepTheReactions)
{
    FaultCase cases[] = {
        {"pin and vertical roller on one vertical",
         ModelBuilder()
             .Node(0, 0)
             .Node(0, 4)
             .Member(1, 2)
             .Support(1, kPinSupport)
             .Support(2, kRollerSupport, kBelowNode)
             .Force(2, kRightward, 1)
             .Build(),
         kPinAndVerticalRollerPlumb},
        {"horizontal roller level with the pin", SimpleBeam().Build(), {}},
        {"vertical pair on one vertical",
         ModelBuilder()
             .Node(0, 0)
             .Node(0, 4)
             .Node(3, 4)
             .Member(1, 2)
             .Member(2, 3)
             .Support(1, kRollerSupport, kBelowNode)
             .Support(2, kRollerSupport, kAboveNode)
             .Support(3, kRollerSupport, kRightOfNode)
             .Build(),
         kVerticalRollersPlumb},
        {"three parallel rollers",
         ModelBuilder()
             .Node(0, 0)
             .Node(4, 0)
             .Node(8, 0)
             .Member(1, 2)
             .Member(2, 3)
             .Support(1, kRollerSupport)
             .Support(2, kRollerSupport)
             .Support(3, kRollerSupport)
             .Build(),
         kRollersParallel},
        {"both pins on one vertical",
         ModelBuilder()
             .Node(0, 0)
             .Node(3, 2, kHingedJoint)
             .Node(0, 4)
             .Member(1, 2)
             .Member(2, 3)
             .Support(1, kPinSupport)
             .Support(3, kPinSupport)
             .Build(),
         kPinsPlumb},
        {"crown on the line of the pins",
         ModelBuilder()
             .Node(0, 0)
             .Node(4, 0, kHingedJoint)
             .Node(8, 0)
             .Member(1, 2)
             .Member(2, 3)
             .Support(1, kPinSupport)
             .Support(3, kPinSupport)
             .Build(),
         kHingesInLine},
        {"two pins without a hinge between",
         ModelBuilder()
             .Node(0, 0)
             .Node(4, 4)
             .Node(8, 0)
             .Member(1, 2)
             .Member(2, 3)
             .Support(1, kPinSupport)
             .Support(3, kPinSupport)
             .Build(),
         kNoCrownHinge},
        {"two fixed supports",
         ModelBuilder().Node(0, 0).Node(4, 0).Member(1, 2).Support(1, kFixedSupport).Support(2, kFixedSupport).Build(),
         kArrangementUnmatched},
        {"a single pin", ModelBuilder().Node(0, 0).Node(4, 0).Member(1, 2).Support(1, kPinSupport).Build(),
         kArrangementUnmatched},
        {"support at a node that does not exist",
         ModelBuilder().Node(0, 0).Node(4, 0).Member(1, 2).Support(9, kFixedSupport).Force(2, kDownward, 1).Build(),
         kNumberOutsideTable},
    };
    // The roller of the simple beam turned to react horizontally.
    cases[1].model.Supports.at(2).Direction = std::string(kRightOfNode);
    cases[1].reason = kPinAndHorizontalRollerLevel;

    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (Support& s : c.model.Supports)
            s = {s.NodeNo, s.SupportType, s.Direction, 7, 7, 7};
        const OneBasedTable<Support> before = c.model.Supports;
        RecordingMessages messages;
        EXPECT_FALSE(ComputeSupportReactions(c.model, messages));
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, std::string(kSupportReactionErrorPrefix) + std::string(c.reason));
        EXPECT_EQ(c.model.Supports, before);
    }
}

TEST(SupportReactionsTest, QuietCallPassesOverAnUnmatchedArrangementOnly)
{
    StructureModel hinged = HingedBeam(kRollerSupport).Build();
    RecordingMessages messages;
    EXPECT_FALSE(ComputeSupportReactions(hinged, messages, UnmatchedArrangement::Silent));
    EXPECT_TRUE(messages.shown.empty());

    StructureModel plumb = ModelBuilder()
                               .Node(0, 0)
                               .Node(0, 4)
                               .Member(1, 2)
                               .Support(1, kPinSupport)
                               .Support(2, kRollerSupport, kBelowNode)
                               .Build();
    EXPECT_FALSE(ComputeSupportReactions(plumb, messages, UnmatchedArrangement::Silent));
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST(SupportReactionsTest, SecondCallAssignsRatherThanAccumulates)
{
    StructureModel m = SimpleBeam().Force(3, kDownward, 12).Build();
    RecordingMessages messages;
    ASSERT_TRUE(ComputeSupportReactions(m, messages));
    const OneBasedTable<Support> first = m.Supports;
    ASSERT_TRUE(ComputeSupportReactions(m, messages));
    EXPECT_EQ(m.Supports, first);
}

}  // namespace
}  // namespace tavrin
