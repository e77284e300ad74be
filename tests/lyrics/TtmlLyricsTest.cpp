// TTML lyrics: word times, translations and romanisations, duet voices and background vocals, and
// files that are broken or hostile.
#include "lyrics/TtmlLyrics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lyrics/DocumentDump.h"
#include "lyrics/FakeLyricsEnvironment.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/SyncedLyrics.h"
#include "utils/Utf.h"

namespace {

struct Parsed {
    explicit Parsed(const std::string& bytes) { result = parseTtml(document, bytes, 1, warnings); }
    // The problems, each as "kind@line:offset".
    std::vector<std::string> problems() const {
        std::vector<std::string> seen;
        for (const TtmlWarning& w : warnings)
            seen.push_back(std::to_string(static_cast<int>(w.problem)) + "@" + std::to_string(w.lineNumber) + ":" +
                           std::to_string(w.offset));
        return seen;
    }
    LyricsDocument document;
    std::vector<TtmlWarning> warnings;
    int result = 0;
};

std::string problem(TtmlProblem kind, int line, int offset) {
    return std::to_string(static_cast<int>(kind)) + "@" + std::to_string(line) + ":" + std::to_string(offset);
}

std::string ttml(const std::string& body, const std::string& head = "") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<tt xmlns=\"http://www.w3.org/ns/ttml\" xmlns:ttm=\"http://www.w3.org/ns/ttml#metadata\">\n"
           "<head><metadata>" +
           head + "</metadata></head>\n<body>\n" + body + "\n</body>\n</tt>\n";
}

using Lines = std::vector<std::string>;

// An Apple-style duet: declared singers, head translations and a romanisation keyed by line, a
// background part, inline translation and romanisation spans, and a group line.
const std::string kDuet = ttml(
    "<div begin=\"10s\" end=\"30s\">\n"
    "<p begin=\"00:10.000\" end=\"00:13.000\" itunes:key=\"L1\" ttm:agent=\"v1\">"
    "<span begin=\"00:10.000\" end=\"00:10.500\">Where</span> <span begin=\"00:10.500\" end=\"00:11.200\">to</span>"
    "<span begin=\"00:11.200\" end=\"00:11.400\">day</span>\n"
    "   <span begin=\"00:12.000\" end=\"00:12.800\">now</span></p>\n"
    "<p begin=\"13.5s\" end=\"17s\" itunes:key=\"L2\" ttm:agent=\"v2\"><span begin=\"13.5s\" end=\"14s\">To</span> "
    "<span begin=\"14.2s\" end=\"15.5s\">sea</span><span ttm:role=\"x-bg\" begin=\"15.5s\" end=\"17s\">"
    "<span begin=\"15.5s\" end=\"16.2s\">al</span><span begin=\"16.2s\" end=\"17s\">ways</span>"
    "<span ttm:role=\"x-translation\">toujours</span></span>"
    "<span ttm:role=\"x-translation\" xml:lang=\"fr\">Vers la mer</span>"
    "<span ttm:role=\"x-roman\">to shi</span></p>\n"
    "</div>\n"
    "<p begin=\"0:18\" end=\"0:21\" ttm:agent=\"v1000\">All &amp; <span begin=\"19s\" end=\"21s\">one</span></p>",
    "<ttm:agent type=\"person\" xml:id=\"v1\"><ttm:name>Aoi</ttm:name></ttm:agent>"
    "<ttm:agent type=\"person\" xml:id=\"v2\"/><ttm:agent type=\"group\" xml:id=\"v1000\"/>"
    "<ttm:title>Dawn</ttm:title>"
    "<iTunesMetadata xmlns=\"http://music.apple.com/lyric-ttml-internal\"><translations>"
    "<translation xml:lang=\"ja\"><text for=\"L1\">どこへ</text>"
    "<text for=\"L2\">海へ <span ttm:role=\"x-bg\">ずっと</span></text></translation>"
    "<translation xml:lang=\"fr\"><text for=\"L2\">Vers la mer</text></translation></translations>"
    "<transliterations><transliteration><text for=\"L1\"><span begin=\"10s\" end=\"11s\">doko</span> e</text>"
    "</transliteration></transliterations></iTunesMetadata>");

}  // namespace

TEST(TtmlTime, ClockValuesAndOffsetsInHundredthsRoundedDown) {
    const std::vector<std::pair<const char*, int32_t>> times = {{"1:02.345", 6234},      {"01:02:03.450", 372345},
                                                                {"62.345s", 6234},       {"62.5", 6250},
                                                                {" 00:01.5 ", 150},      {"1.5m", 9000},
                                                                {"0.1h", 36000},         {"250ms", 25},
                                                                {"00:75.000", 7500},     {"48:00:00", kMaxSyncedTime},
                                                                {"3.999999999999s", 399}};
    for (const auto& [text, expected] : times) {
        int32_t time = -1;
        EXPECT_EQ(ttmlTime(text, time), 1) << text;
        EXPECT_EQ(time, expected) << text;
    }
    for (const char* text : {"", "s", "1:2:3:4", "1::2", ":05", "1.s", ".5s", "-1s", "1e3s", "25f", "10t", "abc",
                             "1234567890s", "66666666666666666666666s", "5 s"}) {
        int32_t time = -1;
        EXPECT_EQ(ttmlTime(text, time), 0) << text;
        EXPECT_EQ(time, -1) << text;
    }
}

TEST(TtmlLyrics, AWordTimedDuetWithTranslationsAndBackgroundVocals) {
    // The same file in each encoding a TTML file comes in reads the same.
    std::u16string utf16 = utf8ToUtf16(kDuet);
    for (const std::string& bytes : {kDuet, "\xEF\xBB\xBF" + kDuet, utf16File(utf16, 0), utf16File(utf16, 1)}) {
        Parsed p(bytes);
        ASSERT_EQ(p.result, 1);
        EXPECT_TRUE(p.warnings.empty()) << p.problems()[0];
        // The wipe follows the words: it reaches each at its begin and its last letter at its end,
        // crosses a space between words while the singer pauses, and takes the background vocals
        // after the words, in the brackets they are shown in.
        EXPECT_EQ(linesWithMarks(p.document),
                  (Lines{"Where today now (karaoke) 0@1000 5@1050 6@1050 8@1120 11@1140 12@1200 15@1280 15@1300",
                         "To sea (always) (karaoke) 0@1350 2@1400 3@1420 6@1550 7@1550 10@1620 14@1700 15@1700",
                         "All & one (karaoke) 0@1800 6@1900 9@2100"}));
        const std::vector<LyricsLine>& lines = p.document.lines;
        // The head's texts come first, then the line's own; the same text only once.
        EXPECT_EQ(lines[0].translation, "どこへ");
        EXPECT_EQ(lines[0].secondTranslation, "");
        EXPECT_EQ(lines[0].romanisation, "doko e");
        EXPECT_EQ(lines[1].translation, "海へ (ずっと)");
        EXPECT_EQ(lines[1].secondTranslation, "Vers la mer");
        EXPECT_EQ(lines[1].romanisation, "to shi");
        EXPECT_EQ(lines[2].translation, "");
        EXPECT_EQ(lines[1].backgroundOffset, 7);
        EXPECT_EQ(lines[0].backgroundOffset, -1);
        EXPECT_EQ((std::vector<std::string>{lines[0].agent, lines[1].agent, lines[2].agent}),
                  (std::vector<std::string>{"v1", "v2", "v1000"}));
        EXPECT_EQ((std::vector<int32_t>{lines[0].voice, lines[1].voice, lines[2].voice}),
                  (std::vector<int32_t>{1, 2, 0}));
        EXPECT_EQ(p.document.title, "Dawn");
    }
    EXPECT_EQ(Parsed(utf16File(utf16, 1)).document.encoding, TextEncoding::kUtf16Be);
}

TEST(TtmlLyrics, LinesAreTimedByTheirWordsWhenTheyHaveNoTimesOfTheirOwnAndOrderedByTime) {
    // An undeclared singer takes the next voice; a <div>'s agent holds for its lines. A line that
    // begins before the one before it (the other singer coming in) is put before it.
    Parsed p(
        ttml("<div ttm:agent=\"solo\"><p>Lead <span begin=\"5s\" end=\"6s\">in</span> out</p></div>"
             "<p begin=\"2s\" ttm:agent=\"guest\">Early</p>\n<p>   </p>"));
    ASSERT_EQ(p.result, 1);
    EXPECT_EQ(linesWithMarks(p.document),
              (Lines{"Early 0@200 5@500", "Lead in out (karaoke) 0@500 5@500 7@600 11@900"}));
    EXPECT_EQ(p.document.lines[0].voice, 2);
    EXPECT_EQ(p.document.lines[1].agent, "solo");
    EXPECT_EQ(p.document.lines[1].voice, 1);
}

TEST(TtmlLyrics, BrokenFilesKeepWhatCanBeReadAndSayWhereWhatIsWrong) {
    // Times that run backwards are held, so that the wipe never runs back; a line without any
    // time is left out; an unreadable time counts as not given; background vocals without text
    // leave no brackets; the XML breaking off keeps the lines before it.
    Parsed p(
        "<tt><body>\n"
        "<p begin=\"3s\" end=\"2s\"><span begin=\"3s\" end=\"4s\">a</span><span begin=\"2.5s\" "
        "end=\"2s\">b</span></p>\n"
        "<p>untimed <span>word</span></p>\n"
        "<p begin=\"soon\" end=\"6s\">x</p>\n"
        "<p begin=\"7s\" end=\"8s\">kept <span ttm:role=\"x-bg\"> </span></p>\n"
        "  <p begin=\"9s\"><span begin=\"9s\" end=\"10s\">cut</span> of");
    ASSERT_EQ(p.result, 1);
    EXPECT_EQ(linesWithMarks(p.document), (Lines{"ab (karaoke) 0@300 1@400 2@400", "x 0@600 1@600", "kept 0@700 4@800",
                                                 "cut of (karaoke) 0@900 3@1000 6@1300"}));
    // Where each is: the XML's break, found first, then the elements in question.
    EXPECT_EQ(p.problems(),
              (std::vector<std::string>{
                  problem(TtmlProblem::kMalformedXml, 6, 55), problem(TtmlProblem::kBackwards, 2, 1),
                  problem(TtmlProblem::kBackwards, 2, 58), problem(TtmlProblem::kBackwards, 2, 58),
                  problem(TtmlProblem::kMissingTime, 3, 1), problem(TtmlProblem::kUnreadableTime, 4, 1)}));
    EXPECT_NE(ttmlProblemText(p.warnings.front()).find("the lines before are read"), std::string::npos);
    EXPECT_EQ(p.document.lines[2].backgroundOffset, -1);

    for (const char* nothing : {"", "not xml at all", "<tt><body><p>no times</p></body></tt>", "<tt><head/></tt>"}) {
        Parsed none(nothing);
        EXPECT_EQ(none.result, 0) << nothing;
        EXPECT_TRUE(none.document.lines.empty());
        ASSERT_FALSE(none.warnings.empty());
        EXPECT_EQ(none.warnings.back().problem, TtmlProblem::kNoLines) << nothing;
    }
}

TEST(TtmlLyrics, HostileFilesAreReadWithoutExpandingOrFetchingAnything) {
    // Entities that would grow to gigabytes, and one that would read a file of the machine: left as
    // the references they are.
    std::string laughs = "<!DOCTYPE tt [<!ENTITY lol \"lol\"><!ENTITY file SYSTEM \"file:///etc/passwd\">";
    for (int n = 1; n < 10; ++n) {
        laughs += "<!ENTITY lol" + std::to_string(n) + " \"";
        for (int k = 0; k < 10; ++k) laughs += n == 1 ? "&lol;" : "&lol" + std::to_string(n - 1) + ";";
        laughs += "\">";
    }
    laughs += "]>\n<tt><body><p begin=\"1s\" end=\"2s\">&lol9; &file; &#x41;&lt;</p></body></tt>";
    Parsed entities(laughs);
    ASSERT_EQ(entities.result, 1);
    EXPECT_EQ(entities.document.lines[0].text, "&lol9; &file; A<");
    EXPECT_EQ(entities.problems(), std::vector<std::string>{problem(TtmlProblem::kEntityDeclarations, 1, 10)});

    // Nesting far deeper than any lyrics: what lies too deep is left out, the rest read.
    std::string deep = "<tt><body><p begin=\"1s\" end=\"2s\">top";
    for (int n = 0; n < 200000; ++n) deep += "<span>";
    deep += "bottom</p><p begin=\"3s\" end=\"4s\">next</p></body></tt>";
    Parsed nested(deep);
    ASSERT_EQ(nested.result, 1);
    EXPECT_EQ(linesWithMarks(nested.document).front(), "top 0@100 3@200");
    ASSERT_FALSE(nested.warnings.empty());
    EXPECT_EQ(nested.warnings.back().problem, TtmlProblem::kTooDeep);

    // Ten megabytes: the first four are read, with a warning where the reading stopped; the line
    // cut off there is read as far as it goes.
    std::string line = "<p begin=\"1s\" end=\"2s\">" + std::string(1000, 'x') + "</p>\n";
    std::string huge = "<tt><body>\n";
    while (huge.size() < 10 * 1024 * 1024) huge += line;
    Parsed large(huge);
    ASSERT_EQ(large.result, 1);
    EXPECT_EQ(large.document.lineCount(), static_cast<int32_t>((kMaxTtmlBytes - 11) / line.size() + 1));
    ASSERT_EQ(large.warnings.size(), 2u);
    EXPECT_EQ(large.warnings[0].problem, TtmlProblem::kTooLarge);
    EXPECT_EQ(large.warnings[1].problem, TtmlProblem::kMalformedXml);
    EXPECT_EQ(large.warnings[0].lineNumber, large.warnings[1].lineNumber);

    // Bytes that are no UTF-8 become U+FFFD; a zero byte ends the XML.
    const char raw[] = "<tt><body><p begin=\"1s\" end=\"2s\">caf\xE9</p><p begin=\"3s\">\0</p></body></tt>";
    Parsed bytes(std::string(raw, sizeof raw - 1));
    ASSERT_EQ(bytes.result, 1);
    EXPECT_EQ(bytes.document.lines[0].text, u8"caf\uFFFD");
    EXPECT_EQ(bytes.document.lineCount(), 1);
}
