#include "plugin/LyricsLookup.h"

#include "config/Settings.h"
#include "lyrics/LookupOrder.h"
#include "lyrics/LyricsFolderSource.h"
#include "lyrics/Win32LyricsEnvironment.h"

namespace {

// A lookup gives up between two files or folders; longer than this, the worker is left to end on
// its own.
constexpr DWORD kStopWaitMs = 1000;

using LookupWorker = WorkerThread<LookupRequest, LookupResult>;

class LookupWork : public LookupWorker::Work {
public:
    LookupWork() { environment.walkInBackground = 1; }

    void run(LookupWorker::Side& side) override {
        auto pause = [&side] { return side.requestWaiting() || side.stopRequested(); };
        while (!side.stopRequested()) {
            if (std::unique_ptr<LookupRequest> request = side.takeRequest()) {
                lookUp(side, std::move(request));
            } else if (environment.walkUnderWay()) {
                if (environment.continueWalk(pause)) lookAgainInFolder(side);
            } else {
                side.wait(INFINITE);
            }
        }
    }

private:
    std::unique_ptr<LookupResult> resultFor(const LookupRequest& request) {
        auto result = std::make_unique<LookupResult>();
        result->song = request.song;
        result->document = std::make_unique<LyricsDocument>();
        environment.hostTitle = request.hostTitle;
        environment.malformedLoads = 0;
        environment.treeNotReady = 0;
        environment.treeFound.clear();
        return result;
    }

    void lookUp(LookupWorker::Side& side, std::unique_ptr<LookupRequest> request) {
        std::unique_ptr<LookupResult> result = resultFor(*request);
        LookupSong song(request->path);
        lookUpLyrics(lookupOrder(), *result->document, song, request->options, environment);
        result->malformedLoads = environment.malformedLoads;
        // Only the latest song is looked at again: an older one is no longer shown.
        waiting.reset();
        if (environment.treeNotReady) {
            result->folderPending = 1;
            waiting = std::move(request);
            waitingFound = environment.treeFound;
        }
        side.handBack(std::move(result));
    }

    // The walk the last lookup could not wait for is done: lyrics the folder holds for that song
    // come after all, unless the lookup already had the same file.
    void lookAgainInFolder(LookupWorker::Side& side) {
        if (!waiting) return;
        std::unique_ptr<LookupRequest> request = std::move(waiting);
        std::unique_ptr<LookupResult> result = resultFor(*request);
        LookupSong song(request->path);
        int loaded = LyricsFolderSource().lookUp(*result->document, song, request->options, environment);
        result->malformedLoads = environment.malformedLoads;
        // Changed again meanwhile: the folder is walked once more and looked in then.
        if (environment.treeNotReady) {
            waiting = std::move(request);
            return;
        }
        if (!loaded) {
            result->folderSettled = 1;
            side.handBack(std::move(result));
        } else if (environment.treeFound != waitingFound) {
            side.handBack(std::move(result));
        }
    }

    Win32LyricsEnvironment environment;
    std::unique_ptr<LookupRequest> waiting;  // the last lookup, made while the index was not ready
    std::string waitingFound;                // the file it found in the index it had
};

}  // namespace

int LyricsLookup::start(HWND bar, UINT message) { return worker.start(std::make_unique<LookupWork>(), bar, message); }

void LyricsLookup::stop() { worker.stop(kStopWaitMs); }

void LyricsLookup::request(const SongIdentity& song, const std::string& path, const Settings& settings,
                           const std::string& downloadFolder, std::optional<std::string> hostTitle) {
    auto request = std::make_unique<LookupRequest>();
    request->song = song;
    request->path = path;
    request->options.lyricsFolder = settings.LyricsPath.value_or("");
    request->options.downloadFolder = downloadFolder;
    request->options.timeType = settings.TimeType;
    request->hostTitle = std::move(hostTitle);
    worker.submit(std::move(request));
}

std::vector<std::unique_ptr<LookupResult>> LyricsLookup::collect() { return worker.collect(); }
