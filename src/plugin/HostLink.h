#pragma once
// The plug-in's side of the host's window-message interface: the queries and their replies.
#include <windows.h>

#include "plugin/PlayerState.h"

// Asks the host's version (which decides the queries for the file, title and skin folder), then
// sends the start-up queries (125, the file, 105, 104).
void pollHostAtInit();
// Sends this tick's queries unless 10 replies are still pending.
void pollHostOnTick();
// A text in the system's ANSI code page, as old hosts answer, in UTF-16.
std::u16string decodeSystemAnsi(std::string_view ansi);
