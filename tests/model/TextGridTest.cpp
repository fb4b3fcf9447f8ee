#include <gtest/gtest.h>

#include <string>

#include "model/TextGrid.h"

namespace tavrin {
namespace {

// The result tables are re-dimensioned for every step of a calculation: the
// cells inside both the old and the new size keep their text, cells that
// come back after a shrink are empty.
TEST(TextGridTest, MemoryGridCellsKeepTheirTextWhileRowsAndColumnsComeAndGo)
{
    MemoryGrid grid(3, 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            grid.SetText(r, c, std::to_string(10 * r + c));

    struct Step {
        const char* name;
        int rows;
        int cols;
    };
    const Step steps[] = {{"more rows", 5, 3},
                          {"fewer rows", 2, 3},
                          {"more columns", 2, 4},
                          {"fewer columns", 2, 2},
                          {"both grow", 4, 3}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        grid.SetRows(s.rows);
        grid.SetCols(s.cols);
        ASSERT_EQ(grid.Rows(), s.rows);
        ASSERT_EQ(grid.Cols(), s.cols);
    }
    // Only rows 0..1 and columns 0..1 stayed inside every size on the way.
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) {
            SCOPED_TRACE(std::to_string(r) + "," + std::to_string(c));
            EXPECT_EQ(grid.Text(r, c), r < 2 && c < 2 ? std::to_string(10 * r + c) : "");
        }
    EXPECT_EQ(grid.Text(4, 0), "");
    grid.SetText(3, 2, "longer text than the cell held before");
    grid.SetText(3, 2, "x");
    EXPECT_EQ(grid.Text(3, 2), "x");
}

}  // namespace
}  // namespace tavrin
