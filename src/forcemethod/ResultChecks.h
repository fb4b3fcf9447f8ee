#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/StructureModel.h"

namespace tavrin {

// Tolerances are this fraction of the largest force (or moment) that enters
// the sums of a check, so that float rounding passes and a wrong step fails.
inline constexpr double kCheckRelativeTolerance = 1e-4;
// A coefficient of the table against the stiffness method: this fraction of
// the right value, and never less than kCoefficientFloor of the largest main
// coefficient (a coefficient that should be 0).
inline constexpr double kTableTolerance = 1e-4;
inline constexpr double kCoefficientFloor = 1e-6;

inline constexpr std::string_view kStiffnessCheck = "刚度法复核";
inline constexpr std::string_view kMainCoefficientCheck = "主系数复核";
inline constexpr std::string_view kReciprocityCheck = "副系数互等";
inline constexpr std::string_view kFreeTermCheck = "自由项复核";

// One textbook check of the final result: `value` is zero for a correct
// result, held to `tolerance`.
struct ResultCheck {
    std::string what;   // "结点平衡 ΣFx", "整体平衡 ΣM", "变形协调", "副系数互等"
    std::string where;  // "结点2", "整体", "X1", "δ12"
    double value = 0.0;
    double tolerance = 0.0;
    bool Passed() const { return std::abs(value) <= tolerance; }
};

// The checks of the final end forces (Elements) and reactions, in double:
// - each node: the member end forces on it, its loads and couples, the final
//   reactions there (the redundants included) sum to zero in x, y and moment;
// - the whole structure: the user's loads and the final reactions, moments
//   about node 1;
// - each redundant Xi: sum over the members of int M M̄i / EI ds, with the
//   parabola of the distributed loads, is zero;
// - every delta_ij and Delta_ip of the table against the basic system's
//   displacement along Xi under unit Xj (or the loads) by the stiffness
//   method, so that delta_ij and delta_ji are each held to a second route;
// - "刚度法复核": X, every final end force and every support's final
//   reaction against the original structure solved by the stiffness method.
// A determinate structure has the equilibrium checks only. std::nullopt when
// the final reactions cannot be formed (FormFinalReactions) or the
// coefficients are not formed for the degree.
std::optional<std::vector<ResultCheck>> CheckFinalResults(const StructureModel& model);

}  // namespace tavrin
