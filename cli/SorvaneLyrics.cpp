// sorvane-lyrics: loads lyrics the way the plug-in does and prints the document as JSON.
//   sorvane-lyrics [--time-type 0|1] [--code-page N] SOURCE
// SOURCE is a song or lyrics file path (lyrics are read from it with the extension kra, else
// ttml, else lrc, else txt), LYRICS200:SONG for the Lyrics3 tag of a song file, or TAGS:SONG for
// the lyrics in a song's ID3v2, Xiph, MP4, APEv2 or ASF tags (the first field with lyrics to show,
// named in the output's tagField). --code-page names the ANSI code page files without a Unicode encoding
// (and ID3v2 texts in Latin-1) are read in: the system's on Windows, 932 natively, unless told.
// Exit status: 0 lyrics loaded, 1 none found, 2 usage error.
//
//   sorvane-lyrics [--code-page N] --offset MS FILE
// moves the timing of the lyrics file FILE (the file itself, whatever its name, a symbolic link
// written through) by MS milliseconds, positive earlier, on top of the offset it holds, as the
// plug-in's live shift does: its "[offset:]" tags are replaced by one, added or (at 0) removed,
// every other byte kept. Prints what it did. Exit status: 0 saved (or nothing to change), 1 not
// saved (the reason follows: a total past a day either way, or an offset tag that does not read
// as a number, among others), 2 usage error.
//
//   sorvane-lyrics --online [--server URL] [--length SECONDS] SONG
// asks the LRCLIB server (https://lrclib.net unless told; a path below it is kept, a query or
// fragment refused) for SONG as the plug-in does: the query from the song's tags, else from its
// file name "Artist - Title"; its length from its audio stream unless told. Prints the query, each
// request with the answer's status, and the .lrc file the plug-in would keep, under its name; it
// saves nothing (the plug-in does, in its download folder).
// Exit status: 0 lyrics found, 1 none (or no answer), 2 usage error. Windows only (WinHTTP).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "LyricsJson.h"
#include "config/Settings.h"
#include "lyrics/BesideSongSource.h"
#include "lyrics/DownloadFolder.h"
#include "lyrics/Lyrics3Source.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/OffsetTag.h"
#include "lyrics/SongNames.h"
#include "lyrics/SongPath.h"
#include "lyrics/SongTagsSource.h"
#include "lyrics/TimingShift.h"
#include "online/OnlineSearch.h"
#include "online/SongQuery.h"

#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
#include <io.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "lyrics/Win32LyricsEnvironment.h"
#include "lyrics/Win32LyricsFileWriter.h"
#include "online/WinHttpClient.h"
#include "utils/WinText.h"
using PlatformEnvironment = Win32LyricsEnvironment;
using PlatformWriter = Win32LyricsFileWriter;
#else
#include "lyrics/PosixLyricsEnvironment.h"
#include "lyrics/PosixLyricsFileWriter.h"
using PlatformEnvironment = PosixLyricsEnvironment;
using PlatformWriter = PosixLyricsFileWriter;
#endif

namespace {

// The plug-in's environment with the warnings listed instead of shown, and no host to ask.
class ToolEnvironment : public PlatformEnvironment {
public:
#ifdef _WIN32
    explicit ToolEnvironment(uint32_t codePage) : codePage(codePage ? codePage : GetACP()) {}
    std::string ansiToUtf8(std::string_view ansi) override { return ::ansiToUtf8(ansi, codePage); }
    uint32_t ansiCodePage() override { return codePage; }
    int knowsCodePage() const { return IsValidCodePage(codePage); }
#else
    explicit ToolEnvironment(uint32_t codePage) : PlatformEnvironment(codePage ? codePage : 932) {}
#endif
    std::optional<std::string> hostTitleCopy() override { return std::nullopt; }
    void malformedTag(int32_t lineNumber, int32_t offset, int) override {
        warnings.push_back({lineNumber, offset, {}});
    }
    void lyricsProblem(int32_t lineNumber, int32_t offset, const std::string& problem, int) override {
        warnings.push_back({lineNumber, offset, problem});
    }
    std::vector<ToolWarning> warnings;

private:
#ifdef _WIN32
    uint32_t codePage;
#endif
};

// The forms SOURCE takes, each naming a source: a prefix, then a song or lyrics file path. The
// last, without a prefix, takes any path.
struct SourceForm {
    const char* prefix;
    const char* shape;  // for the usage
    const LyricsSource& source;
    const char* detail;
};
const BesideSongSource kBesideSong;
const Lyrics3Source kLyrics3;
const SongTagsSource kSongTags;
const SourceForm kSourceForms[] = {
    {"LYRICS200:", "LYRICS200:SONG", kLyrics3, ""},
    {"TAGS:", "TAGS:SONG", kSongTags, " (ID3v2, Xiph, MP4, APEv2 or ASF)"},
    {"", "a song or lyrics file", kBesideSong, " (kra, else lrc, else txt)"},
};

// The form source takes; path is what follows its prefix.
const SourceForm& sourceForm(const char* source, const char*& path) {
    for (const SourceForm& form : kSourceForms) {
        size_t length = std::strlen(form.prefix);
        if (std::strncmp(source, form.prefix, length) != 0) continue;
        path = source + length;
        return form;
    }
    path = source;
    return kSourceForms[std::size(kSourceForms) - 1];
}

int usage() {
    std::fputs(
        "usage: sorvane-lyrics [--time-type 0|1] [--code-page N] SOURCE\n"
        "       sorvane-lyrics [--code-page N] --offset MS FILE\n"
        "       sorvane-lyrics --online [--server URL] [--length SECONDS] SONG\n"
        "  SOURCE: where the lyrics are read, as the plug-in reads them there:\n",
        stderr);
    for (const SourceForm& form : kSourceForms)
        std::fprintf(stderr, "    %-22s %s%s\n", form.shape, form.source.name(), form.detail);
    std::fputs(
        "  N: the ANSI code page of files without a Unicode encoding (932, 1252, ...)\n"
        "  MS: milliseconds to move the lyrics file FILE's timing by, positive earlier\n"
        "      (at most 600000 either way), on top of its [offset:] tag\n"
        "  URL: the LRCLIB server (default https://lrclib.net); SECONDS: the song's length\n",
        stderr);
    return 2;
}

void printUtf8(FILE* stream, const std::string& text) { std::fwrite(text.data(), 1, text.size(), stream); }

// The shift of --offset: an optional sign and digits, within kMaxShiftMs either way.
int readShift(const std::string& text, int32_t& shiftMs) {
    size_t digits = !text.empty() && (text[0] == '+' || text[0] == '-');
    if (text.size() <= digits || text.size() - digits > 7 ||
        text.find_first_not_of("0123456789", digits) != std::string::npos)
        return 0;
    int32_t value = std::atoi(text.c_str() + digits);
    if (value > kMaxShiftMs) return 0;
    shiftMs = text[0] == '-' ? -value : value;
    return 1;
}

int applyShift(const char* file, int32_t shiftMs, LyricsEnvironment& environment) {
    PlatformWriter writer;
    OffsetSave save;
    if (!shiftOffsetTag(file, shiftMs, environment, writer, save)) {
        printUtf8(stderr,
                  std::string("sorvane-lyrics: ") + file + ": not saved: " + saveFailureText(save.failure) + "\n");
        return 1;
    }
    std::string done = std::string(file) + ": offset " + std::to_string(save.previousMs) + " ms";
    if (save.written) {
        done += " -> " + std::to_string(save.savedMs) + " ms (" +
                encodingName(save.encoding, environment.ansiCodePage()) + ")";
    } else {
        done += ", unchanged";
    }
    printUtf8(stdout, done + "\n");
    return 0;
}

#ifdef _WIN32
const char* answerName(AnswerKind kind) {
    switch (kind) {
    case AnswerKind::kLyrics: return "lyrics";
    case AnswerKind::kInstrumental: return "instrumental (no lyrics)";
    case AnswerKind::kNoLyrics: return "no synchronised lyrics";
    case AnswerKind::kNotFound: return "not found";
    case AnswerKind::kUnusable: break;
    }
    return "no usable answer";
}
#endif

// --online: the search the plug-in makes for a song, reported step by step.
int searchOnline(const char* song, const std::string& server, int32_t lengthSeconds, LyricsEnvironment& environment) {
#ifndef _WIN32
    std::fputs("sorvane-lyrics: --online needs the Windows build (it asks through WinHTTP)\n", stderr);
    return 2;
#endif
    ServerAddressProblem problem = serverAddressProblem(server);
    if (problem != ServerAddressProblem::kNone) {
        printUtf8(stderr, "sorvane-lyrics: --server " + server + ": the address " + serverAddressProblemText(problem) +
                              "; give the server's own address (a path is fine)\n");
        return 2;
    }
    // No playlist here: the file's name stands for its title.
    std::string name = songBaseName(song);
    SongNames names = readSongNames(song, name.c_str(), environment);
    if (lengthSeconds > 0) names.lengthSeconds = lengthSeconds;
    OnlineQuery query = songQuery(names);
    printUtf8(stdout, "query: track \"" + query.track + "\", artist \"" + query.artist + "\", album \"" + query.album +
                          "\", length " + std::to_string(query.durationSeconds) + " s\n");
    if (!queryIsComplete(query)) {
        std::fputs("sorvane-lyrics: the song names no track, artist and length to search for\n", stderr);
        return 1;
    }
#ifdef _WIN32
    WinHttpClient client;
    SearchOutcome outcome = searchLrclib(server, query, client);
    for (const SearchStep& step : outcome.steps) {
        std::string status = step.answer.status ? "status " + std::to_string(step.answer.status) + ", " +
                                                      std::to_string(step.answer.body.size()) + " bytes"
                                                : "no answer: " + step.answer.failure;
        if (!step.answer.location.empty()) status += ", redirected to " + step.answer.location;
        printUtf8(stdout, "GET " + step.url + "\n  " + status + "\n");
    }
    if (!outcome.fault.empty()) printUtf8(stdout, "fault: " + outcome.fault + "\n");
    printUtf8(stdout, std::string("answer: ") + answerName(outcome.answer.kind) + "\n");
    if (outcome.answer.kind != AnswerKind::kLyrics) return 1;
    printUtf8(stdout, "would keep as " + downloadCopyName(names) + ":\n" + outcome.file);
    return 0;
#else
    return 2;
#endif
}

// The arguments in UTF-8: on Windows taken from the wide command line, so that a path in any
// script arrives whole.
std::vector<std::string> arguments(int argc, char** argv) {
#ifdef _WIN32
    std::vector<std::string> utf8;
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) utf8.push_back(narrow(wide[i]));
        LocalFree(wide);
        return utf8;
    }
#endif
    return std::vector<std::string>(argv + 1, argv + argc);
}

int isNumber(const std::string& text) {
    return !text.empty() && text.size() <= 5 && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
    int32_t timeType = 1;
    uint32_t codePage = 0;
    const char* source = nullptr;
    int shifting = 0;
    int32_t shiftMs = 0;
    int online = 0, onlineOptions = 0;
    std::string server = kDefaultLyricsServer;
    int32_t lengthSeconds = 0;
    std::vector<std::string> args = arguments(argc, argv);
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--offset") {
            if (shifting || i + 1 >= args.size() || !readShift(args[i + 1], shiftMs)) return usage();
            shifting = 1;
            ++i;
        } else if (args[i] == "--online") {
            online = 1;
        } else if (args[i] == "--server") {
            if (i + 1 >= args.size()) return usage();
            server = args[++i];
            onlineOptions = 1;
        } else if (args[i] == "--length") {
            if (i + 1 >= args.size() || !isNumber(args[i + 1])) return usage();
            lengthSeconds = std::atoi(args[++i].c_str());
            onlineOptions = 1;
        } else if (args[i] == "--time-type") {
            if (i + 1 >= args.size() || (args[i + 1] != "0" && args[i + 1] != "1")) return usage();
            timeType = args[++i][0] - '0';
        } else if (args[i] == "--code-page") {
            if (i + 1 >= args.size() || !isNumber(args[i + 1])) return usage();
            codePage = static_cast<uint32_t>(std::atoi(args[++i].c_str()));
        } else if (args[i][0] == '-' || source) {
            return usage();
        } else {
            source = args[i].c_str();
        }
    }
    if (!source) return usage();

    ToolEnvironment environment(codePage);
    if (!environment.knowsCodePage()) {
        std::fprintf(stderr, "sorvane-lyrics: code page %u is not known here\n", codePage);
        return 2;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);  // the same bytes as natively: "\n", not "\r\n"
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    if ((shifting && online) || (onlineOptions && !online)) return usage();
    if (shifting) return applyShift(source, shiftMs, environment);
    if (online) return searchOnline(source, server, lengthSeconds, environment);
    LyricsDocument document;
    const char* path = nullptr;
    const SourceForm& form = sourceForm(source, path);
    int loaded = loadFromSource(form.source, document, path, timeType, environment);
    std::string json = lyricsJson(document, timeType, environment.warnings);
    std::fwrite(json.data(), 1, json.size(), stdout);
    return loaded ? 0 : 1;
}
