#pragma once
// Everything the lyrics lookup needs from the platform: files, the folder-tree search, the
// system's ANSI code page, the host's playlist title and the malformed-tag warning. The plug-in's
// is Win32LyricsEnvironment; PosixLyricsEnvironment serves the native tools and tests.
//
// Every text and path passing here is UTF-8. A path may be as long as the platform allows; one
// the platform cannot name is refused (the file does not open), never cut into another name.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// An open file, read only.
class SourceFile {
public:
    virtual ~SourceFile() = default;
    virtual int64_t size() = 0;
    // Reads up to count bytes at offset; returns how many were read.
    virtual size_t read(int64_t offset, char* buffer, size_t count) = 0;
};

class LyricsEnvironment {
public:
    virtual ~LyricsEnvironment() = default;
    // Opens an existing file for reading, letting others read it too. Null when it does not open.
    virtual std::unique_ptr<SourceFile> openFile(const char* path) = 0;
    // Looks below the folder root, at any depth, for a file named names[0] (ASCII case ignored),
    // and when there is none for names[1], and so on. 1 with found = its full path, 0 when none.
    virtual int findInTree(const std::string& root, const std::string* names, size_t count, std::string& found) = 0;
    // Text in the system's ANSI code page as UTF-8. Nothing is dropped: a byte that forms no
    // character there becomes a replacement character.
    virtual std::string ansiToUtf8(std::string_view ansi) = 0;
    // That code page's number (932 on a Japanese system), for naming what a file was read as.
    virtual uint32_t ansiCodePage() = 0;
    // The host's title of the current playlist entry in UTF-8, as the host's thread asked it
    // before the lookup; none when the host gave none.
    virtual std::optional<std::string> hostTitleCopy() = 0;
    // Called for every malformed tag of a parsed text; firstOfLoad is 1 for the first one of a
    // load, when the plug-in shows its warning box (once per load, not once per tag).
    virtual void malformedTag(int32_t lineNumber, int32_t offset, int firstOfLoad) = 0;
    // Called for every other problem of a lyrics file that was read in part or with parts left
    // out (a TTML file's broken XML, a line without times), with what it is in a few English
    // words. The plug-in warns about it as about a malformed tag.
    virtual void lyricsProblem(int32_t lineNumber, int32_t offset, const std::string& problem, int firstOfLoad) {
        malformedTag(lineNumber, offset, firstOfLoad);
    }
};
