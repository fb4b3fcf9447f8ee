#include "batch/BatchRun.h"

#include <utility>

#include "analysis/ModelType.h"
#include "diagrams/InternalForceDiagrams.h"
#include "forcemethod/CalculationDriver.h"
#include "forcemethod/SupplementaryInput.h"
#include "input/InputTables.h"
#include "input/ModelCommit.h"

namespace tavrin::batch {

namespace {

// The scale prompt answered with the case's scale, or cancelled for the
// automatic scale.
class ScaleAnswer : public DiagramHost {
public:
    explicit ScaleAnswer(std::optional<std::string> scale) : m_scale(std::move(scale)) {}
    void ShowPicture(std::string_view) override {}
    std::optional<std::string> AskScale(std::string_view, std::string_view) override { return m_scale; }

private:
    std::optional<std::string> m_scale;
};

// Types the rows into the grid from row 1 on. The grid grows to hold them,
// as the form's editor adds a row below a filled last row; reading the case
// has refused tables of more rows than the input grid and rows of more cells
// than their table's columns.
void TypeRows(TextGrid& grid, const Rows& rows)
{
    const int needed = static_cast<int>(rows.size()) + 1;
    if (grid.Rows() < needed)
        grid.SetRows(needed);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size() && static_cast<int>(c) < grid.Cols(); ++c)
            grid.SetText(static_cast<int>(r) + 1, static_cast<int>(c), rows[r][c]);
}

// The input form: choose the table, type its rows, "交互检查".
bool CommitTable(StructureModel& model, Canvas& canvas, MessageSink& messages, int kind, const Rows& rows)
{
    MemoryGrid grid(kInputGridRows, 1);
    InputFormState form;
    SelectInputTable(kind, model, grid, form);
    TypeRows(grid, rows);
    return CommitInputTable(model, grid, canvas, messages);
}

bool CommitTables(const BatchCase& batchCase, StructureModel& model, Canvas& canvas, MessageSink& messages)
{
    const std::pair<int, const Rows*> tables[] = {{kNodeTable, &batchCase.nodes},
                                                  {kElementTable, &batchCase.elements},
                                                  {kSupportTable, &batchCase.supports},
                                                  {kLoadTable, &batchCase.loads}};
    for (const auto& [kind, rows] : tables)
        if (!CommitTable(model, canvas, messages, kind, *rows))
            return false;
    return true;
}

// What the calculation form asks for before "计算(&C)": the rows of the
// supplementary table the selected item shows, applied ("交互检查") when
// they are a unit force, then confirmed with "O&K". Refused when the unit
// force or the rows were.
StepOutcome SupplyInput(CalculationContext& ctx, const BatchCase& batchCase)
{
    if (!ctx.form.inputFrameVisible)
        return {};
    switch (ctx.form.inputTable) {
        case SupplementaryTable::None:
            return {};
        case SupplementaryTable::AttachedParts:
            TypeRows(ctx.MSFlexGrid1, batchCase.attachedParts);
            break;
        case SupplementaryTable::BasicParts:
            TypeRows(ctx.MSFlexGrid1, batchCase.basicParts);
            break;
        case SupplementaryTable::UnitForces: {
            const auto k = static_cast<std::size_t>(ctx.form.unitForceCase);
            if (k >= 1 && k <= batchCase.unitForces.size())
                TypeRows(ctx.MSFlexGrid1, batchCase.unitForces[k - 1]);
            if (StepOutcome applied = ApplyUnitForces(ctx); applied.end == StepEnd::Refused)
                return applied;
            break;
        }
    }
    return ConfirmSupplementaryInput(ctx);
}

struct ResultShown {
    std::string title;
    Rows table;
    bool operator==(const ResultShown&) const = default;
};

ResultShown Shown(const CalculationContext& ctx)
{
    return {ctx.form.resultFrameCaption, GridCells(ctx.MSFlexGrid2)};
}

// Each item in list order, as a user works through the calculation form,
// up to the first refusal.
bool Calculate(CalculationContext& ctx, const BatchCase& batchCase, RunResult& result, RecordingCanvas& canvas)
{
    for (int m = 0; m < static_cast<int>(ctx.form.items.size()); ++m) {
        SelectCalculationItem(ctx, m);
        const StepOutcome supplied = SupplyInput(ctx, batchCase);
        canvas.ops.clear();
        if (supplied.end == StepEnd::Refused || !ctx.form.calEnabled)
            return false;

        const ResultShown before = Shown(ctx);
        const StepOutcome outcome = RunCalculationStep(ctx);
        canvas.ops.clear();
        const bool produced = outcome.end != StepEnd::Refused;
        ResultShown after = Shown(ctx);
        // A step stopped before its table leaves the table of the step
        // before it, which is not this item's result.
        if (produced || after != before)
            result.steps.push_back(
                {ctx.form.items[static_cast<std::size_t>(m)].text, std::move(after.title), std::move(after.table)});
        if (!produced)
            return false;
    }
    return true;
}

void DrawDiagrams(const StructureModel& model, const BatchCase& batchCase, RecordingCanvas& canvas,
                  std::vector<Picture>& pictures)
{
    using Diagram = float (*)(const StructureModel&, Canvas&, DiagramHost&);
    const std::pair<std::string_view, Diagram> diagrams[] = {
        {kMomentPicture, &DrawMomentDiagram}, {kShearPicture, &DrawShearDiagram}, {kAxialPicture, &DrawAxialDiagram}};
    ScaleAnswer host(batchCase.scale);
    for (const auto& [name, draw] : diagrams) {
        canvas.ops.clear();
        draw(model, canvas, host);
        pictures.push_back({std::string(name), std::move(canvas.ops)});
    }
    // A completed calculation has the end forces of every case.
    for (int c = 0; c < model.CaseMoments.CaseCount(); ++c) {
        canvas.ops.clear();
        DrawCaseMomentDiagram(model, c, canvas, host);
        pictures.push_back({CaseMomentPicture(c), std::move(canvas.ops)});
    }
    canvas.ops.clear();
}

}  // namespace

RunResult RunCase(const BatchCase& batchCase, double width, double height)
{
    RunResult result;
    StructureModel& model = result.model;
    // One picture for the whole run, as in the program: its drawing state
    // carries from the structure through the calculation to the diagrams.
    RecordingCanvas canvas(width, height);
    RecordingMessages messages;

    const bool committed = CommitTables(batchCase, model, canvas, messages);
    result.pictures.push_back({std::string(kStructurePicture), std::move(canvas.ops)});
    canvas.ops.clear();

    if (committed && AcceptModelType(model, {batchCase.degree.has_value(), batchCase.degree.value_or("")}, messages)) {
        MemoryGrid MSFlexGrid1(2, 2);
        MemoryGrid MSFlexGrid2(2, 2);
        CalculationFormState form;
        CalculationState calc;
        CalculationContext ctx{model, MSFlexGrid1, MSFlexGrid2, form, calc, canvas, messages};
        if (AnalyseAndOpenCalculation(ctx)) {
            result.analysed = true;
            result.kind = calc.kind;
            result.caption = form.caption;
            result.items = ItemTexts(form.items);
            canvas.ops.clear();
            result.completed = Calculate(ctx, batchCase, result, canvas);
        }
    }
    if (result.completed)
        DrawDiagrams(model, batchCase, canvas, result.pictures);
    result.messages = std::move(messages.shown);
    return result;
}

}  // namespace tavrin::batch
