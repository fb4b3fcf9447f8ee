#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/ModelType.h"
#include "drawing/Canvas.h"
#include "forcemethod/StepTable.h"
#include "input/InputTables.h"
#include "model/Messages.h"
#include "model/StructureModel.h"
#include "model/TextGrid.h"

namespace tavrin {

inline constexpr std::string_view kCalculationFormCaption = "结构计算";
// The calculation form's client area as designed: room for the item list, the
// row of view buttons and the widest result table.
inline constexpr TwipsSize kCalculationFormTwips{7950.0, 6600.0};
inline constexpr std::string_view kResultFrameCaption = "计算结果";
inline constexpr std::string_view kUnitForceFrameCaption = "输入未知单位力信息：";

// How a number the student typed into the result grid for "核对" compares
// with the program's own: not marked (a row label, a cell left blank),
// right, or wrong.
enum class AnswerMark { None, Right, Wrong };

// The result grid while it holds the student's own numbers: the item whose
// blank result table it shows, the editor kind of each of its columns ("T"
// a number column, "" a row label), and after "核对" the mark of every cell,
// [row][col] as in the grid. Item -1: the grid shows the program's tables
// and takes no typing.
struct AnswerSheet {
    int item = -1;
    std::vector<std::string> editorKinds;
    std::vector<std::vector<AnswerMark>> marks;
    bool operator==(const AnswerSheet&) const = default;
};

// The calculation form frmOutput as plain state: what its controls show.
// The Qt form mirrors it onto its widgets after every event; the batch tool
// and the rule tests read it directly.
struct CalculationFormState {
    bool visible = false;
    std::string caption{kCalculationFormCaption};
    std::vector<CalculationItem> items;  // cmbCalType, as the analysis made them
    int selectedItem = -1;               // list index of cmbCalType, -1 none
    bool calEnabled = true;              // cmdCal
    bool resultFrameVisible = true;      // Frame2
    std::string resultFrameCaption{kResultFrameCaption};
    bool inputFrameVisible = true;  // Frame3
    std::string inputFrameCaption{kUnitForceFrameCaption};
    bool applyVisible = true;  // cmdApply
    // The table the input grid MSFlexGrid1 shows.
    SupplementaryTable inputTable = SupplementaryTable::None;
    // Unit force k that the unit-force table asks for (0 when it shows none).
    int unitForceCase = 0;
    // Editor kind of each column of MSFlexGrid1: "T" typed, "F" chosen from a
    // list. Kept with the form so that the input form's own kinds stay as
    // they are while both forms are open.
    std::vector<std::string> editorKinds;
    // MSFlexGrid2 as the student's answer sheet; any table the program
    // writes there ends it.
    AnswerSheet answers;
};

// The structure as the student entered it: nodes, members, supports, the
// user's loads and the degree, without the results that the calculation
// writes into the same tables.
struct StructureInput {
    OneBasedTable<Node> nodes;
    OneBasedTable<Element> elements;  // end forces zero
    OneBasedTable<Support> supports;  // reactions zero
    OneBasedTable<Load> loads;
    std::int16_t degree = 0;
    bool operator==(const StructureInput&) const = default;
};

// Rows of the supplementary tables as typed (data rows from row 1), apart
// from any one calculation: what a structure file brings, and what a new
// calculation takes over from the one before it. The input grid shows them
// for their table until the student confirms or applies rows of his own.
struct SupplementaryRows {
    CellRows attachedParts;
    CellRows basicParts;
    std::vector<CellRows> unitForces;  // entry k - 1: the unit force Xk
    bool operator==(const SupplementaryRows&) const = default;
};

// The table an item showed when "计算(&C)" last produced its result: the
// result frame's title and every cell of MSFlexGrid2, header row first.
struct ItemResult {
    std::string title;
    CellRows table;
    bool operator==(const ItemResult&) const = default;
};

// What one calculation carries from step to step besides the model: the
// model and degree it was analysed for, the supplementary rows the student
// confirmed, the unit forces applied per case, and which results are in the
// model so that a step run before its inputs exist says so instead of
// showing numbers of another case.
struct CalculationState {
    bool analysed = false;
    CalculationModel kind = CalculationModel::DeterminateNoAttached;
    int degree = 0;
    // The structure the analysis was made for.
    StructureInput analysedFor;

    // Rows of the attached-part and basic-part tables as confirmed with
    // "O&K"; every later step reads these, whatever the input grid shows.
    MemoryGrid attachedPartRows{0, 0};
    bool attachedPartsConfirmed = false;
    MemoryGrid basicPartRows{0, 0};
    bool basicPartsConfirmed = false;

    // Entry k (1..n): the unit force Xk as applied with "交互检查", and the
    // rows it was read from (shown again when its item is selected again).
    std::vector<std::optional<OneBasedTable<Load>>> unitForces;
    std::vector<MemoryGrid> unitForceRows;

    // Shown for a table not yet confirmed or applied.
    SupplementaryRows offered;

    // The displacements "位移计算" worked out, rows of the node and the kind
    // as typed beside the button, each once in the order first asked: the
    // report works them out again, and the structure file keeps them. Kept
    // when the structure is analysed again, as `offered` is.
    CellRows displacementsShown;

    // Which results the model holds for this calculation (the step table):
    // the reactions of one case, the end forces per case, the coefficients,
    // the unknowns and the final end forces (the superposition, or the member
    // forces of a determinate structure, ran after every step it reads).
    CalculationProgress progress;

    // Entry m: the result item m of the list showed last, kept so that the
    // whole calculation can be written out after the form moved on.
    std::vector<std::optional<ItemResult>> itemResults;
};

// The result frame Frame2 and the input frame Frame3 share one place on the
// form: showing one hides the other, so that neither table is ever covered.
void ShowResultFrame(CalculationFormState& form);
void ShowInputFrame(CalculationFormState& form);

// Everything the calculation form's rules read and write.
struct CalculationContext {
    StructureModel& model;
    TextGrid& MSFlexGrid1;  // supplementary input
    TextGrid& MSFlexGrid2;  // results
    CalculationFormState& form;
    CalculationState& calc;
    Canvas& canvas;
    MessageSink& messages;
};

// How an action of the calculation form ended: done; done after a warning,
// its results standing; or refused, nothing produced (its input missing or
// unreadable, its numbers not formed or beyond the float range). `message`
// is the last text the action showed, empty when it showed none.
enum class StepEnd { Done, DoneWithWarning, Refused };
struct StepOutcome {
    StepEnd end = StepEnd::Done;
    std::string message;
    bool operator==(const StepOutcome&) const = default;
};

// Runs `action`, which is true when it produced what it was asked for,
// watching the messages it shows: the one reading of an action's end for
// every action of the form.
StepOutcome OutcomeOf(CalculationContext& ctx, const std::function<bool(CalculationContext&)>& action);

// Per table, the rows confirmed or applied in this calculation, otherwise
// the rows offered: what the student has given so far, to be kept.
SupplementaryRows KeptSupplementaryRows(const CalculationState& calc);

// Shows the form after a model analysis that accepted the structure: caption
// and item list of the analysis, no item selected, cmdCal disabled, both
// frames hidden; a new calculation starts (with the user's loads back in
// Loads if unit forces were in place), offering the supplementary rows kept
// from the one before.
void OpenCalculation(CalculationContext& ctx, const ModelTypeAnalysis& analysis);

// True while the form shows a calculation of the structure as it still is:
// "计算类型分析" then goes on with it, so that the student who left the form
// for a diagram finds every step and result where they were.
bool CalculationGoesOn(const CalculationContext& ctx);

// The result table of item m (running `step`) stands while the calculation
// still holds what its step produced: a unit force applied again, or an
// earlier step run again, undoes the steps that read it.
bool ItemStands(const CalculationState& calc, std::size_t m, CalculationStep step);

// The one test of "the structure is still as analysed", read by every step,
// view, diagram and the report: the structure (nodes, members, supports,
// the user's loads and the degree) is the one the calculation was analysed
// for, it still classifies as the same calculation model, and its case
// tables are still sized for it (a commit empties them).
bool StillAsAnalysed(const StructureModel& model, const CalculationState& calc);

// The menu command "计算类型分析" on the form's rules: the calculation that
// goes on, or else the analysis, then the form opened when the structure is
// accepted. False when it was refused; the form, the model and the picture
// then stay as they were.
bool AnalyseAndOpenCalculation(CalculationContext& ctx);

// Puts the loads of load case c into Loads: the user's loads for case 0, the
// unit force Xc applied with "交互检查" for c >= 1. False, with a message,
// when Xc has not been applied yet.
bool UseLoadsOfCase(CalculationContext& ctx, int caseNo);

// Replaces Loads by unit forces, keeping the user's loads in SavedLoads the
// first time only, so that SavedLoads never receives a unit force.
void PutUnitForcesInPlace(CalculationContext& ctx, const OneBasedTable<Load>& unitForces);

// Puts the user's loads back when unit forces replaced them and redraws the
// picture with them; otherwise Loads stays as it is.
void RestoreUserLoads(CalculationContext& ctx);

// Picture of the released structure: node numbers, members with their codes,
// supports; with the loads that Loads holds drawn on top where asked, or
// with the forces and couples alone, which is all a unit force is made of.
void DrawStructureWithoutLoads(const StructureModel& model, Canvas& canvas);
void DrawStructureWithLoads(const StructureModel& model, Canvas& canvas);
void DrawUnitForces(const StructureModel& model, Canvas& canvas);

}  // namespace tavrin
