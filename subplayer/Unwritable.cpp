#include "subplayer/Unwritable.h"

#include <windows.h>

#include "subplayer/WinHelpers.h"

namespace {

// The Unix name Wine gives a Windows path; empty outside Wine.
std::string unixName(const std::string& path) {
    using UnixFileName = char*(CDECL*)(const wchar_t*);
    auto toUnix = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return {};
    std::wstring wide(path.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()))));
    char* name = toUnix(wide.c_str());
    if (!name) return {};
    std::string unix = name;
    HeapFree(GetProcessHeap(), 0, name);
    return unix;
}

// Wine starts a Unix program named by its Windows path as it would a Windows one, but its end
// cannot be waited for: the caller watches for the effect instead.
int startChattr(const std::string& unixPath, int on) {
    for (const char* chattr : {"Z:\\usr\\bin\\chattr", "Z:\\bin\\chattr"}) {
        if (GetFileAttributesA(chattr) == INVALID_FILE_ATTRIBUTES) continue;
        std::string command = std::string("chattr ") + (on ? "+i" : "-i") + " \"" + unixPath + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(chattr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                            &startup, &process))
            return 0;
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        return 1;
    }
    return 0;
}

bool writable(const std::string& path, bool folder) {
    HANDLE h = folder ? CreateFileA(joinPath(path, "subplayer-write-probe").c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                    CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr)
                      : CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

// Whether a folder still takes changes, asked without making anything in it: its own times set
// to what they are. A file made to ask could be left behind for good if the folder became
// immutable between its making and its deletion.
bool folderTakesChanges(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    FILETIME accessed = {}, written = {};
    bool takes = GetFileTime(h, nullptr, &accessed, &written) && SetFileTime(h, nullptr, &accessed, &written);
    CloseHandle(h);
    return takes;
}

// Whether the change chattr was asked for has been made (the folder's or file's own check).
bool changeMade(const std::string& path, bool folder, int unwritable) {
    bool open = folder ? folderTakesChanges(path) : writable(path, false);
    return open != (unwritable != 0);
}

void setReadOnlyMark(const std::string& path, DWORD attributes, int on) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return;  // the mark means nothing on a folder
    SetFileAttributesA(path.c_str(), on ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~FILE_ATTRIBUTE_READONLY);
}

}  // namespace

int setUnwritable(const std::string& path, int unwritable) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
    const bool folder = attributes & FILE_ATTRIBUTE_DIRECTORY;
    std::string unix = unixName(path);
    // An immutable file's marks cannot change: the mark goes on before the flag and off after it.
    if (unwritable) setReadOnlyMark(path, attributes, 1);
    bool started = !unix.empty() && startChattr(unix, unwritable);
    for (int waited = 0; started && !changeMade(path, folder, unwritable) && waited < 3000; waited += 20) Sleep(20);
    if (!unwritable) setReadOnlyMark(path, attributes, 0);
    return writable(path, folder) != (unwritable != 0);
}
