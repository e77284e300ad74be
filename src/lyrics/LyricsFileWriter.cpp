#include "lyrics/LyricsFileWriter.h"

UiText saveFailureReason(SaveFailure failure) {
    switch (failure) {
    case SaveFailure::kGone: return UiText::LyricsFileGone;
    case SaveFailure::kReadOnly: return UiText::LyricsFileReadOnly;
    case SaveFailure::kInUse: return UiText::LyricsFileInUse;
    case SaveFailure::kFolderRefused: return UiText::LyricsFolderRefused;
    case SaveFailure::kReadOnlyMedium: return UiText::LyricsFileOnReadOnlyMedium;
    case SaveFailure::kDiskFull: return UiText::LyricsFileDiskFull;
    case SaveFailure::kTooLong: return UiText::LyricsFileTooLong;
    case SaveFailure::kTooLongWithTag: return UiText::LyricsFileTooLongWithTag;
    case SaveFailure::kOffsetOutOfRange: return UiText::LyricsOffsetOutOfRange;
    case SaveFailure::kOffsetNotANumber: return UiText::LyricsOffsetNotANumber;
    case SaveFailure::kNotLyrics: return UiText::LyricsFileNotLyrics;
    case SaveFailure::kAmbiguous: return UiText::LyricsFileAmbiguous;
    case SaveFailure::kExists: return UiText::LyricsCopyInTheWay;
    case SaveFailure::kNone:
    case SaveFailure::kFailed: break;
    }
    return UiText::LyricsFileFailed;
}

const char* saveFailureText(SaveFailure failure) {
    if (failure == SaveFailure::kNone) return "The lyrics file was saved.";
    return uiText(saveFailureReason(failure), UiLanguage::English);
}
