#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "forcemethod/ForceMethodTexts.h"
#include "model/Messages.h"

namespace tavrin {

// The canonical equations as an augmented matrix: rows 1..n, columns 1..n+1,
// the last column holding the free terms. Values are 32-bit: every entry is
// rounded to float after each operation.
class AugmentedSystem {
public:
    explicit AugmentedSystem(int n);
    int Size() const { return m_n; }
    float& at(int row, int col);
    float at(int row, int col) const;
    // The column row i was eliminated on (1-based); 0 until then.
    std::int16_t& PivotColumn(int row);
    std::int16_t PivotColumn(int row) const;

private:
    std::size_t Index(int row, int col) const;
    int m_n;
    std::vector<float> m_values;
    std::vector<std::int16_t> m_pivots;
};

// Gauss-Jordan without row exchange: row i takes the column of its largest
// magnitude (the lower column on a tie, every column eligible) as pivot and
// clears that column in every other row. Overwrites the system and its pivot
// columns. Stops with a warning (title kWarningTitle) and returns false at a
// row whose largest magnitude is at most 1e-30 or not finite: kOverflowText
// for an overflow, kCoefficientsTooSmallText for a row that was that small
// as given and not cancelled by the rows before it, kSingularSystemText
// otherwise (a row dependent on the others); rows after it are left as they
// are.
bool EliminateSystem(AugmentedSystem& system, MessageSink& messages);

}  // namespace tavrin
