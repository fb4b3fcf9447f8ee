#include "forcemethod/ResultViews.h"

#include <algorithm>
#include <optional>

#include "forcemethod/CalculationDriver.h"
#include "forcemethod/ForceMethodTexts.h"
#include "model/NumberText.h"
#include "model/Vocabulary.h"

namespace tavrin {

void ShowTable(CalculationContext& ctx, const ResultViewLayout& layout, const TableRows& rows)
{
    TextGrid& grid = ctx.MSFlexGrid2;
    ctx.form.resultFrameCaption = std::string(layout.caption);
    ClearGrid(grid);
    grid.SetCols(layout.cols);
    grid.SetRows(static_cast<int>(rows.size()) + 1);
    for (int c = 0; c < layout.cols; ++c) {
        grid.SetColWidth(c, layout.widths[static_cast<std::size_t>(c)]);
        grid.SetText(0, c, layout.headers[static_cast<std::size_t>(c)]);
    }
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size() && static_cast<int>(c) < layout.cols; ++c)
            grid.SetText(static_cast<int>(r) + 1, static_cast<int>(c), rows[r][c]);
    ShowResultFrame(ctx.form);
    ctx.form.answers = AnswerSheet{};
}

namespace {

bool ShowView(CalculationContext& ctx, ResultView view)
{
    const CalculationState& calc = ctx.calc;
    if (!calc.analysed)
        return false;
    if (!StillAsAnalysed(ctx.model, ctx.calc)) {
        ctx.messages.Show(kReanalyseMessage);
        return false;
    }
    if (!ResultViewAvailable(calc, view)) {
        ctx.messages.Show(view == ResultView::Ledger   ? kCoefficientsMissing
                          : IsIndeterminate(calc.kind) ? kFinalForcesMissing
                                                       : kMemberForcesMissing);
        return false;
    }
    switch (view) {
        case ResultView::Ledger: {
            const TableRows rows = LedgerViewRows(ctx.model);
            if (rows.empty()) {
                ctx.messages.Show(kCoefficientsMissing);
                return false;
            }
            ShowTable(ctx, LedgerTable, rows);
            return true;
        }
        case ResultView::FinalReactions: {
            const std::optional<std::vector<FinalReaction>> reactions = FormFinalReactions(ctx.model);
            if (!reactions) {
                ctx.messages.Show(kCaseReactionsMissing);
                return false;
            }
            ShowTable(ctx, FinalReactionTable, FinalReactionRows(*reactions));
            return true;
        }
        case ResultView::Checks: {
            const std::optional<std::vector<ResultCheck>> checks = CheckFinalResults(ctx.model);
            if (!checks) {
                ctx.messages.Show(kCaseReactionsMissing);
                return false;
            }
            ShowTable(ctx, CheckTable, CheckRows(*checks));
            return true;
        }
    }
    return false;
}

}  // namespace

std::string CoefficientName(int i, int j)
{
    if (i == 0)
        return "Δ";
    return j == 0 ? "Δ" + std::to_string(i) + "p" : "δ" + std::to_string(i) + std::to_string(j);
}

CellRows ViewTable(const ResultViewLayout& layout, const TableRows& rows)
{
    CellRows table{std::vector<std::string>(layout.headers.begin(), layout.headers.begin() + layout.cols)};
    table.insert(table.end(), rows.begin(), rows.end());
    return table;
}

TableRows LedgerRows(const std::vector<LedgerEntry>& ledger)
{
    TableRows rows;
    for (const LedgerEntry& entry : ledger) {
        for (std::size_t t = 0; t < entry.terms.size(); ++t) {
            const LedgerTerm& term = entry.terms[t];
            rows.push_back({t == 0 ? CoefficientName(entry.i, entry.j) : "", std::to_string(term.member),
                            ShortNumberText(term.L), ShortNumberText(term.EI), FormatForce(term.a1),
                            FormatForce(term.a2), FormatForce(term.b1), FormatForce(term.b2),
                            term.q == 0.0 ? "" : FormatCoefficient(term.parabola), FormatCoefficient(term.term)});
        }
        rows.push_back({"", "合计", "", "", "", "", "", "", "", FormatCoefficient(entry.total)});
    }
    return rows;
}

TableRows ImposedLedgerRows(const std::vector<ImposedLedgerEntry>& ledger)
{
    TableRows rows;
    const auto any = [&](auto member) {
        return std::any_of(ledger.begin(), ledger.end(),
                           [&](const ImposedLedgerEntry& e) { return !(e.*member).empty(); });
    };
    if (any(&ImposedLedgerEntry::settlements)) {
        rows.push_back({"系数", "结点号", "位移类型", "", "R̄i(与c同向为正)", "c", "", "", "", "−R̄i·c"});
        for (const ImposedLedgerEntry& entry : ledger) {
            for (std::size_t s = 0; s < entry.settlements.size(); ++s) {
                const SettlementShare& share = entry.settlements[s];
                rows.push_back({s == 0 ? "Δ" + std::to_string(entry.i) + "c" : "",
                                std::to_string(share.settlement.node),
                                std::string(SettlementKindList[static_cast<std::size_t>(share.settlement.kind)]), "",
                                FormatForce(share.R), SignificantText(share.settlement.value), "", "", "",
                                SignificantText(share.term)});
            }
            rows.push_back({"", "合计", "", "", "", "", "", "", "", SignificantText(entry.Dc)});
        }
    }
    if (any(&ImposedLedgerEntry::temperatures)) {
        rows.push_back(
            {"系数", "杆件号", "α", "t0", "∫N̄i ds(拉为正)", "α(t左−t右)/h", "∫M̄i ds(左侧受拉为正)", "", "", "温度项"});
        for (const ImposedLedgerEntry& entry : ledger) {
            for (std::size_t t = 0; t < entry.temperatures.size(); ++t) {
                const TemperatureShare& share = entry.temperatures[t];
                rows.push_back({t == 0 ? "Δ" + std::to_string(entry.i) + "t" : "", std::to_string(share.change.element),
                                SignificantText(share.change.alpha), SignificantText(share.change.t0()),
                                FormatCoefficient(share.integralN), SignificantText(share.change.Kappa()),
                                FormatCoefficient(share.integralM), "", "", SignificantText(share.term)});
            }
            rows.push_back({"", "合计", "", "", "", "", "", "", "", SignificantText(entry.Dt)});
        }
    }
    return rows;
}

TableRows LedgerViewRows(const StructureModel& model)
{
    TableRows rows = LedgerRows(LedgerOfModel(model));
    if (rows.empty())
        return rows;
    const TableRows imposed = ImposedLedgerRows(ImposedLedgerOfModel(model));
    rows.insert(rows.end(), imposed.begin(), imposed.end());
    return rows;
}

TableRows FinalReactionRows(const std::vector<FinalReaction>& reactions)
{
    TableRows rows;
    for (const FinalReaction& r : reactions)
        rows.push_back({std::to_string(r.node), r.type, FormatForce(r.Fx), FormatForce(r.Fy), FormatForce(r.Fm)});
    return rows;
}

TableRows CheckRows(const std::vector<ResultCheck>& checks)
{
    TableRows rows;
    for (const ResultCheck& check : checks)
        rows.push_back({check.what, check.where, SignificantText(check.value), SignificantText(check.tolerance),
                        std::string(check.Passed() ? kCheckPassed : kCheckFailed)});
    return rows;
}

bool ResultViewAvailable(const CalculationState& calc, ResultView view)
{
    if (!calc.analysed)
        return false;
    if (view == ResultView::Ledger)
        return calc.degree >= 1 && calc.progress.Holds(Product::Coefficients);
    return calc.progress.Holds(Product::FinalForces);
}

StepOutcome ShowResultView(CalculationContext& ctx, ResultView view)
{
    return OutcomeOf(ctx, [view](CalculationContext& watched) { return ShowView(watched, view); });
}

}  // namespace tavrin
