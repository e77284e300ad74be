#pragma once
// The plug-in's lyrics files written back through the wide file API: the new content goes to a
// new file beside the old one ("<name>.sorvane-<n>.tmp"), flushed, which then replaces the old one
// with ReplaceFileW (keeping its attributes, security and creation time), or MoveFileExW where the
// file system cannot replace.
#include "lyrics/LyricsFileWriter.h"

class Win32LyricsFileWriter : public LyricsFileWriter {
public:
    int readFile(const char* path, size_t maxBytes, std::string& bytes, SaveFailure& failure) override;
    // A file with the read-only attribute is refused before anything is written. A symbolic link
    // is written through: its target is replaced, and the link stays. (A hard link is not: the
    // name written gets the new file, the file's other names keep the old content.)
    int replaceFile(const char* path, std::string_view bytes, SaveFailure& failure) override;
    // Makes a new file of bytes at path, and the folders that lead to it, through a new file
    // beside it that then takes the name; a file already there is left alone (kExists).
    int createFile(const char* path, std::string_view bytes, SaveFailure& failure);
};
