#pragma once

#include <vector>

#include "model/StructureModel.h"

namespace tavrin {

// Rank of a set of vectors of equal length (the rows), by elimination with
// complete pivoting; a pivot below `tolerance` times the largest entry
// counts as zero. Rows may be empty; an empty set has rank 0.
int RankOfRows(const std::vector<std::vector<double>>& rows, double tolerance);

// A direction in which a node can move in a mechanism mode of the structure.
enum class FreeMotion { Horizontal, Vertical, Rotation };

enum class StabilityVerdict {
    Usable,            // geometrically stable and statically determinate
    TooFewRestraints,  // a mechanism: fewer restraints than equations
    BadlyArranged,     // enough restraints, but some node can still move (瞬变 or a badly placed restraint)
    Redundant,         // stable, with restraints too many
    NotChecked,        // a roller whose side names no axis (the reaction routine reports it),
                       // or coordinates beyond the range of the arithmetic
};

// What the equilibrium equations of the structure as typed say.
//   equations: x, y and moment of every node that a member touches (the
//              moment only where the member ends are held rigidly);
//   unknowns:  per member its axial force and the end moment of each end not
//              at a hinge ("铰接", unless a fixed support clamps it), plus
//              the support reactions (roller 1, pin 2, fixed 3).
// rank < equations: some node can move (`node` and `motion` name the node
// and direction with the largest motion of one such mode); otherwise
// unknowns - rank restraints are too many (`redundant`).
struct StabilityFinding {
    StabilityVerdict verdict = StabilityVerdict::Usable;
    int equations = 0;
    int unknowns = 0;
    int rank = 0;
    int redundant = 0;  // unknowns - rank
    int node = 0;
    FreeMotion motion = FreeMotion::Horizontal;
};

// Nodes no member touches carry nothing and are left out, with their
// supports. Coordinates are read in double precision from Nodes; every
// element's end nodes must exist and differ in position.
StabilityFinding CheckGeometricStability(const StructureModel& model);

}  // namespace tavrin
