#include "plugin/OnlineLookup.h"

#include "lyrics/Win32LyricsEnvironment.h"
#include "lyrics/Win32LyricsFileWriter.h"
#include "online/LrclibSource.h"
#include "online/WinHttpClient.h"

namespace {

constexpr DWORD kStopWaitMs = 200;

using OnlineWorker = WorkerThread<OnlineRequest, LookupResult>;

class OnlineWork : public OnlineWorker::Work {
public:
    void run(OnlineWorker::Side& side) override {
        const LrclibSource lrclib(client, writer, [&side] { return side.stopRequested(); });
        while (!side.stopRequested()) {
            std::unique_ptr<OnlineRequest> latest;
            while (std::unique_ptr<OnlineRequest> request = side.takeRequest()) latest = std::move(request);
            if (latest) {
                search(side, lrclib, *latest);
            } else {
                side.wait(INFINITE);
            }
        }
    }

private:
    void search(OnlineWorker::Side& side, const LyricsSource& source, const OnlineRequest& request) {
        auto result = std::make_unique<LookupResult>();
        result->song = request.song;
        result->document = std::make_unique<LyricsDocument>();
        environment.hostTitle = request.hostTitle;
        LookupSong song(request.path, request.durationSeconds);
        if (source.lookUp(*result->document, song, request.options, environment)) side.handBack(std::move(result));
    }

    Win32LyricsEnvironment environment;
    Win32LyricsFileWriter writer;
    WinHttpClient client;
};

}  // namespace

int OnlineLookup::start(HWND bar, UINT message) { return worker.start(std::make_unique<OnlineWork>(), bar, message); }

void OnlineLookup::stop() { worker.stop(kStopWaitMs); }

void OnlineLookup::request(std::unique_ptr<OnlineRequest> request) { worker.submit(std::move(request)); }

std::vector<std::unique_ptr<LookupResult>> OnlineLookup::collect() { return worker.collect(); }

std::string onlineMissesFile(const std::string& settingsFile) {
    size_t separator = settingsFile.rfind('\\');
    if (separator == std::string::npos) return {};
    return settingsFile.substr(0, separator + 1) + "sorvane-online-misses.txt";
}
