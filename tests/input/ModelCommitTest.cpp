#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "drawing/DrawingPasses.h"
#include "input/InputTestSupport.h"
#include "input/ModelCommit.h"

namespace tavrin {
namespace {

using testing::FillRow;
using testing::InputGrid;

// Commits rows typed into table `kind`; rows are filled from row 1 on.
bool Commit(StructureModel& model, int kind, const std::vector<std::vector<std::string_view>>& rows, Canvas& canvas,
            MessageSink& messages)
{
    MemoryGrid grid = InputGrid(model, kind);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        int c = 0;
        for (std::string_view text : rows[r])
            grid.SetText(static_cast<int>(r) + 1, c++, text);
    }
    return CommitInputTable(model, grid, canvas, messages);
}

// Nodes 1 (0,0) rigid, 2 (4,0) hinged, 3 (4,3) rigid; element 1 from node 1
// to 2 and element 2 from 2 to 3, on a picture 200 x 150.
struct Frame {
    StructureModel model;
    RecordingCanvas canvas{200.0, 150.0};
    RecordingMessages messages;

    Frame()
    {
        EXPECT_TRUE(Commit(model, kNodeTable,
                           {{"1", "0", "0", "刚接"}, {"2", "4", "0", "铰接"}, {"3", "4", "3", "刚接"}}, canvas,
                           messages));
        EXPECT_TRUE(
            Commit(model, kElementTable, {{"1", "2.5e4", "1", "2"}, {"2", "2.5e4", "2", "3"}}, canvas, messages));
    }
};

bool SameOps(const std::vector<CanvasOp>& a, const std::vector<CanvasOp>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const CanvasOp& x = a[i];
        const CanvasOp& y = b[i];
        if (x.kind != y.kind || x.x1 != y.x1 || x.y1 != y.y1 || x.x2 != y.x2 || x.y2 != y.y2 || x.r != y.r ||
            x.start != y.start || x.end != y.end || !(x.color == y.color) || x.width != y.width ||
            x.fillStyle != y.fillStyle || x.text != y.text)
            return false;
    }
    return true;
}

TEST(ModelCommitTest, NodeTableFitsThePictureAndPrintsEveryNode)
{
    Frame f;
    EXPECT_EQ(f.model.NodeCount(), 3);
    EXPECT_EQ(f.model.Nodes.at(2), (Node{2, "铰接", 4.0f, 0.0f}));
    // sx = 200 * 0.6 / 4 = 30, sy = 150 * 0.6 / 3 = 30.
    EXPECT_DOUBLE_EQ(f.model.DrawScale, 30.0);
    EXPECT_DOUBLE_EQ(f.model.DrawOriginX, 40.0);
    EXPECT_DOUBLE_EQ(f.model.DrawOriginY, 120.0);
    EXPECT_DOUBLE_EQ(f.model.ModelMinX, 0.0);
    EXPECT_DOUBLE_EQ(f.model.ModelMinY, 0.0);

    StructureModel model;
    RecordingCanvas canvas(200.0, 150.0);
    ASSERT_TRUE(Commit(model, kNodeTable, {{"1", "0", "0", "刚接"}, {"2", "4", "0", "铰接"}}, canvas, f.messages));
    ASSERT_FALSE(canvas.ops.empty());
    EXPECT_EQ(canvas.ops.front().kind, CanvasOp::Kind::Cls);
    ASSERT_EQ(canvas.Prints().size(), 2u);
    EXPECT_DOUBLE_EQ(canvas.Prints()[1].x1, model.PictureX(4.0));
    EXPECT_DOUBLE_EQ(canvas.Prints()[1].y1, model.PictureY(0.0));
}

// The members, supports and loads stay in the model when the nodes are
// committed again, and the picture shows them on the nodes as they now are.
TEST(ModelCommitTest, NodesCommittedAgainBringBackTheOtherCommittedLayers)
{
    Frame f;
    ASSERT_TRUE(Commit(f.model, kSupportTable, {{"1", "固定支座", "结点左侧"}}, f.canvas, f.messages));
    ASSERT_TRUE(Commit(f.model, kLoadTable, {{"集中荷载", "3", "", "向右", "5"}, {"均布荷载", "", "2", "向下", "2"}},
                       f.canvas, f.messages));

    RecordingCanvas picture(200.0, 150.0);
    ASSERT_TRUE(Commit(f.model, kNodeTable, {{"1", "0", "0", "刚接"}, {"2", "4", "0", "铰接"}, {"3", "8", "3", "刚接"}},
                       picture, f.messages));
    RecordingCanvas expected(200.0, 150.0);
    DrawNodeNumbers(f.model, expected);
    DrawMembers(f.model, expected, MemberLabels::Shown);
    DrawSupports(f.model, expected);
    DrawConcentratedLoads(f.model, expected);
    DrawDistributedLoads(f.model, expected);
    DrawCouples(f.model, expected);
    EXPECT_TRUE(SameOps(picture.ops, expected.ops));
}

TEST(ModelCommitTest, TheTableEndsAtTheFirstEmptyFirstCell)
{
    StructureModel model;
    RecordingCanvas canvas;
    RecordingMessages messages;
    ASSERT_TRUE(Commit(model, kNodeTable, {{"1", "0", "0"}, {"2", "1", "0"}, {"", "5", "5", "刚接"}, {"4", "9", "9"}},
                       canvas, messages));
    EXPECT_EQ(model.NodeCount(), 2);
}

TEST(ModelCommitTest, IntegerCellsRoundHalvesToEvenAndBlankNumberCellsReadZero)
{
    StructureModel model;
    RecordingCanvas canvas;
    RecordingMessages messages;
    ASSERT_TRUE(Commit(model, kNodeTable, {{"1", " 1.5 ", "", "刚接"}, {"2.5", "-2", "4e0", "x"}, {"3", "1", "1e-400"}},
                       canvas, messages));
    EXPECT_EQ(model.Nodes.at(1), (Node{1, "刚接", 1.5f, 0.0f}));
    EXPECT_EQ(model.Nodes.at(2), (Node{2, "x", -2.0f, 4.0f}));
    EXPECT_EQ(model.Nodes.at(3).Y, 0.0f);
    ASSERT_TRUE(Commit(model, kElementTable, {{"0.6", "", "1.4", "2.5"}}, canvas, messages));
    EXPECT_EQ(model.Elements.at(1).Code, 1);
    EXPECT_EQ(model.Elements.at(1).EI, 0.0f);
    EXPECT_EQ(model.Elements.at(1).INode, 1);
    EXPECT_EQ(model.Elements.at(1).JNode, 2);
}

// The members follow their nodes; results of the structure as it was are
// forgotten by a commit of nodes, elements or supports, not of loads.
TEST(ModelCommitTest, ANewStructureMovesTheMembersAndForgetsEveryResult)
{
    const struct {
        const char* name;
        int kind;
        std::vector<std::vector<std::string_view>> rows;
    } cases[] = {
        {"nodes", kNodeTable, {{"1", "0", "0"}, {"2", "6", "0"}, {"3", "4", "3"}}},
        {"elements", kElementTable, {{"1", "1", "1", "2"}, {"2", "1", "2", "3"}}},
        {"supports", kSupportTable, {{"1", "固定支座", "结点左侧"}}},
        {"loads", kLoadTable, {{"集中荷载", "3", "", "向右", "5"}}},
        {"settlements", kSettlementTable, {{"1", "转角", "0.01"}}},
        {"temperature changes", kTemperatureTable, {{"2", "20", "20", "1e-5", "0.4"}}},
        {"no settlements", kSettlementTable, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Frame f;
        ASSERT_TRUE(Commit(f.model, kSupportTable, {{"1", "固定支座", "结点左侧"}}, f.canvas, f.messages));
        f.model.Elements.at(1).Mj = -40.0f;
        f.model.Supports.at(1).Fy = 30.0f;
        f.model.IndeterminacyDegree = 1;
        f.model.SizeCaseTables();
        f.model.RedundantForces.Append(2.5);
        const StructureModel before = f.model;

        ASSERT_TRUE(Commit(f.model, c.kind, c.rows, f.canvas, f.messages));
        EXPECT_EQ(f.model.Elements.at(1).Mj, 0.0f);
        EXPECT_EQ(f.model.Supports.at(1).Fy, 0.0f);
        EXPECT_EQ(f.model.CaseMoments.CaseCount(), 0);
        EXPECT_TRUE(f.model.RedundantForces.Empty());
    }
    // Node 2 moved from (4, 0) to (6, 0): member 1 is 6 long, member 2 runs
    // from (6, 0) to (4, 3).
    Frame f;
    ASSERT_TRUE(Commit(f.model, kNodeTable, {{"1", "0", "0"}, {"2", "6", "0"}, {"3", "4", "3"}}, f.canvas, f.messages));
    EXPECT_FLOAT_EQ(f.model.Elements.at(1).Length, 6.0f);
    EXPECT_FLOAT_EQ(f.model.Elements.at(1).CosA, 1.0f);
    EXPECT_FLOAT_EQ(f.model.Elements.at(2).Length, std::sqrt(13.0f));
    EXPECT_FLOAT_EQ(f.model.Elements.at(2).SinA, 3.0f / std::sqrt(13.0f));
    EXPECT_FLOAT_EQ(f.model.Elements.at(2).CosA, -2.0f / std::sqrt(13.0f));
    // A member whose end node is gone keeps no direction; the model type
    // analysis refuses it until the elements are committed again.
    ASSERT_TRUE(Commit(f.model, kNodeTable, {{"1", "0", "0"}, {"2", "6", "0"}}, f.canvas, f.messages));
    EXPECT_EQ(f.model.Elements.at(2).Length, 0.0f);
    EXPECT_EQ(f.model.Elements.at(2).SinA, 0.0f);
    EXPECT_EQ(f.model.Elements.at(2).CosA, 0.0f);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(ModelCommitTest, ElementGeometryRunsFromEndIToEndJ)
{
    const struct {
        Node i, j;
        float length, sinA, cosA;
    } cases[] = {
        {{1, "", 0.0f, 0.0f}, {2, "", 3.0f, 4.0f}, 5.0f, 0.8f, 0.6f},
        {{2, "", 3.0f, 4.0f}, {1, "", 0.0f, 0.0f}, 5.0f, -0.8f, -0.6f},
        {{1, "", 0.0f, 0.0f}, {2, "", 4.0f, 0.0f}, 4.0f, 0.0f, 1.0f},
        {{1, "", 2.0f, 5.0f}, {2, "", 2.0f, 1.0f}, 4.0f, -1.0f, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.j.X) + "," + ::testing::PrintToString(c.j.Y));
        const ElementGeometry g = MemberGeometry(c.i, c.j);
        EXPECT_FLOAT_EQ(g.Length, c.length);
        EXPECT_FLOAT_EQ(g.SinA, c.sinA);
        EXPECT_FLOAT_EQ(g.CosA, c.cosA);
    }
    Frame f;
    const Element& e = f.model.Elements.at(2);  // node 2 (4,0) to node 3 (4,3)
    EXPECT_FLOAT_EQ(e.Length, 3.0f);
    EXPECT_FLOAT_EQ(e.SinA, 1.0f);
    EXPECT_FLOAT_EQ(e.CosA, 0.0f);
    EXPECT_EQ(e.EI, 25000.0f);
}

TEST(ModelCommitTest, SupportsCountTheirRestraintsAndAnEmptyTableRemovesThemAll)
{
    const struct {
        std::vector<std::vector<std::string_view>> rows;
        int restraints;
    } cases[] = {
        {{{"1", "活动支座", "结点下方"}, {"2", "铰支座", "结点下方"}, {"3", "固定支座", "结点上方"}}, 6},
        {{{"1", "铰支座", "结点下方"}, {"3", "活动支座", "结点左侧"}}, 3},
        {{{"1", "滑动支座", "结点下方"}, {"2", "固定支座", "结点下方"}}, 3},
        {{}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.restraints);
        Frame f;
        ASSERT_TRUE(Commit(f.model, kSupportTable, c.rows, f.canvas, f.messages));
        EXPECT_EQ(f.model.SupportCount(), static_cast<int>(c.rows.size()));
        EXPECT_EQ(f.model.SupportConstraintCount, c.restraints);
        EXPECT_TRUE(f.messages.shown.empty());
    }
    Frame f;
    ASSERT_TRUE(Commit(f.model, kSupportTable, {{"1", "滑动支座", "斜下方"}}, f.canvas, f.messages));
    EXPECT_EQ(f.model.Supports.at(1).SupportType, "滑动支座");
    EXPECT_EQ(f.model.Supports.at(1).Direction, "斜下方");
}

TEST(ModelCommitTest, LoadMagnitudesAreSignedByDirection)
{
    const struct {
        std::string_view type, direction;
        float expected;
    } cases[] = {
        {"集中荷载", "向上", 10.0f},  {"集中荷载", "向下", -10.0f}, {"集中荷载", "向左", -10.0f},
        {"集中荷载", "向右", 10.0f},  {"均布荷载", "向上", 10.0f},  {"均布荷载", "向下", -10.0f},
        {"均布荷载", "向左", -10.0f}, {"均布荷载", "向右", 10.0f},  {"力偶", "顺时针", -10.0f},
        {"力偶", "逆时针", 10.0f},    {"力偶", "向上", 0.0f},       {"集中荷载", "顺时针", 0.0f},
        {"风荷载", "向下", 0.0f},     {"集中荷载", "", 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + std::string(c.direction));
        EXPECT_EQ(LoadMagnitude(c.type, c.direction, 10.0f), c.expected);
    }
    Frame f;
    ASSERT_TRUE(Commit(
        f.model, kLoadTable,
        {{"均布荷载", "0", "2", "向下", "10"}, {"力偶", "3", "", "顺时针", "2.5"}, {"风荷载", "99", "", "向下", "3"}},
        f.canvas, f.messages));
    ASSERT_EQ(f.model.LoadCount(), 3);
    EXPECT_EQ(f.model.Loads.at(1), (Load{"均布荷载", -10.0f, "向下", 0, 2}));
    EXPECT_EQ(f.model.Loads.at(2), (Load{"力偶", -2.5f, "顺时针", 3, 0}));
    // An unknown type is kept as typed and matches no rule.
    EXPECT_EQ(f.model.Loads.at(3), (Load{"风荷载", 0.0f, "向下", 99, 0}));
}

struct Refusal {
    const char* name;
    int kind;
    std::vector<std::vector<std::string_view>> rows;
    const char* message;
    int degree = 0;  // declared before the table is committed
};

TEST(ModelCommitTest, BadTablesAreRefusedWithOneMessageAndChangeNothing)
{
    const Refusal cases[] = {
        {"empty node table",
         kNodeTable,
         {{"", "1", "1"}, {"2", "0", "0"}},
         "第1行“结点号”列：结点表为空，至少要输入一个结点，本表未提交!"},
        {"node number too large",
         kNodeTable,
         {{"1", "0", "0"}, {"40000", "1", "0"}},
         "第2行“结点号”列：整数值超出-32768～32767的范围，本表未提交!"},
        {"coordinate beyond a float",
         kNodeTable,
         {{"1", "0", "1e39"}},
         "第1行“y坐标”列：数值过大，无法存储，本表未提交!"},
        {"empty element table", kElementTable, {}, "第1行“单元码”列：单元表为空，至少要输入一个单元，本表未提交!"},
        {"missing end node",
         kElementTable,
         {{"1", "1", "1", "2"}, {"2", "1", "7", "3"}},
         "第2行“i端结点码”列：结点号7不存在（现有结点1～3），本表未提交!"},
        {"end node 0",
         kElementTable,
         {{"1", "1", "1", "0"}},
         "第1行“j端结点码”列：结点号0不存在（现有结点1～3），本表未提交!"},
        {"zero length",
         kElementTable,
         {{"1", "1", "2", "2"}},
         "第1行“j端结点码”列：单元长度为零（两端结点位置重合），本表未提交!"},
        {"element code too small",
         kElementTable,
         {{"-32769", "1", "1", "2"}},
         "第1行“单元码”列：整数值超出-32768～32767的范围，本表未提交!"},
        {"support at a missing node",
         kSupportTable,
         {{"1", "铰支座", "结点下方"}, {"9", "铰支座", "结点下方"}},
         "第2行“支座结点码”列：结点号9不存在（现有结点1～3），本表未提交!"},
        {"concentrated force at no node",
         kLoadTable,
         {{"集中荷载", "", "", "向下", "10"}},
         "第1行“作用结点”列：结点号0不存在（现有结点1～3），本表未提交!"},
        {"couple at a missing node",
         kLoadTable,
         {{"力偶", "4", "", "顺时针", "10"}},
         "第1行“作用结点”列：结点号4不存在（现有结点1～3），本表未提交!"},
        {"couple on a missing element",
         kLoadTable,
         {{"力偶", "2", "3", "顺时针", "10"}},
         "第1行“作用单元”列：单元号3不存在（现有单元1～2），本表未提交!"},
        {"distributed load on no element",
         kLoadTable,
         {{"均布荷载", "1", "0", "向下", "10"}},
         "第1行“作用单元”列：单元号0不存在（现有单元1～2），本表未提交!"},
        {"node numbers typed as labels",
         kNodeTable,
         {{"5", "0", "0"}, {"7", "4", "0"}},
         "第1行“结点号”列：结点号应为1（各行依次为1、2、3…），本表未提交!"},
        {"node numbers out of row order",
         kNodeTable,
         {{"1", "0", "0"}, {"3", "4", "0"}, {"2", "4", "3"}},
         "第2行“结点号”列：结点号应为2（各行依次为1、2、3…），本表未提交!"},
        {"element code out of row order",
         kElementTable,
         {{"1", "1", "1", "2"}, {"1", "1", "2", "3"}},
         "第2行“单元码”列：单元码应为2（各行依次为1、2、3…），本表未提交!"},
        {"text in a coordinate",
         kNodeTable,
         {{"1", "0", "0"}, {"2", "x4", "0"}},
         "第2行“x坐标”列：“x4”不是数字，本表未提交!"},
        {"text after a node number",
         kElementTable,
         {{"1", "1", "1", "2号"}},
         "第1行“j端结点码”列：“2号”不是数字，本表未提交!"},
        {"text in EI", kElementTable, {{"1", "abc", "1", "2"}}, "第1行“EI值”列：“abc”不是数字，本表未提交!"},
        {"negative EI",
         kElementTable,
         {{"1", "1", "1", "2"}, {"2", "-2", "2", "3"}},
         "第2行“EI值”列：EI值为负（抗弯刚度应大于零），本表未提交!"},
        {"EI 0 of an indeterminate structure",
         kElementTable,
         {{"1", "0", "1", "2"}},
         "第1行“EI值”列：EI值为零（超静定结构的抗弯刚度应大于零），本表未提交!",
         1},
        {"nodes typed 1 apart at 1e8",
         kNodeTable,
         {{"1", "1e8", "0"}, {"2", "100000001", "0"}},
         "第2行“x坐标”列：与结点1的坐标相差过小（相对于坐标数值），单精度数值保存不下这个差，两结点会重合，本表未提交"
         "!"},
        {"nodes apart by less than a float tells",
         kNodeTable,
         {{"1", "0", "0"}, {"2", "4", "3"}, {"3", "4", "3.0000001"}},
         "第3行“y坐标”列：与结点2的坐标相差过小（相对于坐标数值），单精度数值保存不下这个差，两结点会重合，本表未提交"
         "!"},
        {"text in a support node",
         kSupportTable,
         {{" 1 ", "铰支座", "结点下方"}, {"1.5m", "铰支座", "结点下方"}},
         "第2行“支座结点码”列：“1.5m”不是数字，本表未提交!"},
        {"text in a cell the load does not use",
         kLoadTable,
         {{"均布荷载", "-", "1", "向下", "1"}},
         "第1行“作用结点”列：“-”不是数字，本表未提交!"},
        {"text in a magnitude",
         kLoadTable,
         {{"集中荷载", "2", "", "向下", "10kN"}},
         "第1行“荷载大小”列：“10kN”不是数字，本表未提交!"},
        {"magnitude beyond a float",
         kLoadTable,
         {{"集中荷载", "2", "", "向下", "-1e40"}},
         "第1行“荷载大小”列：数值过大，无法存储，本表未提交!"},
        {"unused node number too large",
         kLoadTable,
         {{"均布荷载", "99999", "1", "向下", "1"}},
         "第1行“作用结点”列：整数值超出-32768～32767的范围，本表未提交!"},
        {"force between the nodes of a missing member",
         kLoadTable,
         {{"集中荷载", "", "3", "向下", "10", "1"}},
         "第1行“作用单元”列：单元号3不存在（现有单元1～2），本表未提交!"},
        {"couple with a of no number names its member first",
         kLoadTable,
         {{"力偶", "", "9", "顺时针", "10", "x"}},
         "第1行“作用单元”列：单元号9不存在（现有单元1～2），本表未提交!"},
        {"couple without node or a acts at node 0",
         kLoadTable,
         {{"力偶", "", "1", "顺时针", "10"}},
         "第1行“作用结点”列：结点号0不存在（现有结点1～3），本表未提交!"},
        {"a beyond the end of its member",
         kLoadTable,
         {{"集中荷载", "", "1", "向下", "10", "5"}},
         "第1行“起点a”列：5不在单元1上（距i端的距离应在0～4之间），本表未提交!"},
        {"b before end i",
         kLoadTable,
         {{"均布荷载", "", "2", "向下", "1", "", "-1"}},
         "第1行“终点b”列：-1不在单元2上（距i端的距离应在0～3之间），本表未提交!"},
        {"a not before b",
         kLoadTable,
         {{"均布荷载", "", "1", "向下", "1", "3", "2"}},
         "第1行“终点b”列：起点a（3）应小于终点b（2），本表未提交!"},
        {"a at the end of the member, b blank",
         kLoadTable,
         {{"均布荷载", "", "2", "向下", "1", "3"}},
         "第1行“起点a”列：起点a（3）应小于终点b（空白，即单元长度3），本表未提交!"},
        {"a of a force at a node",
         kLoadTable,
         {{"集中荷载", "3", "", "向下", "10", "2"}},
         "第1行“起点a”列：起点a只用于均布荷载，以及作用结点空白、作用于单元的集中荷载和力偶，本表未提交!"},
        {"b of a force",
         kLoadTable,
         {{"集中荷载", "", "1", "向下", "10", "2", "3"}},
         "第1行“终点b”列：终点b只用于均布荷载，本表未提交!"},
        {"intensity at b of a couple",
         kLoadTable,
         {{"力偶", "", "1", "顺时针", "10", "2", "", "5"}},
         "第1行“末端大小”列：末端大小只用于均布荷载，本表未提交!"},
        {"text in a",
         kLoadTable,
         {{"均布荷载", "", "1", "向下", "1", "2m"}},
         "第1行“起点a”列：“2m”不是数字，本表未提交!"},
        {"intensity at b beyond a float",
         kLoadTable,
         {{"均布荷载", "", "1", "向下", "1", "", "", "1e39"}},
         "第1行“末端大小”列：数值过大，无法存储，本表未提交!"},
        {"settlement of a missing node",
         kSettlementTable,
         {{"1", "竖向位移", "-0.01"}, {"4", "竖向位移", "-0.01"}},
         "第2行“结点号”列：结点号4不存在（现有结点1～3），本表未提交!"},
        {"settlement of no kind",
         kSettlementTable,
         {{"1", "", "0.01"}},
         "第1行“位移类型”列：位移类型应为水平位移、竖向位移或转角，本表未提交!"},
        {"settlement of a kind not listed",
         kSettlementTable,
         {{"1", "铰两侧相对转角", "0.01"}},
         "第1行“位移类型”列：位移类型应为水平位移、竖向位移或转角，本表未提交!"},
        {"settlement value no number",
         kSettlementTable,
         {{"1", "转角", "0.01rad"}},
         "第1行“位移值”列：“0.01rad”不是数字，本表未提交!"},
        {"one displacement of a support twice",
         kSettlementTable,
         {{"3", "竖向位移", "-0.01"}, {"3", "水平位移", "0.02"}, {"3", "竖向位移", "0.01"}},
         "第3行“位移类型”列：结点3的竖向位移已在第1行给出，本表未提交!"},
        {"temperature of a missing element",
         kTemperatureTable,
         {{"3", "10", "-10", "1e-5", "0.5"}},
         "第1行“单元号”列：单元号3不存在（现有单元1～2），本表未提交!"},
        {"negative coefficient of expansion",
         kTemperatureTable,
         {{"1", "10", "-10", "-1e-5", "0"}},
         "第1行“线膨胀系数”列：线膨胀系数为负（应大于或等于零），本表未提交!"},
        {"section without depth",
         kTemperatureTable,
         {{"1", "10", "-10", "1e-5", "0.5"}, {"2", "10", "-10", "1e-5", ""}},
         "第2行“截面高度”列：截面高度应大于零（温差使杆件弯曲的曲率为αΔt/h），本表未提交!"},
        {"negative section depth",
         kTemperatureTable,
         {{"1", "10", "-10", "1e-5", "-0.5"}},
         "第1行“截面高度”列：截面高度应大于零（温差使杆件弯曲的曲率为αΔt/h），本表未提交!"},
        {"temperature no number",
         kTemperatureTable,
         {{"1", "10℃", "-10", "1e-5", "0.5"}},
         "第1行“左侧温度改变”列：“10℃”不是数字，本表未提交!"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        Frame f;
        ASSERT_TRUE(Commit(f.model, kSupportTable, {{"1", "固定支座", "结点左侧"}}, f.canvas, f.messages));
        ASSERT_TRUE(Commit(f.model, kLoadTable, {{"集中荷载", "3", "", "向右", "5"}}, f.canvas, f.messages));
        f.model.IndeterminacyDegree = static_cast<std::int16_t>(c.degree);
        MemoryGrid grid = InputGrid(f.model, c.kind);
        for (std::size_t r = 0; r < c.rows.size(); ++r) {
            int col = 0;
            for (std::string_view text : c.rows[r])
                grid.SetText(static_cast<int>(r) + 1, col++, text);
        }
        const StructureModel before = f.model;
        const std::size_t opsBefore = f.canvas.ops.size();
        const Rgb colour = f.canvas.ForeColor();
        const int width = f.canvas.DrawWidth();
        const auto cells = GridCells(grid);

        EXPECT_FALSE(CommitInputTable(f.model, grid, f.canvas, f.messages));
        EXPECT_TRUE(f.model == before);
        EXPECT_EQ(f.canvas.ops.size(), opsBefore);
        EXPECT_EQ(f.canvas.ForeColor(), colour);
        EXPECT_EQ(f.canvas.DrawWidth(), width);
        EXPECT_EQ(GridCells(grid), cells);
        ASSERT_EQ(f.messages.shown.size(), 1u);
        EXPECT_EQ(f.messages.shown[0].text, c.message);
    }
}

// A member without a usable length is refused for what its nodes are:
// one place, a distance no 32-bit square holds, a length beyond a float.
TEST(ModelCommitTest, AMemberWithoutALengthIsRefusedForWhatItsNodesAre)
{
    const struct {
        const char* name;
        std::vector<std::vector<std::string_view>> nodes;
        const char* reason;
    } cases[] = {
        {"one place", {{"1", "2", "3"}, {"2", "2", "3"}}, "单元长度为零（两端结点位置重合）"},
        {"1e-40 apart", {{"1", "0", "0"}, {"2", "1e-40", "0"}}, "单元长度过小，超出单精度数值的范围"},
        {"3e38 each way", {{"1", "-3e38", "0"}, {"2", "3e38", "0"}}, "单元长度超出数值范围"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        StructureModel model;
        RecordingCanvas canvas;
        RecordingMessages messages;
        ASSERT_TRUE(Commit(model, kNodeTable, k.nodes, canvas, messages));
        EXPECT_FALSE(Commit(model, kElementTable, {{"1", "1", "1", "2"}}, canvas, messages));
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "第1行“j端结点码”列：" + std::string(k.reason) + "，本表未提交!");
    }
}

TEST(ModelCommitTest, ACoupleWithoutElementAndAnEmptyLoadTableAreCommitted)
{
    Frame f;
    ASSERT_TRUE(Commit(f.model, kLoadTable, {{"力偶", "2", "0", "逆时针", "4"}}, f.canvas, f.messages));
    EXPECT_EQ(f.model.Loads.at(1), (Load{"力偶", 4.0f, "逆时针", 2, 0}));
    ASSERT_TRUE(Commit(f.model, kLoadTable, {}, f.canvas, f.messages));
    EXPECT_EQ(f.model.LoadCount(), 0);
    EXPECT_TRUE(f.messages.shown.empty());
}

// Member 1 runs 4 from node 1 along x, member 2 3 from node 2 along y.
TEST(ModelCommitTest, LoadsBetweenTheNodesKeepTheirPlaceAndBlankStaysAbsent)
{
    const std::optional<float> none;
    const struct {
        const char* name;
        std::vector<std::string_view> row;
        Load load;
    } cases[] = {
        {"force at a", {"集中荷载", "", "1", "向下", "10", "2"}, {"集中荷载", -10.0f, "向下", 0, 1, 2.0f, none, none}},
        {"force at end i, a blank", {"集中荷载", " ", "1", "向上", "5"}, {"集中荷载", 5.0f, "向上", 0, 1}},
        {"force at end j",
         {"集中荷载", "0", "2", "向左", "5", "3"},
         {"集中荷载", -5.0f, "向左", 0, 2, 3.0f, none, none}},
        {"couple at a", {"力偶", "", "2", "逆时针", "3", "1.5"}, {"力偶", 3.0f, "逆时针", 0, 2, 1.5f, none, none}},
        {"triangle over the member",
         {"均布荷载", "", "1", "向下", "0", "", " ", "6"},
         {"均布荷载", 0.0f, "向下", 0, 1, none, none, -6.0f}},
        {"uniform over [a, L]",
         {"均布荷载", "", "2", "向右", "2", "1", "3"},
         {"均布荷载", 2.0f, "向右", 0, 2, 1.0f, 3.0f, none}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Frame f;
        ASSERT_TRUE(Commit(f.model, kLoadTable, {c.row}, f.canvas, f.messages));
        EXPECT_EQ(f.model.Loads.at(1), c.load);
        EXPECT_TRUE(f.messages.shown.empty());
    }
}

// Each commit draws its own layer on top; the picture matches the passes run
// by hand in the same order on a fresh picture.
TEST(ModelCommitTest, ALoadTableCommittedWhileUnitForcesStandInLoadsIsTheUsersLoadTable)
{
    Frame f;
    const Load unitForce{"集中荷载", 1.0f, "向上", 3, 0};
    f.model.SavedLoads.Append(Load{"集中荷载", -5.0f, "向下", 2, 0});
    f.model.Loads.Append(unitForce);
    f.model.UnitForcesInLoads = true;

    // A refused table leaves the unit forces where they stand.
    ASSERT_FALSE(Commit(f.model, kLoadTable, {{"集中荷载", "9", "", "向下", "5"}}, f.canvas, f.messages));
    EXPECT_TRUE(f.model.UnitForcesInLoads);
    EXPECT_EQ(f.model.Loads.at(1), unitForce);

    ASSERT_TRUE(Commit(f.model, kLoadTable, {{"集中荷载", "3", "", "向下", "7"}}, f.canvas, f.messages));
    EXPECT_FALSE(f.model.UnitForcesInLoads);
    EXPECT_EQ(f.model.Loads.Count(), 1);
    EXPECT_EQ(f.model.Loads.at(1), (Load{"集中荷载", -7.0f, "向下", 3, 0}));
}

TEST(ModelCommitTest, EachTableDrawsItsLayerInTheWorkingOrder)
{
    Frame f;
    ASSERT_TRUE(Commit(f.model, kSupportTable, {{"1", "固定支座", "结点左侧"}, {"3", "活动支座", "结点上方"}}, f.canvas,
                       f.messages));
    ASSERT_TRUE(Commit(
        f.model, kLoadTable,
        {{"集中荷载", "3", "", "向右", "5"}, {"均布荷载", "", "1", "向下", "2"}, {"力偶", "2", "1", "顺时针", "3"}},
        f.canvas, f.messages));

    RecordingCanvas expected(200.0, 150.0);
    DrawNodeNumbers(f.model, expected);
    DrawMembers(f.model, expected, MemberLabels::Shown);
    expected.SetDrawWidth(1);
    DrawSupports(f.model, expected);
    DrawConcentratedLoads(f.model, expected);
    DrawDistributedLoads(f.model, expected);
    DrawCouples(f.model, expected);
    EXPECT_TRUE(SameOps(f.canvas.ops, expected.ops));
}

TEST(ModelCommitTest, UndoRedrawsTheLayersBelowTheShowingTable)
{
    using Pass = std::function<void(const StructureModel&, Canvas&)>;
    const Pass nodes = DrawNodeNumbers;
    const Pass members = [](const StructureModel& m, Canvas& c) { DrawMembers(m, c, MemberLabels::Shown); };
    const Pass supports = DrawSupports;
    const Pass loads = [](const StructureModel& m, Canvas& c) {
        DrawConcentratedLoads(m, c);
        DrawDistributedLoads(m, c);
        DrawCouples(m, c);
    };
    // The settlements and temperature changes draw nothing: below them lies
    // the whole structure with its loads.
    const std::vector<Pass> whole = {nodes, members, supports, loads};
    const std::vector<Pass> layers[] = {{}, {nodes}, {nodes, members}, {nodes, members, supports}, whole, whole};
    for (int kind = kNodeTable; kind <= kTemperatureTable; ++kind) {
        SCOPED_TRACE(kind);
        Frame f;
        ASSERT_TRUE(Commit(f.model, kSupportTable, {{"1", "铰支座", "结点下方"}}, f.canvas, f.messages));
        ASSERT_TRUE(Commit(f.model, kLoadTable, {{"集中荷载", "3", "", "向右", "5"}}, f.canvas, f.messages));
        f.model.InputTableKind = static_cast<std::int16_t>(kind);
        const StructureModel before = f.model;

        RecordingCanvas picture(200.0, 150.0);
        UndoTableDrawing(f.model, picture);
        RecordingCanvas expected(200.0, 150.0);
        expected.Cls();
        for (const Pass& pass : layers[kind])
            pass(f.model, expected);
        EXPECT_TRUE(SameOps(picture.ops, expected.ops));
        EXPECT_TRUE(f.model == before);
    }
}

// A table committed again, as after mending a typo in its rows brought
// back, replaces its own layer: nothing of the old members, supports or loads
// stays in the picture.
TEST(ModelCommitTest, ATableCommittedAgainReplacesItsLayer)
{
    using Rows = std::vector<std::vector<std::string_view>>;
    using Pass = std::function<void(const StructureModel&, Canvas&)>;
    const Pass nodes = DrawNodeNumbers;
    const Pass members = [](const StructureModel& m, Canvas& c) { DrawMembers(m, c, MemberLabels::Shown); };
    const Pass supports = [](const StructureModel& m, Canvas& c) {
        c.SetDrawWidth(1);
        DrawSupports(m, c);
    };
    const Pass loads = [](const StructureModel& m, Canvas& c) {
        DrawConcentratedLoads(m, c);
        DrawDistributedLoads(m, c);
        DrawCouples(m, c);
    };
    struct Case {
        int kind;
        Rows first, again;
        std::vector<Pass> picture;
    };
    const Case cases[] = {
        {kElementTable, {{"1", "1", "1", "2"}, {"2", "1", "2", "3"}}, {{"1", "1", "1", "3"}}, {nodes, members}},
        {kSupportTable, {{"1", "固定支座", "结点左侧"}}, {{"3", "铰支座", "结点下方"}}, {nodes, members, supports}},
        {kLoadTable,
         {{"集中荷载", "3", "", "向右", "16"}},
         {{"集中荷载", "3", "", "向右", "20"}},
         {nodes, members, supports, loads}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        // Two frames alike up to the first commit of the table, so that both
        // pictures carry the same drawing state.
        Frame f, expected;
        for (Frame* frame : {&f, &expected}) {
            ASSERT_TRUE(
                Commit(frame->model, kSupportTable, {{"1", "固定支座", "结点左侧"}}, frame->canvas, frame->messages));
            ASSERT_TRUE(Commit(frame->model, c.kind, c.first, frame->canvas, frame->messages));
            frame->canvas.ops.clear();
        }
        ASSERT_TRUE(Commit(f.model, c.kind, c.again, f.canvas, f.messages));

        expected.canvas.Cls();
        for (const Pass& pass : c.picture)
            pass(f.model, expected.canvas);
        EXPECT_TRUE(SameOps(f.canvas.ops, expected.canvas.ops));
    }
}

// Choosing a table again shows what was committed, in texts that commit back
// to the very values: the student mends one typo instead of typing it all.
TEST(ModelCommitTest, AChosenTableShowsItsCommittedRowsWhichCommitBackUnchanged)
{
    Frame f;
    ASSERT_TRUE(Commit(f.model, kNodeTable,
                       {{"1", "0.1", "-3.25", "刚接"}, {"2", "1e-8", "2.5e4", "铰接"}, {"3", "4", "3"}}, f.canvas,
                       f.messages));
    ASSERT_TRUE(Commit(f.model, kSupportTable, {{"1", "固定支座", "结点左侧"}}, f.canvas, f.messages));
    ASSERT_TRUE(Commit(f.model, kLoadTable,
                       {{"集中荷载", "3", "", "向下", "10"},
                        {"均布荷载", "", "2", "向左", "1.5"},
                        {"力偶", "2", "1", "顺时针", "4"},
                        {"集中荷载", "2", "", "斜向", "7"},
                        {"集中荷载", "", "1", "向下", "10", "2.0"},
                        {"均布荷载", "", "2", "向左", "0", "", "", "6"},
                        {"均布荷载", "", "1", "向上", "1", "0.5", "4", "-2"}},
                       f.canvas, f.messages));
    ASSERT_TRUE(
        Commit(f.model, kSettlementTable, {{"1", "转角", "-1.5e-3"}, {"3", "竖向位移", "-.02"}}, f.canvas, f.messages));
    ASSERT_TRUE(Commit(f.model, kTemperatureTable, {{"2", "-10", "25", "0.00001", "0.6"}}, f.canvas, f.messages));
    // The load table is the user's also while unit forces stand in Loads.
    const OneBasedTable<Load> userLoads = f.model.Loads;
    f.model.SavedLoads = userLoads;
    f.model.Loads = OneBasedTable<Load>();
    f.model.Loads.Append({"集中荷载", 1.0f, "向上", 2, 0});
    f.model.UnitForcesInLoads = true;

    const struct {
        int kind;
        CellRows shown;
    } cases[] = {
        {kNodeTable, {{"1", "0.1", "-3.25", "刚接"}, {"2", "1e-08", "25000", "铰接"}, {"3", "4", "3"}}},
        {kElementTable, {{"1", "25000", "1", "2"}, {"2", "25000", "2", "3"}}},
        {kSupportTable, {{"1", "固定支座", "结点左侧"}}},
        // A direction the load type does not know stores no magnitude.
        {kLoadTable,
         {{"集中荷载", "3", "", "向下", "10"},
          {"均布荷载", "", "2", "向左", "1.5"},
          {"力偶", "2", "1", "顺时针", "4"},
          {"集中荷载", "2", "", "斜向", "0"},
          {"集中荷载", "", "1", "向下", "10", "2"},
          {"均布荷载", "", "2", "向左", "0", "", "", "6"},
          {"均布荷载", "", "1", "向上", "1", "0.5", "4", "-2"}}},
        {kSettlementTable, {{"1", "转角", "-0.0015"}, {"3", "竖向位移", "-0.02"}}},
        {kTemperatureTable, {{"2", "-10", "25", "1e-05", "0.6"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        MemoryGrid grid(kInputGridRows, 1);
        InputFormState form;
        ASSERT_TRUE(SelectInputTable(c.kind, f.model, grid, form));
        EXPECT_EQ(DataRows(grid), c.shown);

        StructureModel committed = f.model;
        ASSERT_TRUE(CommitInputTable(committed, grid, f.canvas, f.messages));
        EXPECT_EQ(committed.Nodes, f.model.Nodes);
        EXPECT_EQ(committed.Elements, f.model.Elements);
        EXPECT_EQ(committed.Supports, f.model.Supports);
        EXPECT_EQ(committed.UserLoads(), userLoads);
        EXPECT_EQ(committed.Settlements, f.model.Settlements);
        EXPECT_EQ(committed.Temperatures, f.model.Temperatures);
    }
    EXPECT_TRUE(f.messages.shown.empty());
}

// Settlements and temperature changes go into the model as typed, signed as
// the columns say; the picture keeps what it showed; an empty table takes
// them all away.
TEST(ModelCommitTest, SettlementsAndTemperatureChangesAreStoredAsTypedAndMayBeRemoved)
{
    Frame f;
    ASSERT_TRUE(Commit(f.model, kSupportTable, {{"1", "固定支座", "结点左侧"}, {"3", "活动支座", "结点下方"}}, f.canvas,
                       f.messages));
    const std::size_t ops = f.canvas.ops.size();
    ASSERT_TRUE(Commit(f.model, kSettlementTable,
                       {{"1", "转角", "0.002"}, {"1", "水平位移", "-0.01"}, {"3", "竖向位移", "-0.02"}}, f.canvas,
                       f.messages));
    ASSERT_TRUE(Commit(f.model, kTemperatureTable, {{"1", "-15", "25", "1.2e-5", "0.5"}, {"2", "10", "10", "0", "0.3"}},
                       f.canvas, f.messages));
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_EQ(f.canvas.ops.size(), ops);

    OneBasedTable<SupportSettlement> settlements;
    settlements.Append({1, "转角", 0.002f});
    settlements.Append({1, "水平位移", -0.01f});
    settlements.Append({3, "竖向位移", -0.02f});
    EXPECT_EQ(f.model.Settlements, settlements);
    OneBasedTable<TemperatureChangeRow> temperatures;
    temperatures.Append({1, -15.0f, 25.0f, 1.2e-5f, 0.5f});
    temperatures.Append({2, 10.0f, 10.0f, 0.0f, 0.3f});
    EXPECT_EQ(f.model.Temperatures, temperatures);
    // The other tables stay as they were.
    EXPECT_EQ(f.model.SupportCount(), 2);
    EXPECT_EQ(f.model.SupportConstraintCount, 4);

    ASSERT_TRUE(Commit(f.model, kSettlementTable, {}, f.canvas, f.messages));
    ASSERT_TRUE(Commit(f.model, kTemperatureTable, {}, f.canvas, f.messages));
    EXPECT_TRUE(f.model.Settlements.Empty());
    EXPECT_TRUE(f.model.Temperatures.Empty());
    EXPECT_EQ(f.model.Supports.Count(), 2);
}

}  // namespace
}  // namespace tavrin
