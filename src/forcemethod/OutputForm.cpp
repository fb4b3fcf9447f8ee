#include "forcemethod/OutputForm.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "forcemethod/AnswerCheck.h"
#include "forcemethod/CalculationDriver.h"
#include "forcemethod/CaseDiagrams.h"
#include "forcemethod/Displacements.h"
#include "forcemethod/ResultTables.h"
#include "forcemethod/SupplementaryInput.h"
#include "qtforms/GridWidget.h"
#include "qtforms/QtCellEditor.h"
#include "qtforms/QtControls.h"
#include "qtforms/QtTwips.h"

namespace tavrin {

namespace {

// Room for the widest result table (seven columns of 960 twips) and ten rows.
constexpr int kGridWidthTwips = 7200;
constexpr int kGridHeightTwips = 3660;
constexpr int kItemListWidthTwips = 3900;
constexpr int kListEditorWidthTwips = 1250;
constexpr int kDisplacementNodeWidthTwips = 900;

// The marks of the answer sheet: light enough to read the number on.
const QColor kRightAnswerColour{0xC8, 0xF0, 0xC8};
const QColor kWrongAnswerColour{0xF8, 0xC0, 0xC0};

}  // namespace

OutputForm::OutputForm(StructureModel& model, Canvas& picture, DiagramHost& host, MessageSink& messages,
                       QWidget* parent)
    : QWidget(parent, kOwnedFormFlags),
      m_model(model),
      m_picture(picture),
      m_host(host),
      m_messages(messages),
      Label1(Named(new QLabel(this), "Label1", "求解内容：")),
      cmbCalType(Named(new QComboBox(this), "cmbCalType")),
      cmdCal(Named(new QPushButton(this), "cmdCal", "计算(&C)")),
      cmdCheck(Named(new QPushButton(this), "cmdCheck", kCheckCaption)),
      cmdCaseDiagram(Named(new QPushButton(this), "cmdCaseDiagram", kCaseDiagramCaption)),
      cmdClose(Named(new QPushButton(this), "cmdClose", "关闭窗口(&X)")),
      cmdLedger(Named(new QPushButton(this), "cmdLedger", kLedgerViewName)),
      cmdReactions(Named(new QPushButton(this), "cmdReactions", kFinalReactionViewName)),
      cmdChecks(Named(new QPushButton(this), "cmdChecks", kCheckViewName)),
      txtDisplacementNode(Named(new QLineEdit(this), "txtDisplacementNode")),
      cmbDisplacementKind(Named(new QComboBox(this), "cmbDisplacementKind")),
      cmdDisplacement(Named(new QPushButton(this), "cmdDisplacement", kDisplacementCaption)),
      Frame3(Named(new QGroupBox(this), "Frame3", kUnitForceFrameCaption)),
      MSFlexGrid1(Named(new GridWidget(Frame3), "MSFlexGrid1")),
      Text1(Named(new QLineEdit(Frame3), "Text1")),
      Combo1(Named(new QComboBox(Frame3), "Combo1")),
      cmdApply(Named(new QPushButton(Frame3), "cmdApply", "交互检查")),
      cmdOK(Named(new QPushButton(Frame3), "cmdOK", "O&K")),
      cmdCancle(Named(new QPushButton(Frame3), "cmdCancle", "撤消")),
      Frame2(Named(new QGroupBox(this), "Frame2", kResultFrameCaption)),
      MSFlexGrid2(Named(new GridWidget(Frame2), "MSFlexGrid2")),
      lblSigns(Named(new QLabel(Frame2), "lblSigns")),
      Text2(Named(new QLineEdit(Frame2), "Text2")),
      Combo2(Named(new QComboBox(Frame2), "Combo2")),
      cmdFrmClose(Named(new QPushButton(Frame2), "cmdFrmClose", "关闭(&G)")),
      m_cellEditor(new QtCellEditor(*MSFlexGrid1, *Text1, *Combo1, model, m_state.editorKinds,
                                    kCalculationFormEditorRules, this)),
      m_answerEditor(new QtCellEditor(*MSFlexGrid2, *Text2, *Combo2, model, m_state.answers.editorKinds,
                                      kAnswerSheetEditorRules, this))
{
    setObjectName(QStringLiteral("frmOutput"));
    setWindowTitle(FromUtf8(kCalculationFormCaption));
    LayOut();
    ConnectButtons();
}

OutputForm::~OutputForm() = default;

// The input frame and the result frame share one cell of the form's grid,
// one at a time, and keep their room while hidden.
void OutputForm::LayOut()
{
    cmbCalType->setMinimumWidth(TwipsToPixelsX(kItemListWidthTwips, *this));
    for (GridWidget* grid : {MSFlexGrid1, MSFlexGrid2})
        grid->setMinimumSize(TwipsToPixelsX(kGridWidthTwips, *this), TwipsToPixelsY(kGridHeightTwips, *this));
    Combo1->setFixedWidth(TwipsToPixelsX(kListEditorWidthTwips, *this));

    auto* results = new QVBoxLayout(Frame2);
    results->addWidget(MSFlexGrid2);
    lblSigns->setWordWrap(true);
    auto* closing = new QHBoxLayout;
    closing->addWidget(lblSigns, 1);
    closing->addWidget(cmdFrmClose, 0, Qt::AlignBottom);
    results->addLayout(closing);

    auto* input = new QVBoxLayout(Frame3);
    input->addWidget(MSFlexGrid1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdApply);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addStretch();
    buttons->addWidget(cmdCancle);
    input->addLayout(buttons);

    // The diagram of the item's load case leads the row of views, so that
    // "核对" stands beside "计算(&C)" within the form's designed width.
    auto* views = new QHBoxLayout;
    views->addWidget(cmdCaseDiagram);
    views->addStretch();
    for (QPushButton* view : {cmdLedger, cmdReactions, cmdChecks})
        views->addWidget(view);
    txtDisplacementNode->setPlaceholderText(FromUtf8("结点码"));
    txtDisplacementNode->setMaximumWidth(TwipsToPixelsX(kDisplacementNodeWidthTwips, *this));
    ShowEntries(*cmbDisplacementKind, {DisplacementKindList.begin(), DisplacementKindList.end()});
    // The displacement shares the last row with "关闭窗口(&X)": the row of
    // views has no room left within the form's designed width.
    auto* displacement = new QHBoxLayout;
    displacement->addWidget(txtDisplacementNode);
    displacement->addWidget(cmbDisplacementKind);
    displacement->addWidget(cmdDisplacement);
    displacement->addStretch();

    auto* form = new QGridLayout(this);
    form->addWidget(Label1, 0, 0);
    form->addWidget(cmbCalType, 0, 1);
    form->addWidget(cmdCal, 0, 2);
    form->addWidget(cmdCheck, 0, 3);
    form->addLayout(views, 1, 0, 1, 4);
    form->addWidget(Frame2, 2, 0, 1, 4);
    form->addWidget(Frame3, 2, 0, 1, 4);
    form->addLayout(displacement, 3, 0, 1, 3);
    form->addWidget(cmdClose, 3, 3);
    form->setColumnStretch(1, 1);
    for (QGroupBox* frame : {Frame2, Frame3}) {
        QSizePolicy policy = frame->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        frame->setSizePolicy(policy);
        frame->hide();
    }
    resize(TwipsToPixelsX(kCalculationFormTwips.width, *this), TwipsToPixelsY(kCalculationFormTwips.height, *this));
}

void OutputForm::ConnectButtons()
{
    connect(cmbCalType, &QComboBox::activated, this, &OutputForm::SelectItem);
    connect(cmdCal, &QPushButton::clicked, this, &OutputForm::Calculate);
    connect(cmdCheck, &QPushButton::clicked, this, &OutputForm::Check);
    connect(cmdCaseDiagram, &QPushButton::clicked, this, &OutputForm::DrawCaseDiagram);
    connect(cmdApply, &QPushButton::clicked, this, &OutputForm::Apply);
    connect(cmdOK, &QPushButton::clicked, this, &OutputForm::Confirm);
    // cmdCancle stays unconnected: a wrong unit-force table is corrected by
    // editing it and applying it again.
    connect(cmdFrmClose, &QPushButton::clicked, this, [this] {
        CloseResultFrame(m_state);
        ShowState();
    });
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdLedger, &QPushButton::clicked, this, [this] { ShowView(ResultView::Ledger); });
    connect(cmdReactions, &QPushButton::clicked, this, [this] { ShowView(ResultView::FinalReactions); });
    connect(cmdChecks, &QPushButton::clicked, this, [this] { ShowView(ResultView::Checks); });
    connect(cmdDisplacement, &QPushButton::clicked, this, &OutputForm::CalculateDisplacement);
}

CalculationContext OutputForm::Context()
{
    return {m_model, *MSFlexGrid1, *MSFlexGrid2, m_state, m_calculation, m_picture, m_messages};
}

void OutputForm::Open(const ModelTypeAnalysis& analysis)
{
    CalculationContext ctx = Context();
    OpenCalculation(ctx, analysis);
    m_cellEditor->Reset();
    m_answerEditor->Reset();
    if (m_place)
        m_place(*this);
    ShowState();
    raise();
    activateWindow();
}

void OutputForm::Reset()
{
    m_state = CalculationFormState{};
    m_calculation = CalculationState{};
    m_cellEditor->Reset();
    m_answerEditor->Reset();
    hide();
}

bool OutputForm::BringCalculationForward()
{
    if (!CalculationGoesOn(Context()))
        return false;
    ShowState();
    raise();
    activateWindow();
    return true;
}

void OutputForm::SelectItem(int index)
{
    m_answerEditor->FlushTextEditor();
    m_cellEditor->Reset();
    CalculationContext ctx = Context();
    SelectCalculationItem(ctx, index);
    m_answerEditor->Reset();
    ShowState();
    if (m_state.inputFrameVisible)
        MSFlexGrid1->setFocus();
}

void OutputForm::Calculate()
{
    m_answerEditor->FlushTextEditor();
    CalculationContext ctx = Context();
    ShowOutcome(RunCalculationStep(ctx));
}

// What the student typed but has not yet confirmed is part of his answer.
void OutputForm::Check()
{
    m_answerEditor->FlushTextEditor();
    CalculationContext ctx = Context();
    ShowOutcome(CheckAnswers(ctx));
    if (m_state.answers.item >= 0)
        MSFlexGrid2->setFocus();
}

void OutputForm::DrawCaseDiagram()
{
    m_answerEditor->FlushTextEditor();
    CalculationContext ctx = Context();
    ShowOutcome(DrawSelectedCaseDiagram(ctx, m_host));
}

void OutputForm::CalculateDisplacement()
{
    m_answerEditor->FlushTextEditor();
    CalculationContext ctx = Context();
    DisplacementRequest request;
    if (ReadDisplacementRequest(txtDisplacementNode->text().toStdString(),
                                cmbDisplacementKind->currentText().toStdString(), request, m_messages))
        ShowOutcome(ShowDisplacement(ctx, request, m_host));
}

bool OutputForm::AskDisplacement()
{
    if (!RealMomentsKnown(m_model, m_calculation))
        return false;
    ShowState();
    raise();
    activateWindow();
    txtDisplacementNode->setFocus();
    return true;
}

void OutputForm::ShowView(ResultView view)
{
    m_answerEditor->FlushTextEditor();
    CalculationContext ctx = Context();
    ShowOutcome(ShowResultView(ctx, view));
}

// What the student typed but has not yet confirmed belongs to the table.
void OutputForm::Apply()
{
    m_cellEditor->FlushTextEditor();
    CalculationContext ctx = Context();
    ShowOutcome(ApplyUnitForces(ctx));
}

void OutputForm::Confirm()
{
    m_cellEditor->FlushTextEditor();
    CalculationContext ctx = Context();
    const StepOutcome outcome = ConfirmSupplementaryInput(ctx);
    m_cellEditor->Reset();
    ShowOutcome(outcome);
}

// The table that a refusal's message asks for, while it shows, takes the
// keys: the student corrects it straight away.
void OutputForm::ShowOutcome(const StepOutcome& outcome)
{
    m_answerEditor->Reset();
    ShowState();
    if (outcome.end == StepEnd::Refused && m_state.inputFrameVisible)
        MSFlexGrid1->setFocus();
}

void OutputForm::ShowState()
{
    setWindowTitle(FromUtf8(m_state.caption));
    {
        const QSignalBlocker quiet(cmbCalType);
        ShowEntries(*cmbCalType, ItemTexts(m_state.items));
    }
    if (cmbCalType->currentIndex() != m_state.selectedItem) {
        const QSignalBlocker quiet(cmbCalType);
        cmbCalType->setCurrentIndex(m_state.selectedItem);
    }
    cmdCal->setEnabled(m_state.calEnabled);
    cmdCheck->setEnabled(m_state.calEnabled);
    cmdCaseDiagram->setEnabled(CaseDiagramEnabled(m_model, m_state, m_calculation));
    cmdLedger->setEnabled(ResultViewAvailable(m_calculation, ResultView::Ledger));
    cmdReactions->setEnabled(ResultViewAvailable(m_calculation, ResultView::FinalReactions));
    cmdChecks->setEnabled(ResultViewAvailable(m_calculation, ResultView::Checks));
    cmdDisplacement->setEnabled(RealMomentsKnown(m_model, m_calculation));
    Frame2->setTitle(FromUtf8(m_state.resultFrameCaption));
    lblSigns->setText(FromUtf8(SignLegend(*MSFlexGrid2)));
    Frame2->setVisible(m_state.resultFrameVisible);
    Frame3->setTitle(FromUtf8(m_state.inputFrameCaption));
    Frame3->setVisible(m_state.inputFrameVisible);
    cmdApply->setVisible(m_state.applyVisible);
    ShowAnswerMarks();
    if (m_state.visible && !isVisible())
        show();
    if (!m_state.visible && isVisible())
        hide();
}

void OutputForm::ShowAnswerMarks()
{
    const auto& marks = m_state.answers.marks;
    for (int r = 1; r < MSFlexGrid2->Rows(); ++r)
        for (int c = 0; c < MSFlexGrid2->Cols(); ++c) {
            const auto row = static_cast<std::size_t>(r);
            const auto col = static_cast<std::size_t>(c);
            const AnswerMark mark = row < marks.size() && col < marks[row].size() ? marks[row][col] : AnswerMark::None;
            MSFlexGrid2->SetCellBackground(r, c,
                                           mark == AnswerMark::Right   ? kRightAnswerColour
                                           : mark == AnswerMark::Wrong ? kWrongAnswerColour
                                                                       : QColor());
        }
}

// Closing unloads the form: the model keeps every result, and the next
// analysis opens the form afresh.
void OutputForm::closeEvent(QCloseEvent* event)
{
    CalculationContext ctx = Context();
    CloseCalculationForm(ctx);
    m_cellEditor->Reset();
    m_answerEditor->Reset();
    event->accept();
}

OutputForm* AnalyseModelTypeCommand(StructureModel& model, Canvas& picture, DiagramHost& host, MessageSink& messages,
                                    OutputForm*& form, QWidget* parent, std::function<void(QWidget&)> place)
{
    if (form != nullptr && form->BringCalculationForward())
        return form;
    const ModelTypeAnalysis analysis = AnalyseModelType(model, messages);
    if (!analysis.accepted)
        return nullptr;
    if (form == nullptr)
        form = new OutputForm(model, picture, host, messages, parent);
    // Always replaced: a placement kept from an earlier command may refer to
    // what that caller has since let go of.
    form->SetPlacement(std::move(place));
    form->Open(analysis);
    return form;
}

}  // namespace tavrin
