#pragma once
// Writing a lyrics file back: the whole file read, and its content replaced in one step. The
// plug-in's is Win32LyricsFileWriter, the native tools' PosixLyricsFileWriter; tests fake it.
//
// A replacement never leaves a half-written file: the new content goes to a new file beside the
// old one, which then takes the old one's place. When it cannot, the file keeps every byte it had
// and the reason says why, in words the plug-in can show.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "utils/UiText.h"

enum class SaveFailure : int32_t {
    kNone,
    kGone,            // the file is not there (any more), or is no file
    kReadOnly,        // the file is marked read-only, or may not be written
    kInUse,           // another program holds the file open and does not let it be replaced
    kFolderRefused,   // the folder refuses the new file beside it
    kReadOnlyMedium,  // the file lies on a medium that cannot be written (a CD, a locked card)
    kDiskFull,
    kTooLong,           // longer than the plug-in reads a lyrics file
    kTooLongWithTag,    // the new offset tag would make it longer than the plug-in reads
    kOffsetOutOfRange,  // the offset would lie beyond a day either way
    kOffsetNotANumber,  // an offset tag the file holds does not read as the number it says
    kNotLyrics,         // the file holds no lyrics the plug-in can show: it is not rewritten
    kAmbiguous,         // the new content would read otherwise (in another encoding, say)
    kExists,            // a new file was to be made where a file of that name is already
    kFailed,            // any other error of the system
};

// The reason as a sentence of the plug-in's message table ("The lyrics file is read-only.").
UiText saveFailureReason(SaveFailure failure);
// The same sentence in English, for the command-line tools and test messages.
const char* saveFailureText(SaveFailure failure);

class LyricsFileWriter {
public:
    virtual ~LyricsFileWriter() = default;
    // The whole file, when it is at most maxBytes long (kTooLong otherwise). Returns 1, or 0 with
    // the reason. The path is UTF-8.
    virtual int readFile(const char* path, size_t maxBytes, std::string& bytes, SaveFailure& failure) = 0;
    // Puts bytes in place of the file's content, whole, through a new file beside it. The file
    // must exist. Returns 1, or 0 with the reason and the file as it was.
    virtual int replaceFile(const char* path, std::string_view bytes, SaveFailure& failure) = 0;
};
