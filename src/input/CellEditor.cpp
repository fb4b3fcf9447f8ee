#include "input/CellEditor.h"

#include <algorithm>

#include "input/InputTables.h"
#include "model/CellReading.h"

namespace tavrin {

CellEditor::CellEditor(TextGrid& grid, const StructureModel& model, const std::vector<std::string>& columnKinds,
                       const CellEditorRules& rules)
    : m_grid(grid), m_model(model), m_columnKinds(columnKinds), m_rules(rules)
{
}

// A column the table has no kind for takes no editor.
bool CellEditor::IsKind(int col, std::string_view kind) const
{
    return col >= 0 && col < static_cast<int>(m_columnKinds.size()) &&
           m_columnKinds[static_cast<std::size_t>(col)] == kind;
}

bool CellEditor::IsTyped(int col) const
{
    return IsKind(col, kTypedColumn);
}

bool CellEditor::IsList(int col) const
{
    return IsKind(col, kListColumn);
}

EditorActions CellEditor::BeginTyping(std::string_view text)
{
    m_state.text = std::string(text);
    m_state.textVisible = true;
    m_textPending = true;
    return {.consumeKey = true, .placeTextEditor = true};
}

// Enter edits the cell's text; a character starts a new text with itself;
// Backspace starts an empty one. Other control keys do nothing.
EditorActions CellEditor::GridKeyPress(int key, std::string_view text)
{
    const int col = m_grid.Col();
    if (IsTyped(col)) {
        if (key == kKeyEnter)
            return BeginTyping(m_grid.Text(m_grid.Row(), col));
        if (key == kKeyBackspace)
            return BeginTyping("");
        if (key < kKeySpace || text.empty())
            return {.consumeKey = true};
        return BeginTyping(text);
    }
    if (IsList(col) && (key == kKeySpace || key == kKeyEnter)) {
        EditorActions actions = OpenListEditor();
        actions.consumeKey = true;
        return actions;
    }
    return {.consumeKey = true};
}

EditorActions CellEditor::GridDoubleClick()
{
    if (IsTyped(m_grid.Col()) && m_grid.Col() == 0 && m_grid.Row() != 0)
        return GridKeyPress(kKeyEnter, {});
    return {};
}

void CellEditor::GridMouseDown()
{
    if (IsTyped(m_grid.Col()))
        m_state.textVisible = false;
}

EditorActions CellEditor::OpenListEditor()
{
    const int col = m_grid.Col();
    if (!IsList(col))
        return {};
    const ListEntries list = ListFor(m_grid.Row(), col);
    m_state.listEntries.assign(list.items.begin(), list.items.begin() + static_cast<std::ptrdiff_t>(list.count));
    m_state.listText.clear();
    m_state.listVisible = true;
    return {.placeListEditor = true};
}

// An F column whose header and load type match no list offers nothing, rather
// than the entries of whichever list was open before.
ListEntries CellEditor::ListFor(int row, int col) const
{
    const std::string header = m_grid.Text(0, col);
    for (const HeaderList& list : m_rules.lists)
        if (list.header == header)
            return list.entries;
    if (header == kLoadDirectionHeader && col >= kLoadTypeToDirection) {
        const std::string loadType = m_grid.Text(row, col - kLoadTypeToDirection);
        for (const LoadDirectionList& list : kLoadDirectionLists)
            if (list.loadType == loadType)
                return list.entries;
    }
    return {};
}

// Writing the editor's text back is how a click elsewhere keeps what was
// typed. A filled first cell in the last row gives the student a new row,
// where the student fills the first column: a table whose rows the program
// labels keeps its rows.
void CellEditor::LeaveCell(int row, int col)
{
    if (IsTyped(col)) {
        m_grid.SetText(row, col, m_state.text);
        m_textPending = false;
    }
    if (col == 0 && (IsTyped(0) || IsList(0)) && row != 0 && row == m_grid.Rows() - 1 &&
        !IsBlankText(m_grid.Text(row, col)))
        m_grid.SetRows(m_grid.Rows() + 1);
}

void CellEditor::EnterCell()
{
    if (IsTyped(m_grid.Col()))
        m_state.text = m_grid.Text(m_grid.Row(), m_grid.Col());
}

EditorActions CellEditor::TextKeyPress(int key)
{
    if (key == kKeyEscape) {
        m_state.text = m_grid.Text(m_grid.Row(), m_grid.Col());
        m_textPending = false;
        m_state.textVisible = false;
        return {.consumeKey = true, .focusGrid = true};
    }
    if (key != kKeySpace && key != kKeyEnter)
        return {};
    const int row = m_grid.Row();
    const int col = m_grid.Col();
    m_grid.SetText(row, col, m_state.text);
    m_textPending = false;
    m_state.textVisible = false;
    MoveOn(SkipAfter(EntryKind::Typed, row, col));
    return {.consumeKey = true, .focusGrid = true};
}

// The cell (row, col) holds the entry already.
int CellEditor::SkipAfter(EntryKind entry, int row, int col) const
{
    for (const SkipRule& rule : m_rules.skips) {
        if (rule.entry != entry || rule.column != col)
            continue;
        if (!rule.rowType.empty() && m_grid.Text(row, 0) != rule.rowType)
            continue;
        if (!rule.firstHeader.empty() && m_grid.Text(0, 0) != rule.firstHeader)
            continue;
        if (rule.determinateOnly && m_model.IndeterminacyDegree != 0)
            continue;
        if (rule.node != NodeCondition::Any && !NodeMatches(rule.node, m_grid.Text(row, kLoadNodeColumn)))
            continue;
        return rule.step;
    }
    return 1;
}

bool CellEditor::NodeMatches(NodeCondition condition, std::string_view cell) const
{
    switch (condition) {
        case NodeCondition::Any:
            return true;
        case NodeCondition::Hinged:
            return IsHingedNode(cell);
        case NodeCondition::None:
            return ReadIntegerCell(cell) == 0;
        case NodeCondition::Named:
            return ReadIntegerCell(cell) != 0;
    }
    return false;
}

// A number that names no node is no hinge.
bool CellEditor::IsHingedNode(std::string_view typed) const
{
    const std::optional<std::int16_t> n = ReadIntegerCell(typed);
    const Node* node = n ? m_model.Nodes.Find(*n) : nullptr;
    return node && node->JointType == kHingedJoint;
}

EditorActions CellEditor::ListChoice(std::string_view chosen)
{
    if (!m_state.listVisible)
        return {};
    const int row = m_grid.Row();
    const int col = m_grid.Col();
    m_state.listText = std::string(chosen);
    m_grid.SetText(row, col, chosen);
    m_state.listVisible = false;
    MoveOn(SkipAfter(EntryKind::Chosen, row, col));
    return {.focusGrid = true};
}

EditorActions CellEditor::ListKeyPress(int key)
{
    if (key == kKeyEscape) {
        m_state.listVisible = false;
        return {.consumeKey = true, .focusGrid = true};
    }
    if (key == kKeySpace || key == kKeyEnter) {
        m_grid.SetText(m_grid.Row(), m_grid.Col(), m_state.listText);
        m_state.listVisible = false;
        return {.consumeKey = true, .focusGrid = true};
    }
    return {};
}

EditorActions CellEditor::ListFocusLost()
{
    if (!m_state.listVisible)
        return {};
    m_state.listVisible = false;
    return {.focusGrid = true};
}

void CellEditor::FlushTextEditor()
{
    if (m_textPending && IsTyped(m_grid.Col()))
        m_grid.SetText(m_grid.Row(), m_grid.Col(), m_state.text);
    m_textPending = false;
}

void CellEditor::Reset()
{
    m_state = {};
    m_textPending = false;
    EnterCell();
}

// Right by `step` columns (never past the last), or from the last column or
// by kNextRow to the first cell of the next row; where there is no next row
// the cell stays.
void CellEditor::MoveOn(int step)
{
    const int row = m_grid.Row();
    const int col = m_grid.Col();
    const int lastCol = m_grid.Cols() - 1;
    if (step != kNextRow && col < lastCol)
        MoveTo(row, std::min(col + step, lastCol));
    else if (row < m_grid.Rows() - 1)
        MoveTo(row + 1, 0);
}

void CellEditor::MoveTo(int row, int col)
{
    LeaveCell(m_grid.Row(), m_grid.Col());
    m_grid.SetRow(row);
    m_grid.SetCol(col);
    EnterCell();
}

}  // namespace tavrin
