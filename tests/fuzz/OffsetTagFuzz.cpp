// Offset tags written into lyrics files of any bytes: no crash, no read outside the input, and for
// every file the rewrite takes, the parser agrees with it. The first four bytes give the offset.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzChecks.h"
#include "lyrics/LyricsLoader.h"
#include "lyrics/OffsetChecks.h"
#include "lyrics/OffsetTag.h"
#include "lyrics/PosixLyricsEnvironment.h"
#include "lyrics/TextEncoding.h"

namespace {

PosixLyricsEnvironment& environment() {
    static PosixLyricsEnvironment shiftJis(932);
    return shiftJis;
}

// The document the loader makes of a file, as one line of text.
std::string loaded(std::string_view bytes) {
    TextEncoding encoding;
    std::string text = lyricsFileText(bytes, 0, environment(), encoding);
    return loadedText(text);
}

int mentionsOffset(std::string_view bytes) {
    TextEncoding encoding;
    std::string text = lyricsFileText(bytes, 0, environment(), encoding);
    for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text.find("offset") != std::string::npos;
}

int isAscii(std::string_view bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return 0;
    return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    int32_t offsetMs;
    std::memcpy(&offsetMs, data, 4);
    std::string_view bytes(reinterpret_cast<const char*>(data + 4), size - 4);

    std::string rewritten;
    SaveFailure failure = SaveFailure::kNone;
    if (!rewriteOffsetTag(bytes, offsetMs, environment(), rewritten, failure)) {
        require(failure == SaveFailure::kTooLong || failure == SaveFailure::kTooLongWithTag ||
                failure == SaveFailure::kAmbiguous ||
                (failure == SaveFailure::kOffsetOutOfRange && (offsetMs > kMaxOffsetMs || offsetMs < -kMaxOffsetMs)));
        return 0;
    }
    require(fileOffsetMs(rewritten, environment()) == offsetMs);
    TextEncoding encoding = detectEncoding(bytes, 0);
    require(detectEncoding(rewritten, 0) == encoding || isAscii(rewritten));
    // A file without a tag, given one and then none, is the file it was.
    if (!mentionsOffset(bytes)) {
        std::string back;
        require(rewriteOffsetTag(rewritten, 0, environment(), back, failure) && back == bytes);
    }
    // The file's lines, moved by exactly the new offset: as if the file ended in that tag.
    TextEncoding readAs;
    require(loaded(rewritten) == loadedText(withOffsetTag(lyricsFileText(bytes, 0, environment(), readAs), offsetMs)));
    return 0;
}
