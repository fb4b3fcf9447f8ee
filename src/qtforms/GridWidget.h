#pragma once

#include <vector>

#include <QColor>
#include <QRect>
#include <QTableWidget>

#include "model/TextGrid.h"

class QKeyEvent;

namespace tavrin {

// The code a key types as the cell-editor rules know it (13 Enter, 27 Escape,
// 8 Backspace, 32 Space, else the code point of the character), or -1 for a
// key that types nothing (arrows, function keys, shortcuts).
int TypedKeyCode(const QKeyEvent& key);

// The grid of the input and calculation forms: a table of texts with one
// fixed header row (grid row 0, shown as the column header), column widths in
// twips (widened on screen where the header text needs more), and a current
// cell that is always a data cell. The widget never
// edits a cell in place; the forms float their own editors over the current
// cell (CurrentCellRect) and write through the TextGrid interface.
//
// Use the TextGrid members (rows and columns as on screen, header row 0), not
// QTableWidget's own row numbers, which start at the first data row.
//
// Signals report what the student does; moves made through SetRow/SetCol (or
// a change of the row or column count) are the caller's own and are not
// reported, so the rules that move the cell run their leave and enter steps
// themselves.
class GridWidget : public QTableWidget, public TextGrid {
    Q_OBJECT

public:
    explicit GridWidget(QWidget* parent = nullptr);

    int Rows() const override;
    void SetRows(int rows) override;
    int Cols() const override;
    void SetCols(int cols) override;
    int FixedCols() const override { return m_fixedCols; }
    void SetFixedCols(int cols) override;

    std::string Text(int row, int col) const override;
    void SetText(int row, int col, std::string_view text) override;

    int ColWidth(int col) const override;
    void SetColWidth(int col, int twips) override;

    int Row() const override;
    int Col() const override;
    void SetRow(int row) override;
    void SetCol(int col) override;

    // The colour of the grid's area outside the cells.
    void SetBackColorBkg(const QColor& colour);
    QColor BackColorBkg() const;
    // The background of data cell (row, col) as TextGrid numbers it; an
    // invalid colour gives the cell back the grid's own.
    void SetCellBackground(int row, int col, const QColor& colour);
    // The current cell in this widget's coordinates (empty when there is none).
    QRect CurrentCellRect() const;

signals:
    void gridClick();
    void gridDoubleClick();
    // A character typed on the grid: `key` is its code (13 Enter, 27 Escape,
    // 8 Backspace, 32 Space, else the character's code point), `text` the
    // character. Navigation keys move the current cell and are not reported.
    void gridKeyPress(int key, const QString& text);
    // Before the press moves the current cell.
    void gridMouseDown();
    // The student moved the current cell: first from (row, col), then to (row, col).
    void leftCell(int row, int col);
    void enteredCell(int row, int col);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void KeepACurrentCell();
    void FitColumn(int col);

    int m_fixedCols = 0;
    std::vector<int> m_widthsTwips;
    int m_movesByCode = 0;  // > 0 while the current cell moves without a report
};

}  // namespace tavrin
