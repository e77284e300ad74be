#include "subplayer/TickTimes.h"

#include <gtest/gtest.h>

TEST(TickTimes, MedianAndPercentileAreTimesOfRealTicksByNearestRank) {
    std::vector<double> times;
    for (int i = 200; i >= 1; --i) times.push_back(i * 0.01);  // 0.01 .. 2.00 ms, unsorted
    TickTimeSummary s = summariseTickTimes(times);
    EXPECT_EQ(s.count, 200u);
    EXPECT_DOUBLE_EQ(s.medianMs, 1.00);  // rank 100 of 200
    EXPECT_DOUBLE_EQ(s.p99Ms, 1.98);     // rank 198
    EXPECT_DOUBLE_EQ(s.maxMs, 2.00);

    s = summariseTickTimes({0.5});
    EXPECT_DOUBLE_EQ(s.medianMs, 0.5);
    EXPECT_DOUBLE_EQ(s.p99Ms, 0.5);
    EXPECT_EQ(summariseTickTimes({}).count, 0u);
    EXPECT_EQ(describeTickTimes("banner", summariseTickTimes({0.25, 0.5})),
              "tick timing banner: 2 ticks, median 0.250 ms, 99th percentile 0.500 ms, max 0.500 ms");
}

TEST(TickTimes, TheLayeredWindowUpdateIsTakenOutOfEachTickNotOutOfTheSummary) {
    // A bar: no updates, one line.
    EXPECT_EQ(describeTimedTicks("lyrics", {0.2, 0.4}, {0, 0}).size(), 1u);
    // The desktop window: the slowest tick is slow because of its update, so the plug-in's own
    // part is the tick less its own update (median 0.5), not a median less a median (3 - 1.8).
    std::vector<std::string> lines = describeTimedTicks("lyrics", {1.0, 2.0, 3.0}, {0.5, 1.8, 0.1});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "tick timing lyrics without the layered window update: 3 ticks, median 0.500 ms, 99th "
                        "percentile 2.900 ms, max 2.900 ms");
    EXPECT_EQ(lines[2], "tick timing lyrics layered window update alone: 3 ticks, median 0.500 ms, 99th percentile "
                        "1.800 ms, max 1.800 ms");
}
