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

// Where lyrics without a file of their own (from the song's tags) are saved: the song's copy in
// the download folder, as the lookup named it. Empty when there is none to make.
std::string downloadCopyOfSong() {
    const LyricsDocument& document = *plugin.lyricsDocument;
    if (document.sourceText.empty()) return {};
    return document.downloadCopy;
}

// The lyrics text written whole as a UTF-8 file with its mark and the offset tag, in the song's
// copy; from then on the document's file is that copy, whose times are the text's own.
int saveDownloadCopy(LyricsDocument& document, const std::string& file, int32_t offsetMs, SaveFailure& failure) {
    Win32LyricsEnvironment environment;
    std::string bytes;
    if (!rewriteOffsetTag("\xEF\xBB\xBF" + document.sourceText, offsetMs, environment, bytes, failure)) return 0;
    if (!Win32LyricsFileWriter().createFile(file.c_str(), bytes, failure)) return 0;
    document.lyricsFile = file;
    document.encoding = TextEncoding::kUtf8;
    document.sourceText.clear();
    return 1;
}

}  // namespace

int32_t lyricsPositionNow() {
    return lyricsPositionMs(plugin.playerState.positionMs, plugin.liveShift, plugin.liveSettings.GlobalOffset);
}

bool canShiftTiming() { return plugin.lyricsDocument->isLoaded() != 0; }

bool canSaveTiming() {
    return canShiftTiming() && (!plugin.lyricsDocument->lyricsFile.empty() || !downloadCopyOfSong().empty());
}

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
    if (!canSaveTiming()) return;
    LyricsDocument& document = *plugin.lyricsDocument;
    int32_t offsetMs = savedOffsetMs(document.offsetMs, plugin.liveShift);
    std::string file;
    OffsetSave save;
    int saved = 0;
    if (!document.lyricsFile.empty()) {
        file = document.lyricsFile;
        Win32LyricsEnvironment environment;
        Win32LyricsFileWriter writer;
        saved = saveOffsetTag(file.c_str(), offsetMs, environment, writer, save);
    } else {
        file = downloadCopyOfSong();
        saved = saveDownloadCopy(document, file, offsetMs, save.failure);
    }
    if (saved) {
        markSaved(plugin.liveShift);
        showNote(uiTextW(UiText::TimingSavedNote));
        return;
    }
    std::string reason = uiText(saveFailureReason(save.failure), activeLanguage());
    // Owned by the player, which should get the activation back when the box closes. When nothing
    // is in front afterwards (a box closed before it was ever active), the player is put there:
    // in Direct mode the bar, hidden while the box was in front, would otherwise stay hidden
    // until the user clicked the player.
    MessageBoxW(plugin.hostWindow(), formatUiTextW(UiText::TimingSaveFailedText, {file, reason}).c_str(),
                uiTextW(UiText::TimingSaveFailedCaption).c_str(), MB_OK | MB_ICONWARNING);
    HWND front = GetForegroundWindow();
    if (!front || front == GetDesktopWindow()) SetForegroundWindow(plugin.hostWindow());
}

std::wstring activeTimingNote() {
    if (plugin.noteText.empty()) return {};
    if (GetTickCount() - plugin.noteSince >= kNoteShownMs) plugin.noteText.clear();
    return plugin.noteText;
}
