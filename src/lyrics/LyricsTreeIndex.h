#pragma once
// The lyrics files below the LyricsPath folder, indexed by name. The lookup runs on the player's
// user-interface thread at every song change; walking a large tree there for every song (three
// times for a song without lyrics) stalls the player, so the tree is walked once and walked
// again only when the platform can no longer vouch that nothing below the folder has changed.
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
};

class LyricsTreeIndex {
public:
    // The full path of a file below root named names[0] (ASCII case ignored), else names[1], and
    // so on; each name ends in "kra", "lrc" or "txt". 1 when one was found.
    int find(FolderTree& tree, const std::string& root, const std::string* names, size_t count, std::string& found);

private:
    void rebuild(FolderTree& tree, const std::string& root);
    void walk(FolderTree& tree, const std::string& folder, int depth);

    int built = 0;
    std::string indexedRoot;
    std::unordered_map<std::string, std::string> pathByName;  // key: the name in ASCII upper case
};
