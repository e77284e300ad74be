#pragma once
// The online query for a song: its title, artist and album as its names give them (from its tags,
// else from a playlist title "Artist - Title"), its length as its audio stream gives it (a host's
// length, where it has one, is the better: it is what the player plays).
#include "lyrics/SongNames.h"
#include "online/OnlineQuery.h"

OnlineQuery songQuery(const SongNames& song);
