#pragma once
// Which song a request to a worker was made for. The tick numbers the song changes it sees; a
// result belongs to the song of its request and still applies only while no song change has come
// since, so that a slow answer for one song never shows with the next.
#include <cstdint>
#include <optional>
#include <string>

struct SongIdentity {
    std::optional<std::u16string> file;  // the host's name for it, as the tick saw it change
    uint32_t change = 0;                 // the number of that change in this run of the plug-in

    bool isCurrent(const SongIdentity& current) const { return change == current.change; }
};
