#pragma once
// The online query for a song file: its title, artist and album from its tags, else the title and
// artist of a playlist title "Artist - Title"; its length as its audio stream gives it (a host's
// length, where it has one, is the better: it is what the player plays).
#include <string>

#include "online/OnlineQuery.h"

class LyricsEnvironment;

// path is the song's path (UTF-8); fallbackTitle may be null.
OnlineQuery songQuery(const char* path, const char* fallbackTitle, LyricsEnvironment& environment);
