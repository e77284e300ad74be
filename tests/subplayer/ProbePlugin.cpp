// A small general purpose plug-in for testing the substitute player: it answers init, config and
// quit, queries the host, opens a message box on request, and runs a bar-like window of class
// "SorvaneVis" with a 16 ms multimedia-timer tick, key forwarding, a right-click menu and a
// property sheet captioned "設定". Built in three forms: normal, with a wrong descriptor version
// (PROBE_VERSION) and without the export (PROBE_NO_EXPORT). The environment variable
// SUBPLAYER_PROBE holds its orders: "box-at-init", "fail-init", "crash-on-timer-thread" (its
// first tick faults on the multimedia timer's thread).
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <atomic>
#include <cstring>
#include <vector>

#include "ProbeReport.h"

#ifndef PROBE_VERSION
#define PROBE_VERSION 16
#endif

namespace {

struct Descriptor {
    int version;
    const char* description;
    int (*init)();
    void (*config)();
    void (*quit)();
    HWND hostWindow;
    HINSTANCE module;
};

int init();
void config();
void quit();

Descriptor descriptor = {PROBE_VERSION, "Probe plug-in", init, config, quit, nullptr, nullptr};
ProbeReport report = {};
HWND bar = nullptr;
UINT timer = 0;
std::atomic<int> tickQueued{0};
int crashOnTimerThread = 0;
int configRequested = 0, configRunning = 0;

const char kSettings[] = "\x90\xdd\x92\xe8";          // 設定
const char kSettingsItem[] = "\x90\xdd\x92\xe8(&P)";  // 設定(&P)
const int kSettingsCommand = 40003;
const int kBarWidth = 64, kBarHeight = 16;

int ordered(const char* order) {
    char orders[256] = "";
    GetEnvironmentVariableA("SUBPLAYER_PROBE", orders, sizeof orders);
    return std::strstr(orders, order) != nullptr;
}

intptr_t ask(int query, WPARAM wParam) { return SendMessageA(descriptor.hostWindow, WM_USER, wParam, query); }

void CALLBACK onReply(HWND, UINT, ULONG_PTR query, LRESULT reply) {
    ++report.completed;
    if (query == 105) report.lastPositionReply = static_cast<long>(reply);
}

void CALLBACK onTimer(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
    if (crashOnTimerThread) *static_cast<volatile int*>(nullptr) = 1;
    int idle = 0;
    if (tickQueued.compare_exchange_strong(idle, 1)) PostMessageA(bar, WM_TIMER, 0, 0);
}

void paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT left = {0, 0, kBarWidth / 2, kBarHeight}, right = {kBarWidth / 2, 0, kBarWidth, kBarHeight};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &left, red);
    FillRect(dc, &right, blue);
    DeleteObject(red);
    DeleteObject(blue);
    EndPaint(window, &ps);
}

void showMenu(HWND window, LPARAM lParam) {
    POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(window, &p);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, kSettingsCommand, kSettingsItem);
    TrackPopupMenuEx(menu, TPM_RIGHTBUTTON, p.x - 8, p.y - 8, window, nullptr);
    DestroyMenu(menu);
}

LRESULT CALLBACK barProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: paint(window); return 0;
    case WM_TIMER: {
        ++report.ticks;
        for (int query : {125, 105}) {
            ++report.sent;
            SendMessageCallbackA(descriptor.hostWindow, WM_USER, 0, query, onReply, query);
        }
        // The frame of this tick: the last position reply as the colour of the top-left corner.
        HDC dc = GetDC(window);
        RECT corner = {0, 0, 4, 4};
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(report.lastPositionReply) & 0xFFFFFF);
        FillRect(dc, &corner, brush);
        DeleteObject(brush);
        ReleaseDC(window, dc);
        tickQueued = 0;
        return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP: PostMessageA(descriptor.hostWindow, message, wParam, lParam); return 0;
    case WM_CHAR:
        if (wParam == 'b') MessageBoxA(window, "tick box", "Probe", MB_OK);
        return 0;
    case WM_RBUTTONDOWN: showMenu(window, lParam); return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kSettingsCommand) {
            configRequested = 1;
            config();
        }
        return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

INT_PTR CALLBACK pageProc(HWND, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        UINT code = reinterpret_cast<NMHDR*>(lParam)->code;
        if (code == static_cast<UINT>(PSN_APPLY)) report.sheetResult = 1;
        if (code == static_cast<UINT>(PSN_RESET)) report.sheetResult = 0;
    }
    return FALSE;
}

// One empty page from an in-memory template: a DLGTEMPLATE, then no menu, the default class and
// an empty title, all in 16-bit words.
void runSheet(HWND owner) {
    std::vector<DWORD> storage(32, 0);
    DLGTEMPLATE* page = reinterpret_cast<DLGTEMPLATE*>(storage.data());
    page->style = WS_CHILD | DS_CONTROL;
    page->cx = 120;
    page->cy = 40;
    PROPSHEETPAGEA pageSheet = {};
    pageSheet.dwSize = sizeof pageSheet;
    pageSheet.dwFlags = PSP_DLGINDIRECT;
    pageSheet.pResource = page;
    pageSheet.pfnDlgProc = pageProc;
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hwndParent = owner;
    header.hInstance = descriptor.module;
    header.pszCaption = kSettings;
    header.nPages = 1;
    header.ppsp = &pageSheet;
    ++report.sheetsRun;
    PropertySheetA(&header);
}

int init() {
    ++report.initCalls;
    report.sheetResult = -1;
    report.hostWindowGiven = IsWindow(descriptor.hostWindow);
    report.moduleGiven = descriptor.module != nullptr;
    if (ordered("fail-init")) return 1;
    crashOnTimerThread = ordered("crash-on-timer-thread");
    if (ordered("box-at-init")) MessageBoxA(descriptor.hostWindow, "probe \x93\xfa\x96\x7b\x8c\xea", "Probe", MB_OK);

    report.listPosition = static_cast<int32_t>(ask(125, 0));
    if (const char* path = reinterpret_cast<const char*>(ask(211, report.listPosition)))
        lstrcpynA(report.filePath, path, sizeof report.filePath);
    if (const char* title = reinterpret_cast<const char*>(ask(212, report.listPosition)))
        lstrcpynA(report.title, title, sizeof report.title);
    report.positionMs = static_cast<int32_t>(ask(105, 0));
    report.playStatus = static_cast<int32_t>(ask(104, 0));
    std::memset(report.skinFolder, 'x', sizeof report.skinFolder);
    ask(201, reinterpret_cast<WPARAM>(report.skinFolder));
    report.skinFolderTerminated = std::memchr(report.skinFolder, 0, sizeof report.skinFolder) != nullptr;
    report.version = ask(0, 0);
    if (const wchar_t* path = reinterpret_cast<const wchar_t*>(ask(214, report.listPosition)))
        lstrcpynW(report.wideFilePath, path, 260);
    if (const wchar_t* title = reinterpret_cast<const wchar_t*>(ask(213, report.listPosition)))
        lstrcpynW(report.wideTitle, title, 260);
    for (wchar_t& unit : report.wideSkinFolder) unit = L'x';
    ask(1201, reinterpret_cast<WPARAM>(report.wideSkinFolder));

    InitCommonControls();
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = barProc;
    wc.hInstance = descriptor.module;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "SorvaneVis";
    RegisterClassA(&wc);
    RECT host;
    GetWindowRect(descriptor.hostWindow, &host);
    bar = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "SorvaneVis", descriptor.description, WS_POPUP | WS_VISIBLE,
                          host.left + 21, host.top + 40, kBarWidth, kBarHeight, nullptr, nullptr, descriptor.module,
                          nullptr);
    if (!bar) return 1;
    UpdateWindow(bar);
    timer = timeSetEvent(16, 1, onTimer, 0, TIME_PERIODIC);
    return 0;
}

void config() {
    ++report.configCalls;
    if (!configRequested && bar) {
        PostMessageA(bar, WM_COMMAND, kSettingsCommand, 0);
        return;
    }
    configRequested = 0;
    if (configRunning) return;
    configRunning = 1;
    runSheet(bar ? bar : descriptor.hostWindow);
    configRunning = 0;
}

void quit() {
    ++report.quitCalls;
    if (timer) timeKillEvent(timer);
    timer = 0;
    if (bar) DestroyWindow(bar);
    bar = nullptr;
    UnregisterClassA("SorvaneVis", descriptor.module);
}

}  // namespace

#ifndef PROBE_NO_EXPORT
extern "C" __declspec(dllexport) Descriptor* winampGetGeneralPurposePlugin() { return &descriptor; }
#endif

extern "C" __declspec(dllexport) ProbeReport* probeReport() { return &report; }
