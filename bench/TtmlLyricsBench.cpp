// Reading a TTML file of 1 MB: Apple-style word-timed lines of two singers, each with background
// vocals, an inline translation and romanisation and a head translation keyed by line. The goal is
// under 20 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "lyrics/LyricsDocument.h"
#include "lyrics/TtmlLyrics.h"

namespace {

std::string clock(int32_t ms) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d.%03d", ms / 60000, ms / 1000 % 60, ms % 1000);
    return text;
}

std::string megabyteOfTtml() {
    std::string head =
        "<head><metadata><ttm:agent type=\"person\" xml:id=\"v1\"/><ttm:agent type=\"person\" xml:id=\"v2\"/>"
        "<iTunesMetadata xmlns=\"http://music.apple.com/lyric-ttml-internal\"><translations>"
        "<translation type=\"subtitle\" xml:lang=\"en\">";
    std::string body;
    for (int32_t n = 0; body.size() + head.size() < 1000000; ++n) {
        std::string key = "L" + std::to_string(n + 1);
        int32_t t = n * 4000;
        head += "<text for=\"" + key + "\">The line number " + std::to_string(n + 1) + " in English</text>";
        body += "<p begin=\"" + clock(t) + "\" end=\"" + clock(t + 3800) + "\" itunes:key=\"" + key +
                "\" ttm:agent=\"v" + std::to_string(n % 2 + 1) + "\">";
        for (int32_t w = 0; w < 6; ++w)
            body += "<span begin=\"" + clock(t + w * 400) + "\" end=\"" + clock(t + w * 400 + 350) + "\">" +
                    u8"ことば" + "</span> ";
        body += "<span ttm:role=\"x-bg\" begin=\"" + clock(t + 2600) + "\" end=\"" + clock(t + 3800) + "\">" +
                "<span begin=\"" + clock(t + 2600) + "\" end=\"" + clock(t + 3800) + "\">(" + u8"こだま" +
                ")</span></span>" + "<span ttm:role=\"x-translation\" xml:lang=\"fr\">la ligne</span>" +
                "<span ttm:role=\"x-roman\">kotoba kotoba kotoba</span></p>";
    }
    head += "</translation></translations></iTunesMetadata></metadata></head>";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><tt xmlns=\"http://www.w3.org/ns/ttml\" "
           "xmlns:ttm=\"http://www.w3.org/ns/ttml#metadata\" itunes:timing=\"Word\">" +
           head + "<body><div>" + body + "</div></body></tt>";
}

void BM_ReadTtmlMegabyte(benchmark::State& state) {
    const std::string file = megabyteOfTtml();
    size_t lines = 0;
    for (auto _ : state) {
        LyricsDocument document;
        std::vector<TtmlWarning> warnings;
        int read = parseTtml(document, file, 1, warnings);
        if (!read || !warnings.empty()) state.SkipWithError("the file did not read cleanly");
        lines = document.lines.size();
        benchmark::DoNotOptimize(document.lines.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_ReadTtmlMegabyte)->Unit(benchmark::kMillisecond);

}  // namespace
