#include "plugin/BarPlacement.h"

#include "resources/ResourceIds.h"

void showBar(HWND bar) { SetWindowPos(bar, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW); }

void hideBar(HWND bar) {
    SetWindowPos(bar, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
}

void startWindowPick(BarPlacement& place, HWND bar, HINSTANCE module) {
    place.pickMode = 1;
    place.pickCursor = LoadCursorA(module, MAKEINTRESOURCEA(IDC_PICK_CURSOR));
    SetCursor(place.pickCursor);
    SetCapture(bar);
}

void applyPickCursor(const BarPlacement& place) { SetCursor(place.pickCursor); }
