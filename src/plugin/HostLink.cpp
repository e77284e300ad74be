#include "plugin/HostLink.h"

#include "plugin/PluginState.h"
#include "utils/WinText.h"

namespace {

// A host on another thread that does not answer within this time is taken for an old one.
const UINT kVersionTimeoutMs = 2000;

// The completion of every query: the data is the query number, the result the host's reply. A
// host on this thread answers before the send returns; otherwise the reply arrives later through
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

void askHostVersion() {
    DWORD_PTR version = 0;
    if (!SendMessageTimeoutW(plugin.hostWindow(), WM_USER, 0, kQueryVersion, SMTO_NORMAL, kVersionTimeoutMs, &version))
        version = 0;
    plugin.playerState.setHostVersion(static_cast<intptr_t>(version));
}

}  // namespace

std::u16string decodeSystemAnsi(std::string_view ansi) {
    std::wstring wide = ansiToWide(ansi);
    return std::u16string(wide.begin(), wide.end());
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
    askHostVersion();
    WindowQuerySender sender;
    plugin.hostPoller.pollAtInit(plugin.playerState, sender);
}

void pollHostOnTick() {
    WindowQuerySender sender;
    plugin.hostPoller.pollOnTick(plugin.playerState, sender);
}
