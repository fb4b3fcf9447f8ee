#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "analysis/Statics.h"
#include "analysis/StaticsTestModels.h"

namespace tavrin {
namespace {

using testing::ModelBuilder;

// Node 1 (0,0), node 2 (4,0), node 3 (4,3), node 4 (9,0); element 1: 1->2,
// element 2: 1->3, element 3: 2->4.
ModelBuilder Frame()
{
    ModelBuilder b;
    b.Node(0, 0).Node(4, 0).Node(4, 3).Node(9, 0).Member(1, 2).Member(1, 3).Member(2, 4);
    return b;
}

struct ResultantCase {
    const char* name;
    StructureModel model;
    std::vector<std::int16_t> elements;
    std::int16_t about;
    float moment, fx, fy;
};

TEST(LoadResultantsTest, EachLoadKindReducesToForcesAndAClockwiseMoment)
{
    const ResultantCase cases[] = {
        {"downward force right of O turns clockwise", Frame().Force(2, kDownward, 10).Build(), {1}, 1, 40, 0, -10},
        {"rightward force above O turns clockwise", Frame().Force(3, kRightward, 2).Build(), {2}, 1, 6, 2, 0},
        {"vertical load on the horizontal projection of a sloping member",
         Frame().Distributed(2, kDownward, 1).Build(),
         {2},
         1,
         8,
         0,
         -4},
        {"horizontal load on the vertical projection of a sloping member",
         Frame().Distributed(2, kRightward, 1).Build(),
         {2},
         1,
         4.5f,
         3,
         0},
        // Stored counter-clockwise positive, summed clockwise positive.
        {"counter-clockwise node couple", Frame().Couple(2, kCounterClockwise, 12).Build(), {1}, 1, -12, 0, 0},
        {"clockwise node couple", Frame().Couple(2, kClockwise, 12).Build(), {1}, 4, 12, 0, 0},
        {"counter-clockwise member couple", Frame().Couple(2, kCounterClockwise, 5, 3).Build(), {3}, 1, -5, 0, 0},
        {"force at a node two listed elements share counts once",
         Frame().Force(2, kUpward, 3).Build(),
         {1, 3},
         4,
         15,
         0,
         3},
        {"force at a node no listed element touches", Frame().Force(4, kDownward, 3).Build(), {1, 2}, 1, 0, 0, 0},
        {"distributed load on an unlisted element", Frame().Distributed(3, kDownward, 3).Build(), {1, 2}, 1, 0, 0, 0},
        {"direction that is none of the six",
         [] {
             StructureModel m = Frame().Build();
             m.Loads.Append({"集中荷载", 5, "斜向", 2, 0});
             return m;
         }(),
         {1},
         1,
         0,
         0,
         0},
        {"no loads", Frame().Build(), {1, 2, 3}, 3, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LoadResultants r = SumLoadResultants(c.model, c.elements, c.about);
        EXPECT_FLOAT_EQ(r.Moment, c.moment);
        EXPECT_FLOAT_EQ(r.Fx, c.fx);
        EXPECT_FLOAT_EQ(r.Fy, c.fy);
    }
}

TEST(LoadResultantsTest, SkippedLoadsAreLeftOut)
{
    const StructureModel m = Frame().Force(2, kDownward, 10).Force(2, kDownward, 1).Build();
    const std::vector<bool> skip{true, false};
    const LoadResultants r = SumLoadResultants(m, std::vector<std::int16_t>{1}, 1, &skip);
    EXPECT_FLOAT_EQ(r.Fy, -1);
    EXPECT_FLOAT_EQ(r.Moment, 4);
}

// The end forces, the coefficients and the moment diagram all read these.
TEST(LoadResultantsTest, DistributedLoadsAddUpPerMemberAndAxis)
{
    const struct {
        const char* name;
        StructureModel model;
        std::int16_t member;
        float qh, qv;
    } cases[] = {
        {"downward 6 and 4 on one member", Frame().Distributed(2, kDownward, 6).Distributed(2, kDownward, 4).Build(), 2,
         0, -10},
        {"each axis apart", Frame().Distributed(1, kLeftward, 3).Distributed(1, kUpward, 2).Build(), 1, -3, 2},
        {"load on another member, force and couple",
         Frame().Distributed(3, kDownward, 5).Force(2, kDownward, 7).Couple(2, kClockwise, 1, 1).Build(), 1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const OneBasedTable<DistributedIntensity> q = SumDistributedLoads(c.model.Loads, c.model.ElementCount());
        ASSERT_EQ(q.Count(), 3);
        EXPECT_FLOAT_EQ(q.at(c.member).qh, c.qh);
        EXPECT_FLOAT_EQ(q.at(c.member).qv, c.qv);
    }
    // A load on a member the table lacks acts on none.
    const StructureModel beyond = Frame().Distributed(4, kDownward, 9).Distributed(0, kDownward, 9).Build();
    for (const DistributedIntensity& q : SumDistributedLoads(beyond.Loads, beyond.ElementCount()))
        EXPECT_FALSE(q.Any());
}

TEST(LoadResultantsTest, NumberOutsideItsTableIsReportedToTheCaller)
{
    const StructureModel m = Frame().Force(2, kDownward, 10).Build();
    EXPECT_THROW(SumLoadResultants(m, std::vector<std::int16_t>{7}, 1), std::out_of_range);
    EXPECT_THROW(SumLoadResultants(m, std::vector<std::int16_t>{1}, 9), std::out_of_range);
}

}  // namespace
}  // namespace tavrin
