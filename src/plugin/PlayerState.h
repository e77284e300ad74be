#pragma once
// The plug-in's picture of what the host plays, filled from the replies to the host queries.
//
// Names come from the host in UTF-16 (a host of version 0x5000 or later) or in the system's ANSI
// code page (older hosts); either way they are kept in UTF-16 at once, so that two songs whose
// names differ only in characters the ANSI code page lacks never compare equal.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Query numbers, sent as WM_USER messages with the number in lParam (plugin/HostLink.h sends them).
enum HostQuery : int32_t {
    kQueryVersion = 0,
    kQueryPlayStatus = 104,
    kQueryPosition = 105,  // wParam 0: the playing position in ms; wParam 1: the song's length in seconds
    kQueryListPosition = 125,
    kQuerySkinFolder = 201,
    kQueryFilePath = 211,
    kQueryTitle = 212,
    kQueryTitleW = 213,
    kQueryFilePathW = 214,
    kQuerySettingsFolder = 335,
    kQuerySkinFolderW = 1201,
    kQuerySettingsFolderW = 1335,
    // wParam names a message (ANSI text); the host answers its number, from 65536 up, or 0 when it
    // registers none.
    kQueryRegisterMessage = 65536,
};

// Hosts from this version on answer the wide queries (213, 214, 1201), and from the second one on
// also 1335.
constexpr int32_t kFirstWideHostVersion = 0x5000;
constexpr int32_t kFirstWideSettingsFolderVersion = 0x5058;
constexpr int32_t kMaxPendingReplies = 10;
// Both skin folder buffers hold this many units (bytes for 201, UTF-16 units for 1201).
constexpr int kSkinFolderSize = 260;
// Written into the wide skin folder buffer before each 1201 query: a host that leaves it there
// does not know the query (a noncharacter, never the first unit of a path).
constexpr char16_t kUnansweredMark = 0xFFFF;

// A text in the system's ANSI code page as UTF-16. The plug-in's converts with the platform.
using AnsiDecoder = std::u16string (*)(std::string_view ansi);

// Whether two names are both present and equal after turning ASCII a-z into A-Z.
bool sameName(const std::optional<std::u16string>& a, const std::optional<std::u16string>& b);
bool sameName(const std::optional<std::string>& a, const std::string& b);

class PlayerState {
public:
    explicit PlayerState(AnsiDecoder decodeAnsi = nullptr);
    virtual ~PlayerState() = default;
    PlayerState(const PlayerState&) = delete;
    PlayerState& operator=(const PlayerState&) = delete;

    // The reply to the version query decides which queries name the file, the title and the skin.
    void setHostVersion(intptr_t version);

    // Stores one host reply by query number, then counts the reply as arrived. For 211 and 214
    // the reply is the address of the host's NUL-terminated path (0 keeps the old file); for 201
    // and 1201 the host has written the folder into the buffer handed over with the query.
    void storeReply(int32_t query, intptr_t reply);

    int32_t fileQuery() const { return wideHost ? kQueryFilePathW : kQueryFilePath; }
    int32_t skinFolderQuery() const { return wideSkinFolder ? kQuerySkinFolderW : kQuerySkinFolder; }
    // The buffer the skin folder query hands the host (the wide one marked as unanswered first).
    uintptr_t skinFolderBuffer();

    AnsiDecoder decodeAnsi;
    int32_t pendingReplies = 0;
    int32_t positionMs = 0;
    int32_t listPosition = 9999;
    int32_t playStatus = 0;
    int wideHost = 0;        // the host answers 213 and 214
    int wideSkinFolder = 0;  // the host answers 1201 (until it leaves one unanswered)
    std::optional<std::u16string> currentFile;
    std::optional<std::u16string> loadedFile;  // what the lyrics were last looked up for
    std::string hostSkinFolder;                // UTF-8, "" until the host reports one
    std::optional<std::string> lastHostSkinFolder;

private:
    char skinFolderAnsi[kSkinFolderSize] = {};
    char16_t skinFolderWide[kSkinFolderSize] = {};
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
    // 125, the file, 105, 104, without regard to pending replies.
    void pollAtInit(PlayerState& player, HostQuerySender& sender);
    // 125, the file, 105 on every tick with fewer than 10 replies pending; 104 and the skin folder
    // on every eleventh such tick. Returns 1 when queries were sent.
    int pollOnTick(PlayerState& player, HostQuerySender& sender);

    int32_t pollCounter = 0;

private:
    void send(PlayerState& player, HostQuerySender& sender, int32_t query, uintptr_t wParam);
};
