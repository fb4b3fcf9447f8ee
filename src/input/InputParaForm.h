#pragma once

#include <functional>

#include <QWidget>

#include "drawing/Canvas.h"
#include "input/InputTables.h"
#include "model/Messages.h"
#include "model/StructureModel.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class GridWidget;
class QtCellEditor;

// frmInputPara: the student picks one of the tables in cmbInput, types
// it into MSFlexGrid1 through the floating editors Text1 and Combo1, and
// commits it with "交互检查" into the model and the picture. Modeless, owned
// by its parent window: it stays above it.
class InputParaForm : public QWidget {
    Q_OBJECT

public:
    InputParaForm(StructureModel& model, Canvas& picture, MessageSink& messages, QWidget* parent = nullptr);
    ~InputParaForm() override;

    // Shows the committed rows again in the table chosen, after the model
    // was replaced under the form.
    void ShowCommittedRows();

    // Before the table shown is let go of: asks "本表已修改，是否提交？"
    // while it differs from the committed table (LeaveInputTable). True when
    // the caller may go on.
    bool LeaveTable();
    // Who answers that question; a message box unless set.
    void SetUncommittedQuestion(std::function<UncommittedAnswer()> ask) { m_askToCommit = std::move(ask); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void PlaceControls();
    void SelectTable(int index);
    void ShowTable(int index);
    void CommitTable();
    void HidePanel();
    void ShowForm();

    StructureModel& m_model;
    Canvas& m_picture;
    MessageSink& m_messages;

    QLabel* Label1;
    QComboBox* cmbInput;
    QGroupBox* Frame1;
    GridWidget* MSFlexGrid1;
    QLineEdit* Text1;
    QComboBox* Combo1;
    QPushButton* cmdApply;
    QPushButton* cmdCancel;
    QPushButton* cmdOK;
    QPushButton* cmdClose;

    QtCellEditor* m_cellEditor;
    InputFormState m_state;
    std::function<UncommittedAnswer()> m_askToCommit;
};

}  // namespace tavrin
