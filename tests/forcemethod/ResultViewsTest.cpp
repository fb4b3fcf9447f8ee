#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forcemethod/CalculationFixture.h"
#include "forcemethod/ForceMethodTexts.h"
#include "forcemethod/ResultViews.h"

namespace tavrin {
namespace {

using testing::Calculation;
using testing::Rows;

std::vector<bool> Available(const Calculation& c)
{
    return {ResultViewAvailable(c.calc, ResultView::Ledger), ResultViewAvailable(c.calc, ResultView::FinalReactions),
            ResultViewAvailable(c.calc, ResultView::Checks)};
}

// The propped cantilever (L 4, EI 1, q 2 down, X1 the prop at node 2)
// through the form's steps: each view opens with its step, shows its table
// in the result grid, and closes again when a step it reads is redone.
TEST(ResultViewsTest, ViewsOpenWithTheirStepsAndShowTheirTables)
{
    Calculation c(testing::kCantilever, 1);
    const Rows unitForce{{"集中荷载", "2", "", "向上"}};
    EXPECT_EQ(Available(c), (std::vector<bool>{false, false, false}));
    c.Run(0);
    c.Run(1);
    c.Supply(2, unitForce);
    RunCalculationStep(c.ctx);
    c.Run(3);
    EXPECT_EQ(Available(c), (std::vector<bool>{false, false, false}));
    const StepOutcome early = ShowResultView(c.ctx, ResultView::Checks);
    EXPECT_EQ(early, (StepOutcome{StepEnd::Refused, std::string(kFinalForcesMissing)}));
    c.messages.shown.clear();

    c.Run(4);
    EXPECT_EQ(Available(c), (std::vector<bool>{true, false, false}));
    c.form.resultFrameVisible = false;
    EXPECT_EQ(ShowResultView(c.ctx, ResultView::Ledger).end, StepEnd::Done);
    EXPECT_TRUE(c.form.resultFrameVisible);
    EXPECT_EQ(c.form.resultFrameCaption, LedgerTable.caption);
    EXPECT_EQ(c.Shown(),
              (Rows{{"系数", "杆件号", "L", "EI", "前图Mi", "前图Mj", "后图Mi", "后图Mj", "抛物线项", "图乘项"},
                    {"δ11", "1", "4", "1", "-4.", "0.", "-4.", "0.", "", "21.333"},
                    {"", "合计", "", "", "", "", "", "", "", "21.333"},
                    {"Δ1p", "1", "4", "1", "16.", "0.", "-4.", "0.", "21.333", "-64."},
                    {"", "合计", "", "", "", "", "", "", "", "-64."}}));

    c.Run(5);
    c.Run(6);
    EXPECT_EQ(Available(c), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(ShowResultView(c.ctx, ResultView::FinalReactions).end, StepEnd::Done);
    EXPECT_EQ(c.form.resultFrameCaption, "最终支座反力计算结果：");
    EXPECT_EQ(c.Shown(), (Rows{{"结点码", "类型", "Fx(向右为正)", "Fy(向上为正)", "Fm(顺时针为正)"},
                               {"1", "固定支座", "0.", "5.", "-4."},
                               {"2", "未知力X1", "0.", "3.", "0."}}));
    EXPECT_EQ(ShowResultView(c.ctx, ResultView::Checks).end, StepEnd::Done);
    const Rows checks = c.Shown();
    // Equilibrium 9, compatibility 1, δ11 and Δ1p by the stiffness method 2,
    // X1, the member's 6 end forces and the wall's 3 reactions against the
    // stiffness method's solution of the original structure.
    ASSERT_EQ(checks.size(), 1u + 9u + 1u + 2u + 1u + 6u + 3u);
    EXPECT_EQ(checks[0], (std::vector<std::string>{"校核内容", "位置", "数值", "容差", "结论"}));
    EXPECT_EQ(checks[1][0], "结点平衡 ΣFx");
    EXPECT_EQ(checks[10][0], "变形协调");
    EXPECT_EQ(checks[10][1], "X1");
    EXPECT_EQ(checks[11][0] + checks[11][1], "主系数复核δ11");
    EXPECT_EQ(checks[13][0] + checks[13][1], "刚度法复核 XX1");
    for (const std::vector<std::string>& row : Rows(checks.begin() + 1, checks.end()))
        EXPECT_EQ(row[4], "通过") << row[0] << " " << row[1];
    EXPECT_TRUE(c.messages.shown.empty());

    // The unit force applied again voids its case and all that follows.
    c.Supply(2, unitForce);
    EXPECT_EQ(Available(c), (std::vector<bool>{false, false, false}));
}

TEST(ResultViewsTest, StructureChangedSinceTheAnalysisIsRefused)
{
    Calculation c(testing::kSimpleBeam, 0);
    c.RunAll({});
    EXPECT_EQ(Available(c), (std::vector<bool>{false, true, true}));
    ASSERT_TRUE(testing::CommitRows(c.model, c.canvas, c.messages, kNodeTable, testing::kSimpleBeam.nodes));
    const Rows before = c.Shown();
    EXPECT_EQ(ShowResultView(c.ctx, ResultView::FinalReactions),
              (StepOutcome{StepEnd::Refused, std::string(kReanalyseMessage)}));
    EXPECT_EQ(c.Shown(), before);
}

}  // namespace
}  // namespace tavrin
