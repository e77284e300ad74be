#pragma once
// The songs tests/lyrics/make_tagged_songs.py writes with mutagen when the tests are built, one
// for each kind of tag that holds lyrics; its description says what each song holds.
#include <fstream>
#include <iterator>
#include <string>

inline std::string taggedSongPath(const std::string& name) { return std::string(SORVANE_TAGGED_SONGS) + "/" + name; }

// The song's bytes; empty when it is missing.
inline std::string taggedSongBytes(const std::string& name) {
    std::ifstream in(taggedSongPath(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The LRC text those songs hold in most of their tags.
constexpr char kTaggedLrc[] = "[ti:Tagged]\n[00:01.00]First line\n[00:03.50]Second line\n[00:06.00]Third line\n";
