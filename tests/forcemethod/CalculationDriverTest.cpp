#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "forcemethod/CalculationDriver.h"
#include "forcemethod/CalculationFixture.h"
#include "forcemethod/CaseDiagrams.h"
#include "forcemethod/Displacements.h"
#include "forcemethod/ForceMethodTexts.h"
#include "forcemethod/FrameFixtures.h"
#include "forcemethod/ResultChecks.h"
#include "forcemethod/ResultTables.h"
#include "forcemethod/ResultViews.h"
#include "forcemethod/SupplementaryInput.h"

namespace tavrin {
namespace {

using testing::Calculation;
using testing::Rows;

const Rows kReactionHeader{{"支座结点码", "支座类型", "Fx(向右为正)", "Fy(向上为正)", "Fm(顺时针为正)"}};
const std::vector<std::string> kCaseHeader{"杆件号", " Fni ", " Fqi ", " Fmi ", " Fnj ", " Fqj ", " Fmj "};

Rows WithHeader(std::vector<std::string> header, Rows rows)
{
    rows.insert(rows.begin(), std::move(header));
    return rows;
}

Rows Reactions(Rows rows)
{
    return WithHeader(kReactionHeader[0], std::move(rows));
}
Rows CaseForceRows(Rows rows)
{
    return WithHeader(kCaseHeader, std::move(rows));
}

TEST(CalculationDriverTest, DeterminateBeamShowsItsReactionsAndMemberForces)
{
    Calculation c(testing::kSimpleBeam, 0);
    EXPECT_EQ(c.form.caption, "无附属部分的静定结构计算");
    EXPECT_FALSE(c.form.calEnabled);
    EXPECT_FALSE(c.form.resultFrameVisible);
    EXPECT_FALSE(c.form.inputFrameVisible);

    c.Select(0);
    EXPECT_TRUE(c.form.calEnabled);
    RunCalculationStep(c.ctx);
    EXPECT_TRUE(c.form.resultFrameVisible);
    EXPECT_EQ(c.form.resultFrameCaption, "支座反力计算结果：");
    EXPECT_EQ(c.Shown(), Reactions({{"1", "铰支座", "0.", "8.", "0."}, {"3", "活动支座", "0.", "4.", "0."}}));
    EXPECT_EQ(c.Widths(c.MSFlexGrid2), std::vector<int>(5, 1350));

    c.Run(1);
    EXPECT_EQ(c.form.resultFrameCaption, "各杆件内力计算结果：");
    EXPECT_EQ(c.Shown(),
              WithHeader({"杆件号", " Ni ", " Vi ", " Mi ", " Nj ", " Vj ", " Mj "},
                         {{"1", "0.", "8.", "0.", "0.", "8.", "-16."}, {"2", "0.", "-4.", "-16.", "0.", "-4.", "0."}}));
    EXPECT_EQ(c.Widths(c.MSFlexGrid2), std::vector<int>(7, 960));
    EXPECT_TRUE(c.messages.shown.empty());
}

TEST(CalculationDriverTest, ProppedCantileverFromTheLoadsToTheTotalForces)
{
    Calculation c(testing::kCantilever, 1);
    const OneBasedTable<Load> userLoads = c.model.Loads;
    EXPECT_EQ(c.form.items.size(), 7u);

    c.Run(0);
    EXPECT_EQ(c.form.resultFrameCaption, "外荷载下支座反力计算结果：");
    EXPECT_EQ(c.Shown(), Reactions({{"1", "固定支座", "0.", "8.", "-16."}}));
    c.Run(1);
    EXPECT_EQ(c.form.resultFrameCaption, "荷载作用下各杆件内力计算结果：");
    EXPECT_EQ(c.Shown(), CaseForceRows({{"1", "0.", "8.", "16.", "0.", "0.", "0."}}));

    c.Supply(2, {{"集中荷载", "2", "", "向上"}});
    RunCalculationStep(c.ctx);
    EXPECT_EQ(c.form.resultFrameCaption, "单位未知力X1支座反力计算结果：");
    EXPECT_EQ(c.Shown(), Reactions({{"1", "固定支座", "0.", "-1.", "4."}}));
    c.Run(3);
    EXPECT_EQ(c.form.resultFrameCaption, "单位未知力X1各杆件内力计算结果：");
    EXPECT_EQ(c.Shown(), CaseForceRows({{"1", "0.", "-1.", "-4.", "0.", "-1.", "0."}}));

    c.Run(4);
    EXPECT_EQ(c.form.resultFrameCaption, "系数和自由项计算结果：");
    EXPECT_EQ(c.Shown(), (Rows{{" i", "δi1", "Δip"}, {"1", "21.333", "-64."}}));
    EXPECT_EQ(c.model.Loads, userLoads);
    EXPECT_FALSE(c.model.UnitForcesInLoads);
    c.Run(5);
    EXPECT_EQ(c.form.resultFrameCaption, "未知力求解结果：");
    EXPECT_EQ(c.Shown(), (Rows{{"未知力", "X1"}, {"", "3."}}));
    c.Run(6);
    EXPECT_EQ(c.form.resultFrameCaption, "各杆件总内力计算结果：");
    EXPECT_EQ(c.Shown(), CaseForceRows({{"1", "0.", "5.", "4.", "0.", "-3.", "0."}}));
    EXPECT_TRUE(c.messages.shown.empty()) << c.MessageTexts()[0];
}

TEST(CalculationDriverTest, BeamFixedAtBothEndsWithTwoUnknowns)
{
    Calculation c(testing::kCantilever, 2);
    ASSERT_EQ(c.form.items.size(), 9u);
    EXPECT_EQ(c.form.items[8].text, "构件总内力");

    c.Run(0);
    c.Run(1);
    c.Supply(2, {{"集中荷载", "2", "", "向上"}});
    RunCalculationStep(c.ctx);
    c.Run(3);
    c.Supply(4, {{"力偶", "2", "", "逆时针"}});
    RunCalculationStep(c.ctx);
    EXPECT_EQ(c.form.resultFrameCaption, "单位未知力X2支座反力计算结果：");
    EXPECT_EQ(c.Shown(), Reactions({{"1", "固定支座", "0.", "0.", "1."}}));
    c.Run(5);
    EXPECT_EQ(c.Shown(), CaseForceRows({{"1", "0.", "0.", "-1.", "0.", "0.", "-1."}}));

    c.Run(6);
    EXPECT_EQ(c.form.resultFrameCaption, "系数和自由项计算结果：");
    EXPECT_EQ(c.Shown(),
              (Rows{{" i", "δi1", "δi2", "Δip"}, {"1", "21.333", "8.", "-64."}, {"2", "8.", "4.", "-21.333"}}));
    EXPECT_EQ(c.model.FlexibilityMatrix.at(1, 2), c.model.FlexibilityMatrix.at(2, 1));
    c.Run(7);
    EXPECT_EQ(c.Shown(), (Rows{{"未知力", "X1", "X2"}, {"", "4.", "-2.667"}}));
    c.Run(8);
    // qL/2 at either end, qL^2/12 hogging at both walls.
    EXPECT_EQ(c.Shown(), CaseForceRows({{"1", "0.", "4.", "2.67", "0.", "-4.", "2.67"}}));
    EXPECT_TRUE(c.messages.shown.empty());
}

TEST(CalculationDriverTest, PortalFrameFixedAtBothFeetAgreesWithSlopeDeflection)
{
    Calculation c(testing::kLFrame, 3);
    ASSERT_EQ(c.form.items.size(), 11u);
    c.Run(0);
    EXPECT_EQ(c.Shown(), Reactions({{"1", "固定支座", "0.", "12.", "-24."}}));
    c.Run(1);
    const Rows unitForces[] = {
        {{"集中荷载", "4", "", "向右"}}, {{"集中荷载", "4", "", "向上"}}, {{"力偶", "4", "", "逆时针"}}};
    for (int k = 1; k <= 3; ++k) {
        c.Supply(2 * k, unitForces[k - 1]);
        RunCalculationStep(c.ctx);
        c.Run(2 * k + 1);
    }
    c.Run(8);
    const Rows coefficients = c.Shown();
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j)
            EXPECT_EQ(coefficients[i][j], coefficients[j][i]) << i << j;
    c.Run(9);
    EXPECT_EQ(c.Shown(), (Rows{{"未知力", "X1", "X2", "X3"}, {"", "-1.", "6.", "1.333"}}));
    c.Run(10);
    EXPECT_EQ(c.Shown(), CaseForceRows({{"1", "-6.", "-1.", "-1.33", "-6.", "-1.", "2.67"},
                                        {"2", "-1.", "6.", "2.67", "-1.", "-6.", "2.67"},
                                        {"3", "-6.", "1.", "2.67", "-6.", "1.", "-1.33"}}));
    EXPECT_TRUE(c.messages.shown.empty()) << c.MessageTexts()[0];
}

TEST(CalculationDriverTest, HingedCantileverBeamIsCalculatedWithItsAttachedPart)
{
    Calculation c(testing::kGerberBeam, 0);
    EXPECT_EQ(c.model.CalcModel, CalculationModel::DeterminateWithAttached);
    EXPECT_EQ(c.form.caption, "有附属部分的静定结构计算");

    c.Supply(0, {{"1", "2", "3", "2"}});
    RunCalculationStep(c.ctx);
    EXPECT_EQ(c.form.resultFrameCaption, "附属部分支座/铰结点反力计算结果：");
    const Rows attached = c.Shown();
    ASSERT_EQ(attached.size(), 10u);
    EXPECT_EQ(attached[0], (std::vector<std::string>{"结点码", "类型", "Fy(向上为正)", "Fx(向右为正)"}));
    EXPECT_EQ(attached[1], (std::vector<std::string>{"2", "铰结点", "4.", "0."}));
    EXPECT_EQ(attached[2], (std::vector<std::string>{"3", "活动支座", "4.", "0."}));
    EXPECT_EQ(c.Widths(c.MSFlexGrid2), std::vector<int>(4, 1600));

    c.Supply(1, {{"1", "1"}});
    RunCalculationStep(c.ctx);
    EXPECT_EQ(c.form.resultFrameCaption, "基本部分支座/铰结点反力计算结果：");
    const Rows basic = c.Shown();
    ASSERT_EQ(basic.size(), 10u);
    EXPECT_EQ(basic[1], (std::vector<std::string>{"1", "固定支座", "0.", "4.", "-16."}));
    EXPECT_EQ(basic[2], std::vector<std::string>(5, ""));

    c.Run(2);
    EXPECT_EQ(c.form.resultFrameCaption, "各杆件内力计算结果：");
    EXPECT_EQ(c.Shown(),
              WithHeader({"杆件号", " Fni ", " Fvi ", " Fmi ", " Fnj ", " Fvj ", " Fmj "},
                         {{"1", "0.", "4.", "16.", "0.", "4.", "0."}, {"2", "0.", "4.", "0.", "0.", "-4.", "0."}}));
    EXPECT_TRUE(c.messages.shown.empty());
}

// The basic system keeps an attached part; the rows confirmed at items 0 and
// 1 serve every later case while the grid shows the unit-force table, and
// the attached part is recalculated under the unit force before the basic
// part.
TEST(CalculationDriverTest, IndeterminateStructureWithAnAttachedPartRunsToTheEnd)
{
    Calculation c(testing::kHingedBeamOverThreeSupports, 1);
    EXPECT_EQ(c.model.CalcModel, CalculationModel::IndeterminateWithAttached);
    ASSERT_EQ(c.form.items.size(), 8u);

    c.Supply(0, {{"1", "2", "4", "2", "3"}});
    EXPECT_TRUE(c.form.calEnabled);
    RunCalculationStep(c.ctx);
    EXPECT_EQ(GridCells(c.MSFlexGrid2)[1], (std::vector<std::string>{"2", "铰结点", "8.", "0."}));
    EXPECT_EQ(GridCells(c.MSFlexGrid2)[2], (std::vector<std::string>{"4", "活动支座", "8.", "0."}));

    c.Supply(1, {{"1", "1"}});
    RunCalculationStep(c.ctx);
    EXPECT_EQ(c.form.resultFrameCaption, "外荷载下支座反力计算结果：");
    EXPECT_EQ(c.Shown(), Reactions({{"1", "固定支座", "0.", "8.", "-32."}, {"4", "活动支座", "0.", "8.", "0."}}));
    c.Run(2);
    EXPECT_EQ(c.Shown(), CaseForceRows({{"1", "0.", "8.", "32.", "0.", "8.", "0."},
                                        {"2", "0.", "8.", "0.", "0.", "0.", "-16."},
                                        {"3", "0.", "0.", "-16.", "0.", "-8.", "0."}}));

    c.Select(3);
    EXPECT_EQ(c.form.inputTable, SupplementaryTable::UnitForces);
    EXPECT_TRUE(c.form.applyVisible);
    EXPECT_EQ(c.form.inputFrameCaption, "输入未知单位力信息：");
    c.Supply(3, {{"集中荷载", "3", "", "向上"}});
    RunCalculationStep(c.ctx);
    EXPECT_EQ(c.form.resultFrameCaption, "单位未知力X1支座反力计算结果：");
    EXPECT_EQ(c.Shown(), Reactions({{"1", "固定支座", "0.", "-0.5", "2."}, {"4", "活动支座", "0.", "-0.5", "0."}}));
    c.Run(4);
    EXPECT_EQ(c.Shown(), CaseForceRows({{"1", "0.", "-0.5", "-2.", "0.", "-0.5", "0."},
                                        {"2", "0.", "-0.5", "0.", "0.", "-0.5", "2."},
                                        {"3", "0.", "0.5", "2.", "0.", "0.5", "0."}}));

    c.Run(5);
    EXPECT_EQ(c.Shown(), (Rows{{" i", "δi1", "Δip"}, {"1", "16.", "-192."}}));
    c.Run(6);
    EXPECT_EQ(c.Shown(), (Rows{{"未知力", "X1"}, {"", "12."}}));
    c.Run(7);
    EXPECT_EQ(c.Shown(), CaseForceRows({{"1", "0.", "2.", "8.", "0.", "2.", "0."},
                                        {"2", "0.", "2.", "0.", "0.", "-6.", "8."},
                                        {"3", "0.", "6.", "8.", "0.", "-2.", "0."}}));
    EXPECT_TRUE(c.messages.shown.empty()) << c.MessageTexts()[0];

    // Selecting an item again shows the rows the calculation uses.
    c.Select(0);
    EXPECT_EQ(c.MSFlexGrid1.Text(1, 3), "2");
    EXPECT_EQ(c.MSFlexGrid1.Text(1, 4), "3");

    // The same basic-part rows confirmed again keep every result; other rows
    // make every case's results void, since each went through the parts.
    c.Supply(1, {{"1", "1"}});
    const auto holds = [&c](Product p, int caseNo = 0) { return c.calc.progress.Holds(p, caseNo); };
    EXPECT_TRUE(holds(Product::Coefficients) && holds(Product::Unknowns) && holds(Product::FinalForces));
    c.Supply(1, {{"1", "1"}, {"1", "2"}});
    EXPECT_FALSE(holds(Product::Coefficients) || holds(Product::Unknowns) || holds(Product::FinalForces));
    EXPECT_FALSE(holds(Product::EndForces, 0) || holds(Product::EndForces, 1));
    c.Run(5);
    EXPECT_FALSE(holds(Product::Coefficients));
}

// Nodes committed again move the members: a new analysis calculates with the
// new lengths, and nothing calculated before is used or drawn meanwhile.
TEST(CalculationDriverTest, NodesCommittedAgainAreCalculatedWithTheirNewGeometryOnly)
{
    // Beam 1-2 on a pin and a roller, q = 10 down; node 2 moved from (4, 0)
    // to (6, 0): R = qL/2 = 30 at each support, Vj = -30, Mj = 0.
    const testing::FrameTables beam{{{"1", "0", "0", "铰接"}, {"2", "4", "0", "铰接"}},
                                    {{"1", "1", "1", "2"}},
                                    {{"1", "铰支座", "结点下方"}, {"2", "活动支座", "结点下方"}},
                                    {{"均布荷载", "", "1", "向下", "10"}}};
    Calculation c(beam, 0);
    c.Run(0);
    c.Run(1);
    ASSERT_EQ(c.model.Elements.at(1).Vj, -20.0f);
    ASSERT_TRUE(testing::CommitRows(c.model, c.canvas, c.messages, kNodeTable, {{"1", "0", "0"}, {"2", "6", "0"}}));
    EXPECT_EQ(c.model.Elements.at(1), (Element{.Code = 1, .EI = 1, .INode = 1, .JNode = 2, .Length = 6, .CosA = 1}));
    c.Run(1);
    EXPECT_EQ(c.MessageTexts(), std::vector<std::string>{"结构数据或超静定次数已改变，请重新进行“计算类型分析”！"});
    ASSERT_TRUE(AnalyseAndOpenCalculation(c.ctx));
    c.Run(0);
    EXPECT_EQ(c.Shown(), Reactions({{"1", "铰支座", "0.", "30.", "0."}, {"2", "活动支座", "0.", "30.", "0."}}));
    c.Run(1);
    EXPECT_EQ(c.Shown(), WithHeader({"杆件号", " Ni ", " Vi ", " Mi ", " Nj ", " Vj ", " Mj "},
                                    {{"1", "0.", "30.", "0.", "0.", "-30.", "0."}}));

    // The propped cantilever first typed 2 long and moved to length 4 gives
    // X1 = 3qL/8 = 3.
    testing::FrameTables shorter = testing::kCantilever;
    shorter.nodes[1][1] = "2";
    Calculation p(shorter, 1);
    ASSERT_TRUE(testing::CommitRows(p.model, p.canvas, p.messages, kNodeTable, testing::kCantilever.nodes));
    ASSERT_TRUE(AnalyseAndOpenCalculation(p.ctx));
    p.Run(0);
    p.Run(1);
    p.Supply(2, {{"集中荷载", "2", "", "向上"}});
    RunCalculationStep(p.ctx);
    p.Run(3);
    p.Run(4);
    p.Run(5);
    EXPECT_EQ(p.Shown(), (Rows{{"未知力", "X1"}, {"", "3."}}));
    EXPECT_TRUE(p.messages.shown.empty()) << p.MessageTexts()[0];
}

// A part row is confirmed only when the calculation can read every number in
// it, and an attached part only where it hangs on its nodes by forces alone;
// a refused row leaves the table showing and nothing confirmed.
TEST(CalculationDriverTest, PartRowsTheCalculationCannotReadOrHangAreNotConfirmed)
{
    const struct {
        int item;
        Rows rows;
        const char* message;
    } cases[] = {
        {0, {{"1", "2", "3", "2x"}}, "第1行“单元1”列：“2x”不是数字，请改正后再按“O&K”确认！"},
        {0,
         {{"1", "2", "3", "2"}, {"2", "4", "40000", "1"}},
         "第2行“铰结点/支座码”列：整数值超出-32768～32767的范围，请改正后再按“O&K”确认！"},
        {1, {{"1", " 1 ", "abc"}}, "第1行“单元2”列：“abc”不是数字，请改正后再按“O&K”确认！"},
        {0,
         {{"1", "1", "3", "1", "2"}},
         "第1行“取矩铰结点码”列：结点1的结点类型是“刚接”，不是“铰接”，本部分在此与其他单元或固定支座刚性相连，"
         "弯矩会传入本部分，请改正后再按“O&K”确认！"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.message);
        Calculation c(testing::kGerberBeam, 0);
        c.Select(k.item);
        c.Type(k.rows);
        EXPECT_EQ(ConfirmSupplementaryInput(c.ctx), (StepOutcome{StepEnd::Refused, k.message}));
        EXPECT_EQ(c.MessageTexts(), std::vector<std::string>{k.message});
        EXPECT_TRUE(c.form.inputFrameVisible);
        EXPECT_FALSE(c.form.calEnabled);
        EXPECT_FALSE(c.calc.attachedPartsConfirmed || c.calc.basicPartsConfirmed);
    }
}

TEST(CalculationDriverTest, SupplementaryTablesAndTheirLayouts)
{
    struct Case {
        const char* name;
        const testing::FrameTables* frame;
        int degree;
        int item;
        SupplementaryTable table;
        std::string caption;
        int rows;
        std::vector<std::string> headers;  // first and last
        std::vector<int> widths;           // first columns
        std::vector<std::string> kinds;
        bool applyVisible;
    };
    const Case cases[] = {
        {"attached parts",
         &testing::kGerberBeam,
         0,
         0,
         SupplementaryTable::AttachedParts,
         "附属部分补充输入信息",
         6,
         {"计算顺序", "单元17"},
         {1000, 1500, 1500, 700},
         std::vector<std::string>(20, "T"),
         false},
        {"basic parts",
         &testing::kGerberBeam,
         0,
         1,
         SupplementaryTable::BasicParts,
         "基本部分补充输入信息",
         6,
         {"基本部分", "单元19"},
         {900, 700},
         std::vector<std::string>(20, "T"),
         false},
        {"unit force X2",
         &testing::kCantilever,
         2,
         4,
         SupplementaryTable::UnitForces,
         "输入未知单位力信息：",
         10,
         {"荷载类型", "荷载方向"},
         {900, 900, 900, 900},
         {"F", "T", "T", "F"},
         true},
        {"unit force X1 with an attached part",
         &testing::kHingedBeamOverThreeSupports,
         1,
         3,
         SupplementaryTable::UnitForces,
         "输入未知单位力信息：",
         10,
         {"荷载类型", "荷载方向"},
         {900, 900, 900, 900},
         {"F", "T", "T", "F"},
         true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Calculation c(*k.frame, k.degree);
        c.Select(0);
        c.MSFlexGrid1.SetText(1, 1, "stale");
        const std::size_t opsBefore = c.canvas.ops.size();
        c.Select(k.item);
        EXPECT_EQ(c.form.inputTable, k.table);
        EXPECT_TRUE(c.form.inputFrameVisible);
        EXPECT_EQ(c.form.inputFrameCaption, k.caption);
        EXPECT_EQ(c.form.applyVisible, k.applyVisible);
        EXPECT_EQ(c.MSFlexGrid1.Rows(), k.rows);
        EXPECT_EQ(c.MSFlexGrid1.Text(0, 0), k.headers.front());
        EXPECT_EQ(c.MSFlexGrid1.Text(0, c.MSFlexGrid1.Cols() - 1), k.headers.back());
        EXPECT_EQ(c.MSFlexGrid1.Text(1, 1), "");
        EXPECT_EQ(c.MSFlexGrid1.Row(), 1);
        EXPECT_EQ(c.MSFlexGrid1.Col(), 0);
        for (std::size_t w = 0; w < k.widths.size(); ++w)
            EXPECT_EQ(c.MSFlexGrid1.ColWidth(static_cast<int>(w)), k.widths[w]) << w;
        EXPECT_EQ(c.form.editorKinds, k.kinds);
        // The input form's column kinds are not the calculation form's.
        EXPECT_NE(c.model.ColumnEditorKinds, k.kinds);
        const bool cleared = c.canvas.ops.size() > opsBefore && c.canvas.ops[opsBefore].kind == CanvasOp::Kind::Cls;
        EXPECT_EQ(cleared, k.table == SupplementaryTable::UnitForces);
    }
}

TEST(CalculationDriverTest, UnitForceRowsBecomeLoadsOfMagnitudeOne)
{
    Calculation c(testing::kCantilever, 2);
    c.Select(4);
    EXPECT_FALSE(c.form.calEnabled);
    c.Type({{"集中荷载", "2", "", "向下"}, {"力偶", "2", "1", "顺时针"}});
    ASSERT_EQ(ApplyUnitForces(c.ctx).end, StepEnd::Done);
    ASSERT_EQ(c.model.LoadCount(), 2);
    EXPECT_EQ(c.model.Loads.at(1), (Load{"集中荷载", 1.0f, "向下", 2, 0}));
    EXPECT_EQ(c.model.Loads.at(2), (Load{"力偶", 1.0f, "顺时针", 2, 1}));
    EXPECT_FALSE(c.form.calEnabled);
    ConfirmSupplementaryInput(c.ctx);
    EXPECT_TRUE(c.form.calEnabled);
    EXPECT_FALSE(c.form.inputFrameVisible);
}

TEST(CalculationDriverTest, UnfitUnitForceRowsAreRefusedAndTheLoadsStay)
{
    struct Case {
        Rows rows;
        const char* message;
    };
    const Case cases[] = {
        {{{"均布荷载", "", "1", "向下"}}, "第1行：单位未知力只能是“集中荷载”或“力偶”，不能是“均布荷载”！"},
        {{{"集中荷载", "2", "", "向上"}, {"集中荷载", "9", "", "向上"}}, "第2行：作用结点“9”不存在！"},
        {{{"力偶", "2", "5", "顺时针"}}, "第1行：作用单元“5”不存在！"},
        {{{"集中荷载", "2", "", "顺时针"}}, "第1行：荷载方向“顺时针”不适用于集中荷载！"},
        {{{"集中荷载", "99999", "", "向上"}}, "第1行：作用结点“99999”不存在！"},
        {{{"集中荷载", "x4", "", "向上"}}, "第1行：作用结点“x4”不是数字！"},
        {{{"力偶", "2", "1单元", "顺时针"}}, "第1行：作用单元“1单元”不是数字！"},
        {{}, "请先在表中输入单位未知力，再按“交互检查”！"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.message);
        Calculation c(testing::kCantilever, 1);
        const OneBasedTable<Load> userLoads = c.model.Loads;
        c.Select(2);
        c.Type(k.rows);
        EXPECT_EQ(ApplyUnitForces(c.ctx), (StepOutcome{StepEnd::Refused, k.message}));
        EXPECT_EQ(c.model.Loads, userLoads);
        EXPECT_FALSE(c.model.UnitForcesInLoads);
        EXPECT_EQ(c.MessageTexts(), std::vector<std::string>{k.message});
    }
}

// X1 of the beam fixed at node 1 with a hinge at node 2, typed as a couple
// at that hinge, where elements 1 and 2 meet: only a row that names the
// member end it loads is applied.
TEST(CalculationDriverTest, UnitCoupleAtAHingeOfTwoMembersMustNameItsElement)
{
    Calculation c(testing::kHingedBeamOverThreeSupports, 1);
    c.Select(3);
    c.Type({{"力偶", "2", "", "顺时针"}});
    const char* message = "第1行：力偶作用在连接单元1、单元2的铰结点2上，须在“作用单元”中填写它作用于哪个单元！";
    EXPECT_EQ(ApplyUnitForces(c.ctx), (StepOutcome{StepEnd::Refused, message}));
    EXPECT_FALSE(c.model.UnitForcesInLoads);
    c.Type({{"力偶", "2", "2", "顺时针"}});
    EXPECT_EQ(ApplyUnitForces(c.ctx).end, StepEnd::Done);
}

// Each row acts +1 along its axis whatever its arrow: X2 downward at node 2
// is X1 again, and X3 = X1 + X2 adds nothing; either would leave the
// canonical equations without a solution, as would a unit force at a node
// (3) that no member touches.
TEST(CalculationDriverTest, UnitForceRepeatingOthersOrOffTheMembersIsRefusedAtTheCheck)
{
    testing::FrameTables withStrayNode = testing::kCantilever;
    withStrayNode.nodes.push_back({"3", "8", "0", "自由端"});
    Calculation c(withStrayNode, 3);
    c.Supply(2, {{"集中荷载", "2", "", "向上"}});
    const OneBasedTable<Load> x1 = c.model.Loads;

    c.Select(4);
    c.Type({{"集中荷载", "2", "", "向下"}});
    EXPECT_EQ(ApplyUnitForces(c.ctx), (StepOutcome{StepEnd::Refused, "X2与X1相同，典型方程将无解！"}));
    EXPECT_EQ(c.model.Loads, x1);

    c.Type({{"力偶", "2", "", "逆时针"}});
    ASSERT_EQ(ApplyUnitForces(c.ctx).end, StepEnd::Done);
    c.Select(6);
    c.Type({{"力偶", "3", "", "顺时针"}});
    EXPECT_EQ(ApplyUnitForces(c.ctx), (StepOutcome{StepEnd::Refused, "第1行：作用结点“3”不在任何单元上！"}));

    c.Type({{"力偶", "2", "", "顺时针"}, {"集中荷载", "2", "", "向上"}});
    EXPECT_EQ(ApplyUnitForces(c.ctx), (StepOutcome{StepEnd::Refused, "X3与X1、X2线性相关，典型方程将无解！"}));
    c.Type({{"集中荷载", "2", "", "向右"}, {"集中荷载", "2", "", "向上"}});
    EXPECT_EQ(ApplyUnitForces(c.ctx).end, StepEnd::Done);
}

TEST(CalculationDriverTest, UserLoadsAreKeptWhicheverItemAppliesTheFirstUnitForce)
{
    Calculation c(testing::kCantilever, 2);
    const OneBasedTable<Load> userLoads = c.model.Loads;

    c.Select(4);
    c.Type({{"力偶", "2", "", "逆时针"}});
    ASSERT_EQ(ApplyUnitForces(c.ctx).end, StepEnd::Done);
    EXPECT_EQ(c.model.SavedLoads, userLoads);
    EXPECT_TRUE(c.model.UnitForcesInLoads);

    c.Select(2);
    c.Type({{"集中荷载", "2", "", "向上"}});
    ASSERT_EQ(ApplyUnitForces(c.ctx).end, StepEnd::Done);
    ASSERT_EQ(ApplyUnitForces(c.ctx).end, StepEnd::Done);
    EXPECT_EQ(c.model.SavedLoads, userLoads);
    EXPECT_EQ(c.model.Loads.at(1).LoadType, "集中荷载");

    // Closing the form ends the calculation with the user's loads in place.
    CloseCalculationForm(c.ctx);
    EXPECT_FALSE(c.form.visible);
    EXPECT_EQ(c.model.Loads, userLoads);
    EXPECT_FALSE(c.model.UnitForcesInLoads);
}

// Going back to the external loads puts them back; the coefficient step then
// finds no unit force in Loads and leaves them as they are.
TEST(CalculationDriverTest, CoefficientStepRestoresTheLoadsOnlyWhenUnitForcesReplacedThem)
{
    Calculation c(testing::kCantilever, 1);
    const OneBasedTable<Load> userLoads = c.model.Loads;
    c.Supply(2, {{"集中荷载", "2", "", "向上"}});
    RunCalculationStep(c.ctx);
    c.Run(3);
    c.Run(0);
    EXPECT_EQ(c.model.Loads, userLoads);
    EXPECT_EQ(c.Shown(), Reactions({{"1", "固定支座", "0.", "8.", "-16."}}));
    c.Run(1);
    c.model.SavedLoads.Clear();
    c.Run(4);
    EXPECT_EQ(c.model.Loads, userLoads);
    EXPECT_EQ(c.Shown(), (Rows{{" i", "δi1", "Δip"}, {"1", "21.333", "-64."}}));
    EXPECT_TRUE(c.messages.shown.empty());
}

TEST(CalculationDriverTest, LoadsCommittedWhileAUnitForceActsAreTheUsersLoads)
{
    Calculation c(testing::kCantilever, 1);
    c.Run(0);
    c.Run(1);
    c.Supply(2, {{"集中荷载", "2", "", "向上"}});
    ASSERT_TRUE(testing::CommitRows(c.model, c.canvas, c.messages, kLoadTable, {{"均布荷载", "", "1", "向下", "4"}}));
    const OneBasedTable<Load> newLoads = c.model.Loads;
    // What was calculated under the old loads is void: the analysis is asked
    // for again, and it keeps the new loads as the user's.
    c.Run(0);
    EXPECT_EQ(c.messages.shown.back().text, "结构数据或超静定次数已改变，请重新进行“计算类型分析”！");
    ASSERT_TRUE(AnalyseAndOpenCalculation(c.ctx));
    EXPECT_EQ(c.model.Loads, newLoads);
    c.Run(0);
    c.Run(1);
    c.Supply(2, {{"集中荷载", "2", "", "向上"}});
    c.Run(2);
    c.Run(3);
    c.Run(4);
    EXPECT_EQ(c.model.Loads, newLoads);
    c.Run(5);
    EXPECT_EQ(c.Shown(), (Rows{{"未知力", "X1"}, {"", "6."}}));
}

TEST(CalculationDriverTest, StepsOutOfOrderOrWithoutTheirInputSaySoAndComputeNothing)
{
    struct Case {
        const char* name;
        const testing::FrameTables* frame;
        int degree;
        std::function<void(Calculation&)> steps;
        const char* message;
    };
    const Case cases[] = {
        {"coefficients before any end forces", &testing::kCantilever, 1, [](Calculation& c) { c.Run(4); },
         "请先计算外荷载作用下的各构件内力！"},
        {"coefficients without the unit case", &testing::kCantilever, 1,
         [](Calculation& c) {
             c.Run(0);
             c.Run(1);
             c.Run(4);
         },
         "请先计算单位未知力X1作用下的各构件内力！"},
        {"unknowns before coefficients", &testing::kCantilever, 1, [](Calculation& c) { c.Run(5); },
         "请先计算自由项系数！"},
        {"total forces before the unknowns", &testing::kCantilever, 1, [](Calculation& c) { c.Run(6); },
         "请先求解未知力！"},
        {"end forces before reactions", &testing::kSimpleBeam, 0, [](Calculation& c) { c.Run(1); },
         "请先计算外荷载作用下的支座反力！"},
        {"end forces of X1 after the reactions of case 0", &testing::kCantilever, 1,
         [](Calculation& c) {
             c.Run(0);
             c.Supply(2, {{"集中荷载", "2", "", "向上"}});
             c.Run(3);
         },
         "请先计算单位未知力X1作用下的支座反力！"},
        {"unit case without its unit force", &testing::kCantilever, 1,
         [](Calculation& c) {
             c.Select(2);
             ConfirmSupplementaryInput(c.ctx);
             RunCalculationStep(c.ctx);
         },
         "请先在“单位未知力X1”的输入表中输入单位力，并按“交互检查”！"},
        {"basic part before the attached parts are confirmed", &testing::kGerberBeam, 0,
         [](Calculation& c) {
             c.Supply(1, {{"1", "1"}});
             RunCalculationStep(c.ctx);
         },
         "请先输入附属部分补充信息，并按“O&K”确认！"},
        {"elements committed after the analysis", &testing::kCantilever, 1,
         [](Calculation& c) {
             testing::CommitRows(c.model, c.canvas, c.messages, kElementTable,
                                 {{"1", "1", "1", "2"}, {"2", "1", "1", "2"}});
             c.Run(0);
         },
         "结构数据或超静定次数已改变，请重新进行“计算类型分析”！"},
        {"nodes committed after the analysis", &testing::kCantilever, 1,
         [](Calculation& c) {
             c.Run(0);
             testing::CommitRows(c.model, c.canvas, c.messages, kNodeTable, testing::kCantilever.nodes);
             c.Run(1);
         },
         "结构数据或超静定次数已改变，请重新进行“计算类型分析”！"},
        {"degree changed after the analysis", &testing::kCantilever, 1,
         [](Calculation& c) {
             AcceptModelType(c.model, {true, "2"}, c.messages);
             c.Run(0);
         },
         "结构数据或超静定次数已改变，请重新进行“计算类型分析”！"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Calculation c(*k.frame, k.degree);
        k.steps(c);
        ASSERT_FALSE(c.messages.shown.empty());
        EXPECT_EQ(c.messages.shown.back().text, k.message);
    }
}

// A part table ends at its first row without a number in column 1: a row
// with only the part's own number would drop that part without a word and
// let the basic part be solved as if it were the whole structure.
TEST(CalculationDriverTest, PartRowsNamingNoElementsAreRefusedBeforeAnythingIsComputed)
{
    const struct {
        const char* name;
        Rows attached;
        Rows basic;
        const char* message;
    } cases[] = {
        {"basic part with its number only",
         {{"1", "2", "3", "2"}},
         {{"1"}},
         "请先在基本部分补充信息第1行输入单元号，并按“O&K”确认！"},
        {"second basic part with its number only",
         {{"1", "2", "3", "2"}},
         {{"1", "1"}, {"2"}},
         "请先在基本部分补充信息第2行输入单元号，并按“O&K”确认！"},
        {"attached part with its number only",
         {{"1"}},
         {{"1", "1"}},
         "请先在附属部分补充信息第1行输入结点码和单元号，并按“O&K”确认！"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        Calculation c(testing::kGerberBeam, 0);
        c.Supply(0, k.attached);
        RunCalculationStep(c.ctx);
        c.Supply(1, k.basic);
        RunCalculationStep(c.ctx);
        ASSERT_FALSE(c.messages.shown.empty());
        EXPECT_EQ(c.messages.shown.back().text, k.message);
        EXPECT_EQ(c.model.Supports.at(1).Fy, 0.0f) << "the fixed support of the basic part";
        c.Run(2);
        EXPECT_EQ(c.messages.shown.back().text, "请先计算外荷载作用下的支座反力！");
    }
}

// Loads, stiffnesses and spans that the input accepts can still overflow the
// 32-bit results: the step that meets such a number stops with a message,
// shows no "NaN" or "Inf", keeps the model's results as they were, and the
// steps after it ask for it again.
TEST(CalculationDriverTest, ResultsBeyondTheFloatRangeStopTheirStep)
{
    testing::FrameTables hugeLoad = testing::kSimpleBeam;
    hugeLoad.loads[0][4] = "3e38";  // 3e38 * 2 about the pin
    testing::FrameTables tinyEI = testing::kCantilever;
    tinyEI.elements[0][1] = "2e-38";  // d11 = 21.333 / EI
    testing::FrameTables longSpan = testing::kCantilever;
    longSpan.nodes[1][1] = "1e10";  // D1p = -q L^4 / 8 EI = -2.5e39
    const struct {
        const char* name;
        const testing::FrameTables* frame;
        int degree;
        int stopped;  // the item whose results overflow
        const char* next;
    } cases[] = {
        {"load of 3e38", &hugeLoad, 0, 0, "请先计算外荷载作用下的支座反力！"},
        {"EI of 2e-38", &tinyEI, 1, 4, "请先计算自由项系数！"},
        {"span of 1e10", &longSpan, 1, 4, "请先计算自由项系数！"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        Calculation c(*k.frame, k.degree);
        StructureModel before;
        for (int m = 0; m <= k.stopped; ++m) {
            before = c.model;
            if (m == 2)
                c.Supply(2, {{"集中荷载", "2", "", "向上"}});
            else
                c.Select(m);
            RunCalculationStep(c.ctx);
            for (const auto& row : c.Shown())
                for (const std::string& cell : row) {
                    EXPECT_EQ(cell.find("Inf"), std::string::npos) << m;
                    EXPECT_EQ(cell.find("NaN"), std::string::npos) << m;
                }
        }
        ASSERT_EQ(c.MessageTexts(),
                  std::vector<std::string>{"计算结果超出数值范围，请检查荷载、EI和结点坐标是否过大或过小！"});
        EXPECT_EQ(c.model.Supports, before.Supports);
        EXPECT_EQ(c.model.Elements, before.Elements);
        EXPECT_EQ(c.model.FlexibilityMatrix, before.FlexibilityMatrix);
        EXPECT_EQ(c.model.FreeTerms, before.FreeTerms);
        c.Run(k.stopped + 1);
        EXPECT_EQ(c.messages.shown.back().text, k.next);
    }
}

// "计算(&C)" says how it ended: done; done after a warning, its results
// standing; refused with the message it showed last.
TEST(CalculationDriverTest, EachStepSaysHowItEnded)
{
    // Element 1 starts at node 2, which no support holds and element 2 also
    // reaches: the chain walk warns and still gives the end forces.
    testing::FrameTables offTheChain = testing::kSimpleBeam;
    offTheChain.elements = {{"1", "1", "2", "3"}, {"2", "1", "1", "2"}};
    testing::FrameTables hugeLoad = testing::kSimpleBeam;
    hugeLoad.loads[0][4] = "3e38";
    const struct {
        const char* name;
        const testing::FrameTables* frame;
        std::vector<int> items;  // in this order; the last one judged
        StepOutcome outcome;
    } cases[] = {
        {"reactions", &testing::kSimpleBeam, {0}, {StepEnd::Done, ""}},
        {"member forces off the chain",
         &offTheChain,
         {0, 1},
         // The walk's warning, then how far its table is from the solution.
         {StepEnd::DoneWithWarning, TableDeviationText("48.", 1, "Mj")}},
        {"member forces before the reactions",
         &testing::kSimpleBeam,
         {1},
         {StepEnd::Refused, "请先计算外荷载作用下的支座反力！"}},
        {"reactions beyond the float range",
         &hugeLoad,
         {0},
         {StepEnd::Refused, "计算结果超出数值范围，请检查荷载、EI和结点坐标是否过大或过小！"}},
        {"no item selected", &testing::kSimpleBeam, {}, {StepEnd::Refused, ""}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        Calculation c(*k.frame, 0);
        StepOutcome outcome = RunCalculationStep(c.ctx);
        for (const int m : k.items) {
            c.Select(m);
            outcome = RunCalculationStep(c.ctx);
        }
        EXPECT_EQ(outcome.end, k.outcome.end);
        EXPECT_EQ(outcome.message, k.outcome.message);
    }
}

// The result frame and the input frame share one place on the form; a
// refused step leaves the input table its message asks for in sight.
TEST(CalculationDriverTest, OnlyOneFrameShowsWhereTheyShareThePlace)
{
    struct Case {
        const char* name;
        std::function<void(Calculation&)> steps;
        bool resultShows;
        bool inputShows;
    };
    const Case cases[] = {
        {"unit-force item chosen after a result",
         [](Calculation& c) {
             c.Run(0);
             c.Select(2);
         },
         false, true},
        {"calculated before its unit force is applied",
         [](Calculation& c) {
             c.Run(0);
             c.Run(1);
             c.Run(2);
         },
         false, true},
        {"calculated with the unit force applied, not yet confirmed",
         [](Calculation& c) {
             c.Run(0);
             c.Select(2);
             c.Type({{"集中荷载", "2", "", "向上"}});
             ASSERT_EQ(ApplyUnitForces(c.ctx).end, StepEnd::Done);
             RunCalculationStep(c.ctx);
         },
         true, false},
        {"the applied unit force's item chosen again and calculated",
         [](Calculation& c) {
             c.Supply(2, {{"集中荷载", "2", "", "向上"}});
             c.Run(2);
         },
         true, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Calculation c(testing::kCantilever, 1);
        k.steps(c);
        EXPECT_EQ(c.form.resultFrameVisible, k.resultShows);
        EXPECT_EQ(c.form.inputFrameVisible, k.inputShows);
    }
}

// "计算类型分析" again, e.g. to come back to the form after a diagram: the
// calculation of the structure as it still is goes on with its results; a
// changed structure or a closed form starts afresh.
TEST(CalculationDriverTest, AnalysisAgainGoesOnWithTheCalculationOfTheSameStructure)
{
    struct Case {
        const char* name;
        std::function<void(Calculation&)> between;
        bool goesOn;
    };
    const Case cases[] = {
        {"nothing changed", [](Calculation&) {}, true},
        {"unit force X1 in place of the loads",
         [](Calculation& c) {
             c.Supply(2, {{"集中荷载", "2", "", "向上"}});
         },
         true},
        {"a node moved",
         [](Calculation& c) {
             testing::CommitRows(c.model, c.canvas, c.messages, kNodeTable,
                                 {{"1", "0", "0", "刚接"}, {"2", "5", "0", "自由端"}});
         },
         false},
        {"the same nodes committed again",
         [](Calculation& c) {
             testing::CommitRows(c.model, c.canvas, c.messages, kNodeTable,
                                 {{"1", "0", "0", "刚接"}, {"2", "4", "0", "自由端"}});
         },
         false},
        {"the degree changed",
         [](Calculation& c) {
             AcceptModelType(c.model, {true, "2"}, c.messages);
         },
         false},
        {"the form closed", [](Calculation& c) { CloseCalculationForm(c.ctx); }, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Calculation c(testing::kCantilever, 1);
        c.Run(0);
        k.between(c);
        EXPECT_TRUE(AnalyseAndOpenCalculation(c.ctx));
        EXPECT_TRUE(c.form.visible);
        EXPECT_EQ(c.calc.progress.ReactionsCase() == 0, k.goesOn);
        EXPECT_EQ(c.form.selectedItem != -1, k.goesOn);
    }
}

TEST(CalculationDriverTest, NumbersOutsideTheTablesEndTheStepWithAMessage)
{
    Calculation c(testing::kGerberBeam, 0);
    c.Supply(0, {{"1", "2", "3", "9"}});
    RunCalculationStep(c.ctx);
    EXPECT_FALSE(c.messages.shown.empty());
    c.messages.shown.clear();
    c.Supply(0, {{"1", "2", "3", "2"}});
    c.Supply(1, {{"1", "7"}});
    RunCalculationStep(c.ctx);
    EXPECT_FALSE(c.messages.shown.empty());

    // Nothing selected runs nothing.
    c.messages.shown.clear();
    c.Select(-1);
    RunCalculationStep(c.ctx);
    EXPECT_TRUE(c.messages.shown.empty());
}

TEST(CalculationDriverTest, RefusedAnalysisLeavesFormModelAndPictureAlone)
{
    StructureModel model;
    RecordingCanvas canvas;
    RecordingMessages messages;
    ASSERT_TRUE(testing::CommitFrame(
        model, canvas, messages,
        {{{"1", "0", "0", "刚接"}, {"2", "4", "0", "自由端"}, {"3", "0", "4", "自由端"}, {"4", "-4", "0", "自由端"}},
         {{"1", "1", "1", "2"}, {"2", "1", "1", "3"}, {"3", "1", "1", "4"}},
         {{"1", "固定支座", "结点下方"}},
         {}}));
    const StructureModel before = model;
    const std::size_t ops = canvas.ops.size();
    MemoryGrid in, out;
    CalculationFormState form;
    CalculationState calc;
    CalculationContext ctx{model, in, out, form, calc, canvas, messages};

    EXPECT_FALSE(AnalyseAndOpenCalculation(ctx));
    EXPECT_EQ(messages.shown.back().text, "伸出单元数>2，本程序不能计算刚结点有弯矩分配的工况！1刚节点");
    EXPECT_TRUE(model == before);
    EXPECT_EQ(canvas.ops.size(), ops);
    EXPECT_FALSE(form.visible);
    EXPECT_TRUE(form.items.empty());
    EXPECT_FALSE(calc.analysed);
}

class ScaleTwo : public DiagramHost {
public:
    void ShowPicture(std::string_view) override {}
    std::optional<std::string> AskScale(std::string_view, std::string_view) override { return "2"; }
};

// The state of cmdCaseDiagram with list item `item` selected, and what
// pressing it then does to the picture.
struct CaseDiagramPress {
    bool enabled;
    StepOutcome outcome;
    std::string caption;
};

CaseDiagramPress PressCaseDiagram(Calculation& c, int item)
{
    ScaleTwo host;
    c.Select(item);
    c.canvas.caption.clear();
    const bool enabled = CaseDiagramEnabled(c.model, c.form, c.calc);
    return {enabled, DrawSelectedCaseDiagram(c.ctx, host), c.canvas.caption};
}

// The propped cantilever, item by item (1: end forces under the loads, 3:
// those of X1): a case is drawn once its end forces are calculated, while
// the structure and the unit force are the ones they were calculated for.
TEST(CalculationDriverTest, CaseMomentDiagramOnceItsEndForcesAreCalculatedForTheStructureAsItIs)
{
    Calculation c(testing::kCantilever, 1);
    const StepOutcome refusedX1{StepEnd::Refused, "请先计算单位未知力X1作用下的各构件内力！"};
    const Rows unitForce{{"集中荷载", "2", "", "向上"}};

    CaseDiagramPress p = PressCaseDiagram(c, 1);
    EXPECT_FALSE(p.enabled);
    EXPECT_EQ(p.outcome, (StepOutcome{StepEnd::Refused, "请先计算外荷载作用下的各构件内力！"}));
    EXPECT_TRUE(ReadyCases(c.model, c.calc).empty());

    c.Run(0);
    c.Run(1);
    p = PressCaseDiagram(c, 1);
    EXPECT_TRUE(p.enabled);
    EXPECT_EQ(p.outcome, StepOutcome{});
    EXPECT_EQ(p.caption, "MP图");
    EXPECT_EQ(PressCaseDiagram(c, 0).outcome.end, StepEnd::Refused) << "a reaction item draws no diagram";
    p = PressCaseDiagram(c, 3);
    EXPECT_FALSE(p.enabled);
    EXPECT_EQ(p.outcome, refusedX1);
    EXPECT_EQ(p.caption, "");

    c.Supply(2, unitForce);
    RunCalculationStep(c.ctx);
    c.Run(3);
    p = PressCaseDiagram(c, 3);
    EXPECT_TRUE(p.enabled);
    EXPECT_EQ(p.caption, "M\u03041图");
    EXPECT_EQ(ReadyCases(c.model, c.calc), (std::vector<int>{0, 1}));
    EXPECT_EQ(CaseDiagramChoices({0, 1}), (std::vector<std::string>{"MP图（外荷载）", "M\u03041图（单位未知力X1）"}));

    // A unit force applied again has no end forces yet.
    c.Supply(2, unitForce);
    EXPECT_EQ(PressCaseDiagram(c, 3).outcome, refusedX1);
    EXPECT_EQ(ReadyCases(c.model, c.calc), std::vector<int>{0});

    // Loads committed anew: the case moments are no longer the structure's.
    EXPECT_TRUE(testing::CommitRows(c.model, c.canvas, c.messages, kLoadTable, {{"均布荷载", "", "1", "向下", "3"}}));
    p = PressCaseDiagram(c, 1);
    EXPECT_FALSE(p.enabled);
    EXPECT_EQ(p.outcome, (StepOutcome{StepEnd::Refused, "结构数据或超静定次数已改变，请重新进行“计算类型分析”！"}));
    EXPECT_TRUE(ReadyCases(c.model, c.calc).empty());
}

// A determinate structure has one case: its member forces are MP.
TEST(CalculationDriverTest, MemberForcesOfADeterminateStructureDrawMP)
{
    Calculation c(testing::kSimpleBeam, 0);
    c.Run(0);
    c.Run(1);
    const CaseDiagramPress p = PressCaseDiagram(c, 1);
    EXPECT_TRUE(p.enabled);
    EXPECT_EQ(p.caption, "MP图");
    EXPECT_EQ(ReadyCases(c.model, c.calc), std::vector<int>{0});
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

// A propped cantilever of 6 (EI 2) whose load of 16 acts at mid-span of its
// one member, typed between the nodes: the tables' own route gives
// X1 = 5P/16 = 5, the wall's moment 3PL/16 = 18, the checks pass and no
// warning says the tables differ from the double solution; the same with a
// triangle rising from 0 at the wall to 4 at the prop: the cantilever's tip
// sinks 11qL^4/120EI, so X1 = 11qL/40 = 6.6.
TEST(CalculationDriverTest, LoadsBetweenTheNodesThroughEveryStep)
{
    struct Case {
        const char* name;
        testing::Rows load;
        std::string X1;
    };
    const Case cases[] = {
        {"force at mid-span", {{"集中荷载", "", "1", "向下", "16", "3"}}, "5."},
        {"triangle rising toward the prop", {{"均布荷载", "", "1", "向下", "0", "", "", "4"}}, "6.6"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const testing::FrameTables frame{{{"1", "0", "0", "刚接"}, {"2", "6", "0", "自由端"}},
                                         {{"1", "2", "1", "2"}},
                                         {{"1", "固定支座", "结点左侧"}},
                                         k.load};
        Calculation c(frame, 1);
        c.RunAll({{{"集中荷载", "2", "", "向上"}}});
        EXPECT_TRUE(c.messages.shown.empty()) << c.MessageTexts().front();
        c.Select(5);
        RunCalculationStep(c.ctx);
        EXPECT_EQ(c.Shown(), (testing::Rows{{"未知力", "X1"}, {"", k.X1}}));
        const std::optional<std::vector<ResultCheck>> checks = CheckFinalResults(c.model);
        ASSERT_TRUE(checks);
        for (const ResultCheck& check : *checks)
            EXPECT_TRUE(check.Passed()) << check.what << " " << check.where;
    }
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

// A propped cantilever of 4 (EI 2000) without loads, the prop X1 (upward at
// node 2): the prop settling 0.01 gives X1 = -3 EI c / L^3 = -0.9375; the top
// face 20 warmer (alpha 1e-5, h 0.5) gives X1 = 3 EI kappa / 2L = 0.3. The
// tables' route solves it, the coefficient table shows the new free terms,
// every check passes (the stiffness method with the settlement and the heat
// imposed) and the prop's displacement is the settlement. The wall sinking
// 0.01 is the prop rising as much: Delta_1c = -R̄1 c = -0.01 (R̄1 = -1 at
// the wall), X1 = +0.9375. The ledger's row of each free term names its
// support or member, its factors and its share.
TEST(CalculationDriverTest, SettlementAndHeatThroughEveryStep)
{
    struct Case {
        const char* name;
        std::vector<SupportSettlement> settlements;
        std::vector<TemperatureChangeRow> temperatures;
        double X1;
        double propMoves;
        std::vector<std::string> ledgerRow;  // none where the settlement is c1
    };
    const Case cases[] = {
        {"prop settles", {{2, "竖向位移", -0.01f}}, {}, -0.9375, -0.01, {}},
        {"wall sinks",
         {{1, "竖向位移", -0.01f}},
         {},
         0.9375,
         0.0,
         {"Δ1c", "1", "竖向位移", "", "-1.", "-0.01", "", "", "", "-0.01"}},
        {"faces heated unequally",
         {},
         {{1, 20.0f, 0.0f, 1e-5f, 0.5f}},
         0.3,
         0.0,
         {"Δ1t", "1", "1e-05", "10", "0.", "0.0004", "-8.", "", "", "-0.0032"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const testing::FrameTables frame{{{"1", "0", "0", "刚接"}, {"2", "4", "0", "自由端"}},
                                         {{"1", "2000", "1", "2"}},
                                         {{"1", "固定支座", "结点左侧"}},
                                         {}};
        Calculation c(frame, 1);
        for (const SupportSettlement& s : k.settlements)
            c.model.Settlements.Append(s);
        for (const TemperatureChangeRow& t : k.temperatures)
            c.model.Temperatures.Append(t);
        c.RunAll({{{"集中荷载", "2", "", "向上"}}});
        EXPECT_NEAR(c.model.RedundantForces.at(1), k.X1, 1e-5);
        const std::optional<std::vector<ResultCheck>> checks = CheckFinalResults(c.model);
        ASSERT_TRUE(checks);
        for (const ResultCheck& check : *checks)
            EXPECT_TRUE(check.Passed()) << check.what << " " << check.where << " " << check.value;
        Displacement d;
        ASSERT_TRUE(ComputeDisplacement(c.model, c.calc, {2, DisplacementKind::Vertical}, d, c.messages))
            << c.MessageTexts().back();
        EXPECT_NEAR(d.Delta, k.propMoves, 1e-9);
        const TableRows ledger = LedgerViewRows(c.model);
        const bool listed = std::find(ledger.begin(), ledger.end(), k.ledgerRow) != ledger.end();
        EXPECT_TRUE(k.ledgerRow.empty() || listed) << k.ledgerRow[0];
        c.Select(4);
        RunCalculationStep(c.ctx);
        EXPECT_EQ(c.Shown()[0], (std::vector<std::string>{" i", "δi1", "Δip", "Δic", "Δit", "ci"}));
    }
}

}  // namespace
}  // namespace tavrin
