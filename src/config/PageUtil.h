#pragma once
// Win32 helpers the property pages share: reading and writing their controls, telling the sheet
// about a change, and the cancel half of the editing cycle.
#include <windows.h>

#include <cstdint>
#include <string>

class SheetState;

// The control's text read as a number (config/PageRules.h: what is not a number reads as 0).
int32_t readItemNumber(HWND page, int id, bool signedRead);
void writeItemNumber(HWND page, int id, int32_t value);
// The control's whole text, in UTF-8.
std::string readItemText(HWND page, int id);
// Writes text (UTF-8) into the control; null shows as empty.
void writeItemText(HWND page, int id, const char* text);

int isItemChecked(HWND page, int id);  // 1 when checked, else 0
void checkItem(HWND page, int id, bool checked);

// PSM_CHANGED to the sheet. Without an Apply button it shows nothing; it marks the page as edited.
void reportChanged(HWND page);

// On PSN_QUERYCANCEL (the page showing) and PSN_RESET (every created page): copies
// settingsSnapshot back into liveSettings. Returns whether it did.
bool restoreOnCancel(SheetState& state, UINT code);

// What a page does with the messages it handles, each given the state the page was made for. A
// null handler leaves its message alone; without a notify handler the page restores the snapshot
// on cancel and does no more. Nothing needs doing on OK: every edit is already in liveSettings.
struct PageHandlers {
    void (*initialise)(SheetState& state, HWND page);                         // WM_INITDIALOG
    void (*command)(SheetState& state, HWND page, int id, int notification);  // WM_COMMAND
    void (*notify)(SheetState& state, HWND page, UINT code);                  // WM_NOTIFY from the sheet
    void (*scroll)(SheetState& state, HWND page, HWND control);               // WM_HSCROLL
};
// The dialog procedure of every page: TRUE for WM_INITDIALOG (focus to the first control), else 0.
// The state comes with WM_INITDIALOG, as the page parameter the sheet made the page with; the
// page keeps it, and messages that arrive before it are left alone.
INT_PTR handlePageMessage(const PageHandlers& handlers, HWND page, UINT message, WPARAM wParam, LPARAM lParam);
