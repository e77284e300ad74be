#pragma once
// A new song from the host: the tick forgets the old song's lines and asks the lookup worker for
// the new song's lyrics; the bar adopts the finished document when the worker hands it back.

// Frame tick step: when the host's current file differs from the one last followed (ASCII letter
// case ignored), a new song: its number, a document without lyrics (the host's playlist title
// for the banner) and a lookup request. A file the host does not name yet is a song without
// lyrics. Lyrics waiting for their first lines to be drawn are adopted here once that takes too long.
void followSongChange();
// The bar's handling of the lookup's message. A result without lyrics for the current song asks
// the online worker, once a song, when OnlineLyrics is 1. A result for the current song replaces the
// document once the first things it shows (its banner, the lines the display starts with) are
// drawn by the line preparer, off the tick, or after half a second at most. Results for songs
// that are gone are dropped. Malformed tags of an adopted load are then warned about, one box a
// load.
void adoptLookedUpLyrics();
// The bar's handling of the online worker's message: lyrics for the current song are adopted as a
// lookup's, unless lyrics were found for it meanwhile.
void adoptOnlineLyrics();
// The bar's handling of the line preparer's message: what it drew goes back to the renderer, and
// lyrics waiting for it are adopted.
void takePreparedLines();
