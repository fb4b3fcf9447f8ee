#pragma once

#include "model/Messages.h"
#include "model/StructureModel.h"

namespace tavrin {

// delta_ij and Delta_ip from the case moments and the user's distributed
// loads, the sums of FormCoefficientLedger's terms. False, with a message naming the element, when an
// element has EI or Length 0; then nothing is formed.
bool FormCoefficients(StructureModel& model, MessageSink& messages);

// Solves sum_j delta_ij X_j + Delta_ip = 0 into RedundantForces. False after
// the warning "主系数为零,方程线性相关,无解!" (title "警告!"), or its
// counterparts for coefficients too small for floats and for a pivot or
// unknown beyond the float range (EliminateSystem); RedundantForces then
// stay 0. True with the warning kIllConditionedText
// when the rounding of the float coefficients may move the unknowns by 1 %.
bool SolveRedundants(StructureModel& model, MessageSink& messages);

}  // namespace tavrin
