#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch/BatchCase.h"
#include "drawing/Canvas.h"
#include "forcemethod/CalculationSession.h"
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

struct RunResult {
    bool analysed = false;
    CalculationModel kind = CalculationModel::DeterminateNoAttached;
    std::string caption;             // of the calculation form
    std::vector<std::string> items;  // the calculation list
    std::vector<StepRecord> steps;
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
};

// Plays the case through the input form, the model type dialog, the
// analysis and the calculation form on a picture of `width` x `height`
// picture units, then draws the three diagrams and the moment diagram of
// every load case when the calculation ran to its last item. Throws nothing that the core does not throw.
RunResult RunCase(const BatchCase& batchCase, double width, double height);

}  // namespace tavrin::batch
