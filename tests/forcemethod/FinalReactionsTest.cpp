#include <gtest/gtest.h>

#include <vector>

#include "forcemethod/CalculationFixture.h"
#include "forcemethod/FinalReactions.h"

namespace tavrin {
namespace {

using testing::Calculation;
using testing::Rows;
using Kind = FinalReaction::Kind;

struct ExpectedReaction {
    Kind kind;
    int node;
    const char* type;
    double Fx, Fy, Fm;
};

struct ReactionCase {
    testing::WholeCalculation calculation;
    std::vector<ExpectedReaction> reactions;
};

// Hand values of the original structures (Fx right, Fy up, Fm clockwise).
const ReactionCase kReactionCases[] = {
    // L 4, q 2: 5qL/8 and qL^2/8 (counter-clockwise) at the wall, 3qL/8 at the prop.
    {{"propped cantilever", &testing::kCantilever, 1, {{{"集中荷载", "2", "", "向上"}}}},
     {{Kind::Support, 1, "固定支座", 0, 5, -4}, {Kind::Redundant, 2, "未知力X1", 0, 3, 0}}},
    // qL/2 and qL^2/12 at either wall; the right wall's couple is X2.
    {{"beam fixed at both ends",
      &testing::kCantilever,
      2,
      {{{"集中荷载", "2", "", "向上"}}, {{"力偶", "2", "", "逆时针"}}}},
     {{Kind::Support, 1, "固定支座", 0, 4, -8.0 / 3},
      {Kind::Redundant, 2, "未知力X1", 0, 4, 0},
      {Kind::Redundant, 2, "未知力X2", 0, 0, 8.0 / 3}}},
    // Spans 4, q 3: 3qL/8 at the ends, 5qL/4 over the middle support.
    {{"two-span continuous beam", &testing::kTwoSpanBeam, 1, {{{"集中荷载", "2", "", "向上"}}}},
     {{Kind::Support, 1, "铰支座", 0, 4.5, 0},
      {Kind::Support, 3, "活动支座", 0, 4.5, 0},
      {Kind::Redundant, 2, "未知力X1", 0, 15, 0}}},
    // Under the loads the wall takes 8 and -32, the hinge 2 and the roller 8
    // each; X1 = 1 at node 3 takes 0.5 off each and adds 2 to the wall's
    // moment. With X1 = 12: 8 - 6 = 2 and -32 + 24 = -8.
    {{"hinged beam over a released support",
      &testing::kHingedBeamOverThreeSupports,
      1,
      {{{"集中荷载", "3", "", "向上"}}},
      {{"1", "2", "4", "2", "3"}},
      {{"1", "1"}}},
     {{Kind::Support, 1, "固定支座", 0, 2, -8},
      {Kind::Support, 4, "活动支座", 0, 2, 0},
      {Kind::Hinge, 2, "铰结点", 0, 2, 0},
      {Kind::Redundant, 3, "未知力X1", 0, 12, 0}}},
    // Determinate: the reactions of the loads, and the hinge's force on the
    // attached span.
    {{"hinged cantilever beam", &testing::kGerberBeam, 0, {}, {{"1", "2", "3", "2"}}, {{"1", "1"}}},
     {{Kind::Support, 1, "固定支座", 0, 4, -16},
      {Kind::Support, 3, "活动支座", 0, 4, 0},
      {Kind::Hinge, 2, "铰结点", 0, 4, 0}}},
};

TEST(FinalReactionsTest, EveryReactionOfTheOriginalStructure)
{
    for (const ReactionCase& k : kReactionCases) {
        SCOPED_TRACE(k.calculation.name);
        const Calculation c(k.calculation);
        const std::optional<std::vector<FinalReaction>> reactions = FormFinalReactions(c.model);
        ASSERT_TRUE(reactions.has_value());
        ASSERT_EQ(reactions->size(), k.reactions.size());
        for (std::size_t r = 0; r < k.reactions.size(); ++r) {
            const FinalReaction& got = (*reactions)[r];
            const ExpectedReaction& expected = k.reactions[r];
            SCOPED_TRACE(r);
            EXPECT_EQ(got.kind, expected.kind);
            EXPECT_EQ(got.node, expected.node);
            EXPECT_EQ(got.type, expected.type);
            EXPECT_NEAR(got.Fx, expected.Fx, 1e-4);
            EXPECT_NEAR(got.Fy, expected.Fy, 1e-4);
            EXPECT_NEAR(got.Fm, expected.Fm, 1e-4);
        }
    }
}

// The records of the cases go with the other results: a case missing, or a
// structure committed again, leaves nothing to combine.
TEST(FinalReactionsTest, NoneWithoutEveryCaseOrAfterACommit)
{
    Calculation c(testing::kCantilever, 1);
    c.RunAll({{{"集中荷载", "2", "", "向上"}}});
    ASSERT_TRUE(FormFinalReactions(c.model).has_value());

    StructureModel missing = c.model;
    missing.CaseReactions[1].reset();
    EXPECT_FALSE(FormFinalReactions(missing).has_value());

    ASSERT_TRUE(testing::CommitRows(c.model, c.canvas, c.messages, kLoadTable, testing::kCantilever.loads));
    EXPECT_TRUE(c.model.CaseReactions.empty());
    EXPECT_FALSE(FormFinalReactions(c.model).has_value());
}

}  // namespace
}  // namespace tavrin
