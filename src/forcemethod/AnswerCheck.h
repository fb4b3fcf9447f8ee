#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "forcemethod/CalculationSession.h"
#include "forcemethod/CoefficientLedger.h"
#include "input/CellEditor.h"
#include "model/TextGrid.h"

namespace tavrin {

// "核对" beside "计算(&C)": the student's own numbers typed into the result
// grid, compared with the program's without showing them.
inline constexpr std::string_view kCheckCaption = "核对";
// The answer sheet takes numbers only: no lists, no columns skipped.
inline constexpr CellEditorRules kAnswerSheetEditorRules{};
// After the item's text, the result frame's title while it shows the
// answer sheet.
inline constexpr std::string_view kAnswerSheetHint = "（填入你的数字，再按“核对”）";
inline constexpr std::string_view kNothingTyped = "请先在结果表中填入你的数字，再按“核对”！";

// One number the student typed, compared with the program's value of its
// cell.
struct CellAnswer {
    int row = 0;  // cell of the result table, row 1 the first data row
    int col = 0;
    std::string name;  // "δ11", "Δ1p", "X1", "杆件1 Mi", "结点1 Fy"
    std::string typed;
    bool right = false;
    // For a wrong number, the typical slips that give it exactly ("符号反了",
    // "少了杆件2的图乘项", …, several joined by "或"); empty when none does.
    std::string cause;
    bool operator==(const CellAnswer&) const = default;
};

// The cells the student typed, row by row.
using AnswerReview = std::vector<CellAnswer>;

// Compares the numbers typed (`typed`: data rows from row 1 in the cells of
// the result table, row labels included or not) with `table`, the result
// table as the step writes it (header row first). A cell counts where the
// table shows a value and is no row label, and the student typed something
// into it. A number is right within 0.5 % of the cell's value and, near
// zero, within 0.1 % of the largest value of its own quantity (the deltas,
// the Deltas, one column of forces) or the rounding of the texts. `ledger`
// holds the member terms of the coefficients when `table` is the coefficient
// table, so that a coefficient short of one member's term, or not divided by
// its EI, is named; empty otherwise. A wrong number is compared with a few
// cells of nearby values only, so a table of any size is reviewed at once.
AnswerReview ReviewAnswers(const TextGrid& table, const CellRows& typed, const std::vector<LedgerEntry>& ledger);

// "12个数中10个正确".
std::string ReviewCount(const AnswerReview& review);
// The count, then one line per wrong number: "δ11：是正确值的一半".
std::string ReviewSummary(const AnswerReview& review);

// The answers to the selected item, reviewed against its step run on copies
// of the model and the calculation: nothing of the form, the model or the
// picture changes. Refused, with the step's message, where "计算(&C)" would
// refuse it.
struct ItemCheck {
    StepOutcome outcome;
    AnswerReview review;
};
ItemCheck CheckItemAnswers(const CalculationContext& ctx, const CellRows& typed);

// The click handler of "核对". While MSFlexGrid2 is not yet the selected
// item's answer sheet, lays the item's result table out in it with its
// numbers left blank for the student to type into; otherwise reviews what
// was typed there, marks each cell and shows the summary (ReviewSummary).
// Either way the step runs apart (CheckItemAnswers): a step that cannot run
// now shows its message and leaves the grid as it was; with nothing typed
// the student is asked to type first.
StepOutcome CheckAnswers(CalculationContext& ctx);

}  // namespace tavrin
