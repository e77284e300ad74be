#pragma once
// The dialog procedures of the sheet's pages, one file each. Every page fills its controls from
// liveSettings when first shown, writes each edit straight back, and on a cancel copies
// settingsSnapshot back and refreshes what depends on the restored values.
#include <windows.h>

INT_PTR CALLBACK positionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK colourPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK pathsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK displayPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK displayPage2Proc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK fadePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK versionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
