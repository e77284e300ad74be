#pragma once
// Who a song is, by its names: what its copy in the download folder is called and checked against
// (DownloadFolder.h), and what an online search asks for (online/SongQuery.h).
#include <cstdint>
#include <string>
#include <string_view>

class LyricsEnvironment;

// A length given elsewhere (a lyrics file's [length:], a service's record) may differ from the
// song's by this much and still be the song's: players and services measure a song slightly apart.
constexpr double kDurationToleranceSeconds = 2.0;

struct SongNames {
    // From the song's tags; without a title and an artist there, from a playlist title
    // "Artist - Title". Empty when neither gives them (the album: when the tags give none).
    std::string title, artist, album;
    std::string playlistTitle;  // the host's title of the playlist entry; may be empty
    std::string path;           // the song's path, UTF-8
    int32_t lengthSeconds = 0;  // the audio stream's length; 0: unknown
};

// The names of the song at path (UTF-8): its tags (see readSongTitles), else playlistTitle (may be
// null) split as "Artist - Title".
SongNames readSongNames(const char* path, const char* playlistTitle, LyricsEnvironment& environment);

// Splits a playlist title "Artist - Title" at its first " - ", spaces around each part dropped.
// 0 when the title holds no such pair (artist and title are then left alone).
int splitArtistTitle(std::string_view playlistTitle, std::string& artist, std::string& title);
