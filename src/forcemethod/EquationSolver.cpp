#include "forcemethod/EquationSolver.h"

#include <cmath>
#include <stdexcept>
#include <string>

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

float& AugmentedSystem::at(int row, int col) { return m_values[Index(row, col)]; }
float AugmentedSystem::at(int row, int col) const { return m_values[Index(row, col)]; }

std::int16_t& AugmentedSystem::PivotColumn(int row) { return m_pivots.at(static_cast<std::size_t>(row - 1)); }
std::int16_t AugmentedSystem::PivotColumn(int row) const { return m_pivots.at(static_cast<std::size_t>(row - 1)); }

bool EliminateSystem(AugmentedSystem& system, MessageSink& messages)
{
    const int n = system.Size();
    constexpr float kZeroPivot = 1e-30f;
    for (int i = 1; i <= n; ++i) {
        int p = 1;
        float v = system.at(i, 1);
        for (int j = 1; j <= n; ++j) {
            if (std::abs(system.at(i, j)) > std::abs(v)) {
                p = j;
                v = system.at(i, j);
            }
        }
        if (std::abs(v) <= kZeroPivot) {
            messages.Show(kSingularSystemText, kWarningTitle);
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

// X_p := -a(i, n+1) / a(i, p) for the pivot column p of each row i; with
// two rows on one column the later wins and the other unknown stays 0.
bool SolveRedundants(StructureModel& model, MessageSink& messages)
{
    const int n = model.IndeterminacyDegree < 0 ? 0 : model.IndeterminacyDegree;
    model.RedundantForces.Recreate(static_cast<std::size_t>(n));
    if (model.FlexibilityMatrix.Size() != n || model.FreeTerms.Count() != n) {
        messages.Show("未知力求解错误：系数与自由项尚未按当前超静定次数形成，请先计算“自由项系数”!");
        return false;
    }

    AugmentedSystem system(n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j)
            system.at(i, j) = model.FlexibilityMatrix.at(i, j);
        system.at(i, n + 1) = model.FreeTerms.at(i);
    }
    if (!EliminateSystem(system, messages))
        return false;
    for (int i = 1; i <= n; ++i) {
        const int p = system.PivotColumn(i);
        model.RedundantForces.at(p) = -static_cast<double>(system.at(i, n + 1)) / static_cast<double>(system.at(i, p));
    }
    return true;
}

}  // namespace tavrin
