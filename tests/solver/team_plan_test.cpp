// How the threads of a column are shared among its jobs, from measured solve times.
#include "solver/team_plan.h"

#include <gtest/gtest.h>

#include <limits>
#include <numeric>
#include <vector>

namespace wv::solv {
namespace {

int Total(const std::vector<int>& sizes) { return std::accumulate(sizes.begin(), sizes.end(), 0); }

// A column in which one thread alone needs `solo` seconds per unit of cost and the
// given team sizes need what `rates` says.
void MeasureColumn(TeamPlan& plan, double solo, const std::vector<std::pair<int, double>>& rates = {}) {
    plan.Measured(1, 400.0, 400.0 * solo);
    for (const auto& [members, rate] : rates) plan.Measured(members, 400.0, 400.0 * rate);
    plan.EndColumn();
}

// A column whose highest frequency needs far more iterations than the others, as in the
// deep water of a beach; and one whose components cost nearly the same.
const std::vector<double> kSevenComponents = {3300, 2100, 2050, 2000, 1950, 1900, 1900};
const std::vector<double> kEvenComponents = {2700, 2400, 2100, 2000, 1950, 1900, 1900};
const std::vector<int> kRoomy(7, 15);

TEST(TeamPlan, TheFirstColumnGivesEveryJobOneThreadAndLeavesTheSpareOnes) {
    TeamPlan plan;
    EXPECT_EQ(plan.Sizes(kSevenComponents, kRoomy, 8), std::vector<int>(7, 1));
    EXPECT_EQ(plan.Sizes({5000}, {15}, 8), std::vector<int>{1});
}

TEST(TeamPlan, AnUntriedTeamIsTriedOnTheJobTheColumnWaitsFor) {
    TeamPlan plan;
    MeasureColumn(plan, 1e-6);
    const std::vector<int> sizes = plan.Sizes(kSevenComponents, kRoomy, 8);
    EXPECT_EQ(sizes, (std::vector<int>{2, 1, 1, 1, 1, 1, 1}));
    // With more threads, each goes where the longest expected time is, while the column
    // ends sooner by more than a thread's share of it: 2700 to 2400, 2400 to 2100, but
    // not 2100 to 2000.
    EXPECT_EQ(plan.Sizes(kEvenComponents, kRoomy, 16), (std::vector<int>{2, 2, 1, 1, 1, 1, 1}));
}

// A spare thread finds the next column's work; in a team it leaves that work to the end
// of the column. So it joins only where the column would end sooner by more than its
// share of the column's threads.
TEST(TeamPlan, ASpareThreadJoinsOnlyWhereTheColumnEndsClearlySooner) {
    TeamPlan plan;
    MeasureColumn(plan, 1e-6, {{2, 0.6e-6}});
    // The second costliest bounds the column at 2400 of 2700: 11 %, less than an eighth.
    EXPECT_EQ(plan.Sizes(kEvenComponents, kRoomy, 8), std::vector<int>(7, 1));
    // On sixteen threads a sixteenth is enough.
    EXPECT_EQ(plan.Sizes(kEvenComponents, kRoomy, 16)[0], 2);
    // 3300 down to 2100: the team pays; a second spare thread would take the second job
    // from 2100 to 1260 while the third still needs 2050.
    EXPECT_EQ(plan.Sizes(kSevenComponents, kRoomy, 9), (std::vector<int>{2, 1, 1, 1, 1, 1, 1}));
}

TEST(TeamPlan, ATeamSlowerThanOneThreadIsLeftOutUntilItIsTriedAgain) {
    TeamPlan plan;
    MeasureColumn(plan, 1e-6, {{2, 2.3e-6}});  // two members, each at far less than half speed
    EXPECT_EQ(plan.Sizes(kSevenComponents, kRoomy, 8), std::vector<int>(7, 1));
    EXPECT_EQ(plan.Sizes({5000}, {15}, 8), std::vector<int>{1});
    for (int c = 0; c < TeamPlan::kRetryColumns; ++c) {
        MeasureColumn(plan, 1e-6);
        ASSERT_EQ(plan.Sizes(kSevenComponents, kRoomy, 8), std::vector<int>(7, 1)) << "column " << c;
    }
    MeasureColumn(plan, 1e-6);
    EXPECT_EQ(plan.Sizes(kSevenComponents, kRoomy, 8)[0], 2) << "the machine may have changed";
}

// A team chosen on a measure of one thread that was held up (the run's first, cold
// column) is weighed again against one thread within a few columns, not after the old
// measure is forgotten.
TEST(TeamPlan, OneThreadAloneIsMeasuredAgainWhileTeamsRun) {
    TeamPlan plan;
    MeasureColumn(plan, 3e-6);  // cold
    std::vector<int> sizes;
    for (int c = 0; c < TeamPlan::kRetryColumns; ++c) {
        sizes.push_back(plan.Sizes(kSevenComponents, kRoomy, 8)[0]);
        // A team of two is slower than one thread is now.
        if (sizes.back() == 1) plan.Measured(1, 400.0, 400e-6);
        else plan.Measured(2, 400.0, 480e-6);
        plan.EndColumn();
    }
    ASSERT_EQ(sizes[0], 2);
    EXPECT_EQ(sizes[static_cast<std::size_t>(TeamPlan::kSoloRecheckColumns)], 1) << "one thread measured again";
    // Each measure halves what is left of the cold one: within a few checks one thread
    // alone is seen to be faster, and the team is left out.
    for (std::size_t c = 5 * (TeamPlan::kSoloRecheckColumns + 1); c < sizes.size(); ++c)
        EXPECT_EQ(sizes[c], 1) << "column " << c;
}

TEST(TeamPlan, ATeamThatPaysIsKeptAndGrownWhileEachStepPays) {
    TeamPlan plan;
    MeasureColumn(plan, 1e-6, {{2, 0.6e-6}});
    EXPECT_EQ(plan.Sizes(kSevenComponents, kRoomy, 8), (std::vector<int>{2, 1, 1, 1, 1, 1, 1}));
    // One job alone on eight threads: three members are tried next, and when they are
    // slower than two the team stays at two.
    EXPECT_EQ(plan.Sizes({5000}, {15}, 8), std::vector<int>{3});
    MeasureColumn(plan, 1e-6, {{2, 0.6e-6}, {3, 0.7e-6}});
    EXPECT_EQ(plan.Sizes({5000}, {15}, 8), std::vector<int>{2});
}

TEST(TeamPlan, ASingleSlowColumnDoesNotTurnThePlanAlone) {
    TeamPlan plan;
    MeasureColumn(plan, 1e-6, {{2, 0.5e-6}});
    MeasureColumn(plan, 1e-6, {{2, 1.1e-6}});  // another program held a member up once
    EXPECT_EQ(plan.Sizes(kSevenComponents, kRoomy, 8)[0], 2);
    MeasureColumn(plan, 1e-6, {{2, 1.1e-6}});
    EXPECT_EQ(plan.Sizes(kSevenComponents, kRoomy, 8)[0], 1);
}

TEST(TeamPlan, NoTeamOutgrowsWhatItsJobCanShareOrTheThreads) {
    TeamPlan plan;
    MeasureColumn(plan, 1e-6, {{2, 0.5e-6}, {3, 0.3e-6}, {4, 0.2e-6}});
    // The column waits for the first job whatever the second's team.
    EXPECT_EQ(plan.Sizes({5000, 4000}, {1, 3}, 16), (std::vector<int>{1, 1}));
    EXPECT_EQ(plan.Sizes({4000, 5000}, {3, 1}, 16), (std::vector<int>{1, 1}));
    EXPECT_EQ(plan.Sizes({5000, 4000}, {2, 3}, 16), (std::vector<int>{2, 2}));
    EXPECT_EQ(Total(plan.Sizes({5000}, {15}, 3)), 3);
    // Without a measure of one thread alone (every job was in a team for a long time)
    // one column runs alone to measure it again.
    TeamPlan teamsOnly;
    for (int c = 0; c <= TeamPlan::kRetryColumns + 1; ++c) {
        if (c == 0) teamsOnly.Measured(1, 400.0, 400e-6);
        teamsOnly.Measured(4, 400.0, 100e-6);
        teamsOnly.EndColumn();
    }
    EXPECT_EQ(teamsOnly.Sizes({5000}, {15}, 8), std::vector<int>{1});
}

// A thread whose processor is shared on the host falls behind for as long as that
// lasts: it moves to the spare places, and the others keep theirs (and their caches).
TEST(ThreadPlaces, AClearlySlowerThreadMovesBackTheOthersStay) {
    ThreadPlaces places;
    places.Reset(4);
    EXPECT_EQ(places.Order(4), (std::vector<int>{0, 1, 2, 3}));
    for (int solve = 0; solve < 3; ++solve)
        for (int w = 0; w < 4; ++w) places.Measured(w, w == 0 ? 1.03e-7 : 1.0e-7 - w * 1e-9);
    EXPECT_EQ(places.Order(4), (std::vector<int>{0, 1, 2, 3})) << "three per cent is no reason to move";
    // One solve held up by the host is not enough; a slowness that lasts is.
    places.Measured(0, 3.0e-7);
    EXPECT_EQ(places.Order(4), (std::vector<int>{0, 1, 2, 3}));
    for (int solve = 0; solve < 6; ++solve) places.Measured(0, 1.3e-7);
    EXPECT_EQ(places.Order(4), (std::vector<int>{1, 2, 3, 0}));
    // It takes its place again only once it is clearly faster than the thread before it.
    for (int solve = 0; solve < 20; ++solve) places.Measured(0, 1.0e-7);
    EXPECT_EQ(places.Order(4), (std::vector<int>{1, 2, 3, 0}));
    for (int solve = 0; solve < 20; ++solve) places.Measured(3, 1.2e-7);
    EXPECT_EQ(places.Order(4), (std::vector<int>{1, 2, 0, 3}));
}

// Only a thread that kept its place measures its processor: after a change of place its
// team's system lies in another core's caches.
TEST(ThreadPlaces, ASolveCountsOnlyInThePlaceHeldBefore) {
    ThreadPlaces places;
    places.Reset(3);
    places.Order(3);
    for (int w = 0; w < 3; ++w) EXPECT_FALSE(places.Settled(w)) << "the first column is everybody's first";
    places.Order(3);
    for (int w = 0; w < 3; ++w) EXPECT_TRUE(places.Settled(w));
    for (int solve = 0; solve < 20; ++solve) {
        places.Measured(0, 2.0e-7);
        places.Measured(1, 1.0e-7);
        places.Measured(2, 1.9e-7);
    }
    EXPECT_EQ(places.Order(3), (std::vector<int>{1, 0, 2}));
    EXPECT_FALSE(places.Settled(0));
    EXPECT_FALSE(places.Settled(1));
    EXPECT_TRUE(places.Settled(2));
    places.Order(3);
    EXPECT_TRUE(places.Settled(0));
    EXPECT_FALSE(places.Settled(3));
    EXPECT_FALSE(places.Settled(-1));
}

// A spare thread solves nothing and would keep the measure of its last solve for the rest
// of the run. Every so many columns it takes the last working place and is measured
// anew: it stays there if it is clearly faster than the thread it replaced, which then
// keeps the spare place; otherwise the two change back.
TEST(ThreadPlaces, SpareThreadsTryTheLastWorkingPlace) {
    auto column = [](ThreadPlaces& places, const std::vector<double>& pace, int working) {
        const std::vector<int> order = places.Order(working);
        for (int p = 0; p < working; ++p)
            if (places.Settled(order[static_cast<std::size_t>(p)]))
                places.Measured(order[static_cast<std::size_t>(p)], pace[static_cast<std::size_t>(order[static_cast<std::size_t>(p)])]);
        return order;
    };
    // Thread 3 starts in the spare place and is the fastest.
    ThreadPlaces faster;
    faster.Reset(4);
    const std::vector<double> fast{1.0e-7, 1.0e-7, 1.0e-7, 0.8e-7};
    for (int c = 1; c < ThreadPlaces::kTrySpareColumns; ++c)
        EXPECT_EQ(column(faster, fast, 3), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(column(faster, fast, 3), (std::vector<int>{0, 1, 3, 2})) << "the spare tries";
    EXPECT_EQ(faster.Pace(3), 0.0) << "and is measured anew";
    for (int c = 0; c < 4; ++c) column(faster, fast, 3);
    EXPECT_EQ(faster.Order(3), (std::vector<int>{3, 0, 1, 2})) << "clearly faster, it moves on up";
    // A slow spare goes back.
    ThreadPlaces slower;
    slower.Reset(4);
    const std::vector<double> slow{1.0e-7, 1.0e-7, 1.0e-7, 1.3e-7};
    for (int c = 0; c < ThreadPlaces::kTrySpareColumns; ++c) column(slower, slow, 3);
    EXPECT_EQ(slower.Order(3), (std::vector<int>{0, 1, 3, 2}));
    column(slower, slow, 3);
    column(slower, slow, 3);
    EXPECT_EQ(slower.Order(3), (std::vector<int>{0, 1, 2, 3}));
    // With every thread working there is no spare to try.
    ThreadPlaces busy;
    busy.Reset(3);
    for (int c = 0; c < 2 * ThreadPlaces::kTrySpareColumns; ++c)
        EXPECT_EQ(column(busy, {1.0e-7, 1.0e-7, 1.0e-7}, 3), (std::vector<int>{0, 1, 2}));
}

TEST(ThreadPlaces, UnmeasuredThreadsAndBadMeasuresChangeNothing) {
    ThreadPlaces places;
    places.Reset(3);
    places.Measured(1, 5e-7);
    places.Measured(7, 1e-9);
    places.Measured(-1, 1e-9);
    places.Measured(2, std::numeric_limits<double>::quiet_NaN());
    places.Measured(2, -1.0);
    EXPECT_EQ(places.Order(3), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(places.Pace(2), 0.0);
    places.Reset(2);
    EXPECT_EQ(places.Threads(), 2);
    EXPECT_EQ(places.Pace(1), 0.0);
}

// Seven jobs on seven threads, the costliest first. A job is started first only where its
// thread is clearly slower than the fastest: within the measure's noise the costliest job
// still goes first, while a cheap job on a processor at half speed would end last.
TEST(ThreadPlaces, AJobOnAClearlySlowerThreadSetsOutFirst) {
    ThreadPlaces places;
    places.Reset(7);
    const std::vector<double> cost{6.7, 5.9, 5.5, 5.4, 5.2, 5.2, 5.1};
    const std::vector<int> threadOf{3, 0, 1, 2, 4, 5, 6};
    EXPECT_EQ(places.StartOrder(cost, threadOf), (std::vector<int>{0, 1, 2, 3, 4, 5, 6})) << "nothing measured";
    for (int w = 0; w < 7; ++w) places.Measured(w, 1.0e-7 + w * 2e-9);
    places.Measured(4, 1.2e-7);
    places.Measured(4, 1.2e-7);
    EXPECT_EQ(places.StartOrder(cost, threadOf), (std::vector<int>{0, 1, 2, 3, 4, 5, 6})) << "ten per cent is noise";
    // Thread 6 falls to half speed, then thread 5 to two thirds: their jobs go first, the
    // one expected to end last before the other, and the others keep the order of costs.
    for (int block = 0; block < 20; ++block) places.Measured(6, 2.0e-7);
    EXPECT_EQ(places.StartOrder(cost, threadOf), (std::vector<int>{6, 0, 1, 2, 3, 4, 5}));
    for (int block = 0; block < 20; ++block) places.Measured(5, 1.6e-7);
    EXPECT_EQ(places.StartOrder(cost, threadOf), (std::vector<int>{6, 5, 0, 1, 2, 3, 4}));
    // A job set out on a thread without a measure: the order of costs.
    EXPECT_EQ(places.StartOrder({3.0, 2.0}, {6, 9}), (std::vector<int>{0, 1}));
    EXPECT_TRUE(places.StartOrder({}, {}).empty());
}

}  // namespace
}  // namespace wv::solv
