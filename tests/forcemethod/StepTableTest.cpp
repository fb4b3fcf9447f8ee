#include <gtest/gtest.h>

#include "forcemethod/StepTable.h"

namespace tavrin {
namespace {

CalculationStep Step(StepKind kind, int caseNo = 0)
{
    return {kind, caseNo};
}

// A calculation of degree 2 run through, then an earlier step run again:
// what each step needs, and what a new result voids, follow from the table.
TEST(StepTableTest, ResultsFollowTheirSourcesAndVoidWhatWasFormedFromThem)
{
    CalculationProgress p;
    p.Start(2);
    const auto missing = [&p](CalculationStep s) {
        const auto m = p.MissingFor(s);
        return m ? std::pair{static_cast<int>(m->product), m->caseNo} : std::pair{-1, -1};
    };
    EXPECT_EQ(missing(Step(StepKind::CaseEndForces, 1)), std::pair(static_cast<int>(Product::Reactions), 1));
    for (int c = 0; c <= 2; ++c) {
        p.Produced(Step(StepKind::SupportReactions, c));
        EXPECT_EQ(p.ReactionsCase(), c);
        if (c < 2) {
            EXPECT_EQ(missing(Step(StepKind::Coefficients)), std::pair(static_cast<int>(Product::EndForces), c));
        }
        p.Produced(Step(StepKind::CaseEndForces, c));
        // The walk clears the reactions it read; their table still stands.
        EXPECT_EQ(p.ReactionsCase(), -1);
        EXPECT_TRUE(p.Stands(Step(StepKind::SupportReactions, c)));
    }
    for (const StepKind k : {StepKind::Coefficients, StepKind::Unknowns, StepKind::Superposition}) {
        EXPECT_FALSE(p.MissingFor(Step(k)));
        p.Started(Step(k));
        p.Produced(Step(k));
    }
    EXPECT_TRUE(p.Holds(Product::FinalForces));

    // Case 1's end forces again: the coefficients, X and the final forces go,
    // the other cases stay.
    p.Produced(Step(StepKind::SupportReactions, 1));
    p.Produced(Step(StepKind::CaseEndForces, 1));
    EXPECT_FALSE(p.Holds(Product::Coefficients) || p.Holds(Product::Unknowns) || p.Holds(Product::FinalForces));
    EXPECT_TRUE(p.Holds(Product::EndForces, 0) && p.Holds(Product::EndForces, 2));

    // A failed solve leaves no unknowns and no final forces.
    p.Produced(Step(StepKind::Coefficients));
    p.Produced(Step(StepKind::Unknowns));
    p.Started(Step(StepKind::Unknowns));
    EXPECT_FALSE(p.Holds(Product::Unknowns) || p.Holds(Product::FinalForces));
    EXPECT_TRUE(p.Holds(Product::Coefficients));
    EXPECT_EQ(missing(Step(StepKind::Superposition)), std::pair(static_cast<int>(Product::Unknowns), 0));

    // The attached parts overwrite the reactions held.
    p.Produced(Step(StepKind::BasicParts, 2));
    p.Started(Step(StepKind::AttachedParts));
    EXPECT_EQ(p.ReactionsCase(), -1);
}

// A determinate structure: its member forces are its final forces; forgetting
// them (results put back after an overflow) takes both away.
TEST(StepTableTest, MemberForcesOfADeterminateStructureAreFinal)
{
    CalculationProgress p;
    p.Start(0);
    EXPECT_TRUE(p.MissingFor(Step(StepKind::MemberForces)));
    p.Produced(Step(StepKind::SupportReactions));
    p.Produced(Step(StepKind::MemberForces));
    EXPECT_TRUE(p.Holds(Product::FinalForces));
    EXPECT_EQ(p.ReactionsCase(), 0);
    p.Forget(Step(StepKind::MemberForces));
    EXPECT_FALSE(p.Holds(Product::EndForces) || p.Holds(Product::FinalForces));
}

}  // namespace
}  // namespace tavrin
