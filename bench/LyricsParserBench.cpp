// Parsing and ordering: a full 50000-byte lyrics file, the same in Shift-JIS and in UTF-8 as the
// loader takes them (detected, converted to UTF-8, parsed), and the ordering of the most lines a
// document can be asked to order.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsLoader.h"
#include "lyrics/LyricsParser.h"
#include "lyrics/PosixLyricsEnvironment.h"

namespace {

class IgnoredWarnings : public LyricsWarnings {
public:
    void malformedTag(int32_t, int32_t) override {}
};

std::string tag(int32_t hundredths) {
    char text[16];
    std::snprintf(text, sizeof text, "[%02d:%02d:%02d]", hundredths / 6000 % 100, hundredths / 100 % 60,
                  hundredths % 100);
    return text;
}

// About 2000 lines filling the buffer: karaoke lines, repeated lines and headers, in shuffled
// time order so that the ordering has work to do. The texts are given for each encoding.
struct Texts {
    const char* chorus;
    const char* syllables[3];
    const char* line;
};
const Texts kAscii = {"Chorus", {"Ka", "ra", "oke"}, "Line of song"};
// "サビ", "カ", "ラ", "オケ", "うたの ことば" in code page 932: two bytes a character.
const Texts kShiftJis = {"\x83\x54\x83\x72",
                         {"\x83\x4a", "\x83\x89", "\x83\x49\x83\x50"},
                         "\x82\xa4\x82\xbd\x82\xcc \x82\xb1\x82\xc6\x82\xce"};
const Texts kUtf8 = {u8"サビ", {u8"カ", u8"ラ", u8"オケ"}, u8"うたの ことば"};

std::string fullLyricsFile(const Texts& texts = kAscii) {
    std::vector<int32_t> starts;
    for (int32_t i = 0; i < 2100; ++i) starts.push_back(i * 150);
    std::shuffle(starts.begin(), starts.end(), std::mt19937(1));
    std::string text = "@Title Benchmark\r\n@Artist Sorvane\r\n";
    for (size_t i = 0; text.size() < kMaxLyricsBytes - 40; ++i) {
        int32_t t = starts[i % starts.size()];
        if (i % 10 == 0) {
            text += "[" + tag(t).substr(1, 5) + "][" + tag(t + 90000).substr(1, 5) + "]" + texts.chorus + "\r\n";
        } else if (i % 10 == 5) {
            text += tag(t) + texts.syllables[0] + tag(t + 30) + texts.syllables[1] + tag(t + 60) + texts.syllables[2] +
                    "\r\n";
        } else {
            text += tag(t) + texts.line + "\r\n";
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

// A whole load of a full file but its reading: the encoding detected, the text converted to UTF-8
// (iconv for code page 932, the decoder for UTF-8), then parsed.
void loadFullFile(benchmark::State& state, const Texts& texts) {
    std::string file = fullLyricsFile(texts);
    PosixLyricsEnvironment environment;
    IgnoredWarnings warnings;
    for (auto _ : state) {
        TextEncoding encoding;
        std::string text = lyricsFileText(file, 0, environment, encoding);
        LyricsDocument document;
        parseLyrics(document, text.data(), text.size(), 1, warnings);
        benchmark::DoNotOptimize(document.lines.data());
        state.counters["textBytes"] = static_cast<double>(text.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}

void BM_LoadFullShiftJisFile(benchmark::State& state) { loadFullFile(state, kShiftJis); }
BENCHMARK(BM_LoadFullShiftJisFile)->Unit(benchmark::kMillisecond);

void BM_LoadFullUtf8File(benchmark::State& state) { loadFullFile(state, kUtf8); }
BENCHMARK(BM_LoadFullUtf8File)->Unit(benchmark::kMillisecond);

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
