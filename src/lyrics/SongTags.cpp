#include "lyrics/SongTags.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "lyrics/LyricsEnvironment.h"
#include "lyrics/LyricsParser.h"

namespace {

constexpr size_t kId3v1Size = 128;
constexpr size_t kId3v1FieldSize = 30;
constexpr size_t kLyrics3SizeDigits = 6;
constexpr size_t kLyrics3Footer = kLyrics3SizeDigits + 9 + kId3v1Size;  // size, "LYRICS200", ID3v1
constexpr size_t kLyrics3Begin = 11;                                    // "LYRICSBEGIN"
constexpr size_t kFieldHeader = 8;                                      // identifier, 5 size digits
constexpr int kMaxSkippedFields = 10;

int readExactly(SourceFile& file, int64_t offset, char* buffer, size_t count) {
    return offset >= 0 && file.read(offset, buffer, count) == count;
}

std::string id3v1Field(const char* field) {
    char copy[kId3v1FieldSize];
    std::memcpy(copy, field, kId3v1FieldSize);
    for (size_t i = kId3v1FieldSize; i > 0 && copy[i - 1] == ' '; --i) copy[i - 1] = '\0';
    const char* end = static_cast<const char*>(std::memchr(copy, '\0', kId3v1FieldSize));
    return std::string(copy, end ? end - copy : kId3v1FieldSize);
}

// The decimal value of the leading digits; 0 when the text does not begin with a digit.
int decimalDigits(const char* text, size_t length, size_t& value) {
    value = 0;
    size_t i = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
    return i > 0;
}

}  // namespace

int readId3v1(SourceFile& file, std::string& title, std::string& artist) {
    char block[kId3v1Size];
    int64_t size = file.size();
    if (size < static_cast<int64_t>(kId3v1Size) || !readExactly(file, size - kId3v1Size, block, kId3v1Size) ||
        std::memcmp(block, "TAG", 3) != 0)
        return 0;
    title = id3v1Field(block + 3);
    artist = id3v1Field(block + 3 + kId3v1FieldSize);
    return 1;
}

int readLyrics3(SourceFile& file, std::string& lyrics) {
    int64_t fileSize = file.size();
    if (fileSize < static_cast<int64_t>(kLyrics3Footer)) return 0;
    int64_t footer = fileSize - kLyrics3Footer;
    char marker[9];
    if (!readExactly(file, footer + kLyrics3SizeDigits, marker, sizeof marker) ||
        std::memcmp(marker, "LYRICS200", sizeof marker) != 0)
        return 0;
    char sizeText[kLyrics3SizeDigits];
    size_t blockSize = 0;
    if (!readExactly(file, footer, sizeText, sizeof sizeText) || !decimalDigits(sizeText, sizeof sizeText, blockSize))
        return 0;
    // The block must hold its "LYRICSBEGIN" and lie within the file.
    if (blockSize < kLyrics3Begin || static_cast<int64_t>(blockSize) > footer) return 0;
    std::vector<char> block(blockSize);
    if (!readExactly(file, footer - blockSize, block.data(), blockSize) ||
        std::memcmp(block.data(), "LYRICSBEGIN", kLyrics3Begin) != 0)
        return 0;

    // Skip fields up to "LYR"; after ten skipped fields take the next one whatever it is.
    size_t position = kLyrics3Begin;
    size_t fieldSize = 0;
    for (int skipped = 0;; ++skipped) {
        if (blockSize - position < kFieldHeader ||
            !decimalDigits(block.data() + position + 3, kFieldHeader - 3, fieldSize))
            return 0;
        if (std::memcmp(block.data() + position, "LYR", 3) == 0 || skipped == kMaxSkippedFields) break;
        if (fieldSize > blockSize - position - kFieldHeader) return 0;
        position += kFieldHeader + fieldSize;
    }
    size_t data = position + kFieldHeader;
    lyrics.assign(block.data() + data, std::min({fieldSize, blockSize - data, kMaxLyricsBytes}));
    return 1;
}
