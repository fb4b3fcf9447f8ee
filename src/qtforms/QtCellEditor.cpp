#include "qtforms/QtCellEditor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "qtforms/GridWidget.h"
#include "qtforms/QtControls.h"

namespace tavrin {

// The editors hold what the rules last showed plus the student's typing.
void QtCellEditor::ReadEditors()
{
    m_editor.SetText(m_text.text().toStdString());
    m_editor.SetListText(m_list.currentText().toStdString());
}

template <class Rule>
EditorActions QtCellEditor::Run(Rule rule)
{
    ReadEditors();
    const EditorActions actions = rule();
    Show(actions);
    return actions;
}

QtCellEditor::QtCellEditor(GridWidget& grid, QLineEdit& text, QComboBox& list, const StructureModel& model,
                           const std::vector<std::string>& columnKinds, const CellEditorRules& rules, QObject* parent)
    : QObject(parent), m_grid(grid), m_text(text), m_list(list), m_editor(grid, model, columnKinds, rules)
{
    m_list.setEditable(true);
    m_list.setInsertPolicy(QComboBox::NoInsert);
    m_text.hide();
    m_list.hide();

    connect(&grid, &GridWidget::gridKeyPress, this, [this](int key, const QString& typed) {
        Run([&] { return m_editor.GridKeyPress(key, typed.toStdString()); });
    });
    connect(&grid, &GridWidget::gridClick, this, [this] { Run([&] { return m_editor.GridClick(); }); });
    connect(&grid, &GridWidget::gridDoubleClick, this, [this] { Run([&] { return m_editor.GridDoubleClick(); }); });
    connect(&grid, &GridWidget::gridMouseDown, this, [this] {
        Run([&] {
            m_editor.GridMouseDown();
            return EditorActions{};
        });
    });
    connect(&grid, &GridWidget::leftCell, this, [this](int row, int col) {
        Run([&] {
            m_editor.LeaveCell(row, col);
            return EditorActions{};
        });
    });
    connect(&grid, &GridWidget::enteredCell, this, [this] {
        Run([&] {
            m_editor.EnterCell();
            return EditorActions{};
        });
    });
    connect(&list, &QComboBox::activated, this,
            [this](int index) { Run([&] { return m_editor.ListChoice(m_list.itemText(index).toStdString()); }); });
    text.installEventFilter(this);
    list.installEventFilter(this);
}

void QtCellEditor::Reset()
{
    m_editor.Reset();
    Show({});
}

void QtCellEditor::FlushTextEditor()
{
    ReadEditors();
    m_editor.FlushTextEditor();
}

bool QtCellEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_text && event->type() == QEvent::KeyPress)
        return TextEditorKey(static_cast<const QKeyEvent&>(*event));
    if (watched == &m_list && event->type() == QEvent::KeyPress)
        return ListEditorKey(static_cast<const QKeyEvent&>(*event));
    if (watched == &m_list && event->type() == QEvent::FocusOut)
        ListEditorFocusOut(static_cast<const QFocusEvent&>(*event));
    return QObject::eventFilter(watched, event);
}

// Space cannot be typed into a cell: it confirms like Enter.
bool QtCellEditor::TextEditorKey(const QKeyEvent& key)
{
    const int code = TypedKeyCode(key);
    if (code != kKeyEnter && code != kKeySpace && code != kKeyEscape)
        return false;
    return Run([&] { return m_editor.TextKeyPress(code); }).consumeKey;
}

bool QtCellEditor::ListEditorKey(const QKeyEvent& key)
{
    const int code = TypedKeyCode(key);
    if (code != kKeyEnter && code != kKeySpace && code != kKeyEscape)
        return false;
    return Run([&] { return m_editor.ListKeyPress(code); }).consumeKey;
}

// Opening the list's own drop-down is no loss of focus.
void QtCellEditor::ListEditorFocusOut(const QFocusEvent& focus)
{
    if (focus.reason() == Qt::PopupFocusReason)
        return;
    const QWidget* now = QApplication::focusWidget();
    if (now && now->window() == m_list.view()->window())
        return;
    Run([&] { return m_editor.ListFocusLost(); });
}

// Mirrors the rules' state into the two editors, then carries out the actions.
void QtCellEditor::Show(const EditorActions& actions)
{
    const CellEditorState& state = m_editor.State();
    const QString text = QString::fromStdString(state.text);
    if (m_text.text() != text)
        m_text.setText(text);
    ShowListEntries();
    m_text.setVisible(state.textVisible);
    m_list.setVisible(state.listVisible);
    if (actions.placeTextEditor)
        PlaceTextEditor();
    if (actions.placeListEditor)
        PlaceListEditor();
    if (actions.focusGrid)
        m_grid.setFocus();
}

void QtCellEditor::ShowListEntries()
{
    const CellEditorState& state = m_editor.State();
    ShowEntries(m_list, state.listEntries);
    const QString listText = QString::fromStdString(state.listText);
    if (m_list.currentText() != listText) {
        m_list.setCurrentIndex(-1);
        m_list.setEditText(listText);
    }
}

// Over the current cell, 2 pixels lower than the row so the grid line stays.
void QtCellEditor::PlaceTextEditor()
{
    const QRect cell = m_grid.CurrentCellRect();
    m_text.setGeometry(m_grid.x() + cell.x(), m_grid.y() + cell.y(), cell.width(), cell.height() - 2);
    m_text.raise();
    m_text.setFocus();
}

// At the current cell's corner, keeping the list's own width.
void QtCellEditor::PlaceListEditor()
{
    const QRect cell = m_grid.CurrentCellRect();
    m_list.move(m_grid.x() + cell.x(), m_grid.y() + cell.y());
    m_list.raise();
    m_list.setFocus();
}

}  // namespace tavrin
