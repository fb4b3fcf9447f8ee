#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "forcemethod/AnswerCheck.h"
#include "forcemethod/CalculationFixture.h"
#include "forcemethod/ForceMethodTexts.h"
#include "forcemethod/ResultTables.h"
#include "model/NumberText.h"

namespace tavrin {
namespace {

using testing::Calculation;
using testing::FrameTables;
using testing::Rows;
using testing::WholeCalculation;

// Corner frame fixed at node 1 (0, 0): column 1-2 up to (0, 4), beam 2-3 to
// the free end (4, 4), 3 downward on the beam; X1 the prop upward at node 3.
// The column carries MP = -24 (qL^2/2) and M̄1 = 4 along its length, the beam
// MP = -1.5 (4 - x)^2 and M̄1 = 4 - x, so with EI 1
//   d11 = 4*16 + 64/3 = 85.333,  D1p = -384 (column) - 96 (beam) = -480.
// With EI 2 on the beam its terms halve: d11 = 74.667, D1p = -432.
const FrameTables kCornerFrame{
    {{"1", "0", "0", "刚接"}, {"2", "0", "4", "刚接"}, {"3", "4", "4", "自由端"}},
    {{"1", "1", "1", "2"}, {"2", "1", "2", "3"}},
    {{"1", "固定支座", "结点下方"}},
    {{"均布荷载", "", "2", "向下", "3"}},
};
FrameTables WithBeamEI2()
{
    FrameTables frame = kCornerFrame;
    frame.elements[1][1] = "2";
    return frame;
}
const FrameTables kCornerFrameBeamEI2 = WithBeamEI2();

// The propped cantilever of the fixtures: L 4, q 2, EI 1; loads' reactions
// Fy 8, Fm -16; d11 = 21.333, D1p = -64, X1 = 3; total Fqi 5, Fmi 4.
const WholeCalculation kPropped{"propped cantilever", &testing::kCantilever, 1, {{{"集中荷载", "2", "", "向上"}}}};
const WholeCalculation kCorner{"corner frame", &kCornerFrame, 1, {{{"集中荷载", "3", "", "向上"}}}};
const WholeCalculation kCornerEI2{
    "corner frame, beam EI 2", &kCornerFrameBeamEI2, 1, {{{"集中荷载", "3", "", "向上"}}}};

// Items of a calculation of degree 1.
constexpr int kLoadReactions = 0;
constexpr int kCoefficients = 4;
constexpr int kUnknowns = 5;
constexpr int kTotalForces = 6;

struct Verdict {
    std::string name;
    bool right;
    std::string cause;
};

struct AnswerCase {
    const char* name;
    const WholeCalculation* calculation;
    int item;
    Rows typed;
    std::vector<Verdict> expected;
};

const AnswerCase kAnswerCases[] = {
    {"propped cantilever, coefficients all right",
     &kPropped,
     kCoefficients,
     {{"1", "21.333", "-64"}},
     {{"δ11", true, ""}, {"Δ1p", true, ""}}},
    {"propped cantilever, d11 halved and D1p given d11's value",
     &kPropped,
     kCoefficients,
     {{"", "10.667", "21.33"}},
     {{"δ11", false, "是正确值的一半"}, {"Δ1p", false, "填成了δ11的值"}}},
    {"propped cantilever, X1 with the sign reversed", &kPropped, kUnknowns, {{"", "-3"}}, {{"X1", false, "符号反了"}}},
    {"reactions: no slip fits, doubled, not a number",
     &kPropped,
     kLoadReactions,
     {{"1", "固定支座", "1", "16", "x4"}},
     {{"结点1 Fx", false, ""}, {"结点1 Fy", false, "是正确值的2倍"}, {"结点1 Fm", false, "“x4”不是数字"}}},
    {"total member forces: a blank cell is not reviewed",
     &kPropped,
     kTotalForces,
     {{"1", "", "5", "-4"}},
     {{"杆件1 Fqi", true, ""}, {"杆件1 Fmi", false, "符号反了"}}},
    {"two-member frame, D1p without the beam's term",
     &kCorner,
     kCoefficients,
     {{"1", "85.333", "-384"}},
     {{"δ11", true, ""}, {"Δ1p", false, "少了杆件2的图乘项"}}},
    {"two-member frame, the beam's EI left out",
     &kCornerEI2,
     kCoefficients,
     {{"1", "85.333", "-480"}},
     {{"δ11", false, "杆件2的EI未计入"}, {"Δ1p", false, "杆件2的EI未计入"}}},
};

TEST(AnswerCheckTest, EachTypedNumberIsMarkedWithItsLikelySlip)
{
    for (const AnswerCase& k : kAnswerCases) {
        SCOPED_TRACE(k.name);
        Calculation c(*k.calculation);
        c.Select(k.item);
        const ItemCheck check = CheckItemAnswers(c.ctx, k.typed);
        ASSERT_EQ(check.outcome.end, StepEnd::Done);
        ASSERT_EQ(check.review.size(), k.expected.size());
        for (std::size_t n = 0; n < k.expected.size(); ++n) {
            SCOPED_TRACE(k.expected[n].name);
            EXPECT_EQ(check.review[n].name, k.expected[n].name);
            EXPECT_EQ(check.review[n].right, k.expected[n].right);
            EXPECT_EQ(check.review[n].cause, k.expected[n].cause);
        }
    }
}

TEST(AnswerCheckTest, SummaryCountsTheTypedNumbersAndNamesEachWrongOne)
{
    Calculation c(kPropped);
    c.Select(kLoadReactions);
    const ItemCheck check = CheckItemAnswers(c.ctx, {{"1", "", "0", "16", "-16"}});
    EXPECT_EQ(ReviewSummary(check.review), "3个数中2个正确\n结点1 Fy：是正确值的2倍");
}

// The first "核对" gives the blank table, the second marks what was typed;
// neither changes the model, the picture or the results of the calculation,
// and "计算(&C)" then shows the program's own table.
TEST(AnswerCheckTest, CheckLaysOutTheBlankTableThenMarksItWithoutTouchingTheCalculation)
{
    Calculation c(kPropped);
    c.Select(kCoefficients);
    const StructureModel model = c.model;
    const std::size_t drawn = c.canvas.ops.size();

    EXPECT_EQ(CheckAnswers(c.ctx).end, StepEnd::Done);
    EXPECT_EQ(c.Shown(), (Rows{{" i", "δi1", "Δip"}, {"1", "", ""}}));
    EXPECT_EQ(c.form.answers.item, kCoefficients);
    EXPECT_EQ(c.form.answers.editorKinds, (std::vector<std::string>{"", "T", "T"}));
    EXPECT_TRUE(c.form.resultFrameVisible);
    EXPECT_EQ(c.form.resultFrameCaption, "自由项系数（填入你的数字，再按“核对”）");
    EXPECT_TRUE(c.messages.shown.empty());

    EXPECT_EQ(CheckAnswers(c.ctx).message, kNothingTyped);
    c.MSFlexGrid2.SetText(1, 1, "10.667");
    c.MSFlexGrid2.SetText(1, 2, "-64");
    const StepOutcome checked = CheckAnswers(c.ctx);
    EXPECT_EQ(checked.end, StepEnd::Done);
    EXPECT_EQ(checked.message, "2个数中1个正确\nδ11：是正确值的一半");
    EXPECT_EQ(c.form.answers.marks.at(1),
              (std::vector<AnswerMark>{AnswerMark::None, AnswerMark::Wrong, AnswerMark::Right}));
    EXPECT_EQ(c.model, model);
    EXPECT_EQ(c.canvas.ops.size(), drawn);
    EXPECT_EQ(c.MSFlexGrid2.Text(1, 1), "10.667");

    EXPECT_EQ(RunCalculationStep(c.ctx).end, StepEnd::Done);
    EXPECT_EQ(c.Shown(), (Rows{{" i", "δi1", "Δip"}, {"1", "21.333", "-64."}}));
    EXPECT_EQ(c.form.answers, AnswerSheet{});
}

// Each number is judged by its own size, with a floor near zero from the
// largest value of its own quantity (the deltas, the Deltas, one column of
// forces), never from the largest number of the whole table.
TEST(AnswerCheckTest, EachNumberIsJudgedBySizeOfItsOwnQuantity)
{
    const Rows coefficients{{" i", "δi1", "δi2", "δi3", "Δip"},
                            {"1", "20.", "5.", "2.", "4800."},
                            {"2", "5.", "16.", "3.", "-2400."},
                            {"3", "2.", "3.", "12.", "0.5"}};
    const Rows reactions{{"支座结点码", "支座类型", "Fx(向右为正)", "Fy(向上为正)", "Fm(顺时针为正)"},
                         {"1", "固定支座", "0.4", "1000.", "1.5"},
                         {"3", "活动支座", "0.", "0.3", "0."}};
    struct Case {
        const char* name;
        const Rows* table;
        Rows typed;
        std::vector<Verdict> expected;
    };
    const Case cases[] = {
        {"delta33 doubled beside a Delta of 4800",
         &coefficients,
         {{}, {}, {"", "", "", "24"}},
         {{"δ33", false, "是正确值的2倍"}}},
        {"a small Delta is judged by the Deltas",
         &coefficients,
         {{"", "", "", "", "4810"}, {}, {"", "", "", "", "2"}},
         {{"Δ1p", true, ""}, {"Δ3p", true, ""}}},
        {"a delta within 0.5 % of itself, one beyond it",
         &coefficients,
         {{"", "20.09", "5.03"}},
         {{"δ11", true, ""}, {"δ12", false, ""}}},
        {"a couple beside forces of 1000", &reactions, {{"", "", "", "", "3"}}, {{"结点1 Fm", false, "是正确值的2倍"}}},
        {"a force near zero within 0.1 % of its column's largest",
         &reactions,
         {{"", "", "", "1001"}, {"", "", "0.005", "0", "0.02"}},
         {{"结点1 Fy", true, ""}, {"结点3 Fx", true, ""}, {"结点3 Fy", true, ""}, {"结点3 Fm", false, ""}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const Rows& rows = *k.table;
        MemoryGrid table(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()));
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c)
                table.SetText(static_cast<int>(r), static_cast<int>(c), rows[r][c]);
        const AnswerReview review = ReviewAnswers(table, k.typed, {});
        ASSERT_EQ(review.size(), k.expected.size());
        for (std::size_t n = 0; n < k.expected.size(); ++n) {
            SCOPED_TRACE(k.expected[n].name);
            EXPECT_EQ(review[n].name, k.expected[n].name);
            EXPECT_EQ(review[n].right, k.expected[n].right);
            EXPECT_EQ(review[n].cause, k.expected[n].cause);
        }
    }
}

// The coefficient table of n unknowns, each coefficient distinct, every
// one typed wrong by no slip, with its ledger of two members per entry.
struct AnsweredTable {
    MemoryGrid table;
    CellRows typed;
    std::vector<LedgerEntry> ledger;
};

AnsweredTable WronglyAnsweredCoefficients(int n)
{
    AnsweredTable t{MemoryGrid(n + 1, n + 2), {}, {}};
    t.table.SetText(0, 0, kCoefficientRowHeader);
    const auto value = [n](int i, int j) {
        return j == 0 ? -1000.0 * i : 1.0 + std::min(i, j) * (n + 1) + std::max(i, j);
    };
    for (int i = 1; i <= n; ++i) {
        auto& typed = t.typed.emplace_back(static_cast<std::size_t>(n + 2));
        for (int j = 1; j <= n + 1; ++j) {
            const double v = value(i, j <= n ? j : 0);
            t.table.SetText(i, j, FormatCoefficient(v));
            typed[static_cast<std::size_t>(j)] = FormatCoefficient(3.0 * v + 0.7);
        }
        for (int j = 0; j <= n; ++j)
            if (j == 0 || j >= i)
                t.ledger.push_back({i,
                                    j,
                                    {{.member = 1, .EI = 2.0, .term = 1.0}, {.member = 2, .term = value(i, j) - 1.0}},
                                    value(i, j),
                                    static_cast<float>(value(i, j))});
    }
    return t;
}

// The fastest of three reviews of the table, in seconds.
double ReviewSeconds(const AnsweredTable& t)
{
    double fastest = 1e9;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const AnswerReview review = ReviewAnswers(t.table, t.typed, t.ledger);
        fastest = std::min(fastest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        EXPECT_TRUE(std::none_of(review.begin(), review.end(), [](const CellAnswer& a) { return a.right; }));
    }
    return fastest;
}

// Sixteen times the answers (a table of 60,000 numbers) take about sixteen
// times as long, not 256 times: no number is compared with every cell or
// every ledger entry.
TEST(AnswerCheckTest, ReviewTimeGrowsWithTheNumberOfAnswers)
{
    const double small = ReviewSeconds(WronglyAnsweredCoefficients(61));
    const double large = ReviewSeconds(WronglyAnsweredCoefficients(244));
    EXPECT_LT(large, 64.0 * small) << small << " s, then " << large << " s";
}

TEST(AnswerCheckTest, StepThatCannotRunYetIsRefusedWithItsOwnMessage)
{
    Calculation c(*kPropped.frame, kPropped.degree);
    c.Select(1);  // the member forces under the loads, before their reactions
    c.messages.shown.clear();
    const StepOutcome outcome = CheckAnswers(c.ctx);
    EXPECT_EQ(outcome.end, StepEnd::Refused);
    EXPECT_EQ(c.MessageTexts(), std::vector<std::string>{ReactionsMissingText(0)});
    EXPECT_EQ(c.form.answers.item, -1);
}

}  // namespace
}  // namespace tavrin
