#include "online/SongQuery.h"

OnlineQuery songQuery(const SongNames& song) {
    OnlineQuery query;
    query.track = song.title;
    query.artist = song.artist;
    query.album = song.album;
    query.durationSeconds = song.lengthSeconds;
    return query;
}
