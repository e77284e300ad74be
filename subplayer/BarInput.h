#pragma once
// Input to the plug-in's bar window as the user would give it, sent straight to the window so
// that each action has been handled when the call returns (a modal loop it opens, such as the
// right-click menu, runs inside the call). Coordinates are the bar's client coordinates.
#include <windows.h>

extern const char kPluginBarClass[];  // "SorvaneVis"

HWND findBarWindow();

void sendKey(HWND bar, int virtualKey);  // key down, then key up
// The same with Shift held: the thread's keyboard state says so while the key is handled.
void sendShiftedKey(HWND bar, int virtualKey);
void sendChar(HWND bar, int character);
// A character as an input method or a Unicode program delivers it: posted as UTF-16. The player's
// message loop, an ANSI one as the real player's is, takes it as the bytes of its code page (a
// double-byte character as two messages), and the bar gets it as its own kind of window takes text.
void postCharacter(HWND bar, wchar_t character);
void sendClick(HWND bar, int x, int y);
void sendDoubleClick(HWND bar, int x, int y);
void sendRightClick(HWND bar, int x, int y);
// Press at (x0, y0), steps moves along the line to (x1, y1), release. The pointer moves in
// screen terms: each move is converted to client coordinates of the bar where it then stands,
// as if the mouse itself moved while the bar follows it.
void sendDrag(HWND bar, int x0, int y0, int x1, int y1, int steps);
