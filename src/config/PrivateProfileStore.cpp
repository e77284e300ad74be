#include "config/PrivateProfileStore.h"

#include <windows.h>

#include <vector>

#include "utils/WinText.h"

namespace {

// Profile values are read whole up to this many characters (a path at the system's limit).
const DWORD kLongestValue = 32768;

std::wstring wideKey(const char* key) { return widen(key ? key : ""); }

bool readWholeFile(const std::wstring& path, std::string& bytes, bool& exists) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    exists = file != INVALID_HANDLE_VALUE;
    if (!exists) return GetLastError() == ERROR_FILE_NOT_FOUND;
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < 64 * 1024 * 1024;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        ok = bytes.empty() ||
             (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

bool writeWholeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    return CloseHandle(file) && ok;
}

bool hasByteOrderMark(const std::string& bytes) {
    return bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0 ||
           bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
}

}  // namespace

int makeUnicodeIni(const std::wstring& path) {
    std::string bytes;
    bool exists = false;
    if (!readWholeFile(path, bytes, exists)) return 0;
    if (hasByteOrderMark(bytes)) return 1;
    std::wstring text = ansiToWide(bytes);
    if (!bytes.empty() && text.empty()) return 0;
    std::string unicode = "\xFF\xFE";
    unicode.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    if (!exists) return writeWholeFile(path, unicode) ? 1 : 0;
    // The old file stays whole until the new one has been written completely.
    std::wstring fresh = path + L".new";
    if (!writeWholeFile(fresh, unicode)) {
        DeleteFileW(fresh.c_str());
        return 0;
    }
    if (!MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(fresh.c_str());
        return 0;
    }
    return 1;
}

PrivateProfileStore::PrivateProfileStore(const std::string& iniPath, const char* section)
    : path(widen(iniPath)), section(wideKey(section)) {}

int32_t PrivateProfileStore::readInt(const char* key, int32_t fallback) {
    // The platform returns an unsigned value; negative numbers come back as their two's complement.
    return static_cast<int32_t>(GetPrivateProfileIntW(section.c_str(), wideKey(key).c_str(), fallback, path.c_str()));
}

std::string PrivateProfileStore::readString(const char* key) {
    std::wstring name = wideKey(key);
    // A value that fills the buffer may go on: read it again into a larger one.
    for (DWORD size = 512;; size *= 4) {
        std::vector<wchar_t> buffer(size);
        DWORD got = GetPrivateProfileStringW(section.c_str(), name.c_str(), L"", buffer.data(), size, path.c_str());
        if (got < size - 1 || size >= kLongestValue) return narrow(std::wstring_view(buffer.data(), got));
    }
}

void PrivateProfileStore::fail(DWORD code) {
    if (failed) return;
    failed = true;
    error = code;
}

// A file that cannot be opened for writing fails every write, whatever the profile calls answer.
void PrivateProfileStore::checkFile() {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        makeUnicodeIni(path);
        return;
    }
    DWORD code = GetLastError();
    if (code != ERROR_FILE_NOT_FOUND) {
        fail(code);
        return;
    }
    // A new file that cannot be made (a folder the user may not write, or one that is not there).
    if (!makeUnicodeIni(path)) fail(GetLastError());
}

void PrivateProfileStore::writeString(const char* key, const std::string& value) {
    if (!unicodeChecked) {
        unicodeChecked = true;
        checkFile();
    }
    if (!WritePrivateProfileStringW(section.c_str(), wideKey(key).c_str(), widen(value).c_str(), path.c_str()))
        fail(GetLastError());
}
