#pragma once
// The host's settings folder: where the player keeps its own settings, which its user may write.
#include <string>

// Asks the host (from version 0x5058 the wide query 1335, else or when that gives nothing 335).
// The folder in UTF-8; empty when the host names none.
std::string askHostSettingsFolder();
