#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>

#include "model/StructureModel.h"
#include "model/Vocabulary.h"
#include "solution/ForceMethodSolution.h"
#include "solution/StiffnessSolution.h"

namespace tavrin::testing {

// A load table of the given rows.
inline OneBasedTable<Load> Table(std::initializer_list<Load> loads)
{
    OneBasedTable<Load> t;
    for (const Load& l : loads)
        t.Append(l);
    return t;
}

// A unit force or couple at a node, signed as the load table stores it: the
// load case of a redundant.
inline Load Unit(std::int16_t node, std::string_view type, std::string_view direction)
{
    const bool positive = direction == kUpward || direction == kRightward || direction == kCounterClockwise;
    return {std::string(type), positive ? 1.0f : -1.0f, std::string(direction), node, 0};
}

// The force method on `m` (cases[0] the loads, cases[k] the unit force Xk,
// X1 a force along x at its node) against the stiffness method: X, every end
// force, the first support's couple, the released node held, and every
// delta_ij and Delta_ip as the basic system's conjugate displacements.
inline void CheckAgainstStiffness(const StructureModel& m, const std::vector<OneBasedTable<Load>>& cases)
{
    std::string why;
    const auto s = SolveForceMethod(m, cases, why);
    ASSERT_TRUE(s) << why;
    const std::vector<CaseLoads> restraints(s->loads.begin() + 1, s->loads.end());
    const auto k = StiffnessSolution::Build(m, restraints, why);
    ASSERT_TRUE(k) << why;
    const StiffnessSolution::Result r = k->Solve(s->loads[0]);
    for (std::size_t i = 0; i < s->X.size(); ++i)
        EXPECT_NEAR(r.X[i], s->X[i], 1e-9 * (1.0 + std::abs(s->X[i])));
    for (std::size_t e = 0; e < static_cast<std::size_t>(m.ElementCount()); ++e) {
        SCOPED_TRACE(e + 1);
        const MemberForces& a = s->total.members[e];
        const MemberForces& b = r.forces.members[e];
        for (const auto& [x, y] :
             {std::pair{a.i.N, b.i.N}, {a.i.V, b.i.V}, {a.i.M, b.i.M}, {a.j.N, b.j.N}, {a.j.V, b.j.V}, {a.j.M, b.j.M}})
            EXPECT_NEAR(x, y, 1e-9);
    }
    EXPECT_NEAR(r.forces.supports[0].Fm, s->total.supports[0].Fm, 1e-9);
    // The released node does not move along X1; delta_ij and Delta_ip are the basic
    // system's displacements at i under unit Xj and the loads by the
    // stiffness method as well.
    EXPECT_NEAR(k->NodeDisplacement(r, cases[1].at(1).NodeNo)[0], 0.0, 1e-12);
    const auto basic = StiffnessSolution::Build(m, {}, why);
    ASSERT_TRUE(basic) << why;
    const StiffnessSolution::Result up = basic->Solve(s->loads[0]);
    for (std::size_t i = 0; i < s->X.size(); ++i) {
        for (std::size_t j = 0; j < s->X.size(); ++j) {
            const StiffnessSolution::Result uj = basic->Solve(s->loads[j + 1]);
            EXPECT_NEAR(basic->Conjugate(uj, s->loads[i + 1]), s->delta[i][j], 1e-9 * std::abs(s->delta[i][i]));
        }
        EXPECT_NEAR(basic->Conjugate(up, s->loads[i + 1]), s->Delta[i], 1e-9 * (1.0 + std::abs(s->Delta[i])));
    }
}

}  // namespace tavrin::testing
