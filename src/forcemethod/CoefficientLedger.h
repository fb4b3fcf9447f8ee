#pragma once

#include <vector>

#include "model/StructureModel.h"
#include "solution/ForceMethodSolution.h"

namespace tavrin {

// One member's share of a coefficient by graph multiplication, in double
// from the stored 32-bit values: the end moments of the two diagrams, a the
// first (M̄i of delta_ij, MP of Delta_ip), b the second (M̄j, or M̄i of
// Delta_ip); end 1 = end i of the member, end 2 = end j; and
//   term = L / (6 EI) (2 a1 b1 + 2 a2 b2 + a1 b2 + a2 b1) + parabola,
//   parabola = q L^3 (b1 + b2) / (24 EI)
// where q is the intensity across the member of the user's distributed loads
// (Delta_ip only; 0 for delta_ij).
struct LedgerTerm {
    int member = 0;
    double L = 0.0, EI = 0.0;
    double a1 = 0.0, a2 = 0.0;
    double b1 = 0.0, b2 = 0.0;
    double q = 0.0;
    double parabola = 0.0;
    double term = 0.0;
};

// delta_ij (j >= i) or, with j = 0, Delta_ip: one term per member in element
// order. `total` is their sum in double; `stored` what the coefficient step
// keeps, the same terms each rounded to float and added in float.
struct LedgerEntry {
    int i = 0;
    int j = 0;  // 0: the free term Delta_ip
    std::vector<LedgerTerm> terms;
    double total = 0.0;
    float stored = 0.0f;
};

// The graph product of one member with end moments a1, a2 (first diagram)
// and b1, b2 (second), the parabola of intensity q on the first one.
LedgerTerm MemberProduct(const Element& element, int member, double a1, double a2, double b1, double b2, float q);

// Member e's term in double from the solution's curves: a the first
// diagram (with `loadOnA`, the loads between the member's ends that shape it),
// b the second; term the exact integral of a b / EI over the member, parabola
// the part of it beyond a's chord.
LedgerTerm LedgerTermOf(const StructureModel& model, int e, const MemberForces& a, const MemberLoad& loadOnA,
                        const MemberForces& b);

// The ledger of the double solution: every delta_ij (i <= j), then every
// Delta_ip; `stored` holds each total rounded to float.
std::vector<LedgerEntry> SolutionLedger(const StructureModel& model, const ForceMethodSolution& solution);

// The ledger the views show: the double solution's (SolutionLedger) of the
// calculation the model holds; empty while it cannot be formed.
std::vector<LedgerEntry> LedgerOfModel(const StructureModel& model);

// The shares of the settlements and temperature changes in the free terms
// of Xi: Delta_ic per settling support of the basic system, Delta_it per
// heated member.
struct ImposedLedgerEntry {
    int i = 0;
    std::vector<SettlementShare> settlements;
    std::vector<TemperatureShare> temperatures;
    double Dc = 0.0, Dt = 0.0;
};
std::vector<ImposedLedgerEntry> ImposedLedger(const StructureModel& model, const ForceMethodSolution& solution);

// The same of the calculation the model holds; empty while it has none or
// the coefficients cannot be formed.
std::vector<ImposedLedgerEntry> ImposedLedgerOfModel(const StructureModel& model);

// The intensity q across each member (entry e, 1..ElementCount) of the
// user's distributed loads, positive toward the member's left normal.
std::vector<float> TransverseIntensities(const StructureModel& model);

// The members with EI or Length 0, over which no product can be formed.
std::vector<std::int16_t> ElementsWithoutStiffness(const StructureModel& model);

// Every delta_ij (i <= j, row by row), then every Delta_ip, from the case
// moments of cases 0..degree and the user's distributed loads. Empty when
// the case moments are not sized for the degree and the elements or a
// member has EI or Length 0: then no coefficient can be formed.
std::vector<LedgerEntry> FormCoefficientLedger(const StructureModel& model, int degree);

}  // namespace tavrin
