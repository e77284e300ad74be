#pragma once
// The dialog procedures of the sheet's pages, one file each.
#include <windows.h>

INT_PTR CALLBACK versionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
