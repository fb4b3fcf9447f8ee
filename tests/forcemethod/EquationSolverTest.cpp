#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>
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

// The equations are refused with the one warning `text`, and the unknowns,
// whatever they held, are left 0.
void ExpectRefused(const SolveCase& c, std::string_view text)
{
    StructureModel m = Equations(c.delta, c.free);
    m.RedundantForces.Recreate(c.x.size());
    m.RedundantForces.at(1) = 99;
    RecordingMessages messages;
    EXPECT_FALSE(SolveRedundants(m, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], (ShownMessage{std::string(text), "警告!"}));
    EXPECT_EQ(m.RedundantForces.Count(), static_cast<std::int16_t>(c.x.size()));
    for (const double x : m.RedundantForces)
        EXPECT_EQ(x, 0.0);
}

TEST(EquationSolverTest, DependentRowsWarnAndLeaveTheUnknownsZero)
{
    const SolveCase cases[] = {
        {"second row twice the first", {{1, 2}, {2, 4}}, {-3, -6}, {0, 0}, {}},
        {"all zero", {{0, 0}, {0, 0}}, {-1, -1}, {0, 0}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRefused(c, "主系数为零,方程线性相关,无解!");
    }
}

// Coefficients that are tiny from the start (a huge EI, a tiny structure)
// are no sign of dependent equations: the warning says they are too small.
TEST(EquationSolverTest, CoefficientsTooSmallForFloatsWarnSoAndLeaveTheUnknownsZero)
{
    const SolveCase cases[] = {
        {"one coefficient below the threshold", {{1e-31f}}, {-1}, {0}, {}},
        {"independent rows of tiny coefficients", {{2e-35f, 1e-35f}, {1e-35f, 3e-35f}}, {-1, -1}, {0, 0}, {}},
        {"a subnormal coefficient", {{1, 0}, {0, 3e-39f}}, {-1, -1}, {0, 0}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRefused(c, "系数过小（绝对值不超过1e-30），单精度数值无法求解，请检查EI是否过大、结点坐标是否过小！");
    }
}

// An overflowed leading coefficient divides no better than a zero one; an
// unknown beyond the float range is no result either.
TEST(EquationSolverTest, CoefficientsOrUnknownsBeyondTheFloatRangeWarnAndLeaveTheUnknownsZero)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    const SolveCase cases[] = {
        {"infinite coefficient", {{inf}}, {-1}, {0}, {}},
        {"coefficient not a number", {{std::nanf("")}}, {-1}, {0}, {}},
        // Row 1 pivots on column 2; clearing it from row 2 takes 3e38 times
        // row 1, and its free term 10 overflows.
        {"free term overflowing in the elimination", {{1e-20f, 1}, {1, 3e38f}}, {10, 0}, {0, 0}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRefused(c, "计算结果超出数值范围，请检查荷载、EI和结点坐标是否过大或过小！");
    }
}

// Continuous beam of N spans of 1 (EI 1) under q = 1 per length, the N - 1
// inner supports released: the basic system is a simply supported beam of
// length l = N, with the deflections at x (upward positive)
//   unit force up at a, x <= a:  x (l - a) (l^2 - (l - a)^2 - x^2) / (6 l)
//   the load:                    -x (l^3 - 2 l x^2 + x^3) / 24.
// The support moments M (hogging positive) of the three-moment equation
//   M(i-1) + 4 M(i) + M(i+1) = q / 2,  M(0) = M(N) = 0,
// give the support forces X(i) = q + 2 M(i) - M(i-1) - M(i+1).
// The condition number of delta grows with N^4: ten spans keep the float
// solution within 1 %, forty do not, and are warned about.
TEST(EquationSolverTest, IllConditionedEquationsWarnAndStillGiveTheUnknowns)
{
    for (const int spans : {10, 40}) {
        SCOPED_TRACE(spans);
        const int n = spans - 1;
        const double l = spans;
        const auto deflection = [l](double x, double a) {
            if (x > a)
                std::swap(x, a);
            const double b = l - a;
            return x * b * (l * l - b * b - x * x) / (6 * l);
        };
        Matrix delta(static_cast<std::size_t>(n), std::vector<float>(static_cast<std::size_t>(n)));
        std::vector<float> free(static_cast<std::size_t>(n));
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= n; ++j)
                delta[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)] =
                    static_cast<float>(deflection(i, j));
            free[static_cast<std::size_t>(i - 1)] =
                static_cast<float>(-i * (l * l * l - 2 * l * i * i + i * i * i) / 24);
        }
        StructureModel m = Equations(delta, free);
        RecordingMessages messages;
        ASSERT_TRUE(SolveRedundants(m, messages));
        ASSERT_EQ(m.RedundantForces.Count(), n);
        if (spans == 40) {
            EXPECT_EQ(messages.shown,
                      (std::vector<ShownMessage>{
                          {"典型方程组病态，系数的舍入误差可能使未知力的误差超过1%，计算结果仅供参考！", "警告!"}}));
            EXPECT_NE(m.RedundantForces.at(20), 0.0) << "the unknowns are still given";
            continue;
        }
        EXPECT_TRUE(messages.shown.empty());
        // Thomas algorithm on the tridiagonal (1, 4, 1) system.
        std::vector<double> c(static_cast<std::size_t>(n)), d(static_cast<std::size_t>(n));
        for (std::size_t i = 0; i < c.size(); ++i) {
            const double pivot = 4 - (i > 0 ? c[i - 1] : 0);
            c[i] = 1 / pivot;
            d[i] = (0.5 - (i > 0 ? d[i - 1] : 0)) / pivot;
        }
        std::vector<double> M(static_cast<std::size_t>(n + 2), 0.0);
        for (int i = n; i >= 1; --i)
            M[static_cast<std::size_t>(i)] = d[static_cast<std::size_t>(i - 1)] -
                                             c[static_cast<std::size_t>(i - 1)] * M[static_cast<std::size_t>(i + 1)];
        for (int i = 1; i <= n; ++i) {
            const double X = 1 + 2 * M[static_cast<std::size_t>(i)] - M[static_cast<std::size_t>(i - 1)] -
                             M[static_cast<std::size_t>(i + 1)];
            EXPECT_NEAR(m.RedundantForces.at(i), X, 0.01 * X) << i;
        }
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
