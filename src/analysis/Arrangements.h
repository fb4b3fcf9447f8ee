#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "analysis/Statics.h"

namespace tavrin {

// One body whose supports are solved together: the whole structure or one
// basic part. Supports are numbers into model.Supports, in table order.
struct SupportedBody {
    std::vector<std::int16_t> supports;
    std::vector<std::int16_t> elements;
    std::int16_t constraintCount = 0;  // RestraintCount summed over the supports
};

// Load resultants of a subset of the body's elements about a node, with
// whatever extra loads the body carries (forces handed on by attached parts).
using ResultantsOf = std::function<LoadResultants(std::span<const std::int16_t> elements, std::int16_t node)>;

enum class ArrangementStatus { Solved, Unmatched, Fault };

struct ArrangementOutcome {
    ArrangementStatus status = ArrangementStatus::Solved;
    std::string_view reason;  // empty when solved
};

// A body held by a pin P, which takes both forces, and by a reaction R at a
// second point acting along one axis only. With `s` the loads' resultants
// about P (moment clockwise positive) and `lever` R's lever arm about P:
//   R vertical,   lever = xR - xP:  M - Ry lever = 0
//   R horizontal, lever = yR - yP:  M + Rx lever = 0
// and the force sums give P; R's other component is zero. `lever` is not zero.
enum class ReactionAxis { Vertical, Horizontal };
struct PinAndAxisReactions {
    float Px = 0.0f, Py = 0.0f;
    float Rx = 0.0f, Ry = 0.0f;
};
PinAndAxisReactions SolvePinAndAxisReaction(const LoadResultants& s, ReactionAxis axis, float lever);

// True when some support's NodeNo is `node`.
bool SupportStandsAt(const StructureModel& model, std::int16_t node);

// Recognises the body's arrangement (pin and roller, fixed support, three
// rollers, three-hinged) support by support in that order and writes the
// reactions it determines into `reactions` (a copy of model.Supports that the
// caller keeps only when solved). Never divides by zero: a zero lever arm is
// a Fault with its reason. Throws std::out_of_range for a number outside its
// table.
ArrangementOutcome SolveArrangement(const StructureModel& model, const SupportedBody& body,
                                    const ResultantsOf& resultants, OneBasedTable<Support>& reactions);

}  // namespace tavrin
