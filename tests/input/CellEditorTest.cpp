#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/CellEditor.h"
#include "input/InputTestSupport.h"

namespace tavrin {
namespace {

using testing::FillRow;

// The unit-force table of the calculation form: type, node, element,
// direction; its kinds are kept by the form, apart from the model's.
void LayOutUnitForceTable(TextGrid& grid, std::vector<std::string>& kinds)
{
    grid.SetRows(10);
    grid.SetCols(4);
    FillRow(grid, 0, {"荷载类型", "作用结点", "作用单元", "荷载方向"});
    kinds = {"F", "T", "T", "F"};
    grid.SetRow(1);
    grid.SetCol(0);
}

// Table `kind` of the input form (or the unit-force table for -1) with nodes
// 1 rigid, 2 hinged, 3 free; the student's keys go through the editor.
struct Editing {
    StructureModel model;
    std::vector<std::string> unitForceKinds;
    MemoryGrid grid{kInputGridRows, 1};
    CellEditor editor;

    explicit Editing(int kind, const CellEditorRules& rules = kInputFormEditorRules)
        : editor(grid, model, kind < 0 ? unitForceKinds : model.ColumnEditorKinds, rules)
    {
        model.Nodes.Append({1, "刚接", 0.0f, 0.0f});
        model.Nodes.Append({2, "铰接", 4.0f, 0.0f});
        model.Nodes.Append({3, "自由端", 4.0f, 3.0f});
        if (kind < 0) {
            LayOutUnitForceTable(grid, unitForceKinds);
        } else {
            InputFormState form;
            SelectInputTable(kind, model, grid, form);
            TypeRows(grid, {});  // the committed nodes deleted: typed anew
        }
        editor.Reset();
    }

    void At(int row, int col)
    {
        grid.SetRow(row);
        grid.SetCol(col);
        editor.EnterCell();
    }
    // Typing on the grid: the first character opens the text editor, the
    // rest is typed into it.
    EditorActions Type(std::string_view text)
    {
        const EditorActions actions = editor.GridKeyPress(static_cast<unsigned char>(text[0]), text.substr(0, 1));
        editor.SetText(text);
        return actions;
    }
    // An empty text is Enter on an empty cell: the cell left blank.
    EditorActions Enter(std::string_view text)
    {
        if (text.empty())
            editor.GridKeyPress(kKeyEnter, "\r");
        else
            Type(text);
        return editor.TextKeyPress(kKeySpace);
    }
    EditorActions Choose(std::string_view entry)
    {
        editor.GridKeyPress(kKeySpace, " ");
        return editor.ListChoice(entry);
    }
    std::pair<int, int> Cell() const { return {grid.Row(), grid.Col()}; }
};

// The committed rows a chosen table shows survive a click elsewhere: leaving
// a cell writes the editor's text back, which must be the cell's own.
TEST(CellEditorTest, ACommittedRowShownStaysWhenTheStudentClicksElsewhere)
{
    Editing e(kNodeTable);
    InputFormState form;
    SelectInputTable(kNodeTable, e.model, e.grid, form);
    e.editor.Reset();
    e.editor.LeaveCell(1, 0);
    e.grid.SetCol(2);
    e.editor.EnterCell();
    EXPECT_EQ(e.grid.Text(1, 0), "1");
}

TEST(CellEditorTest, ACharacterOpensTheTextEditorSpaceCommitsItEscapeGivesItUp)
{
    Editing e(kNodeTable);
    const EditorActions opened = e.editor.GridKeyPress('3', "3");
    EXPECT_TRUE(opened.placeTextEditor);
    EXPECT_TRUE(opened.consumeKey);
    EXPECT_EQ(e.editor.State().text, "3");
    EXPECT_TRUE(e.editor.State().textVisible);
    EXPECT_EQ(e.grid.Text(1, 0), "");

    e.editor.SetText("35");
    EXPECT_FALSE(e.editor.TextKeyPress('7').consumeKey);  // ordinary keys stay in the text box
    const EditorActions committed = e.editor.TextKeyPress(kKeySpace);
    EXPECT_TRUE(committed.consumeKey);
    EXPECT_TRUE(committed.focusGrid);
    EXPECT_FALSE(e.editor.State().textVisible);
    EXPECT_EQ(e.grid.Text(1, 0), "35");
    EXPECT_EQ(e.Cell(), std::make_pair(1, 1));

    e.grid.SetText(1, 1, "4.5");
    e.At(1, 1);
    e.editor.GridKeyPress(kKeyEnter, "\r");
    EXPECT_EQ(e.editor.State().text, "4.5");  // Enter edits what the cell holds
    e.editor.GridKeyPress(kKeyBackspace, "\b");
    EXPECT_EQ(e.editor.State().text, "");
    EXPECT_TRUE(e.editor.State().textVisible);
    e.editor.TextKeyPress(kKeyEnter);
    EXPECT_EQ(e.grid.Text(1, 1), "");
    EXPECT_EQ(e.Cell(), std::make_pair(1, 2));

    // Escape gives the typing up: the cell keeps its text, the cursor stays,
    // and neither a flush nor a later move writes what was typed.
    e.grid.SetText(1, 2, "4");
    e.At(1, 2);
    e.Type("75");
    const EditorActions cancelled = e.editor.TextKeyPress(kKeyEscape);
    EXPECT_TRUE(cancelled.consumeKey && cancelled.focusGrid);
    EXPECT_FALSE(e.editor.State().textVisible);
    e.editor.FlushTextEditor();
    e.editor.LeaveCell(1, 2);
    EXPECT_EQ(e.grid.Text(1, 2), "4");
    EXPECT_EQ(e.Cell(), std::make_pair(1, 2));
}

struct SkipCase {
    const char* name;
    int kind;  // -1: the calculation form's unit-force table
    const CellEditorRules* rules;
    std::int16_t degree;
    const char* rowType;  // written into column 0 of row 1
    int col;
    const char* typed;
    int expectedCol;
    const char* node = "";  // written into the node column of row 1
    int expectedRow = 1;
};

TEST(CellEditorTest, TextEntriesSkipTheColumnsTheRowDoesNotNeed)
{
    const CellEditorRules* input = &kInputFormEditorRules;
    const CellEditorRules* calc = &kCalculationFormEditorRules;
    const SkipCase cases[] = {
        {"determinate structure needs no EI", kElementTable, input, 0, "", 0, "1", 2},
        {"indeterminate structure asks for EI", kElementTable, input, 2, "", 0, "1", 1},
        {"node number", kNodeTable, input, 0, "", 0, "1", 1},
        {"concentrated force names no element", kLoadTable, input, 0, "集中荷载", 1, "3", 3},
        {"couple at a hinge names its element", kLoadTable, input, 0, "力偶", 1, "2", 2},
        {"couple at a hinge, node typed 2.5", kLoadTable, input, 0, "力偶", 1, "2.5", 2},
        {"couple at a rigid joint", kLoadTable, input, 0, "力偶", 1, "1", 3},
        {"couple at a free end", kLoadTable, input, 0, "力偶", 1, "3", 3},
        {"couple at a missing node", kLoadTable, input, 0, "力偶", 1, "9", 3},
        {"couple at node -1", kLoadTable, input, 0, "力偶", 1, "-1", 3},
        {"couple at a non-number", kLoadTable, input, 0, "力偶", 1, "x", 3},
        {"couple at a huge number", kLoadTable, input, 0, "力偶", 1, "1e10", 3},
        {"distributed load element", kLoadTable, input, 0, "均布荷载", 2, "1", 3},
        {"force left without a node names its member", kLoadTable, input, 0, "集中荷载", 1, "", 2},
        {"force at node 0 names its member", kLoadTable, input, 0, "集中荷载", 1, "0", 2},
        {"couple left without a node names its member", kLoadTable, input, 0, "力偶", 1, "", 2},
        {"force at a node ends with its magnitude", kLoadTable, input, 0, "集中荷载", 4, "10", 0, "3", 2},
        {"couple at a hinge ends with its magnitude", kLoadTable, input, 0, "力偶", 4, "2", 0, "2", 2},
        {"force on a member goes on to a", kLoadTable, input, 0, "集中荷载", 4, "10", 5},
        {"force on a member ends with a", kLoadTable, input, 0, "集中荷载", 5, "2", 0, "", 2},
        {"couple on a member ends with a", kLoadTable, input, 0, "力偶", 5, "2", 0, "", 2},
        {"distributed load goes on to a", kLoadTable, input, 0, "均布荷载", 4, "10", 5},
        {"unit force left without a node", -1, calc, 0, "集中荷载", 1, "", 3},
        {"unit force concentrated", -1, calc, 0, "集中荷载", 1, "3", 3},
        {"unit couple at a hinge", -1, calc, 0, "力偶", 1, "2", 2},
        {"unit couple at a rigid joint", -1, calc, 0, "力偶", 1, "1", 3},
        {"calculation form has no EI skip", kElementTable, calc, 0, "", 0, "1", 1},
    };
    for (const SkipCase& c : cases) {
        SCOPED_TRACE(c.name);
        Editing e(c.kind, *c.rules);
        e.model.IndeterminacyDegree = c.degree;
        if (*c.rowType)
            e.grid.SetText(1, 0, c.rowType);
        if (c.col != 1)
            e.grid.SetText(1, 1, c.node);
        e.At(1, c.col);
        e.Enter(c.typed);
        EXPECT_EQ(e.grid.Text(1, c.col), c.typed);
        EXPECT_EQ(e.Cell(), std::make_pair(c.expectedRow, c.expectedCol));
    }
}

TEST(CellEditorTest, TheLastColumnLeadsToTheNextRowAndTheLastRowStays)
{
    Editing e(kLoadTable);
    e.At(3, 7);
    e.Enter("10");
    EXPECT_EQ(e.Cell(), std::make_pair(4, 0));

    Editing n(kNodeTable);
    n.At(2, 3);
    n.Choose("刚接");
    EXPECT_EQ(n.Cell(), std::make_pair(3, 0));
    n.At(n.grid.Rows() - 1, 3);
    n.Choose("铰接");
    EXPECT_EQ(n.Cell(), std::make_pair(n.grid.Rows() - 1, 3));
    EXPECT_EQ(n.grid.Text(n.grid.Rows() - 1, 3), "铰接");
}

TEST(CellEditorTest, ListChoicesWriteTheCellAndMoveOn)
{
    const struct {
        const char* chosen;
        int expectedCol;
    } cases[] = {{"均布荷载", 2}, {"集中荷载", 1}, {"力偶", 1}, {"", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        Editing e(kLoadTable);
        const EditorActions actions = e.Choose(c.chosen);
        EXPECT_TRUE(actions.focusGrid);
        EXPECT_FALSE(e.editor.State().listVisible);
        EXPECT_EQ(e.grid.Text(1, 0), c.chosen);
        EXPECT_EQ(e.Cell(), std::make_pair(1, c.expectedCol));
    }
}

struct ListCase {
    const char* name;
    int kind;
    const CellEditorRules* rules;
    const char* rowType;
    int col;
    std::vector<std::string> entries;
};

TEST(CellEditorTest, EachListColumnOffersItsOwnEntries)
{
    const CellEditorRules* input = &kInputFormEditorRules;
    const CellEditorRules* calc = &kCalculationFormEditorRules;
    const std::vector<std::string> forces{"向上", "向下", "向左", "向右"};
    const std::vector<std::string> couples{"顺时针", "逆时针", "", ""};
    const ListCase cases[] = {
        {"joint types", kNodeTable, input, "", 3, {"铰接", "刚接", "自由端"}},
        {"support types", kSupportTable, input, "", 1, {"铰支座", "固定支座", "活动支座", ""}},
        {"support sides", kSupportTable, input, "", 2, {"结点下方", "结点上方", "结点右侧", "结点左侧"}},
        {"load types", kLoadTable, input, "", 0, {"集中荷载", "均布荷载", "力偶", ""}},
        {"force directions", kLoadTable, input, "集中荷载", 3, forces},
        {"distributed directions", kLoadTable, input, "均布荷载", 3, forces},
        {"couple directions", kLoadTable, input, "力偶", 3, couples},
        {"no type chosen yet", kLoadTable, input, "", 3, {}},
        {"unit force types", -1, calc, "", 0, {"集中荷载", "力偶", "", ""}},
        {"unit force directions", -1, calc, "集中荷载", 3, forces},
        {"unit couple directions", -1, calc, "力偶", 3, couples},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.name);
        Editing e(c.kind, *c.rules);
        // A longer list opened before must leave nothing behind.
        e.At(1, 0);
        e.grid.SetText(1, 0, c.rowType);
        if (c.kind == kLoadTable) {
            e.editor.OpenListEditor();
            e.editor.ListKeyPress(kKeyEscape);
        }
        e.At(1, c.col);
        const EditorActions actions = e.editor.GridClick();
        EXPECT_TRUE(actions.placeListEditor);
        EXPECT_TRUE(e.editor.State().listVisible);
        EXPECT_EQ(e.editor.State().listText, "");
        EXPECT_EQ(e.editor.State().listEntries, c.entries);
    }
}

TEST(CellEditorTest, ListKeysCloseWithoutMovingAndEscapeWritesNothing)
{
    Editing e(kSupportTable);
    e.grid.SetText(1, 1, "铰支座");
    e.At(1, 1);
    e.editor.GridKeyPress(kKeyEnter, "\r");
    e.editor.SetListText("固定支座");
    const EditorActions escaped = e.editor.ListKeyPress(kKeyEscape);
    EXPECT_TRUE(escaped.focusGrid);
    EXPECT_FALSE(e.editor.State().listVisible);
    EXPECT_EQ(e.grid.Text(1, 1), "铰支座");

    for (int key : {kKeySpace, kKeyEnter}) {
        SCOPED_TRACE(key);
        e.editor.GridKeyPress(kKeySpace, " ");
        e.editor.SetListText("活动支座");
        EXPECT_FALSE(e.editor.ListKeyPress('a').consumeKey);
        EXPECT_TRUE(e.editor.ListKeyPress(key).focusGrid);
        EXPECT_EQ(e.grid.Text(1, 1), "活动支座");
        EXPECT_EQ(e.Cell(), std::make_pair(1, 1));
        e.grid.SetText(1, 1, "");
    }

    e.editor.GridClick();
    EXPECT_TRUE(e.editor.ListFocusLost().focusGrid);
    EXPECT_FALSE(e.editor.State().listVisible);
    // Hiding the list takes its focus away once more: nothing further happens.
    EXPECT_FALSE(e.editor.ListFocusLost().focusGrid);
    EXPECT_FALSE(e.editor.ListChoice("铰支座").focusGrid);
    EXPECT_EQ(e.grid.Text(1, 1), "");
}

TEST(CellEditorTest, KeysAndClicksOpenOnlyTheEditorOfTheColumnsKind)
{
    Editing e(kSupportTable);
    e.At(1, 1);
    EXPECT_FALSE(e.editor.GridKeyPress('a', "a").placeListEditor);
    EXPECT_FALSE(e.editor.State().textVisible);
    EXPECT_FALSE(e.editor.GridDoubleClick().placeTextEditor);
    e.At(1, 0);
    EXPECT_FALSE(e.editor.GridClick().placeListEditor);
    EXPECT_FALSE(e.editor.GridKeyPress(kKeyEscape, "\x1b").placeTextEditor);

    // A double click edits a typed first cell, nowhere else.
    e.grid.SetText(2, 0, "12");
    e.At(2, 0);
    EXPECT_TRUE(e.editor.GridDoubleClick().placeTextEditor);
    EXPECT_EQ(e.editor.State().text, "12");
    Editing n(kNodeTable);
    n.At(1, 1);
    EXPECT_FALSE(n.editor.GridDoubleClick().placeTextEditor);
}

// The input form and the calculation form are open side by side, each with
// its own table: an editor reads only the kinds of its own form, as they
// stand when the student acts.
TEST(CellEditorTest, EachFormsEditorFollowsTheKindsOfItsOwnTable)
{
    Editing input(kNodeTable);                      // column 0 typed
    Editing calc(-1, kCalculationFormEditorRules);  // column 0 a list
    calc.model.ColumnEditorKinds = input.model.ColumnEditorKinds;

    EXPECT_TRUE(calc.editor.GridKeyPress(kKeySpace, " ").placeListEditor);
    EXPECT_EQ(calc.editor.State().listEntries, (std::vector<std::string>{"集中荷载", "力偶", "", ""}));
    EXPECT_FALSE(calc.editor.GridKeyPress('1', "1").placeTextEditor);
    EXPECT_TRUE(input.editor.GridKeyPress('1', "1").placeTextEditor);
    EXPECT_FALSE(input.editor.GridKeyPress(kKeySpace, " ").placeListEditor);

    // The form lays another table out after the editor was made.
    calc.unitForceKinds = {"T", "F"};
    calc.editor.Reset();
    EXPECT_TRUE(calc.editor.GridKeyPress('2', "2").placeTextEditor);
    calc.unitForceKinds.clear();
    calc.editor.Reset();
    const EditorActions none = calc.editor.GridKeyPress('2', "2");
    EXPECT_FALSE(none.placeTextEditor || none.placeListEditor);
}

TEST(CellEditorTest, AClickElsewhereKeepsWhatWasTyped)
{
    Editing e(kNodeTable);
    e.At(2, 1);
    e.Type("7.5");
    e.editor.GridMouseDown();
    EXPECT_FALSE(e.editor.State().textVisible);
    e.editor.LeaveCell(2, 1);
    e.grid.SetRow(4);
    e.grid.SetCol(2);
    e.editor.EnterCell();
    EXPECT_EQ(e.grid.Text(2, 1), "7.5");
    EXPECT_EQ(e.editor.State().text, "");

    // Leaving a list cell writes nothing.
    e.grid.SetText(4, 3, "刚接");
    e.editor.LeaveCell(4, 3);
    EXPECT_EQ(e.grid.Text(4, 3), "刚接");
}

TEST(CellEditorTest, FlushingWritesOnlyUncommittedTyping)
{
    Editing e(kNodeTable);
    e.grid.SetText(1, 0, "9");
    e.At(1, 0);
    e.editor.FlushTextEditor();
    EXPECT_EQ(e.grid.Text(1, 0), "9");
    e.Type("4");
    e.editor.FlushTextEditor();
    EXPECT_EQ(e.grid.Text(1, 0), "4");
    e.editor.Reset();
    e.editor.FlushTextEditor();
    EXPECT_EQ(e.grid.Text(1, 0), "4");
}

TEST(CellEditorTest, ALastRowLeftFilledGrowsTheGridByOneRow)
{
    const int last = kInputGridRows - 1;
    Editing e(kNodeTable);
    e.At(last, 0);
    e.Enter("100");
    EXPECT_EQ(e.grid.Rows(), kInputGridRows + 1);
    EXPECT_EQ(e.Cell(), std::make_pair(last, 1));

    // Blank as every number cell reads it: a tab is a blank too.
    for (const char* text : {"", " ", "  ", " \t"}) {
        SCOPED_TRACE(std::string("'") + text + "'");
        Editing blank(kNodeTable);
        blank.At(last, 0);
        blank.grid.SetText(last, 0, text);
        blank.editor.EnterCell();
        blank.editor.LeaveCell(last, 0);
        EXPECT_EQ(blank.grid.Rows(), kInputGridRows);
    }

    // The load table's first column is a list.
    Editing l(kLoadTable);
    l.At(last, 0);
    l.Choose("集中荷载");
    EXPECT_EQ(l.grid.Rows(), kInputGridRows + 1);
}

}  // namespace
}  // namespace tavrin
