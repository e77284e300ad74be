#pragma once
// The plug-in's side of the host's window-message interface: the queries and their replies.
#include <windows.h>

#include <optional>
#include <string>

#include "plugin/PlayerState.h"

// Asks the host's version (which decides the queries for the file, title and skin folder), then
// sends the start-up queries (125, the file, 105, 104).
void pollHostAtInit();
// Sends this tick's queries unless 10 replies are still pending.
void pollHostOnTick();
// A text in the system's ANSI code page, as old hosts answer, in UTF-16.
std::u16string decodeSystemAnsi(std::string_view ansi);
// The title the host gives playlist entry listPosition, in UTF-8: asked with kQueryTitleW (a
// UTF-16 reply) from a wide host and with kQueryTitle (a reply in the ANSI code page) from an
// older one; nothing when the host has no such entry. Only the host's own thread may ask: the host
// answers on it. A lookup gets the title from here, asked before it starts.
std::optional<std::string> askHostTitle(HWND hostWindow, int32_t listPosition, int wideHost);
