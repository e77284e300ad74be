#pragma once
// Lyrics files written back through POSIX calls: a new file beside the old one, synced, then
// renamed over it (a link is followed: the file it names is replaced). For the native tools.
#include "lyrics/LyricsFileWriter.h"

class PosixLyricsFileWriter : public LyricsFileWriter {
public:
    int readFile(const char* path, size_t maxBytes, std::string& bytes, SaveFailure& failure) override;
    // A file that nobody may write (no write permission bit) counts as read-only even for root,
    // as the read-only attribute does on Windows; so does one this process may not write.
    int replaceFile(const char* path, std::string_view bytes, SaveFailure& failure) override;
};
