#include "subplayer/WinHelpers.h"

namespace {

std::string convert(const std::string& text, UINT from, UINT to) {
    if (text.empty()) return text;
    int wide = MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring w(wide, L'\0');
    MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), &w[0], wide);
    int narrow = WideCharToMultiByte(to, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(narrow, '\0');
    WideCharToMultiByte(to, 0, w.data(), wide, &out[0], narrow, nullptr, nullptr);
    return out;
}

struct WindowSearch {
    int visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<WindowSearch*>(search);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && (!s->visibleOnly || IsWindowVisible(window))) s->found.push_back(window);
    return TRUE;
}

}  // namespace

std::string ansiFromUtf8(const std::string& utf8) { return convert(utf8, CP_UTF8, CP_ACP); }
std::string utf8FromAnsi(const std::string& ansi) { return convert(ansi, CP_ACP, CP_UTF8); }

std::string windowClassName(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string windowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<HWND> processWindows(int visibleOnly) {
    WindowSearch search{visibleOnly, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findProcessWindow(const char* className, int visibleOnly) {
    for (HWND w : processWindows(visibleOnly))
        if (windowClassName(w) == className) return w;
    return nullptr;
}

uint64_t nowMs() { return GetTickCount64(); }

std::string executableFolder() {
    char path[MAX_PATH] = "";
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n < MAX_PATH ? n : 0);
    size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

std::string joinPath(const std::string& parent, const std::string& name) {
    if (parent.empty()) return name;
    char last = parent[parent.size() - 1];
    return last == '\\' || last == '/' ? parent + name : parent + "\\" + name;
}

void removeFolderTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(joinPath(folder, "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = joinPath(folder, name);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeFolderTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(folder.c_str());
}

int makeFreshFolder(std::string& folder, const std::string& parent) {
    std::string base = parent;
    if (base.empty()) {
        char temp[MAX_PATH] = "";
        if (!GetTempPathA(MAX_PATH, temp)) return 0;
        base = temp;
    }
    static LONG counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[64];
        wsprintfA(name, "subplayer-%lu-%lu-%ld", GetCurrentProcessId(), GetTickCount(), InterlockedIncrement(&counter));
        folder = joinPath(base, name);
        if (CreateDirectoryA(folder.c_str(), nullptr)) return 1;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return 0;
    }
    return 0;
}
