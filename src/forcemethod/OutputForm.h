#pragma once

#include <functional>

#include <QWidget>

#include "diagrams/InternalForceDiagrams.h"
#include "drawing/Canvas.h"
#include "forcemethod/CalculationSession.h"
#include "forcemethod/ResultViews.h"
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

// frmOutput, "结构计算": the student picks a calculation item in cmbCalType,
// gives the supplementary input it asks for in MSFlexGrid1 (Frame3) and
// presses "计算(&C)"; the result table shows in MSFlexGrid2 (Frame2). With
// cmdCheck ("核对") the student first gets the item's result table blank in
// MSFlexGrid2, types his own numbers into it and presses "核对" again to see
// them marked right or wrong. Beside them, cmdCaseDiagram draws the moment diagram of the selected member-force
// item's load case on the picture, with the scale asked by the host.
// Modeless, owned by its parent window: it stays above it. The rules live in
// the calculation core; the form forwards its events and mirrors
// CalculationFormState onto its controls.
class OutputForm : public QWidget {
    Q_OBJECT

public:
    OutputForm(StructureModel& model, Canvas& picture, DiagramHost& host, MessageSink& messages,
               QWidget* parent = nullptr);
    ~OutputForm() override;

    // How the form is placed when an analysis opens it (beside the picture
    // window); left empty, it stays where it is.
    void SetPlacement(std::function<void(QWidget&)> place) { m_place = std::move(place); }

    // Opens the form for an analysis that accepted the structure.
    void Open(const ModelTypeAnalysis& analysis);
    // Brings the form to the front as it is while its calculation goes on
    // (CalculationGoesOn); false when a new analysis must open it.
    bool BringCalculationForward();
    // The menu's "位移计算": the form to the front with the node of the
    // displacement to type; false when the real moments are not known.
    bool AskDisplacement();

    const CalculationFormState& State() const { return m_state; }
    const CalculationState& Calculation() const { return m_calculation; }

    // The supplementary rows given so far, to be kept in a structure file.
    SupplementaryRows KeptRows() const { return KeptSupplementaryRows(m_calculation); }
    // Rows shown for the tables not yet confirmed or applied.
    void Offer(const SupplementaryRows& rows) { m_calculation.offered = rows; }
    // For another structure: the form goes away with its calculation, and
    // the next analysis opens it afresh.
    void Reset();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void LayOut();
    void ConnectButtons();
    CalculationContext Context();

    void SelectItem(int index);
    void Calculate();
    void Check();
    void DrawCaseDiagram();
    void CalculateDisplacement();
    void Apply();
    void Confirm();
    void ShowView(ResultView view);

    void ShowState();
    void ShowAnswerMarks();
    void ShowOutcome(const StepOutcome& outcome);

    StructureModel& m_model;
    Canvas& m_picture;
    DiagramHost& m_host;
    MessageSink& m_messages;
    std::function<void(QWidget&)> m_place;

    QLabel* Label1;
    QComboBox* cmbCalType;
    QPushButton* cmdCal;
    QPushButton* cmdCheck;
    QPushButton* cmdCaseDiagram;
    QPushButton* cmdClose;
    // The tables beside the items: the ledger, the final reactions, the checks.
    QPushButton* cmdLedger;
    QPushButton* cmdReactions;
    QPushButton* cmdChecks;
    // A displacement by the unit-load method: the node, the kind, the button.
    QLineEdit* txtDisplacementNode;
    QComboBox* cmbDisplacementKind;
    QPushButton* cmdDisplacement;
    QGroupBox* Frame3;
    GridWidget* MSFlexGrid1;
    QLineEdit* Text1;
    QComboBox* Combo1;
    QPushButton* cmdApply;
    QPushButton* cmdOK;
    QPushButton* cmdCancle;
    QGroupBox* Frame2;
    GridWidget* MSFlexGrid2;
    // The sign conventions of the table MSFlexGrid2 shows, under it.
    QLabel* lblSigns;
    // The floating editors of the answer sheet in MSFlexGrid2 (the list one
    // is never opened: every answer is a number).
    QLineEdit* Text2;
    QComboBox* Combo2;
    QPushButton* cmdFrmClose;

    CalculationFormState m_state;
    CalculationState m_calculation;
    // Edits MSFlexGrid1 by the kinds of the form's own supplementary table.
    QtCellEditor* m_cellEditor;
    // Edits MSFlexGrid2 while it is the student's answer sheet.
    QtCellEditor* m_answerEditor;
};

// The menu command "计算类型分析": the calculation form comes to the front
// as it is while its calculation goes on; otherwise the model type analysis,
// and when it accepts the structure, the calculation form (created on first
// use into `form`, with `parent`, and kept) opens placed by `place`. A
// refused structure leaves the form, the model and the picture as they were.
// Returns the form when it was shown.
OutputForm* AnalyseModelTypeCommand(StructureModel& model, Canvas& picture, DiagramHost& host, MessageSink& messages,
                                    OutputForm*& form, QWidget* parent, std::function<void(QWidget&)> place = {});

}  // namespace tavrin
