#include "plugin/PlayerState.h"

#include "utils/Text.h"

PlayerState::PlayerState() : hostSkinFolder(new char[kSkinFolderSize]()) {}

PlayerState::~PlayerState() {
    freeText(currentFile);
    freeText(loadedFile);
    freeText(hostSkinFolder);
    freeText(lastHostSkinFolder);
}

void PlayerState::storeReply(int32_t query, intptr_t reply) {
    switch (query) {
    case kQueryPlayStatus:
        playStatus = static_cast<int32_t>(reply);
        break;
    case kQueryPosition: {
        // The position never steps back by less than 500 ms: small backward jitter is dropped,
        // a real seek backwards is taken.
        int32_t position = static_cast<int32_t>(reply);
        if (position >= positionMs || static_cast<int64_t>(positionMs) - position >= 500) positionMs = position;
        break;
    }
    case kQueryListPosition:
        listPosition = static_cast<int32_t>(reply);
        break;
    case kQueryFilePath:
        if (reply != 0) setCurrentFile(reinterpret_cast<const char*>(reply));
        break;
    default:
        break;
    }
    --pendingReplies;
}

void PlayerState::setCurrentFile(const char* path) { assignString(currentFile, path); }

void PlayerState::setLoadedFile(const char* path) { assignString(loadedFile, path); }

char* PlayerState::currentFileCopy() const { return copyText(currentFile); }

void HostPoller::send(PlayerState& player, HostQuerySender& sender, int32_t query, uintptr_t wParam) {
    // Count the reply as pending first: a host on the same thread answers inside the send.
    ++player.pendingReplies;
    // A query that could not be sent never gets its reply: do not wait for it.
    if (!sender.send(query, wParam)) --player.pendingReplies;
}

void HostPoller::pollAtInit(PlayerState& player, HostQuerySender& sender) {
    send(player, sender, kQueryListPosition, 0);
    send(player, sender, kQueryFilePath, static_cast<uintptr_t>(player.listPosition));
    send(player, sender, kQueryPosition, 0);
    send(player, sender, kQueryPlayStatus, 0);
}

int HostPoller::pollOnTick(PlayerState& player, HostQuerySender& sender) {
    if (player.pendingReplies >= kMaxPendingReplies) return 0;
    send(player, sender, kQueryListPosition, 0);
    // The list position as stored now: a same-thread host has already answered 125.
    send(player, sender, kQueryFilePath, static_cast<uintptr_t>(player.listPosition));
    send(player, sender, kQueryPosition, 0);
    if (++pollCounter > 10) {
        pollCounter = 0;
        send(player, sender, kQueryPlayStatus, 0);
        send(player, sender, kQuerySkinFolder, reinterpret_cast<uintptr_t>(player.hostSkinFolder));
    }
    return 1;
}
