#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "BatchTestSupport.h"
#include "batch/BatchCase.h"
#include "batch/BatchRun.h"

namespace tavrin::batch {
namespace {

BatchCase CaseOf(const std::string& text)
{
    CaseReading reading = ReadCase(text);
    EXPECT_TRUE(reading.value) << reading.error;
    return reading.value.value_or(BatchCase{});
}

// Span 6 with a pin and a roller: as simply-supported-beam.json without loads
// on element 2.
const std::string kBeamTables = R"(
    "nodes": [[1, 0, 0, "铰接"], [2, 2, 0, "刚接"], [3, 6, 0, "铰接"]],
    "elements": [[1, 1, 1, 2], [2, 1, 2, 3]],
    "supports": [[1, "铰支座", "结点下方"], [3, "活动支座", "结点下方"]],
    "loads": [["集中荷载", 2, "", "向下", 12]])";

// The propped cantilever of 6 (fixed at node 1, prop at node 3 released).
const std::string kProppedTables = R"(
    "nodes": [[1, 0, 0, "刚接"], [2, 3, 0, "刚接"], [3, 6, 0, "自由端"]],
    "elements": [[1, 1, 1, 2], [2, 1, 2, 3]],
    "supports": [[1, "固定支座", "结点左侧"]],
    "loads": [["集中荷载", 2, "", "向下", 16]],
    "degree": 1)";

const std::string kNineUnitForceRows = R"(["集中荷载", 3, "", "向上"], ["集中荷载", 3, "", "向上"],
    ["集中荷载", 3, "", "向上"], ["集中荷载", 3, "", "向上"], ["集中荷载", 3, "", "向上"], ["集中荷载", 3, "", "向上"],
    ["集中荷载", 3, "", "向上"], ["集中荷载", 3, "", "向上"], ["集中荷载", 3, "", "向上"])";

// A message that ends a step without its result stops the calculation: the
// output holds every table up to that point and the message, exit 1, and no
// diagram is drawn from half a calculation.
TEST(BatchRunTest, AMessageStopsTheCalculationWithEverythingBeforeIt)
{
    struct Case {
        const char* name;
        std::string text;
        std::size_t steps;
        std::string message;
    };
    const Case cases[] = {
        {"unit force never typed", "{" + kProppedTables + "}", 2, "请先在表中输入单位未知力，再按“交互检查”！"},
        {"rigid joint of three members",
         R"({"nodes": [[1, 0, 0, "铰接"], [2, 4, 0, "刚接"], [3, 8, 0, "铰接"], [4, 4, 4, "自由端"]],
             "elements": [[1, 1, 1, 2], [2, 1, 2, 3], [3, 1, 2, 4]],
             "supports": [[1, "铰支座", "结点下方"], [3, "活动支座", "结点下方"]]})",
         0, "伸出单元数>2，本程序不能计算刚结点有弯矩分配的工况！2刚节点"},
        {"negative degree", "{" + kBeamTables + R"(, "degree": "-1"})", 0, "超静定次数不能为负数，请重新输入！"},
        // X1 at the fixed support itself: the support takes it all, d11 = 0.
        {"unit force the support takes", "{" + kProppedTables + R"(, "unitForces": [[["集中荷载", 1, "", "向上"]]]})",
         6, "主系数为零,方程线性相关,无解!"},
        // The form's unit-force grid opens with nine rows and grows as they
        // are filled: a tenth row is typed and read like the others.
        {"tenth unit-force row",
         "{" + kProppedTables + R"(, "unitForces": [[)" + kNineUnitForceRows + R"(, ["集中荷载", 9, "", "向上"]]]})", 2,
         "第10行：作用结点“9”不存在！"},
        // The basic-part rows are refused at "O&K": the calculation stops
        // there, without a table for the basic part.
        {"basic-part rows with a cell that is no number",
         R"({"nodes": [[1, 0, 0, "铰接"], [2, 6, 0, "刚接"], [3, 8, 0, "铰接"], [4, 12, 0, "铰接"]],
             "elements": [[1, 1, 1, 2], [2, 1, 2, 3], [3, 1, 3, 4]],
             "supports": [[1, "铰支座", "结点下方"], [2, "活动支座", "结点下方"], [4, "活动支座", "结点下方"]],
             "loads": [["均布荷载", "", 1, "向下", 2]],
             "attachedParts": [[1, 3, 4, 3]], "basicParts": [[1, 1, "2x"]]})",
         1, "第1行“单元2”列：“2x”不是数字，请改正后再按“O&K”确认！"},
        // 3e38 at 2 from the pin: the reactions overflow; the table shows
        // its headers only.
        {"load beyond the float range",
         R"({"nodes": [[1, 0, 0, "铰接"], [2, 2, 0, "刚接"], [3, 6, 0, "铰接"]],
             "elements": [[1, 1, 1, 2], [2, 1, 2, 3]],
             "supports": [[1, "铰支座", "结点下方"], [3, "活动支座", "结点下方"]],
             "loads": [["集中荷载", 2, "", "向下", "3e38"]]})",
         1, "计算结果超出数值范围，请检查荷载、EI和结点坐标是否过大或过小！"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const RunResult result = RunCase(CaseOf(k.text), 267, 267);
        EXPECT_FALSE(result.completed);
        EXPECT_EQ(result.steps.size(), k.steps);
        ASSERT_FALSE(result.messages.empty());
        EXPECT_EQ(result.messages.back().text, k.message);
        ASSERT_EQ(result.pictures.size(), 1u);
        EXPECT_EQ(result.pictures[0].name, "structure");

        const testing::Outcome outcome = testing::RunText(k.text);
        EXPECT_EQ(outcome.exit, kExitStopped);
        EXPECT_NE(outcome.out.find(k.message), std::string::npos) << outcome.out;
        for (const StepRecord& step : result.steps)
            EXPECT_NE(outcome.out.find("【" + step.item + "】"), std::string::npos) << step.item;
    }
}

// The ledger follows the tables once the coefficients are formed; the final
// reactions and the checks only a calculation that reached its last item.
TEST(BatchRunTest, LedgerReactionsAndChecksFollowTheTablesOfTheirSteps)
{
    const testing::Outcome completed =
        testing::RunText("{" + kProppedTables + R"(, "unitForces": [[["集中荷载", 3, "", "向上"]]]})");
    EXPECT_EQ(completed.exit, kExitCompleted);
    const std::size_t lastStep = completed.out.find("【构件总内力】");
    const std::size_t ledger = completed.out.find("【图乘明细】");
    const std::size_t reactions = completed.out.find("【最终支座反力】");
    const std::size_t checks = completed.out.find("【校核】");
    EXPECT_LT(lastStep, ledger);
    EXPECT_LT(ledger, reactions);
    EXPECT_LT(reactions, checks);
    ASSERT_NE(checks, std::string::npos) << completed.out;
    EXPECT_NE(completed.out.find("3       未知力X1  0.            5."), std::string::npos) << completed.out;
    EXPECT_NE(completed.out.find("变形协调"), std::string::npos);
    EXPECT_EQ(completed.out.find("未通过"), std::string::npos);

    int exit = -1;
    const nlohmann::json stopped =
        testing::RunJson("{" + kProppedTables + R"(, "unitForces": [[["集中荷载", 1, "", "向上"]]]})", exit);
    EXPECT_EQ(exit, kExitStopped);
    ASSERT_EQ(stopped["ledger"].size(), 2u);
    EXPECT_EQ(stopped["ledger"][0]["coefficient"], "δ11");
    EXPECT_EQ(stopped["ledger"][0]["stored"], 0.0);
    EXPECT_EQ(stopped["caseReactions"].size(), 2u);
    EXPECT_EQ(stopped["finalReactions"], nlohmann::json::array());
    EXPECT_EQ(stopped["checks"], nlohmann::json::array());
}

// Displacements asked for by the case follow the checks, each with its
// ledger; a row that cannot be formed leaves its message and no entry. The
// propped cantilever of 6 under 16 at mid-span (reduction theorem on the
// cantilever): the prop turns by PL^2/32EI = 18 counter-clockwise, mid-span
// sinks by 7PL^3/768EI = 31.5.
TEST(BatchRunTest, DisplacementsAskedForAreFormedWithTheirLedger)
{
    const std::string text = "{" + kProppedTables + R"(, "unitForces": [[["集中荷载", 3, "", "向上"]]],
        "displacements": [[3, "转角"], [9, "竖向位移"], [2, "竖向位移"]]})";
    const testing::Outcome run = testing::RunText(text);
    EXPECT_EQ(run.exit, kExitCompleted) << run.err;
    const std::size_t checks = run.out.find("【校核】");
    const std::size_t rotation = run.out.find("【结点3转角】");
    EXPECT_LT(checks, rotation);
    EXPECT_LT(rotation, run.out.find("【结点2竖向位移】"));
    EXPECT_NE(run.out.find("与单位力方向相同"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("结点9不存在！"), std::string::npos);

    int exit = -1;
    const nlohmann::json result = testing::RunJson(text, exit);
    EXPECT_EQ(exit, kExitCompleted);
    const nlohmann::json& requested = result["displacements"]["requested"];
    ASSERT_EQ(requested.size(), 2u);
    EXPECT_EQ(requested[0]["kind"], "转角");
    EXPECT_EQ(requested[0]["terms"].size(), 2u);
    EXPECT_NEAR(requested[0]["Delta"].get<double>(), 18.0, 1e-6);
    EXPECT_EQ(requested[0]["sense"], "与单位力方向相同");
    EXPECT_NEAR(requested[1]["Delta"].get<double>(), -31.5, 1e-6);
    const nlohmann::json& nodes = result["displacements"]["nodes"];
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_NEAR(nodes[1]["y"].get<double>(), -31.5, 1e-6);
    EXPECT_NEAR(nodes[2]["theta"].get<double>(), 18.0, 1e-6);
    EXPECT_NEAR(nodes[0]["x"].get<double>(), 0.0, 1e-9);

    const RunResult drawn = RunCase(CaseOf(text), 267.0, 267.0);
    ASSERT_FALSE(drawn.pictures.empty());
    EXPECT_EQ(drawn.pictures.back().name, kDeflectionPicture);

    // The fixed portal's joints do not move; its beam sags by
    // 5qL^4/384EI - ML^2/8EI = 10 - 5.333 at mid-span, which is labelled and
    // sets the automatic scale.
    const RunResult portal =
        RunCase(CaseOf(testing::ReadFile(testing::ExamplePath("fixed-portal-frame.json"))), 267.0, 267.0);
    ASSERT_EQ(portal.pictures.back().name, kDeflectionPicture);
    double farthest = 0.0;
    std::string label;
    for (const CanvasOp& op : portal.pictures.back().ops) {
        if (op.kind == CanvasOp::Kind::Print)
            label = op.text;
        if (op.kind == CanvasOp::Kind::Line && op.color == kRed)
            farthest = std::max(farthest, std::abs(op.y2 - op.y1));
    }
    EXPECT_EQ(label, "最大位移：4.667");
    EXPECT_LT(farthest, 26.7);
}

// A student's answers are reviewed item by item as "核对" reviews them, in
// the text under the item's table and in the JSON's review. With EI 1 the
// terms of d11 are 63 (member 1) and 9 (member 2), D1p = -360, X1 = 5.
TEST(BatchRunTest, AnswersAreMarkedRightOrWrongWithTheirLikelyCause)
{
    const std::string text = "{" + kProppedTables + R"(, "unitForces": [[["集中荷载", 3, "", "向上"]]],
        "answers": {"外荷载作用下支座反力": [[1, "固定支座", 0, 16, -48]],
                    "自由项系数": [[1, 63, -360]], "未知力求解": [["", -5]], "未知力": [["", 5]]}})";
    const testing::Outcome outcome = testing::RunText(text);
    EXPECT_EQ(outcome.exit, kExitCompleted);
    const std::size_t coefficients = outcome.out.find("【自由项系数】");
    const std::size_t review =
        outcome.out.find("核对：2个数中1个正确\n  δ11  63    错  少了杆件2的图乘项\n  Δ1p  -360  对");
    EXPECT_LT(coefficients, review) << outcome.out;
    EXPECT_LT(review, outcome.out.find("【未知力求解】")) << outcome.out;
    EXPECT_NE(outcome.out.find("  X1  -5  错  符号反了"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("【未知力】\n核对：未核对（计算列表中没有这一项）"), std::string::npos) << outcome.out;

    int exit = -1;
    const nlohmann::json result = testing::RunJson(text, exit);
    const nlohmann::json& reviews = result["review"];
    ASSERT_EQ(reviews.size(), 4u);
    EXPECT_EQ(reviews[0]["item"], "外荷载作用下支座反力");
    EXPECT_EQ(reviews[0]["answers"].size(), 3u);
    for (const auto& answer : reviews[0]["answers"])
        EXPECT_TRUE(answer["right"]) << answer;
    EXPECT_EQ(reviews[1]["answers"][0], (nlohmann::json{{"name", "δ11"},
                                                        {"row", 1},
                                                        {"col", 1},
                                                        {"answer", "63"},
                                                        {"right", false},
                                                        {"cause", "少了杆件2的图乘项"}}));
    EXPECT_EQ(reviews[2]["answers"][0]["cause"], "符号反了");
    EXPECT_EQ(reviews[3]["checked"], false);
    EXPECT_EQ(reviews[3]["reason"], "计算列表中没有这一项");
    // The calculation itself is the one without answers.
    EXPECT_EQ(result["redundants"], nlohmann::json::array({5.0}));
}

TEST(BatchRunTest, ARefusedCommitStopsBeforeTheAnalysis)
{
    const std::string text = R"({"nodes": [[1, 0, 0, "铰接"], [2, 4, 0, "铰接"]],
                                 "elements": [[1, 1, 1, 9]],
                                 "supports": [[1, "铰支座", "结点下方"], [2, "活动支座", "结点下方"]]})";
    const RunResult result = RunCase(CaseOf(text), 267, 267);
    EXPECT_FALSE(result.completed);
    EXPECT_FALSE(result.analysed);
    EXPECT_EQ(result.messages.size(), 1u);
    EXPECT_EQ(result.model.ElementCount(), 0);
    EXPECT_EQ(testing::RunText(text).exit, kExitStopped);
}

// A warning shown along a step that still produced its table does not stop
// the calculation. Element 1 starts at node 2, which no support holds and
// element 2 also reaches: the chain walk warns.
TEST(BatchRunTest, AWarningAlongAStepDoesNotStopIt)
{
    const std::string text = R"({
        "nodes": [[1, 0, 0, "铰接"], [2, 2, 0, "刚接"], [3, 6, 0, "铰接"]],
        "elements": [[1, 1, 2, 3], [2, 1, 1, 2]],
        "supports": [[1, "铰支座", "结点下方"], [3, "活动支座", "结点下方"]],
        "loads": [["集中荷载", 2, "", "向下", 12]]})";
    const RunResult result = RunCase(CaseOf(text), 267, 267);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.steps.size(), 2u);
    // The walk's warning, then how far its table is from the solution.
    ASSERT_EQ(result.messages.size(), 2u);
    EXPECT_EQ(result.messages[0].title, "警告!");
    EXPECT_EQ(result.messages[1].title, "警告!");
    EXPECT_NE(result.messages[1].text.find("与双精度解最多相差"), std::string::npos);
    EXPECT_EQ(result.pictures.size(), 6u);
}

// The grid has 100 data rows, and its first empty type cell ends a table:
// a longer table is refused whole, and what lies after an empty first cell
// is never committed, as in the input form.
TEST(BatchRunTest, RowsBeyondTheGridAreRefusedAndRowsAfterAnEmptyFirstCellAreNotCommitted)
{
    std::string nodes;
    for (int n = 1; n <= 100; ++n)
        nodes += (n > 1 ? ", [" : "[") + std::to_string(n) + ", " + std::to_string(n) + R"(, 0, "刚接"])";
    const RunResult full = RunCase(CaseOf(R"({"nodes": [)" + nodes + R"(], "elements": [[1, 1, 1, 2]]})"), 267, 267);
    EXPECT_EQ(full.model.NodeCount(), 100);
    const CaseReading longer = ReadCase(R"({"nodes": [)" + nodes + R"(, [101, 101, 0, "刚接"]]})");
    EXPECT_FALSE(longer.value);
    EXPECT_EQ(longer.error, "nodes[100]: 这张表最多100行，这里却有101行");

    const RunResult cut = RunCase(CaseOf(R"({"nodes": [[1, 0, 0, "铰接"], [2, 4, 0, "铰接"], ["", 8, 0, "铰接"],
                                                       [3, 8, 0, "铰接"]],
                                            "elements": [[1, 1, 1, 2]]})"),
                                  267, 267);
    EXPECT_EQ(cut.model.NodeCount(), 2);
}

// The text output aligns each column by display width: a Chinese character
// takes two columns, and every column is two blanks wider than its widest
// cell.
TEST(BatchRunTest, TextOutputAlignsTheTablesByDisplayWidth)
{
    const testing::Outcome outcome =
        testing::RunText(testing::ReadFile(testing::ExamplePath("simply-supported-beam.json")));
    EXPECT_EQ(outcome.exit, kExitCompleted);
    const std::string expected =
        "无附属部分的静定结构计算\n"
        "\n"
        "【支座反力】\n"
        "支座反力计算结果：\n"
        "支座结点码  支座类型  Fx(向右为正)  Fy(向上为正)  Fm(顺时针为正)\n"
        "1           铰支座    0.            10.67         0.\n"
        "3           活动支座  0.            9.33          0.\n";
    EXPECT_EQ(outcome.out.substr(0, expected.size()), expected);
    EXPECT_NE(outcome.out.find("\n杆件号   Ni    Vi     Mi      Nj    Vj     Mj\n"), std::string::npos) << outcome.out;
}

// Two nodes 4 apart on a line of a 267-unit picture: the box spans
// 0.6 * 267 = 160.2 units, so DrawScale = 40.05, DrawOriginX =
// 133.5 - 80.1 = 53.4 and the line sits at mid-height 133.5. Node 2 is a
// hinge: the member's circle at its end j.
TEST(BatchRunTest, TraceHoldsEveryOperationWithItsStateInForce)
{
    const std::string text = R"({"nodes": [[1, 0, 0, "刚接"], [2, 4, 0, "铰接"]],
                                 "elements": [[1, 1, 1, 2]]})";
    BatchOptions options;
    options.traceFile = testing::OutputPath("tiny-trace.json");
    std::filesystem::remove(*options.traceFile);
    EXPECT_EQ(testing::RunText(text, options).exit, kExitStopped);  // no supports: no reactions

    const nlohmann::json trace = nlohmann::json::parse(testing::ReadFile(*options.traceFile), nullptr, false);
    ASSERT_TRUE(trace.is_object());
    EXPECT_EQ(trace.size(), 1u);
    const nlohmann::json& ops = trace["structure"];
    ASSERT_EQ(ops.size(), 6u) << ops.dump();
    const auto near = [](const nlohmann::json& v, double expected) {
        EXPECT_NEAR(v.get<double>(), expected, 1e-4) << v.dump();
    };
    EXPECT_EQ(ops[0], nlohmann::json::parse(R"({"op": "Cls"})"));

    const double y = 133.5;
    const double xs[] = {53.4, 213.6};
    for (int n = 0; n < 2; ++n) {
        const nlohmann::json& label = ops[1 + n];
        EXPECT_EQ(label["op"], "Print");
        near(label["x"], xs[n]);
        near(label["y"], y);
        EXPECT_EQ(label["text"], " " + std::to_string(n + 1) + " ");
        EXPECT_EQ(label["color"], nlohmann::json::parse("[0, 0, 0]"));
    }

    const nlohmann::json& member = ops[3];
    EXPECT_EQ(member["op"], "Line");
    near(member["x1"], xs[0]);
    near(member["y1"], y);
    near(member["x2"], xs[1]);
    near(member["y2"], y);
    EXPECT_EQ(member["color"], nlohmann::json::parse("[0, 0, 0]"));
    EXPECT_EQ(member["width"], 2);

    const nlohmann::json& hinge = ops[4];
    EXPECT_EQ(hinge["op"], "Circle");
    near(hinge["x"], xs[1]);
    near(hinge["y"], y);
    near(hinge["r"], 2.0);
    EXPECT_TRUE(hinge["start"].is_null());
    EXPECT_TRUE(hinge["end"].is_null());
    EXPECT_EQ(hinge["width"], 1);
    EXPECT_EQ(hinge["fillStyle"], 0);
    EXPECT_EQ(hinge["fillColor"], nlohmann::json::parse("[224, 224, 224]"));

    const nlohmann::json& code = ops[5];
    EXPECT_EQ(code["op"], "Print");
    near(code["x"], 133.5);
    near(code["y"], y);
    EXPECT_EQ(code["text"], "( 1 )");

    // The keys in the order of the format.
    const nlohmann::ordered_json ordered = nlohmann::ordered_json::parse(testing::ReadFile(*options.traceFile));
    std::vector<std::string> keys;
    for (const auto& item : ordered["structure"][3].items())
        keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"op", "x1", "y1", "x2", "y2", "color", "width"}));
}

TEST(BatchRunTest, DiagramsFollowACompletedCalculationAtTheScaleGiven)
{
    const RunResult automatic = RunCase(CaseOf("{" + kBeamTables + "}"), 267, 267);
    const RunResult scaled = RunCase(CaseOf("{" + kBeamTables + R"(, "scale": 2})"), 267, 267);
    ASSERT_EQ(scaled.pictures.size(), 6u);
    const char* names[] = {"structure", "moment", "shear", "axial", "mp", "deflection"};
    for (std::size_t p = 0; p < 6; ++p)
        EXPECT_EQ(scaled.pictures[p].name, names[p]);

    // Moment under the load: 8 * 2 = 16, drawn 16 * 2 = 32 units off the member
    // at scale 2: the longest black ordinate.
    const auto ordinate = [](const Picture& moment) {
        double longest = 0.0;
        for (const CanvasOp& op : moment.ops)
            if (op.kind == CanvasOp::Kind::Line && op.color == kBlack && op.x1 == op.x2)
                longest = std::max(longest, std::abs(op.y2 - op.y1));
        return longest;
    };
    EXPECT_NEAR(ordinate(scaled.pictures[1]), 32.0, 1e-3);
    // The beam is determinate: its MP is the final moment diagram.
    EXPECT_NEAR(ordinate(scaled.pictures[4]), 32.0, 1e-3);
    // Without a scale the largest value is drawn at a tenth of the width.
    EXPECT_NEAR(ordinate(automatic.pictures[1]), 26.7, 1e-3);
}

}  // namespace
}  // namespace tavrin::batch
