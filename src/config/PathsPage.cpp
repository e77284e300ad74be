// "パス": the folder the lyrics are looked up under and the skin bitmap, typed or browsed for.
#include <windows.h>
#include <commdlg.h>

#include <cstring>

#include "config/PageRules.h"
#include "config/PageUtil.h"
#include "config/PropertyPages.h"
#include "plugin/Globals.h"
#include "plugin/PluginLock.h"
#include "resources/ResourceIds.h"
#include "utils/Text.h"

namespace {

const char kLyricsTitle[] = "歌詞ファイルを指定してください";
const char kLyricsFilter[] = "歌詞ファイル(*.txt;*.kra)\0*.txt;*.kra\0全てのファイル(*.*)\0*.*\0";
const char kSkinTitle[] = "スキンファイルを指定してください";
const char kSkinFilter[] = "スキンファイル(*.bmp)\0*.bmp\0全てのファイル(*.*)\0*.*\0";

// Runs the open-file dialog without the lock (the bar keeps ticking inside it). Returns 1 with the
// chosen file in path, 0 when the user cancels.
int browse(HWND page, const char* title, const char* filter, const char* startIn, char (&path)[kProfileStringSize]) {
    char folder[kProfileStringSize];
    {
        LockedScope locked;
        copyBounded(folder, sizeof folder, startIn);
    }
    path[0] = '\0';
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = page;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrInitialDir = folder;
    dialog.lpstrTitle = title;
    dialog.Flags = OFN_FILEMUSTEXIST;
    return GetOpenFileNameA(&dialog) ? 1 : 0;
}

void browseLyrics(HWND page) {
    char path[kProfileStringSize] = {};
    if (!browse(page, kLyricsTitle, kLyricsFilter, liveSettings.LyricsPath, path)) return;
    cutToFolder(path);
    writeItemText(page, IDC_LYRICS_PATH, path);  // the edit's change stores it
    reportChanged(page);
}

void browseSkin(HWND page) {
    char path[kProfileStringSize] = {};
    if (!browse(page, kSkinTitle, kSkinFilter, liveSettings.SkinPath, path)) return;
    {
        LockedScope locked;
        assignString(liveSettings.SkinPath, path);
        renderSurface.loadSkin(liveSettings);
        writeItemText(page, IDC_SKIN_PATH, path);
    }
    reportChanged(page);
}

// Only a text that differs from the setting is a change: the page's own writes notify too, and an
// unset path shows as an empty edit. Focus notifications are not changes at all: one arrives while
// the sheet closes, after a cancel has restored the settings.
void pathEdited(HWND page, int id, char*& setting) {
    char text[kProfileStringSize];
    readItemText(page, id, text);
    LockedScope locked;
    if (std::strcmp(text, setting ? setting : "") == 0) return;
    assignString(setting, text);
    if (id == IDC_SKIN_PATH) renderSurface.loadSkin(liveSettings);
}

void initialise(HWND page) {
    LockedScope locked;
    writeItemText(page, IDC_LYRICS_PATH, liveSettings.LyricsPath);
    writeItemText(page, IDC_SKIN_PATH, liveSettings.SkinPath);
}

void command(HWND page, int id, int notification) {
    switch (id) {
    case IDC_LYRICS_BROWSE:
        browseLyrics(page);
        break;
    case IDC_SKIN_BROWSE:
        browseSkin(page);
        break;
    case IDC_LYRICS_PATH:
        if (notification == EN_CHANGE) pathEdited(page, id, liveSettings.LyricsPath);
        break;
    case IDC_SKIN_PATH:
        if (notification == EN_CHANGE) pathEdited(page, id, liveSettings.SkinPath);
        break;
    default:
        break;
    }
}

void notify(HWND, UINT code) {
    if (!restoreOnCancel(code)) return;
    LockedScope locked;
    renderSurface.loadSkin(liveSettings);
}

}  // namespace

INT_PTR CALLBACK pathsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    static const PageHandlers handlers = {initialise, command, notify, nullptr};
    return handlePageMessage(handlers, page, message, wParam, lParam);
}
