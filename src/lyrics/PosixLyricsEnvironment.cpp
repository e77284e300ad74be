#include "lyrics/PosixLyricsEnvironment.h"

#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "lyrics/ShiftJis.h"

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

int PosixLyricsEnvironment::isLeadByte(unsigned char byte) { return isShiftJisLeadByte(byte); }

int PosixLyricsEnvironment::wideToAnsi(const std::u16string& wide, std::string& ansi) {
    iconv_t converter = iconv_open("CP932", "UTF-16LE");
    if (converter == reinterpret_cast<iconv_t>(-1)) return 0;
    std::string units;
    units.reserve(wide.size() * 2);
    for (char16_t unit : wide) {
        units += static_cast<char>(unit & 0xFF);
        units += static_cast<char>(unit >> 8);
    }
    ansi.clear();
    char* in = units.data();
    size_t inLeft = units.size();
    int converted = 1;
    char buffer[4096];
    while (inLeft > 0 && converted) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
        ansi.append(buffer, static_cast<size_t>(out - buffer));
        if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
        if (errno == EILSEQ) {
            ansi += '?';  // no form in code page 932; a unit is one character, as there are no surrogates
            in += 2;
            inLeft -= 2;
        } else {
            converted = 0;
        }
    }
    iconv_close(converter);
    return converted;
}
