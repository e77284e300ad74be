#include "lyrics/Win32LyricsEnvironment.h"

#include "utils/WinPath.h"
#include "utils/WinText.h"
#include "utils/WinUiText.h"

namespace {

class Win32File : public SourceFile {
public:
    explicit Win32File(HANDLE handle) : handle(handle) {}
    ~Win32File() override { CloseHandle(handle); }
    int64_t size() override {
        LARGE_INTEGER size;
        return GetFileSizeEx(handle, &size) ? size.QuadPart : 0;
    }
    size_t read(int64_t offset, char* buffer, size_t count) override {
        LARGE_INTEGER position;
        position.QuadPart = offset;
        if (!SetFilePointerEx(handle, position, nullptr, FILE_BEGIN)) return 0;
        size_t done = 0;
        while (done < count) {
            DWORD chunk = count - done > 0x10000000 ? 0x10000000 : static_cast<DWORD>(count - done);
            DWORD got = 0;
            if (!ReadFile(handle, buffer + done, chunk, &got, nullptr) || got == 0) break;
            done += got;
        }
        return done;
    }

private:
    HANDLE handle;
};

}  // namespace

Win32FolderTree::~Win32FolderTree() { stopWatching(); }

void Win32FolderTree::stopWatching() {
    if (change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change);
    change = INVALID_HANDLE_VALUE;
}

void Win32FolderTree::beginWalk(const std::string& root) {
    // Watch first: whatever changes during the walk then signals, and the next lookup walks again.
    stopWatching();
    std::wstring path = widePath(root);
    if (path.empty()) return;
    change =
        FindFirstChangeNotificationW(path.c_str(), TRUE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME);
}

int Win32FolderTree::listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    std::wstring pattern = widePath(folder + "\\*");
    if (pattern.empty()) return 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!lstrcmpW(data.cFileName, L".") || !lstrcmpW(data.cFileName, L"..")) continue;
        // Folder links are not followed: they can loop back up the tree.
        DWORD attributes = data.dwFileAttributes;
        int isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        std::string name;
        if (narrowName(data.cFileName, name)) entries.push_back({std::move(name), isFolder});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return 1;
}

int Win32FolderTree::treeUnchanged() {
    return change != INVALID_HANDLE_VALUE && WaitForSingleObject(change, 0) == WAIT_TIMEOUT;
}

std::string Win32FolderTree::nameKey(const std::string& name) const {
    // Upper case by the system's own table, as its file systems compare names: what
    // CompareStringOrdinal ignores as case. Without LCMAP_LINGUISTIC_CASING the mapping is that of
    // the file system, the same in every language.
    std::wstring wide = widen(name);
    if (wide.empty()) return {};
    int length = static_cast<int>(wide.size());
    std::wstring upper(wide.size(), L'\0');
    if (LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wide.data(), length, upper.data(), length) != length)
        return name;
    return narrow(upper);
}

std::unique_ptr<SourceFile> Win32LyricsEnvironment::openFile(const char* path) {
    std::wstring wide = widePath(path);
    if (wide.empty()) return nullptr;
    HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32File>(handle);
}

int Win32LyricsEnvironment::findInTree(const std::string& root, const std::string* names, size_t count,
                                       std::string& found) {
    if (!walkInBackground) return index.find(tree, root, names, count, found);
    if (!index.isCurrent(tree, root)) {
        treeNotReady = 1;
        index.startWalk(tree, root);
    }
    if (!index.findWalked(tree, root, names, count, found)) return 0;
    treeFound = found;
    return 1;
}

std::string Win32LyricsEnvironment::ansiToUtf8(std::string_view ansi) { return ::ansiToUtf8(ansi, CP_ACP); }

void Win32LyricsEnvironment::malformedTag(int32_t, int32_t, int firstOfLoad) {
    // One warning per load, not one per tag.
    if (firstOfLoad) ++malformedLoads;
}

void showMalformedTagWarning() {
    MessageBoxW(nullptr, uiTextW(UiText::MalformedTagText).c_str(), uiTextW(UiText::MalformedTagCaption).c_str(),
                MB_OK | MB_ICONWARNING);
}
