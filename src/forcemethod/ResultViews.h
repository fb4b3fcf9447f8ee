#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "forcemethod/CalculationSession.h"
#include "forcemethod/CoefficientLedger.h"
#include "forcemethod/FinalReactions.h"
#include "forcemethod/ResultChecks.h"
#include "model/TextGrid.h"

namespace tavrin {

// The tables the calculation form shows beside its items, in MSFlexGrid2:
// how the coefficients were multiplied out, the reactions of the original
// structure, the checks of the result. They belong to no item: the item
// list stays as it is.
enum class ResultView { Ledger, FinalReactions, Checks };

// The names of the views, on the form's buttons and in the batch output.
inline constexpr std::string_view kLedgerViewName = "图乘明细";
inline constexpr std::string_view kFinalReactionViewName = "最终支座反力";
inline constexpr std::string_view kCheckViewName = "校核";

// A view's table: caption, headers and the width (twips) of each column.
struct ResultViewLayout {
    std::string_view caption;
    std::array<std::string_view, 10> headers;
    std::array<int, 10> widths;
    int cols;
};

inline constexpr ResultViewLayout LedgerTable{
    "图乘明细（δij：前图M̄i、后图M̄j；Δip：前图MP、后图M̄i）：",
    {"系数", "杆件号", "L", "EI", "前图Mi", "前图Mj", "后图Mi", "后图Mj", "抛物线项", "图乘项"},
    {600, 650, 500, 500, 700, 700, 700, 700, 850, 850},
    10};
inline constexpr ResultViewLayout FinalReactionTable{
    "最终支座反力计算结果：",
    {"结点码", "类型", "Fx(向右为正)", "Fy(向上为正)", "Fm(顺时针为正)"},
    {1000, 1300, 1350, 1350, 1350},
    5};
inline constexpr ResultViewLayout CheckTable{"校核结果（容差取所含最大力或力矩的0.01%）：",
                                             {"校核内容", "位置", "数值", "容差", "结论"},
                                             {1600, 900, 1300, 1300, 900},
                                             5};
inline constexpr std::string_view kCheckPassed = "通过";
inline constexpr std::string_view kCheckFailed = "未通过";

using TableRows = std::vector<std::vector<std::string>>;

// "δ12", or "Δ1p" for a free term, "Δ" for a displacement (i = 0).
std::string CoefficientName(int i, int j);

// The rows of each view under its header row: the ledger one row per member
// term, the coefficient named on its first, then "合计" with the total;
// forces in "0.##", products in "0.###"; check values and tolerances with
// three significant digits.
std::vector<std::vector<std::string>> LedgerRows(const std::vector<LedgerEntry>& ledger);
// The ledger's rows of the settlements' and temperature changes' free terms,
// under the ledger's own columns: a header row stating each sign rule, then
// per Xi one row per settling support (Δic = −ΣR̄i·c) or heated member
// (Δit = Σα·t0·∫N̄i ds + Σκ·∫M̄i ds) and "合计". Empty without them.
std::vector<std::vector<std::string>> ImposedLedgerRows(const std::vector<ImposedLedgerEntry>& ledger);

// The view "图乘明细" of the calculation the model holds: the ledger's rows,
// then those of the settlements and temperature changes.
std::vector<std::vector<std::string>> LedgerViewRows(const StructureModel& model);

std::vector<std::vector<std::string>> FinalReactionRows(const std::vector<FinalReaction>& reactions);
std::vector<std::vector<std::string>> CheckRows(const std::vector<ResultCheck>& checks);

// The view's header row, then `rows`.
CellRows ViewTable(const ResultViewLayout& layout, const std::vector<std::vector<std::string>>& rows);

// Writes the layout's headers and `rows` into MSFlexGrid2 under the
// layout's caption and shows the result frame.
void ShowTable(CalculationContext& ctx, const ResultViewLayout& layout, const TableRows& rows);

// The form's rule for its view buttons: the ledger once the coefficients
// are formed, the final reactions and the checks once the final end forces
// are (the superposition, or the member forces of a determinate structure).
bool ResultViewAvailable(const CalculationState& calc, ResultView view);

// Shows the view in MSFlexGrid2 under its caption, in place of the input
// frame. Refused with a message, the grid as it was, when the view is not
// available yet or the structure changed since the analysis.
StepOutcome ShowResultView(CalculationContext& ctx, ResultView view);

}  // namespace tavrin
