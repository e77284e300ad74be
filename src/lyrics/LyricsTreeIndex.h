#pragma once
// The lyrics files below the LyricsPath folder, indexed by name. Walking a large tree takes long,
// so the tree is walked once and walked again only when the platform can no longer vouch that
// nothing below the folder has changed. The walk can be done at once (find) or a few folders at a
// time between other work (the plug-in's lookup worker), answering meanwhile from the last
// finished walk.
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

struct FolderEntry {
    std::string name;  // UTF-8
    int isFolder = 0;
};

// The platform's view of a folder tree.
class FolderTree {
public:
    virtual ~FolderTree() = default;
    // Called before every walk of the tree below root: changes from now on count for treeUnchanged.
    virtual void beginWalk(const std::string& root) = 0;
    // The entries of one folder (without "." and ".."), appended to entries. 0 when it does not
    // open. Folders and names are UTF-8.
    virtual int listFolder(const std::string& folder, std::vector<FolderEntry>& entries) = 0;
    // 1 while no file or folder below the root has been added, removed or renamed since
    // beginWalk; 0 when one has or when that cannot be told.
    virtual int treeUnchanged() = 0;
    virtual char separator() const = 0;
    // The key under which the file system takes a name (UTF-8): two names that differ only in
    // letter case, as the file system sees case, have the same key.
    virtual std::string nameKey(const std::string& name) const = 0;
};

class LyricsTreeIndex {
public:
    // The full path of a file below root named names[0] (letter case ignored as the tree's file
    // system ignores it), else names[1], and so on; each name ends in "kra", "ttml", "lrc" or "txt". Walks
    // the tree first, all of it, unless the index is current. 1 when one was found.
    int find(FolderTree& tree, const std::string& root, const std::string* names, size_t count, std::string& found);

    // The last finished walk was of root, and nothing below it has changed since.
    int isCurrent(FolderTree& tree, const std::string& root);
    // Starts walking root, unless a walk of it is under way; a walk of another root is dropped.
    void startWalk(FolderTree& tree, const std::string& root);
    int walkUnderWay() const { return walking; }
    // Lists folders of the walk under way, one after the other, until the walk is finished
    // (returns 1) or pause says to stop for now (returns 0; the next call goes on from there).
    int continueWalk(FolderTree& tree, const std::function<bool()>& pause);
    // The answer of the last finished walk of root, or 0 when there was none of root.
    int findWalked(const FolderTree& tree, const std::string& root, const std::string* names, size_t count,
                   std::string& found) const;

private:
    struct PendingFolder {
        PendingFolder(std::string path, int depth) : path(std::move(path)), depth(depth) {}
        std::string path;
        int depth;
        int listed = 0;
        std::vector<FolderEntry> entries;
        size_t next = 0;
    };

    int built = 0;
    std::string indexedRoot;
    std::unordered_map<std::string, std::string> pathByName;  // key: the tree's nameKey of the name
    // The walk under way: folders are visited depth first, each folder's entries in listed order,
    // so that of two files of one name the one an uninterrupted walk meets first is kept.
    int walking = 0;
    std::string walkRoot;
    std::vector<PendingFolder> pending;
    std::unordered_map<std::string, std::string> walked;
};
