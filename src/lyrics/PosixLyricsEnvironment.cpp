#include "lyrics/PosixLyricsEnvironment.h"

#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unicode/uchar.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "utils/Utf.h"

namespace {

class PosixFile : public SourceFile {
public:
    explicit PosixFile(int descriptor) : descriptor(descriptor) {}
    ~PosixFile() override { close(descriptor); }
    int64_t size() override {
        struct stat status;
        return fstat(descriptor, &status) == 0 ? static_cast<int64_t>(status.st_size) : 0;
    }
    size_t read(int64_t offset, char* buffer, size_t count) override {
        size_t done = 0;
        while (done < count) {
            ssize_t n = pread(descriptor, buffer + done, count - done, static_cast<off_t>(offset + done));
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        return done;
    }

private:
    int descriptor;
};

}  // namespace

void PosixFolderTree::beginWalk(const std::string&) { stamps.clear(); }

int PosixFolderTree::stampOf(const std::string& folder, FolderStamp& stamp) {
    struct stat status;
    if (stat(folder.c_str(), &status) != 0) return 0;
    stamp = {folder, status.st_ino, static_cast<long long>(status.st_mtim.tv_sec),
             static_cast<long long>(status.st_mtim.tv_nsec)};
    return 1;
}

int PosixFolderTree::listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    // The stamp is taken before the listing, so that a change made while listing shows next time.
    FolderStamp stamp;
    if (!stampOf(folder, stamp)) return 0;
    DIR* directory = opendir(folder.c_str());
    if (!directory) return 0;
    stamps.push_back(stamp);
    while (dirent* entry = readdir(directory)) {
        if (!std::strcmp(entry->d_name, ".") || !std::strcmp(entry->d_name, "..")) continue;
        int isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat status;
            std::string path = folder + '/' + entry->d_name;
            isFolder = lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
        }
        entries.push_back({entry->d_name, isFolder});
    }
    closedir(directory);
    return 1;
}

int PosixFolderTree::treeUnchanged() {
    for (const FolderStamp& old : stamps) {
        FolderStamp now;
        if (!stampOf(old.folder, now) || now.inode != old.inode || now.seconds != old.seconds ||
            now.nanoseconds != old.nanoseconds)
            return 0;
    }
    return 1;
}

std::string PosixFolderTree::nameKey(const std::string& name) const {
    std::string key;
    key.reserve(name.size());
    for (size_t i = 0, length = 0; i < name.size(); i += length) {
        UChar32 character = static_cast<UChar32>(decodeUtf8(name, i, length));
        appendUtf8(key, static_cast<char32_t>(u_foldCase(character, U_FOLD_CASE_DEFAULT)));
    }
    return key;
}

PosixLyricsEnvironment::PosixLyricsEnvironment(uint32_t codePage) : codePage(codePage) {
    std::string name = codePage == 65001 ? "UTF-8" : "CP" + std::to_string(codePage);
    converter = iconv_open("UTF-8", name.c_str());
}

PosixLyricsEnvironment::~PosixLyricsEnvironment() {
    if (knowsCodePage()) iconv_close(static_cast<iconv_t>(converter));
}

std::unique_ptr<SourceFile> PosixLyricsEnvironment::openFile(const char* path) {
    int descriptor = open(path, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(descriptor);
        return nullptr;
    }
    return std::make_unique<PosixFile>(descriptor);
}

int PosixLyricsEnvironment::findInTree(const std::string& root, const std::string* names, size_t count,
                                       std::string& found) {
    return index.find(tree, root, names, count, found);
}

int PosixLyricsEnvironment::knowsCodePage() const { return converter != reinterpret_cast<void*>(-1); }

std::string PosixLyricsEnvironment::ansiToUtf8(std::string_view ansi) {
    std::string utf8;
    utf8.reserve(ansi.size() * 3 / 2);
    if (!knowsCodePage()) {
        for (char c : ansi) appendUtf8(utf8, static_cast<unsigned char>(c) < 0x80 ? c : kReplacementCharacter);
        return utf8;
    }
    iconv_t convert = static_cast<iconv_t>(converter);
    iconv(convert, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(ansi.data());
    size_t inLeft = ansi.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        size_t result = iconv(convert, &in, &inLeft, &out, &outLeft);
        utf8.append(buffer, static_cast<size_t>(out - buffer));
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid sequence, or one cut off by the end: its first byte is undecodable.
            appendUtf8(utf8, kReplacementCharacter);
            ++in;
            --inLeft;
            iconv(convert, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return utf8;
}
