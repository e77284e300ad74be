#include "plugin/OnlineLookup.h"

#include <ctime>

#include "lyrics/DownloadFolder.h"
#include "lyrics/LyricsLoader.h"
#include "lyrics/LyricsParser.h"
#include "lyrics/SongNames.h"
#include "lyrics/Win32LyricsEnvironment.h"
#include "lyrics/Win32LyricsFileWriter.h"
#include "online/OnlineMisses.h"
#include "online/SongQuery.h"
#include "online/WinHttpClient.h"

namespace {

constexpr DWORD kStopWaitMs = 200;
// The misses file is small by construction; anything larger is not ours and is read no further.
constexpr size_t kMaxMissesFileBytes = kMaxMisses * (kMaxMissKeyBytes + 24);

// Parse warnings of a downloaded text are not the user's to fix: they go unreported.
class SilentWarnings : public LyricsWarnings {
public:
    void malformedTag(int32_t, int32_t) override {}
};

class OnlineWork : public WorkerThread::Work {
public:
    void run(WorkerSide& side) override {
        while (!side.stopRequested()) {
            std::unique_ptr<Parcel> latest;
            while (std::unique_ptr<Parcel> request = side.takeRequest()) latest = std::move(request);
            if (latest) {
                search(side, static_cast<OnlineRequest&>(*latest));
            } else {
                side.wait(INFINITE);
            }
        }
    }

private:
    void readMisses(const OnlineRequest& request, OnlineMisses& misses, int64_t now) {
        std::string bytes;
        SaveFailure failure;
        if (!request.missesFile.empty() && writer.readFile(request.missesFile.c_str(), kMaxMissesFileBytes, bytes, failure))
            misses.read(bytes, now);
    }

    void rememberMiss(const OnlineRequest& request, const std::string& key, int64_t now) {
        if (request.missesFile.empty()) return;
        OnlineMisses misses;
        readMisses(request, misses, now);
        misses.add(key, now);
        SaveFailure failure;
        if (!writer.replaceFile(request.missesFile.c_str(), misses.text(), failure) && failure == SaveFailure::kGone)
            writer.createFile(request.missesFile.c_str(), misses.text(), failure);
    }

    void search(WorkerSide& side, const OnlineRequest& request) {
        SongNames song = readSongNames(request.path.c_str(), request.hostTitle ? request.hostTitle->c_str() : nullptr,
                                       environment);
        if (request.durationSeconds > 0) song.lengthSeconds = request.durationSeconds;
        OnlineQuery query = songQuery(song);
        std::string copy = downloadCopyPath(request.downloadFolder, song);
        if (copy.empty() || !queryIsComplete(query)) return;
        int64_t now = static_cast<int64_t>(std::time(nullptr));
        std::string key = missKey(query);
        OnlineMisses misses;
        readMisses(request, misses, now);
        if (misses.contains(key)) return;

        SearchOutcome outcome = searchLrclib(request.server, query, client);
        if (side.stopRequested()) return;
        if (isRememberedMiss(outcome.answer.kind)) rememberMiss(request, key, now);
        if (outcome.answer.kind != AnswerKind::kLyrics) return;

        auto result = std::make_unique<LookupResult>();
        result->song = request.song;
        result->document = std::make_unique<LyricsDocument>();
        SaveFailure failure;
        // A copy of that name that appeared meanwhile is shown when it is the song's, and never
        // overwritten.
        if (writer.createFile(copy.c_str(), outcome.file, failure) || failure == SaveFailure::kExists) {
            environment.hostTitle = request.hostTitle;
            loadDownloadCopy(*result->document, copy, song, request.timeType, environment);
        }
        if (!result->document->isLoaded()) {
            // Not saved (the folder refuses it, or another song's copy holds the name): shown all
            // the same, from memory, as it would read from the file.
            LyricsDocument& document = *result->document;
            document.reset();
            SilentWarnings warnings;
            document.loaded = parseLyrics(document, outcome.file.data(), outcome.file.size(), request.timeType, warnings);
        }
        if (result->document->isLoaded()) side.handBack(std::move(result));
    }

    Win32LyricsEnvironment environment;
    Win32LyricsFileWriter writer;
    WinHttpClient client;
};

}  // namespace

int OnlineLookup::start(HWND bar, UINT message) { return worker.start(std::make_unique<OnlineWork>(), bar, message); }

void OnlineLookup::stop() { worker.stop(kStopWaitMs); }

void OnlineLookup::request(std::unique_ptr<OnlineRequest> request) { worker.submit(std::move(request)); }

std::vector<std::unique_ptr<LookupResult>> OnlineLookup::collect() {
    std::vector<std::unique_ptr<LookupResult>> results;
    for (std::unique_ptr<Parcel>& parcel : worker.collect())
        results.emplace_back(static_cast<LookupResult*>(parcel.release()));
    return results;
}

std::string onlineMissesFile(const std::string& settingsFile) {
    size_t separator = settingsFile.rfind('\\');
    if (separator == std::string::npos) return {};
    return settingsFile.substr(0, separator + 1) + "sorvane-online-misses.txt";
}
