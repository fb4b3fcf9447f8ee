#include <gtest/gtest.h>

#include <cmath>

#include "analysis/StaticsTestModels.h"
#include "forcemethod/BasicSystemChoice.h"
#include "model/Vocabulary.h"

namespace tavrin {
namespace {

using testing::ModelBuilder;

constexpr RestraintKind H = RestraintKind::Horizontal, V = RestraintKind::Vertical, R = RestraintKind::Rotation,
                        C = RestraintKind::Continuity;

// Two spans of 4 (EI 1), q = 3 down on both, typed whole: pin at node 1,
// rollers at 2 and 3, once indeterminate.
StructureModel TwoSpanBeam()
{
    return testing::TwoSpans()
        .Support(1, kPinSupport)
        .Support(2, kRollerSupport)
        .Support(3, kRollerSupport)
        .Distributed(1, kDownward, 3)
        .Distributed(2, kDownward, 3)
        .Degree(1)
        .Build();
}

// Releasing the middle support leaves the simple span of 8 with X1 = 5qL/4
// = 15 at the middle; releasing an end support leaves the overhanging beam
// with X1 the end's reaction 3qL/8 = 4.5. Either way the moment over the
// middle support is qL^2/8 = 6 hogging. Every choice has four nonzero
// ledger terms and a 1 x 1 δ, so the recommendation is the first in the
// list that holds: the left end's vertical restraint (its horizontal one
// would leave the beam free to slide).
TEST(BasicSystemChoiceTest, TwoSpanBeamReleasedAtEachSupport)
{
    const OriginalStructure original = OriginalOfTyped(TwoSpanBeam());
    EXPECT_EQ(original.restraints, (std::vector<Restraint>{{1, H}, {1, V}, {2, V}, {3, V}, {2, C}}));
    struct Case {
        Restraint released;
        double X1;
        CellRows supports;
    };
    const Case cases[] = {
        {{2, V}, 15.0, {{"1", "铰支座", "结点下方"}, {"3", "活动支座", "结点下方"}}},
        {{1, V}, 4.5, {{"1", "活动支座", "结点左侧"}, {"2", "活动支座", "结点下方"}, {"3", "活动支座", "结点下方"}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(RestraintText(k.released));
        std::string why;
        std::optional<BasicSystem> basic = FormBasicSystem(original, {k.released}, 1, why);
        ASSERT_TRUE(basic) << why;
        EXPECT_EQ(basic->supports, k.supports);
        EXPECT_EQ(basic->unitForces,
                  (std::vector<CellRows>{{{"集中荷载", std::to_string(k.released.node), "", "向上"}}}));
        const std::optional<BasicSystemSolution> solved = SolveBasicSystem(*basic, why);
        ASSERT_TRUE(solved) << why;
        EXPECT_NEAR(solved->solution.X[0], k.X1, 1e-9);
        EXPECT_NEAR(solved->solution.total.members[0].j.M, 6.0, 1e-9);
    }
    // A hinge over the middle support: two simple spans, the second an
    // attached part hung on the first at the hinge and held by its roller,
    // X1 the pair of couples there, -6 in the sense of the pair.
    std::string why;
    const std::optional<BasicSystem> hinged = FormBasicSystem(original, {{2, C}}, 1, why);
    ASSERT_TRUE(hinged) << why;
    EXPECT_EQ(hinged->attachedParts, (CellRows{{"1", "2", "3", "2"}}));
    EXPECT_EQ(hinged->basicParts, (CellRows{{"1", "1"}}));
    const std::optional<BasicSystemSolution> solved = SolveBasicSystem(*hinged, why);
    ASSERT_TRUE(solved) << why;
    EXPECT_NEAR(solved->solution.X[0], -6.0, 1e-9);

    const std::optional<BasicSystem> recommended = RecommendBasicSystem(original, 1, why);
    ASSERT_TRUE(recommended) << why;
    EXPECT_EQ(recommended->released, (std::vector<Restraint>{{1, V}}));
}

// Choices the calculation cannot take are refused with the reason: a
// mechanism names the node and direction that move; a guided support is
// not in the table; the count must be the degree.
TEST(BasicSystemChoiceTest, RefusedChoicesSayWhy)
{
    const OriginalStructure beam = OriginalOfTyped(TwoSpanBeam());
    const StructureModel clamped =
        ModelBuilder().Node(0, 0).Node(4, 0).Member(1, 2).Support(1, kFixedSupport).Support(2, kRollerSupport).Build();
    const OriginalStructure propped = OriginalOfTyped(clamped);
    struct Case {
        const OriginalStructure* original;
        std::vector<Restraint> released;
        const char* why;
    };
    const Case cases[] = {
        {&beam, {{1, H}}, "去掉这些约束后结构几何可变：结点1可沿水平方向移动"},
        {&beam, {{2, V}, {3, V}}, "结构是1次超静定的，应去掉1个约束，现选了2个"},
        {&propped,
         {{1, V}},
         "结点1去掉这些约束后只剩转动约束或转动加一个方向的移动约束，需要定向支座，支座表中没有这种支座，请另选"},
        {&propped, {{2, H}}, "结点2水平约束不是原结构的约束"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.why);
        std::string why;
        EXPECT_FALSE(FormBasicSystem(*k.original, k.released, 1, why));
        EXPECT_EQ(why, k.why);
    }
}

// A portal of 4 x 6 fixed at both feet (columns EI 3, beam EI 2) under a
// horizontal force of 10 at its top left corner and 3 per unit length down
// on the beam, solved on three basic systems: the right foot released (as
// typed), both feet's rotation and the right foot's horizontal restraint
// (a simple portal), and both feet's rotation and the continuity at the
// left corner (a three-hinged frame). The redundants and their work differ;
// the final moments are the same. The portal read back from its basic
// system and unit forces is the portal typed whole.
TEST(BasicSystemChoiceTest, PortalGivesTheSameMomentsOnThreeBasicSystems)
{
    const StructureModel portal = testing::PortalFrame()
                                      .Support(1, kFixedSupport)
                                      .Support(4, kFixedSupport)
                                      .Force(2, kRightward, 10)
                                      .Distributed(2, kDownward, 3)
                                      .Degree(3)
                                      .Build();
    const OriginalStructure original = OriginalOfTyped(portal);
    EXPECT_EQ(original.restraints,
              (std::vector<Restraint>{{1, H}, {1, V}, {1, R}, {4, H}, {4, V}, {4, R}, {2, C}, {3, C}}));
    const std::vector<Restraint> choices[] = {
        {{4, H}, {4, V}, {4, R}}, {{1, R}, {4, H}, {4, R}}, {{1, R}, {4, R}, {2, C}}};
    std::vector<BasicSystemSolution> solved;
    for (const std::vector<Restraint>& released : choices) {
        std::string why;
        std::optional<BasicSystem> basic = FormBasicSystem(original, released, 3, why);
        ASSERT_TRUE(basic) << why;
        std::optional<BasicSystemSolution> s = SolveBasicSystem(*basic, why);
        ASSERT_TRUE(s) << why;
        solved.push_back(std::move(*s));
    }
    EXPECT_EQ(solved[2].system.model.Nodes.at(2).JointType, kHingedJoint);
    EXPECT_EQ(solved[2].system.unitForces[2], (CellRows{{"力偶", "2", "1", "逆时针"}, {"力偶", "2", "2", "顺时针"}}));
    for (std::size_t k = 1; k < 3; ++k)
        for (std::size_t e = 0; e < 3; ++e) {
            EXPECT_NEAR(solved[k].solution.total.members[e].i.M, solved[0].solution.total.members[e].i.M, 1e-9);
            EXPECT_NEAR(solved[k].solution.total.members[e].j.M, solved[0].solution.total.members[e].j.M, 1e-9);
        }
    EXPECT_NE(solved[0].solution.X[0], solved[1].solution.X[0]);

    const CellRows table = CompareBasicSystems(solved[0], solved[2]);
    EXPECT_EQ(table[1], (std::vector<std::string>{"去掉的约束", "结点4水平约束、结点4竖向约束、结点4转动约束",
                                                  "结点1转动约束、结点4转动约束、结点2弯矩连续"}));

    std::string why;
    const std::optional<OriginalStructure> back =
        OriginalOfBasicSystem(solved[2].system.model, solved[2].system.unitLoads, why);
    ASSERT_TRUE(back) << why;
    EXPECT_EQ(back->restraints, original.restraints);
    EXPECT_EQ(back->frame.Nodes.at(2).JointType, kRigidJoint);
}

TEST(BasicSystemChoiceTest, CaseFileNamesOfRestraints)
{
    EXPECT_EQ(RestraintOfCells({"3", "竖向"}), (Restraint{3, V}));
    EXPECT_EQ(RestraintOfCells({"2", "弯矩连续"}), (Restraint{2, C}));
    EXPECT_EQ(CellsOfRestraint({4, R}), (std::vector<std::string>{"4", "转角"}));
    EXPECT_FALSE(RestraintOfCells({"3", "竖直"}));
    EXPECT_FALSE(RestraintOfCells({"0", "水平"}));
    EXPECT_FALSE(RestraintOfCells({"2.5", "水平"}));
}

}  // namespace
}  // namespace tavrin
