#include "plugin/HostLink.h"

#include "plugin/Globals.h"

namespace {

HostPoller hostPoller;

// The completion of every query: the data is the query number, the result the host's reply. A
// host on this thread answers before the send returns; otherwise the reply arrives later through
// this thread's message handling. Either way playerState is only touched on this thread.
void CALLBACK onHostReply(HWND, UINT, ULONG_PTR query, LRESULT reply) {
    playerState.storeReply(static_cast<int32_t>(query), static_cast<intptr_t>(reply));
}

class WindowQuerySender : public HostQuerySender {
public:
    int send(int32_t query, uintptr_t wParam) override {
        return SendMessageCallbackA(hostWindow(), WM_USER, wParam, query, onHostReply, query) ? 1 : 0;
    }
};

}  // namespace

void pollHostAtInit() {
    WindowQuerySender sender;
    hostPoller.pollAtInit(playerState, sender);
}

void pollHostOnTick() {
    WindowQuerySender sender;
    hostPoller.pollOnTick(playerState, sender);
}
