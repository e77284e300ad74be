#include "lyrics/LyricsFileWriter.h"

const char* saveFailureText(SaveFailure failure) {
    switch (failure) {
    case SaveFailure::kNone: return "The lyrics file was saved.";
    case SaveFailure::kGone: return "The lyrics file is not there.";
    case SaveFailure::kReadOnly: return "The lyrics file is read-only.";
    case SaveFailure::kInUse: return "The lyrics file is open in another program.";
    case SaveFailure::kFolderRefused: return "The folder of the lyrics file does not allow changes.";
    case SaveFailure::kReadOnlyMedium: return "The lyrics file is on a medium that cannot be written.";
    case SaveFailure::kDiskFull: return "The disk of the lyrics file is full.";
    case SaveFailure::kTooLong: return "The lyrics file is longer than Sorvane reads.";
    case SaveFailure::kNotLyrics: return "The file holds no lyrics Sorvane can show.";
    case SaveFailure::kAmbiguous: return "The lyrics file cannot take the tag without reading differently.";
    case SaveFailure::kExists: return "A lyrics file of that name is already there.";
    case SaveFailure::kFailed: break;
    }
    return "The lyrics file could not be written.";
}
