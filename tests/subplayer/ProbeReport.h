#pragma once
// What the probe plug-in saw, for the player's tests to check (exported as probeReport).
#include <cstdint>

struct ProbeReport {
    int initCalls, configCalls, quitCalls;
    int hostWindowGiven, moduleGiven;  // the host filled the descriptor in before init
    // The replies to init's synchronous queries.
    int32_t listPosition, positionMs, playStatus;
    char filePath[260], title[260], skinFolder[260];
    int skinFolderTerminated;
    // Asynchronous queries the ticks send, and their completions.
    long ticks, sent, completed, lastPositionReply;
    int sheetsRun, sheetResult;  // sheetResult: 1 OK, 0 Cancel, -1 none yet
    // The version and the wide queries (213, 214, 1201) at init; the skin folder starts as "x"s.
    long long version;
    wchar_t wideFilePath[260], wideTitle[260], wideSkinFolder[260];
};

typedef ProbeReport* (*ProbeReportFunction)();
