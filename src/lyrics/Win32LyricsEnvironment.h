#pragma once
// The plug-in's lyrics environment: Win32 files and folders through the wide API and the system's
// ANSI code page. It asks the host nothing and shows nothing, so that a worker thread may run the
// lookup: the host's playlist title is what the host's thread asked before (plugin/HostLink.h)
// and handed over with the lookup, and malformed tags are counted for the plug-in to warn about
// once the lookup's document is adopted.
//
// Keep one for the plug-in's life: the index of the LyricsPath tree it holds then lasts from song
// to song, and the tree is walked again only after something below the folder has changed.
#include <windows.h>

#include <functional>
#include <optional>

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
    // The system's upper case of every character: Windows' ordinal comparison ignoring case.
    std::string nameKey(const std::string& name) const override;

private:
    void stopWatching();
    HANDLE change = INVALID_HANDLE_VALUE;
};

class Win32LyricsEnvironment : public LyricsEnvironment {
public:
    std::unique_ptr<SourceFile> openFile(const char* path) override;
    int findInTree(const std::string& root, const std::string* names, size_t count, std::string& found) override;
    std::string ansiToUtf8(std::string_view ansi) override;
    uint32_t ansiCodePage() override { return GetACP(); }
    std::optional<std::string> hostTitleCopy() override { return hostTitle; }
    // Counts the loads with malformed tags in malformedLoads.
    void malformedTag(int32_t lineNumber, int32_t offset, int firstOfLoad) override;

    // The walk of the LyricsPath tree in the background: findInTree then never walks; it answers
    // from the last finished walk of the folder, notes in treeNotReady that the index was not
    // current (the lookup may have missed a file), and starts a walk that continueWalk carries on.
    int walkInBackground = 0;
    int treeNotReady = 0;
    std::string treeFound;  // what the index answered last (background walks only)
    int walkUnderWay() const { return index.walkUnderWay(); }
    // Walks on until the walk is finished (1) or pause says to stop for now (0).
    int continueWalk(const std::function<bool()>& pause) { return index.continueWalk(tree, pause); }

    std::optional<std::string> hostTitle;  // the host's title of the song's playlist entry, UTF-8
    int malformedLoads = 0;

private:
    Win32FolderTree tree;
    LyricsTreeIndex index;
};

// The modal warning about a file with malformed tags, owned by no window.
void showMalformedTagWarning();
