#include "model/TextGrid.h"

#include <algorithm>

namespace tavrin {

void ClearGrid(TextGrid& grid)
{
    for (int r = 0; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Cols(); ++c)
            grid.SetText(r, c, "");
}

CellRows GridCells(const TextGrid& grid)
{
    CellRows cells;
    for (int r = 0; r < grid.Rows(); ++r) {
        auto& row = cells.emplace_back();
        for (int c = 0; c < grid.Cols(); ++c)
            row.push_back(grid.Text(r, c));
    }
    return cells;
}

std::size_t UsedRows(const CellRows& rows)
{
    std::size_t used = rows.size();
    while (used > 1 && std::all_of(rows[used - 1].begin(), rows[used - 1].end(),
                                   [](const std::string& cell) { return cell.empty(); }))
        --used;
    return used;
}

void TypeRows(TextGrid& grid, const CellRows& rows)
{
    const int needed = static_cast<int>(rows.size()) + 1;
    if (grid.Rows() < needed)
        grid.SetRows(needed);
    for (int r = 1; r < grid.Rows(); ++r) {
        const auto index = static_cast<std::size_t>(r - 1);
        for (int c = 0; c < grid.Cols(); ++c) {
            const auto col = static_cast<std::size_t>(c);
            grid.SetText(r, c, index < rows.size() && col < rows[index].size() ? rows[index][col] : std::string());
        }
    }
}

CellRows DataRows(const TextGrid& grid)
{
    CellRows rows;
    for (int r = 1; r < grid.Rows(); ++r) {
        auto& row = rows.emplace_back();
        for (int c = 0; c < grid.Cols(); ++c)
            row.push_back(grid.Text(r, c));
        while (!row.empty() && row.back().empty())
            row.pop_back();
    }
    while (!rows.empty() && rows.back().empty())
        rows.pop_back();
    return rows;
}

void CopyGrid(const TextGrid& from, TextGrid& to)
{
    to.SetRows(from.Rows());
    to.SetCols(from.Cols());
    to.SetFixedCols(from.FixedCols());
    for (int c = 0; c < from.Cols(); ++c)
        to.SetColWidth(c, from.ColWidth(c));
    for (int r = 0; r < from.Rows(); ++r)
        for (int c = 0; c < from.Cols(); ++c)
            to.SetText(r, c, from.Text(r, c));
}

namespace {
constexpr int kDefaultWidthTwips = 960;
}

MemoryGrid::MemoryGrid(int rows, int cols)
{
    Reshape(rows, cols);
}

void MemoryGrid::SetRows(int rows)
{
    Reshape(rows, m_cols);
}
void MemoryGrid::SetCols(int cols)
{
    Reshape(m_rows, cols);
}

// Cells keep their text when the grid grows or shrinks around them.
void MemoryGrid::Reshape(int rows, int cols)
{
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    // Rows are stored one after another: with the columns unchanged, rows
    // come and go at the end. The result tables are re-dimensioned for every
    // step of a calculation.
    if (cols == m_cols) {
        m_cells.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
        m_rows = rows;
        return;
    }
    std::vector<std::string> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    for (int r = 0; r < std::min(rows, m_rows); ++r)
        for (int c = 0; c < std::min(cols, m_cols); ++c)
            cells[static_cast<std::size_t>(r * cols + c)] =
                std::move(m_cells[static_cast<std::size_t>(r * m_cols + c)]);
    m_cells = std::move(cells);
    m_widths.resize(static_cast<std::size_t>(cols), kDefaultWidthTwips);
    m_rows = rows;
    m_cols = cols;
}

std::string MemoryGrid::Text(int row, int col) const
{
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
        return {};
    return m_cells[static_cast<std::size_t>(row * m_cols + col)];
}

void MemoryGrid::SetText(int row, int col, std::string_view text)
{
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
        return;
    m_cells[static_cast<std::size_t>(row * m_cols + col)].assign(text);
}

int MemoryGrid::ColWidth(int col) const
{
    if (col < 0 || col >= m_cols)
        return 0;
    return m_widths[static_cast<std::size_t>(col)];
}

void MemoryGrid::SetColWidth(int col, int twips)
{
    if (col < 0 || col >= m_cols)
        return;
    m_widths[static_cast<std::size_t>(col)] = twips;
}

}  // namespace tavrin
