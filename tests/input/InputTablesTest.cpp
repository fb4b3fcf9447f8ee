#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "input/InputTables.h"
#include "input/InputTestSupport.h"
#include "input/ModelCommit.h"

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
         {"荷载类型", "作用结点", "作用单元", "荷载方向", "荷载大小", "起点a", "终点b", "末端大小"},
         {830, 830, 830, 830, 830, 830, 830, 830},
         {"F", "T", "T", "F", "T", "T", "T", "T"}},
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
    for (int index : {-1, 6}) {
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

// Nodes 1 (0,0) and 2 (4,0), one member with EI 0 and a uniform load over
// [1, 4] of it, committed.
struct CommittedFrame {
    StructureModel model;
    RecordingCanvas canvas{200.0, 150.0};
    RecordingMessages messages;

    CommittedFrame()
    {
        Commit(kNodeTable, {{"1", "0", "0", "刚接"}, {"2", "4", "0", "自由端"}});
        Commit(kElementTable, {{"1", "0", "1", "2"}});
        Commit(kLoadTable, {{"均布荷载", "", "1", "向下", "2", "1"}});
    }
    void Commit(int kind, std::initializer_list<std::initializer_list<std::string_view>> rows)
    {
        MemoryGrid grid = testing::InputGrid(model, kind);
        int r = 0;
        for (const auto& row : rows)
            FillRow(grid, ++r, row);
        EXPECT_TRUE(CommitInputTable(model, grid, canvas, messages));
    }
    // The grid as choosing table `kind` shows it.
    MemoryGrid Shown(int kind, InputFormState& form)
    {
        MemoryGrid grid(kInputGridRows, 1);
        SelectInputTable(kind, model, grid, form);
        return grid;
    }
};

// One cell of the table as chosen typed over.
TEST(InputTablesTest, ATableIsModifiedWhenItsRowsDifferFromTheCommittedOnes)
{
    const struct {
        const char* name;
        int kind, row, col;
        const char* text;
        bool modified;
    } cases[] = {
        {"a cell typed back as it was", kNodeTable, 2, 1, "4", false},
        {"a cell changed", kNodeTable, 2, 1, "5", true},
        {"a row added", kNodeTable, 3, 0, "3", true},
        {"a row typed below a blank first cell", kNodeTable, 9, 1, "1", true},
        {"a list entry in other words", kNodeTable, 1, 3, "刚接 ", true},
        {"a number left blank that reads as committed", kElementTable, 1, 1, "", false},
        {"a number in other words", kElementTable, 1, 2, "1.0", false},
        {"a number in a row the commit does not read", kElementTable, 2, 1, "0", true},
        {"a given in other words", kLoadTable, 1, 5, "1.0", false},
        {"an intensity at b of 0 where none was given", kLoadTable, 1, 7, "0", true},
    };
    CommittedFrame f;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InputFormState form;
        MemoryGrid grid = f.Shown(c.kind, form);
        grid.SetText(c.row, c.col, c.text);
        EXPECT_EQ(InputTableModified(f.model, grid), c.modified);
    }
}

// Node 2 moved from x = 4 to x = `typed` in the grid, then the table is let go of.
TEST(InputTablesTest, LeavingAModifiedTableCommitsDropsOrStaysAsAnswered)
{
    const struct {
        const char* name;
        bool panelVisible;
        const char* typed;
        UncommittedAnswer answer;
        int asked;
        bool goesOn;
        float x2;           // node 2 in the model afterwards
        const char* shown;  // the grid's x of node 2 afterwards
        const char* message;
    } cases[] = {
        {"commit", true, "5", UncommittedAnswer::Commit, 1, true, 5.0f, "5", ""},
        {"commit refused", true, "x5", UncommittedAnswer::Commit, 1, false, 4.0f, "x5",
         "第2行“x坐标”列：“x5”不是数字，本表未提交!"},
        {"drop", true, "5", UncommittedAnswer::Drop, 1, true, 4.0f, "4", ""},
        {"stay", true, "5", UncommittedAnswer::Stay, 1, false, 4.0f, "5", ""},
        {"nothing modified", true, "4", UncommittedAnswer::Stay, 0, true, 4.0f, "4", ""},
        {"no table shown", false, "5", UncommittedAnswer::Stay, 0, true, 4.0f, "5", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CommittedFrame f;
        InputFormState form;
        MemoryGrid grid = f.Shown(kNodeTable, form);
        form.panelVisible = c.panelVisible;
        grid.SetText(2, 1, c.typed);
        int asked = 0;
        const bool goesOn = LeaveInputTable(form, f.model, grid, f.canvas, f.messages, [&] {
            ++asked;
            return c.answer;
        });
        EXPECT_EQ(goesOn, c.goesOn);
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(f.model.Nodes.at(2).X, c.x2);
        EXPECT_EQ(grid.Text(2, 1), c.shown);
        EXPECT_EQ(f.messages.shown.empty() ? "" : f.messages.shown.back().text, c.message);
    }
}

}  // namespace
}  // namespace tavrin
