#pragma once
// An in-memory lyrics environment: Windows-style UTF-8 paths mapped to file contents, a folder tree
// derived from those paths, the part of code page 932 the tests write (ASCII, kana and a few
// ideographs), a host title and recorded warnings.
#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "lyrics/LyricsEnvironment.h"
#include "lyrics/LyricsTreeIndex.h"
#include "utils/Utf.h"

// A UTF-16 file of the text, with its byte-order mark.
inline std::string utf16File(const std::u16string& text, int bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

class MemoryFile : public SourceFile {
public:
    explicit MemoryFile(std::string bytes) : bytes(std::move(bytes)) {}
    int64_t size() override { return static_cast<int64_t>(bytes.size()); }
    size_t read(int64_t offset, char* buffer, size_t count) override {
        if (offset < 0 || static_cast<uint64_t>(offset) >= bytes.size()) return 0;
        size_t n = std::min(count, bytes.size() - static_cast<size_t>(offset));
        std::memcpy(buffer, bytes.data() + offset, n);
        return n;
    }

private:
    std::string bytes;
};

class FakeFolderTree : public FolderTree {
public:
    explicit FakeFolderTree(const std::map<std::string, std::string>& files) : files(files) {}
    void beginWalk(const std::string&) override {
        ++walks;
        changed = 0;
    }
    int listFolder(const std::string& folder, std::vector<FolderEntry>& entries) override {
        std::string prefix = folder + '\\';
        std::set<std::string> folders;
        int exists = 0;
        for (const auto& [path, contents] : files) {
            if (path.compare(0, prefix.size(), prefix) != 0) continue;
            exists = 1;
            std::string rest = path.substr(prefix.size());
            size_t slash = rest.find('\\');
            if (slash == std::string::npos) {
                entries.push_back({rest, 0});
            } else if (folders.insert(rest.substr(0, slash)).second) {
                entries.push_back({rest.substr(0, slash), 1});
            }
        }
        return exists;
    }
    int treeUnchanged() override { return !changed; }

    char separator() const override { return '\\'; }
    // ASCII letters in either case: the names these tests look for.
    std::string nameKey(const std::string& name) const override {
        std::string key = name;
        for (char& c : key)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return key;
    }

    const std::map<std::string, std::string>& files;
    int walks = 0;
    int changed = 0;
};

class FakeLyricsEnvironment : public LyricsEnvironment {
public:
    std::unique_ptr<SourceFile> openFile(const char* path) override {
        opened.push_back(path);
        auto file = files.find(path);
        if (file == files.end()) return nullptr;
        return std::make_unique<MemoryFile>(file->second);
    }
    int findInTree(const std::string& root, const std::string* names, size_t count, std::string& found) override {
        searchedRoots.push_back(root);
        return index.find(tree, root, names, count, found);
    }
    std::string ansiToUtf8(std::string_view ansi) override {
        ++conversions;
        std::string utf8;
        for (size_t i = 0; i < ansi.size(); ++i) {
            unsigned byte = static_cast<unsigned char>(ansi[i]);
            if (byte < 0x80) {
                utf8 += static_cast<char>(byte);
                continue;
            }
            char32_t character = kReplacementCharacter;
            if (isLeadByte(byte) && i + 1 < ansi.size()) {
                unsigned code = byte << 8 | static_cast<unsigned char>(ansi[++i]);
                for (const auto& [unicode, shiftJis] : shiftJisTable())
                    if (shiftJis == code) character = unicode;
            }
            appendUtf8(utf8, character);
        }
        return utf8;
    }
    uint32_t ansiCodePage() override { return 932; }

    // The code page 932 bytes of a text of the characters the table knows (a test's Shift-JIS file).
    static std::string shiftJis(const std::u16string& text) {
        std::string ansi;
        for (char16_t c : text) {
            unsigned code = c < 0x80 ? c : shiftJisTable().at(c);
            if (code > 0xFF) ansi += static_cast<char>(code >> 8);
            ansi += static_cast<char>(code & 0xFF);
        }
        return ansi;
    }
    static int isLeadByte(unsigned byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }
    static const std::map<char16_t, unsigned>& shiftJisTable() {
        static const std::map<char16_t, unsigned> table = [] {
            std::map<char16_t, unsigned> codes = {{u'歌', 0x89CC}, {u'詞', 0x8E8C}, {u'夜', 0x96E9},
                                                  {u'明', 0x96BE}, {u'桜', 0x8DF7}, {u'ー', 0x815B}};
            for (char16_t c = u'ぁ'; c <= u'ん'; ++c) codes[c] = 0x829F + (c - u'ぁ');
            for (char16_t c = u'ァ'; c <= u'ヶ'; ++c) {
                unsigned trail = 0x40 + (c - u'ァ');
                codes[c] = 0x8300 + trail + (trail >= 0x7F);  // the trail bytes skip 0x7F
            }
            return codes;
        }();
        return table;
    }
    std::optional<std::string> hostTitleCopy() override {
        ++titleQueries;
        return hostTitle ? std::optional<std::string>(hostTitle) : std::nullopt;
    }
    void malformedTag(int32_t lineNumber, int32_t offset, int firstOfLoad) override {
        warnings.emplace_back(lineNumber, offset, firstOfLoad);
    }

    // Adds a file as the platform would see it: the tree reports the change.
    void add(const std::string& path, const std::string& contents) {
        files[path] = contents;
        tree.changed = 1;
    }

    std::map<std::string, std::string> files;
    FakeFolderTree tree{files};
    LyricsTreeIndex index;
    const char* hostTitle = nullptr;
    int titleQueries = 0;
    int conversions = 0;
    std::vector<std::string> opened;
    std::vector<std::string> searchedRoots;
    std::vector<std::tuple<int32_t, int32_t, int>> warnings;
};
