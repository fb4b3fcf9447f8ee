#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forcemethod/AnswerCheck.h"
#include "forcemethod/CalculationFixture.h"
#include "forcemethod/ForceMethodTexts.h"

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
