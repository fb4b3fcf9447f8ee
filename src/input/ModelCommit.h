#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "drawing/Canvas.h"
#include "model/Messages.h"
#include "model/StructureModel.h"
#include "model/TextGrid.h"

namespace tavrin {

// Commits the table the input grid shows (model.InputTableKind) into its
// model table and draws its layer on the picture: nodes fit the transform and
// redraw the picture from scratch; elements, supports and loads draw on top.
// Rows are read from 1 down to the first row whose first cell is empty.
//
// The new table is built aside. A row that names a missing node or element,
// an element of zero length, a number that cannot be stored, or an empty node
// or element table refuses the whole commit: one message naming the row and
// the column goes to `messages`, and the model, the picture and the grid stay
// exactly as they were. Returns true when the table was committed.
bool CommitInputTable(StructureModel& model, const TextGrid& grid, Canvas& canvas, MessageSink& messages);

// Clears the picture and redraws the layers of the tables before the showing
// one (nodes; members with labels; supports). Changes no model data.
void UndoTableDrawing(const StructureModel& model, Canvas& canvas);

// Length and direction of a member from end i to end j, single precision:
//   Length = sqrt(dx^2 + dy^2), CosA = dx / Length, SinA = dy / Length,
// dx = xj - xi, dy = yj - yi (model axes, y upward).
struct ElementGeometry {
    float Length = 0.0f;
    float SinA = 0.0f;
    float CosA = 0.0f;
};
ElementGeometry MemberGeometry(const Node& i, const Node& j);

// Restraints of the supports: roller 1, pin 2, fixed 3; any other type text
// restrains nothing.
std::int16_t CountSupportConstraints(const OneBasedTable<Support>& supports);

// Signed magnitude of a load typed as v: forces positive upward and to the
// right, couples positive counter-clockwise; a direction that does not belong
// to the load type gives 0.
float LoadMagnitude(std::string_view loadType, std::string_view direction, float v);

}  // namespace tavrin
