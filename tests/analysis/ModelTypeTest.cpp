#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "analysis/ModelType.h"
#include "analysis/StaticsTestModels.h"
#include "model/Vocabulary.h"

namespace tavrin {
namespace {

StructureModel WithSupports(std::initializer_list<std::string_view> types, std::int16_t degree)
{
    StructureModel model;
    std::int16_t node = 1;
    for (std::string_view type : types) {
        model.Supports.Append(Support{node++, std::string(type), std::string(kBelowNode)});
        model.SupportConstraintCount = static_cast<std::int16_t>(model.SupportConstraintCount + RestraintCount(type));
    }
    model.IndeterminacyDegree = degree;
    return model;
}

// A star of `members` cantilevers fixed at node 3 of the given joint type.
StructureModel Star(std::string_view joint, int members)
{
    StructureModel model;
    model.Nodes.Append(Node{1, std::string(kHingedJoint), 0, 0});
    model.Nodes.Append(Node{2, std::string(kRigidJoint), 1, 0});
    model.Nodes.Append(Node{3, std::string(joint), 2, 0});
    for (int m = 0; m < members; ++m) {
        model.Nodes.Append(
            Node{static_cast<std::int16_t>(4 + m), std::string(kFreeEnd), 2, 1.0f + static_cast<float>(m)});
        model.Elements.Append(Element{
            .Code = static_cast<std::int16_t>(m + 1), .EI = 1, .INode = 3, .JNode = static_cast<std::int16_t>(4 + m)});
    }
    model.Supports.Append(Support{3, std::string(kFixedSupport), std::string(kBelowNode)});
    model.SupportConstraintCount = 3;
    return model;
}

TEST(ModelTypeTest, DialogReadsTheDegreeOnlyForAnIndeterminateStructure)
{
    struct Case {
        bool indeterminate;
        const char* text;
        bool accepted;
        std::int16_t degree;  // afterwards, starting from 7
    };
    const Case cases[] = {
        {true, "2", true, 2},      {false, "3", true, 0},     {true, "2.5", true, 2},   {true, "3.5", true, 4},
        {true, "abc", false, 7},   {true, "", true, 0},       {true, " 3次", false, 7}, {true, "-1", false, 7},
        {true, "-0.4", true, 0},   {true, "40000", false, 7}, {false, "-1", true, 0},   {true, " 3 ", true, 3},
        {true, "1e-400", true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.indeterminate ? "超静定 " : "静定 ") + c.text);
        StructureModel model;
        model.IndeterminacyDegree = 7;
        RecordingMessages messages;
        EXPECT_EQ(AcceptModelType(model, {c.indeterminate, c.text}, messages), c.accepted);
        EXPECT_EQ(model.IndeterminacyDegree, c.degree);
        EXPECT_EQ(messages.shown.size(), c.accepted ? 0u : 1u);
    }
    StructureModel model;
    RecordingMessages messages;
    AcceptModelType(model, {true, "x4"}, messages);
    EXPECT_EQ(messages.shown.at(0).text, "超静定次数“x4”不是数字，请重新输入！");
}

// Members committed while the structure was determinate may lack EI; a
// degree declared over them is kept, with the warning to mend the elements
// at once rather than a failure at the coefficients.
TEST(ModelTypeTest, IndeterminateOverMembersWithoutEIWarnsAtOnce)
{
    StructureModel model;
    model.Elements.Append(Element{.Code = 1, .EI = 2.0f});
    model.Elements.Append(Element{.Code = 2, .EI = 0.0f});
    RecordingMessages messages;
    EXPECT_TRUE(AcceptModelType(model, {true, "1"}, messages));
    EXPECT_EQ(model.IndeterminacyDegree, 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], (ShownMessage{"超静定结构需要各单元的EI，请补充单元表！", "警告!"}));

    messages.shown.clear();
    EXPECT_TRUE(AcceptModelType(model, {false, ""}, messages));
    EXPECT_TRUE(AcceptModelType(model, {true, "0"}, messages));
    model.Elements.at(2).EI = 5.0f;
    EXPECT_TRUE(AcceptModelType(model, {true, "1"}, messages));
    EXPECT_TRUE(messages.shown.empty());
}

TEST(ModelTypeTest, ClassificationByTheSupportArrangement)
{
    struct Case {
        const char* name;
        std::initializer_list<std::string_view> supports;
        bool attached;
    };
    const Case cases[] = {
        {"two pins (three-hinged)", {kPinSupport, kPinSupport}, false},
        {"pin and two rollers", {kPinSupport, kRollerSupport, kRollerSupport}, true},
        {"fixed and two rollers", {kFixedSupport, kRollerSupport, kRollerSupport}, true},
        {"fixed and roller (hinged cantilever beam)", {kRollerSupport, kFixedSupport}, true},
        {"four rollers", {kRollerSupport, kRollerSupport, kRollerSupport, kRollerSupport}, true},
        {"pin and roller", {kPinSupport, kRollerSupport}, false},
        {"one fixed support", {kFixedSupport}, false},
        {"three rollers", {kRollerSupport, kRollerSupport, kRollerSupport}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HasAttachedParts(WithSupports(c.supports, 0)), c.attached);
        EXPECT_EQ(ClassifyStructure(WithSupports(c.supports, 0)),
                  c.attached ? CalculationModel::DeterminateWithAttached : CalculationModel::DeterminateNoAttached);
        EXPECT_EQ(ClassifyStructure(WithSupports(c.supports, 2)),
                  c.attached ? CalculationModel::IndeterminateWithAttached : CalculationModel::IndeterminateNoAttached);
    }
}

TEST(ModelTypeTest, ItemListsOfTheFourModels)
{
    using Items = std::vector<std::string>;
    const auto texts = [](CalculationModel kind, int n) { return ItemTexts(CalculationItems(kind, n)); };
    EXPECT_EQ(texts(CalculationModel::DeterminateNoAttached, 0), (Items{"支座反力", "各构件内力"}));
    EXPECT_EQ(texts(CalculationModel::DeterminateWithAttached, 0),
              (Items{"附属部分支座反力", "基本部分支座反力", "各构件内力"}));
    EXPECT_EQ(
        texts(CalculationModel::IndeterminateNoAttached, 2),
        (Items{"外荷载作用下支座反力", "外荷载作用下各构件内力", "单位力X 1作用下支座反力", "单位力X 1作用下各构件内力",
               "单位力X 2作用下支座反力", "单位力X 2作用下各构件内力", "自由项系数", "未知力求解", "构件总内力"}));
    EXPECT_EQ(texts(CalculationModel::IndeterminateWithAttached, 1),
              (Items{"外荷载作用下附属部分支座反力", "外荷载作用下基本部分支座反力", "外荷载作用下各构件内力",
                     "单位力未知力X 1作用下基本部分支座反力", "单位力未知力X 1作用下基本部分各构件内力", "自由项系数",
                     "未知力求解", "构件总内力"}));
    const Items twelve = texts(CalculationModel::IndeterminateNoAttached, 12);
    ASSERT_EQ(twelve.size(), 2u * 12 + 5);
    EXPECT_EQ(twelve[24], "单位力X 12作用下支座反力");
    EXPECT_EQ(CalculationItems(CalculationModel::IndeterminateWithAttached, 3).size(), 2u * 3 + 6);
}

TEST(ModelTypeTest, EveryListedItemRunsAStepAndNothingBeyond)
{
    const CalculationModel kinds[] = {
        CalculationModel::DeterminateNoAttached, CalculationModel::DeterminateWithAttached,
        CalculationModel::IndeterminateNoAttached, CalculationModel::IndeterminateWithAttached};
    for (const CalculationModel kind : kinds)
        for (int n : {0, 1, 3}) {
            const bool indeterminate = kind == CalculationModel::IndeterminateNoAttached ||
                                       kind == CalculationModel::IndeterminateWithAttached;
            if (indeterminate != (n != 0))
                continue;
            SCOPED_TRACE(std::to_string(static_cast<int>(kind)) + " n=" + std::to_string(n));
            const std::vector<CalculationItem> list = CalculationItems(kind, n);
            const auto items = static_cast<int>(list.size());
            for (int m = 0; m < items; ++m)
                EXPECT_NE(StepOfItem(list, m).kind, StepKind::None) << m;
            EXPECT_EQ(StepOfItem(list, items).kind, StepKind::None);
            EXPECT_EQ(StepOfItem(list, -1).kind, StepKind::None);
            if (indeterminate) {
                EXPECT_EQ(StepOfItem(list, items - 1).kind, StepKind::Superposition);
            }
        }
    using enum StepKind;
    const std::vector<CalculationItem> two = CalculationItems(CalculationModel::IndeterminateNoAttached, 2);
    EXPECT_EQ(StepOfItem(two, 4), (CalculationStep{SupportReactions, 2}));
    EXPECT_EQ(StepOfItem(two, 5), (CalculationStep{CaseEndForces, 2}));
    EXPECT_EQ(StepOfItem(two, 6), (CalculationStep{Coefficients, 0}));
    const std::vector<CalculationItem> one = CalculationItems(CalculationModel::IndeterminateWithAttached, 1);
    EXPECT_EQ(StepOfItem(one, 1), (CalculationStep{BasicParts, 0}));
    EXPECT_EQ(StepOfItem(one, 3), (CalculationStep{BasicParts, 1}));
    EXPECT_EQ(StepOfItem(one, 4), (CalculationStep{CaseEndForces, 1}));
    EXPECT_EQ(StepOfItem(one, 5), (CalculationStep{Coefficients, 0}));
    // The first item of each unit force asks for that unit force.
    EXPECT_EQ(one[3], (CalculationItem{
                          "单位力未知力X 1作用下基本部分支座反力", {BasicParts, 1}, SupplementaryTable::UnitForces}));
    EXPECT_EQ(one[4].needs, SupplementaryTable::None);
}

TEST(ModelTypeTest, AnalysisSizesTheCaseTablesAndNamesTheModel)
{
    StructureModel model = Star(kRigidJoint, 2);
    model.IndeterminacyDegree = 1;
    model.CaseMoments.Resize(0, 1);
    model.CaseMoments.at(0, 1, 2) = 5.0f;
    RecordingMessages messages;

    const ModelTypeAnalysis analysis = AnalyseModelType(model, messages);

    EXPECT_TRUE(analysis.accepted);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(model.CalcModel, CalculationModel::IndeterminateNoAttached);
    EXPECT_EQ(analysis.caption, "无附属部分的超静定结构计算");
    EXPECT_EQ(analysis.items.size(), 7u);
    for (const CaseForceTable* table : {&model.CaseAxialForces, &model.CaseShearForces, &model.CaseMoments}) {
        EXPECT_EQ(table->CaseCount(), 2);
        EXPECT_EQ(table->ElementCount(), 2);
        EXPECT_EQ(table->at(0, 1, 2), 0.0f);
    }
}

TEST(ModelTypeTest, RigidJointOfThreeMembersIsRefusedAndNothingChanges)
{
    struct Case {
        std::string_view joint;
        int members;
        bool accepted;
    };
    const Case cases[] = {
        {kRigidJoint, 2, true},
        {kRigidJoint, 3, false},
        {kHingedJoint, 4, true},
        {kFreeEnd, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.joint) + " x" + std::to_string(c.members));
        StructureModel model = Star(c.joint, c.members);
        model.CalcModel = CalculationModel::IndeterminateWithAttached;
        const StructureModel before = model;
        RecordingMessages messages;

        const ModelTypeAnalysis analysis = AnalyseModelType(model, messages);

        EXPECT_EQ(analysis.accepted, c.accepted);
        if (c.accepted)
            continue;
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "伸出单元数>2，本程序不能计算刚结点有弯矩分配的工况！3刚节点");
        EXPECT_TRUE(model == before);
        EXPECT_TRUE(analysis.items.empty());
    }
}

// A beam 1-2 fixed at node 1 with a force at node 2, a distributed load on
// element 1 and, between its nodes, a force at a = 2, a couple at a = 1 and
// a triangle, then changed as a later commit of one table leaves it.
TEST(ModelTypeTest, RowsThatNoLongerFitTheirNodesOrElementsAreRefusedUntilCommittedAgain)
{
    const struct {
        const char* name;
        std::function<void(StructureModel&)> change;
        const char* message;
    } cases[] = {
        {"end node gone", [](StructureModel& m) { m.Nodes.Recreate(1); },
         "单元表第1行：结点号2不存在（现有结点1），请重新提交单元表！"},
        {"ends now coincide", [](StructureModel& m) { m.Nodes.at(2).X = 0.0f; },
         "单元表第1行：单元长度为零（两端结点位置重合），请重新提交单元表！"},
        {"support at a node gone", [](StructureModel& m) { m.Supports.at(1).NodeNo = 3; },
         "支座表第1行：结点号3不存在（现有结点1～2），请重新提交支座表！"},
        {"force at a node gone", [](StructureModel& m) { m.Loads.at(1).NodeNo = 3; },
         "荷载表第1行：结点号3不存在（现有结点1～2），请重新提交荷载表！"},
        {"distributed load on an element gone", [](StructureModel& m) { m.Loads.at(2).ElementNo = 2; },
         "荷载表第2行：单元号2不存在（现有单元1），请重新提交荷载表！"},
        {"force between the nodes of an element gone", [](StructureModel& m) { m.Loads.at(3).ElementNo = 2; },
         "荷载表第3行：单元号2不存在（现有单元1），请重新提交荷载表！"},
        {"force beyond the end of its member, now shorter",
         [](StructureModel& m) {
             m.Nodes.at(2).X = 1.5f;
             m.Elements.at(1).Length = 1.5f;
         },
         "荷载表第3行：2不在单元1上（距i端的距离应在0～1.5之间），请重新提交荷载表！"},
        {"the student's loads while a unit force stands in Loads",
         [](StructureModel& m) {
             m.SavedLoads = m.Loads;
             m.SavedLoads.at(2).ElementNo = 0;
             m.Loads.Recreate(1);
             m.Loads.at(1) = Load{std::string(kConcentratedLoad), 1.0f, std::string(kUpward), 2, 0};
             m.UnitForcesInLoads = true;
         },
         "荷载表第2行：单元号0不存在（现有单元1），请重新提交荷载表！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StructureModel model;
        model.Nodes.Append(Node{1, std::string(kRigidJoint), 0, 0});
        model.Nodes.Append(Node{2, std::string(kFreeEnd), 4, 0});
        model.Elements.Append(Element{.Code = 1, .EI = 1, .INode = 1, .JNode = 2, .Length = 4, .CosA = 1});
        model.Supports.Append(Support{1, std::string(kFixedSupport), std::string(kBelowNode)});
        model.SupportConstraintCount = 3;
        model.Loads.Append(Load{std::string(kConcentratedLoad), -5.0f, std::string(kDownward), 2, 0});
        model.Loads.Append(Load{std::string(kDistributedLoad), -2.0f, std::string(kDownward), 0, 1});
        model.Loads.Append(Load{std::string(kConcentratedLoad), -3.0f, std::string(kDownward), 0, 1, 2.0f});
        model.Loads.Append(Load{std::string(kCouple), 1.0f, std::string(kCounterClockwise), 0, 1, 1.0f});
        model.Loads.Append(
            Load{std::string(kDistributedLoad), 0.0f, std::string(kDownward), 0, 1, std::nullopt, std::nullopt, -6.0f});
        RecordingMessages messages;
        ASSERT_TRUE(AnalyseModelType(model, messages).accepted);

        c.change(model);
        const StructureModel before = model;
        EXPECT_FALSE(AnalyseModelType(model, messages).accepted);
        EXPECT_TRUE(model == before);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, c.message);
    }
}

// Three-hinged portal, with a hinge at pin 1 too; one couple. At the crown
// hinge 3 the couple loads the end of element 2 or of element 3, and the
// crown moments differ in sign between the two: the row has to say which.
TEST(ModelTypeTest, CoupleAtAHingeOfSeveralMembersMustNameItsElement)
{
    const struct {
        std::int16_t node;
        std::int16_t element;
        const char* message;  // empty: accepted
    } cases[] = {
        {3, 0,
         "荷载表第1行：力偶作用在连接单元2、单元3的铰结点3上，须在“作用单元”中填写它作用于哪个单元，请重新提交荷载表"
         "！"},
        {3, 2, ""},
        {3, 3, ""},
        {2, 0, ""},  // a rigid corner turns as one
        {1, 0, ""},  // the hinge at a pin ends one member only
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.node) + "/" + std::to_string(c.element));
        StructureModel model = testing::ThreeHingedFrame().Couple(c.node, kCounterClockwise, 6, c.element).Build();
        model.Nodes.at(1).JointType = kHingedJoint;
        const StructureModel before = model;
        RecordingMessages messages;

        const ModelTypeAnalysis analysis = AnalyseModelType(model, messages);

        EXPECT_EQ(analysis.accepted, std::string_view(c.message).empty());
        if (analysis.accepted)
            continue;
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, c.message);
        EXPECT_TRUE(model == before);
    }
}

TEST(ModelTypeTest, AnElementLoopingAtItsNodeCountsOnce)
{
    StructureModel model = Star(kRigidJoint, 1);
    model.Elements.Append(Element{.Code = 2, .EI = 1, .INode = 3, .JNode = 3});
    EXPECT_EQ(ElementsAtNode(model, 3), 2);
    // Such a member has no length: it is refused for that, not as a third
    // member at the rigid joint.
    RecordingMessages messages;
    EXPECT_FALSE(AnalyseModelType(model, messages).accepted);
    EXPECT_EQ(messages.shown.at(0).text, "单元表第2行：单元长度为零（两端结点位置重合），请重新提交单元表！");
}

}  // namespace
}  // namespace tavrin
