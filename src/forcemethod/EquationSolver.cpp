#include "forcemethod/EquationSolver.h"

#include "forcemethod/ModelSolution.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "forcemethod/ForceMethod.h"

namespace tavrin {

AugmentedSystem::AugmentedSystem(int n)
    : m_n(n < 0 ? 0 : n),
      m_values(static_cast<std::size_t>(m_n) * static_cast<std::size_t>(m_n + 1), 0.0f),
      m_pivots(static_cast<std::size_t>(m_n), 0)
{
}

std::size_t AugmentedSystem::Index(int row, int col) const
{
    if (row < 1 || row > m_n || col < 1 || col > m_n + 1)
        throw std::out_of_range("augmented matrix (" + std::to_string(row) + ", " + std::to_string(col) +
                                ") outside its size");
    return static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(m_n + 1) + static_cast<std::size_t>(col - 1);
}

float& AugmentedSystem::at(int row, int col)
{
    return m_values[Index(row, col)];
}
float AugmentedSystem::at(int row, int col) const
{
    return m_values[Index(row, col)];
}

std::int16_t& AugmentedSystem::PivotColumn(int row)
{
    return m_pivots.at(static_cast<std::size_t>(row - 1));
}
std::int16_t AugmentedSystem::PivotColumn(int row) const
{
    return m_pivots.at(static_cast<std::size_t>(row - 1));
}

namespace {

// Largest |a(i, j)|, j = 1..n, of each row i as given (entry i - 1).
std::vector<float> RowMagnitudes(const AugmentedSystem& system)
{
    std::vector<float> largest(static_cast<std::size_t>(system.Size()), 0.0f);
    for (int i = 1; i <= system.Size(); ++i)
        for (int j = 1; j <= system.Size(); ++j)
            largest[static_cast<std::size_t>(i - 1)] =
                std::max(largest[static_cast<std::size_t>(i - 1)], std::abs(system.at(i, j)));
    return largest;
}

// Why row i has no pivot: an overflow; a row that the rows before it
// cancelled (linearly dependent on them, or all zero); or a row whose
// coefficients were too small for 32-bit arithmetic from the start (a huge
// EI, a tiny structure), which kept most of its size through the
// elimination. A row cancelled by the others loses all but its rounding:
// well under kKeptShare of its size.
std::string_view NoPivotText(float pivot, float givenMagnitude)
{
    constexpr float kKeptShare = 1e-3f;
    if (!std::isfinite(pivot))
        return kOverflowText;
    if (pivot != 0.0f && std::abs(pivot) >= kKeptShare * givenMagnitude)
        return kCoefficientsTooSmallText;
    return kSingularSystemText;
}

}  // namespace

bool EliminateSystem(AugmentedSystem& system, MessageSink& messages)
{
    const int n = system.Size();
    constexpr float kZeroPivot = 1e-30f;
    const std::vector<float> given = RowMagnitudes(system);
    for (int i = 1; i <= n; ++i) {
        int p = 1;
        float v = system.at(i, 1);
        for (int j = 1; j <= n; ++j) {
            if (std::abs(system.at(i, j)) > std::abs(v)) {
                p = j;
                v = system.at(i, j);
            }
        }
        // An overflowed pivot divides no better than a zero one.
        if (!std::isfinite(v) || std::abs(v) <= kZeroPivot) {
            messages.Show(NoPivotText(v, given[static_cast<std::size_t>(i - 1)]), kWarningTitle);
            return false;
        }
        // Row r -= f * row i with f = a(r,p) / a(i,p): each operation in
        // double, each stored result rounded to float.
        for (int r = 1; r <= n; ++r) {
            if (r == i || system.at(r, p) == 0.0f)
                continue;
            const float f = static_cast<float>(static_cast<double>(system.at(r, p)) / static_cast<double>(v));
            for (int c = 1; c <= n + 1; ++c)
                system.at(r, c) = static_cast<float>(static_cast<double>(system.at(r, c)) -
                                                     static_cast<double>(f) * static_cast<double>(system.at(i, c)));
        }
        system.PivotColumn(i) = static_cast<std::int16_t>(p);
    }
    return true;
}

namespace {

// Condition number ||delta||inf * ||delta^-1||inf of the coefficients 1..n,
// the inverse formed in double by Gauss-Jordan with row exchanges; +infinity
// when delta is singular in double, 0 for n = 0.
double ConditionNumber(const OneBasedMatrix& delta)
{
    const auto n = static_cast<std::size_t>(delta.Size());
    // Row r of [delta | I] at a[r * 2n ...]; reduced to [I | delta^-1].
    const std::size_t w = 2 * n;
    std::vector<double> a(n * w, 0.0);
    double norm = 0.0;
    for (std::size_t r = 0; r < n; ++r) {
        double rowSum = 0.0;
        for (std::size_t c = 0; c < n; ++c) {
            a[r * w + c] = delta.at(static_cast<int>(r + 1), static_cast<int>(c + 1));
            rowSum += std::abs(a[r * w + c]);
        }
        a[r * w + n + r] = 1.0;
        norm = std::max(norm, rowSum);
    }
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t p = k;
        for (std::size_t r = k + 1; r < n; ++r)
            if (std::abs(a[r * w + k]) > std::abs(a[p * w + k]))
                p = r;
        const double pivot = a[p * w + k];
        if (pivot == 0.0 || !std::isfinite(pivot))
            return std::numeric_limits<double>::infinity();
        if (p != k)
            std::swap_ranges(a.begin() + static_cast<std::ptrdiff_t>(p * w),
                             a.begin() + static_cast<std::ptrdiff_t>(p * w + w),
                             a.begin() + static_cast<std::ptrdiff_t>(k * w));
        for (std::size_t c = 0; c < w; ++c)
            a[k * w + c] /= pivot;
        for (std::size_t r = 0; r < n; ++r) {
            const double f = a[r * w + k];
            if (r == k || f == 0.0)
                continue;
            for (std::size_t c = 0; c < w; ++c)
                a[r * w + c] -= f * a[k * w + c];
        }
    }
    double inverseNorm = 0.0;
    for (std::size_t r = 0; r < n; ++r) {
        double rowSum = 0.0;
        for (std::size_t c = n; c < w; ++c)
            rowSum += std::abs(a[r * w + c]);
        inverseNorm = std::max(inverseNorm, rowSum);
    }
    return norm * inverseNorm;
}

}  // namespace

// X_p := -a(i, n+1) / a(i, p) for the pivot column p of each row i; with
// two rows on one column the later wins and the other unknown stays 0.
bool SolveRedundants(StructureModel& model, MessageSink& messages)
{
    const int n = model.IndeterminacyDegree < 0 ? 0 : model.IndeterminacyDegree;
    model.RedundantForces.Recreate(static_cast<std::size_t>(n));
    if (model.FlexibilityMatrix.Size() != n || model.FreeTerms.Count() != n) {
        messages.Show(kCoefficientsUnsized);
        return false;
    }

    // Settling supports and heated members add their free terms, and a
    // displacement prescribed along Xi moves the right-hand side:
    //   sum_j delta_ij Xj + (Delta_ip + Delta_ic + Delta_it - c_i) = 0
    const ImposedTerms imposed = ImposedTermsOf(model);
    AugmentedSystem system(n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j)
            system.at(i, j) = model.FlexibilityMatrix.at(i, j);
        system.at(i, n + 1) = model.FreeTerms.at(i);
        if (imposed.Any()) {
            const auto k = static_cast<std::size_t>(i - 1);
            system.at(i, n + 1) += static_cast<float>(imposed.Dc[k] + imposed.Dt[k] - imposed.c[k]);
        }
    }
    if (!EliminateSystem(system, messages))
        return false;
    for (int i = 1; i <= n; ++i) {
        const int p = system.PivotColumn(i);
        model.RedundantForces.at(p) = -static_cast<double>(system.at(i, n + 1)) / static_cast<double>(system.at(i, p));
    }
    for (const double x : model.RedundantForces)
        if (!std::isfinite(x)) {
            messages.Show(kOverflowText, kWarningTitle);
            model.RedundantForces.Recreate(static_cast<std::size_t>(n));
            return false;
        }
    // The coefficients are floats: each carries a relative rounding of at
    // least u = 2^-24 (in fact a few u, being float sums of float end
    // moments), and a relative change e of delta moves the unknowns by up to
    // kappa * e of the largest of them. Past kappa * u = 0.5 % they may be off
    // by 1 % or more: still shown, with a warning.
    constexpr double kFloatRounding = 0x1p-24;
    if (ConditionNumber(model.FlexibilityMatrix) * kFloatRounding > 0.005)
        messages.Show(kIllConditionedText, kWarningTitle);
    return true;
}

}  // namespace tavrin
