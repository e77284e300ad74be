#include "plugin/GlobalHotkeys.h"

#include <string>

#include "lyrics/TimingShift.h"
#include "plugin/DesktopWindow.h"
#include "plugin/HostLink.h"
#include "plugin/LiveTiming.h"
#include "plugin/Placement.h"
#include "utils/WinUiText.h"

namespace {

struct HotkeyCommand {
    HotkeyAction action;
    const char* id;
    UiText name;
};

const HotkeyCommand kCommands[] = {
    {HotkeyAction::ShowHideLyrics, "Sorvane_ShowHideLyrics", UiText::HotkeyShowHideLyrics},
    {HotkeyAction::LockDesktop, "Sorvane_LockDesktop", UiText::HotkeyLockDesktop},
    {HotkeyAction::TimingEarlier, "Sorvane_TimingEarlier", UiText::HotkeyTimingEarlier},
    {HotkeyAction::TimingLater, "Sorvane_TimingLater", UiText::HotkeyTimingLater},
    {HotkeyAction::SaveTiming, "Sorvane_SaveTiming", UiText::HotkeySaveTiming},
};
constexpr int kCommandCount = static_cast<int>(sizeof kCommands / sizeof kCommands[0]);

// The host may keep pointers to the records and their names: they last as long as the library.
HostHotkey hotkeys[kCommandCount];
std::wstring names[kCommandCount];

}  // namespace

void registerGlobalHotkeys(HWND bar) {
    for (int i = 0; i < kCommandCount; ++i) {
        names[i] = uiTextW(kCommands[i].name);
        hotkeys[i] = HostHotkey{};
        hotkeys[i].name = names[i].c_str();
        hotkeys[i].flags = kHotkeyUnicodeName;
        hotkeys[i].message = kHotkeyMessage;
        hotkeys[i].wParam = static_cast<WPARAM>(kCommands[i].action);
        hotkeys[i].id = kCommands[i].id;
        hotkeys[i].window = bar;
    }
    registerHostHotkeys(hotkeys, kCommandCount);
}

void runHotkeyAction(WPARAM action) {
    switch (static_cast<HotkeyAction>(action)) {
    case HotkeyAction::ShowHideLyrics: toggleLyricsShown(); break;
    case HotkeyAction::LockDesktop: toggleDesktopLock(); break;
    case HotkeyAction::TimingEarlier: stepTiming(kShiftStepMs); break;
    case HotkeyAction::TimingLater: stepTiming(-kShiftStepMs); break;
    case HotkeyAction::SaveTiming: saveTiming(); break;
    default: break;
    }
}
