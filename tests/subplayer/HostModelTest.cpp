#include "subplayer/HostModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

TEST(PlaybackClock, RunsInRealTimeOnlyWhilePlaying) {
    PlaybackClock c;
    EXPECT_EQ(c.status(), 0);
    EXPECT_EQ(c.positionMs(5000), 0);
    c.play(1000);
    EXPECT_EQ(c.status(), 1);
    EXPECT_EQ(c.positionMs(1750), 750);
    c.pause(2000);
    EXPECT_EQ(c.status(), 3);
    EXPECT_EQ(c.positionMs(9000), 1000);
    c.play(10000);  // resumes where it paused
    EXPECT_EQ(c.positionMs(10500), 1500);
    c.seek(60000, 11000);  // a seek while playing goes on from there
    EXPECT_EQ(c.positionMs(11250), 60250);
    c.stop();
    EXPECT_EQ(c.status(), 0);
    EXPECT_EQ(c.positionMs(20000), 0);
    c.pause(21000);  // pausing a stopped player does nothing
    EXPECT_EQ(c.status(), 0);
}

TEST(PlaybackClock, HeldPositionIsExactWhileStatusSaysPlaying) {
    PlaybackClock c;
    c.play(0);
    c.hold(12345);
    EXPECT_EQ(c.status(), 1);
    EXPECT_EQ(c.positionMs(0), 12345);
    EXPECT_EQ(c.positionMs(999999), 12345);
    c.play(1000000);  // real time again, from the held position
    EXPECT_EQ(c.positionMs(1000100), 12445);
    c.play(0);
    EXPECT_EQ(c.positionMs(uint64_t(1) << 40), INT32_MAX);  // a very long play stays in range
}

TEST(HostModel, AnswersQueriesWithPointersThatOutliveTheReply) {
    HostModel m;
    m.addEntry("C:\\a.mp3", "A");
    auto path0 = reinterpret_cast<const char*>(m.answer(kAskFilePath, 0, 0));
    for (int i = 0; i < 1000; ++i) m.addEntry("C:\\more.mp3", "more");  // growing the list moves nothing
    EXPECT_STREQ(path0, "C:\\a.mp3");
    EXPECT_STREQ(reinterpret_cast<const char*>(m.answer(kAskTitle, 0, 0)), "A");
    EXPECT_EQ(m.answer(kAskFilePath, 1001, 0), 0);  // no such entry
    EXPECT_EQ(m.answer(kAskTitle, static_cast<uintptr_t>(-1), 0), 0);
    m.select(7);
    EXPECT_EQ(m.answer(kAskListPosition, 0, 0), 7);
    m.clock.play(100);
    EXPECT_EQ(m.answer(kAskPosition, 0, 350), 250);
    EXPECT_EQ(m.answer(kAskPlayStatus, 0, 350), 1);
    EXPECT_EQ(m.answer(999, 0, 0), 0);
    EXPECT_EQ(m.queryCount(kAskFilePath), 2);
    EXPECT_EQ(m.queryCount(999), 1);
    EXPECT_EQ(m.queryCount(104), 1);
}

TEST(HostModel, SkinFolderIsCutToTheBufferAndTerminated) {
    HostModel m;
    char buffer[kSkinFolderBufferSize + 8];
    std::memset(buffer, 'x', sizeof buffer);
    m.setSkinFolder(std::string(400, 's'));
    m.answer(kAskSkinFolder, reinterpret_cast<uintptr_t>(buffer), 0);
    EXPECT_EQ(std::strlen(buffer), kSkinFolderBufferSize - 1);
    EXPECT_EQ(buffer[kSkinFolderBufferSize], 'x');  // nothing written past the 260 bytes
    m.setSkinFolder("C:\\Skins\\Base");
    m.answer(kAskSkinFolder, reinterpret_cast<uintptr_t>(buffer), 0);
    EXPECT_STREQ(buffer, "C:\\Skins\\Base");
    m.answer(kAskSkinFolder, 0, 0);  // no buffer: nothing to write
}

TEST(HostModel, NextWrapsToTheFirstEntryFromPositionZero) {
    HostModel m;
    m.next(0);  // an empty list stays put
    EXPECT_EQ(m.current, 0);
    m.addEntry("a", "");
    m.addEntry("b", "");
    m.clock.play(0);
    m.next(5000);
    EXPECT_EQ(m.current, 1);
    EXPECT_EQ(m.clock.positionMs(5100), 100);
    m.next(6000);
    EXPECT_EQ(m.current, 0);
    m.select(50);  // selected past the end: next starts over
    m.next(7000);
    EXPECT_EQ(m.current, 0);
}

TEST(HostModel, AnswersInUtf16FromVersion5AndAnOldHostOnlyInItsAnsiCodePage) {
    HostModel m;
    m.addEntry(u8"C:\\노래.mp3", u8"歌 \U0001F3A4");
    m.setSkinFolder(u8"C:\\스킨" + std::string(300, 's'));
    EXPECT_EQ(m.answer(kAskSettingsFolderW, 0, 0), 0);  // no settings folder yet
    m.setSettingsFolder(u8"C:\\설정");
    EXPECT_EQ(m.answer(kAskVersion, 0, 0), kCurrentHostVersion);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(m.answer(kAskSettingsFolderW, 0, 0))), u"C:\\설정");
    EXPECT_STREQ(reinterpret_cast<const char*>(m.answer(kAskSettingsFolder, 0, 0)), u8"C:\\설정");
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(m.answer(kAskFilePathW, 0, 0))), u"C:\\노래.mp3");
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(m.answer(kAskTitleW, 0, 0))), u"歌 \U0001F3A4");
    char16_t folder[kSkinFolderBufferSize + 4];
    std::fill(std::begin(folder), std::end(folder), u'x');
    m.answer(kAskSkinFolderW, reinterpret_cast<uintptr_t>(folder), 0);
    EXPECT_EQ(std::u16string(folder), u"C:\\스킨" + std::u16string(kSkinFolderBufferSize - 6, u's'));
    EXPECT_EQ(folder[kSkinFolderBufferSize], u'x');

    m.oldHost = 1;
    EXPECT_LT(m.answer(kAskVersion, 0, 0), 0x5000);
    EXPECT_EQ(m.answer(kAskFilePathW, 0, 0), 0);
    EXPECT_EQ(m.answer(kAskTitleW, 0, 0), 0);
    EXPECT_EQ(m.answer(kAskSettingsFolderW, 0, 0), 0);
    EXPECT_EQ(m.answer(kAskSettingsFolder, 0, 0), 0);
    folder[0] = u'x';
    m.answer(kAskSkinFolderW, reinterpret_cast<uintptr_t>(folder), 0);
    EXPECT_EQ(folder[0], u'x');
    EXPECT_STREQ(reinterpret_cast<const char*>(m.answer(kAskFilePath, 0, 0)), u8"C:\\노래.mp3");  // no code page here
}
