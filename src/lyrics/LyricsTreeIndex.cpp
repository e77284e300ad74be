#include "lyrics/LyricsTreeIndex.h"

namespace {

// Deep enough for any real library, and a stop for folder links that loop.
constexpr int kMaxDepth = 32;

std::string upperAscii(const std::string& text) {
    std::string upper = text;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

// Only names the lookup can ask for are kept, so that a lyrics folder shared with a music
// library does not fill the index with songs.
int isLyricsName(const std::string& upperName) {
    if (upperName.size() < 3) return 0;
    std::string ending = upperName.substr(upperName.size() - 3);
    return ending == "KRA" || ending == "LRC" || ending == "TXT";
}

}  // namespace

int LyricsTreeIndex::find(FolderTree& tree, const std::string& root, const std::string* names, size_t count,
                          std::string& found) {
    if (!built || root != indexedRoot || !tree.treeUnchanged()) rebuild(tree, root);
    for (size_t i = 0; i < count; ++i) {
        auto hit = pathByName.find(upperAscii(names[i]));
        if (hit != pathByName.end()) {
            found = hit->second;
            return 1;
        }
    }
    return 0;
}

void LyricsTreeIndex::rebuild(FolderTree& tree, const std::string& root) {
    pathByName.clear();
    indexedRoot = root;
    built = 1;
    tree.beginWalk(root);
    walk(tree, root, 0);
}

void LyricsTreeIndex::walk(FolderTree& tree, const std::string& folder, int depth) {
    std::vector<FolderEntry> entries;
    if (!tree.listFolder(folder, entries)) return;
    std::string prefix = folder + tree.separator();
    for (const FolderEntry& entry : entries) {
        std::string path = prefix + entry.name;
        if (entry.isFolder) {
            if (depth < kMaxDepth) walk(tree, path, depth + 1);
            continue;
        }
        std::string key = upperAscii(entry.name);
        if (isLyricsName(key)) pathByName.emplace(std::move(key), std::move(path));
    }
}
