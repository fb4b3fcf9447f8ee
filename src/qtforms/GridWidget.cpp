#include "qtforms/GridWidget.h"

#include <algorithm>

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include "input/CellEditor.h"
#include "qtforms/QtControls.h"
#include "qtforms/QtTwips.h"

namespace tavrin {

namespace {

constexpr int kDefaultWidthTwips = 960;
constexpr int kRowHeightTwips = 300;

// Cells are white (fixed columns in the button colour) over a viewport that
// shows the form's colour outside them.
class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(GridWidget* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool fixed = index.column() < m_grid->FixedCols();
        painter->fillRect(option.rect, fixed ? m_grid->palette().color(QPalette::Button) : QColor(Qt::white));
        QStyledItemDelegate::paint(painter, option, index);
    }

private:
    GridWidget* m_grid;
};

// Moves made by the program are not the student's.
class MovesByCode {
public:
    explicit MovesByCode(int& counter) : m_counter(counter) { ++m_counter; }
    ~MovesByCode() { --m_counter; }
    MovesByCode(const MovesByCode&) = delete;
    MovesByCode& operator=(const MovesByCode&) = delete;

private:
    int& m_counter;
};

}  // namespace

int TypedKeyCode(const QKeyEvent& event)
{
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kKeyEnter;
        case Qt::Key_Escape:
            return kKeyEscape;
        case Qt::Key_Backspace:
            return kKeyBackspace;
        case Qt::Key_Space:
            return kKeySpace;
        default:
            break;
    }
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return -1;
    const QList<uint> text = event.text().toUcs4();
    if (text.isEmpty() || text.front() < static_cast<uint>(kKeySpace) || text.front() == 0x7f)
        return -1;
    return static_cast<int>(text.front());
}

GridWidget::GridWidget(QWidget* parent) : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setItemDelegate(new CellDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(TwipsToPixelsY(kRowHeightTwips, *this));
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setFixedHeight(TwipsToPixelsY(kRowHeightTwips, *this));
    connect(this, &QAbstractItemView::clicked, this, [this] { emit gridClick(); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { emit gridDoubleClick(); });
    SetRows(2);
    SetCols(2);
}

int GridWidget::Rows() const
{
    return rowCount() + 1;
}

void GridWidget::SetRows(int rows)
{
    const MovesByCode byCode(m_movesByCode);
    setRowCount(std::max(rows, 1) - 1);
    KeepACurrentCell();
}

int GridWidget::Cols() const
{
    return columnCount();
}

// Columns beyond the new count go with their text and header.
void GridWidget::SetCols(int cols)
{
    const MovesByCode byCode(m_movesByCode);
    cols = std::max(cols, 0);
    const int old = columnCount();
    setColumnCount(cols);
    m_widthsTwips.resize(static_cast<std::size_t>(cols), kDefaultWidthTwips);
    for (int c = old; c < cols; ++c) {
        setHorizontalHeaderItem(c, new QTableWidgetItem());
        FitColumn(c);
    }
    KeepACurrentCell();
}

void GridWidget::SetFixedCols(int cols)
{
    m_fixedCols = std::max(cols, 0);
    viewport()->update();
}

std::string GridWidget::Text(int row, int col) const
{
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols())
        return {};
    const QTableWidgetItem* cell = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    return cell ? cell->text().toStdString() : std::string();
}

void GridWidget::SetText(int row, int col, std::string_view text)
{
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols())
        return;
    const QString value = FromUtf8(text);
    QTableWidgetItem* cell = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    if (cell)
        cell->setText(value);
    else if (value.isEmpty())
        return;
    else if (row == 0)
        setHorizontalHeaderItem(col, new QTableWidgetItem(value));
    else
        setItem(row - 1, col, new QTableWidgetItem(value));
    if (row == 0) {
        FitColumn(col);
        return;
    }
    // A cell's text is never clipped either: a value such as "-15.75" or a
    // note in a result table widens its column, until the table is laid out
    // again with its own widths.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int needed = fontMetrics().horizontalAdvance(value) + 2 * margin + 2;
    if (needed > columnWidth(col))
        setColumnWidth(col, needed);
}

int GridWidget::ColWidth(int col) const
{
    if (col < 0 || col >= Cols())
        return 0;
    return m_widthsTwips[static_cast<std::size_t>(col)];
}

void GridWidget::SetColWidth(int col, int twips)
{
    if (col < 0 || col >= Cols())
        return;
    m_widthsTwips[static_cast<std::size_t>(col)] = twips;
    FitColumn(col);
}

// The width in twips, or the header's text with the header's margins where
// that is wider: a header such as "支座结点码" is never clipped.
void GridWidget::FitColumn(int col)
{
    const QTableWidgetItem* header = horizontalHeaderItem(col);
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    const int text = header ? horizontalHeader()->fontMetrics().horizontalAdvance(header->text()) + 2 * margin : 0;
    setColumnWidth(col, std::max(TwipsToPixelsX(m_widthsTwips[static_cast<std::size_t>(col)], *this), text));
}

int GridWidget::Row() const
{
    return currentRow() + 1;
}

int GridWidget::Col() const
{
    return std::max(currentColumn(), 0);
}

void GridWidget::SetRow(int row)
{
    if (row < 1 || row >= Rows())
        return;
    const MovesByCode byCode(m_movesByCode);
    setCurrentCell(row - 1, Col());
}

void GridWidget::SetCol(int col)
{
    if (col < 0 || col >= Cols())
        return;
    const MovesByCode byCode(m_movesByCode);
    setCurrentCell(std::max(currentRow(), 0), col);
}

void GridWidget::SetBackColorBkg(const QColor& colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, colour);
    setPalette(p);
}

QColor GridWidget::BackColorBkg() const
{
    return palette().color(QPalette::Base);
}

void GridWidget::SetCellBackground(int row, int col, const QColor& colour)
{
    if (row < 1 || row >= Rows() || col < 0 || col >= Cols())
        return;
    QTableWidgetItem* cell = item(row - 1, col);
    if (!cell && !colour.isValid())
        return;
    if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row - 1, col, cell);
    }
    cell->setData(Qt::BackgroundRole, colour.isValid() ? QVariant(QBrush(colour)) : QVariant());
}

QRect GridWidget::CurrentCellRect() const
{
    const QRect cell = visualRect(currentIndex());
    if (!cell.isValid())
        return {};
    return cell.translated(viewport()->geometry().topLeft());
}

void GridWidget::keyPressEvent(QKeyEvent* event)
{
    const int key = TypedKeyCode(*event);
    // Navigation keys move the current cell as the table view does.
    if (key < 0) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    emit gridKeyPress(key, event->text());
}

void GridWidget::mousePressEvent(QMouseEvent* event)
{
    emit gridMouseDown();
    QTableWidget::mousePressEvent(event);
}

void GridWidget::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableWidget::currentChanged(current, previous);
    if (m_movesByCode > 0)
        return;
    if (previous.isValid())
        emit leftCell(previous.row() + 1, previous.column());
    if (current.isValid())
        emit enteredCell(current.row() + 1, current.column());
}

// Like the grid of the forms, there is always a current cell while any data
// cell exists.
void GridWidget::KeepACurrentCell()
{
    if (!currentIndex().isValid() && rowCount() > 0 && columnCount() > 0)
        setCurrentCell(0, 0);
}

}  // namespace tavrin
