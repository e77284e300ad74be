#pragma once
// The plug-in's one door to the host: every message it sends the host's window goes out here, each
// query under its number in HostQuery (PlayerState.h). Only the host's thread may use it: a host on
// that thread answers inside the send, and the replies of the polls arrive through that thread's
// message handling. A worker that needs an answer gets it in its request.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

// The host's version, which decides the queries for the file, the title, the skin folder and the
// settings folder; 0 when a host on another thread does not answer within 2 seconds.
intptr_t askHostVersion();

// Asks the host's version, then sends the start-up queries (125, the file, 105, 104).
void pollHostAtInit();
// Sends this tick's queries (the playlist entry and its file, the position; the play status and the
// skin folder now and then) unless 10 replies are still pending. The replies go into the player's
// state as they arrive.
void pollHostOnTick();

// The title the host gives playlist entry listPosition, in UTF-8: asked with 213 (a UTF-16 reply)
// from a wide host and with 212 (a reply in the ANSI code page) from an older one; nothing when the
// host has no such entry.
std::optional<std::string> askPlaylistTitle(int32_t listPosition);
// The current song's length in seconds (105 with wParam 1), or 0: a host on another thread that does
// not answer at once counts as not knowing.
int32_t askSongLength();
// The host's settings folder, where the player keeps its own settings and which its user may write:
// from version 0x5058 the wide query 1335, else or when that gives nothing 335. UTF-8; empty when
// the host names none.
std::string askHostSettingsFolder();

// A key typed on the bar that is not the bar's own, passed on to the host as it came.
void passKeyToHost(UINT message, WPARAM virtualKey, LPARAM keyData);

// A command of the player's global hotkeys service, laid out as the player's public header has it:
// the user binds a key to it in the player's Global Hotkeys preferences, and the key then sends
// `message` with wParam and lParam to `window`. The host may keep the pointers: the texts and the
// record itself must last as long as the library.
struct HostHotkey {
    const void* name;  // UTF-16 with kHotkeyUnicodeName among the flags, else ANSI
    DWORD flags;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const char* id;  // unique, ASCII; letter case does not count
    HWND window;
    int extended[6];  // zero
};
constexpr DWORD kHotkeyUnicodeName = 0x100;
// Hands the commands to the host's hotkeys service, the message the host registers as
// "GenHotkeysAdd". A host without the service is handed nothing. Returns how many were handed.
int registerHostHotkeys(HostHotkey* hotkeys, int count);
