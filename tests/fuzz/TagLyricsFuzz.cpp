// Songs of any bytes, in any format TagLib knows, through the tag reader and the loader: no fault,
// no read outside the file, UTF-8 texts, and a loaded document that keeps the model's promises.
#include <cstdint>
#include <string>
#include <string_view>

#include "../lyrics/FakeLyricsEnvironment.h"
#include "FuzzChecks.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/SongTagsSource.h"
#include "lyrics/TagLyrics.h"

namespace {

// The formats by the extensions TagLib reads them by; the last, none, leaves it to the content.
const char* const kExtensions[] = {".mp3", ".flac", ".ogg", ".opus", ".m4a",  ".wma", ".ape",
                                   ".mpc", ".wv",   ".tta", ".wav",  ".aiff", ".spx", ""};

// ASF's attribute lists: TagLib reads as many attributes as a list's count claims, on past the
// file's end, each a handful of allocations. Up to 65535 of them from a few hundred bytes cost the
// player a fraction of a second, but starve the fuzzer; inputs whose counts claim more attributes
// than their remaining bytes could hold are passed over.
struct AsfAttributeList {
    std::string_view guid;
    size_t leastAttributeBytes;
};
const AsfAttributeList kAsfAttributeLists[] = {
    {std::string_view("\x40\xA4\xD0\xD2\x07\xE3\xD2\x11\x97\xF0\x00\xA0\xC9\x5E\xA8\x50", 16), 6},   // extended content
    {std::string_view("\xEA\xCB\xF8\xC5\xAF\x5B\x77\x48\x84\x67\xAA\x8C\x44\xFA\x4C\xCA", 16), 12},  // metadata
    {std::string_view("\x94\x1C\x23\x44\x98\x94\xD1\x49\xA1\x41\x1D\x13\x4E\x45\x70\x54", 16), 12},  // library
};

bool claimsMoreAsfAttributesThanItHolds(std::string_view bytes) {
    for (const AsfAttributeList& list : kAsfAttributeLists) {
        // The object: its GUID, its 64-bit size, then the list's 16-bit count.
        for (size_t at = bytes.find(list.guid); at != std::string_view::npos; at = bytes.find(list.guid, at + 1)) {
            size_t countAt = at + 24;
            if (countAt + 2 > bytes.size()) break;
            size_t count = static_cast<uint8_t>(bytes[countAt]) | static_cast<uint8_t>(bytes[countAt + 1]) << 8;
            if (count * list.leastAttributeBytes > bytes.size() - countAt - 2) return true;
        }
    }
    return false;
}

}  // namespace

// Input: a byte choosing the extension (and the time base), then the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const char* extension = kExtensions[data[0] % (sizeof kExtensions / sizeof kExtensions[0])];
    int32_t timeType = data[0] >> 7;
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    if (claimsMoreAsfAttributesThanItHolds(bytes)) return 0;
    std::string path = std::string("C:\\Music\\song") + extension;

    FakeLyricsEnvironment environment;
    MemoryFile file(bytes);
    for (const TagLyrics& lyrics : readTagLyrics(file, path.c_str(), environment)) {
        require(isValidUtf8(lyrics.text) && !lyrics.field.empty());
        for (const SyncedText& entry : lyrics.entries) require(isValidUtf8(entry.text) && entry.time >= 0);
    }

    environment.files = {{path, bytes}};
    LyricsDocument document;
    if (loadFromSource(SongTagsSource(), document, path.c_str(), timeType, environment)) {
        require(document.loaded == 1 && !document.tagField.empty());
        requireLoadedDocument(document, timeType);
    }
    return 0;
}
