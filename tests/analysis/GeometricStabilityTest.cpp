#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/GeometricStability.h"
#include "analysis/ModelType.h"
#include "model/Vocabulary.h"

namespace tavrin {
namespace {

struct NodeRow {
    float x, y;
    std::string_view joint;
};
struct SupportRow {
    std::int16_t node;
    std::string_view type;
    std::string_view side;
};

StructureModel Structure(const std::vector<NodeRow>& nodes, const std::vector<std::pair<int, int>>& elements,
                         const std::vector<SupportRow>& supports, std::int16_t degree)
{
    StructureModel model;
    std::int16_t n = 0;
    for (const NodeRow& row : nodes)
        model.Nodes.Append(Node{++n, std::string(row.joint), row.x, row.y});
    std::int16_t e = 0;
    for (const auto& [i, j] : elements)
        model.Elements.Append(Element{
            .Code = ++e, .EI = 1, .INode = static_cast<std::int16_t>(i), .JNode = static_cast<std::int16_t>(j)});
    for (const SupportRow& row : supports) {
        model.Supports.Append(Support{row.node, std::string(row.type), std::string(row.side)});
        model.SupportConstraintCount =
            static_cast<std::int16_t>(model.SupportConstraintCount + RestraintCount(row.type));
    }
    model.IndeterminacyDegree = degree;
    return model;
}

constexpr std::string_view H = kHingedJoint;
constexpr std::string_view R = kRigidJoint;
constexpr std::string_view F = kFreeEnd;

// The structure as typed is counted by the rank of its equilibrium equations:
// one that can move is refused naming a node and direction, one with
// restraints too many saying how many; the usable ones go on to the list.
TEST(GeometricStabilityTest, TheStructureAsTypedMustBeStableAndDeterminate)
{
    const std::vector<std::pair<int, int>> beam{{1, 2}, {2, 3}};
    const std::vector<NodeRow> straight{{0, 0, H}, {4, 0, R}, {8, 0, H}};
    // Columns 1-2 and 4-5 (the right one hanging from a pin above node 4),
    // crown hinge at node 3 (4, 2) on the line from the pin (0, 0) to the pin
    // (8, 4): the two halves turn about their pins and the crown rises along
    // that line's normal, 4 for each 2 the knees sway.
    const std::vector<NodeRow> inLine{{0, 0, H}, {0, 2, R}, {4, 2, H}, {8, 2, R}, {8, 4, H}};
    const std::vector<std::pair<int, int>> frame{{1, 2}, {2, 3}, {3, 4}, {4, 5}};
    struct Case {
        const char* name;
        StructureModel model;
        const char* message;  // empty: accepted
    };
    const Case cases[] = {
        {"beam on three rollers",
         Structure(straight, beam,
                   {{1, kRollerSupport, kBelowNode}, {2, kRollerSupport, kBelowNode}, {3, kRollerSupport, kBelowNode}},
                   0),
         "约束布置不当，结构几何可变或瞬变：结点1可沿水平方向移动，无法计算！"},
        {"roller level with the pin, its link through the pin",
         Structure(straight, beam, {{1, kPinSupport, kBelowNode}, {3, kRollerSupport, kRightOfNode}}, 0),
         "约束布置不当，结构几何可变或瞬变：结点3可沿竖直方向移动，无法计算！"},
        {"three-hinged frame, crown on the line of the pins",
         Structure(inLine, frame, {{1, kPinSupport, kBelowNode}, {5, kPinSupport, kAboveNode}}, 0),
         "约束布置不当，结构几何可变或瞬变：结点3可沿竖直方向移动，无法计算！"},
        {"hinge in a simple beam",
         Structure({{0, 0, H}, {4, 0, H}, {8, 0, H}}, beam,
                   {{1, kPinSupport, kBelowNode}, {3, kRollerSupport, kBelowNode}}, 0),
         "约束不足，结构几何可变：结点2可沿竖直方向移动，无法计算！"},
        {"beam with two pins, determinate calculation",
         Structure(straight, beam, {{1, kPinSupport, kBelowNode}, {3, kPinSupport, kBelowNode}}, 0),
         "结构是超静定的，多余约束有1个，请按超静定结构计算！"},
        {"propped cantilever typed whole as the basic system of X1",
         Structure({{0, 0, R}, {6, 0, H}}, {{1, 2}}, {{1, kFixedSupport, kLeftOfNode}, {2, kRollerSupport, kBelowNode}},
                   1),
         "基本体系仍是超静定的，多余约束还有1个，请去掉它们并相应增加未知力！"},
        {"beam fixed at both ends, basic system of X1",
         Structure({{0, 0, R}, {6, 0, R}}, {{1, 2}},
                   {{1, kFixedSupport, kLeftOfNode}, {2, kFixedSupport, kRightOfNode}}, 1),
         "基本体系仍是超静定的，多余约束还有3个，请去掉它们并相应增加未知力！"},
        {"simple beam", Structure(straight, beam, {{1, kPinSupport, kBelowNode}, {3, kRollerSupport, kBelowNode}}, 0),
         ""},
        {"three-hinged frame",
         Structure({{0, 0, H}, {0, 4, R}, {3, 4, H}, {6, 4, R}, {6, 0, H}}, frame,
                   {{1, kPinSupport, kBelowNode}, {5, kPinSupport, kBelowNode}}, 0),
         ""},
        {"cantilever released from a propped one, typed hinged at the wall",
         Structure({{0, 0, H}, {6, 0, F}}, {{1, 2}}, {{1, kFixedSupport, kLeftOfNode}}, 1), ""},
        {"hinged cantilever beam with a hung span",
         Structure({{0, 0, R}, {4, 0, H}, {8, 0, H}}, beam,
                   {{1, kFixedSupport, kBelowNode}, {3, kRollerSupport, kBelowNode}}, 0),
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StructureModel model = c.model;
        const StructureModel before = model;
        RecordingMessages messages;

        const ModelTypeAnalysis analysis = AnalyseModelType(model, messages);

        EXPECT_EQ(analysis.accepted, std::string_view(c.message).empty());
        if (analysis.accepted) {
            EXPECT_TRUE(messages.shown.empty());
            continue;
        }
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, c.message);
        EXPECT_TRUE(model == before);
    }
}

TEST(GeometricStabilityTest, RankCountsIndependentRowsOnly)
{
    EXPECT_EQ(RankOfRows({}, 1e-9), 0);
    EXPECT_EQ(RankOfRows({{1, 0, 0}, {0, 0, 0}, {-1, 0, 0}}, 1e-9), 1);
    EXPECT_EQ(RankOfRows({{1, 2, 0}, {0, 1, 1}, {1, 3, 1}}, 1e-9), 2);
    EXPECT_EQ(RankOfRows({{1, 2, 0}, {0, 1, 1}, {1, 3, 1.5}}, 1e-9), 3);
}

}  // namespace
}  // namespace tavrin
