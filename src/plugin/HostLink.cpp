#include "plugin/HostLink.h"

#include "plugin/PlayerState.h"
#include "plugin/PluginState.h"
#include "utils/WinText.h"

namespace {

// A host on another thread that does not answer the version or the settings folder within this
// time is taken for an old one, or one that names no folder.
const UINT kVersionTimeoutMs = 2000;
const UINT kSongLengthWaitMs = 100;
// The lowest number a host gives a message it registers: below it lie its own fixed queries.
const uintptr_t kFirstRegisteredMessage = 0x10000;
// No text lies this low in memory: a reply below it is a host's "don't know", never an address.
const uintptr_t kLowestAddress = 0x10000;

// The completion of every polled query: the data is the query number, the result the host's reply.
// A host on this thread answers before the send returns; otherwise the reply arrives later through
// this thread's message handling. Either way playerState is only touched on this thread.
void CALLBACK onHostReply(HWND, UINT, ULONG_PTR query, LRESULT reply) {
    plugin.playerState.storeReply(static_cast<int32_t>(query), static_cast<intptr_t>(reply));
}

class WindowQuerySender : public HostQuerySender {
public:
    int send(int32_t query, uintptr_t wParam) override {
        return SendMessageCallbackW(plugin.hostWindow(), WM_USER, wParam, query, onHostReply, query) ? 1 : 0;
    }
};

// A query whose answer is awaited: a host on this thread answers inside the call; one on another
// thread that has not answered within timeoutMs gives 0.
uintptr_t askAndWait(int32_t query, WPARAM wParam, UINT flags, UINT timeoutMs) {
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutW(plugin.hostWindow(), WM_USER, wParam, query, flags, timeoutMs, &reply)) return 0;
    return reply;
}

uintptr_t askSettingsFolder(int32_t query) { return askAndWait(query, 0, SMTO_NORMAL, kVersionTimeoutMs); }

}  // namespace

intptr_t askHostVersion() {
    return static_cast<intptr_t>(askAndWait(kQueryVersion, 0, SMTO_NORMAL, kVersionTimeoutMs));
}

std::optional<std::string> askHostTitle(HWND hostWindow, int32_t listPosition, int wideHost) {
    // The reply points into the host's playlist: copied at once, never kept.
    if (wideHost) {
        LRESULT reply = SendMessageW(hostWindow, WM_USER, static_cast<WPARAM>(listPosition), kQueryTitleW);
        if (!reply) return std::nullopt;
        return narrow(reinterpret_cast<const wchar_t*>(reply));
    }
    LRESULT reply = SendMessageA(hostWindow, WM_USER, static_cast<WPARAM>(listPosition), kQueryTitle);
    if (!reply) return std::nullopt;
    return ansiToUtf8(reinterpret_cast<const char*>(reply), CP_ACP);
}

void pollHostAtInit() {
    plugin.playerState.setHostVersion(askHostVersion());
    WindowQuerySender sender;
    plugin.hostPoller.pollAtInit(plugin.playerState, sender);
}

void pollHostOnTick() {
    WindowQuerySender sender;
    plugin.hostPoller.pollOnTick(plugin.playerState, sender);
}

std::optional<std::string> askPlaylistTitle(int32_t listPosition) {
    HWND host = plugin.hostWindow();
    auto entry = static_cast<WPARAM>(listPosition);
    // The reply points into the host's playlist: copied at once, never kept.
    if (plugin.playerState.wideHost) {
        LRESULT reply = SendMessageW(host, WM_USER, entry, kQueryTitleW);
        if (!reply) return std::nullopt;
        return narrow(reinterpret_cast<const wchar_t*>(reply));
    }
    LRESULT reply = SendMessageA(host, WM_USER, entry, kQueryTitle);
    if (!reply) return std::nullopt;
    return ansiToUtf8(reinterpret_cast<const char*>(reply));
}

int32_t askSongLength() {
    uintptr_t seconds = askAndWait(kQueryPosition, 1, SMTO_NORMAL | SMTO_ABORTIFHUNG, kSongLengthWaitMs);
    auto length = static_cast<int32_t>(static_cast<LRESULT>(seconds));
    return length > 0 ? length : 0;
}

std::string askHostSettingsFolder() {
    if (!plugin.hostWindow()) return {};
    std::string folder;
    // The host's own buffers: copied at once, never kept.
    if (askHostVersion() >= kFirstWideSettingsFolderVersion) {
        uintptr_t wide = askSettingsFolder(kQuerySettingsFolderW);
        if (wide >= kLowestAddress) folder = narrow(reinterpret_cast<const wchar_t*>(wide));
    }
    if (folder.empty()) {
        uintptr_t ansi = askSettingsFolder(kQuerySettingsFolder);
        if (ansi >= kLowestAddress) folder = ansiToUtf8(reinterpret_cast<const char*>(ansi));
    }
    return folder;
}

void passKeyToHost(UINT message, WPARAM virtualKey, LPARAM keyData) {
    PostMessageA(plugin.hostWindow(), message, virtualKey, keyData);
}

int registerHostHotkeys(HostHotkey* hotkeys, int count) {
    static const char kServiceName[] = "GenHotkeysAdd";
    uintptr_t service = askAndWait(kQueryRegisterMessage, reinterpret_cast<WPARAM>(kServiceName),
                                   SMTO_NORMAL | SMTO_ABORTIFHUNG, kVersionTimeoutMs);
    // A host that registers no messages answers 0, or, not knowing the query, anything small.
    if (service < kFirstRegisteredMessage || service > 0x7FFFFFFFu) return 0;
    for (int i = 0; i < count; ++i)
        askAndWait(static_cast<int32_t>(service), reinterpret_cast<WPARAM>(&hotkeys[i]), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                   kVersionTimeoutMs);
    return count;
}
