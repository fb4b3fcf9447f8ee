#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <vector>

#include "forcemethod/CalculationFixture.h"
#include "forcemethod/CoefficientLedger.h"

namespace tavrin {
namespace {

using testing::Calculation;
using testing::Rows;

// The member terms of one coefficient, in element order (j = 0: Delta_ip).
struct ExpectedEntry {
    int i, j;
    std::vector<double> terms;
};

struct LedgerCase {
    const char* name;
    const testing::FrameTables* frame;
    int degree;
    std::vector<Rows> unitForces;
    std::vector<ExpectedEntry> entries;
};

// Propped cantilever (L 4, EI 1, q 2 down, X1 the prop): M̄1 runs from -4 at
// the wall to 0, so delta11 = L^3 / 3EI is its one member term; Delta1p is
// the linear MP (16 at the wall) times M̄1, -85.333, plus the parabola
// q L^3 (b1 + b2) / 24EI = 21.333.
// Portal 4 x 4 (EI 1, q 3 on the beam) released at the right foot: members
// left column, beam, right column, with the moments of the part between the
// section and node 4: m1 = y, 4, y; m2 = 4, 4 - x, 0; m3 = 1; m0 = -24 on the
// left column, -1.5 (4 - x)^2 on the beam, 0 on the right column.
const LedgerCase kLedgerCases[] = {
    {"propped cantilever",
     &testing::kCantilever,
     1,
     {{{"集中荷载", "2", "", "向上"}}},
     {{1, 1, {64.0 / 3}}, {1, 0, {-64}}}},
    {"portal fixed at both feet",
     &testing::kLFrame,
     3,
     {{{"集中荷载", "4", "", "向右"}}, {{"集中荷载", "4", "", "向上"}}, {{"力偶", "4", "", "逆时针"}}},
     {{1, 1, {64.0 / 3, 64, 64.0 / 3}},
      {1, 2, {32, 32, 0}},
      {1, 3, {8, 16, 8}},
      {2, 2, {64, 64.0 / 3, 0}},
      {2, 3, {16, 8, 0}},
      {3, 3, {4, 4, 4}},
      {1, 0, {-192, -128, 0}},
      {2, 0, {-384, -96, 0}},
      {3, 0, {-96, -32, 0}}}},
};

TEST(CoefficientLedgerTest, MemberTermsAddUpToTheStoredCoefficients)
{
    for (const LedgerCase& k : kLedgerCases) {
        SCOPED_TRACE(k.name);
        Calculation c(*k.frame, k.degree);
        c.RunAll(k.unitForces);
        const std::vector<LedgerEntry> ledger = FormCoefficientLedger(c.model, k.degree);
        ASSERT_EQ(ledger.size(), k.entries.size());
        for (std::size_t n = 0; n < ledger.size(); ++n) {
            const LedgerEntry& entry = ledger[n];
            const ExpectedEntry& expected = k.entries[n];
            SCOPED_TRACE(std::to_string(entry.i) + "," + std::to_string(entry.j));
            ASSERT_EQ(entry.i, expected.i);
            ASSERT_EQ(entry.j, expected.j);
            ASSERT_EQ(entry.terms.size(), expected.terms.size());
            double magnitude = 0.0;
            for (std::size_t t = 0; t < entry.terms.size(); ++t) {
                EXPECT_EQ(entry.terms[t].member, static_cast<int>(t) + 1);
                EXPECT_NEAR(entry.terms[t].term, expected.terms[t], 1e-4);
                magnitude += std::abs(entry.terms[t].term);
            }
            const float stored =
                entry.j == 0 ? c.model.FreeTerms.at(entry.i) : c.model.FlexibilityMatrix.at(entry.i, entry.j);
            EXPECT_EQ(entry.stored, stored);
            EXPECT_NEAR(entry.total, stored, 4 * FLT_EPSILON * magnitude);
        }
    }
}

TEST(CoefficientLedgerTest, FreeTermShowsBothDiagramsAndTheParabola)
{
    Calculation c(testing::kCantilever, 1);
    c.RunAll({{{"集中荷载", "2", "", "向上"}}});
    const std::vector<LedgerEntry> ledger = FormCoefficientLedger(c.model, 1);
    ASSERT_EQ(ledger.size(), 2u);
    const LedgerTerm& d11 = ledger[0].terms.at(0);
    EXPECT_EQ(d11.parabola, 0.0);
    const LedgerTerm& d1p = ledger[1].terms.at(0);
    EXPECT_EQ(d1p.L, 4);
    EXPECT_EQ(d1p.EI, 1);
    EXPECT_NEAR(d1p.a1, 16, 1e-5);  // MP
    EXPECT_NEAR(d1p.a2, 0, 1e-5);
    EXPECT_NEAR(d1p.b1, -4, 1e-5);  // M̄1
    EXPECT_NEAR(d1p.b2, 0, 1e-5);
    EXPECT_EQ(d1p.q, -2);
    EXPECT_NEAR(d1p.parabola, 64.0 / 3, 1e-4);
}

}  // namespace
}  // namespace tavrin
