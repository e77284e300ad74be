#include "subplayer/TickTimes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

double nearestRank(const std::vector<double>& sorted, double fraction) {
    size_t rank = static_cast<size_t>(std::ceil(fraction * static_cast<double>(sorted.size())));
    return sorted[rank == 0 ? 0 : rank - 1];
}

}  // namespace

TickTimeSummary summariseTickTimes(std::vector<double> timesMs) {
    TickTimeSummary summary;
    if (timesMs.empty()) return summary;
    std::sort(timesMs.begin(), timesMs.end());
    summary.count = timesMs.size();
    summary.medianMs = nearestRank(timesMs, 0.5);
    summary.p99Ms = nearestRank(timesMs, 0.99);
    summary.maxMs = timesMs.back();
    return summary;
}

std::string describeTickTimes(const std::string& label, const TickTimeSummary& summary) {
    char text[200];
    std::snprintf(text, sizeof text, ": %zu ticks, median %.3f ms, 99th percentile %.3f ms, max %.3f ms", summary.count,
                  summary.medianMs, summary.p99Ms, summary.maxMs);
    return "tick timing " + label + text;
}

std::vector<std::string> describeTimedTicks(const std::string& label, const std::vector<double>& tickMs,
                                            const std::vector<double>& updateMs) {
    std::vector<std::string> lines = {describeTickTimes(label, summariseTickTimes(tickMs))};
    bool updated = false;
    for (double ms : updateMs) updated = updated || ms > 0;
    if (!updated || updateMs.size() != tickMs.size()) return lines;
    std::vector<double> own(tickMs.size());
    for (size_t i = 0; i < own.size(); ++i) own[i] = tickMs[i] > updateMs[i] ? tickMs[i] - updateMs[i] : 0.0;
    lines.push_back(describeTickTimes(label + " without the layered window update", summariseTickTimes(own)));
    lines.push_back(describeTickTimes(label + " layered window update alone", summariseTickTimes(updateMs)));
    return lines;
}
