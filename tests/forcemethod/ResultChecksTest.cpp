#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/Statics.h"
#include "forcemethod/CalculationFixture.h"
#include "forcemethod/ResultChecks.h"

namespace tavrin {
namespace {

using testing::Calculation;
using testing::Rows;

const std::vector<Rows> kPortalUnitForces{
    {{"集中荷载", "4", "", "向右"}}, {{"集中荷载", "4", "", "向上"}}, {{"力偶", "4", "", "逆时针"}}};

const testing::WholeCalculation kCheckCases[] = {
    {"simple beam", &testing::kSimpleBeam, 0, {}, {}, {}},
    {"L-shaped frame", &testing::kLFrame, 0, {}, {}, {}},
    {"hinged cantilever beam", &testing::kGerberBeam, 0, {}, {{"1", "2", "3", "2"}}, {{"1", "1"}}},
    {"propped cantilever", &testing::kCantilever, 1, {{{"集中荷载", "2", "", "向上"}}}, {}, {}},
    {"beam fixed at both ends",
     &testing::kCantilever,
     2,
     {{{"集中荷载", "2", "", "向上"}}, {{"力偶", "2", "", "逆时针"}}},
     {},
     {}},
    {"two-span continuous beam", &testing::kTwoSpanBeam, 1, {{{"集中荷载", "2", "", "向上"}}}, {}, {}},
    {"portal fixed at both feet", &testing::kLFrame, 3, kPortalUnitForces, {}, {}},
    {"hinged beam over a released support",
     &testing::kHingedBeamOverThreeSupports,
     1,
     {{{"集中荷载", "3", "", "向上"}}},
     {{"1", "2", "4", "2", "3"}},
     {{"1", "1"}}},
};

std::vector<ResultCheck> ChecksOf(const Calculation& c)
{
    const std::optional<std::vector<ResultCheck>> checks = CheckFinalResults(c.model);
    EXPECT_TRUE(checks.has_value());
    return checks.value_or(std::vector<ResultCheck>{});
}

// Three equilibrium rows per node and for the whole structure, one
// compatibility row per redundant, one symmetry row per pair.
TEST(ResultChecksTest, EveryCheckPassesOnTheTextbookStructures)
{
    for (const testing::WholeCalculation& k : kCheckCases) {
        SCOPED_TRACE(k.name);
        const Calculation c(k);
        const std::vector<ResultCheck> checks = ChecksOf(c);
        const int n = k.degree;
        EXPECT_EQ(checks.size(), static_cast<std::size_t>(3 * (c.model.NodeCount() + 1) + n + n * (n - 1) / 2));
        int compatibility = 0;
        for (const ResultCheck& check : checks) {
            EXPECT_TRUE(check.Passed()) << check.what << " " << check.where << ": " << check.value << " > "
                                        << check.tolerance;
            EXPECT_GT(check.tolerance, 0.0) << check.what << " " << check.where;
            compatibility += check.what == "变形协调";
        }
        EXPECT_EQ(compatibility, n);
    }
}

// Unknowns 1 % off still give forces in equilibrium, but the final moments
// then open a gap along the redundants; a wrong end moment shows at its node.
TEST(ResultChecksTest, WrongUnknownsFailCompatibilityAndAWrongEndMomentFailsItsNode)
{
    Calculation c({"portal", &testing::kLFrame, 3, kPortalUnitForces});
    c.model.RedundantForces.at(2) *= 1.01;
    SuperposeEndForces(c.model);
    for (const ResultCheck& check : ChecksOf(c)) {
        SCOPED_TRACE(check.what + " " + check.where);
        const bool compatibility = check.what == "变形协调";
        EXPECT_EQ(check.Passed(), !compatibility);
    }

    c.model.RedundantForces.at(2) /= 1.01;
    SuperposeEndForces(c.model);
    c.model.Elements.at(2).Mi += 0.1f;
    for (const ResultCheck& check : ChecksOf(c)) {
        if (check.what.starts_with("结点平衡")) {
            EXPECT_EQ(check.Passed(), check.what != "结点平衡 ΣM" || check.where != "结点2") << check.where;
        }
    }
}

}  // namespace
}  // namespace tavrin
