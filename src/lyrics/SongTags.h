#pragma once
// The tags at the end of a song file: the ID3v1 block (title and artist) and the lyrics field of
// a Lyrics3 v2.00 tag. Reads stay inside the file and inside the tag's own block. Both hold text
// in the system's ANSI code page: these give its bytes, which the loader converts.
#include <string>

class SourceFile;

// 1 when the file's last 128 bytes are an ID3v1 block. Each field loses the spaces that run back
// from its last byte and ends at its first zero byte (30 bytes at most).
int readId3v1(SourceFile& file, std::string& title, std::string& artist);

// 1 when the file ends with a Lyrics3 v2.00 tag (followed by 128 bytes) whose fields can be
// walked to a lyrics field; lyrics then holds that field's data, cut at the end of the tag and at
// kMaxLyricsBytes.
int readLyrics3(SourceFile& file, std::string& lyrics);
