#include "forcemethod/CalculationDriver.h"

#include <cmath>
#include <stdexcept>

#include "analysis/PartRows.h"
#include "analysis/Statics.h"
#include "forcemethod/EquationSolver.h"
#include "forcemethod/ForceMethod.h"
#include "forcemethod/ForceMethodTexts.h"
#include "forcemethod/ModelSolution.h"
#include "forcemethod/ResultTables.h"
#include "forcemethod/SupplementaryInput.h"
#include "model/NumberText.h"

namespace tavrin {

namespace {

// The attached-part and basic-part tables as the routines read them: one
// part per row, the first of `what` in column 1.
struct PartTable {
    std::string_view name;
    std::string_view what;
};
constexpr PartTable kAttachedPartTable{kAttachedPartName, kAttachedPartRowHolds};
constexpr PartTable kBasicPartTable{kBasicPartName, kBasicPartRowHolds};

bool IsBlankRow(const TextGrid& grid, int row)
{
    for (int col = 0; col < grid.Cols(); ++col)
        if (!IsBlankCell(grid, row, col))
            return false;
    return true;
}

// The routines end a part table at the first row whose column 1 is blank.
// A first row like that, or a later one with something typed in it (the
// part number alone), would silently drop its part and pass the rest off as
// the whole structure: it is refused before anything is computed.
bool RequirePartRows(CalculationContext& ctx, const TextGrid& rows, const PartTable& table)
{
    int row = 1;
    while (row < rows.Rows() && !IsBlankCell(rows, row, 1))
        ++row;
    if (row > 1 && (row >= rows.Rows() || IsBlankRow(rows, row)))
        return true;
    ctx.messages.Show(PartRowMissingText(table.name, row, table.what));
    return false;
}

bool RequireReactions(CalculationContext& ctx, int caseNo)
{
    if (!ctx.calc.progress.MissingFor({StepKind::CaseEndForces, caseNo}))
        return true;
    ctx.messages.Show(ReactionsMissingText(caseNo));
    return false;
}

bool RunSupportReactions(CalculationContext& ctx, int caseNo, std::string_view title)
{
    if (!UseLoadsOfCase(ctx, caseNo))
        return false;
    const bool solved = ComputeSupportReactions(ctx.model, ctx.messages);
    SetUpResultTable(ctx.MSFlexGrid2, ctx.form.resultFrameCaption, SupportReactionTable, title, ctx.model);
    const CalculationStep step{StepKind::SupportReactions, caseNo};
    if (solved)
        ctx.calc.progress.Produced(step);
    else
        ctx.calc.progress.Forget(step);
    if (solved)
        FillSupportRows(ctx.MSFlexGrid2, ctx.model);
    return solved;
}

// Each call computes the attached parts anew from the confirmed rows under
// the loads now in Loads, so that the basic part receives the hinge forces of
// its own load case.
bool CalculateAttachedParts(CalculationContext& ctx, TextGrid& resultGrid)
{
    if (!ctx.calc.attachedPartsConfirmed) {
        ctx.messages.Show(kAttachedPartsMissing);
        return false;
    }
    if (!RequirePartRows(ctx, ctx.calc.attachedPartRows, kAttachedPartTable))
        return false;
    return ComputeAttachedPartReactions(ctx.model, ctx.calc.attachedPartRows, resultGrid, ctx.messages);
}

bool RunAttachedParts(CalculationContext& ctx)
{
    SetUpResultTable(ctx.MSFlexGrid2, ctx.form.resultFrameCaption, AttachedPartResultTable, kAttachedPartTitle,
                     ctx.model);
    // The basic part's reactions of this case are still to come.
    ctx.calc.progress.Started({StepKind::AttachedParts, 0});
    if (!UseLoadsOfCase(ctx, 0))
        return false;
    return CalculateAttachedParts(ctx, ctx.MSFlexGrid2);
}

bool RunBasicParts(CalculationContext& ctx, int caseNo)
{
    CalculationState& calc = ctx.calc;
    SetUpResultTable(ctx.MSFlexGrid2, ctx.form.resultFrameCaption, BasicPartResultTable, kBasicPartTitle, ctx.model);
    const CalculationStep step{StepKind::BasicParts, caseNo};
    calc.progress.Started(step);
    if (!UseLoadsOfCase(ctx, caseNo))
        return false;
    if (!calc.basicPartsConfirmed) {
        ctx.messages.Show(kBasicPartsMissing);
        return false;
    }
    if (!RequirePartRows(ctx, calc.basicPartRows, kBasicPartTable))
        return false;
    MemoryGrid attachedRows(10, AttachedPartResultTable.cols);
    if (!CalculateAttachedParts(ctx, attachedRows))
        return false;
    if (!ComputeBasicPartReactions(ctx.model, calc.basicPartRows, ctx.MSFlexGrid2, ctx.messages))
        return false;
    calc.progress.Produced(step);
    if (calc.kind != CalculationModel::IndeterminateWithAttached)
        return true;
    // No whole-structure arrangement fits a structure with attached parts, so
    // this call writes nothing; it must not raise a message either.
    ComputeSupportReactions(ctx.model, ctx.messages, UnmatchedArrangement::Silent);
    SetUpResultTable(ctx.MSFlexGrid2, ctx.form.resultFrameCaption, SupportReactionTable, CaseReactionTitle(caseNo),
                     ctx.model);
    FillSupportRows(ctx.MSFlexGrid2, ctx.model);
    return true;
}

// The final end forces of the tables against the double solution: a
// warning when they differ in a place the table shows.
void WarnIfTablesDeviate(CalculationContext& ctx)
{
    std::string why;
    const std::optional<ForceMethodSolution> solution = SolutionOfModel(ctx.model, why);
    if (!solution)
        return;
    const TableDeviation d = FinalForceDeviation(ctx.model, *solution);
    if (DeviationShows(d))
        ctx.messages.Show(TableDeviationText(FormatCoefficient(d.largest), d.member, d.quantity), kWarningTitle);
}

bool RunMemberForces(CalculationContext& ctx, const ResultLayout& layout)
{
    if (!RequireReactions(ctx, 0) || !UseLoadsOfCase(ctx, 0))
        return false;
    SetUpResultTable(ctx.MSFlexGrid2, ctx.form.resultFrameCaption, layout, kMemberForceTitle, ctx.model);
    ComputeCaseEndForces(ctx.model, 0, ctx.messages);
    // A determinate structure has no other case: these are its final forces.
    ctx.calc.progress.Produced({StepKind::MemberForces, 0});
    FillMemberRows(ctx.MSFlexGrid2, ctx.model);
    WarnIfTablesDeviate(ctx);
    return true;
}

bool RunCaseEndForces(CalculationContext& ctx, int caseNo)
{
    if (!RequireReactions(ctx, caseNo) || !UseLoadsOfCase(ctx, caseNo))
        return false;
    ComputeCaseEndForces(ctx.model, static_cast<std::int16_t>(caseNo), ctx.messages);
    ctx.calc.progress.Produced({StepKind::CaseEndForces, caseNo});
    SetUpResultTable(ctx.MSFlexGrid2, ctx.form.resultFrameCaption, CaseMemberForceTable, CaseMemberForceTitle(caseNo),
                     ctx.model);
    FillCaseMemberRows(ctx.MSFlexGrid2, ctx.model, caseNo);
    return true;
}

bool RunCoefficients(CalculationContext& ctx)
{
    CalculationState& calc = ctx.calc;
    const CalculationStep step{StepKind::Coefficients, 0};
    if (const auto missing = calc.progress.MissingFor(step)) {
        ctx.messages.Show(EndForcesMissingText(missing->caseNo));
        return false;
    }
    // The free terms read the user's distributed loads.
    RestoreUserLoads(ctx);
    calc.progress.Started(step);
    if (!FormCoefficients(ctx.model, ctx.messages))
        return false;
    calc.progress.Produced(step);
    FillCoefficientTable(ctx.MSFlexGrid2, ctx.form.resultFrameCaption, ctx.model, calc.degree);
    return true;
}

bool RunUnknowns(CalculationContext& ctx)
{
    CalculationState& calc = ctx.calc;
    const StructureModel& model = ctx.model;
    const CalculationStep step{StepKind::Unknowns, 0};
    if (calc.progress.MissingFor(step) || model.FlexibilityMatrix.Size() != calc.degree ||
        model.FreeTerms.Count() != calc.degree) {
        ctx.messages.Show(kCoefficientsMissing);
        return false;
    }
    calc.progress.Started(step);
    const bool solved = SolveRedundants(ctx.model, ctx.messages) && model.RedundantForces.Count() == calc.degree;
    if (solved)
        calc.progress.Produced(step);
    FillRedundantTable(ctx.MSFlexGrid2, ctx.form.resultFrameCaption, model, calc.degree);
    return solved;
}

bool RunSuperposition(CalculationContext& ctx)
{
    const CalculationStep step{StepKind::Superposition, 0};
    if (ctx.calc.progress.MissingFor(step) || ctx.model.RedundantForces.Count() != ctx.calc.degree) {
        ctx.messages.Show(kUnknownsMissing);
        return false;
    }
    SuperposeEndForces(ctx.model);
    ctx.calc.progress.Produced(step);
    SetUpResultTable(ctx.MSFlexGrid2, ctx.form.resultFrameCaption, TotalMemberForceTable, kTotalMemberForceTitle,
                     ctx.model);
    FillMemberRows(ctx.MSFlexGrid2, ctx.model);
    WarnIfTablesDeviate(ctx);
    return true;
}

// What the steps write into the model, kept before each step: a step whose
// numbers overflow the 32-bit values (a huge load, a tiny EI, enormous
// spans) puts them back, so that no later step, table or diagram reads them.
struct StepResults {
    OneBasedTable<Element> elements;  // end forces
    OneBasedTable<Support> supports;  // reactions
    CaseForceTable axial, shear, moments;
    OneBasedMatrix flexibility;
    OneBasedTable<float> freeTerms;
    OneBasedTable<double> redundants;
    std::vector<TransmittedForce> transmitted;
    std::vector<std::optional<CaseReactionRecord>> caseReactions;
    std::vector<bool> counted;
};

StepResults ResultsOf(const StructureModel& m)
{
    return {m.Elements,
            m.Supports,
            m.CaseAxialForces,
            m.CaseShearForces,
            m.CaseMoments,
            m.FlexibilityMatrix,
            m.FreeTerms,
            m.RedundantForces,
            m.TransmittedForces,
            m.CaseReactions,
            m.LoadsCountedByAttachedParts};
}

void PutBack(StructureModel& m, StepResults r)
{
    m.Elements = std::move(r.elements);
    m.Supports = std::move(r.supports);
    m.CaseAxialForces = std::move(r.axial);
    m.CaseShearForces = std::move(r.shear);
    m.CaseMoments = std::move(r.moments);
    m.FlexibilityMatrix = std::move(r.flexibility);
    m.FreeTerms = std::move(r.freeTerms);
    m.RedundantForces = std::move(r.redundants);
    m.TransmittedForces = std::move(r.transmitted);
    m.CaseReactions = std::move(r.caseReactions);
    m.LoadsCountedByAttachedParts = std::move(r.counted);
}

bool AllFinite(std::initializer_list<double> values)
{
    for (const double v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

bool CaseTableFinite(const CaseForceTable& t)
{
    for (int c = 0; c < t.CaseCount(); ++c)
        for (int e = 1; e <= t.ElementCount(); ++e)
            if (!AllFinite({t.at(c, e, 1), t.at(c, e, 2)}))
                return false;
    return true;
}

bool ResultsFinite(const StructureModel& m)
{
    for (const Element& e : m.Elements)
        if (!AllFinite({e.Ni, e.Vi, e.Mi, e.Nj, e.Vj, e.Mj}))
            return false;
    for (const Support& s : m.Supports)
        if (!AllFinite({s.Fx, s.Fy, s.Fm}))
            return false;
    for (const TransmittedForce& t : m.TransmittedForces)
        if (!AllFinite({t.Fx, t.Fy}))
            return false;
    for (int i = 1; i <= m.FlexibilityMatrix.Size(); ++i)
        for (int j = 1; j <= m.FlexibilityMatrix.Size(); ++j)
            if (!std::isfinite(m.FlexibilityMatrix.at(i, j)))
                return false;
    for (const float d : m.FreeTerms)
        if (!std::isfinite(d))
            return false;
    for (const double x : m.RedundantForces)
        if (!std::isfinite(x))
            return false;
    return CaseTableFinite(m.CaseAxialForces) && CaseTableFinite(m.CaseShearForces) && CaseTableFinite(m.CaseMoments);
}

// Empties the rows under the headers.
void ClearDataRows(TextGrid& grid)
{
    for (int r = 1; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Cols(); ++c)
            grid.SetText(r, c, "");
}

// True when the step produced its results.
bool RunStep(CalculationContext& ctx, CalculationStep step)
{
    const CalculationModel kind = ctx.calc.kind;
    switch (step.kind) {
        case StepKind::None:
            return false;
        case StepKind::SupportReactions:
            return RunSupportReactions(ctx, step.caseNo,
                                       kind == CalculationModel::DeterminateNoAttached
                                           ? std::string(kSupportReactionTitle)
                                           : CaseReactionTitle(step.caseNo));
        case StepKind::MemberForces:
            return RunMemberForces(
                ctx, kind == CalculationModel::DeterminateNoAttached ? MemberForceTable : AttachedMemberForceTable);
        case StepKind::AttachedParts:
            return RunAttachedParts(ctx);
        case StepKind::BasicParts:
            return RunBasicParts(ctx, step.caseNo);
        case StepKind::CaseEndForces:
            return RunCaseEndForces(ctx, step.caseNo);
        case StepKind::Coefficients:
            return RunCoefficients(ctx);
        case StepKind::Unknowns:
            return RunUnknowns(ctx);
        case StepKind::Superposition:
            return RunSuperposition(ctx);
    }
    return false;
}

bool RunSelectedStep(CalculationContext& ctx)
{
    ctx.MSFlexGrid1.SetFixedCols(0);
    if (!ctx.calc.analysed)
        return false;
    const CalculationStep step = StepOfItem(ctx.form.items, ctx.form.selectedItem);
    if (step.kind == StepKind::None)
        return false;
    if (!StillAsAnalysed(ctx.model, ctx.calc)) {
        ctx.messages.Show(kReanalyseMessage);
        return false;
    }
    // A number the student typed into a supplementary table can still name a
    // node or element the routines cannot reach; that ends the step, never
    // the program.
    StepResults before = ResultsOf(ctx.model);
    bool produced = false;
    try {
        produced = RunStep(ctx, step);
    } catch (const std::exception&) {
        ctx.messages.Show(kCalculationError);
    }
    if (!ResultsFinite(ctx.model)) {
        PutBack(ctx.model, std::move(before));
        ctx.calc.progress.Forget(step);
        ClearDataRows(ctx.MSFlexGrid2);
        ctx.messages.Show(kOverflowText);
        return false;
    }
    return produced;
}

}  // namespace

// A step refused before it writes its table leaves the frames as they were,
// so that the input table its message asks for stays in sight.
StepOutcome RunCalculationStep(CalculationContext& ctx)
{
    WriteWatchingGrid results(ctx.MSFlexGrid2);
    CalculationContext watched{ctx.model, ctx.MSFlexGrid1, results, ctx.form, ctx.calc, ctx.canvas, ctx.messages};
    const StepOutcome outcome = OutcomeOf(watched, RunSelectedStep);
    if (results.Written()) {
        ShowResultFrame(ctx.form);
        ctx.form.answers = AnswerSheet{};
    }
    const auto m = static_cast<std::size_t>(ctx.form.selectedItem);
    if (outcome.end != StepEnd::Refused && m < ctx.calc.itemResults.size())
        ctx.calc.itemResults[m] = ItemResult{ctx.form.resultFrameCaption, GridCells(ctx.MSFlexGrid2)};
    return outcome;
}

bool CalculateEveryItem(CalculationContext& ctx, ItemRunObserver& observer)
{
    for (int m = 0; m < static_cast<int>(ctx.form.items.size()); ++m) {
        SelectCalculationItem(ctx, m);
        if (SupplyShownInput(ctx).end == StepEnd::Refused || !ctx.form.calEnabled)
            return false;
        observer.BeforeStep(m);
        const StepOutcome outcome = RunCalculationStep(ctx);
        observer.AfterStep(m, outcome);
        if (outcome.end == StepEnd::Refused)
            return false;
    }
    return true;
}

}  // namespace tavrin
