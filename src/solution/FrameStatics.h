#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/StructureModel.h"
#include "solution/MemberLoad.h"

namespace tavrin {

// A member's axis in double, from the stored coordinates of its end nodes:
// L its length, S = (yj - yi) / L, C = (xj - xi) / L.
struct MemberAxis {
    double L = 0.0, S = 0.0, C = 0.0;
};
// Throws std::out_of_range when an end node is none of the model's.
MemberAxis AxisOf(const StructureModel& model, const Element& element);

// A member end at a hinged joint ("铰接") takes no moment, unless a fixed
// support clamps the node: a cantilever typed "铰接" at its wall is still a
// cantilever.
bool EndsHeldRigidly(const StructureModel& model, std::int16_t node);

// One load between the nodes of its member (ActsBetweenNodes) as a member
// load of its own; throws std::out_of_range for a member that is none of the
// model's.
MemberLoad BetweenNodesLoad(const StructureModel& model, const Load& load);

// The loads between the nodes of each member (entry e - 1), none of the
// full-length ones: what the member-force tables add to their own formula.
std::vector<MemberLoad> BetweenNodesLoads(const StructureModel& model, const OneBasedTable<Load>& loads);

// Every member's loads (entry e - 1): the full-length distributed loads
// summed per direction, and those between its nodes. Rows naming no member
// of the model are passed over.
std::vector<MemberLoad> MemberLoadsOf(const StructureModel& model, const OneBasedTable<Load>& loads);

// The force and couple (counter-clockwise) acting at a node.
struct NodalAction {
    double Fx = 0.0, Fy = 0.0, C = 0.0;
};

// One load case as the solution reads a load table: forces at the nodes,
// couples at rigid joints, couples on a member's own end where the member
// ends at a hinge, and the loads between a member's ends.
struct CaseLoads {
    std::vector<NodalAction> nodes;                 // entry n - 1
    std::vector<MemberLoad> members;                // entry e - 1
    std::vector<std::array<double, 2>> endCouples;  // entry e - 1: counter-clockwise, at end i and end j
};

// Reads `loads` (magnitudes signed as stored: upward, rightward and
// counter-clockwise positive). A couple at a hinge acts on the member its
// 作用单元 names, or on the one member that ends there; std::nullopt, with
// `why`, when it names none of the hinge's members and several end there, or
// a number is outside its table.
std::optional<CaseLoads> ReadCaseLoads(const StructureModel& model, const OneBasedTable<Load>& loads, std::string& why);

// The forces of one member: section forces at its ends and the moment over
// its length (the same convention as SectionForces).
struct MemberForces {
    SectionForces<double> i;
    SectionForces<double> j;
    PiecewiseCurve M;
};

// A support's reaction: Fx rightward, Fy upward, Fm clockwise positive.
struct ReactionForces {
    double Fx = 0.0, Fy = 0.0, Fm = 0.0;
};

struct CaseForces {
    std::vector<MemberForces> members;     // entry e - 1
    std::vector<ReactionForces> supports;  // entry s - 1
};

// Statics of the structure as typed (a determinate one: the basic system),
// in double, by the equilibrium of every node solved whole:
//   unknowns:  each member's section forces N, V, M at end i, and the
//              supports' reactions (roller 1, pin 2, fixed 3);
//   equations: x, y of every node a member touches, its moment where the
//              ends are held rigidly, and M = 0 (or the couple on the
//              member's own end) at every end at a hinge.
// A member's end j follows from its end i through MemberLoad::EndJ, the
// formula of the member-force tables. std::nullopt, with `why`, when the
// equations are not square or are singular (the structure is not
// determinate and stable).
std::optional<CaseForces> SolveStatics(const StructureModel& model, const CaseLoads& loads, std::string& why);

// c0 + sum_k x[k] ck, member by member and support by support; every case of
// the same structure.
CaseForces Superpose(const std::vector<CaseForces>& cases, const std::vector<double>& x);

}  // namespace tavrin
