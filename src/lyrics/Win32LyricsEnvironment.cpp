#include "lyrics/Win32LyricsEnvironment.h"

#include <climits>

#include "plugin/PlayerState.h"
#include "utils/Text.h"

const char kMalformedTagCaption[] = "ERROR !!!";
const char kMalformedTagText[] = "タグの表記が間違っています。\nこのファイルでは正しく歌詞を表示できません。";

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
    change = FindFirstChangeNotificationA(root.c_str(), TRUE,
                                          FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME);
}

int Win32FolderTree::listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    std::string pattern = folder + "\\*";
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!lstrcmpA(data.cFileName, ".") || !lstrcmpA(data.cFileName, "..")) continue;
        // Folder links are not followed: they can loop back up the tree.
        DWORD attributes = data.dwFileAttributes;
        int isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        entries.push_back({data.cFileName, isFolder});
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return 1;
}

int Win32FolderTree::treeUnchanged() {
    return change != INVALID_HANDLE_VALUE && WaitForSingleObject(change, 0) == WAIT_TIMEOUT;
}

Win32LyricsEnvironment::Win32LyricsEnvironment(HWND hostWindow, int32_t listPosition)
    : hostWindow(hostWindow), listPosition(listPosition) {}

std::unique_ptr<SourceFile> Win32LyricsEnvironment::openFile(const char* path) {
    HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32File>(handle);
}

int Win32LyricsEnvironment::findInTree(const std::string& root, const std::string* names, size_t count,
                                       std::string& found) {
    return index.find(tree, root, names, count, found);
}

int Win32LyricsEnvironment::isLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) ? 1 : 0; }

int Win32LyricsEnvironment::wideToAnsi(const std::u16string& wide, std::string& ansi) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");
    ansi.clear();
    if (wide.empty()) return 1;
    if (wide.size() > INT_MAX / 2) return 0;
    const wchar_t* units = reinterpret_cast<const wchar_t*>(wide.data());
    int count = static_cast<int>(wide.size());
    // No best fit: a character without its own form becomes "?", not a look-alike.
    int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, units, count, nullptr, 0, "?", nullptr);
    if (size <= 0) return 0;
    ansi.resize(static_cast<size_t>(size));
    return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, units, count, ansi.data(), size, "?", nullptr) == size;
}

char* Win32LyricsEnvironment::hostTitleCopy() {
    // The reply points into the host's playlist: copied at once, never kept.
    LRESULT reply = SendMessageA(hostWindow, WM_USER, static_cast<WPARAM>(listPosition), kQueryTitle);
    return copyText(reinterpret_cast<const char*>(reply));
}

void Win32LyricsEnvironment::malformedTag(int32_t, int32_t, int firstOfLoad) {
    // The box is modal; one bad file must not stack up one box per tag.
    if (firstOfLoad) MessageBoxA(nullptr, kMalformedTagText, kMalformedTagCaption, MB_OK | MB_ICONWARNING);
}
