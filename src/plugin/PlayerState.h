#pragma once
// The plug-in's picture of what the host plays, filled from the replies to the host queries.
#include <cstdint>

// Query numbers, sent as WM_USER messages with the number in lParam.
enum HostQuery : int32_t {
    kQueryPlayStatus = 104,
    kQueryPosition = 105,
    kQueryListPosition = 125,
    kQuerySkinFolder = 201,
    kQueryFilePath = 211,
    kQueryTitle = 212,
};

constexpr int32_t kMaxPendingReplies = 10;
constexpr int kSkinFolderSize = 260;

class PlayerState {
public:
    PlayerState();
    virtual ~PlayerState();
    PlayerState(const PlayerState&) = delete;
    PlayerState& operator=(const PlayerState&) = delete;

    // Stores one host reply by query number, then counts the reply as arrived. For 211 the
    // reply is the address of the host's NUL-terminated path (0 keeps the old file).
    void storeReply(int32_t query, intptr_t reply);

    void setCurrentFile(const char* path);
    void setLoadedFile(const char* path);
    // A fresh copy the caller releases with freeText (null when unset).
    char* currentFileCopy() const;

    int32_t pendingReplies = 0;
    int32_t positionMs = 0;
    int32_t listPosition = 9999;
    int32_t playStatus = 0;
    char* currentFile = nullptr;
    char* loadedFile = nullptr;
    char* hostSkinFolder = nullptr;  // kSkinFolderSize bytes; the host writes into it (query 201)
    char* lastHostSkinFolder = nullptr;
};

// Where the queries go: the plug-in sends window messages to the host; tests record them.
class HostQuerySender {
public:
    virtual ~HostQuerySender() = default;
    // Returns 1 when the query went out; its reply will then arrive exactly once.
    virtual int send(int32_t query, uintptr_t wParam) = 0;
};

// The polling schedule: what is asked at start-up and on every tick.
class HostPoller {
public:
    // 125, 211, 105, 104, without regard to pending replies.
    void pollAtInit(PlayerState& player, HostQuerySender& sender);
    // 125, 211, 105 on every tick with fewer than 10 replies pending; 104 and 201 on every
    // eleventh such tick. Returns 1 when queries were sent.
    int pollOnTick(PlayerState& player, HostQuerySender& sender);

    int32_t pollCounter = 0;

private:
    void send(PlayerState& player, HostQuerySender& sender, int32_t query, uintptr_t wParam);
};
