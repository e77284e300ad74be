#include "lyrics/PosixLyricsFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

SaveFailure failureOf(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case EISDIR: return SaveFailure::kGone;
    case EACCES:
    case EPERM: return SaveFailure::kFolderRefused;
    case EROFS: return SaveFailure::kReadOnlyMedium;
    case ENOSPC:
    case EDQUOT: return SaveFailure::kDiskFull;
    case ETXTBSY:
    case EBUSY: return SaveFailure::kInUse;
    default: return SaveFailure::kFailed;
    }
}

int fail(SaveFailure& failure, SaveFailure reason) {
    failure = reason;
    return 0;
}

int writeAll(int descriptor, std::string_view bytes) {
    for (size_t done = 0; done < bytes.size();) {
        ssize_t n = write(descriptor, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return 0;
        done += static_cast<size_t>(n);
    }
    return 1;
}

// The new content in a new file in the folder of target, with target's permissions (and owner,
// where allowed). Returns its path, or empty with errno set.
std::string writeBeside(const std::string& target, const struct stat& status, std::string_view bytes) {
    std::string temporary = target + ".sorvane-XXXXXX";
    int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) return {};
    // Only root may give a file away: an ordinary user's new file stays theirs, and that is fine.
    if (fchown(descriptor, status.st_uid, status.st_gid) != 0) errno = 0;
    int written =
        writeAll(descriptor, bytes) && fchmod(descriptor, status.st_mode & 07777) == 0 && fsync(descriptor) == 0;
    int error = errno;
    if (close(descriptor) != 0 && written) {
        written = 0;
        error = errno;
    }
    if (written) return temporary;
    unlink(temporary.c_str());
    errno = error;
    return {};
}

void syncFolderOf(const std::string& path) {
    std::string folder = path.substr(0, path.rfind('/') + 1);
    int descriptor = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    fsync(descriptor);
    close(descriptor);
}

}  // namespace

int PosixLyricsFileWriter::readFile(const char* path, size_t maxBytes, std::string& bytes, SaveFailure& failure) {
    int descriptor = open(path, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return fail(failure, errno == EACCES ? SaveFailure::kFailed : failureOf(errno));
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(descriptor);
        return fail(failure, SaveFailure::kGone);
    }
    bytes.clear();
    char buffer[65536];
    for (;;) {
        ssize_t n = read(descriptor, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            close(descriptor);
            return fail(failure, SaveFailure::kFailed);
        }
        if (n == 0) break;
        if (bytes.size() + static_cast<size_t>(n) > maxBytes) {
            close(descriptor);
            return fail(failure, SaveFailure::kTooLong);
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
    close(descriptor);
    return 1;
}

int PosixLyricsFileWriter::replaceFile(const char* path, std::string_view bytes, SaveFailure& failure) {
    char* resolved = realpath(path, nullptr);
    if (!resolved) return fail(failure, failureOf(errno));
    std::string target = resolved;
    std::free(resolved);
    struct stat status;
    if (stat(target.c_str(), &status) != 0) return fail(failure, failureOf(errno));
    if (!S_ISREG(status.st_mode)) return fail(failure, SaveFailure::kGone);
    if (!(status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) return fail(failure, SaveFailure::kReadOnly);
    if (access(target.c_str(), W_OK) != 0)
        return fail(failure, errno == EROFS ? SaveFailure::kReadOnlyMedium : SaveFailure::kReadOnly);
    std::string temporary = writeBeside(target, status, bytes);
    if (temporary.empty()) return fail(failure, failureOf(errno));
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        int error = errno;
        unlink(temporary.c_str());
        return fail(failure, failureOf(error));
    }
    syncFolderOf(target);
    return 1;
}
