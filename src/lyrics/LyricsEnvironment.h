#pragma once
// Everything the lyrics lookup needs from the platform: files, the folder-tree search, the
// double-byte test, the conversion into the ANSI code page, the host's playlist title and the
// malformed-tag warning. The plug-in's is
// Win32LyricsEnvironment; PosixLyricsEnvironment serves the native tools and tests.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Paths are ANSI byte strings that fit a buffer of this size with their terminator.
constexpr size_t kMaxPath = 260;

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
    // Whether the byte opens a double-byte character in the ANSI code page.
    virtual int isLeadByte(unsigned char byte) = 0;
    // The text in the ANSI code page, a character that has no form there as "?". The text holds
    // characters of the Basic Multilingual Plane only, no surrogates. 0 when it cannot convert.
    virtual int wideToAnsi(const std::u16string& wide, std::string& ansi) = 0;
    // A copy of the host's title of the current playlist entry (release it with freeText), or null.
    virtual char* hostTitleCopy() = 0;
    // Called for every malformed tag of a parsed text; firstOfLoad is 1 for the first one of a
    // load, when the plug-in shows its warning box (once per load, not once per tag).
    virtual void malformedTag(int32_t lineNumber, int32_t offset, int firstOfLoad) = 0;
};
