#pragma once

#include "drawing/Canvas.h"
#include "model/StructureModel.h"

namespace tavrin {

// A demonstration model that carries every symbol the structure picture
// knows: a gallery of the three support kinds in all four directions (top
// left), the member-end couples of all eight placements at hinged ends (top
// right), a portal frame with distributed loads on a column, a beam and an
// inclined member (bottom left), and an L-shaped cantilever with the four
// concentrated forces, a leftward distributed load and node couples at rigid
// joints (bottom right). Replaces whatever the model held. Lengths, SinA and
// CosA are set as the element commit would set them.
void BuildSampleFrame(StructureModel& model);

// Fits and draws the model the way the input form's commits do, in their
// order: nodes, members with labels, supports, loads.
void DrawCommittedLayers(StructureModel& model, Canvas& canvas);

}  // namespace tavrin
