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

// Sees a run of every item (CalculateEveryItem): each item once its input is
// given and before its step runs, and after the step.
class ItemRunObserver {
public:
    virtual ~ItemRunObserver() = default;
    virtual void BeforeStep(int /*item*/) {}
    virtual void AfterStep(int /*item*/, const StepOutcome& /*outcome*/) {}
};

// Works through the list as a student does, from its first item: selects
// each, gives it the rows its table shows (SupplyShownInput) and presses
// "计算(&C)". Stops at the first item whose input or step is refused, or
// whose "计算(&C)" stays disabled. True when the last item was calculated.
bool CalculateEveryItem(CalculationContext& ctx, ItemRunObserver& observer);

}  // namespace tavrin
