#include "plugin/PlayerState.h"

#include <gtest/gtest.h>

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

TEST(PlayerState, StoresRepliesByQueryAndCountsEveryReply) {
    PlayerState p;
    p.pendingReplies = 6;
    p.storeReply(kQueryPlayStatus, 3);
    p.storeReply(kQueryListPosition, 4);
    char path[] = "C:\\Music\\a.mp3";
    p.storeReply(kQueryFilePath, reinterpret_cast<intptr_t>(path));
    path[0] = 'D';  // the state keeps its own copy
    p.storeReply(kQueryFilePath, 0);  // no such entry: the old file stays
    p.storeReply(kQuerySkinFolder, 12345);
    p.storeReply(999, 12345);
    EXPECT_EQ(p.playStatus, 3);
    EXPECT_EQ(p.listPosition, 4);
    EXPECT_STREQ(p.currentFile, "C:\\Music\\a.mp3");
    EXPECT_EQ(p.pendingReplies, 0);
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

TEST(HostPoller, AsksStatusAndSkinOnEveryEleventhTick) {
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
            EXPECT_EQ(s.sent[4].second, reinterpret_cast<uintptr_t>(p.hostSkinFolder));
        }
    }
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
