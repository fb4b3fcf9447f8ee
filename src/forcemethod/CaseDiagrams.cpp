#include "forcemethod/CaseDiagrams.h"

#include "forcemethod/ForceMethodTexts.h"

namespace tavrin {

bool CaseDiagramReady(const StructureModel& model, const CalculationState& calc, int caseNo)
{
    return calc.progress.Holds(Product::EndForces, caseNo) && StillAsAnalysed(model, calc) &&
           model.CaseMoments.ElementCount() == model.ElementCount();
}

std::vector<int> ReadyCases(const StructureModel& model, const CalculationState& calc)
{
    std::vector<int> cases;
    for (int c = 0; c <= calc.progress.Degree(); ++c)
        if (CaseDiagramReady(model, calc, c))
            cases.push_back(c);
    return cases;
}

std::vector<std::string> CaseDiagramChoices(const std::vector<int>& cases)
{
    std::vector<std::string> entries;
    for (const int c : cases)
        entries.push_back(CaseMomentCaption(c) + "（" + CaseName(c) + "）");
    return entries;
}

std::optional<int> SelectedEndForceCase(const CalculationFormState& form)
{
    const CalculationStep step = StepOfItem(form.items, form.selectedItem);
    if (step.kind != StepKind::MemberForces && step.kind != StepKind::CaseEndForces)
        return std::nullopt;
    return step.caseNo;
}

bool CaseDiagramEnabled(const StructureModel& model, const CalculationFormState& form, const CalculationState& calc)
{
    const std::optional<int> caseNo = SelectedEndForceCase(form);
    return caseNo && CaseDiagramReady(model, calc, *caseNo);
}

namespace {

bool DrawSelectedCase(CalculationContext& ctx, DiagramHost& host)
{
    const std::optional<int> caseNo = SelectedEndForceCase(ctx.form);
    if (!caseNo)
        return false;
    if (!StillAsAnalysed(ctx.model, ctx.calc)) {
        ctx.messages.Show(kReanalyseMessage);
        return false;
    }
    if (!CaseDiagramReady(ctx.model, ctx.calc, *caseNo)) {
        ctx.messages.Show(EndForcesMissingText(*caseNo));
        return false;
    }
    DrawCaseMomentDiagram(ctx.model, *caseNo, ctx.canvas, host);
    return true;
}

}  // namespace

StepOutcome DrawSelectedCaseDiagram(CalculationContext& ctx, DiagramHost& host)
{
    return OutcomeOf(ctx, [&host](CalculationContext& watched) { return DrawSelectedCase(watched, host); });
}

}  // namespace tavrin
