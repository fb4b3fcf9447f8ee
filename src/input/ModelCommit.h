#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "drawing/Canvas.h"
#include "model/Messages.h"
#include "model/RowReferences.h"
#include "model/StructureModel.h"
#include "model/TextGrid.h"

namespace tavrin {

// Commits the table the input grid shows (model.InputTableKind) into its
// model table and draws its layer on the picture: nodes fit the transform and
// redraw the picture from scratch, the members, supports and loads committed
// before drawn again on them; elements, supports and loads draw on top;
// settlements and temperature changes leave the picture as it is.
// Rows are read from 1 down to the first row whose first cell is empty.
//
// The new table is built aside. A number cell whose text is not wholly a
// number (a blank one reads 0, or, for a load's a, b and intensity at b,
// absent), a number that cannot be stored, a node number or element code
// other than its row's (1, 2, ... in row order), a row that names a missing
// node or element, an element of zero length, a load's a, b or intensity at
// b where it means nothing or off its member (MemberPlaceFault), a
// settlement of a kind not in SettlementKindList or given twice for one node
// and kind, a temperature change with α < 0 or h <= 0, or an empty node or
// element table refuses the whole commit: one message naming the row
// and the column goes to `messages`, and the model, the picture and the grid
// stay exactly as they were. Returns true when the table was committed.
//
// Committed nodes move the members: the geometry of every element is
// recomputed from them. Any committed table makes every result of an earlier
// calculation void (StructureModel::ClearResults).
bool CommitInputTable(StructureModel& model, const TextGrid& grid, Canvas& canvas, MessageSink& messages);

// The input form's road for rows given whole: chooses table `kind`, types
// `rows` into its grid and commits it (CommitInputTable).
bool CommitTableRows(StructureModel& model, Canvas& canvas, MessageSink& messages, int kind, const CellRows& rows);

// The committed rows of input table `kind` (nodes, elements, supports, the
// user's loads also while unit forces stand in Loads) as cell texts that
// commit back to the same values: what the input grid shows when the table
// is chosen again, and what a structure file keeps. A load's node or element
// cell holding 0 is left empty, as the load types that do not use it are
// typed; a load's a, b and intensity at b follow in three more cells, blank
// where absent, only when one of them is given, so that a load table without
// them keeps its five cells a row. No rows for a kind outside 0..5.
CellRows CommittedRows(const StructureModel& model, int kind);

// Clears the picture and redraws the layers of the tables before the showing
// one (nodes; members with labels; supports). Changes no model data.
void UndoTableDrawing(const StructureModel& model, Canvas& canvas);
// The same for table `kind`: the picture as it was before that table's
// layer was drawn.
void DrawLayersBelow(std::int16_t kind, const StructureModel& model, Canvas& canvas);

// Restraints of the supports: the sum of their RestraintCount.
std::int16_t CountSupportConstraints(const OneBasedTable<Support>& supports);

// Signed magnitude of a load typed as v: forces positive upward and to the
// right, couples positive counter-clockwise; a direction that does not belong
// to the load type gives 0.
float LoadMagnitude(std::string_view loadType, std::string_view direction, float v);

}  // namespace tavrin
