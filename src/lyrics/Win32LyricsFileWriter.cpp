#include "lyrics/Win32LyricsFileWriter.h"

#include <windows.h>

#include "utils/WinPath.h"

namespace {

constexpr int kTemporaryNames = 100;  // tried in turn when a crashed save left some behind
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_NORMAL;

// accessDenied: what ERROR_ACCESS_DENIED means where it arose (the folder refused the new file,
// or the old file refused to be replaced).
SaveFailure failureOf(DWORD error, SaveFailure accessDenied) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_DIRECTORY: return SaveFailure::kGone;
    case ERROR_ACCESS_DENIED: return accessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_UNABLE_TO_REMOVE_REPLACED: return SaveFailure::kInUse;
    case ERROR_WRITE_PROTECT: return SaveFailure::kReadOnlyMedium;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return SaveFailure::kDiskFull;
    default: return SaveFailure::kFailed;
    }
}

int fail(SaveFailure& failure, SaveFailure reason) {
    failure = reason;
    return 0;
}

// A new file beside path, open for writing; INVALID_HANDLE_VALUE with the last error set when
// none can be made.
HANDLE createBeside(const char* path, std::wstring& temporary) {
    for (int n = 0; n < kTemporaryNames; ++n) {
        temporary = widePath(std::string(path) + ".sorvane-" + std::to_string(n) + ".tmp");
        if (temporary.empty()) {
            SetLastError(ERROR_INVALID_NAME);
            break;
        }
        HANDLE file =
            CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    return INVALID_HANDLE_VALUE;
}

int writeAll(HANDLE file, std::string_view bytes) {
    for (size_t done = 0; done < bytes.size();) {
        DWORD chunk = bytes.size() - done > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size() - done);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return 0;
        done += written;
    }
    return FlushFileBuffers(file);
}

// The bytes written and flushed into a new file beside path, named in temporary. Returns 1, or 0
// with the reason and no new file left.
int writeBeside(const char* path, std::string_view bytes, std::wstring& temporary, SaveFailure& failure) {
    HANDLE file = createBeside(path, temporary);
    if (file == INVALID_HANDLE_VALUE) return fail(failure, failureOf(GetLastError(), SaveFailure::kFolderRefused));
    int written = writeAll(file, bytes);
    DWORD error = GetLastError();
    CloseHandle(file);
    if (written) return 1;
    DeleteFileW(temporary.c_str());
    return fail(failure, failureOf(error, SaveFailure::kFailed));
}

// File systems that cannot replace a file in one call (some network shares).
int cannotReplace(DWORD error) {
    return error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION;
}

// Wine's ReplaceFileW moves the old file aside before it moves the new one in, and leaves a file
// of its own beside them when the old one is held open; its MoveFileExW replaces in one step.
int underWine() {
    static const int wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

int moveOver(const std::wstring& temporary, const std::wstring& target) {
    return MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// Makes every missing folder on the path to a file (UTF-16, with "\\" between its parts). The
// first parts of a drive, share or "\\?\" form are no folders to make: what cannot be made is
// passed over, and the file's own folder must be there in the end.
int makeFoldersTo(const std::wstring& file) {
    size_t last = file.rfind(L'\\');
    if (last == std::wstring::npos) return 1;
    for (size_t at = file.find(L'\\'); at != std::wstring::npos && at <= last; at = file.find(L'\\', at + 1))
        if (at > 0) CreateDirectoryW(file.substr(0, at).c_str(), nullptr);
    DWORD attributes = GetFileAttributesW(file.substr(0, last).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The file itself that path names: through a symbolic link (or a chain of them) its target, as
// reading goes through it, so that a save replaces the target and the link stays. The path as it
// is when the system cannot say (before Vista it has no symbolic links to follow either).
std::string finalPathOf(const char* path) {
    using FinalPathName = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    static const auto finalPathName = reinterpret_cast<FinalPathName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
    std::wstring wide = widePath(path);
    if (!finalPathName || wide.empty()) return path;
    HANDLE file = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return path;
    std::wstring resolved(kMaxWidePath + 1, L'\0');
    const DWORD kNormalisedDosPath = 0;  // FILE_NAME_NORMALIZED | VOLUME_NAME_DOS
    DWORD length = finalPathName(file, resolved.data(), static_cast<DWORD>(resolved.size()), kNormalisedDosPath);
    CloseHandle(file);
    std::string utf8;
    if (length == 0 || length >= resolved.size() || !narrowName(resolved.substr(0, length).c_str(), utf8)) return path;
    return utf8;
}

}  // namespace

int Win32LyricsFileWriter::readFile(const char* path, size_t maxBytes, std::string& bytes, SaveFailure& failure) {
    std::wstring wide = widePath(path);
    if (wide.empty()) return fail(failure, SaveFailure::kGone);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return fail(failure, failureOf(GetLastError(), SaveFailure::kFailed));
    LARGE_INTEGER size;
    int read = GetFileSizeEx(file, &size);
    if (read && static_cast<uint64_t>(size.QuadPart) > maxBytes) {
        CloseHandle(file);
        return fail(failure, SaveFailure::kTooLong);
    }
    bytes.assign(read ? static_cast<size_t>(size.QuadPart) : 0, '\0');
    for (size_t done = 0; read && done < bytes.size();) {
        DWORD got = 0;
        read = ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr) && got > 0;
        done += got;
    }
    CloseHandle(file);
    return read ? 1 : fail(failure, SaveFailure::kFailed);
}

int Win32LyricsFileWriter::replaceFile(const char* named, std::string_view bytes, SaveFailure& failure) {
    std::string finalPath = finalPathOf(named);
    const char* path = finalPath.c_str();
    std::wstring target = widePath(path);
    if (target.empty()) return fail(failure, SaveFailure::kGone);
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return fail(failure, failureOf(GetLastError(), SaveFailure::kFailed));
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return fail(failure, SaveFailure::kGone);
    if (attributes & FILE_ATTRIBUTE_READONLY) return fail(failure, SaveFailure::kReadOnly);

    std::wstring temporary;
    if (!writeBeside(path, bytes, temporary, failure)) return 0;
    DWORD error = 0;
    // The old file's attributes (hidden, say) go with its content, whichever call replaces it.
    if (!SetFileAttributesW(temporary.c_str(), attributes & kKeptAttributes)) {
        error = GetLastError();
        DeleteFileW(temporary.c_str());
        return fail(failure, failureOf(error, SaveFailure::kFailed));
    }

    if (underWine()) {
        if (moveOver(temporary, target)) return 1;
        error = GetLastError();
        DeleteFileW(temporary.c_str());
        return fail(failure, failureOf(error, SaveFailure::kInUse));
    }
    if (ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return 1;
    error = GetLastError();
    // Without a backup name, ERROR_UNABLE_TO_MOVE_REPLACEMENT means the old file is gone already
    // and the new one still has its temporary name: the move finishes the replacement.
    int oldFileGone = error == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
    if (oldFileGone || cannotReplace(error)) {
        if (moveOver(temporary, target)) return 1;
        error = GetLastError();
    }
    // The new content is then all there is of the lyrics: it stays, under its temporary name.
    if (!oldFileGone) DeleteFileW(temporary.c_str());
    return fail(failure, failureOf(error, SaveFailure::kReadOnly));
}

int Win32LyricsFileWriter::createFile(const char* path, std::string_view bytes, SaveFailure& failure) {
    std::wstring target = widePath(path);
    if (target.empty()) return fail(failure, SaveFailure::kGone);
    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) return fail(failure, SaveFailure::kExists);
    if (!makeFoldersTo(target)) return fail(failure, SaveFailure::kFolderRefused);
    std::wstring temporary;
    if (!writeBeside(path, bytes, temporary, failure)) return 0;
    if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return 1;
    DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return fail(failure, SaveFailure::kExists);
    return fail(failure, failureOf(error, SaveFailure::kFailed));
}
