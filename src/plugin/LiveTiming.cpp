#include "plugin/LiveTiming.h"

#include "lyrics/OffsetTag.h"
#include "lyrics/Win32LyricsEnvironment.h"
#include "lyrics/Win32LyricsFileWriter.h"
#include "plugin/PluginState.h"
#include "utils/WinText.h"
#include "utils/WinUiText.h"

namespace {

constexpr DWORD kNoteShownMs = 1000;

void showNote(const std::wstring& text) {
    plugin.noteText = text;
    plugin.noteSince = GetTickCount();
}

void noteShift() { showNote(widen(shiftNote(unsavedShiftMs(plugin.liveShift)))); }

UiText reasonText(SaveFailure failure) {
    switch (failure) {
    case SaveFailure::kGone: return UiText::LyricsFileGone;
    case SaveFailure::kReadOnly: return UiText::LyricsFileReadOnly;
    case SaveFailure::kInUse: return UiText::LyricsFileInUse;
    case SaveFailure::kFolderRefused: return UiText::LyricsFolderRefused;
    case SaveFailure::kReadOnlyMedium: return UiText::LyricsFileOnReadOnlyMedium;
    case SaveFailure::kDiskFull: return UiText::LyricsFileDiskFull;
    case SaveFailure::kTooLong: return UiText::LyricsFileTooLong;
    case SaveFailure::kNotLyrics: return UiText::LyricsFileNotLyrics;
    case SaveFailure::kAmbiguous: return UiText::LyricsFileAmbiguous;
    case SaveFailure::kNone:
    case SaveFailure::kFailed: break;
    }
    return UiText::LyricsFileFailed;
}

}  // namespace

int32_t lyricsPositionNow() {
    return lyricsPositionMs(plugin.playerState.positionMs, plugin.liveShift, plugin.liveSettings.GlobalOffset);
}

bool canShiftTiming() { return plugin.lyricsDocument->isLoaded() != 0; }

bool canSaveTiming() { return canShiftTiming() && !plugin.lyricsDocument->lyricsFile.empty(); }

bool hasUnsavedShift() { return unsavedShiftMs(plugin.liveShift) != 0; }

void stepTiming(int32_t stepMs) {
    if (!canShiftTiming()) return;
    stepShift(plugin.liveShift, stepMs);
    noteShift();
}

void resetTiming() {
    if (!canShiftTiming()) return;
    resetShift(plugin.liveShift);
    noteShift();
}

void saveTiming() {
    std::string file;
    OffsetSave save;
    {
        LockedScope locked(plugin.pluginLock);
        if (!canSaveTiming()) return;
        const LyricsDocument& document = *plugin.lyricsDocument;
        file = document.lyricsFile;
        Win32LyricsEnvironment environment;
        Win32LyricsFileWriter writer;
        if (saveOffsetTag(file.c_str(), savedOffsetMs(document.offsetMs, plugin.liveShift), environment, writer, save)) {
            markSaved(plugin.liveShift);
            showNote(uiTextW(UiText::TimingSavedNote));
            return;
        }
    }
    std::string reason = uiText(reasonText(save.failure), activeLanguage());
    MessageBoxW(nullptr, formatUiTextW(UiText::TimingSaveFailedText, {file, reason}).c_str(),
                uiTextW(UiText::TimingSaveFailedCaption).c_str(), MB_OK | MB_ICONWARNING);
}

std::wstring activeTimingNote() {
    if (plugin.noteText.empty()) return {};
    if (GetTickCount() - plugin.noteSince >= kNoteShownMs) plugin.noteText.clear();
    return plugin.noteText;
}
