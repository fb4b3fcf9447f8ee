#pragma once

#include <cstdint>

#include "drawing/Canvas.h"
#include "model/StructureModel.h"

namespace tavrin {

// Radius of every hinge and pin circle, picture units.
inline constexpr double kHingeRadius = 2.0;

// Fits the bounding box of the nodes into 60 % of the picture, centred, y
// upward; sets DrawScale, DrawOriginX/Y and ModelMinX/Y.
void FitModelToPicture(StructureModel& model, const Canvas& canvas);

// Each pass draws one layer on top of what the picture holds, with the drawing
// state the previous pass left except for what it sets itself. An element,
// support or load naming a node or element outside its table is skipped.
void DrawNodeNumbers(const StructureModel& model, Canvas& canvas);  // clears first
void DrawMembers(const StructureModel& model, Canvas& canvas, std::int16_t WithLabels);
void DrawSupports(const StructureModel& model, Canvas& canvas);
void DrawConcentratedLoads(const StructureModel& model, Canvas& canvas);
void DrawDistributedLoads(const StructureModel& model, Canvas& canvas);
void DrawCouples(const StructureModel& model, Canvas& canvas);

}  // namespace tavrin
