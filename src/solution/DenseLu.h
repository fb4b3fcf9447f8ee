#pragma once

#include <optional>
#include <vector>

namespace tavrin {

// A = P L U of a square matrix, by Gaussian elimination with partial
// pivoting, in double. Factor once, solve for as many right-hand sides as
// there are load cases.
class DenseLu {
public:
    // std::nullopt when a pivot is at most `tolerance` times the largest
    // entry of A (singular for the arithmetic), or an entry is not finite.
    static std::optional<DenseLu> Factor(std::vector<std::vector<double>> a, double tolerance = 1e-12);
    std::vector<double> Solve(std::vector<double> b) const;
    std::size_t Size() const { return m_lu.size(); }

private:
    std::vector<std::vector<double>> m_lu;
    std::vector<std::size_t> m_pivot;  // row swapped with row k at step k
};

}  // namespace tavrin
