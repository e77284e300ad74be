#pragma once
// The "[offset:]" tag written into a lyrics file: the timing the user fixed, kept with the file.
// The rewrite works on the file's own bytes, in whatever encoding it was read in (any ANSI code
// page, UTF-8 with or without its mark, UTF-16 with its mark): it adds, replaces or removes
// offset tag lines and keeps every other byte, the byte-order mark and the line ends included.
//
// Where the tag goes, and what becomes of tags already there:
// - A file without one gets its tag line after the last "@" header or ID tag ("[ti:...]") that
//   stands before the first lyrics line, or first in the file when there is none; it ends like
//   the line before it (a file without any line end: CR LF).
// - Every offset tag line the file holds is replaced whole by the new tag, so that players that
//   take the first tag and those that take the last (as the loader does) agree.
// - An offset of 0 removes the offset tag lines: a file shifted and shifted back is again the
//   file it was, byte for byte, and no tag says "no offset" where none was needed.
// - A file that holds the offset asked for already is left as it is.
// Lines are taken apart exactly as the parser takes them, "@"-header files ("kra") included: it
// reads "[offset:]" there too. Where taking a line out or putting one in would change the other
// lines the parser sees (in a file holding zero characters, say), the tag lines are replaced in
// place instead ("[offset:0]" at 0) and a new one goes first.
#include <cstdint>
#include <string>
#include <string_view>

#include "lyrics/LyricsFileWriter.h"
#include "lyrics/TextEncoding.h"

class LyricsEnvironment;

// The most an offset tag is written with, either way: a day. Beyond that it is no timing of a song.
constexpr int64_t kMaxOffsetMs = 24 * 60 * 60 * 1000;

// The tag line written for an offset: "[offset:+250]", "[offset:-500]".
std::string offsetTagLine(int32_t offsetMs);

// The offset the loader reads from a lyrics file's bytes: the value of its last offset tag, 0
// without one. For a file the loader reads whole (see rewriteOffsetTag).
int32_t fileOffsetMs(std::string_view bytes, LyricsEnvironment& environment);

// The file's bytes with offsetMs as its offset (positive: the lyrics show earlier), as above; the
// environment converts ANSI lines to tell which lines are tags. Returns 1, or 0 with rewritten
// untouched and the reason: kTooLong when the file is longer than the loader reads (its lines past
// that point would be lost to it), kTooLongWithTag when the new tag would make it so,
// kOffsetOutOfRange for an offset beyond kMaxOffsetMs, kAmbiguous when the new bytes would read
// otherwise (taken for another encoding, say).
int rewriteOffsetTag(std::string_view bytes, int32_t offsetMs, LyricsEnvironment& environment, std::string& rewritten,
                     SaveFailure& failure);

// What a save did.
struct OffsetSave {
    int32_t previousMs = 0;                       // the offset the file held
    int32_t savedMs = 0;                          // the offset it holds now (after a failure: the one it was to hold)
    int written = 0;                              // 0 when the file held that offset already and was left alone
    TextEncoding encoding = TextEncoding::kAnsi;  // what the file was read, and written, in
    SaveFailure failure = SaveFailure::kNone;
};

// Reads the lyrics file at path, sets its offset to offsetMs and replaces the file with the result
// (kNotLyrics for a file without lyrics to show). Returns 1, or 0 with save.failure and the file
// as it was.
int saveOffsetTag(const char* path, int32_t offsetMs, LyricsEnvironment& environment, LyricsFileWriter& writer,
                  OffsetSave& save);
// The same, moving the file's timing by shiftMs from the offset it holds now: refused
// (kOffsetNotANumber) when an offset tag there does not read as the number it says
// ("[offset:abc]", a value past 32 bits), which leaves nothing sure to shift from.
int shiftOffsetTag(const char* path, int32_t shiftMs, LyricsEnvironment& environment, LyricsFileWriter& writer,
                   OffsetSave& save);
