#include "plugin/PlayerState.h"

#include "utils/Utf.h"

namespace {

char16_t upperAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

template <typename Text>
bool sameIgnoringAsciiCase(const Text& a, const Text& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upperAscii(static_cast<char16_t>(a[i])) != upperAscii(static_cast<char16_t>(b[i]))) return false;
    return true;
}

// Without a decoder only ASCII is known: every other byte becomes U+FFFD.
std::u16string decodeAsciiOnly(std::string_view ansi) {
    std::u16string out;
    for (char c : ansi) out += static_cast<unsigned char>(c) < 0x80 ? static_cast<char16_t>(c) : u'\xFFFD';
    return out;
}

template <typename Unit>
size_t boundedLength(const Unit* text, size_t limit) {
    size_t n = 0;
    while (n < limit && text[n]) ++n;
    return n;
}

}  // namespace

bool sameName(const std::optional<std::u16string>& a, const std::optional<std::u16string>& b) {
    return a && b && sameIgnoringAsciiCase(*a, *b);
}

bool sameName(const std::optional<std::string>& a, const std::string& b) { return a && sameIgnoringAsciiCase(*a, b); }

PlayerState::PlayerState(AnsiDecoder decodeAnsi) : decodeAnsi(decodeAnsi ? decodeAnsi : decodeAsciiOnly) {}

void PlayerState::setHostVersion(intptr_t version) {
    wideHost = version >= kFirstWideHostVersion ? 1 : 0;
    wideSkinFolder = wideHost;
}

uintptr_t PlayerState::skinFolderBuffer() {
    if (!wideSkinFolder) return reinterpret_cast<uintptr_t>(skinFolderAnsi);
    skinFolderWide[0] = kUnansweredMark;
    return reinterpret_cast<uintptr_t>(skinFolderWide);
}

void PlayerState::storeReply(int32_t query, intptr_t reply) {
    switch (query) {
    case kQueryPlayStatus: playStatus = static_cast<int32_t>(reply); break;
    case kQueryPosition: {
        // The position never steps back by less than 500 ms: small backward jitter is dropped,
        // a real seek backwards is taken.
        int32_t position = static_cast<int32_t>(reply);
        if (position >= positionMs || static_cast<int64_t>(positionMs) - position >= 500) positionMs = position;
        break;
    }
    case kQueryListPosition: listPosition = static_cast<int32_t>(reply); break;
    case kQueryFilePath:
        // The reply points into the host's playlist: converted at once, never kept.
        if (reply != 0) currentFile = decodeAnsi(reinterpret_cast<const char*>(reply));
        break;
    case kQueryFilePathW:
        if (reply != 0) currentFile = std::u16string(reinterpret_cast<const char16_t*>(reply));
        break;
    case kQuerySkinFolder:
        hostSkinFolder = utf16ToUtf8(decodeAnsi({skinFolderAnsi, boundedLength(skinFolderAnsi, kSkinFolderSize)}));
        break;
    case kQuerySkinFolderW:
        if (skinFolderWide[0] == kUnansweredMark) {
            // A host that does not know the wide query: ask the ANSI one from now on.
            wideSkinFolder = 0;
            break;
        }
        hostSkinFolder = utf16ToUtf8({skinFolderWide, boundedLength(skinFolderWide, kSkinFolderSize)});
        break;
    default: break;
    }
    --pendingReplies;
}

void HostPoller::send(PlayerState& player, HostQuerySender& sender, int32_t query, uintptr_t wParam) {
    // Count the reply as pending first: a host on the same thread answers inside the send.
    ++player.pendingReplies;
    // A query that could not be sent never gets its reply: do not wait for it.
    if (!sender.send(query, wParam)) --player.pendingReplies;
}

void HostPoller::pollAtInit(PlayerState& player, HostQuerySender& sender) {
    send(player, sender, kQueryListPosition, 0);
    send(player, sender, player.fileQuery(), static_cast<uintptr_t>(player.listPosition));
    send(player, sender, kQueryPosition, 0);
    send(player, sender, kQueryPlayStatus, 0);
}

int HostPoller::pollOnTick(PlayerState& player, HostQuerySender& sender) {
    if (player.pendingReplies >= kMaxPendingReplies) return 0;
    send(player, sender, kQueryListPosition, 0);
    // The list position as stored now: a same-thread host has already answered 125.
    send(player, sender, player.fileQuery(), static_cast<uintptr_t>(player.listPosition));
    send(player, sender, kQueryPosition, 0);
    if (++pollCounter > 10) {
        pollCounter = 0;
        send(player, sender, kQueryPlayStatus, 0);
        int32_t query = player.skinFolderQuery();
        send(player, sender, query, player.skinFolderBuffer());
    }
    return 1;
}
