#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// The grid as the forms' rules see it: a table of cell texts with one fixed
// header row (row 0), column widths in twips and a current cell. The Qt grid
// widget implements it for the forms; MemoryGrid serves tests and the batch
// tool. Rows and columns are 0-based as on screen; a cell outside the grid
// reads as "" and ignores writes.
class TextGrid {
public:
    virtual ~TextGrid() = default;

    virtual int Rows() const = 0;
    virtual void SetRows(int rows) = 0;
    virtual int Cols() const = 0;
    virtual void SetCols(int cols) = 0;
    virtual int FixedCols() const = 0;
    virtual void SetFixedCols(int cols) = 0;

    virtual std::string Text(int row, int col) const = 0;
    virtual void SetText(int row, int col, std::string_view text) = 0;

    virtual int ColWidth(int col) const = 0;  // twips
    virtual void SetColWidth(int col, int twips) = 0;

    virtual int Row() const = 0;  // current cell
    virtual int Col() const = 0;
    virtual void SetRow(int row) = 0;
    virtual void SetCol(int col) = 0;
};

// Rows of cell texts, each row as many cells as it has.
using CellRows = std::vector<std::vector<std::string>>;

// Empties every cell of the grid, header row included.
void ClearGrid(TextGrid& grid);

// Rows of cell texts, header row first, as shown: for tests and printouts.
CellRows GridCells(const TextGrid& grid);

// The rows up to the last one with a cell that is not empty (the header row
// at least): rows a result table prepared but did not fill show nothing.
std::size_t UsedRows(const CellRows& rows);

// Makes `rows` the grid's data rows, as if typed from row 1 on: the grid
// grows to hold them, as the cell editor adds a row below a filled last row;
// every other data cell is emptied. Cells past the grid's columns are
// dropped.
void TypeRows(TextGrid& grid, const CellRows& rows);

// The data rows (row 1 on) up to the last one with a cell that is not empty,
// each up to its last cell that is not empty: what TypeRows needs to give
// the grid back.
CellRows DataRows(const TextGrid& grid);

// Makes `to` the same table as `from`: its rows and columns, fixed columns,
// column widths and every cell's text, header row included.
void CopyGrid(const TextGrid& from, TextGrid& to);

// Passes everything on to another grid and notes whether anything was
// written into it: rows, columns, cell texts or widths. Moving the current
// cell writes nothing.
class WriteWatchingGrid : public TextGrid {
public:
    explicit WriteWatchingGrid(TextGrid& grid) : m_grid(grid) {}

    bool Written() const { return m_written; }

    int Rows() const override { return m_grid.Rows(); }
    void SetRows(int rows) override { Write().SetRows(rows); }
    int Cols() const override { return m_grid.Cols(); }
    void SetCols(int cols) override { Write().SetCols(cols); }
    int FixedCols() const override { return m_grid.FixedCols(); }
    void SetFixedCols(int cols) override { Write().SetFixedCols(cols); }

    std::string Text(int row, int col) const override { return m_grid.Text(row, col); }
    void SetText(int row, int col, std::string_view text) override { Write().SetText(row, col, text); }

    int ColWidth(int col) const override { return m_grid.ColWidth(col); }
    void SetColWidth(int col, int twips) override { Write().SetColWidth(col, twips); }

    int Row() const override { return m_grid.Row(); }
    int Col() const override { return m_grid.Col(); }
    void SetRow(int row) override { m_grid.SetRow(row); }
    void SetCol(int col) override { m_grid.SetCol(col); }

private:
    TextGrid& Write()
    {
        m_written = true;
        return m_grid;
    }

    TextGrid& m_grid;
    bool m_written = false;
};

class MemoryGrid : public TextGrid {
public:
    MemoryGrid(int rows = 2, int cols = 2);

    int Rows() const override { return m_rows; }
    void SetRows(int rows) override;
    int Cols() const override { return m_cols; }
    void SetCols(int cols) override;
    int FixedCols() const override { return m_fixedCols; }
    void SetFixedCols(int cols) override { m_fixedCols = cols; }

    std::string Text(int row, int col) const override;
    void SetText(int row, int col, std::string_view text) override;

    int ColWidth(int col) const override;
    void SetColWidth(int col, int twips) override;

    int Row() const override { return m_row; }
    int Col() const override { return m_col; }
    void SetRow(int row) override { m_row = row; }
    void SetCol(int col) override { m_col = col; }

private:
    void Reshape(int rows, int cols);

    int m_rows = 0;
    int m_cols = 0;
    int m_fixedCols = 0;
    int m_row = 0;
    int m_col = 0;
    std::vector<std::string> m_cells;  // row-major
    std::vector<int> m_widths;
};

}  // namespace tavrin
