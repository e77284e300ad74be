#pragma once
// A new song from the host: the tick forgets the old song's lines and asks the lookup worker for
// the new song's lyrics; the bar adopts the finished document when the worker hands it back.
// Frame tick step: when the host's current file differs from the one last followed (ASCII letter
// case ignored), a new song: its number, a document without lyrics (the host's playlist title
// for the banner) and a lookup request. A file the host does not name yet is a song without lyrics.
void followSongChange();
// The bar's handling of the lookup's message: every result for the current song replaces the
// document; results for songs that are gone are dropped. Malformed tags of an adopted load are
// then warned about, one box per load.
void adoptLookedUpLyrics();
