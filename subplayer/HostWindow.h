#pragma once
// The substitute host's main window, class "Winamp v1.x" like the real player's: it answers the
// plug-in's WM_USER queries from the HostModel and records the keys the plug-in passes on.
//
// Normally it lives on the caller's thread, the plug-in's thread, as in the real player: queries
// then complete before the plug-in's send returns. On a thread of its own it can withhold
// replies: that thread stops retrieving messages (any GetMessage would answer pending sent
// messages, whatever its filter), so the plug-in's completions pile up until the replies are
// released and all answered at once.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "subplayer/HostModel.h"

struct HostKey {
    UINT message;  // WM_KEYDOWN or WM_KEYUP
    WPARAM wParam;
    LPARAM lParam;
};

// A command registered with the host's global hotkeys service ("GenHotkeysAdd"), as the host
// recorded it: the key the user would bind to it sends message, wParam and lParam to window.
struct RegisteredHotkey {
    std::string id;
    std::wstring name;
    unsigned long flags = 0;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    HWND window = nullptr;  // null: the host's own window
};

extern const char kHostWindowClass[];  // "Winamp v1.x"
const int kHostLeft = 200, kHostTop = 200, kHostWidth = 275, kHostHeight = 116;
const COLORREF kHostBackground = RGB(0x28, 0x30, 0x48);

class HostWindow {
public:
    ~HostWindow() { destroy(); }

    int create(int ownThread);
    void destroy();
    HWND handle() const { return window; }
    int ownThread() const { return thread != nullptr; }

    // Runs f on the model under the host's lock (the host thread answers from it meanwhile).
    template <typename F>
    auto withModel(F f) {
        std::lock_guard<std::mutex> lock(mutex);
        return f(model);
    }
    int queryCount(int32_t query);
    std::vector<HostKey> keys();

    // Withholding needs a host thread of its own; returns 0 otherwise. It ends by itself after
    // 10 s, so that a plug-in waiting on a synchronous query cannot hang the run.
    int withhold();
    void release();
    int withheld() const { return parked; }
    // The global hotkeys service: on by default, as in the player; off, the host registers no
    // message for it, as a player without the service.
    void offerHotkeys(int on) { hotkeysOffered = on; }
    std::vector<RegisteredHotkey> hotkeys();
    // Sends the command registered as id (letter case does not count) as a pressed key would, posted.
    // Returns 0 when no such command is registered.
    int fireHotkey(const std::string& id);
    // Each query waits this long before its answer (on the plug-in's thread when the host
    // shares it, which then stalls the plug-in: a slow host).
    void setReplyDelay(int ms) { replyDelayMs = ms; }

private:
    static int registerClass();
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static DWORD WINAPI threadMain(void* self);
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND createWindow();

    HWND window = nullptr;
    HANDLE thread = nullptr;
    HANDLE ready = nullptr;  // the host thread has created its window (or failed to)
    HANDLE parkedEvent = nullptr;
    HANDLE releaseEvent = nullptr;
    int parked = 0;
    std::atomic<int> replyDelayMs{0};
    std::mutex mutex;
    HostModel model;
    std::vector<HostKey> receivedKeys;
    std::atomic<int> hotkeysOffered{1};
    std::vector<RegisteredHotkey> registeredHotkeys;
};
