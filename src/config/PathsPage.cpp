// "パス": the folder the lyrics are looked up under, the skin bitmap and the download folder, typed
// or browsed for, and whether lyrics are looked for online (with why not, when the server set in the
// INI file cannot be asked).
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "config/PageRules.h"
#include "config/PageUtil.h"
#include "config/PropertyPages.h"
#include "config/SheetState.h"
#include "online/OnlineQuery.h"
#include "resources/ResourceIds.h"
#include "utils/Text.h"
#include "utils/WinText.h"
#include "utils/WinUiText.h"

namespace {

// The dialog's buffer: a path at the system's limit fits.
const size_t kLongestPath = 32768;

// Runs the open-file dialog (the bar keeps ticking inside it). Returns 1 with the chosen file's path
// (UTF-8) in path, 0 when the user cancels.
int browse(SheetState& state, HWND page, UiText titleText, UiText filterText,
           const std::optional<std::string> Settings::*startIn, std::string& path) {
    std::wstring title = uiTextW(titleText);
    // The table separates the filter's parts with "|"; the dialog takes them between zeros.
    std::wstring filter = uiTextW(filterText);
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    std::wstring folder = widen((state.liveSettings.*startIn).value_or(""));
    std::wstring chosen(kLongestPath, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = page;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    dialog.lpstrInitialDir = folder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameW(&dialog)) return 0;
    path = narrow(chosen.c_str());
    return 1;
}

void browseLyrics(SheetState& state, HWND page) {
    std::string path;
    if (!browse(state, page, UiText::LyricsBrowseTitle, UiText::LyricsBrowseFilter, &Settings::LyricsPath, path))
        return;
    cutToFolder(path);
    writeItemText(page, IDC_LYRICS_PATH, path.c_str());  // the edit's change stores it
    reportChanged(page);
}

void browseDownloads(SheetState& state, HWND page) {
    std::string path;
    if (!browse(state, page, UiText::LyricsBrowseTitle, UiText::LyricsBrowseFilter, &Settings::DownloadPath, path))
        return;
    cutToFolder(path);
    writeItemText(page, IDC_DOWNLOAD_PATH, path.c_str());
    reportChanged(page);
}

void browseSkin(SheetState& state, HWND page) {
    std::string path;
    if (!browse(state, page, UiText::SkinBrowseTitle, UiText::SkinBrowseFilter, &Settings::SkinPath, path)) return;
    state.liveSettings.SkinPath = path;
    state.reloadSkin();
    writeItemText(page, IDC_SKIN_PATH, path.c_str());
    reportChanged(page);
}

// Only a text that differs from the setting is a change: the page's own writes notify too, and an
// unset path shows as an empty edit. Focus notifications are not changes at all: one arrives while
// the sheet closes, after a cancel has restored the settings.
void pathEdited(SheetState& state, HWND page, int id, std::optional<std::string>& setting) {
    std::string text = readItemText(page, id);
    if (text == setting.value_or("")) return;
    setting = text;
    if (id == IDC_SKIN_PATH) state.reloadSkin();
}

// A LyricsServer the lookup refuses (it is set in the INI file only) is said where going online is
// chosen, in place of what going online sends: until it is corrected, nothing is sent.
void showServerProblem(HWND page, const std::optional<std::string>& server) {
    if (!server || server->empty()) return;
    ServerAddressProblem problem = serverAddressProblem(*server);
    if (problem == ServerAddressProblem::kNone) return;
    UiText text =
        problem == ServerAddressProblem::kQueryOrFragment ? UiText::LyricsServerHasQuery : UiText::LyricsServerNotHttp;
    SetDlgItemTextW(page, IDC_ONLINE_NOTE, uiTextW(text).c_str());
}

void initialise(SheetState& state, HWND page) {
    writeItemText(page, IDC_LYRICS_PATH, textOrNull(state.liveSettings.LyricsPath));
    writeItemText(page, IDC_SKIN_PATH, textOrNull(state.liveSettings.SkinPath));
    writeItemText(page, IDC_DOWNLOAD_PATH, textOrNull(state.liveSettings.DownloadPath));
    checkItem(page, IDC_ONLINE_LYRICS, state.liveSettings.OnlineLyrics == 1);
    showServerProblem(page, state.liveSettings.LyricsServer);
}

void command(SheetState& state, HWND page, int id, int notification) {
    switch (id) {
    case IDC_LYRICS_BROWSE: browseLyrics(state, page); break;
    case IDC_SKIN_BROWSE: browseSkin(state, page); break;
    case IDC_DOWNLOAD_BROWSE: browseDownloads(state, page); break;
    case IDC_DOWNLOAD_PATH:
        if (notification == EN_CHANGE) pathEdited(state, page, id, state.liveSettings.DownloadPath);
        break;
    case IDC_ONLINE_LYRICS:
        if (notification == BN_CLICKED) {
            state.liveSettings.OnlineLyrics = isItemChecked(page, id) ? 1 : 0;
            reportChanged(page);
        }
        break;
    case IDC_LYRICS_PATH:
        if (notification == EN_CHANGE) pathEdited(state, page, id, state.liveSettings.LyricsPath);
        break;
    case IDC_SKIN_PATH:
        if (notification == EN_CHANGE) pathEdited(state, page, id, state.liveSettings.SkinPath);
        break;
    default: break;
    }
}

void notify(SheetState& state, HWND, UINT code) {
    if (!restoreOnCancel(state, code)) return;
    state.reloadSkin();
}

}  // namespace

INT_PTR CALLBACK pathsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    static const PageHandlers handlers = {initialise, command, notify, nullptr};
    return handlePageMessage(handlers, page, message, wParam, lParam);
}
