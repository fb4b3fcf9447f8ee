#include "batch/BatchRun.h"

#include <algorithm>
#include <utility>

#include "analysis/ModelType.h"
#include "app/StructureFile.h"
#include "diagrams/InternalForceDiagrams.h"
#include "forcemethod/CalculationDriver.h"
#include "forcemethod/SupplementaryInput.h"

namespace tavrin::batch {

namespace {

struct ResultShown {
    std::string title;
    Rows table;
    bool operator==(const ResultShown&) const = default;
};

ResultShown Shown(const CalculationContext& ctx)
{
    return {ctx.form.resultFrameCaption, GridCells(ctx.MSFlexGrid2)};
}

// The case's answers to item m, checked as "核对" checks them, before the
// step shows its own numbers.
void ReviewItem(const CalculationContext& ctx, const BatchCase& batchCase, int m, RunResult& result)
{
    const std::string& item = ctx.form.items[static_cast<std::size_t>(m)].text;
    const auto answers = batchCase.answers.find(item);
    if (answers == batchCase.answers.end())
        return;
    ItemCheck check = CheckItemAnswers(ctx, answers->second);
    const bool checked = check.outcome.end != StepEnd::Refused;
    result.reviews.push_back({item, checked, checked ? std::string() : check.outcome.message, std::move(check.review)});
}

// The answers to items the calculation did not reach or does not have.
void NoteUnreviewed(const BatchCase& batchCase, RunResult& result)
{
    for (const auto& answered : batchCase.answers) {
        const std::string& item = answered.first;
        const auto reviewed = [&](const ItemReview& r) { return r.item == item; };
        if (std::any_of(result.reviews.begin(), result.reviews.end(), reviewed))
            continue;
        // Without an analysis there is no list to name the item in.
        const bool listed =
            !result.analysed || std::find(result.items.begin(), result.items.end(), item) != result.items.end();
        result.reviews.push_back({item, false, std::string(listed ? kItemNotReached : kNoSuchItem), {}});
    }
}

// Each item in list order, as a user works through the calculation form,
// up to the first refusal: the case's answers to an item reviewed before
// its step, and the table each step showed.
class StepRecorder : public ItemRunObserver {
public:
    StepRecorder(CalculationContext& ctx, const BatchCase& batchCase, RunResult& result, RecordingCanvas& canvas)
        : m_ctx(ctx), m_case(batchCase), m_result(result), m_canvas(canvas)
    {
    }

    void BeforeStep(int m) override
    {
        m_canvas.ops.clear();
        ReviewItem(m_ctx, m_case, m, m_result);
        m_before = Shown(m_ctx);
    }

    void AfterStep(int m, const StepOutcome& outcome) override
    {
        m_canvas.ops.clear();
        ResultShown after = Shown(m_ctx);
        // A step stopped before its table leaves the table of the step
        // before it, which is not this item's result.
        if (outcome.end != StepEnd::Refused || after != m_before)
            m_result.steps.push_back(
                {m_ctx.form.items[static_cast<std::size_t>(m)].text, std::move(after.title), std::move(after.table)});
    }

private:
    CalculationContext& m_ctx;
    const BatchCase& m_case;
    RunResult& m_result;
    RecordingCanvas& m_canvas;
    ResultShown m_before;
};

void DrawDiagrams(const StructureModel& model, const BatchCase& batchCase, RecordingCanvas& canvas,
                  std::vector<Picture>& pictures)
{
    using Diagram = float (*)(const StructureModel&, Canvas&, DiagramHost&);
    const std::pair<std::string_view, Diagram> diagrams[] = {
        {kMomentPicture, &DrawMomentDiagram}, {kShearPicture, &DrawShearDiagram}, {kAxialPicture, &DrawAxialDiagram}};
    AnsweredScale host(batchCase.scale);
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

void ComputeDisplacements(const BatchCase& batchCase, RunResult& result, RecordingCanvas& canvas, MessageSink& messages)
{
    result.displacements =
        ComputeRequestedDisplacements(result.model, result.calculation, batchCase.displacements, messages);
    if (!ComputeNodeDisplacements(result.model, result.calculation, result.nodeDisplacements, messages))
        return;
    AnsweredScale automatic(std::nullopt);
    canvas.ops.clear();
    DrawDeflectedShape(result.model, result.nodeDisplacements, canvas, automatic);
    result.pictures.push_back({std::string(kDeflectionPicture), std::move(canvas.ops)});
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

    bool committed = CommitCase(batchCase, model, canvas, messages).committed;
    SupplementaryRows offered = SupplementaryRowsOf(batchCase);
    // The original structure typed whole: its basic system typed in its
    // place, the unit forces offered to the calculation.
    if (committed && (batchCase.basicSystemAuto || !batchCase.basicSystem.empty())) {
        std::string why;
        result.basicSystem = RequestedBasicSystem(model, batchCase.basicSystemAuto, batchCase.basicSystem, why);
        if (!result.basicSystem)
            messages.Show(why);
        committed = result.basicSystem && TakeBasicSystem(model, *result.basicSystem, canvas, messages);
        if (committed)
            offered = {result.basicSystem->attachedParts, result.basicSystem->basicParts,
                       result.basicSystem->unitForces};
    }
    result.pictures.push_back({std::string(kStructurePicture), std::move(canvas.ops)});
    canvas.ops.clear();

    if (committed) {
        MemoryGrid MSFlexGrid1(2, 2);
        MemoryGrid MSFlexGrid2(2, 2);
        CalculationFormState form;
        CalculationState calc;
        calc.offered = offered;
        CalculationContext ctx{model, MSFlexGrid1, MSFlexGrid2, form, calc, canvas, messages};
        if (AnalyseAndOpenCalculation(ctx)) {
            result.analysed = true;
            result.kind = calc.kind;
            result.caption = form.caption;
            result.items = ItemTexts(form.items);
            canvas.ops.clear();
            StepRecorder recorder(ctx, batchCase, result, canvas);
            result.completed = CalculateEveryItem(ctx, recorder);
        }
        result.calculation = std::move(calc);
    }
    NoteUnreviewed(batchCase, result);
    if (result.completed) {
        DrawDiagrams(model, batchCase, canvas, result.pictures);
        ComputeDisplacements(batchCase, result, canvas, messages);
    }
    result.messages = std::move(messages.shown);
    return result;
}

}  // namespace tavrin::batch
