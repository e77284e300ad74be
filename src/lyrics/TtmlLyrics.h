#pragma once
// Word-timed lyrics in TTML (Timed Text Markup Language), as Apple Music and the public AMLL
// collection write them, read with pugixml. A pure function from a file's bytes to the lyrics
// document and a list of what was wrong with them.
//
// What is read:
// - each <p begin end> inside <body> is a line, its text the text inside it with every run of
//   white space made one space (between two word spans too);
// - each <span begin end> inside a line is a word: the wipe reaches the word at its begin and its
//   last character at its end;
// - spans with ttm:role "x-translation" and "x-roman" give the line's translations (the first
//   two) and romanisation, as do the <iTunesMetadata> <translations> and <transliterations> texts
//   whose "for" names the line's itunes:key, which come first;
// - ttm:agent, on the line or around it, names the singer; the line's voice is that singer's place
//   among the <ttm:agent>s of the head (singers it does not declare following, as they come), a
//   group's lines having none;
// - a span with ttm:role "x-bg" holds background vocals, shown in brackets after the line's words
//   and wiped after them, as their own spans time them;
// - <ttm:title> and AMLL's <amll:meta key="artists"> give the title and artist.
// Times are absolute, as those files write them: a line's times are not counted from its <div>'s.
//
// Nothing outside the file is read: a document type's entities are not expanded (pugixml knows
// none but XML's five), and no external entity is ever fetched.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class LyricsDocument;

// The most of a TTML file that is read: four times as much as word-timed lyrics with translations
// take for a long song.
constexpr size_t kMaxTtmlBytes = 4 * 1024 * 1024;
// Elements nested deeper than this below <body>, a line or a metadata text are left out: lyrics
// never nest that far, and the walk stays bounded whatever the file.
constexpr int32_t kMaxTtmlDepth = 64;
// A file reports this many problems at most.
constexpr size_t kMaxTtmlWarnings = 100;

enum class TtmlProblem : int32_t {
    kMalformedXml,        // the XML breaks off here: what came before is read
    kTooLarge,            // longer than kMaxTtmlBytes: the file is read that far
    kEntityDeclarations,  // a document type declares entities: references to them stay as text
    kTooDeep,             // elements nested deeper than kMaxTtmlDepth: what lies deeper is left out
    kUnreadableTime,      // a begin or end that is no clock value: taken as not given
    kMissingTime,         // a line with no begin of its own nor of a word: left out
    kBackwards,           // a word before the word before it, or an end before its begin: held
    kNoLines,             // no line at all to show
};

struct TtmlWarning {
    TtmlProblem problem;
    int32_t lineNumber;  // 1-based line of the file
    int32_t offset;      // characters (code points) into that line
    std::string detail;  // pugixml's description of an XML error; empty otherwise
};

// The problem in a few English words, with its detail.
std::string ttmlProblemText(const TtmlWarning& warning);

// A TTML time expression in hundredths of a second, rounded down: a clock value "[[h:]m:]s[.f]"
// ("1:02.345", "01:02:03.450", "62.5") or an offset with its unit, "62.345s", "1.5m", "0.1h",
// "250ms". Times past a day are held at a day. 0 when the text is none of these (frames and ticks
// need a frame rate the lyrics do not give), with time untouched.
int ttmlTime(std::string_view text, int32_t& time);

// Fills the document, which reset has just emptied, from a TTML file's bytes: UTF-8 (with or
// without its byte-order mark; an undecodable byte becomes U+FFFD) or UTF-16 with its mark. Sets
// encoding, the lines and the title and artist the file gives. The lines are ordered by time as the
// text syntax's are (timeType converts their times for that); one without an end of its own ends
// where the next line in time begins. Returns 1 when there is a line, 0 otherwise (then no line is
// kept). What was wrong is added to warnings.
int parseTtml(LyricsDocument& document, std::string_view bytes, int32_t timeType, std::vector<TtmlWarning>& warnings);
