#pragma once
// Win32 helpers the property pages share: reading and writing their controls, telling the sheet
// about a change, and the cancel half of the editing cycle.
#include <windows.h>

#include <cstdint>

#include "config/ProfileStore.h"

// The control's text read as a number (config/PageRules.h: what is not a number reads as 0).
int32_t readItemNumber(HWND page, int id, bool signedRead);
void writeItemNumber(HWND page, int id, int32_t value);
// The control's text, cut to fit kProfileStringSize bytes with its terminator.
void readItemText(HWND page, int id, char (&text)[kProfileStringSize]);
// Writes text into the control; null shows as empty.
void writeItemText(HWND page, int id, const char* text);

int isItemChecked(HWND page, int id);  // 1 when checked, else 0
void checkItem(HWND page, int id, bool checked);

// PSM_CHANGED to the sheet. Without an Apply button it shows nothing; it marks the page as edited.
void reportChanged(HWND page);

// The notification code of a WM_NOTIFY.
UINT notifyCode(LPARAM lParam);
// On PSN_QUERYCANCEL (the page showing) and PSN_RESET (every created page): copies
// settingsSnapshot back into liveSettings under pluginLock. Returns whether it did.
bool restoreOnCancel(UINT code);
