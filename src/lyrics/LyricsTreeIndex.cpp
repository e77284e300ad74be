#include "lyrics/LyricsTreeIndex.h"

namespace {

// Deep enough for any real library, and a stop for folder links that loop.
constexpr int kMaxDepth = 32;

// Only names the lookup can ask for are kept, so that a lyrics folder shared with a music
// library does not fill the index with songs.
int isLyricsName(const std::string& name) {
    std::string ending = name.substr(name.size() < 4 ? 0 : name.size() - 4);
    for (char& c : ending)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (ending == "TTML") return 1;
    if (ending.size() < 3) return 0;
    ending.erase(0, ending.size() - 3);
    return ending == "KRA" || ending == "LRC" || ending == "TXT";
}

int findIn(const FolderTree& tree, const std::unordered_map<std::string, std::string>& index, const std::string* names,
           size_t count, std::string& found) {
    for (size_t i = 0; i < count; ++i) {
        auto hit = index.find(tree.nameKey(names[i]));
        if (hit != index.end()) {
            found = hit->second;
            return 1;
        }
    }
    return 0;
}

}  // namespace

int LyricsTreeIndex::find(FolderTree& tree, const std::string& root, const std::string* names, size_t count,
                          std::string& found) {
    if (!isCurrent(tree, root)) {
        startWalk(tree, root);
        continueWalk(tree, [] { return false; });
    }
    return findWalked(tree, root, names, count, found);
}

int LyricsTreeIndex::isCurrent(FolderTree& tree, const std::string& root) {
    return built && !walking && root == indexedRoot && tree.treeUnchanged();
}

void LyricsTreeIndex::startWalk(FolderTree& tree, const std::string& root) {
    if (walking && root == walkRoot) return;
    walking = 1;
    walkRoot = root;
    walked.clear();
    pending.clear();
    pending.emplace_back(root, 0);
    tree.beginWalk(root);
}

int LyricsTreeIndex::continueWalk(FolderTree& tree, const std::function<bool()>& pause) {
    while (walking) {
        if (pending.empty()) {
            pathByName = std::move(walked);
            walked.clear();
            indexedRoot = walkRoot;
            built = 1;
            walking = 0;
            return 1;
        }
        PendingFolder& folder = pending.back();
        if (!folder.listed) {
            folder.listed = 1;
            if (!tree.listFolder(folder.path, folder.entries)) folder.entries.clear();
            if (pause()) return 0;
            continue;
        }
        if (folder.next == folder.entries.size()) {
            pending.pop_back();
            continue;
        }
        FolderEntry& entry = folder.entries[folder.next++];
        std::string path = folder.path + tree.separator() + entry.name;
        if (entry.isFolder) {
            int depth = folder.depth + 1;
            // The reference to folder goes stale here.
            if (depth <= kMaxDepth) pending.emplace_back(std::move(path), depth);
            continue;
        }
        if (isLyricsName(entry.name)) walked.emplace(tree.nameKey(entry.name), std::move(path));
    }
    return 1;
}

int LyricsTreeIndex::findWalked(const FolderTree& tree, const std::string& root, const std::string* names, size_t count,
                                std::string& found) const {
    if (!built || root != indexedRoot) return 0;
    return findIn(tree, pathByName, names, count, found);
}
