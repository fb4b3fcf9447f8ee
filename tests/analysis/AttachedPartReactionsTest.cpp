#include <gtest/gtest.h>

#include "analysis/PartTables.h"
#include "analysis/Statics.h"
#include "analysis/StaticsTestModels.h"
#include "analysis/StaticsTexts.h"

namespace tavrin {
namespace {

using testing::DataRows;
using testing::ModelBuilder;
using testing::PartTable;
using Rows = std::vector<std::vector<std::string>>;

using testing::kTol;

// Fixed at node 1 (0,0), hinge at node 2 (4,0), node 3 (6,0), roller under
// node 4 (8,0); 10 down at node 3. The attached beam 2-4 is carried by the
// hinge and the roller: 5 each.
StructureModel HingedCantilever()
{
    return ModelBuilder()
        .Node(0, 0)
        .Node(4, 0, kHingedJoint)
        .Node(6, 0)
        .Node(8, 0)
        .Member(1, 2)
        .Member(2, 3)
        .Member(3, 4)
        .Support(1, kFixedSupport)
        .Support(4, kRollerSupport)
        .Force(3, kDownward, 10)
        .Build();
}

TEST(AttachedPartReactionsTest, AttachedBeamPassesItsHingeForceOn)
{
    StructureModel m = HingedCantilever();
    MemoryGrid result(10, 4);
    RecordingMessages messages;
    ASSERT_TRUE(ComputeAttachedPartReactions(m, PartTable({{"1", "2", "4", "2", "3"}}), result, messages));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(DataRows(result, 3),
              (Rows{{"2", "铰结点", "5.", "0."}, {"4", "活动支座", "5.", "0."}, {"", "", "", ""}}));
    EXPECT_NEAR(m.Supports.at(2).Fy, 5, kTol);
    EXPECT_NEAR(m.Supports.at(2).Fx, 0, kTol);
    // What the part presses on the hinge: 5 downward.
    EXPECT_EQ(m.TransmittedForces, (std::vector<TransmittedForce>{{2, 0, -5}, {4, 0, -5}}));
}

// Second node plumb above the hinge: a column part 2-4 held sideways by a
// roller right of node 4 (0,8); 6 to the right at node 3 (0,6):
// 12 + RxQ * 4 = 0 about the hinge.
TEST(AttachedPartReactionsTest, SecondNodePlumbToTheHingeTakesTheHorizontalForce)
{
    StructureModel m = ModelBuilder()
                           .Node(0, 0)
                           .Node(0, 4, kHingedJoint)
                           .Node(0, 6)
                           .Node(0, 8)
                           .Member(1, 2)
                           .Member(2, 3)
                           .Member(3, 4)
                           .Support(1, kFixedSupport)
                           .Support(4, kRollerSupport, kRightOfNode)
                           .Force(3, kRightward, 6)
                           .Build();
    MemoryGrid result(10, 4);
    RecordingMessages messages;
    ASSERT_TRUE(ComputeAttachedPartReactions(m, PartTable({{"1", "2", "4", "2", "3"}}), result, messages));
    EXPECT_EQ(DataRows(result, 2), (Rows{{"2", "铰结点", "0.", "-3."}, {"4", "活动支座", "0.", "-3."}}));
    EXPECT_NEAR(m.Supports.at(2).Fx, -3, kTol);
}

// Multi-span hinged beam: fixed 1 (0,0), hinge 2 (4,0), roller 3 (8,0),
// hinge 4 (10,0), roller 5 (14,0); 2 per length down on 4-5. Part 4-5 first:
// 4 at each end. Part 2-4 then carries 4 down at node 4: about node 2
// 24 - 4 RyQ = 0, so 6 at the roller and 2 downward at the hinge.
StructureModel HingedMultiSpanBeam()
{
    return ModelBuilder()
        .Node(0, 0)
        .Node(4, 0, kHingedJoint)
        .Node(8, 0)
        .Node(10, 0, kHingedJoint)
        .Node(14, 0)
        .Member(1, 2)
        .Member(2, 3)
        .Member(3, 4)
        .Member(4, 5)
        .Support(1, kFixedSupport)
        .Support(3, kRollerSupport)
        .Support(5, kRollerSupport)
        .Distributed(4, kDownward, 2)
        .Build();
}

TEST(AttachedPartReactionsTest, LaterPartCarriesTheForcesOfEarlierPartsAtItsNodesOnly)
{
    StructureModel m = HingedMultiSpanBeam();
    MemoryGrid result(3, 4);  // too short: the routine grows it
    RecordingMessages messages;
    ASSERT_TRUE(ComputeAttachedPartReactions(m, PartTable({{"1", "4", "5", "4"}, {"2", "2", "3", "2", "3"}}), result,
                                             messages));
    EXPECT_EQ(DataRows(result, 4), (Rows{{"4", "铰结点", "4.", "0."},
                                         {"5", "活动支座", "4.", "0."},
                                         {"2", "铰结点", "-2.", "0."},
                                         {"3", "活动支座", "6.", "0."}}));
    EXPECT_NEAR(m.Supports.at(2).Fy, 6, kTol);
    EXPECT_NEAR(m.Supports.at(3).Fy, 4, kTol);
    ASSERT_EQ(m.TransmittedForces.size(), 4u);
    EXPECT_EQ(m.TransmittedForces[2], (TransmittedForce{2, 0, 2}));

    // The basic cantilever takes the 2 upward at the hinge: the structure as
    // a whole is in equilibrium.
    ASSERT_TRUE(ComputeBasicPartReactions(m, PartTable({{"1", "1"}}), result, messages));
    EXPECT_NEAR(m.Supports.at(1).Fy, -2, kTol);
    EXPECT_NEAR(m.Supports.at(1).Fm, 8, kTol);
    const testing::Balance b = testing::WholeStructureBalance(m);
    EXPECT_NEAR(b.fy, 0, kTol);
    EXPECT_NEAR(b.m, 0, kTol);
}

TEST(AttachedPartReactionsTest, EmptyFirstRowCalculatesNothing)
{
    StructureModel m = HingedCantilever();
    m.TransmittedForces = {{3, 1, 1}};
    const StructureModel before = m;
    MemoryGrid result(10, 4);
    RecordingMessages messages;
    EXPECT_TRUE(ComputeAttachedPartReactions(m, PartTable({{"1", "", "4", "2"}}), result, messages));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(m.TransmittedForces.empty());
    EXPECT_EQ(m.Supports, before.Supports);
    EXPECT_EQ(GridCells(result), GridCells(MemoryGrid(10, 4)));
}

struct FaultyRow {
    const char* name;
    std::vector<std::string> row;
    std::string_view reason;
};

// Part 1 is sound; part 2 stops the calculation. Part 1's rows, reactions and
// transmitted forces stay; nothing of part 2 is written.
TEST(AttachedPartReactionsTest, FaultyRowStopsWithAMessageAndKeepsEarlierParts)
{
    const FaultyRow rows[] = {
        {"second node neither level with nor plumb to the hinge", {"2", "2", "6", "2", "3"}, kAttachedSecondNodeSkew},
        {"second node on the hinge", {"2", "2", "2", "2", "3"}, kAttachedSecondNodeCoincides},
        {"element that does not exist", {"2", "2", "3", "2", "99"}, kNumberOutsideTable},
        {"text instead of a node number", {"2", "abc", "3", "2"}, kCellNotANumber},
        {"number too large for a node", {"2", "40000", "3", "2"}, kCellNotANumber},
        {"no elements", {"2", "2", "3"}, kAttachedRowIncomplete},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        StructureModel m = HingedMultiSpanBeam();
        m.Nodes.Append({6, std::string(kRigidJoint), 6, 3});
        m.Supports.at(2).Fx = 7;
        m.Supports.at(2).Fy = 7;
        MemoryGrid result(10, 4);
        RecordingMessages messages;
        EXPECT_FALSE(ComputeAttachedPartReactions(m, PartTable({{"1", "4", "5", "4"}, r.row}), result, messages));
        ASSERT_EQ(messages.shown.size(), 2u);
        EXPECT_EQ(messages.shown[0].text, "计算错误!");
        EXPECT_EQ(messages.shown[1].text, "附属部分第2行：" + std::string(r.reason));
        EXPECT_EQ(DataRows(result, 3),
                  (Rows{{"4", "铰结点", "4.", "0."}, {"5", "活动支座", "4.", "0."}, {"", "", "", ""}}));
        EXPECT_EQ(m.TransmittedForces.size(), 2u);
        EXPECT_EQ(m.Supports.at(2).Fy, 7);
        EXPECT_NEAR(m.Supports.at(3).Fy, 4, kTol);
    }
}

}  // namespace
}  // namespace tavrin
