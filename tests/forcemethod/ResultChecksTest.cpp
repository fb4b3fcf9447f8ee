#include <gtest/gtest.h>

#include <algorithm>
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

int Count(const std::vector<ResultCheck>& checks, std::string_view prefix)
{
    int count = 0;
    for (const ResultCheck& check : checks)
        count += check.what.starts_with(prefix);
    return count;
}

// Three equilibrium rows per node and for the whole structure, one
// compatibility row per redundant, every delta_ij and Delta_ip against the
// stiffness method's displacements, and X and the six end forces of every
// member against the stiffness method's solution of the original structure.
TEST(ResultChecksTest, EveryCheckPassesOnTheTextbookStructures)
{
    for (const testing::WholeCalculation& k : kCheckCases) {
        SCOPED_TRACE(k.name);
        const Calculation c(k);
        const std::vector<ResultCheck> checks = ChecksOf(c);
        const int n = k.degree;
        for (const ResultCheck& check : checks) {
            EXPECT_TRUE(check.Passed()) << check.what << " " << check.where << ": " << check.value << " > "
                                        << check.tolerance;
            EXPECT_GT(check.tolerance, 0.0) << check.what << " " << check.where;
        }
        EXPECT_EQ(Count(checks, "结点平衡"), 3 * c.model.NodeCount());
        EXPECT_EQ(Count(checks, "变形协调"), n);
        EXPECT_EQ(Count(checks, "主系数复核") + Count(checks, "副系数互等") + Count(checks, "自由项复核"), n * n + n);
        EXPECT_EQ(Count(checks, "刚度法复核 X"), n);
        EXPECT_EQ(Count(checks, "刚度法复核 M"), 2 * c.model.ElementCount());
    }
}

// Faults planted in the tables: each fails its own row of the stiffness
// method's checks, which equilibrium alone cannot see.
TEST(ResultChecksTest, PlantedFaultsFailTheStiffnessChecks)
{
    Calculation c({"portal", &testing::kLFrame, 3, kPortalUnitForces});
    const auto failed = [&c]() {
        std::vector<std::string> rows;
        for (const ResultCheck& check : ChecksOf(c))
            if (!check.Passed())
                rows.push_back(check.what + " " + check.where);
        return rows;
    };
    ASSERT_TRUE(failed().empty());
    // A delta_12 stored 1 % off, the same on both sides of the diagonal.
    const float d12 = c.model.FlexibilityMatrix.at(1, 2);
    c.model.FlexibilityMatrix.at(1, 2) = c.model.FlexibilityMatrix.at(2, 1) = 1.01f * d12;
    EXPECT_EQ(failed(), (std::vector<std::string>{"副系数互等 δ12", "副系数互等 δ21"}));
    c.model.FlexibilityMatrix.at(1, 2) = c.model.FlexibilityMatrix.at(2, 1) = d12;
    // A free term off.
    c.model.FreeTerms.at(3) *= 1.01f;
    EXPECT_EQ(failed(), std::vector<std::string>{"自由项复核 Δ3p"});
    c.model.FreeTerms.at(3) /= 1.01f;
    // The end forces of a member as a wrong part or hinge would leave them.
    c.model.Elements.at(1).Vj += 0.05f;
    const std::vector<std::string> rows = failed();
    EXPECT_NE(std::find(rows.begin(), rows.end(), "刚度法复核 Vj 杆件1"), rows.end());
}

// Unknowns 1 % off open a gap along the redundants, differ from the
// stiffness method's X, and leave the table's end forces out of balance with
// the reactions of the solution; the coefficients stay right. A wrong end
// moment shows at its node.
TEST(ResultChecksTest, WrongUnknownsFailCompatibilityAndAWrongEndMomentFailsItsNode)
{
    Calculation c({"portal", &testing::kLFrame, 3, kPortalUnitForces});
    c.model.RedundantForces.at(2) *= 1.01;
    SuperposeEndForces(c.model);
    for (const ResultCheck& check : ChecksOf(c)) {
        SCOPED_TRACE(check.what + " " + check.where);
        if (check.what == "变形协调" || check.where == "X2") {
            EXPECT_FALSE(check.Passed());
        }
        if (check.what.ends_with("系数复核") || check.what.ends_with("互等")) {
            EXPECT_TRUE(check.Passed());
        }
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

namespace tavrin {
namespace {

// Part rows the form would refuse, planted past "O&K" into a calculation
// that then runs every step: the tables come out wrong and the stiffness
// method's rows say so, while every step ran.
TEST(ResultChecksTest, WrongPartRowsPlantedPastTheFormFailTheStiffnessChecks)
{
    struct Planted {
        const char* name;
        Rows attached;
        Rows basic;
    };
    const Planted cases[] = {
        // The rigid node 3 named as the attached part's hinge.
        {"a wrong hinge", {{"1", "3", "4", "3"}}, {{"1", "1", "2"}}},
    };
    for (const Planted& k : cases) {
        SCOPED_TRACE(k.name);
        Calculation c(kCheckCases[7]);
        ASSERT_TRUE(ChecksOf(c).size() > 0);
        MemoryGrid attached(3, 6), basic(3, 6);
        for (std::size_t col = 0; col < k.attached[0].size(); ++col)
            attached.SetText(1, static_cast<int>(col), k.attached[0][col]);
        for (std::size_t col = 0; col < k.basic[0].size(); ++col)
            basic.SetText(1, static_cast<int>(col), k.basic[0][col]);
        c.calc.attachedPartRows = attached;
        c.calc.basicPartRows = basic;
        for (int m = 0; m < static_cast<int>(c.form.items.size()); ++m) {
            c.Select(m);
            EXPECT_NE(RunCalculationStep(c.ctx).end, StepEnd::Refused) << c.form.items[m].text;
        }
        int failed = 0;
        for (const ResultCheck& check : ChecksOf(c))
            failed += check.what.starts_with("刚度法复核") && !check.Passed();
        EXPECT_GT(failed, 0);
    }
}

}  // namespace
}  // namespace tavrin
