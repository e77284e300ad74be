#pragma once
// A folder of the tests' own below the temporary folder, made and removed through the wide API,
// with files written and read back byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "utils/WinPath.h"
#include "utils/WinText.h"

inline void writeFile(const std::string& path, const std::string& contents) {
    HANDLE file =
        CreateFileW(widePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
}

// The whole file, or "(none)" when it does not open.
inline std::string readWholeFile(const std::string& path) {
    HANDLE file =
        CreateFileW(widePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(none)";
    std::string contents;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) contents.append(buffer, got);
    CloseHandle(file);
    return contents;
}

// The names in a folder.
inline std::set<std::string> folderNames(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(widePath(folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = narrow(data.cFileName);
        if (name != "." && name != "..") names.insert(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

inline void removeTree(const std::string& folder) {
    for (const std::string& name : folderNames(folder)) {
        std::wstring path = widePath(folder + "\\" + name);
        DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            removeTree(folder + "\\" + name);
        } else {
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only file too
            DeleteFileW(path.c_str());
        }
    }
    RemoveDirectoryW(widePath(folder).c_str());
}

class WinLyricsTree : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root = narrow(temp) + "sorvane-lyrics-" + std::to_string(GetCurrentProcessId());
        removeTree(root);
        ASSERT_TRUE(CreateDirectoryW(widePath(root).c_str(), nullptr));
    }
    void TearDown() override { removeTree(root); }
    void folder(const std::string& relative) {
        ASSERT_TRUE(CreateDirectoryW(widePath(root + "\\" + relative).c_str(), nullptr)) << relative;
    }
    void file(const std::string& relative, const std::string& contents) { writeFile(root + "\\" + relative, contents); }

    std::string root;
};
