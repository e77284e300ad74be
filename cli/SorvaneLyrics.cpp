// sorvane-lyrics: loads lyrics the way the plug-in does and prints the document as JSON.
//   sorvane-lyrics [--time-type 0|1] SOURCE
// SOURCE is a song or lyrics file path (lyrics are read from it with the extension kra, else
// lrc, else txt) or LYRICS200:SONG for the Lyrics3 tag of a song file.
// Exit status: 0 lyrics loaded, 1 none found, 2 usage error.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "LyricsJson.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsLoader.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "lyrics/Win32LyricsEnvironment.h"
using PlatformEnvironment = Win32LyricsEnvironment;
#else
#include "lyrics/PosixLyricsEnvironment.h"
using PlatformEnvironment = PosixLyricsEnvironment;
#endif

namespace {

// The plug-in's environment with the warnings listed instead of shown, and no host to ask.
class ToolEnvironment : public PlatformEnvironment {
public:
#ifdef _WIN32
    ToolEnvironment() : PlatformEnvironment(nullptr, 0) {}
#endif
    char* hostTitleCopy() override { return nullptr; }
    void malformedTag(int32_t lineNumber, int32_t offset, int) override { warnings.push_back({lineNumber, offset}); }
    std::vector<ToolWarning> warnings;
};

int usage() {
    std::fputs("usage: sorvane-lyrics [--time-type 0|1] SOURCE\n"
               "  SOURCE: a song or lyrics file, or LYRICS200:SONG for a song's Lyrics3 tag\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int32_t timeType = 1;
    const char* source = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--time-type")) {
            if (i + 1 >= argc || (std::strcmp(argv[i + 1], "0") && std::strcmp(argv[i + 1], "1"))) return usage();
            timeType = argv[++i][0] - '0';
        } else if (argv[i][0] == '-' || source) {
            return usage();
        } else {
            source = argv[i];
        }
    }
    if (!source) return usage();

    ToolEnvironment environment;
    LyricsDocument document;
    int loaded = loadLyrics(document, source, timeType, environment);
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);  // the same bytes as natively: "\n", not "\r\n"
#endif
    std::string json = lyricsJson(document, timeType, environment.warnings);
    std::fwrite(json.data(), 1, json.size(), stdout);
    return loaded ? 0 : 1;
}
