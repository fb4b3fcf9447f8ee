#include "forcemethod/CalculationSession.h"

#include "drawing/DrawingPasses.h"
#include "forcemethod/ForceMethodTexts.h"

namespace tavrin {

namespace {

StructureInput InputOf(const StructureModel& model)
{
    StructureInput input{model.Nodes, model.Elements, model.Supports, model.UserLoads(), model.IndeterminacyDegree};
    for (Element& e : input.elements)
        e.Ni = e.Vi = e.Mi = e.Nj = e.Vj = e.Mj = 0.0f;
    for (Support& support : input.supports)
        support.Fx = support.Fy = support.Fm = 0.0f;
    return input;
}

}  // namespace

void ShowResultFrame(CalculationFormState& form)
{
    form.resultFrameVisible = true;
    form.inputFrameVisible = false;
}

void ShowInputFrame(CalculationFormState& form)
{
    form.inputFrameVisible = true;
    form.resultFrameVisible = false;
}

void DrawStructureWithoutLoads(const StructureModel& model, Canvas& canvas)
{
    DrawNodeNumbers(model, canvas);
    DrawMembers(model, canvas, MemberLabels::Shown);
    DrawSupports(model, canvas);
}

void DrawStructureWithLoads(const StructureModel& model, Canvas& canvas)
{
    DrawStructureWithoutLoads(model, canvas);
    DrawConcentratedLoads(model, canvas);
    DrawDistributedLoads(model, canvas);
    DrawCouples(model, canvas);
}

void DrawUnitForces(const StructureModel& model, Canvas& canvas)
{
    DrawStructureWithoutLoads(model, canvas);
    DrawConcentratedLoads(model, canvas);
    DrawCouples(model, canvas);
}

void RestoreUserLoads(CalculationContext& ctx)
{
    StructureModel& model = ctx.model;
    if (!model.UnitForcesInLoads)
        return;
    model.Loads = model.SavedLoads;
    model.UnitForcesInLoads = false;
    DrawStructureWithLoads(model, ctx.canvas);
}

void PutUnitForcesInPlace(CalculationContext& ctx, const OneBasedTable<Load>& unitForces)
{
    StructureModel& model = ctx.model;
    if (!model.UnitForcesInLoads) {
        model.SavedLoads = model.Loads;
        model.UnitForcesInLoads = true;
    }
    model.Loads = unitForces;
}

bool UseLoadsOfCase(CalculationContext& ctx, int caseNo)
{
    if (caseNo == 0) {
        RestoreUserLoads(ctx);
        return true;
    }
    CalculationState& calc = ctx.calc;
    const auto k = static_cast<std::size_t>(caseNo);
    if (caseNo < 0 || k >= calc.unitForces.size() || !calc.unitForces[k]) {
        ctx.messages.Show(UnitForceMissingText(caseNo));
        return false;
    }
    if (ctx.model.UnitForcesInLoads && ctx.model.Loads == *calc.unitForces[k])
        return true;
    PutUnitForcesInPlace(ctx, *calc.unitForces[k]);
    DrawUnitForces(ctx.model, ctx.canvas);
    return true;
}

SupplementaryRows KeptSupplementaryRows(const CalculationState& calc)
{
    SupplementaryRows kept = calc.offered;
    if (calc.attachedPartsConfirmed)
        kept.attachedParts = DataRows(calc.attachedPartRows);
    if (calc.basicPartsConfirmed)
        kept.basicParts = DataRows(calc.basicPartRows);
    for (std::size_t k = 1; k < calc.unitForces.size() && k < calc.unitForceRows.size(); ++k) {
        if (!calc.unitForces[k])
            continue;
        if (kept.unitForces.size() < k)
            kept.unitForces.resize(k);
        kept.unitForces[k - 1] = DataRows(calc.unitForceRows[k]);
    }
    return kept;
}

void OpenCalculation(CalculationContext& ctx, const ModelTypeAnalysis& analysis)
{
    // A new calculation starts from the user's loads.
    RestoreUserLoads(ctx);

    CalculationState& calc = ctx.calc;
    SupplementaryRows kept = KeptSupplementaryRows(calc);
    CellRows displacements = std::move(calc.displacementsShown);
    calc = CalculationState{};
    calc.offered = std::move(kept);
    calc.displacementsShown = std::move(displacements);
    calc.analysed = true;
    calc.kind = analysis.kind;
    calc.degree = analysis.degree;
    calc.analysedFor = InputOf(ctx.model);
    const auto cases = static_cast<std::size_t>(analysis.degree + 1);
    calc.unitForces.assign(cases, std::nullopt);
    calc.unitForceRows.assign(cases, MemoryGrid(0, 0));
    calc.progress.Start(analysis.degree);
    calc.itemResults.assign(analysis.items.size(), std::nullopt);

    CalculationFormState& form = ctx.form;
    form.visible = true;
    form.caption = analysis.caption;
    form.items = analysis.items;
    form.selectedItem = -1;
    form.calEnabled = false;
    form.resultFrameVisible = false;
    form.resultFrameCaption = std::string(kResultFrameCaption);
    form.inputFrameVisible = false;
    form.inputFrameCaption = std::string(kUnitForceFrameCaption);
    form.applyVisible = true;
    form.inputTable = SupplementaryTable::None;
    form.unitForceCase = 0;
    form.editorKinds.clear();
    form.answers = AnswerSheet{};
}

bool CalculationGoesOn(const CalculationContext& ctx)
{
    return ctx.form.visible && StillAsAnalysed(ctx.model, ctx.calc);
}

bool StillAsAnalysed(const StructureModel& model, const CalculationState& calc)
{
    // A commit voids every result and empties the case tables, even when the
    // table committed is the same as before: the old steps are refused then,
    // so the analysis must size the tables anew.
    const auto sized = [&](const CaseForceTable& t) {
        return t.CaseCount() == calc.degree + 1 && t.ElementCount() == model.ElementCount();
    };
    return calc.analysed && InputOf(model) == calc.analysedFor && model.IndeterminacyDegree == calc.degree &&
           model.CalcModel == calc.kind && ClassifyStructure(model) == calc.kind && sized(model.CaseAxialForces) &&
           sized(model.CaseShearForces) && sized(model.CaseMoments);
}

bool ItemStands(const CalculationState& calc, std::size_t m, CalculationStep step)
{
    if (m >= calc.itemResults.size() || !calc.itemResults[m])
        return false;
    // The attached parts produce no result the model keeps: their table
    // stands while their rows do.
    if (step.kind == StepKind::AttachedParts)
        return calc.attachedPartsConfirmed;
    return calc.progress.Stands(step);
}

bool AnalyseAndOpenCalculation(CalculationContext& ctx)
{
    if (CalculationGoesOn(ctx))
        return true;
    const ModelTypeAnalysis analysis = AnalyseModelType(ctx.model, ctx.messages);
    if (!analysis.accepted)
        return false;
    OpenCalculation(ctx, analysis);
    return true;
}

StepOutcome OutcomeOf(CalculationContext& ctx, const std::function<bool(CalculationContext&)>& action)
{
    WatchingMessages messages(ctx.messages);
    CalculationContext watched{ctx.model, ctx.MSFlexGrid1, ctx.MSFlexGrid2, ctx.form, ctx.calc, ctx.canvas, messages};
    if (!action(watched))
        return {StepEnd::Refused, messages.Last()};
    return {messages.Shown() ? StepEnd::DoneWithWarning : StepEnd::Done, messages.Last()};
}

}  // namespace tavrin
