#include "solution/DenseLu.h"

#include <cmath>
#include <utility>

namespace tavrin {

std::optional<DenseLu> DenseLu::Factor(std::vector<std::vector<double>> a, double tolerance)
{
    const std::size_t n = a.size();
    double largest = 0.0;
    for (const auto& row : a) {
        if (row.size() != n)
            return std::nullopt;
        for (const double v : row) {
            if (!std::isfinite(v))
                return std::nullopt;
            largest = std::max(largest, std::abs(v));
        }
    }
    DenseLu lu;
    lu.m_pivot.resize(n);
    const double zero = tolerance * largest;
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t p = k;
        for (std::size_t i = k + 1; i < n; ++i)
            if (std::abs(a[i][k]) > std::abs(a[p][k]))
                p = i;
        if (!(std::abs(a[p][k]) > zero))
            return std::nullopt;
        std::swap(a[p], a[k]);
        lu.m_pivot[k] = p;
        for (std::size_t i = k + 1; i < n; ++i) {
            if (a[i][k] == 0.0)
                continue;
            const double f = a[i][k] / a[k][k];
            a[i][k] = f;
            for (std::size_t j = k + 1; j < n; ++j)
                a[i][j] -= f * a[k][j];
        }
    }
    lu.m_lu = std::move(a);
    return lu;
}

std::vector<double> DenseLu::Solve(std::vector<double> b) const
{
    const std::size_t n = m_lu.size();
    b.resize(n, 0.0);
    for (std::size_t k = 0; k < n; ++k)
        std::swap(b[k], b[m_pivot[k]]);
    for (std::size_t k = 0; k < n; ++k)
        for (std::size_t i = k + 1; i < n; ++i)
            b[i] -= m_lu[i][k] * b[k];
    for (std::size_t k = n; k-- > 0;) {
        double s = b[k];
        for (std::size_t j = k + 1; j < n; ++j)
            s -= m_lu[k][j] * b[j];
        b[k] = s / m_lu[k][k];
    }
    return b;
}

}  // namespace tavrin
