// Any answer body, to /api/get or /api/search, of any status: no fault, and lyrics only when they
// came with a record inside the duration tolerance and hold no zero character; the file kept for
// them keeps its four tags on their own lines.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "online/LrclibAnswer.h"
#include "online/OnlineQuery.h"

namespace {

void checkFile(const OnlineAnswer& answer, const OnlineQuery& query) {
    if (answer.kind != AnswerKind::kLyrics) return;
    if (answer.record.syncedLyrics.find_first_not_of(" \t\r\n") == std::string::npos) std::abort();
    if (answer.record.syncedLyrics.find('\0') != std::string::npos) std::abort();
    std::string file = lyricsFileFor(answer.record, query);
    // The four tags, each on a line of its own, come first whatever the names held.
    size_t at = 0;
    for (const char* tag : {"[ti:", "[ar:", "[al:", "[length:"}) {
        if (file.compare(at, std::strlen(tag), tag) != 0) std::abort();
        size_t end = file.find("]\r\n", at);
        if (end == std::string::npos || file.find_first_of("[]\r\n", at + 1) != end) std::abort();
        at = end + 3;
    }
}

}  // namespace

// Input: a byte choosing the status and the song's length, then the body.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const int kStatuses[] = {200, 404, 500, 200};
    int status = kStatuses[data[0] & 3];
    OnlineQuery query;
    query.track = "t";
    query.artist = "a";
    query.durationSeconds = 100 + (data[0] >> 2);
    std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);
    checkFile(readGetAnswer(status, body, query.durationSeconds), query);
    OnlineAnswer searched = readSearchAnswer(status, body, query.durationSeconds);
    if (searched.kind == AnswerKind::kNotFound) std::abort();
    checkFile(searched, query);
    return 0;
}
