// Parsing and ordering: a full 50000-byte lyrics file, and the ordering of the most lines a
// document can be asked to order.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsParser.h"

namespace {

class IgnoredWarnings : public LyricsWarnings {
public:
    void malformedTag(int32_t, int32_t) override {}
};

std::string tag(int32_t hundredths) {
    char text[16];
    std::snprintf(text, sizeof text, "[%02d:%02d:%02d]", hundredths / 6000 % 100, hundredths / 100 % 60, hundredths % 100);
    return text;
}

// About 2000 lines filling the buffer: karaoke lines, repeated lines and headers, in shuffled
// time order so that the ordering has work to do.
std::string fullLyricsFile() {
    std::vector<int32_t> starts;
    for (int32_t i = 0; i < 2100; ++i) starts.push_back(i * 150);
    std::shuffle(starts.begin(), starts.end(), std::mt19937(1));
    std::string text = "@Title Benchmark\r\n@Artist Sorvane\r\n";
    for (size_t i = 0; text.size() < kMaxLyricsBytes - 40; ++i) {
        int32_t t = starts[i % starts.size()];
        if (i % 10 == 0) {
            text += "[" + tag(t).substr(1, 5) + "][" + tag(t + 90000).substr(1, 5) + "]Chorus\r\n";
        } else if (i % 10 == 5) {
            text += tag(t) + "Ka" + tag(t + 30) + "ra" + tag(t + 60) + "oke\r\n";
        } else {
            text += tag(t) + "Line of song\r\n";
        }
    }
    return text;
}

void BM_ParseFullLyricsFile(benchmark::State& state) {
    std::string text = fullLyricsFile();
    state.counters["sourceLines"] = static_cast<double>(std::count(text.begin(), text.end(), '\n'));
    IgnoredWarnings warnings;
    for (auto _ : state) {
        LyricsDocument document;
        parseLyrics(document, text.data(), text.size(), 1, warnings);
        benchmark::DoNotOptimize(document.lines.data());
        state.counters["displayLines"] = document.lineCount();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseFullLyricsFile)->Unit(benchmark::kMillisecond);

// 9999 lines in reverse time order: the most lines completion visits, the worst order to sort.
void BM_CompleteAndOrder9999Lines(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        LyricsDocument document;
        document.lines.resize(9999);
        for (int32_t i = 0; i < 9999; ++i) {
            LyricsLine& line = document.lines[i];
            line.text = "line";
            line.length = 4;
            line.marks = {{0, (9999 - i) * 100}};
        }
        state.ResumeTiming();
        completeLines(document, 1);
        orderLines(document, 1);
        benchmark::DoNotOptimize(document.lines.data());
    }
}
BENCHMARK(BM_CompleteAndOrder9999Lines)->Unit(benchmark::kMillisecond);

}  // namespace
