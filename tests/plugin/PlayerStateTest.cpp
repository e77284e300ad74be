#include "plugin/PlayerState.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

// Records the queries and, like a host on the same thread, may answer them at once.
class RecordingSender : public HostQuerySender {
public:
    explicit RecordingSender(PlayerState* answerInto = nullptr) : player(answerInto) {}
    int send(int32_t query, uintptr_t wParam) override {
        sent.emplace_back(query, wParam);
        if (player && query == kQueryListPosition) player->storeReply(query, 7);
        return hostReachable;
    }
    std::vector<int32_t> queries() const {
        std::vector<int32_t> q;
        for (auto& s : sent) q.push_back(s.first);
        return q;
    }
    PlayerState* player;
    int hostReachable = 1;
    std::vector<std::pair<int32_t, uintptr_t>> sent;
};

}  // namespace

TEST(PlayerState, PositionNeverStepsBackByLessThan500Ms) {
    PlayerState p;
    for (int reply : {1000, 900, 950}) p.storeReply(kQueryPosition, reply);
    EXPECT_EQ(p.positionMs, 1000);
    p.storeReply(kQueryPosition, 400);  // 600 back: a seek
    EXPECT_EQ(p.positionMs, 400);
    p.storeReply(kQueryPosition, 2000000000);  // growing replies are always taken
    EXPECT_EQ(p.positionMs, 2000000000);
    p.storeReply(kQueryPosition, -2000000000);  // a jump back across the whole range, no overflow
    EXPECT_EQ(p.positionMs, -2000000000);
}

// Code page 1252 for the bytes these tests use: 0xE9 is "é".
std::u16string decodeLatin1(std::string_view ansi) {
    std::u16string out;
    for (char c : ansi) out += static_cast<char16_t>(static_cast<unsigned char>(c));
    return out;
}

TEST(PlayerState, StoresRepliesByQueryAndCountsEveryReply) {
    PlayerState p(decodeLatin1);
    p.pendingReplies = 6;
    p.storeReply(kQueryPlayStatus, 3);
    p.storeReply(kQueryListPosition, 4);
    char path[] = "C:\\Music\\Caf\xE9.mp3";  // an old host's path, in its ANSI code page
    p.storeReply(kQueryFilePath, reinterpret_cast<intptr_t>(path));
    path[0] = 'D';                    // the state keeps its own copy
    p.storeReply(kQueryFilePath, 0);  // no such entry: the old file stays
    p.storeReply(kQuerySkinFolder, 12345);
    p.storeReply(999, 12345);
    EXPECT_EQ(p.playStatus, 3);
    EXPECT_EQ(p.listPosition, 4);
    EXPECT_EQ(p.currentFile, std::u16string(u"C:\\Music\\Caf\u00E9.mp3"));
    EXPECT_EQ(p.pendingReplies, 0);
}

TEST(PlayerState, AWideHostNamesFilesInUtf16AndNamesDifferingOnlyInOtherScriptsDiffer) {
    PlayerState p;
    p.setHostVersion(0x5066);
    EXPECT_EQ(p.fileQuery(), kQueryFilePathW);
    char16_t first[] = u"C:\\\uC0AC\uB791\U0001F3A4.mp3";
    p.storeReply(kQueryFilePathW, reinterpret_cast<intptr_t>(first));
    first[3] = u'x';
    p.loadedFile = p.currentFile;
    EXPECT_EQ(p.currentFile, std::u16string(u"C:\\\uC0AC\uB791\U0001F3A4.mp3"));
    char16_t other[] = u"c:\\\uC0AC\uB792\U0001F3A4.MP3";  // one Hangul syllable apart
    p.storeReply(kQueryFilePathW, reinterpret_cast<intptr_t>(other));
    EXPECT_FALSE(sameName(p.loadedFile, p.currentFile));
    char16_t sameInCapitals[] = u"c:\\\uC0AC\uB791\U0001F3A4.MP3";
    p.storeReply(kQueryFilePathW, reinterpret_cast<intptr_t>(sameInCapitals));
    EXPECT_TRUE(sameName(p.loadedFile, p.currentFile));
    EXPECT_FALSE(sameName(p.loadedFile, std::nullopt));  // nothing reported equals nothing

    PlayerState old;
    old.setHostVersion(0x2091);
    EXPECT_EQ(old.fileQuery(), kQueryFilePath);
    EXPECT_EQ(old.skinFolderQuery(), kQuerySkinFolder);
}

TEST(PlayerState, SkinFolderArrivesAsUtf8FromEitherBufferAndAnUnansweredWideQueryFallsBack) {
    PlayerState p(decodeLatin1);
    p.setHostVersion(0x5066);
    ASSERT_EQ(p.skinFolderQuery(), kQuerySkinFolderW);
    auto* wide = reinterpret_cast<char16_t*>(p.skinFolderBuffer());
    std::u16string folder = u"C:\\Skins\\\u30B9\u30AD\u30F3";
    std::copy(folder.begin(), folder.end() + 1, wide);
    p.storeReply(kQuerySkinFolderW, 1);
    EXPECT_EQ(p.hostSkinFolder, u8"C:\\Skins\\スキン");

    // A host that leaves the buffer as it was sent does not know the query: 201 from then on.
    p.skinFolderBuffer();
    p.storeReply(kQuerySkinFolderW, 1);
    EXPECT_EQ(p.hostSkinFolder, u8"C:\\Skins\\スキン");
    ASSERT_EQ(p.skinFolderQuery(), kQuerySkinFolder);
    auto* ansi = reinterpret_cast<char*>(p.skinFolderBuffer());
    std::memset(ansi, 'x', kSkinFolderSize);  // not terminated: read no further than the buffer
    p.storeReply(kQuerySkinFolder, 0);
    EXPECT_EQ(p.hostSkinFolder, std::string(kSkinFolderSize, 'x'));
    std::strcpy(ansi, "D:\\Caf\xE9");
    p.storeReply(kQuerySkinFolder, 0);
    EXPECT_EQ(p.hostSkinFolder, u8"D:\\Café");
}

TEST(HostPoller, InitAsksFourQueriesWithoutLookingAtPendingReplies) {
    PlayerState p;
    p.pendingReplies = 50;
    RecordingSender s;
    HostPoller().pollAtInit(p, s);
    EXPECT_EQ(s.queries(), (std::vector<int32_t>{125, 211, 105, 104}));
    EXPECT_EQ(s.sent[1].second, 9999u);
    EXPECT_EQ(p.pendingReplies, 54);
}

TEST(HostPoller, FileQueryUsesTheListPositionAnsweredInTheSameBurst) {
    PlayerState p;
    RecordingSender s(&p);
    HostPoller().pollOnTick(p, s);
    EXPECT_EQ(s.sent[1], std::make_pair(int32_t{211}, uintptr_t{7}));
}

TEST(HostPoller, AsksStatusAndSkinOnEveryEleventhTickInTheHostsOwnQueries) {
    PlayerState p;
    RecordingSender s;
    HostPoller poller;
    for (int tick = 1; tick <= 22; ++tick) {
        s.sent.clear();
        poller.pollOnTick(p, s);
        p.pendingReplies = 0;
        bool eleventh = tick % 11 == 0;
        EXPECT_EQ(s.sent.size(), eleventh ? 5u : 3u) << "tick " << tick;
        if (eleventh) {
            EXPECT_EQ(s.queries(), (std::vector<int32_t>{125, 211, 105, 104, 201}));
        }
    }
    PlayerState wide;
    wide.setHostVersion(0x5000);
    HostPoller widePoller;
    for (int tick = 1; tick <= 11; ++tick) {
        s.sent.clear();
        widePoller.pollOnTick(wide, s);
        wide.pendingReplies = 0;
    }
    EXPECT_EQ(s.queries(), (std::vector<int32_t>{125, 214, 105, 104, 1201}));
}

TEST(HostPoller, SendsNothingAndStandsStillWhileTenRepliesArePending) {
    PlayerState p;
    RecordingSender s;
    HostPoller poller;
    poller.pollOnTick(p, s);  // 3 pending
    p.pendingReplies = 10;
    s.sent.clear();
    for (int i = 0; i < 30; ++i) EXPECT_EQ(poller.pollOnTick(p, s), 0);
    EXPECT_TRUE(s.sent.empty());
    EXPECT_EQ(poller.pollCounter, 1);
    p.pendingReplies = 9;  // one reply arrives: polling resumes
    EXPECT_EQ(poller.pollOnTick(p, s), 1);
    EXPECT_EQ(poller.pollCounter, 2);
    EXPECT_EQ(p.pendingReplies, 12);
}

TEST(HostPoller, AQueryThatCannotBeSentIsNotCountedAsPending) {
    PlayerState p;
    RecordingSender s;
    s.hostReachable = 0;
    HostPoller poller;
    for (int i = 0; i < 20; ++i) poller.pollOnTick(p, s);
    EXPECT_EQ(p.pendingReplies, 0);
    EXPECT_EQ(s.sent.size(), 20u * 3 + 2u);  // polling goes on, for when the host comes back
}
