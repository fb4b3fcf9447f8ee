#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "drawing/Canvas.h"
#include "model/Messages.h"
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
// the supports' first by node (horizontal, vertical, rotation), then the
// continuities of its rigid joints of two members that no fixed support
// clamps, by node.
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

// The original as a structure typed whole: the frame with a support at
// each node of the kind its restraints make (and its joints rigid where a
// continuity stands); std::nullopt, with `why`, when a node's restraints
// make no kind of the support table (a guided support).
std::optional<StructureModel> OriginalModel(const OriginalStructure& original, std::string& why);

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
    // For a basic system with attached parts, the rows of the two part
    // tables the calculation asks for; empty otherwise.
    CellRows attachedParts, basicParts;
};

// The part tables of a structure with hinges: its members split at the
// hinges into bodies; a body its own supports hold with three restraints or
// more is a basic part; a body held by one hinge on parts already placed
// (or a pin) and one roller of its own is an attached part, the parts
// calculated in the reverse order of their placing. std::nullopt when some
// body fits neither.
struct PartTables {
    CellRows attachedParts, basicParts;
};
std::optional<PartTables> PartTablesOf(const StructureModel& model);

// Releases `released` (each a restraint of the original): fixed -> pin
// when the rotation is released, fixed -> roller when the rotation and one
// translation are, pin -> roller, roller -> none; a released continuity
// makes the joint a hinge, and its unit force the pair of unit couples on
// its two members. std::nullopt, with the reason in `why`, when a support
// kind the table does not have would be needed (a guided support), the
// count differs from `degree`, or the result is no statically determinate,
// stable structure the calculation takes as typed: one that can move
// ("去掉这些约束后结构几何可变：结点3可沿水平方向移动"), one with restraints
// left over, or one with attached parts that PartTablesOf cannot split.
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

// Types the basic system into the model as the student would: the node
// table again when a joint became a hinge, then the support table, each
// committed through the input form's checks (which void earlier results
// and draw the structure anew on `canvas`). The unit forces are the
// calculation form's to apply. False when a commit was refused.
bool TakeBasicSystem(StructureModel& model, const BasicSystem& basic, Canvas& canvas, MessageSink& messages);

// The basic system a case asks for (auto: the recommended one; else the
// rows of released restraints) of the structure the model holds, typed
// whole; std::nullopt, with `why`, when it cannot be formed.
std::optional<BasicSystem> RequestedBasicSystem(const StructureModel& model, bool automatic, const CellRows& released,
                                                std::string& why);

// True when the structure typed is the original one: n > 0 declared and
// the structure holds exactly n restraints too many, so that "计算类型分析"
// offers to choose its basic system rather than refusing it.
bool OffersBasicSystemChoice(const StructureModel& model);

// The unit forces of the calculation: those applied, else the rows
// offered (typed or from the file) read as "交互检查" reads them; entry
// k - 1 for Xk. Fewer than the degree while some are still missing.
struct CalculationState;
std::vector<OneBasedTable<Load>> UnitLoadsOf(const StructureModel& model, const CalculationState& calc);

// The original structure of the calculation the model holds: the model
// itself while it is the original (no degree, or OffersBasicSystemChoice),
// else its basic system with the restraint of every unit force added back.
// std::nullopt, with `why`, while unit forces are missing or one stands for
// no single restraint.
std::optional<OriginalStructure> OriginalOfCalculation(const StructureModel& model, const CalculationState& calc,
                                                       std::string& why);

// The basic system the calculation stands on, formed anew from its
// original with the restraint of each unit force released in turn.
std::optional<BasicSystem> BasicSystemOfCalculation(const StructureModel& model, const CalculationState& calc,
                                                    std::string& why);

// Released restraints as the case file names them: [node, "水平" | "竖向" |
// "转角" | "弯矩连续"]; the reading refuses any other text.
std::optional<Restraint> RestraintOfCells(const std::vector<std::string>& row);
std::vector<std::string> CellsOfRestraint(const Restraint& r);

}  // namespace tavrin
