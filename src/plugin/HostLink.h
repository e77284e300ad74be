#pragma once
// The plug-in's side of the host's window-message interface: the queries and their replies.
#include <windows.h>

#include "plugin/PlayerState.h"

// Sends the start-up queries (125, 211, 105, 104).
void pollHostAtInit();
// Sends this tick's queries unless 10 replies are still pending.
void pollHostOnTick();
