#include "online/OnlineMisses.h"

#include <algorithm>

namespace {

// The number at the start of line and what follows its one space; 0 when the line has no such form.
int splitLine(std::string_view line, int64_t& at, std::string_view& key) {
    size_t space = line.find(' ');
    if (space == 0 || space == std::string_view::npos || space > 18) return 0;
    at = 0;
    for (char c : line.substr(0, space)) {
        if (c < '0' || c > '9') return 0;
        at = at * 10 + (c - '0');
    }
    key = line.substr(space + 1);
    return !key.empty() && key.size() <= kMaxMissKeyBytes;
}

}  // namespace

void OnlineMisses::read(std::string_view text, int64_t now) {
    misses.clear();
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        int64_t at = 0;
        std::string_view key;
        if (!splitLine(line, at, key) || at > now || now - at >= kMissKeptSeconds) continue;
        if (key.find('\r') != std::string_view::npos) continue;
        misses.push_back({at, std::string(key)});
    }
    std::stable_sort(misses.begin(), misses.end(), [](const Miss& a, const Miss& b) { return a.at < b.at; });
    if (misses.size() > kMaxMisses) misses.erase(misses.begin(), misses.end() - kMaxMisses);
}

bool OnlineMisses::contains(const std::string& key) const {
    return std::any_of(misses.begin(), misses.end(), [&key](const Miss& miss) { return miss.key == key; });
}

void OnlineMisses::add(const std::string& key, int64_t now) {
    if (key.empty() || key.size() > kMaxMissKeyBytes || key.find_first_of("\r\n") != std::string::npos) return;
    misses.erase(std::remove_if(misses.begin(), misses.end(), [&key](const Miss& miss) { return miss.key == key; }),
                 misses.end());
    misses.push_back({now, key});
    if (misses.size() > kMaxMisses) misses.erase(misses.begin());
}

std::string OnlineMisses::text() const {
    std::string text;
    for (const Miss& miss : misses) text += std::to_string(miss.at) + ' ' + miss.key + '\n';
    return text;
}
