#pragma once
// What the player reports about the plug-in's tick: how long the handling of each tick message
// took, summed up as the median and the 99th percentile.
#include <cstddef>
#include <string>
#include <vector>

struct TickTimeSummary {
    size_t count = 0;
    double medianMs = 0;
    double p99Ms = 0;
    double maxMs = 0;
};

// Nearest-rank percentiles: the median and the 99th percentile are times some tick really took.
TickTimeSummary summariseTickTimes(std::vector<double> timesMs);
// One line: "tick timing <label>: 3000 ticks, median 0.081 ms, 99th percentile 0.215 ms, max 1.402 ms".
std::string describeTickTimes(const std::string& label, const TickTimeSummary& summary);
// The report of a timed run: that line for the ticks; and where the window system spent time
// updating a layered window within them (updateMs, one per tick), a line for the ticks without
// that time, the plug-in's own part, and one for the updates alone.
std::vector<std::string> describeTimedTicks(const std::string& label, const std::vector<double>& tickMs,
                                            const std::vector<double>& updateMs);
