#include "input/InputParaForm.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "input/InputTexts.h"
#include "input/ModelCommit.h"
#include "qtforms/GridWidget.h"
#include "qtforms/QtCellEditor.h"
#include "qtforms/QtControls.h"
#include "qtforms/QtMessages.h"
#include "qtforms/QtTwips.h"

namespace tavrin {

namespace {

// The form as designed, in twips; the panel's controls within the panel.
constexpr TwipsRect kForm{0, 0, static_cast<int>(kInputFormTwips.width), static_cast<int>(kInputFormTwips.height)};
constexpr TwipsRect kLabel1{240, 240, 1100, 300};
constexpr TwipsRect kCmbInput{1400, 180, 1600, 360};
constexpr TwipsRect kFrame1{120, 720, 5160, 4140};
constexpr TwipsRect kGrid{120, 300, 4920, 3120};
constexpr TwipsRect kCombo1{0, 0, 1250, 330};
constexpr TwipsRect kCmdApply{360, 3600, 1200, 400};
constexpr TwipsRect kCmdCancel{1980, 3600, 1200, 400};
constexpr TwipsRect kCmdOK{3600, 3600, 1200, 400};
constexpr TwipsRect kCmdClose{3960, 5040, 1320, 400};

// Light yellow around the cells of the input grid.
const QColor kGridArea(255, 255, 192);

UncommittedAnswer AskInMessageBox(QWidget* parent)
{
    constexpr UncommittedAnswer kAnswers[] = {UncommittedAnswer::Commit, UncommittedAnswer::Drop,
                                              UncommittedAnswer::Stay};
    return kAnswers[AskWithThreeAnswers(parent, {}, kUncommittedQuestion, {kCommitAnswer, kDropAnswer, kStayAnswer})];
}

}  // namespace

InputParaForm::InputParaForm(StructureModel& model, Canvas& picture, MessageSink& messages, QWidget* parent)
    : QWidget(parent, kOwnedFormFlags),
      m_model(model),
      m_picture(picture),
      m_messages(messages),
      Label1(Named(new QLabel(this), "Label1", kInputChoiceLabel)),
      cmbInput(Named(new QComboBox(this), "cmbInput")),
      Frame1(Named(new QGroupBox(this), "Frame1")),
      MSFlexGrid1(Named(new GridWidget(Frame1), "MSFlexGrid1")),
      Text1(Named(new QLineEdit(Frame1), "Text1")),
      Combo1(Named(new QComboBox(Frame1), "Combo1")),
      cmdApply(Named(new QPushButton(Frame1), "cmdApply", "交互检查")),
      cmdCancel(Named(new QPushButton(Frame1), "cmdCancel", "撤消")),
      cmdOK(Named(new QPushButton(Frame1), "cmdOK", "确定")),
      cmdClose(Named(new QPushButton(this), "cmdClose", "关闭窗口")),
      m_cellEditor(
          new QtCellEditor(*MSFlexGrid1, *Text1, *Combo1, model, model.ColumnEditorKinds, kInputFormEditorRules, this))
{
    setObjectName(QStringLiteral("frmInputPara"));
    setWindowTitle(FromUtf8(kInputFormDesignCaption));
    for (std::string_view choice : kInputTableChoices)
        cmbInput->addItem(FromUtf8(choice));
    cmbInput->setCurrentIndex(-1);
    MSFlexGrid1->SetRows(kInputGridRows);
    MSFlexGrid1->SetFixedCols(0);
    MSFlexGrid1->SetBackColorBkg(kGridArea);
    Frame1->hide();
    PlaceControls();

    m_askToCommit = [this] { return AskInMessageBox(this); };

    connect(cmbInput, &QComboBox::activated, this, &InputParaForm::SelectTable);
    connect(cmdApply, &QPushButton::clicked, this, &InputParaForm::CommitTable);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { UndoTableDrawing(m_model, m_picture); });
    connect(cmdOK, &QPushButton::clicked, this, &InputParaForm::HidePanel);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

InputParaForm::~InputParaForm() = default;

void InputParaForm::PlaceControls()
{
    setFixedSize(ToPixels(kForm, *this).size());
    Label1->setGeometry(ToPixels(kLabel1, *this));
    cmbInput->setGeometry(ToPixels(kCmbInput, *this));
    Frame1->setGeometry(ToPixels(kFrame1, *this));
    MSFlexGrid1->setGeometry(ToPixels(kGrid, *this));
    Combo1->setGeometry(ToPixels(kCombo1, *this));
    cmdApply->setGeometry(ToPixels(kCmdApply, *this));
    cmdCancel->setGeometry(ToPixels(kCmdCancel, *this));
    cmdOK->setGeometry(ToPixels(kCmdOK, *this));
    cmdClose->setGeometry(ToPixels(kCmdClose, *this));
}

// The list shows the table chosen before while the student stays with it.
void InputParaForm::SelectTable(int index)
{
    if (!LeaveTable()) {
        cmbInput->setCurrentIndex(m_model.InputTableKind);
        return;
    }
    ShowTable(index);
}

void InputParaForm::ShowTable(int index)
{
    const bool chosen = SelectInputTable(index, m_model, *MSFlexGrid1, m_state);
    m_cellEditor->Reset();
    ShowForm();
    if (chosen)
        MSFlexGrid1->setFocus();
}

void InputParaForm::ShowCommittedRows()
{
    if (m_state.panelVisible)
        ShowTable(cmbInput->currentIndex());
}

bool InputParaForm::LeaveTable()
{
    m_cellEditor->FlushTextEditor();
    return LeaveInputTable(m_state, m_model, *MSFlexGrid1, m_picture, m_messages, m_askToCommit);
}

// What the student typed but has not yet confirmed is part of the table.
void InputParaForm::CommitTable()
{
    m_cellEditor->FlushTextEditor();
    CommitInputTable(m_model, *MSFlexGrid1, m_picture, m_messages);
}

void InputParaForm::HidePanel()
{
    if (!LeaveTable())
        return;
    m_state.panelVisible = false;
    ShowForm();
}

void InputParaForm::ShowForm()
{
    setWindowTitle(FromUtf8(m_state.formCaption));
    Frame1->setTitle(FromUtf8(m_state.panelCaption));
    Frame1->setVisible(m_state.panelVisible);
    if (m_state.formShown && !isVisible())
        show();
}

// Closing unloads the form: next time it opens as designed, with no table.
void InputParaForm::closeEvent(QCloseEvent* event)
{
    if (!LeaveTable()) {
        event->ignore();
        return;
    }
    ClearGrid(*MSFlexGrid1);
    m_cellEditor->Reset();
    cmbInput->setCurrentIndex(-1);
    m_state = {};
    ShowForm();
    event->accept();
}

}  // namespace tavrin
