#pragma once
// The modal property sheet "設定" and the editing cycle its pages share: every edit goes straight
// into liveSettings; Cancel copies settingsSnapshot back. The sheet speaks the active language
// (utils/WinUiText.h) from its caption to its pages' templates.
#include <windows.h>

class SheetState;

// Runs the sheet on state, owned by the bar window or, when there is none, by fallbackOwner.
void runPropertySheet(SheetState& state, HWND fallbackOwner, HINSTANCE instance);
