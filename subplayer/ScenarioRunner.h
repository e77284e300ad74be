#pragma once
// Carries a parsed scenario out on a SubstitutePlayer whose plug-in is loaded.
//
// Actions run from the player's timer job, so they go on inside the modal loops the plug-in
// runs: a "config" that opens the property sheet is still on the stack while the following
// "sheet ok" closes it. Inside an action that has not returned, the following actions run only
// while a sheet or menu is open: a message box the action opened is closed by the player, and
// what follows waits for the action's return. Waiting actions (wait, sheet, menu, expect, record,
// sweep, capture sheet) hold the following ones back until they are done or time out.
#include <cstdint>
#include <string>
#include <vector>

#include "subplayer/Image.h"
#include "subplayer/Scenario.h"
#include "subplayer/SubstitutePlayer.h"

struct RecordedFrame {
    Image image;
    int64_t stampMs;  // the held position for a sweep, else ms since the run started
};

class ScenarioRunner {
public:
    // Relative file names of captures are taken under outFolder (ANSI).
    ScenarioRunner(SubstitutePlayer& player, const Scenario& scenario, const std::string& outFolder);

    // Runs every action; returns 1 when all succeeded. After a failure, or at the end, the runner
    // cancels a sheet or menu still open so that the plug-in's modal loops return and the run
    // ends. The whole run gives up after timeoutMs.
    int run(int timeoutMs = 120000);

    const std::vector<std::string>& errors() const { return failures; }
    const std::vector<RecordedFrame>& frames() const { return recorded; }

private:
    enum Progress { Done, Waiting, Failed };

    void pump();
    Progress begin(const ScenarioAction& a);
    Progress progress();
    Progress failAction(const ScenarioAction& a, const std::string& message);
    Progress actOnBar(const ScenarioAction& a);
    Progress capture(const ScenarioAction& a);
    Progress showSheetPage(const ScenarioAction& a, HWND sheet);
    Progress captureSheet(const ScenarioAction& a, HWND sheet);
    Progress savePng(const ScenarioAction& a, const Image& image);
    Progress writePictures(const ScenarioAction& a);
    int captureFrame(int64_t stampMs);
    void holdPosition(int64_t positionMs);
    void closeWhatIsLeftOpen();
    std::string outputPath(const std::string& utf8Name) const;
    int finished() const;

    SubstitutePlayer& player;
    const Scenario& scenario;
    std::string outFolder;
    uint64_t startMs = 0;
    uint64_t giveUpMs = 0;
    size_t next = 0;
    int depth = 0;  // actions begun and not yet returned
    const ScenarioAction* active = nullptr;
    uint64_t deadline = 0;  // end of a wait, or when a waiting action times out
    long tickTarget = 0;
    int64_t sweepPosition = 0;
    int64_t recordLeft = 0;
    size_t boxesMatched = 0;
    HWND pressed = nullptr;  // the sheet or menu a waiting action has closed
    HWND closingSheet = nullptr;
    int failed = 0;
    std::vector<std::string> failures;
    std::vector<RecordedFrame> recorded;
};

// Closing lines for the log: ticks, queries received by number, keys the host received.
void appendRunSummary(SubstitutePlayer& player);
