#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/StructureModel.h"
#include "solution/FrameStatics.h"
#include "solution/ImposedDeformation.h"

namespace tavrin {

// The force method in double, from the committed model: every value the
// views beyond the described tables show. Case 0 is the user's loads, case k
// the unit redundant Xk as the student applied it (k = 1..n), each on the
// structure as typed (the basic system).
struct ForceMethodSolution {
    int degree = 0;
    std::vector<CaseLoads> loads;   // entry c: case c
    std::vector<CaseForces> cases;  // entry c: case c
    // delta[i-1][j-1] = sum over the members of int M̄i M̄j / EI dx and
    // Delta[i-1] = sum of int MP M̄i / EI dx, each integral exact over the
    // pieces of the moment curves.
    std::vector<std::vector<double>> delta;
    std::vector<double> Delta;
    // Beside Delta_ip, the free terms of settling supports and of heated
    // members, and the prescribed displacement along each Xi (0 where none):
    //   sum_j delta_ij Xj + Delta_ip + Delta_ic + Delta_it = c_i
    std::vector<double> Dc, Dt, c;
    ImposedDeformation imposed;
    std::vector<double> X;  // X[k-1] = Xk
    // The original structure: c0 + sum Xk ck; the supports' reactions are the
    // basic system's, the redundants themselves are X.
    CaseForces total;
};

// The product integral of two cases' moments over member e (1-based),
// divided by its EI: one term of delta_ij or Delta_ip.
double MemberProduct(const StructureModel& model, const CaseForces& a, const CaseForces& b, int e);

// `caseLoads`: entry 0 the user's loads, entry k the unit force Xk. For a
// determinate structure one entry and no unknowns. std::nullopt, with `why`,
// when a case is refused by the statics, a member has EI or length 0 where
// the coefficients need them, or the canonical equations are singular.
// With `solveUnknowns` false it stops after the coefficients: X stays empty
// and `total` is case 0 (what the ledger of a singular system still shows).
std::optional<ForceMethodSolution> SolveForceMethod(const StructureModel& model,
                                                    const std::vector<OneBasedTable<Load>>& caseLoads, std::string& why,
                                                    bool solveUnknowns = true);
// The same with supports that settle and members heated unequally.
std::optional<ForceMethodSolution> SolveForceMethod(const StructureModel& model,
                                                    const std::vector<OneBasedTable<Load>>& caseLoads,
                                                    const ImposedDeformation& imposed, std::string& why,
                                                    bool solveUnknowns = true);

}  // namespace tavrin
