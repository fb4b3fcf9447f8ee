#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "BatchTestSupport.h"
#include "batch/BatchCase.h"
#include "batch/BatchRun.h"
#include "drawing/PictureLayout.h"
#include "report/Report.h"

namespace tavrin::batch {
namespace {

// The propped cantilever of the examples without its unit-force table: the
// calculation stops at the first item of X1.
constexpr const char* kWithoutUnitForce = R"({
  "nodes": [[1, 0, 0, "刚接"], [2, 3, 0, "刚接"], [3, 6, 0, "自由端"]],
  "elements": [[1, 2, 1, 2], [2, 2, 2, 3]],
  "supports": [[1, "固定支座", "结点左侧"]],
  "loads": [["集中荷载", 2, "", "向下", 16]],
  "degree": 1
})";

// An element naming a node that is not there: refused at the commit.
constexpr const char* kRefusedCommit = R"({
  "nodes": [[1, 0, 0, "铰接"], [2, 4, 0, "铰接"]],
  "elements": [[1, 1, 1, 7]],
  "supports": [[1, "铰支座", "结点下方"], [2, "活动支座", "结点下方"]],
  "loads": []
})";

std::vector<std::string> TextsOf(const Report& report, ReportBlock::Kind kind)
{
    std::vector<std::string> texts;
    for (const ReportBlock& block : report.blocks)
        if (block.kind == kind)
            texts.push_back(PlainText(block.text));
    return texts;
}

Report ReportOf(const RunResult& run, const CellRows& displacements = {})
{
    return BuildReport({.model = run.model,
                        .calculation = run.analysed ? &run.calculation : nullptr,
                        .description = "",
                        .date = ReportDate(2025, 3, 4),
                        .scale = std::nullopt,
                        .stopMessage = run.completed || run.messages.empty() ? "" : run.messages.back().text,
                        .displacements = displacements});
}

// The equations are checked against hand numbers: the propped cantilever
// (span 6, EI 2, 16 at mid-span) has delta11 = L^3/3EI = 36, Delta1P =
// -P (L/2)^2 (3L - L/2) / 6EI = -180 and X1 = 5; the fixed portal (h = L = 4,
// EI 1, q = 3 on the beam) has delta11 = h^3/3 + h^2 L + h^3/3 = 106.667, by
// symmetry X2 = qL/2 = 6, the corner moment qL^2/(6(k+2)) = 2.667 with k = 1,
// so X1 = -(2.667 + 1.333)/h = -1 and X3 = 1.333, which satisfy the other
// two equations as written.
TEST(BatchReportTest, ReportHoldsWhatTheCalculationReachedAndStopsWhereItStopped)
{
    struct Case {
        const char* name;
        std::string json;
        std::function<void(RunResult&)> change;  // the calculation undone in part afterwards
        bool complete;
        std::vector<std::string> equations;
        std::vector<std::string> headings;
        std::string stop;          // the Stop block, empty for none
        std::string displacement;  // the sentence of the one displacement asked for, empty for none
    };
    const auto example = [](const char* file) { return testing::ReadFile(testing::ExamplePath(file)); };
    const std::vector<std::string> allSections = {"一、结构和荷载", "二、计算模型", "三、各工况支座反力和杆端内力",
                                                  "四、力法典型方程", "五、内力叠加和校核"};
    const Case cases[] = {
        {"propped cantilever",
         example("propped-cantilever.json"),
         {},
         true,
         {"δ11X1 + Δ1P = 0", "36X1 − 180 = 0", "X1 = 5", "M = M̄1X1 + MP", "M = 5M̄1 + MP"},
         allSections,
         "",
         ""},
        {"fixed portal",
         example("fixed-portal-frame.json"),
         {},
         true,
         {"δ11X1 + δ12X2 + δ13X3 + Δ1P = 0", "δ21X1 + δ22X2 + δ23X3 + Δ2P = 0", "δ31X1 + δ32X2 + δ33X3 + Δ3P = 0",
          "106.667X1 + 64X2 + 32X3 − 320 = 0", "64X1 + 85.333X2 + 24X3 − 480 = 0", "32X1 + 24X2 + 12X3 − 128 = 0",
          "X1 = −1", "X2 = 6", "X3 = 1.333", "M = M̄1X1 + M̄2X2 + M̄3X3 + MP", "M = −M̄1 + 6M̄2 + 1.333M̄3 + MP"},
         allSections,
         "",
         ""},
        {"determinate beam",
         example("simply-supported-beam.json"),
         {},
         true,
         {},
         {"一、结构和荷载", "二、计算模型", "三、支座反力和杆件内力", "四、内力图和校核"},
         "",
         ""},
        // The beam's node 2 (x = 2) sinks by Pa^2b^2/3LEI = 42.667 under the
        // 12 and by 21.333 under the 2 on the right span.
        {"determinate beam with a displacement",
         example("simply-supported-beam.json").insert(1, R"("displacements": [[2, "竖向位移"]],)"),
         {},
         true,
         {},
         {"一、结构和荷载", "二、计算模型", "三、支座反力和杆件内力", "四、内力图和校核", "五、位移计算"},
         "",
         "结点2竖向位移 Δ = −64，与单位力方向相反。"},
        // The same asked for in the calculation form instead of the file.
        {"determinate beam with a displacement worked out in the form",
         example("simply-supported-beam.json"),
         [](RunResult& run) {
             run.calculation.displacementsShown = {{"2", "竖向位移"}};
         },
         true,
         {},
         {"一、结构和荷载", "二、计算模型", "三、支座反力和杆件内力", "四、内力图和校核", "五、位移计算"},
         "",
         "结点2竖向位移 Δ = −64，与单位力方向相反。"},
        {"unit force missing",
         kWithoutUnitForce,
         {},
         false,
         {},
         {"一、结构和荷载", "二、计算模型", "三、各工况支座反力和杆端内力"},
         "计算未完成：“单位力X1作用下支座反力”一项尚未计算。",
         ""},
        // End forces calculated again after the unknowns: the coefficients
        // and everything after them no longer stand.
        {"coefficients undone",
         example("propped-cantilever.json"),
         [](RunResult& run) { run.calculation.progress.Void(Product::Coefficients); },
         false,
         {"δ11X1 + Δ1P = 0"},
         {"一、结构和荷载", "二、计算模型", "三、各工况支座反力和杆端内力", "四、力法典型方程"},
         "计算未完成：“自由项系数”一项尚未计算。",
         ""},
        {"structure changed",
         example("propped-cantilever.json"),
         [](RunResult& run) { run.model.Nodes.at(3).X = 7.0f; },
         false,
         {},
         {"一、结构和荷载"},
         "计算未完成：结构数据或超静定次数已改变，请重新进行“计算类型分析”！",
         ""},
        {"refused commit",
         kRefusedCommit,
         {},
         false,
         {},
         {"一、结构和荷载"},
         "计算未完成：尚未进行“计算类型分析”。",
         ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const CaseReading reading = ReadCase(k.json);
        ASSERT_TRUE(reading.value) << reading.error;
        RunResult run = RunCase(*reading.value, 267.0, 267.0);
        if (k.change)
            k.change(run);
        const Report report = ReportOf(run, reading.value->displacements);
        EXPECT_EQ(report.complete, k.complete);
        const std::vector<std::string> paragraphs = TextsOf(report, ReportBlock::Kind::Paragraph);
        EXPECT_EQ(std::count(paragraphs.begin(), paragraphs.end(), k.displacement), k.displacement.empty() ? 0 : 1);
        const std::vector<std::string> pictures = TextsOf(report, ReportBlock::Kind::Picture);
        EXPECT_EQ(std::count(pictures.begin(), pictures.end(), "位移图"), k.displacement.empty() ? 0 : 1);
        // An indeterminate structure shows the structure given, every
        // restraint in place, just before its basic system.
        const auto original = std::find(pictures.begin(), pictures.end(), "原结构");
        const bool basic = std::any_of(pictures.begin(), pictures.end(),
                                       [](const std::string& p) { return p.rfind("基本体系", 0) == 0; });
        EXPECT_TRUE(original == pictures.end() || original[1].rfind("基本体系", 0) == 0);
        if (k.complete) {
            EXPECT_EQ(original != pictures.end(), basic);
        }
        EXPECT_EQ(TextsOf(report, ReportBlock::Kind::Equation), k.equations);
        EXPECT_EQ(TextsOf(report, ReportBlock::Kind::Heading), k.headings);
        const std::vector<std::string> stops = TextsOf(report, ReportBlock::Kind::Stop);
        EXPECT_EQ(stops, k.stop.empty() ? std::vector<std::string>{} : std::vector<std::string>{k.stop});
        // A stopped report ends there, with what stopped the calculation.
        if (!k.stop.empty() && !run.messages.empty() && !run.completed) {
            EXPECT_EQ(PlainText(report.blocks.back().text), "程序提示：" + run.messages.back().text);
        }
    }
}

// The report's tables are the calculation form's own, as the batch output
// prints them: the same rows and texts, the numbers written as the report
// writes them ("-48." as −48), the member forces named N V M.
TEST(BatchReportTest, ItemTablesAreTheOnesTheFormShowedInTheReportsNumbers)
{
    const CaseReading reading = ReadCase(testing::ReadFile(testing::ExamplePath("fixed-portal-frame.json")));
    ASSERT_TRUE(reading.value);
    const RunResult run = RunCase(*reading.value, 267.0, 267.0);
    const Report report = ReportOf(run);
    const auto isNumber = [](const std::string& cell) {
        return !cell.empty() && cell.find_first_not_of(" -.0123456789") == std::string::npos;
    };
    std::size_t found = 0;
    for (const StepRecord& step : run.steps) {
        Rows shown = step.table;
        shown.resize(UsedRows(shown));
        const auto same = [&](const ReportBlock& block) {
            if (block.kind != ReportBlock::Kind::Table || block.table.size() != shown.size())
                return false;
            for (std::size_t r = 1; r < shown.size(); ++r)
                for (std::size_t c = 0; c < shown[r].size(); ++c)
                    if (!isNumber(shown[r][c]) && block.table[r][c] != shown[r][c])
                        return false;
            return true;
        };
        found += std::any_of(report.blocks.begin(), report.blocks.end(), same) ? 1 : 0;
    }
    // Every item but the unknowns, which the report writes as X1 = …
    EXPECT_EQ(found, run.steps.size() - 1);
    for (const ReportBlock& block : report.blocks)
        for (const std::vector<std::string>& row : block.table)
            for (const std::string& cell : row) {
                EXPECT_FALSE(cell.ends_with('.') || cell.starts_with('-')) << cell;
                EXPECT_EQ(cell.find("Fq"), std::string::npos) << cell;
            }
    // The total member forces of the portal (columns from the foot up, the
    // beam left to right): the columns carry qL/2 = 6 in compression, the
    // corners qL²/(6(k+2)) = 2.667 with the outside in tension.
    const auto total = std::find_if(report.blocks.begin(), report.blocks.end(), [](const ReportBlock& block) {
        return PlainText(block.text) == "各杆件总内力计算结果：";
    });
    ASSERT_NE(total, report.blocks.end());
    EXPECT_EQ(total->table[0], (std::vector<std::string>{"杆件号", " Ni ", " Vi ", " Mi ", " Nj ", " Vj ", " Mj "}));
    EXPECT_EQ(total->table[1], (std::vector<std::string>{"1", "−6", "−1", "−1.33", "−6", "−1", "2.67"}));
}

// Each coefficient by graph multiplication as a teacher writes it, for the
// propped cantilever (members of length 3, EI 2; M̄1 −6 → −3 → 0, MP 48 →
// 0): δ11 = 3/12·(72 + 18 + 18 + 18) + ½·(½·3·3)·(⅔·3) = 31.5 + 4.5 = 36
// by the trapezoid and the triangle rule, Δ1P = 3/12·(−576 − 144) = −180;
// member 2, where MP is zero, is left out. The checks' residuals within
// their tolerance are written 0.
TEST(BatchReportTest, CoefficientsAreWorkedOutMemberByMember)
{
    const CaseReading reading = ReadCase(testing::ReadFile(testing::ExamplePath("propped-cantilever.json")));
    ASSERT_TRUE(reading.value);
    const Report report = ReportOf(RunCase(*reading.value, 267.0, 267.0));
    EXPECT_EQ(TextsOf(report, ReportBlock::Kind::Derivation),
              (std::vector<std::string>{
                  "δ11 = 3/(6·2)·(2·(−6)·(−6) + 2·(−3)·(−3) + (−6)·(−3) + (−3)·(−6)) + 1/2·(½·3·(−3))·(⅔·(−3)) = "
                  "31.5 + 4.5 = 36",
                  "Δ1P = 3/(6·2)·(2·48·(−6) + 48·(−3)) = −180"}));
    const auto checks = std::find_if(report.blocks.begin(), report.blocks.end(), [](const ReportBlock& block) {
        return block.kind == ReportBlock::Kind::Table && !block.table.empty() && block.table[0][0] == "校核内容";
    });
    ASSERT_NE(checks, report.blocks.end());
    for (std::size_t r = 1; r < checks->table.size(); ++r)
        EXPECT_EQ(checks->table[r][2], "0") << checks->table[r][0];

    // The portal's δ12: M̄2 is zero on the right column, which therefore
    // has no product: the beam's ∫4·x dx = 32 and the left column's
    // ∫4·y dy = 32.
    const CaseReading portal = ReadCase(testing::ReadFile(testing::ExamplePath("fixed-portal-frame.json")));
    ASSERT_TRUE(portal.value);
    const std::vector<std::string> worked =
        TextsOf(ReportOf(RunCase(*portal.value, 267.0, 267.0)), ReportBlock::Kind::Derivation);
    ASSERT_GE(worked.size(), 2u);
    EXPECT_EQ(worked[1], "δ12 = δ21 = 4/6·(2·(−4)·(−4) + (−4)·(−4)) + 4/6·(2·(−4)·(−4) + (−4)·(−4)) = 32 + 32 = 64");
}

const ReportBlock* PictureOf(const Report& report, std::string_view caption)
{
    for (const ReportBlock& block : report.blocks)
        if (block.kind == ReportBlock::Kind::Picture && PlainText(block.text) == caption)
            return &block;
    return nullptr;
}

// A displacement worked out by the unit-load method as a teacher writes it,
// for the simple beam of the examples (12 at x = 2, q = 2 on [2, 6], EI 1),
// node 2 vertical: the upward unit load meets 2/3 and 1/3 downward at the
// supports, M̄ = 4/3 under it; the real moment there is 10.667·2 = 21.333
// sagging and qL²/8 = 4 on member 2, so member 1 gives
// (½·2·21.333)(⅔·4/3) = 18.963 and member 2 (½·4·21.333)(⅔·4/3) +
// (⅔·4·4)(2/3) = 45.037, both against the unit load: Δ = −64. Its
// sentence stays with it, and every table fits a page's and a page
// column's width.
TEST(BatchReportTest, DisplacementIsWorkedOutByTheUnitLoadMethod)
{
    const CaseReading reading = ReadCase(testing::ReadFile(testing::ExamplePath("simply-supported-beam.json")));
    ASSERT_TRUE(reading.value);
    const Report report = ReportOf(RunCase(*reading.value, 267.0, 267.0), {{"2", "竖向位移"}});
    const auto table = [&](std::string_view caption) {
        return std::find_if(report.blocks.begin(), report.blocks.end(), [&](const ReportBlock& block) {
            return block.kind == ReportBlock::Kind::Table && PlainText(block.text) == caption;
        });
    };
    const auto reactions = table("单位荷载作用下的支座反力：");
    ASSERT_NE(reactions, report.blocks.end());
    EXPECT_EQ(reactions->table, (CellRows{{"结点码", "Fx(向右为正)", "Fy(向上为正)", "Fm(顺时针为正)"},
                                          {"1", "0", "−0.67", "0"},
                                          {"3", "0", "−0.33", "0"}}));
    const auto endForces = table("单位荷载作用下的杆端力：");
    ASSERT_NE(endForces, report.blocks.end());
    EXPECT_EQ(endForces->table.size(), 3u);
    EXPECT_NE(PictureOf(report, "M̄图（结点2竖向位移的单位荷载）"), nullptr);
    const auto derivation = std::find_if(report.blocks.begin(), report.blocks.end(), [](const ReportBlock& block) {
        return block.kind == ReportBlock::Kind::Derivation && PlainText(block.text).starts_with("Δ = ");
    });
    ASSERT_NE(derivation, report.blocks.end());
    EXPECT_EQ(PlainText(derivation->text),
              "Δ = (½·2·(−21.333))·(⅔·1.333) + (½·4·(−21.333))·(⅔·1.333) + (⅔·4·(−4))·((1.333 + 0)/2) = "
              "−18.963 − 45.037 = −64");
    ASSERT_NE(derivation + 1, report.blocks.end());
    EXPECT_EQ(PlainText(derivation[1].text), "结点2竖向位移 Δ = −64，与单位力方向相反。");
    EXPECT_TRUE(derivation[1].keepWithPrevious);
    for (const ReportBlock& block : report.blocks)
        for (const std::vector<std::string>& row : block.table)
            EXPECT_LE(row.size(), 8u) << PlainText(block.text);
}

// The report's pictures on paper: cut to what they show, so that a beam is
// a low wide picture and a portal a squarish one, everything inside; a
// distributed load's value printed once per load; every label clear of the
// lines; the basic system labelling the unknowns it draws, each by its own
// arrow; a diagram that is zero throughout said in a line.
TEST(BatchReportTest, PicturesShowWhatTheyDrawLabelledClearOfTheirLines)
{
    const struct Case {
        const char* example;
        double lowestRatio, highestRatio;  // width over height of the structure's picture
        int loadLabels;                    // load values in it
        std::vector<std::string> unknowns;
        bool zeroAxial;
    } cases[] = {
        {"simply-supported-beam.json", 2.5, 10.0, 2, {}, true},
        {"two-span-continuous-beam.json", 2.5, 10.0, 2, {"X1"}, true},
        {"fixed-portal-frame.json", 0.6, 1.6, 1, {"X1", "X2", "X3"}, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.example);
        const CaseReading reading = ReadCase(testing::ReadFile(testing::ExamplePath(k.example)));
        ASSERT_TRUE(reading.value);
        const Report report = ReportOf(RunCase(*reading.value, 267.0, 267.0));
        const ReportBlock* structure = PictureOf(report, "计算简图");
        ASSERT_NE(structure, nullptr);
        EXPECT_GE(structure->width / structure->height, k.lowestRatio);
        EXPECT_LE(structure->width / structure->height, k.highestRatio);
        int loadLabels = 0;
        for (const CanvasOp& op : structure->ops)
            loadLabels += op.kind == CanvasOp::Kind::Print && op.color == kBlue &&
                                  op.text.find_first_of("0123456789") != std::string::npos
                              ? 1
                              : 0;
        EXPECT_EQ(loadLabels, k.loadLabels);

        for (const ReportBlock& block : report.blocks) {
            if (block.kind != ReportBlock::Kind::Picture)
                continue;
            SCOPED_TRACE(PlainText(block.text));
            const std::optional<PictureBox> content = ContentBox(block.ops);
            ASSERT_TRUE(content);
            EXPECT_GE(content->left, 0.0);
            EXPECT_GE(content->top, 0.0);
            EXPECT_LE(content->right, block.width);
            EXPECT_LE(content->bottom, block.height);
            // Numbers as the report writes them: "12", not "12.".
            for (const CanvasOp& op : block.ops) {
                const std::size_t last = op.text.find_last_not_of(' ');
                EXPECT_TRUE(last == std::string::npos || op.text[last] != '.') << op.text;
                EXPECT_EQ(op.text.find('-'), std::string::npos) << op.text;
            }
        }
        const auto basic = std::find_if(report.blocks.begin(), report.blocks.end(), [](const ReportBlock& block) {
            return block.kind == ReportBlock::Kind::Picture && PlainText(block.text).starts_with("基本体系");
        });
        ASSERT_EQ(basic != report.blocks.end(), !k.unknowns.empty());
        if (basic != report.blocks.end()) {
            // The unknowns' symbols: the red arrows (drawn 2 wide, the
            // supports 1) and the red arcs of couples.
            std::vector<std::string> labels;
            std::vector<CanvasOp> symbols;
            for (const CanvasOp& op : basic->ops) {
                if (op.color == kRed && op.kind == CanvasOp::Kind::Print)
                    labels.push_back(op.text);
                if (op.color == kRed && ((op.kind == CanvasOp::Kind::Line && op.width == 2) ||
                                         (op.kind == CanvasOp::Kind::Circle && op.start)))
                    symbols.push_back(op);
            }
            EXPECT_EQ(labels, k.unknowns);
            // Each by the symbols at the node (clear of the other labels:
            // every example's pictures are held to that below).
            const std::optional<PictureBox> node = ContentBox(symbols);
            ASSERT_TRUE(node);
            for (const CanvasOp& op : basic->ops) {
                if (op.color == kRed && op.kind == CanvasOp::Kind::Print) {
                    EXPECT_TRUE(TextBox(op.x1, op.y1, op.text).Overlaps(node->Grown(8.0))) << op.text;
                }
            }
        }

        const std::vector<std::string> paragraphs = TextsOf(report, ReportBlock::Kind::Paragraph);
        EXPECT_EQ(std::count(paragraphs.begin(), paragraphs.end(), "轴力图：各杆均为零，图略。"), k.zeroAxial ? 1 : 0);
        EXPECT_EQ(PictureOf(report, "轴力图") == nullptr, k.zeroAxial);
    }
}

// In every example, with a displacement asked for at node 2, no label of a
// picture is crossed by a line or lies on another label: the structure's
// numbers and loads, the diagrams' values, the unknowns of the basic system.
TEST(BatchReportTest, EveryPictureOfEveryExampleKeepsItsLabelsClear)
{
    std::size_t examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(testing::ExamplePath(""))) {
        if (entry.path().extension() != ".json")
            continue;
        ++examples;
        SCOPED_TRACE(entry.path().filename().string());
        const CaseReading reading = ReadCase(testing::ReadFile(entry.path()));
        ASSERT_TRUE(reading.value);
        const Report report = ReportOf(RunCase(*reading.value, 267.0, 267.0), {{"2", "竖向位移"}});
        for (const ReportBlock& block : report.blocks) {
            const std::string caption = PlainText(block.text);
            if (block.kind != ReportBlock::Kind::Picture)
                continue;
            SCOPED_TRACE(caption);
            PictureObstacles lines;
            for (const CanvasOp& op : block.ops)
                if (op.kind == CanvasOp::Kind::Line)
                    lines.Add(op);
            std::vector<PictureBox> labels;
            for (const CanvasOp& op : block.ops) {
                if (op.kind != CanvasOp::Kind::Print)
                    continue;
                const PictureBox box = TextBox(op.x1, op.y1, op.text);
                EXPECT_EQ(lines.Crossings(box), 0) << op.text;
                for (const PictureBox& other : labels)
                    EXPECT_FALSE(other.Overlaps(box)) << op.text;
                labels.push_back(box);
            }
        }
    }
    EXPECT_GE(examples, 9u);
}

// A basic system whose unit force is not applied yet draws no X and says so.
TEST(BatchReportTest, BasicSystemWithoutItsUnitForceLabelsNoUnknown)
{
    const CaseReading reading = ReadCase(kWithoutUnitForce);
    ASSERT_TRUE(reading.value);
    const Report report = ReportOf(RunCase(*reading.value, 267.0, 267.0));
    const ReportBlock* basic = PictureOf(report, "基本体系：基本结构上作用荷载（未知力尚未施加）");
    ASSERT_NE(basic, nullptr);
    for (const CanvasOp& op : basic->ops)
        EXPECT_NE(op.text.substr(0, 1), "X");
}

}  // namespace
}  // namespace tavrin::batch
