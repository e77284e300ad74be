// The offset tag written into lyrics files: only that line changes, in the file's own encoding and
// line ends, and the file then loads as its lines moved by exactly the new offset.
#include "lyrics/OffsetTag.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "lyrics/FakeLyricsEnvironment.h"
#include "lyrics/LyricsLoader.h"
#include "lyrics/OffsetChecks.h"

namespace {

enum class Form { kShiftJis, kUtf8Bom, kUtf16Le, kUtf16Be };

// A file of the lines, written out by hand: each line and its line end in the encoding.
struct LyricsFile {
    Form form;
    std::u16string lineEnd;
    int finalLineEnd;
    std::vector<std::u16string> lines;

    std::string bytes() const {
        std::u16string text;
        for (size_t n = 0; n < lines.size(); ++n)
            text += lines[n] + (n + 1 < lines.size() || finalLineEnd ? lineEnd : u"");
        switch (form) {
        case Form::kShiftJis: return FakeLyricsEnvironment::shiftJis(text);
        case Form::kUtf8Bom: return "\xEF\xBB\xBF" + utf16ToUtf8(text);
        case Form::kUtf16Le: return utf16File(text, 0);
        case Form::kUtf16Be: return utf16File(text, 1);
        }
        return {};
    }
    LyricsFile withLine(size_t index, const std::u16string& line) const {
        LyricsFile file = *this;
        file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(index), line);
        return file;
    }
};

struct Case {
    const char* name;
    LyricsFile file;
    size_t tagIndex;  // where a new tag line belongs
};

std::string rewrite(const std::string& bytes, int32_t offsetMs, FakeLyricsEnvironment& environment) {
    std::string rewritten;
    SaveFailure failure = SaveFailure::kNone;
    EXPECT_EQ(rewriteOffsetTag(bytes, offsetMs, environment, rewritten, failure), 1) << saveFailureText(failure);
    return rewritten;
}

std::string loadedFile(const std::string& bytes, FakeLyricsEnvironment& environment) {
    TextEncoding encoding;
    return loadedText(lyricsFileText(bytes, 0, environment, encoding));
}

std::string loadedWithOffset(const std::string& bytes, int32_t offsetMs, FakeLyricsEnvironment& environment) {
    TextEncoding encoding;
    return loadedText(withOffsetTag(lyricsFileText(bytes, 0, environment, encoding), offsetMs));
}

}  // namespace

TEST(OffsetTag, ChangesOnlyTheTagLineInEveryEncodingAndLoadsMovedByTheOffset) {
    const Case cases[] = {
        // "ゾ" is 0x83 0x5D in Shift-JIS: its second byte is "]", yet that line is no ID tag.
        {"Shift-JIS, CR LF",
         {Form::kShiftJis,
          u"\r\n",
          1,
          {u"[ti:夜明けのうた]", u"[ar:うた]", u"[offset:5ゾ", u"", u"[00:01.00]夜明け", u"[00:05.00]ソ"}},
         2},
        {"UTF-8 with its mark, the original header syntax, LF, no final line end",
         {Form::kUtf8Bom,
          u"\n",
          0,
          {u"@Title\t桜 🌸", u"@Artist\tうた", u"", u"[00:01:00]桜[00:02:00]", u"[00:03:00]end"}},
         2},
        {"UTF-16 LE, CR LF, lyrics from the first line",
         {Form::kUtf16Le, u"\r\n", 1, {u"[00:01.00]桜", u"[00:02.00]花"}},
         0},
        {"UTF-16 BE, CR, no final line end, header last", {Form::kUtf16Be, u"\r", 0, {u"[00:01.00]a", u"[al:x]"}}, 0},
        {"a header alone, without any line end: the new one is CR LF", {Form::kUtf8Bom, u"\r\n", 0, {u"[ti:only]"}}, 1},
    };
    FakeLyricsEnvironment environment;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string original = c.file.bytes();
        std::string added = rewrite(original, 300, environment);
        EXPECT_EQ(added, c.file.withLine(c.tagIndex, u"[offset:+300]").bytes());
        std::string replaced = rewrite(added, -1200, environment);
        EXPECT_EQ(replaced, c.file.withLine(c.tagIndex, u"[offset:-1200]").bytes());
        EXPECT_EQ(rewrite(replaced, 0, environment), original);

        EXPECT_EQ(loadedFile(added, environment), loadedWithOffset(original, 300, environment));
        EXPECT_EQ(loadedFile(replaced, environment), loadedWithOffset(original, -1200, environment));
        EXPECT_EQ(fileOffsetMs(replaced, environment), -1200);
    }
}

TEST(OffsetTag, EveryTagTakesTheNewOffsetAndZeroRemovesThem) {
    FakeLyricsEnvironment environment;
    // Two tags, the last in force; the last line has no line end.
    std::string twoTags = "[offset:+100]\n[00:01.00]a\n [Offset: -20 ms ]";
    EXPECT_EQ(fileOffsetMs(twoTags, environment), -20);
    EXPECT_EQ(rewrite(twoTags, 500, environment), "[offset:+500]\n[00:01.00]a\n[offset:+500]");
    EXPECT_EQ(rewrite(twoTags, 0, environment), "[00:01.00]a");
    // The offset held already: not a byte changes.
    EXPECT_EQ(rewrite(twoTags, -20, environment), twoTags);
    // Nothing after two zero characters is read, nor changed.
    std::string hidden = std::string("[ti:x]\n[00:01]a\0\0[offset:5]\n", 28);
    EXPECT_EQ(rewrite(hidden, 300, environment), std::string("[ti:x]\n[offset:+300]\n[00:01]a\0\0[offset:5]\n", 42));
}

TEST(OffsetTag, RefusesWhatTheLoaderWouldReadOtherwise) {
    FakeLyricsEnvironment environment;
    std::string rewritten = "untouched";
    SaveFailure failure = SaveFailure::kNone;
    // Full up to the loader's limit, and read whole: one more line and the last ones would go
    // unread. Past the limit, the file is not read whole as it is.
    std::string full = "[00:01]a\n" + std::string(kMaxLyricsBytes - 9, 'x');
    EXPECT_EQ(rewriteOffsetTag(full, 300, environment, rewritten, failure), 0);
    EXPECT_EQ(failure, SaveFailure::kTooLongWithTag);
    EXPECT_EQ(rewriteOffsetTag(full + "x", 300, environment, rewritten, failure), 0);
    EXPECT_EQ(failure, SaveFailure::kTooLong);
    // In Shift-JIS; without the tag line's "ー" (0x81 0x5B), the rest would read as UTF-8.
    std::string ansi = "[offset:100\x81\x5B]\n[00:01]\xC3\xA9";
    ASSERT_EQ(fileOffsetMs(ansi, environment), 100);
    EXPECT_EQ(rewriteOffsetTag(ansi, 0, environment, rewritten, failure), 0);
    EXPECT_EQ(failure, SaveFailure::kAmbiguous);
    EXPECT_EQ(rewritten, "untouched");
}

namespace {

// Files in memory; a file named in readOnly refuses to be replaced.
class FakeFileWriter : public LyricsFileWriter {
public:
    int readFile(const char* path, size_t maxBytes, std::string& bytes, SaveFailure& failure) override {
        auto file = files.find(path);
        if (file == files.end()) return fail(failure, SaveFailure::kGone);
        if (file->second.size() > maxBytes) return fail(failure, SaveFailure::kTooLong);
        bytes = file->second;
        return 1;
    }
    int replaceFile(const char* path, std::string_view bytes, SaveFailure& failure) override {
        ++replacements;
        if (readOnly.count(path)) return fail(failure, SaveFailure::kReadOnly);
        files[path] = bytes;
        return 1;
    }
    static int fail(SaveFailure& failure, SaveFailure reason) {
        failure = reason;
        return 0;
    }
    std::map<std::string, std::string> files;
    std::set<std::string> readOnly;
    int replacements = 0;
};

}  // namespace

TEST(OffsetSave, WritesTheOffsetOnlyWhenItChangesAndSaysWhy) {
    FakeLyricsEnvironment environment;
    FakeFileWriter writer;
    writer.files["a.lrc"] = "[ti:a]\r\n[offset:+250]\r\n[00:01.00]a\r\n";
    OffsetSave save;
    // A shift moves the timing on from the offset the file holds.
    ASSERT_EQ(shiftOffsetTag("a.lrc", 300, environment, writer, save), 1);
    EXPECT_EQ(writer.files["a.lrc"], "[ti:a]\r\n[offset:+550]\r\n[00:01.00]a\r\n");
    EXPECT_EQ(save.previousMs, 250);
    EXPECT_EQ(save.savedMs, 550);
    EXPECT_EQ(save.written, 1);
    // Saving the offset the file holds writes nothing, even to a read-only file.
    writer.readOnly.insert("a.lrc");
    ASSERT_EQ(saveOffsetTag("a.lrc", 550, environment, writer, save), 1);
    EXPECT_EQ(save.written, 0);
    EXPECT_EQ(writer.replacements, 1);

    ASSERT_EQ(saveOffsetTag("a.lrc", 0, environment, writer, save), 0);
    EXPECT_EQ(save.failure, SaveFailure::kReadOnly);
    ASSERT_EQ(saveOffsetTag("gone.lrc", 100, environment, writer, save), 0);
    EXPECT_EQ(save.failure, SaveFailure::kGone);
    // A file without lyrics to show (a song named by mistake) is never rewritten.
    writer.files["song.mp3"] = std::string("ID3\x04\0\0\0\0\0\x10[00:01]", 18);
    ASSERT_EQ(shiftOffsetTag("song.mp3", 100, environment, writer, save), 0);
    EXPECT_EQ(save.failure, SaveFailure::kNotLyrics);
    EXPECT_EQ(writer.replacements, 2);

    // A total past a day either way is no timing: refused, not held at the 32-bit limit.
    writer.files["far.lrc"] = "[offset:+2147483000]\n[00:01.00]a\n";
    ASSERT_EQ(shiftOffsetTag("far.lrc", 600000, environment, writer, save), 0);
    EXPECT_EQ(save.failure, SaveFailure::kOffsetOutOfRange);
    ASSERT_EQ(shiftOffsetTag("far.lrc", -2147483000, environment, writer, save), 1);
    EXPECT_EQ(writer.files["far.lrc"], "[00:01.00]a\n");
    ASSERT_EQ(saveOffsetTag("far.lrc", -kMaxOffsetMs - 1, environment, writer, save), 0);
    EXPECT_EQ(save.failure, SaveFailure::kOffsetOutOfRange);
    // A tag that does not read as the number it says leaves nothing sure to shift from; the
    // plug-in's save, which sets the offset it showed, still replaces it.
    for (const char* unreadable :
         {"[offset:+99999999999999999999]", "[offset:abc]", "[offset:]", "[offset:-2147483649]"}) {
        writer.files["odd.lrc"] = std::string(unreadable) + "\n[00:01.00]a\n";
        EXPECT_EQ(shiftOffsetTag("odd.lrc", 100, environment, writer, save), 0) << unreadable;
        EXPECT_EQ(save.failure, SaveFailure::kOffsetNotANumber) << unreadable;
    }
    writer.files["odd.lrc"] = "[offset:250ms]\n[offset:-2147483648]\n[00:01.00]a\n";
    ASSERT_EQ(shiftOffsetTag("odd.lrc", 2147483647, environment, writer, save), 1);
    EXPECT_EQ(writer.files["odd.lrc"], "[offset:-1]\n[offset:-1]\n[00:01.00]a\n");
    writer.files["odd.lrc"] = "[offset:abc]\n[00:01.00]a\n";
    ASSERT_EQ(saveOffsetTag("odd.lrc", 300, environment, writer, save), 1);
    EXPECT_EQ(writer.files["odd.lrc"], "[offset:+300]\n[00:01.00]a\n");
}
