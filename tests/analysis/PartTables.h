#pragma once

#include <string>
#include <vector>

#include "model/TextGrid.h"

namespace tavrin::testing {

// A supplementary input table as the student fills it: header row 0 left
// blank, one part per row from row 1.
inline MemoryGrid PartTable(const std::vector<std::vector<std::string>>& rows)
{
    MemoryGrid grid(6, 20);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            grid.SetText(static_cast<int>(r + 1), static_cast<int>(c), rows[r][c]);
    return grid;
}

// Data rows 1..count of a result grid.
inline std::vector<std::vector<std::string>> DataRows(const TextGrid& grid, int count)
{
    auto cells = GridCells(grid);
    cells.erase(cells.begin());
    cells.resize(static_cast<std::size_t>(count));
    return cells;
}

}  // namespace tavrin::testing
