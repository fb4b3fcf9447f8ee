#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch/BatchCase.h"
#include "drawing/Canvas.h"
#include "forcemethod/AnswerCheck.h"
#include "forcemethod/BasicSystemChoice.h"
#include "forcemethod/CalculationSession.h"
#include "forcemethod/DeflectedShape.h"
#include "forcemethod/Displacements.h"
#include "model/Messages.h"
#include "model/StructureModel.h"

namespace tavrin::batch {

// The pictures, in the order they are drawn.
inline constexpr std::string_view kStructurePicture = "structure";
inline constexpr std::string_view kMomentPicture = "moment";
inline constexpr std::string_view kShearPicture = "shear";
inline constexpr std::string_view kAxialPicture = "axial";
// Then the moment diagram of each load case of the basic system: "mp" for
// the user's loads, "unit-1", "unit-2", … for the unit forces.
inline constexpr std::string_view kLoadMomentPicture = "mp";
inline std::string CaseMomentPicture(int caseNo)
{
    return caseNo == 0 ? std::string(kLoadMomentPicture) : "unit-" + std::to_string(caseNo);
}
// Last, the deflected shape at the automatic scale.
inline constexpr std::string_view kDeflectionPicture = "deflection";

struct Picture {
    std::string name;
    std::vector<CanvasOp> ops;  // in drawing order, the state in force folded in
};

// One item of the calculation list as the form showed it after "计算(&C)":
// the item text, the caption of the result frame and every cell of the
// result grid, header row first.
struct StepRecord {
    std::string item;
    std::string title;
    Rows table;
};

// The case's answers to one item, reviewed as "核对" does it when the
// calculation reached the item, before its step ran.
inline constexpr std::string_view kItemNotReached = "计算未进行到这一项";
inline constexpr std::string_view kNoSuchItem = "计算列表中没有这一项";

struct ItemReview {
    std::string item;
    bool checked = false;
    // Why the answers were not reviewed: the step's refusal, the item not
    // reached, or no item of that text in the list.
    std::string reason;
    AnswerReview answers;
};

struct RunResult {
    bool analysed = false;
    CalculationModel kind = CalculationModel::DeterminateNoAttached;
    std::string caption;             // of the calculation form
    std::vector<std::string> items;  // the calculation list
    std::vector<StepRecord> steps;
    // One per item the case answers: in list order those reached, then the
    // others.
    std::vector<ItemReview> reviews;
    std::vector<ShownMessage> messages;  // every message shown, in order
    // True when the last item was calculated; false when a message stopped
    // the calculation (a refused commit, model type or analysis, a refused
    // unit-force table or part rows, or a step that did not produce its
    // result).
    bool completed = false;
    StructureModel model;  // as the calculation left it
    // What the calculation form's steps kept: what was done, the unit forces
    // applied, the table of each item calculated.
    CalculationState calculation;
    std::vector<Picture> pictures;
    // Once the last item is calculated: the displacements the case asks for
    // (a row refused leaves its message) and every node's displacement, of
    // which the deflected shape is drawn.
    std::vector<Displacement> displacements;
    std::vector<NodeDisplacement> nodeDisplacements;
    // The basic system the program formed when the case asked for one.
    std::optional<BasicSystem> basicSystem;
};

// Plays the case through the input form, the model type dialog, the
// analysis and the calculation form on a picture of `width` x `height`
// picture units, then draws the three diagrams and the moment diagram of
// every load case, work out the displacements and draw the deflected shape
// when the calculation ran to its last item. Throws nothing that the core does not throw.
RunResult RunCase(const BatchCase& batchCase, double width, double height);

}  // namespace tavrin::batch
