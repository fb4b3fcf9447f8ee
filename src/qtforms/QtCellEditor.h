#pragma once

#include <QObject>

#include "input/CellEditor.h"

class QComboBox;
class QFocusEvent;
class QKeyEvent;
class QLineEdit;

namespace tavrin {

class GridWidget;

// Wires a grid form's grid and its two floating editors, a text box and an
// editable drop-down list, to the cell-editor rules: the grid's events and
// the editors' keys go to the rules, and their outcome comes back as editors
// shown, hidden, placed over the current cell and focused. The editors must
// be children of the grid's parent; they start hidden. `columnKinds` is where
// the form keeps the kinds of the table its grid shows (see CellEditor).
class QtCellEditor : public QObject {
    Q_OBJECT

public:
    QtCellEditor(GridWidget& grid, QLineEdit& text, QComboBox& list, const StructureModel& model,
                 const std::vector<std::string>& columnKinds, const CellEditorRules& rules, QObject* parent = nullptr);

    // After the form lays a new table out in the grid.
    void Reset();
    // Before the form reads the grid: text typed but not yet confirmed
    // belongs to the current cell.
    void FlushTextEditor();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Every event: the editors' texts go to the rules, the rule runs, and its
    // outcome is shown.
    template <class Rule>
    EditorActions Run(Rule rule);
    void ReadEditors();
    void Show(const EditorActions& actions);
    void ShowListEntries();
    void PlaceTextEditor();
    void PlaceListEditor();
    bool TextEditorKey(const QKeyEvent& key);
    bool ListEditorKey(const QKeyEvent& key);
    void ListEditorFocusOut(const QFocusEvent& focus);

    GridWidget& m_grid;
    QLineEdit& m_text;
    QComboBox& m_list;
    CellEditor m_editor;
};

}  // namespace tavrin
