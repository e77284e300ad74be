#pragma once
// The lyrics environment without Windows: POSIX files and folders, an ANSI code page through
// iconv (932 unless told), no host (no playlist title) and no warning box. It serves the native
// command-line tool, tests and benchmarks.
#include <sys/types.h>

#include <vector>

#include "lyrics/LyricsEnvironment.h"
#include "lyrics/LyricsTreeIndex.h"

// Notices changes by the modification times of the folders it listed: adding, removing or
// renaming an entry changes its folder's time.
class PosixFolderTree : public FolderTree {
public:
    void beginWalk(const std::string& root) override;
    int listFolder(const std::string& folder, std::vector<FolderEntry>& entries) override;
    int treeUnchanged() override;
    char separator() const override { return '/'; }
    // Each character's simple Unicode case folding (ICU's): "É" and "é", "Σ", "σ" and "ς" are one.
    std::string nameKey(const std::string& name) const override;

private:
    struct FolderStamp {
        std::string folder;
        ino_t inode;
        long long seconds;
        long long nanoseconds;
    };
    static int stampOf(const std::string& folder, FolderStamp& stamp);
    std::vector<FolderStamp> stamps;
};

class PosixLyricsEnvironment : public LyricsEnvironment {
public:
    explicit PosixLyricsEnvironment(uint32_t codePage = 932);
    ~PosixLyricsEnvironment() override;
    PosixLyricsEnvironment(const PosixLyricsEnvironment&) = delete;
    PosixLyricsEnvironment& operator=(const PosixLyricsEnvironment&) = delete;

    std::unique_ptr<SourceFile> openFile(const char* path) override;
    int findInTree(const std::string& root, const std::string* names, size_t count, std::string& found) override;
    // A byte that forms no character in the code page becomes U+FFFD; so does every non-ASCII
    // byte when iconv does not know the code page (see knowsCodePage).
    std::string ansiToUtf8(std::string_view ansi) override;
    uint32_t ansiCodePage() override { return codePage; }
    std::optional<std::string> hostTitleCopy() override { return std::nullopt; }
    // Nothing to show a warning in; the command-line tool lists them instead.
    void malformedTag(int32_t, int32_t, int) override {}

    int knowsCodePage() const;

private:
    uint32_t codePage;
    void* converter;  // iconv_t: from the code page to UTF-8
    PosixFolderTree tree;
    LyricsTreeIndex index;
};
