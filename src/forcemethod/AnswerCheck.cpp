#include "forcemethod/AnswerCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <tuple>
#include <unordered_map>

#include "forcemethod/CalculationDriver.h"
#include "forcemethod/ResultTables.h"
#include "forcemethod/ResultViews.h"
#include "input/InputTables.h"
#include "model/CellReading.h"

namespace tavrin {

namespace {

// The columns that name a row rather than hold a result, by their header,
// and the word that names a cell of the row in the summary ("结点3 Fy",
// "杆件1 Mi"; none where the column header names the cell itself).
struct RowLabel {
    std::string_view header;
    std::string_view noun;
};
constexpr RowLabel kRowLabels[] = {
    {SupportReactionTable.headers[0], "结点"},
    {SupportReactionTable.headers[1], ""},
    {AttachedPartResultTable.headers[0], "结点"},
    {AttachedPartResultTable.headers[1], ""},
    {MemberForceTable.headers[0], "杆件"},
    {kCoefficientRowHeader, ""},
    {kRedundantRowHeader, ""},
};

const RowLabel* LabelOf(std::string_view header)
{
    for (const RowLabel& label : kRowLabels)
        if (label.header == header)
            return &label;
    return nullptr;
}

bool IsLabelColumn(const TextGrid& table, int col)
{
    return LabelOf(table.Text(0, col)) != nullptr;
}

// " Mi " -> "Mi", "Fy(向上为正)" -> "Fy".
std::string ShortHeader(std::string header)
{
    header.erase(std::min(header.find('('), header.size()));
    const auto blank = [](char c) { return c == ' '; };
    header.erase(header.begin(), std::find_if_not(header.begin(), header.end(), blank));
    header.erase(std::find_if_not(header.rbegin(), header.rend(), blank).base(), header.end());
    return header;
}

bool IsCoefficientTable(const TextGrid& table)
{
    return table.Text(0, 0) == kCoefficientRowHeader;
}

// The columns delta_i1..delta_in of the coefficient table: all but the row
// label and Delta_ip, and the three columns of settlements and heat
// ("Δic", "Δit", "ci") where the table has them.
int DeltaColumns(const TextGrid& table)
{
    const int imposed = table.Cols() >= 6 && table.Text(0, table.Cols() - 3) == "Δic" ? 3 : 0;
    return table.Cols() - 2 - imposed;
}

// Column j of the coefficient table is delta_ij for j = 1..n, and column
// n + 1 Delta_ip: j = 0 as the ledger numbers it.
int CoefficientIndex(const TextGrid& table, int col)
{
    return col <= DeltaColumns(table) ? col : 0;
}

// The columns after Delta_ip: the free terms of settlements and heat and the
// prescribed displacement, each a quantity of its own.
bool IsImposedColumn(const TextGrid& table, int col)
{
    return IsCoefficientTable(table) && col > DeltaColumns(table) + 1;
}

std::string CellName(const TextGrid& table, int row, int col)
{
    if (IsImposedColumn(table, col)) {
        // "Δic" of row 2 is Δ2c, "ci" c2.
        std::string name = table.Text(0, col);
        const std::size_t i = name.find('i');
        return i == std::string::npos ? name : name.replace(i, 1, std::to_string(row));
    }
    if (IsCoefficientTable(table))
        return CoefficientName(row, CoefficientIndex(table, col));
    const std::string header = ShortHeader(table.Text(0, col));
    const RowLabel* label = LabelOf(table.Text(0, 0));
    if (label == nullptr || label->noun.empty())
        return header;
    return std::string(label->noun) + table.Text(row, 0) + " " + header;
}

// The quantity a cell holds: every delta of the coefficient table is one
// (column 1 stands for them all), otherwise each column is its own.
int QuantityOf(const TextGrid& table, int col)
{
    return IsCoefficientTable(table) && !IsImposedColumn(table, col) && CoefficientIndex(table, col) != 0 ? 1 : col;
}

// What the table's texts are rounded to: 0.001 for the coefficients and the
// unknowns ("0.###"), 0.01 for forces and reactions ("0.##").
double TextRounding(const TextGrid& table)
{
    return IsCoefficientTable(table) || table.Text(0, 0) == kRedundantRowHeader ? 0.001 : 0.01;
}

// A cell of the result table that holds one of the program's numbers, and
// how far a typed number may be from it and still be right.
struct ProgramCell {
    int row;
    int col;
    double value;
    double tolerance = 0.0;
};

// A hand calculation carries a few digits: a number is right within 0.5 %
// of the cell's own value. A value near zero (a small moment that is the
// difference of large ones) is right within a floor: 0.1 % of the largest
// value of the same quantity, and at least the rounding of the texts. The
// floor comes from the cell's own quantity only: a Delta of 4800 must not
// let a delta of 12 be typed as 24.
void SetTolerances(const TextGrid& table, std::vector<ProgramCell>& cells)
{
    constexpr double kOwnShare = 0.005;
    constexpr double kQuantityShare = 0.001;
    std::vector<double> largest(static_cast<std::size_t>(std::max(table.Cols(), 0)), 0.0);
    for (const ProgramCell& cell : cells)
        if (std::isfinite(cell.value)) {
            double& l = largest[static_cast<std::size_t>(QuantityOf(table, cell.col))];
            l = std::max(l, std::abs(cell.value));
        }
    const double rounding = TextRounding(table);
    for (ProgramCell& cell : cells) {
        const double floor =
            std::max(rounding, kQuantityShare * largest[static_cast<std::size_t>(QuantityOf(table, cell.col))]);
        cell.tolerance = std::max(kOwnShare * std::abs(cell.value), floor);
    }
}

std::vector<ProgramCell> ProgramCells(const TextGrid& table)
{
    std::vector<ProgramCell> cells;
    for (int r = 1; r < table.Rows(); ++r)
        for (int c = 0; c < table.Cols(); ++c)
            if (!IsLabelColumn(table, c) && !IsBlankText(table.Text(r, c)))
                cells.push_back({r, c, LeadingNumber(table.Text(r, c))});
    SetTolerances(table, cells);
    return cells;
}

// The ledger's entries by their indices: delta_ij = delta_ji, and the
// ledger keeps i <= j, with j = 0 for Delta_ip.
class LedgerIndex {
public:
    explicit LedgerIndex(const std::vector<LedgerEntry>& ledger)
    {
        m_entries.reserve(ledger.size());
        for (const LedgerEntry& entry : ledger)
            m_entries.emplace(Key(entry.i, entry.j), &entry);
    }

    const LedgerEntry* Find(int i, int j) const
    {
        const int first = j == 0 ? i : std::min(i, j);
        const int second = j == 0 ? 0 : std::max(i, j);
        const auto it = m_entries.find(Key(first, second));
        return it == m_entries.end() ? nullptr : it->second;
    }

private:
    static std::uint64_t Key(int i, int j)
    {
        return (std::uint64_t{static_cast<std::uint32_t>(i)} << 32) | static_cast<std::uint32_t>(j);
    }
    std::unordered_map<std::uint64_t, const LedgerEntry*> m_entries;
};

// The cells in the order of their values, so that the cells whose value a
// wrong number is are found without going through every cell for it.
class CellsByValue {
public:
    explicit CellsByValue(const std::vector<ProgramCell>& cells)
    {
        for (const ProgramCell& cell : cells)
            if (std::isfinite(cell.value))
                m_sorted.push_back(&cell);
        std::sort(m_sorted.begin(), m_sorted.end(), [](const ProgramCell* a, const ProgramCell* b) {
            return std::tie(a->value, a->row, a->col) < std::tie(b->value, b->row, b->col);
        });
    }

    // Calls `visit` with each cell within `tolerance` of `typed` but not
    // within it of `right` (so never the cell judged), the nearest to `typed`
    // first, until `visit` returns false. The cells near `right` are passed
    // over in one step: a table of many equal values costs no more than one
    // of distinct values.
    template <class Visit>
    void VisitNear(double typed, double right, double tolerance, Visit visit) const
    {
        const auto begin = m_sorted.begin();
        const auto end = m_sorted.end();
        const auto below = [](const ProgramCell* cell, double v) { return cell->value < v; };
        const auto above = [](double v, const ProgramCell* cell) { return v < cell->value; };
        const auto nearRight = [&](const ProgramCell* cell) { return std::abs(cell->value - right) <= tolerance; };
        auto up = std::lower_bound(begin, end, typed, below);
        auto down = up;  // the next cell downward is down[-1]
        for (;;) {
            if (up != end && nearRight(*up))
                up = std::upper_bound(up, end, right + tolerance, above);
            if (down != begin && nearRight(down[-1]))
                down = std::lower_bound(begin, down, right - tolerance, below);
            const bool upNear = up != end && (*up)->value - typed <= tolerance;
            const bool downNear = down != begin && typed - down[-1]->value <= tolerance;
            if (!upNear && !downNear)
                return;
            const bool takeUp = upNear && (!downNear || (*up)->value - typed <= typed - down[-1]->value);
            if (!visit(takeUp ? **up++ : **--down))
                return;
        }
    }

private:
    std::vector<const ProgramCell*> m_sorted;
};

// A wrong number as one typical slip gives it.
struct Slip {
    double value;
    std::string cause;
};

// The slips of a coefficient's graph multiplication, from its member terms
// (term = integral of a b / EI over the member):
//   one member forgotten:        total - term_e
//   one member's EI left out:    total - term_e + term_e EI_e
//   every EI left out:           sum of term_e EI_e (said of one member when
//                                only one has EI other than 1)
void AddLedgerSlips(const LedgerEntry& entry, std::vector<Slip>& slips)
{
    double withoutEI = 0.0;
    int scaled = 0;
    for (const LedgerTerm& t : entry.terms) {
        const std::string member = "杆件" + std::to_string(t.member);
        slips.push_back({entry.total - t.term, "少了" + member + "的图乘项"});
        if (t.EI != 1.0) {
            slips.push_back({entry.total - t.term + t.term * t.EI, member + "的EI未计入"});
            ++scaled;
        }
        withoutEI += t.term * t.EI;
    }
    if (scaled > 1)
        slips.push_back({withoutEI, "各杆件的EI均未计入"});
}

// The slips that give the typed number and not also the right one; the
// first kMostCauses of them, since a longer list tells the student nothing.
class Causes {
public:
    Causes(double typed, double right, double tolerance) : m_typed(typed), m_right(right), m_tolerance(tolerance) {}

    bool Full() const { return m_count >= kMostCauses; }
    bool Fits(double slip) const { return Near(m_typed, slip) && !Near(slip, m_right); }
    void Add(const std::string& cause)
    {
        if (Full() || m_text.find(cause) != std::string::npos)
            return;
        m_text += (m_text.empty() ? "" : "，或") + cause;
        ++m_count;
    }
    const std::string& Text() const { return m_text; }

private:
    static constexpr int kMostCauses = 3;
    bool Near(double a, double b) const { return std::abs(a - b) <= m_tolerance; }

    double m_typed, m_right, m_tolerance;
    std::string m_text;
    int m_count = 0;
};

// What the review looks up for each wrong number.
struct ReviewTables {
    const TextGrid& table;
    CellsByValue byValue;
    LedgerIndex ledger;
};

std::string CauseOf(double typed, const ProgramCell& cell, const ReviewTables& tables)
{
    const TextGrid& table = tables.table;
    const double v = cell.value;
    Causes causes(typed, v, cell.tolerance);
    std::vector<Slip> slips{{-v, "符号反了"}, {2.0 * v, "是正确值的2倍"}, {v / 2.0, "是正确值的一半"}};
    if (IsCoefficientTable(table) && !IsImposedColumn(table, cell.col))
        if (const LedgerEntry* entry = tables.ledger.Find(cell.row, CoefficientIndex(table, cell.col)))
            AddLedgerSlips(*entry, slips);
    for (const Slip& slip : slips)
        if (causes.Fits(slip.value))
            causes.Add(slip.cause);
    if (!IsCoefficientTable(table) || causes.Full())
        return causes.Text();
    // Indices mixed up: the number belongs to another coefficient of the
    // table. delta_ij and delta_ji are equal, so this only tells a delta from
    // a Delta or from a delta of other indices.
    tables.byValue.VisitNear(typed, v, cell.tolerance, [&](const ProgramCell& other) {
        causes.Add("填成了" + CellName(table, other.row, other.col) + "的值");
        return !causes.Full();
    });
    return causes.Text();
}

std::string TypedText(const CellRows& typed, int row, int col)
{
    const auto r = static_cast<std::size_t>(row - 1);
    const auto c = static_cast<std::size_t>(col);
    return r < typed.size() && c < typed[r].size() ? typed[r][c] : std::string();
}

// The selected item's step on copies of everything it writes: the model,
// the calculation, both grids (the result grid as it stands, since the
// coefficient table keeps the column widths of the table before it) and a
// picture of its own.
struct StepApart {
    StepOutcome outcome;
    std::vector<ShownMessage> messages;
    MemoryGrid table;
    std::vector<LedgerEntry> ledger;
};

StepApart RunStepApart(const CalculationContext& ctx)
{
    StepApart step;
    StructureModel model = ctx.model;
    MemoryGrid input;
    CopyGrid(ctx.MSFlexGrid1, input);
    CopyGrid(ctx.MSFlexGrid2, step.table);
    CalculationFormState form = ctx.form;
    CalculationState calc = ctx.calc;
    RecordingCanvas canvas(ctx.canvas.ScaleWidth(), ctx.canvas.ScaleHeight());
    RecordingMessages messages;
    CalculationContext apart{model, input, step.table, form, calc, canvas, messages};
    step.outcome = RunCalculationStep(apart);
    step.messages = std::move(messages.shown);
    if (StepOfItem(form.items, form.selectedItem).kind == StepKind::Coefficients)
        step.ledger = FormCoefficientLedger(model, calc.degree);
    return step;
}

// The step's table with its numbers taken out: the headers and row labels
// as the step writes them, its value cells empty for the student's, and the
// rows it leaves empty dropped.
void LayOutAnswerSheet(CalculationContext& ctx, const StepApart& step)
{
    TextGrid& grid = ctx.MSFlexGrid2;
    CopyGrid(step.table, grid);
    AnswerSheet& sheet = ctx.form.answers;
    sheet = AnswerSheet{};
    sheet.item = ctx.form.selectedItem;
    int used = 1;
    for (int r = 1; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Cols(); ++c)
            if (!IsBlankText(grid.Text(r, c)))
                used = r + 1;
    grid.SetRows(used);
    int firstNumber = -1;
    for (int c = 0; c < grid.Cols(); ++c) {
        const bool label = IsLabelColumn(grid, c);
        sheet.editorKinds.emplace_back(label ? std::string_view() : kTypedColumn);
        if (label)
            continue;
        if (firstNumber < 0)
            firstNumber = c;
        for (int r = 1; r < grid.Rows(); ++r)
            grid.SetText(r, c, "");
    }
    grid.SetRow(1);
    grid.SetCol(std::max(firstNumber, 0));
    // Named by the item, with what to do in it.
    ctx.form.resultFrameCaption =
        ctx.form.items[static_cast<std::size_t>(sheet.item)].text + std::string(kAnswerSheetHint);
    ShowResultFrame(ctx.form);
}

std::vector<std::vector<AnswerMark>> MarksOf(const AnswerReview& review, const TextGrid& grid)
{
    std::vector<std::vector<AnswerMark>> marks(static_cast<std::size_t>(grid.Rows()),
                                               std::vector<AnswerMark>(static_cast<std::size_t>(grid.Cols())));
    for (const CellAnswer& answer : review)
        if (answer.row < grid.Rows() && answer.col < grid.Cols())
            marks[static_cast<std::size_t>(answer.row)][static_cast<std::size_t>(answer.col)] =
                answer.right ? AnswerMark::Right : AnswerMark::Wrong;
    return marks;
}

}  // namespace

AnswerReview ReviewAnswers(const TextGrid& table, const CellRows& typed, const std::vector<LedgerEntry>& ledger)
{
    const std::vector<ProgramCell> cells = ProgramCells(table);
    const ReviewTables tables{table, CellsByValue(cells), LedgerIndex(ledger)};
    AnswerReview review;
    for (const ProgramCell& cell : cells) {
        std::string text = TypedText(typed, cell.row, cell.col);
        if (IsBlankText(text))
            continue;
        CellAnswer& answer = review.emplace_back();
        answer.row = cell.row;
        answer.col = cell.col;
        answer.name = CellName(table, cell.row, cell.col);
        const std::optional<double> number = IsWhollyNumber(text) ? CellNumber(text) : std::nullopt;
        if (!number)
            answer.cause = NotANumberReason(text);
        else if (std::abs(*number - cell.value) <= cell.tolerance)
            answer.right = true;
        else
            answer.cause = CauseOf(*number, cell, tables);
        answer.typed = std::move(text);
    }
    return review;
}

std::string ReviewCount(const AnswerReview& review)
{
    const auto right = std::count_if(review.begin(), review.end(), [](const CellAnswer& a) { return a.right; });
    return std::to_string(review.size()) + "个数中" + std::to_string(right) + "个正确";
}

std::string ReviewSummary(const AnswerReview& review)
{
    std::string summary = ReviewCount(review);
    for (const CellAnswer& answer : review)
        if (!answer.right)
            summary += "\n" + answer.name + "：" + (answer.cause.empty() ? std::string("不对") : answer.cause);
    return summary;
}

ItemCheck CheckItemAnswers(const CalculationContext& ctx, const CellRows& typed)
{
    const StepApart step = RunStepApart(ctx);
    if (step.outcome.end == StepEnd::Refused)
        return {step.outcome, {}};
    return {step.outcome, ReviewAnswers(step.table, typed, step.ledger)};
}

StepOutcome CheckAnswers(CalculationContext& ctx)
{
    const StepApart step = RunStepApart(ctx);
    if (step.outcome.end == StepEnd::Refused) {
        for (const ShownMessage& message : step.messages)
            ctx.messages.Show(message.text, message.title);
        return step.outcome;
    }
    CalculationFormState& form = ctx.form;
    if (form.answers.item != form.selectedItem) {
        LayOutAnswerSheet(ctx, step);
        return {};
    }
    ShowResultFrame(form);
    const AnswerReview review = ReviewAnswers(step.table, DataRows(ctx.MSFlexGrid2), step.ledger);
    form.answers.marks = MarksOf(review, ctx.MSFlexGrid2);
    if (review.empty()) {
        ctx.messages.Show(kNothingTyped);
        return {StepEnd::Refused, std::string(kNothingTyped)};
    }
    const std::string summary = ReviewSummary(review);
    ctx.messages.Show(summary);
    return {StepEnd::Done, summary};
}

}  // namespace tavrin
