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
