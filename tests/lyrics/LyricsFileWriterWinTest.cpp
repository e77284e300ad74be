// Saving the timing into lyrics files through the real Win32 API: the file is replaced whole, in
// its own encoding, keeping its attributes; or refused with the reason and left byte for byte.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "lyrics/OffsetTag.h"
#include "lyrics/Win32LyricsEnvironment.h"
#include "lyrics/Win32LyricsFileWriter.h"
#include "lyrics/WinLyricsTree.h"

namespace {

// "夜明け" in code page 932, the system's here.
const std::string kShiftJisLyrics = "[ti:\x96\xe9\x96\xbe\x82\xaf]\r\n[00:01.00]\x96\xe9\r\n[00:02.00]\x96\xbe\r\n";
const std::string kShiftJisSaved =
    "[ti:\x96\xe9\x96\xbe\x82\xaf]\r\n[offset:+300]\r\n[00:01.00]\x96\xe9\r\n[00:02.00]\x96\xbe\r\n";

class WinSaveFolder : public WinLyricsTree {
protected:
    int save(const std::string& path, int32_t offsetMs) {
        return saveOffsetTag(path.c_str(), offsetMs, environment, writer, saved);
    }
    Win32LyricsEnvironment environment;
    Win32LyricsFileWriter writer;
    OffsetSave saved;
};

}  // namespace

TEST_F(WinSaveFolder, ReplacesAFileNamedInAnyScriptWholeKeepingItsAttributes) {
    ASSERT_EQ(GetACP(), 932u);
    std::string name = u8"夜明け 사랑 🎤.lrc";
    std::string path = root + "\\" + name;
    writeFile(path, kShiftJisLyrics);
    SetFileAttributesW(widePath(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_EQ(save(path, 300), 1) << saveFailureText(saved.failure);
    EXPECT_EQ(saved.written, 1);
    EXPECT_EQ(readWholeFile(path), kShiftJisSaved);
    EXPECT_TRUE(GetFileAttributesW(widePath(path).c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(folderNames(root), std::set<std::string>{name});

    // Past MAX_PATH, through the "\\?\" form.
    std::string deep = root;
    for (int i = 0; i < 8; ++i) {
        deep += "\\" + std::string(u8"とても長いフォルダの名前") + std::to_string(i) + std::string(20, 'x');
        ASSERT_TRUE(CreateDirectoryW(widePath(deep).c_str(), nullptr));
    }
    std::string deepFile = deep + "\\a.lrc";
    ASSERT_GT(widen(deepFile).size(), static_cast<size_t>(MAX_PATH));
    writeFile(deepFile, kShiftJisLyrics);
    ASSERT_EQ(save(deepFile, 300), 1) << saveFailureText(saved.failure);
    EXPECT_EQ(readWholeFile(deepFile), kShiftJisSaved);
    EXPECT_EQ(save(deepFile, 0), 1);
    EXPECT_EQ(readWholeFile(deepFile), kShiftJisLyrics);
}

TEST_F(WinSaveFolder, RefusesAndLeavesTheFileAsItWas) {
    std::string readOnly = root + "\\read-only.lrc";
    writeFile(readOnly, kShiftJisLyrics);
    SetFileAttributesW(widePath(readOnly).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(save(readOnly, 300), 0);
    EXPECT_EQ(saved.failure, SaveFailure::kReadOnly);
    EXPECT_EQ(readWholeFile(readOnly), kShiftJisLyrics);

    EXPECT_EQ(save(root + "\\gone.lrc", 300), 0);
    EXPECT_EQ(saved.failure, SaveFailure::kGone);

    // Held open by a program that does not let it be deleted or renamed.
    std::string held = root + "\\held.lrc";
    writeFile(held, kShiftJisLyrics);
    HANDLE holder = CreateFileW(widePath(held).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(writer.replaceFile(held.c_str(), "x", saved.failure), 0);
    EXPECT_EQ(saved.failure, SaveFailure::kInUse);
    CloseHandle(holder);
    EXPECT_EQ(readWholeFile(held), kShiftJisLyrics);
    EXPECT_EQ(folderNames(root), (std::set<std::string>{"held.lrc", "read-only.lrc"}));
}

TEST_F(WinSaveFolder, ANewFileComesWithTheFoldersToItButNeverOverAFileThere) {
    // Two folders to make, then past MAX_PATH, where the path takes the "\\?\" form.
    std::string copy = root + u8"\\歌詞\\new\\a.lrc";
    std::string deep = root + "\\" + std::string(150, 'x') + "\\" + std::string(150, 'y') + "\\b.lrc";
    for (const std::string& path : {copy, deep}) {
        SaveFailure failure = SaveFailure::kNone;
        ASSERT_EQ(writer.createFile(path.c_str(), kShiftJisLyrics, failure), 1) << saveFailureText(failure);
        EXPECT_EQ(readWholeFile(path), kShiftJisLyrics);
        EXPECT_EQ(writer.createFile(path.c_str(), kShiftJisSaved, failure), 0);
        EXPECT_EQ(failure, SaveFailure::kExists);
        EXPECT_EQ(readWholeFile(path), kShiftJisLyrics);
    }
    EXPECT_EQ(folderNames(root + u8"\\歌詞\\new"), std::set<std::string>{"a.lrc"}) << "nothing left beside it";

    // A file where a folder should be: refused, nothing made.
    writeFile(root + "\\plain", "a file");
    SaveFailure failure = SaveFailure::kNone;
    EXPECT_EQ(writer.createFile((root + "\\plain\\a.lrc").c_str(), "x", failure), 0);
    EXPECT_EQ(readWholeFile(root + "\\plain"), "a file");
}
