// The lookup below LyricsPath on a song change, on a generated tree of 20000 files in 1000
// folders: a miss (no lyrics anywhere), a hit, and the walk that builds the index.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsLoader.h"
#include "lyrics/PosixLyricsEnvironment.h"

namespace {

// Ten folders of 99 folders each, 20 files in every folder: songs, lyrics and notes.
class GeneratedTree {
public:
    GeneratedTree() {
        char pattern[] = "/tmp/sorvane-bench-tree-XXXXXX";
        root = mkdtemp(pattern);
        const char* extensions[] = {"mp3", "kra", "lrc", "txt"};
        for (int top = 0; top < 10; ++top) {
            std::string topFolder = root + "/artist" + std::to_string(top);
            mkdir(topFolder.c_str(), 0755);
            for (int sub = -1; sub < 99; ++sub) {
                std::string folder = sub < 0 ? topFolder : topFolder + "/album" + std::to_string(sub);
                if (sub >= 0) mkdir(folder.c_str(), 0755);
                for (int n = 0; n < 20; ++n) {
                    std::string path = folder + "/song" + std::to_string(top) + "-" + std::to_string(sub) + "-" +
                                       std::to_string(n) + "." + extensions[n % 4];
                    if (FILE* f = std::fopen(path.c_str(), "wb")) {
                        std::fputs("[00:01]la la la\n", f);
                        std::fclose(f);
                    }
                }
            }
        }
    }
    ~GeneratedTree() { std::system(("rm -rf '" + root + "'").c_str()); }
    std::string root;
};

GeneratedTree& tree() {
    static GeneratedTree generated;
    return generated;
}

// A whole lookup as the frame tick runs it; the song path has no folder, so nothing lies beside it.
void lookupOnWarmIndex(benchmark::State& state, const char* song, int expected) {
    Settings settings;
    settings.LyricsPath = tree().root;
    PosixLyricsEnvironment environment;
    LyricsDocument document;
    lookupLyrics(document, song, settings, environment, "");  // builds the index
    for (auto _ : state) {
        document.clearHeaders();
        if (lookupLyrics(document, song, settings, environment, "") != expected) state.SkipWithError("wrong result");
    }
}

void BM_LookupMiss(benchmark::State& state) { lookupOnWarmIndex(state, "no-such-song.mp3", 0); }
BENCHMARK(BM_LookupMiss)->Unit(benchmark::kMillisecond);

void BM_LookupHit(benchmark::State& state) { lookupOnWarmIndex(state, "song7-42-5.mp3", 1); }
BENCHMARK(BM_LookupHit)->Unit(benchmark::kMillisecond);

// What every lookup would cost without the index, and what the first one after a change costs.
void BM_IndexBuildWalk(benchmark::State& state) {
    std::string name = "no-such-song.kra";
    for (auto _ : state) {
        PosixLyricsEnvironment environment;
        std::string found;
        benchmark::DoNotOptimize(environment.findInTree(tree().root, &name, 1, found));
    }
}
BENCHMARK(BM_IndexBuildWalk)->Unit(benchmark::kMillisecond);

}  // namespace
