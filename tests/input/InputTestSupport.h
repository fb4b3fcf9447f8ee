#pragma once

#include <initializer_list>
#include <string_view>

#include "input/InputTables.h"
#include "model/StructureModel.h"
#include "model/TextGrid.h"

namespace tavrin::testing {

// The input grid as the form creates it, with table `kind` chosen and its
// committed rows deleted, as the student finds it who types the table anew.
inline MemoryGrid InputGrid(StructureModel& model, int kind)
{
    MemoryGrid grid(kInputGridRows, 1);
    InputFormState form;
    SelectInputTable(kind, model, grid, form);
    TypeRows(grid, {});
    return grid;
}

// Writes the cells of one row from column 0 on.
inline void FillRow(TextGrid& grid, int row, std::initializer_list<std::string_view> cells)
{
    int col = 0;
    for (std::string_view text : cells)
        grid.SetText(row, col++, text);
}

}  // namespace tavrin::testing
