#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/InputTables.h"
#include "input/InputTestSupport.h"

namespace tavrin {
namespace {

using testing::FillRow;

struct ExpectedTable {
    int index;
    const char* formCaption;
    const char* panelCaption;
    std::vector<std::string> headers;
    std::vector<int> widths;
    std::vector<std::string> kinds;
};

TEST(InputTablesTest, ChoosingATableLaysOutItsColumnsCaptionsAndEditorKinds)
{
    const ExpectedTable tables[] = {
        {0,
         "输入计算结点特征：",
         "结点数据：",
         {"结点号", "x坐标", "y坐标", "结点类型"},
         {830, 830, 830, 830},
         {"T", "T", "T", "F"}},
        {1,
         "输入单元几何特征：",
         "单元数据：",
         {"单元码", "EI值", "i端结点码", "j端结点码"},
         {830, 830, 1000, 1000},
         {"T", "T", "T", "T"}},
        {2,
         "输入支座几何特征：",
         "支座数据：",
         {"支座结点码", "支座类型", "支座方向"},
         {830, 830, 830},
         {"T", "F", "F"}},
        {3,
         "输入荷载信息：",
         "荷载数据：",
         {"荷载类型", "作用结点", "作用单元", "荷载方向", "荷载大小"},
         {830, 830, 830, 830, 830},
         {"F", "T", "T", "F", "T"}},
    };
    for (const ExpectedTable& t : tables) {
        SCOPED_TRACE(t.index);
        StructureModel model;
        MemoryGrid grid(kInputGridRows, 2);
        grid.SetRow(40);
        grid.SetCol(1);
        InputFormState form;
        ASSERT_TRUE(SelectInputTable(t.index, model, grid, form));
        EXPECT_EQ(model.InputTableKind, t.index);
        EXPECT_EQ(model.ColumnEditorKinds, t.kinds);
        EXPECT_EQ(form.formCaption, t.formCaption);
        EXPECT_EQ(form.panelCaption, t.panelCaption);
        EXPECT_TRUE(form.panelVisible);
        EXPECT_TRUE(form.formShown);
        ASSERT_EQ(grid.Cols(), static_cast<int>(t.headers.size()));
        EXPECT_EQ(grid.Rows(), kInputGridRows);
        for (int c = 0; c < grid.Cols(); ++c) {
            EXPECT_EQ(grid.Text(0, c), t.headers[static_cast<std::size_t>(c)]);
            EXPECT_EQ(grid.ColWidth(c), t.widths[static_cast<std::size_t>(c)]);
        }
        EXPECT_EQ(grid.Row(), 1);
        EXPECT_EQ(grid.Col(), 0);
    }
}

TEST(InputTablesTest, SwitchingTablesLeavesNoStaleTextInAnyColumn)
{
    StructureModel model;
    MemoryGrid grid = testing::InputGrid(model, kLoadTable);
    FillRow(grid, 1, {"集中荷载", "2", "", "向下", "10"});
    FillRow(grid, 60, {"力偶", "3", "1", "顺时针", "5"});
    InputFormState form;
    ASSERT_TRUE(SelectInputTable(kSupportTable, model, grid, form));
    ASSERT_EQ(grid.Cols(), 3);
    // Widening again must not bring the load table's last columns back.
    ASSERT_TRUE(SelectInputTable(kLoadTable, model, grid, form));
    const auto cells = GridCells(grid);
    for (std::size_t r = 1; r < cells.size(); ++r)
        for (const std::string& text : cells[r])
            ASSERT_EQ(text, "") << "row " << r;
}

TEST(InputTablesTest, AListIndexThatNamesNoTableOnlyMovesTheCurrentCell)
{
    for (int index : {-1, 4}) {
        SCOPED_TRACE(index);
        StructureModel model;
        MemoryGrid grid = testing::InputGrid(model, kElementTable);
        FillRow(grid, 1, {"1", "2e4", "1", "2"});
        grid.SetRow(5);
        const auto before = GridCells(grid);
        InputFormState form;
        EXPECT_FALSE(SelectInputTable(index, model, grid, form));
        EXPECT_EQ(GridCells(grid), before);
        EXPECT_EQ(model.InputTableKind, kElementTable);
        EXPECT_FALSE(form.panelVisible);
        EXPECT_EQ(form.formCaption, kInputFormDesignCaption);
        EXPECT_EQ(grid.Row(), 1);
    }
}

}  // namespace
}  // namespace tavrin
