// Songs of any bytes, in any format TagLib knows, through the tag reader and the loader: no fault,
// no read outside the file, UTF-8 texts, and a loaded document that keeps the model's promises.
#include <cstdint>
#include <string>

#include "../lyrics/FakeLyricsEnvironment.h"
#include "FuzzChecks.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/SongTagsSource.h"
#include "lyrics/TagLyrics.h"

namespace {

// The formats by the extensions TagLib reads them by; the last, none, leaves it to the content.
const char* const kExtensions[] = {".mp3", ".flac", ".ogg", ".opus", ".m4a", ".wma", ".ape", ".mpc",
                                   ".wv",  ".tta",  ".wav", ".aiff", ".spx", ""};

}  // namespace

// Input: a byte choosing the extension (and the time base), then the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const char* extension = kExtensions[data[0] % (sizeof kExtensions / sizeof kExtensions[0])];
    int32_t timeType = data[0] >> 7;
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
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
