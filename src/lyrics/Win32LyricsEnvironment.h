#pragma once
// The plug-in's lyrics environment: Win32 files and folders through the wide API, the system's
// ANSI code page, the host's playlist title and the modal malformed-tag warning.
//
// Keep one for the plug-in's life and set listPosition before each lookup: the index of the
// LyricsPath tree it holds then lasts from song to song, and the tree is walked again only after
// something below the folder has changed.
#include <windows.h>

#include "lyrics/LyricsEnvironment.h"
#include "lyrics/LyricsTreeIndex.h"

// Notices changes through a change notification on the whole tree; a folder that cannot be
// watched (some network drives) is walked again for every lookup.
class Win32FolderTree : public FolderTree {
public:
    Win32FolderTree() = default;
    ~Win32FolderTree() override;
    Win32FolderTree(const Win32FolderTree&) = delete;
    Win32FolderTree& operator=(const Win32FolderTree&) = delete;

    void beginWalk(const std::string& root) override;
    // Names that hold a lone surrogate are left out: no UTF-8 path can name them.
    int listFolder(const std::string& folder, std::vector<FolderEntry>& entries) override;
    int treeUnchanged() override;
    char separator() const override { return '\\'; }

private:
    void stopWatching();
    HANDLE change = INVALID_HANDLE_VALUE;
};

class Win32LyricsEnvironment : public LyricsEnvironment {
public:
    Win32LyricsEnvironment(HWND hostWindow, int32_t listPosition);

    std::unique_ptr<SourceFile> openFile(const char* path) override;
    int findInTree(const std::string& root, const std::string* names, size_t count, std::string& found) override;
    std::string ansiToUtf8(std::string_view ansi) override;
    uint32_t ansiCodePage() override { return GetACP(); }
    // The title is asked for with query 213 (a UTF-16 reply) from a wide host, with 212 (a reply
    // in the ANSI code page) from an older one.
    char* hostTitleCopy() override;
    void malformedTag(int32_t lineNumber, int32_t offset, int firstOfLoad) override;

    HWND hostWindow;
    int32_t listPosition;  // the playlist entry whose title the host is asked for
    int wideHost = 0;      // 1 for a host of version 0x5000 or later, which answers the wide queries

    static constexpr LPARAM kAnsiTitleQuery = 212;
    static constexpr LPARAM kWideTitleQuery = 213;

private:
    Win32FolderTree tree;
    LyricsTreeIndex index;
};
