#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/StructureModel.h"
#include "solution/DenseLu.h"
#include "solution/FrameStatics.h"
#include "solution/ImposedDeformation.h"

namespace tavrin {

// The structure solved by the matrix displacement (stiffness) method, in
// double, independently of the force method: Euler-Bernoulli members that
// bend but do not stretch (as the force method counts them), the supports,
// and extra restraints, each holding at zero the displacement conjugate to
// one load pattern (the unit redundants: the restraint each stands for).
// Degrees of freedom: x, y of every node a member touches, the rotation of
// each rigid joint, and each member end's own rotation at a hinge. The
// supports, the members' inextensibility and the extra restraints enter as
// Lagrange multipliers.
class StiffnessSolution {
public:
    static std::optional<StiffnessSolution> Build(const StructureModel& model, const std::vector<CaseLoads>& restraints,
                                                  std::string& why);

    struct Result {
        std::vector<double> u;  // every degree of freedom
        CaseForces forces;      // section forces, moment curves and support reactions
        std::vector<double> X;  // per extra restraint: the force it exerts, in units of its pattern
    };
    Result Solve(const CaseLoads& loads) const;
    // The same with settling supports (the rows of their restraints hold the
    // settlement), prescribed displacements along the extra restraints, and
    // heated members (elongation alpha t0 L in place of none; the curvature
    // as fixed-end couples -EI kappa at end i and +EI kappa at end j).
    Result Solve(const CaseLoads& loads, const ImposedDeformation& imposed) const;

    // The work of `pattern` on the displacements of `r` per unit of the
    // pattern: the displacement conjugate to it.
    double Conjugate(const Result& r, const CaseLoads& pattern) const;
    // Node n's (1-based) displacement: x rightward, y upward, rotation
    // counter-clockwise (0 where the node's ends are not held rigidly).
    std::array<double, 3> NodeDisplacement(const Result& r, int n) const;

private:
    std::vector<double> LoadVector(const CaseLoads& loads) const;

    const StructureModel* m_model = nullptr;
    std::vector<std::array<int, 3>> m_nodeDof;      // per node: x, y, rotation (-1 none)
    std::vector<std::array<int, 2>> m_endRotation;  // per member: rotation at end i, end j
    std::vector<MemberAxis> m_axes;
    int m_dofs = 0;
    // Rows of the multipliers after the degrees of freedom: per member its
    // inextensibility, per support its components (-1 none), then the extra
    // restraints.
    std::vector<int> m_memberRow;
    std::vector<std::array<int, 3>> m_supportRow;
    int m_restraintRow = 0;
    int m_restraints = 0;
    std::vector<int> m_multiplierOf;  // per constraint row: its multiplier, -1 when dropped as dependent
    double m_scale = 1.0;             // the constraint rows' factor, near the stiffnesses
    std::optional<DenseLu> m_lu;
};

}  // namespace tavrin
