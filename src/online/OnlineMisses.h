#pragma once
// The searches that found nothing, remembered for a week so that a library played on shuffle does
// not ask the same thing again. Kept in a small text file: one "<seconds since 1970> <key>" line
// each (key: missKey of the query). Reading it is a pure function of its text: lines that are not
// of that form, lie in the future or are older than a week are dropped; so is everything past
// kMaxMisses lines or kMaxMissKeyBytes a key, keeping the newest.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr int64_t kMissKeptSeconds = 7 * 24 * 60 * 60;
constexpr size_t kMaxMisses = 2000;
constexpr size_t kMaxMissKeyBytes = 1024;

class OnlineMisses {
public:
    // Takes the file's text as of now (seconds since 1970).
    void read(std::string_view text, int64_t now);
    bool contains(const std::string& key) const;
    // Remembers key as missed at now (again, when it was).
    void add(const std::string& key, int64_t now);
    // The file's new text.
    std::string text() const;

private:
    struct Miss {
        int64_t at;
        std::string key;
    };
    std::vector<Miss> misses;  // oldest first
};
