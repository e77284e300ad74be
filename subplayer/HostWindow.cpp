#include "subplayer/HostWindow.h"

#include <algorithm>

#include "subplayer/WinHelpers.h"

const char kHostWindowClass[] = "Winamp v1.x";

namespace {

// IPC_REGISTER_WINAMP_IPCMESSAGE, and the number this host gives "GenHotkeysAdd".
const LPARAM kRegisterMessageQuery = 65536;
const LPARAM kHotkeysAddQuery = 65600;
const DWORD kUnicodeNameFlag = 0x100;

// The service's record, as the player's public header lays it out.
struct HotkeyAddition {
    const void* name;
    DWORD flags;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const char* id;
    HWND window;
    int extended[6];
};

const UINT kParkMessage = WM_APP + 1;
const UINT kCloseMessage = WM_APP + 2;
// A plug-in that sends a query and waits for it (SendMessage) while replies are withheld stalls
// its own thread, which is also the thread that would release them: give up withholding then.
const DWORD kMaxWithholdMs = 10000;

}  // namespace

int HostWindow::registerClass() {
    static ATOM atom = 0;
    if (atom) return 1;
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = HostWindow::windowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(kHostBackground);
    wc.lpszClassName = kHostWindowClass;
    atom = RegisterClassA(&wc);
    return atom != 0;
}

HWND HostWindow::createWindow() {
    if (!registerClass()) return nullptr;
    HWND w = CreateWindowExA(0, kHostWindowClass, "Winamp", WS_POPUP, kHostLeft, kHostTop, kHostWidth, kHostHeight,
                             nullptr, nullptr, GetModuleHandleA(nullptr), this);
    if (!w) return nullptr;
    ShowWindow(w, SW_SHOWNOACTIVATE);
    UpdateWindow(w);
    return w;
}

int HostWindow::create(int ownThread) {
    destroy();
    registeredHotkeys.clear();
    hotkeysOffered = 1;
    HostModel::setAnsiConverter(ansiFromUtf8);
    if (!ownThread) {
        window = createWindow();
        return window != nullptr;
    }
    ready = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    parkedEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    releaseEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    thread = CreateThread(nullptr, 0, threadMain, this, 0, nullptr);
    if (!thread) return 0;
    WaitForSingleObject(ready, INFINITE);
    if (!window) destroy();
    return window != nullptr;
}

DWORD WINAPI HostWindow::threadMain(void* self) {
    HostWindow* host = static_cast<HostWindow*>(self);
    host->window = host->createWindow();
    SetEvent(host->ready);
    if (!host->window) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

void HostWindow::destroy() {
    release();
    if (thread) {
        if (window) PostMessageA(window, kCloseMessage, 0, 0);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        thread = nullptr;
    } else if (window) {
        DestroyWindow(window);
    }
    window = nullptr;
    for (HANDLE* h : {&ready, &parkedEvent, &releaseEvent})
        if (*h) {
            CloseHandle(*h);
            *h = nullptr;
        }
}

int HostWindow::withhold() {
    if (!thread) return 0;
    if (parked) return 1;
    ResetEvent(releaseEvent);  // a release left over from a withholding that gave up
    PostMessageA(window, kParkMessage, 0, 0);
    // Queries sent before this call are answered first: sent messages come before posted ones.
    if (WaitForSingleObject(parkedEvent, 5000) != WAIT_OBJECT_0) return 0;
    parked = 1;
    return 1;
}

void HostWindow::release() {
    if (!parked) return;
    parked = 0;
    SetEvent(releaseEvent);
}

int HostWindow::queryCount(int32_t query) {
    std::lock_guard<std::mutex> lock(mutex);
    return model.queryCount(query);
}

std::vector<HostKey> HostWindow::keys() {
    std::lock_guard<std::mutex> lock(mutex);
    return receivedKeys;
}

LRESULT CALLBACK HostWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    HostWindow* host = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return host ? host->handle(window, message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

std::vector<RegisteredHotkey> HostWindow::hotkeys() {
    std::lock_guard<std::mutex> lock(mutex);
    return registeredHotkeys;
}

int HostWindow::fireHotkey(const std::string& id) {
    RegisteredHotkey found;
    {
        std::lock_guard<std::mutex> lock(mutex);
        auto it = std::find_if(registeredHotkeys.begin(), registeredHotkeys.end(),
                               [&](const RegisteredHotkey& h) { return _stricmp(h.id.c_str(), id.c_str()) == 0; });
        if (it == registeredHotkeys.end()) return 0;
        found = *it;
    }
    return PostMessageA(found.window ? found.window : window, found.message, found.wParam, found.lParam) ? 1 : 0;
}

LRESULT HostWindow::handle(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_USER: {
        if (lParam == kRegisterMessageQuery || lParam == kHotkeysAddQuery) {
            std::lock_guard<std::mutex> lock(mutex);
            ++model.queryCounts[static_cast<int32_t>(lParam)];
            if (!hotkeysOffered || !wParam) return 0;
            if (lParam == kRegisterMessageQuery)
                return _stricmp(reinterpret_cast<const char*>(wParam), "GenHotkeysAdd") == 0 ? kHotkeysAddQuery : 0;
            const auto* added = reinterpret_cast<const HotkeyAddition*>(wParam);
            RegisteredHotkey hotkey;
            hotkey.id = added->id ? added->id : "";
            if (added->name && (added->flags & kUnicodeNameFlag))
                hotkey.name = static_cast<const wchar_t*>(added->name);
            else if (added->name)
                for (const char* c = static_cast<const char*>(added->name); *c; ++c)
                    hotkey.name += static_cast<wchar_t>(static_cast<unsigned char>(*c));
            hotkey.flags = added->flags;
            hotkey.message = added->message;
            hotkey.wParam = added->wParam;
            hotkey.lParam = added->lParam;
            hotkey.window = added->window;
            registeredHotkeys.push_back(hotkey);
            return 1;
        }
        if (int delay = replyDelayMs.load()) Sleep(delay);
        std::lock_guard<std::mutex> lock(mutex);
        return model.answer(static_cast<int32_t>(lParam), wParam, nowMs());
    }
    case WM_KEYDOWN:
    case WM_KEYUP: {
        std::lock_guard<std::mutex> lock(mutex);
        receivedKeys.push_back(HostKey{message, wParam, lParam});
        return 0;
    }
    case kParkMessage:
        // Stop retrieving messages until released: pending queries stay unanswered meanwhile.
        SetEvent(parkedEvent);
        WaitForSingleObject(releaseEvent, kMaxWithholdMs);
        return 0;
    case kCloseMessage:
        DestroyWindow(w);
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcA(w, message, wParam, lParam);
    }
}
