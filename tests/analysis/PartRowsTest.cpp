#include <gtest/gtest.h>

#include "analysis/PartRows.h"
#include "analysis/PartTables.h"
#include "analysis/StaticsTestModels.h"

namespace tavrin {
namespace {

using testing::ModelBuilder;
using testing::PartTable;
using Rows = std::vector<std::vector<std::string>>;

// Fixed at node 1 (0,0), rigid node 2 (4,0), hinge 3 (8,0), roller under
// node 4 (12,0), whose joint is rigid; elements 1-2, 2-3, 3-4. The attached
// part is element 3, carried by the hinge 3 and the roller 4.
StructureModel GerberBeam()
{
    return ModelBuilder()
        .Node(0, 0)
        .Node(4, 0)
        .Node(8, 0, kHingedJoint)
        .Node(12, 0)
        .Member(1, 2)
        .Member(2, 3)
        .Member(3, 4)
        .Support(1, kFixedSupport)
        .Support(4, kRollerSupport)
        .Build();
}

// The calculation takes moments about node O and lets node Q carry one
// force: a part row is sound only where nothing else can put a moment into
// the part at either node.
TEST(PartRowsTest, AttachedPartNodesThatCannotCarryThePartByForcesAloneAreNamed)
{
    struct Case {
        const char* name;
        Rows rows;
        int row;  // 0: no fault
        int col;
        const char* reason;
    };
    const Case cases[] = {
        {"hinge and roller", {{"1", "3", "4", "3"}}, 0, 0, ""},
        {"rigid node continued by a member outside the part",
         {{"1", "2", "4", "2", "3"}},
         1,
         1,
         "结点2的结点类型是“刚接”，不是“铰接”，本部分在此与其他单元或固定支座刚性相连，弯矩会传入本部分"},
        {"rigid node on a fixed support",
         {{"1", "1", "4", "1", "2", "3"}},
         1,
         1,
         "结点1的结点类型是“刚接”，不是“铰接”，本部分在此与其他单元或固定支座刚性相连，弯矩会传入本部分"},
        {"hinge inside the part, held by nothing",
         {{"1", "3", "4", "2", "3"}},
         1,
         1,
         "结点3既无支座，也不连接本部分以外的单元，本部分不能在此受力"},
        {"second node on none of the part's members", {{"1", "3", "2", "3"}}, 1, 2, "结点2不在本部分的单元上"},
        {"a later row", {{"1", "3", "4", "3"}, {"2", "4", "2", "2"}}, 2, 1, "结点4不在本部分的单元上"},
        // What the calculation refuses itself is not judged here.
        {"node outside the table", {{"1", "9", "4", "3"}}, 0, 0, ""},
        {"no element", {{"1", "2", "4"}}, 0, 0, ""},
        {"text in a cell", {{"1", "2x", "4", "3"}}, 0, 0, ""},
    };
    const StructureModel model = GerberBeam();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<PartCellFault> fault = FirstUnpinnedPartNode(model, PartTable(c.rows));
        if (c.row == 0) {
            EXPECT_FALSE(fault.has_value()) << fault->reason;
            continue;
        }
        ASSERT_TRUE(fault.has_value());
        EXPECT_EQ(fault->row, c.row);
        EXPECT_EQ(fault->col, c.col);
        EXPECT_EQ(fault->reason, c.reason);
    }
}

// A node that is no hinge still carries a part by a force alone where the
// part's own members are all that meet there and a pin or a roller holds it.
TEST(PartRowsTest, RigidNodeOfThePartOnAPinOrRollerCarriesIt)
{
    for (const std::string_view support : {kPinSupport, kRollerSupport, kFixedSupport}) {
        SCOPED_TRACE(std::string(support));
        const StructureModel model = testing::HingedBeam(support).Build();
        const std::optional<PartCellFault> fault = FirstUnpinnedPartNode(model, PartTable({{"1", "3", "2", "2"}}));
        EXPECT_EQ(fault.has_value(), support == kFixedSupport);
    }
}

}  // namespace
}  // namespace tavrin
