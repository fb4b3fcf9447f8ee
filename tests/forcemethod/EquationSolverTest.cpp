#include <gtest/gtest.h>

#include <vector>

#include "forcemethod/EquationSolver.h"
#include "forcemethod/ForceMethod.h"

namespace tavrin {
namespace {

using Matrix = std::vector<std::vector<float>>;

StructureModel Equations(const Matrix& delta, const std::vector<float>& free)
{
    StructureModel m;
    const int n = static_cast<int>(free.size());
    m.IndeterminacyDegree = static_cast<std::int16_t>(n);
    m.FlexibilityMatrix.Recreate(n);
    m.FreeTerms.Recreate(free.size());
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j)
            m.FlexibilityMatrix.at(i, j) = delta[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)];
        m.FreeTerms.at(i) = free[static_cast<std::size_t>(i - 1)];
    }
    return m;
}

struct SolveCase {
    const char* name;
    Matrix delta;
    std::vector<float> free;
    std::vector<double> x;             // sum_j delta_ij x_j + free_i = 0
    std::vector<std::int16_t> pivots;  // column each row is eliminated on
};

TEST(EquationSolverTest, SolvesByLargestCoefficientOfEachRow)
{
    const SolveCase cases[] = {
        {"one unknown", {{2}}, {-4}, {2}, {1}},
        {"diagonal rows", {{2, 1}, {1, 3}}, {-3, -4}, {1, 1}, {1, 2}},
        {"first row leans on the second column", {{1, 4}, {2, 1}}, {-9, -4}, {1, 2}, {2, 1}},
        {"tie keeps the lower column", {{3, 3}, {1, 2}}, {-6, -3}, {1, 1}, {1, 2}},
        {"three unknowns", {{4, 1, 0}, {1, 4, 1}, {0, 1, 4}}, {-6, -12, -14}, {1, 2, 3}, {1, 2, 3}},
        {"negative coefficients", {{-5, 2}, {2, -1}}, {1, 0}, {1, 2}, {1, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StructureModel m = Equations(c.delta, c.free);
        RecordingMessages messages;
        ASSERT_TRUE(SolveRedundants(m, messages));
        EXPECT_TRUE(messages.shown.empty());
        ASSERT_EQ(m.RedundantForces.Count(), static_cast<std::int16_t>(c.x.size()));
        for (std::size_t k = 0; k < c.x.size(); ++k)
            EXPECT_NEAR(m.RedundantForces.at(static_cast<long>(k + 1)), c.x[k], 1e-5);

        AugmentedSystem system(static_cast<int>(c.free.size()));
        for (int i = 1; i <= system.Size(); ++i) {
            for (int j = 1; j <= system.Size(); ++j)
                system.at(i, j) = c.delta[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)];
            system.at(i, system.Size() + 1) = c.free[static_cast<std::size_t>(i - 1)];
        }
        ASSERT_TRUE(EliminateSystem(system, messages));
        for (int i = 1; i <= system.Size(); ++i)
            EXPECT_EQ(system.PivotColumn(i), c.pivots[static_cast<std::size_t>(i - 1)]) << "row " << i;
    }
}

TEST(EquationSolverTest, DependentRowsWarnAndLeaveTheUnknownsZero)
{
    const SolveCase cases[] = {
        {"second row twice the first", {{1, 2}, {2, 4}}, {-3, -6}, {0, 0}, {}},
        {"all zero", {{0, 0}, {0, 0}}, {-1, -1}, {0, 0}, {}},
        {"coefficient below the threshold", {{1e-31f}}, {-1}, {0}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StructureModel m = Equations(c.delta, c.free);
        m.RedundantForces.Recreate(c.x.size());
        m.RedundantForces.at(1) = 99;
        RecordingMessages messages;
        EXPECT_FALSE(SolveRedundants(m, messages));
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0], (ShownMessage{"主系数为零,方程线性相关,无解!", "警告!"}));
        for (const double x : m.RedundantForces)
            EXPECT_EQ(x, 0.0);
    }
}

TEST(EquationSolverTest, CoefficientsOfAnotherDegreeAreRefused)
{
    StructureModel m = Equations({{2}}, {-4});
    m.IndeterminacyDegree = 2;
    RecordingMessages messages;
    EXPECT_FALSE(SolveRedundants(m, messages));
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(m.RedundantForces.Count(), 2);
    for (const double x : m.RedundantForces)
        EXPECT_EQ(x, 0.0);
}

}  // namespace
}  // namespace tavrin
