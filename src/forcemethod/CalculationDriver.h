#pragma once

#include "forcemethod/CalculationSession.h"

namespace tavrin {

enum class StepKind {
    None,
    SupportReactions,  // whole-structure reactions of a load case
    MemberForces,      // end forces of a determinate structure into the elements
    AttachedParts,     // attached-part reactions under the user's loads
    BasicParts,        // basic-part reactions of a load case
    CaseEndForces,     // end forces of a load case into the case tables
    Coefficients,
    Unknowns,
    Superposition,
};

struct CalculationStep {
    StepKind kind = StepKind::None;
    int caseNo = 0;  // load case: 0 the user's loads, k the unit force Xk
    bool operator==(const CalculationStep&) const = default;
};

// The step that item m of the calculation list runs, for a calculation model
// and degree n; StepKind::None for an index the model does not offer.
CalculationStep StepOfItem(CalculationModel kind, int n, int m);

// The click handler of cmdCal: runs the selected item's step, writing its
// result table into MSFlexGrid2, which then shows in place of the input
// frame. A step whose inputs are missing (its unit force not applied, its
// supplementary rows not confirmed, an earlier step of the chain not run, a
// structure changed since the analysis) shows a message, computes nothing
// and leaves the frames as they were. A step whose results overflow the
// float range says so, empties its table's rows and leaves the model's
// results as they were before it.
void RunCalculationStep(CalculationContext& ctx);

}  // namespace tavrin
