#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/StructureModel.h"
#include "solution/ForceMethodSolution.h"

namespace tavrin {

// The double solution of the calculation the model holds: case 0 the user's
// loads, case k the unit force Xk as recorded with its end forces. Every
// view beyond the described tables reads it. std::nullopt, with `why`, while
// a unit case is not recorded yet or the double statics refuse a case.
std::optional<ForceMethodSolution> SolutionOfModel(const StructureModel& model, std::string& why);

// The deflection across each member (entry e - 1, along its left normal) of
// the original structure: w'' = -M / EI, w = 0 at both ends.
std::vector<PiecewiseCurve> MemberDeflections(const StructureModel& model, const ForceMethodSolution& solution);

}  // namespace tavrin
