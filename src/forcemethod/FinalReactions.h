#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/StructureModel.h"

namespace tavrin {

// One force of the original structure at a node, in double: Fx rightward,
// Fy upward, Fm clockwise positive, as the reaction tables show them.
struct FinalReaction {
    enum class Kind {
        Support,    // a support of the basic system
        Hinge,      // a hinge between an attached part and the rest: the force on the attached part
        Redundant,  // the redundant Xk itself, at its node and along its direction
    };
    Kind kind = Kind::Support;
    std::int16_t node = 0;
    std::string type;   // the support type, "铰结点", or "未知力X1"
    int redundant = 0;  // k of a redundant
    double Fx = 0.0, Fy = 0.0, Fm = 0.0;
};

// The reactions of load case c as recorded with its end forces: every
// support, then every hinge of an attached part (nodes without a support).
// Empty when case c is not recorded.
std::vector<FinalReaction> CaseReactionRows(const StructureModel& model, int caseNo);

// The reactions of the original structure after the superposition:
//   R = R0 + sum_k Xk Rk
// for every support and every hinge of an attached part (nodes without a
// support), from the case reactions; then, for k = 1..n, each load of the
// unit case k times Xk. std::nullopt unless every case 0..n is recorded for
// the supports as they are, the hinges agree between the cases, and the n
// unknowns are solved.
std::optional<std::vector<FinalReaction>> FormFinalReactions(const StructureModel& model);

}  // namespace tavrin
