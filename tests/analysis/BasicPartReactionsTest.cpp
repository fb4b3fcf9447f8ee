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

void ExpectWholeBalance(const StructureModel& m)
{
    const testing::Balance b = testing::WholeStructureBalance(m);
    EXPECT_NEAR(b.fx, 0, kTol);
    EXPECT_NEAR(b.fy, 0, kTol);
    EXPECT_NEAR(b.m, 0, kTol);
}

// Cantilever 1-2 fixed at node 1 (0,0) carrying the beam 2-4 at the hinge
// node 2 (4,0); roller under node 4 (8,0); 10 down at node 3 (6,0). The
// hinge presses 5 down on the cantilever: Fy 5, Fm -20.
TEST(BasicPartReactionsTest, CantileverCarriesTheHingeForce)
{
    StructureModel m = ModelBuilder()
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
    MemoryGrid result(10, 5);
    RecordingMessages messages;
    ASSERT_TRUE(ComputeAttachedPartReactions(m, PartTable({{"1", "2", "4", "2", "3"}}), result, messages));
    ClearGrid(result);
    ASSERT_TRUE(ComputeBasicPartReactions(m, PartTable({{"1", "1"}}), result, messages));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(DataRows(result, 2), (Rows{{"1", "固定支座", "0.", "5.", "-20."}, {"", "", "", "", ""}}));
    ExpectWholeBalance(m);
}

// Hinged two-span beam: pin 1 (0,0), roller 2 (4,0), hinge 3 (6,0), roller
// 4 (10,0), loaded only by 10 down at the hinge. The attached span takes
// none of it (no lever about its hinge) and hands all 10 to the basic beam:
// about node 1, 60 - 4 Fy2 = 0, so 15 at the roller and -5 at the pin. A
// load counted by both parts would double these.
TEST(BasicPartReactionsTest, LoadAtASharedHingeIsCountedOnce)
{
    struct Case {
        const char* name;
        std::string_view direction;
        float pin, roller;
    };
    const Case cases[] = {{"10 down", kDownward, -5, 15}, {"10 up", kUpward, 5, -15}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StructureModel m = ModelBuilder()
                               .Node(0, 0)
                               .Node(4, 0)
                               .Node(6, 0, kHingedJoint)
                               .Node(10, 0)
                               .Member(1, 2)
                               .Member(2, 3)
                               .Member(3, 4)
                               .Support(1, kPinSupport)
                               .Support(2, kRollerSupport)
                               .Support(4, kRollerSupport)
                               .Force(3, c.direction, 10)
                               .Build();
        MemoryGrid result(10, 5);
        RecordingMessages messages;
        ASSERT_TRUE(ComputeAttachedPartReactions(m, PartTable({{"1", "3", "4", "3"}}), result, messages));
        EXPECT_NEAR(m.Supports.at(3).Fy, 0, kTol);
        ASSERT_TRUE(ComputeBasicPartReactions(m, PartTable({{"1", "1", "2"}}), result, messages));
        EXPECT_NEAR(m.Supports.at(1).Fy, c.pin, kTol);
        EXPECT_NEAR(m.Supports.at(2).Fy, c.roller, kTol);
        ExpectWholeBalance(m);
    }
}

// A suspended span 3-4 between two overhanging beams: pin 1 (0,0), roller
// 2 (4,0), hinge 3 (6,0), hinge 4 (10,0), roller 5 (12,0), pin 6 (16,0);
// 2 per length down on 3-4. Each hinge hands 4 down to its beam:
// 6 at each roller, -2 at each pin.
TEST(BasicPartReactionsTest, EachBasicPartTakesTheForceAtItsOwnHinge)
{
    StructureModel m = ModelBuilder()
                           .Node(0, 0)
                           .Node(4, 0)
                           .Node(6, 0, kHingedJoint)
                           .Node(10, 0, kHingedJoint)
                           .Node(12, 0)
                           .Node(16, 0)
                           .Member(1, 2)
                           .Member(2, 3)
                           .Member(3, 4)
                           .Member(4, 5)
                           .Member(5, 6)
                           .Support(1, kPinSupport)
                           .Support(2, kRollerSupport)
                           .Support(5, kRollerSupport)
                           .Support(6, kPinSupport)
                           .Distributed(3, kDownward, 2)
                           .Build();
    MemoryGrid result(10, 4);
    RecordingMessages messages;
    ASSERT_TRUE(ComputeAttachedPartReactions(m, PartTable({{"1", "3", "4", "3"}}), result, messages));
    MemoryGrid basic(3, 5);
    ASSERT_TRUE(ComputeBasicPartReactions(m, PartTable({{"1", "1", "2"}, {"2", "4", "5"}}), basic, messages));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(DataRows(basic, 4), (Rows{{"1", "铰支座", "0.", "-2.", "0."},
                                        {"2", "活动支座", "0.", "6.", "0."},
                                        {"5", "活动支座", "0.", "6.", "0."},
                                        {"6", "铰支座", "0.", "-2.", "0."}}));
    ExpectWholeBalance(m);
}

TEST(BasicPartReactionsTest, UnsolvablePartStopsWithCalculationError)
{
    struct Case {
        const char* name;
        std::vector<std::string> row;
        std::string_view reason;
    };
    const Case cases[] = {
        {"part on a single roller", {"1", "2"}, kArrangementUnmatched},
        {"element that does not exist", {"1", "9"}, kNumberOutsideTable},
        {"pin and roller on one vertical", {"1", "1"}, kPinAndVerticalRollerPlumb},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Pin 1 (0,0) and roller 2 (0,3) on element 1; element 2 from
        // node 2 to node 3 (4,3) stands on the roller alone.
        StructureModel m = ModelBuilder()
                               .Node(0, 0)
                               .Node(0, 3)
                               .Node(4, 3)
                               .Member(1, 2)
                               .Member(2, 3)
                               .Support(1, kPinSupport)
                               .Support(2, kRollerSupport, kBelowNode)
                               .Force(3, kDownward, 1)
                               .Build();
        m.Supports.at(1).Fy = 7;
        const OneBasedTable<Support> before = m.Supports;
        MemoryGrid result(10, 5);
        RecordingMessages messages;
        EXPECT_FALSE(ComputeBasicPartReactions(m, PartTable({c.row}), result, messages));
        ASSERT_EQ(messages.shown.size(), 2u);
        EXPECT_EQ(messages.shown[0].text, "计算错误!");
        EXPECT_EQ(messages.shown[1].text, "基本部分第1行：" + std::string(c.reason));
        EXPECT_EQ(m.Supports, before);
        EXPECT_EQ(GridCells(result), GridCells(MemoryGrid(10, 5)));
    }
}

}  // namespace
}  // namespace tavrin
