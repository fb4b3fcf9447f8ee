#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "input/InputTables.h"
#include "model/StructureModel.h"
#include "model/TextGrid.h"
#include "model/Vocabulary.h"

namespace tavrin {

// Character codes of the keys the editors react to.
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeySpace = 32;

// After an entry in a column, the cursor moves right past the columns the
// row does not need: a distributed load acts on an element, so it names no
// node; a concentrated force at a node names no element, a couple at a rigid
// joint needs no element, a determinate structure needs no EI; a load at a
// node has no a, b or intensity at b, nor a force or couple a b or an
// intensity at b. The first matching rule gives the step; no match moves
// one column.
//
// What the load row's node cell (column 1) names: a hinge; no node (blank or
// 0, as the commit reads it); anything else.
enum class NodeCondition { Any, Hinged, None, Named };
inline constexpr int kLoadNodeColumn = 1;
// A step: on to the first cell of the next row.
inline constexpr int kNextRow = 0;
// A number committed from the text editor, or an entry chosen in the list.
enum class EntryKind { Typed, Chosen };
struct SkipRule {
    EntryKind entry;
    std::string_view rowType;      // text of the row's first cell; empty: any
    std::string_view firstHeader;  // header of column 0; empty: any
    int column;                    // the column just committed
    NodeCondition node;            // what the row's node cell names
    bool determinateOnly;          // only while IndeterminacyDegree is 0
    int step;
};

// Up to four entries of the list editor, in the order offered; an empty
// entry lets the student clear the cell.
struct ListEntries {
    std::array<std::string_view, 4> items{};
    std::size_t count = 0;
};

// The list a column opens, by the column's header.
struct HeaderList {
    std::string_view header;
    ListEntries entries;
};

// The direction list depends on the load type three columns to its left.
inline constexpr std::string_view kLoadDirectionHeader = kLoadColumns[3].header;
inline constexpr int kLoadTypeToDirection = 3;
struct LoadDirectionList {
    std::string_view loadType;
    ListEntries entries;
};

inline constexpr ListEntries kForceDirections{{kUpward, kDownward, kLeftward, kRightward}, 4};
inline constexpr ListEntries kCoupleDirections{{kClockwise, kCounterClockwise, "", ""}, 4};
inline constexpr LoadDirectionList kLoadDirectionLists[] = {
    {kDistributedLoad, kForceDirections},
    {kConcentratedLoad, kForceDirections},
    {kCouple, kCoupleDirections},
};

// The variant of the editor one form uses.
struct CellEditorRules {
    std::span<const SkipRule> skips;
    std::span<const HeaderList> lists;
};

inline constexpr SkipRule kLoadRowSkips[] = {
    {EntryKind::Chosen, kDistributedLoad, {}, 0, NodeCondition::Any, false, 2},
    {EntryKind::Typed, kConcentratedLoad, {}, 1, NodeCondition::Any, false, 2},
    {EntryKind::Typed, kCouple, {}, 1, NodeCondition::Hinged, false, 1},
    {EntryKind::Typed, kCouple, {}, 1, NodeCondition::Any, false, 2},
};
// The input form's loads between the nodes of a member: a force or couple
// left without a node goes on to its member and, after its magnitude, to a;
// one at a node ends its row with the magnitude, one between the nodes with
// a. A distributed load goes on through a, b and the intensity at b.
inline constexpr SkipRule kMemberPointSkips[] = {
    {EntryKind::Typed, kConcentratedLoad, {}, 1, NodeCondition::None, false, 1},
    {EntryKind::Typed, kCouple, {}, 1, NodeCondition::None, false, 1},
    {EntryKind::Typed, kConcentratedLoad, {}, 4, NodeCondition::Named, false, kNextRow},
    {EntryKind::Typed, kCouple, {}, 4, NodeCondition::Named, false, kNextRow},
    {EntryKind::Typed, kConcentratedLoad, {}, 5, NodeCondition::Any, false, kNextRow},
    {EntryKind::Typed, kCouple, {}, 5, NodeCondition::Any, false, kNextRow},
};
inline constexpr SkipRule kInputFormSkips[] = {
    kMemberPointSkips[0],
    kMemberPointSkips[1],
    kLoadRowSkips[0],
    kLoadRowSkips[1],
    kLoadRowSkips[2],
    kLoadRowSkips[3],
    {EntryKind::Typed, {}, kElementColumns[0].header, 0, NodeCondition::Any, true, 2},
    kMemberPointSkips[2],
    kMemberPointSkips[3],
    kMemberPointSkips[4],
    kMemberPointSkips[5],
};
inline constexpr HeaderList kInputFormLists[] = {
    {kNodeColumns[3].header, {{kHingedJoint, kRigidJoint, kFreeEnd}, 3}},
    {kSupportColumns[1].header, {{kPinSupport, kFixedSupport, kRollerSupport, ""}, 4}},
    {kSupportColumns[2].header, {{kBelowNode, kAboveNode, kRightOfNode, kLeftOfNode}, 4}},
    {kLoadColumns[0].header, {{kConcentratedLoad, kDistributedLoad, kCouple, ""}, 4}},
    {kSettlementColumns[1].header, {{kSettleHorizontal, kSettleVertical, kSettleRotation, ""}, 4}},
};
// A distributed load is never a unit redundant force.
inline constexpr HeaderList kCalculationFormLists[] = {
    {kLoadColumns[0].header, {{kConcentratedLoad, kCouple, "", ""}, 4}},
};

// The input form's tables; the calculation form's unit-force table (no
// element table, so no EI skip, and no distributed load offered).
inline constexpr CellEditorRules kInputFormEditorRules{kInputFormSkips, kInputFormLists};
inline constexpr CellEditorRules kCalculationFormEditorRules{kLoadRowSkips, kCalculationFormLists};

// What the two floating editors show. The form mirrors it into its text box
// and drop-down list after every event, and reports the student's typing back
// through SetText / SetListText.
struct CellEditorState {
    std::string text;  // the text editor
    bool textVisible = false;
    std::vector<std::string> listEntries;  // the list editor; kept until the next opening
    std::string listText;
    bool listVisible = false;
};

// What the form does after an event, besides mirroring the state.
struct EditorActions {
    bool consumeKey = false;
    bool placeTextEditor = false;  // text editor over the current cell, shown, focused
    bool placeListEditor = false;  // list editor at the current cell, shown, focused
    bool focusGrid = false;
};

// The in-place editor of a grid form: the grid cannot be typed into, so a
// typed ("T") column is edited in a text box and a list ("F") column in a
// drop-down list floating over the current cell, and every entry moves the
// current cell on so a table is filled from the keyboard. The column kinds
// ("T" typed, "F" list, as laid out with the table) are read live from the
// vector the owning form keeps them in, so each form edits by its own table's
// kinds; the skip rules read IndeterminacyDegree and the joints of Nodes.
//
// The editor moves the current cell itself and runs the leave and enter rules
// around the move; the grid reports only the moves the student makes
// (LeaveCell, EnterCell). After a form lays a new table out in the grid it
// calls Reset().
class CellEditor {
public:
    // `columnKinds` must outlive the editor; it may change between events.
    CellEditor(TextGrid& grid, const StructureModel& model, const std::vector<std::string>& columnKinds,
               const CellEditorRules& rules);

    const CellEditorState& State() const { return m_state; }
    // The student edited the text box / typed into the list.
    void SetText(std::string_view text) { m_state.text = std::string(text); }
    void SetListText(std::string_view text) { m_state.listText = std::string(text); }

    // A character typed on the grid (key code as in kKey*, `text` its UTF-8).
    EditorActions GridKeyPress(int key, std::string_view text);
    EditorActions GridDoubleClick();
    // Before the current cell changes under the mouse.
    void GridMouseDown();
    // A click on a cell opens the list editor in a list column.
    EditorActions GridClick() { return OpenListEditor(); }
    EditorActions OpenListEditor();
    // The student moved the current cell away from (row, col).
    void LeaveCell(int row, int col);
    // The current cell has changed.
    void EnterCell();

    // A key in the text editor: Space and Enter commit and move on; Escape
    // closes it and leaves the cell as it was; any other key is left to the
    // text box.
    EditorActions TextKeyPress(int key);
    // An entry chosen in the list editor: written, and the cursor moves on.
    EditorActions ListChoice(std::string_view chosen);
    // Escape closes without writing; Space and Enter write the list's text.
    EditorActions ListKeyPress(int key);
    EditorActions ListFocusLost();

    // Writes text typed into the text editor but not yet committed into the
    // current cell, so that a commit of the table sees what the student sees.
    void FlushTextEditor();
    // Forgets the editors' texts and hides them, and takes the current
    // cell's text as its own: for a freshly laid-out table, which may show
    // rows already (a click elsewhere writes the editor's text back).
    void Reset();

private:
    bool IsKind(int col, std::string_view kind) const;
    bool IsTyped(int col) const;
    bool IsList(int col) const;
    EditorActions BeginTyping(std::string_view text);
    int SkipAfter(EntryKind entry, int row, int col) const;
    bool NodeMatches(NodeCondition condition, std::string_view cell) const;
    bool IsHingedNode(std::string_view typed) const;
    ListEntries ListFor(int row, int col) const;
    void MoveOn(int step);
    void MoveTo(int row, int col);

    TextGrid& m_grid;
    const StructureModel& m_model;
    const std::vector<std::string>& m_columnKinds;
    CellEditorRules m_rules;
    CellEditorState m_state;
    bool m_textPending = false;  // typed in the text editor, not yet in a cell
};

}  // namespace tavrin
