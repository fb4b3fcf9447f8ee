#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/StructureModel.h"
#include "model/TextGrid.h"
#include "solution/ForceMethodSolution.h"

namespace tavrin {

// One restraint of the original structure that a basic system may release:
// a support's translation or rotation at a node, or the continuity of the
// rotation across a rigid joint of two members (released, the joint becomes
// a hinge).
enum class RestraintKind { Horizontal, Vertical, Rotation, Continuity };
struct Restraint {
    std::int16_t node = 0;
    RestraintKind kind = RestraintKind::Horizontal;
    bool operator==(const Restraint&) const = default;
};

// "结点3水平约束", "结点3竖向约束", "结点3转动约束", "结点2弯矩连续".
std::string RestraintText(const Restraint& r);

// The original structure: its frame (nodes, elements, loads, settlements,
// temperature changes as the model holds them) and every restraint it has,
// the supports' first in support order, then the continuities of its rigid
// joints of two members that no fixed support clamps, in node order.
struct OriginalStructure {
    StructureModel frame;
    std::vector<Restraint> restraints;
};

// The structure as typed is the original (its supports as they stand).
OriginalStructure OriginalOfTyped(const StructureModel& model);

// The original of a basic system typed with its unit forces (entry k - 1:
// Xk): the basic system's restraints plus the one each unit force stands
// for (a single force: the translation along it; a single couple at a node:
// the rotation; a pair of opposite couples on the two members of a hinge:
// the continuity there). std::nullopt, with `why`, for a unit force of any
// other shape.
std::optional<OriginalStructure> OriginalOfBasicSystem(const StructureModel& basic,
                                                       const std::vector<OneBasedTable<Load>>& unitLoads,
                                                       std::string& why);

// A basic system formed by releasing restraints of the original: the model
// to calculate (supports and joint types changed, results cleared), the
// rows a student would type for it, and the unit force of each released
// restraint in the order released.
struct BasicSystem {
    std::vector<Restraint> released;
    StructureModel model;
    CellRows nodes, supports;
    std::vector<CellRows> unitForces;
    std::vector<OneBasedTable<Load>> unitLoads;
};

// Releases `released` (each a restraint of the original): fixed -> pin
// when the rotation is released, fixed -> roller when the rotation and one
// translation are, pin -> roller, roller -> none; a released continuity
// makes the joint a hinge, and its unit force the pair of unit couples on
// its two members. std::nullopt, with the reason in `why`, when a support
// kind the table does not have would be needed (a guided support), the
// count differs from `degree`, or the result is no statically determinate,
// stable structure the calculation takes as typed: one that can move
// ("去掉这些约束后结构几何可变：结点3可沿水平方向移动"), one with restraints
// left over, or one with attached parts.
std::optional<BasicSystem> FormBasicSystem(const OriginalStructure& original, const std::vector<Restraint>& released,
                                           int degree, std::string& why);

// The basic system of `degree` releases proposed for the original, and the
// rule it was chosen by (kRecommendationRule): support restraints before
// continuities; among the choices with the fewest continuities released the
// one whose ledger has the fewest nonzero terms, then the best conditioned
// δ (smallest 1-norm condition number), then the first in the order of
// the restraints. At most kMostChoicesWeighed choices are formed.
inline constexpr int kMostChoicesWeighed = 3000;
std::optional<BasicSystem> RecommendBasicSystem(const OriginalStructure& original, int degree, std::string& why);

// What one basic system costs and gives: its solution in double, the
// number of nonzero member terms of its ledger and the condition number of δ.
struct BasicSystemSolution {
    BasicSystem system;
    ForceMethodSolution solution;
    int nonzeroTerms = 0;
    double condition = 0.0;
};
std::optional<BasicSystemSolution> SolveBasicSystem(BasicSystem system, std::string& why);

// Two basic systems of the same original side by side: a row per δij,
// Δip, Xi, then per member its final Mi and Mj, and the nonzero ledger
// terms; cells: name, first system's value, second's.
CellRows CompareBasicSystems(const BasicSystemSolution& a, const BasicSystemSolution& b);

// Released restraints as the case file names them: [node, "水平" | "竖向" |
// "转角" | "弯矩连续"]; the reading refuses any other text.
std::optional<Restraint> RestraintOfCells(const std::vector<std::string>& row);
std::vector<std::string> CellsOfRestraint(const Restraint& r);

}  // namespace tavrin
