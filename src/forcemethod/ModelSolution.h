#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/Messages.h"
#include "model/StructureModel.h"
#include "solution/ForceMethodSolution.h"
#include "solution/ImposedDeformation.h"

namespace tavrin {

// The supports' settlements and the members' temperature changes of the
// model, for the unit forces of `unitLoads` (entry k - 1: Xk): a settlement
// at the restraint a unit force stands for (a single force or couple at its
// node in its direction) is the displacement prescribed along that Xk
// (signed by the unit force's sense); one where a support of the basic
// system holds that direction settles that support. std::nullopt, with
// `why`, for a row whose node is held in its direction by neither.
std::optional<ImposedDeformation> ImposedOf(const StructureModel& model,
                                            const std::vector<OneBasedTable<Load>>& unitLoads, std::string& why);

// The double solution of the calculation the model holds: case 0 the user's
// loads, case k the unit force Xk as recorded with its end forces. Every
// view beyond the described tables reads it. std::nullopt, with `why`, while
// a unit case is not recorded yet or the double statics refuse a case.
std::optional<ForceMethodSolution> SolutionOfModel(const StructureModel& model, std::string& why,
                                                   bool solveUnknowns = true);

// The same, its refusal shown with `messages`.
std::optional<ForceMethodSolution> SolutionOfModel(const StructureModel& model, MessageSink& messages);

// The free terms of the supports' settlements and the members' temperature
// changes and the displacements prescribed along X (entry i - 1), of the
// calculation the model holds; all empty when it has none or they cannot be
// formed yet.
struct ImposedTerms {
    std::vector<double> Dc, Dt, c;
    bool Any() const;
};
ImposedTerms ImposedTermsOf(const StructureModel& model);

// The deflection across each member (entry e - 1, along its left normal) of
// the original structure: w'' = -M / EI, w = 0 at both ends.
std::vector<PiecewiseCurve> MemberDeflections(const StructureModel& model, const ForceMethodSolution& solution);

// The largest difference between the final end forces the tables hold
// (32-bit: Elements' Ni..Mj) and the solution's, and where it is.
struct TableDeviation {
    double largest = 0.0;
    double scale = 0.0;  // the largest final end force or moment of the solution
    int member = 0;
    std::string quantity;  // "Ni", ..., "Mj"
};
TableDeviation FinalForceDeviation(const StructureModel& model, const ForceMethodSolution& solution);

// True when the deviation changes what the tables show: more than half of
// their last place ("0.##") and more than float rounding of the largest value.
bool DeviationShows(const TableDeviation& d);

}  // namespace tavrin
