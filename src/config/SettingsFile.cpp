#include "config/SettingsFile.h"

#include <cstdio>

#include "utils/WinPath.h"
#include "utils/WinText.h"
#include "utils/WinUiText.h"

namespace {

const char kFileName[] = "sorvane.ini";
const char kLogName[] = "sorvane.log";

std::string inFolder(const std::string& folder, const char* name) {
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder + name;
    return folder + "\\" + name;
}

bool isFile(const std::string& path) {
    DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The old file, copied whole (every section and key as it stands, in its own encoding: the first
// save turns it into UTF-16). A copy keeps the read-only mark of its source, which would fail every
// save to the new place: it is taken off.
bool copySettings(const std::string& from, const std::string& to) {
    std::wstring source = widePath(from), target = widePath(to);
    if (!CopyFileW(source.c_str(), target.c_str(), TRUE)) return false;
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return true;
}

// The system's words for an error, in the active language when the system has them.
std::string systemErrorText(DWORD error) {
    if (!error) return uiText(UiText::SaveFailedNoReason, activeLanguage());
    wchar_t* text = nullptr;
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER;
    for (LANGID language : {resourceLanguage(activeLanguage()), LANGID{0}}) {
        if (FormatMessageW(flags, nullptr, error, language, reinterpret_cast<wchar_t*>(&text), 0, nullptr)) break;
        text = nullptr;
    }
    std::wstring reason = text ? text : L"";
    if (text) LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    if (reason.empty()) {
        char number[32];
        std::snprintf(number, sizeof number, "%s (%lu)", uiText(UiText::SaveFailedNoReason, activeLanguage()),
                      static_cast<unsigned long>(error));
        return number;
    }
    return narrow(reason);
}

// One line, UTF-8, at the end of sorvane.log beside the settings file; nothing when that cannot
// be written either.
void appendToLog(const std::string& settingsFile, const std::string& line) {
    std::string folder = settingsFile.substr(0, settingsFile.find_last_of("\\/") + 1);
    HANDLE log = CreateFileW(widePath(settingsLogIn(folder)).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    // A new log starts with a byte-order mark, so that every editor reads it as UTF-8.
    LARGE_INTEGER size = {};
    std::string text = GetFileSizeEx(log, &size) && size.QuadPart == 0 ? "\xEF\xBB\xBF" : "";
    text += stamp + line + "\r\n";
    DWORD written = 0;
    WriteFile(log, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(log);
}

}  // namespace

std::string settingsFileIn(const std::string& folder) { return inFolder(folder, kFileName); }

std::string settingsLogIn(const std::string& folder) { return inFolder(folder, kLogName); }

std::string libraryFolder(HINSTANCE module) {
    // The module's file name, however long: the buffer grows until the name fits.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(module, name.data(), static_cast<DWORD>(name.size()));
        if (n < name.size() || name.size() >= 32768) {
            name.resize(n < name.size() ? n : 0);
            break;
        }
        name.resize(name.size() * 2);
    }
    std::string path = narrow(name);
    size_t slash = path.rfind('\\');
    path.erase(slash == std::string::npos ? 0 : slash + 1);
    return path;
}

std::string locateSettingsFile(SettingsFileState& file, const std::string& hostFolder,
                               const std::string& moduleFolder) {
    std::string beside = settingsFileIn(moduleFolder);
    if (hostFolder.empty()) {
        file.path = beside;
        return file.path;
    }
    file.path = settingsFileIn(hostFolder);
    // A host folder that is not there yet is made (its parent is the host's business).
    CreateDirectoryW(widePath(hostFolder).c_str(), nullptr);
    if (isFile(file.path) || !isFile(beside)) return file.path;
    return copySettings(beside, file.path) ? file.path : beside;
}

void reportSaveFailure(SettingsFileState& file, HWND owner, DWORD error) {
    std::string reason = systemErrorText(error);
    appendToLog(file.path, formatUiText(UiText::SaveFailedLogLine, activeLanguage(), {file.path, reason}));
    if (!owner || file.failureShown) return;
    file.failureShown = true;
    std::wstring text = formatUiTextW(UiText::SaveFailedText, {file.path, reason});
    MessageBoxW(owner, text.c_str(), uiTextW(UiText::SaveFailedCaption).c_str(), MB_OK | MB_ICONWARNING);
}
