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
};

typedef ProbeReport* (*ProbeReportFunction)();
