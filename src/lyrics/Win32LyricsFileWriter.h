#pragma once
// The plug-in's lyrics files written back through the wide file API: the new content goes to a
// new file beside the old one ("<name>.sorvane-<n>.tmp"), flushed, which then replaces the old one
// with ReplaceFileW (keeping its attributes, security and creation time), or MoveFileExW where the
// file system cannot replace.
#include "lyrics/LyricsFileWriter.h"

class Win32LyricsFileWriter : public LyricsFileWriter {
public:
    int readFile(const char* path, size_t maxBytes, std::string& bytes, SaveFailure& failure) override;
    // A file with the read-only attribute is refused before anything is written.
    int replaceFile(const char* path, std::string_view bytes, SaveFailure& failure) override;
    // Makes a new file of bytes at path (UTF-8), and the folders above it that are missing, through
    // a file beside it that is then moved to its name: never half written, and never over a file
    // that is already there (kExists; that file keeps every byte).
    int createFile(const char* path, std::string_view bytes, SaveFailure& failure);
};
