#pragma once

#include <cstdint>
#include <string_view>

#include "drawing/Canvas.h"
#include "model/StructureModel.h"

namespace tavrin {

// Radius of every hinge and pin circle, picture units.
inline constexpr double kHingeRadius = 2.0;

// Fits the bounding box of the nodes into 60 % of the picture, centred, y
// upward; sets DrawScale, DrawOriginX/Y and ModelMinX/Y.
void FitModelToPicture(StructureModel& model, const Canvas& canvas);

// Caption of the picture while it shows the structure, the basic system of
// the force method, rather than a diagram.
inline constexpr std::string_view kStructurePictureCaption = "基本体系分析模型图";

// Each pass draws one layer on top of what the picture holds, with the drawing
// state the previous pass left except for what it sets itself. An element,
// support or load naming a node or element outside its table is skipped.
// Every pass captions the picture kStructurePictureCaption, so that the
// caption of a diagram drawn before never stands over the structure; a
// diagram, which draws its members with these passes, captions it afterwards.
void DrawNodeNumbers(const StructureModel& model, Canvas& canvas);  // clears first
// Shown: each member's code printed at its midpoint.
enum class MemberLabels : std::int16_t { Hidden = 0, Shown = 1 };
void DrawMembers(const StructureModel& model, Canvas& canvas, MemberLabels WithLabels);
void DrawSupports(const StructureModel& model, Canvas& canvas);
// A load between the nodes of its member (ActsBetweenNodes) is drawn by the
// pass of its type where it acts: a force's arrow and a couple's arc as at a
// node, with the tip or the centre at distance a along the member; a
// distributed load's row over [a, b] only, the arrows' tips on the member, a
// linearly varying one with arrows as long as the intensity and both end
// values printed. One whose member cannot be drawn or whose a or b lies off
// the member is skipped.
void DrawConcentratedLoads(const StructureModel& model, Canvas& canvas);
void DrawDistributedLoads(const StructureModel& model, Canvas& canvas);
void DrawCouples(const StructureModel& model, Canvas& canvas);

// Every pass above adds itself to the canvas's layers, so that the picture
// can be drawn again: RedrawPicture fits the structure anew into the canvas
// at its present size (e.g. after the student enlarged the picture window)
// and draws the layers shown since the last clear again over the model as it
// is. Nothing when the picture holds no layer.
void RedrawPicture(StructureModel& model, Canvas& canvas);

}  // namespace tavrin
