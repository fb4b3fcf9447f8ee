#pragma once

#include "forcemethod/CalculationSession.h"

namespace tavrin {

// The click handler of cmdCal: runs the selected item's step, writing its
// result table into MSFlexGrid2, which then shows in place of the input
// frame. A step whose inputs are missing (its unit force not applied, its
// supplementary rows not confirmed, an earlier step of the chain not run, a
// structure changed since the analysis) shows a message, computes nothing
// and leaves the frames as they were. A step whose results overflow the
// float range says so, empties its table's rows and leaves the model's
// results as they were before it. Both are refused; a step that shows a
// warning and still produces its results is done with that warning. With
// no item selected nothing runs: refused, without a message.
StepOutcome RunCalculationStep(CalculationContext& ctx);

}  // namespace tavrin
