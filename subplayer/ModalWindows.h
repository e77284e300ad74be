#pragma once
// The modal windows the plug-in opens on its thread: message boxes, the property sheet and the
// bar's popup menu. The player finds them among its process's windows and closes them, so that
// a test can assert on them and nothing waits for a user.
#include <windows.h>

#include <string>
#include <vector>

struct MessageBoxRecord {
    std::string caption;  // ANSI, as the plug-in wrote them
    std::string text;
};

extern const char kSettingsCaption[];  // the property sheet's caption "設定" in code page 932

int isMessageBox(HWND window);
// A dialog with a tab control, or a dialog captioned "設定".
int isPropertySheet(HWND window);

std::vector<HWND> openMessageBoxes();
HWND findPropertySheet();
HWND findPopupMenu();

// Reads the box and presses a button (the box then closes from its own loop): answer (IDYES,
// IDNO, ...), or the box's default button when answer is 0.
MessageBoxRecord closeMessageBox(HWND box, int answer);
// Presses OK or Cancel (a sheet's own buttons when it is a property sheet).
void closePropertySheet(HWND sheet, int ok);

std::vector<std::string> popupMenuItems(HWND menu);
// item counts from 1; 0 cancels the menu.
void choosePopupMenuItem(HWND menu, int item);
