#include "subplayer/SubstitutePlayer.h"

#include <algorithm>

#include "subplayer/BarInput.h"
#include "subplayer/WinHelpers.h"

namespace {

const char kDriverClass[] = "SubplayerDriver";
const UINT kTickDoneMessage = WM_APP + 10;
const UINT_PTR kDriverTimer = 1;
const UINT kDriverPeriodMs = 10;

// The one player of this thread, for the message hook.
thread_local SubstitutePlayer* hookedPlayer = nullptr;

std::string quoted(const std::string& ansi) {
    std::string out = "\"";
    for (char c : utf8FromAnsi(ansi)) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else
            out += c;
    }
    return out + "\"";
}

}  // namespace

int SubstitutePlayer::start(int hostOwnThread, std::string& error) {
    startMs = nowMs();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = driverProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kDriverClass;
    RegisterClassA(&wc);  // fails harmlessly when a previous player registered it
    driver = CreateWindowExA(0, kDriverClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!driver) {
        error = "cannot create the player's driver window";
        return 0;
    }
    SetWindowLongPtrA(driver, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetTimer(driver, kDriverTimer, kDriverPeriodMs, nullptr);
    hookedPlayer = this;
    hook = SetWindowsHookExA(WH_GETMESSAGE, getMessageHook, nullptr, GetCurrentThreadId());
    if (!hostWindow.create(hostOwnThread)) {
        error = "cannot create the host window";
        return 0;
    }
    note(std::string("host window ready") + (hostOwnThread ? " on its own thread" : ""));
    return 1;
}

SubstitutePlayer::~SubstitutePlayer() {
    shutDown();
    for (const std::string& temporary : temporaryFolders) removeFolderTree(temporary);
}

void SubstitutePlayer::shutDown() {
    if (plugin.loaded()) {
        if (initCalled && !quitCalled) quit();
        runFor(50);  // let what quit posted (repaints, quit messages) arrive while the host lives
        unload();
    }
    hostWindow.destroy();
    if (hook) UnhookWindowsHookEx(hook);
    hook = nullptr;
    if (hookedPlayer == this) hookedPlayer = nullptr;
    if (driver) DestroyWindow(driver);
    driver = nullptr;
    timerJob = nullptr;
}

int SubstitutePlayer::loadPlugin(const std::string& dllPath, std::string& error) {
    if (!plugin.load(dllPath, hostWindow.handle(), error)) {
        note("load failed: " + utf8FromAnsi(error));
        return 0;
    }
    initCalled = quitCalled = 0;
    layeredTap.attach(plugin.library());
    note("loaded " + quoted(dllPath) + ", " +
         quoted(plugin.descriptor()->description ? plugin.descriptor()->description : ""));
    return 1;
}

int SubstitutePlayer::loadPluginCopy(const std::string& dllPath, std::string& error, const std::string& parent) {
    if (!makeFreshFolder(folder, parent)) {
        error = "cannot make a fresh folder for " + dllPath;
        return 0;
    }
    if (parent.empty()) temporaryFolders.push_back(folder);
    size_t slash = dllPath.find_last_of("\\/");
    std::string copy = joinPath(folder, slash == std::string::npos ? dllPath : dllPath.substr(slash + 1));
    if (!CopyFileA(dllPath.c_str(), copy.c_str(), FALSE)) {
        error = "cannot copy " + dllPath + " to " + copy + " (error " + std::to_string(GetLastError()) + ")";
        return 0;
    }
    return loadPlugin(copy, error);
}

int SubstitutePlayer::init() {
    initCalled = 1;
    note("init");
    int result = plugin.init();
    note("init returned " + std::to_string(result));
    RECT r;
    if (HWND b = bar(); b && GetWindowRect(b, &r))
        note("bar at " + std::to_string(r.left) + "," + std::to_string(r.top) + " size " +
             std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top));
    return result;
}

void SubstitutePlayer::config() {
    note("config");
    plugin.config();
    note("config returned");
}

void SubstitutePlayer::quit() {
    quitCalled = 1;
    note("quit");
    plugin.quit();
    note("quit returned");
}

int SubstitutePlayer::uninstall() {
    note("uninstall");
    int result = plugin.uninstall(hostWindow.handle());
    note("uninstall returned " + std::to_string(result));
    if (result == kUninstallNow) {
        if (initCalled && !quitCalled) quit();
        unload();
    }
    return result;
}

void SubstitutePlayer::unload() {
    if (!plugin.loaded()) return;
    layeredTap.detach();
    plugin.unload();
    knownBar = nullptr;
    note("unloaded");
}

HWND SubstitutePlayer::bar() const { return findBarWindow(); }

uint64_t SubstitutePlayer::elapsedMs() const { return nowMs() - startMs; }

void SubstitutePlayer::note(const std::string& utf8Line) {
    record.log.push_back(std::to_string(elapsedMs()) + " " + utf8Line);
}

void SubstitutePlayer::runFor(int ms) {
    runUntil([] { return false; }, ms);
}

int SubstitutePlayer::runUntil(const std::function<bool()>& done, int timeoutMs) {
    const uint64_t deadline = nowMs() + static_cast<uint64_t>(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        if (done()) return 1;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The plug-in posts quit messages (its bar's close and destroy); the real host
                // would end. The player records them and goes on with the run.
                ++record.quitMessages;
                note("quit message");
                continue;
            }
            TranslateMessage(&msg);
            dispatch(msg);
            if (done()) return 1;
        }
        uint64_t now = nowMs();
        if (now >= deadline) return done();
        DWORD wait = static_cast<DWORD>(std::min<uint64_t>(deadline - now, kDriverPeriodMs));
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

void SubstitutePlayer::timeTicks(int on) {
    timingTicks = on;
    layeredTap.keepPictures(!on);
    if (on) {
        tickTimes.clear();
        tickUpdateTimes.clear();
    }
}

void SubstitutePlayer::dispatch(const MSG& msg) {
    // The message hook has already seen this message, so a tick to the bar finds knownBar set.
    if (!timingTicks || msg.message != WM_TIMER || !msg.hwnd || msg.hwnd != knownBar) {
        DispatchMessageA(&msg);
        return;
    }
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    layeredTap.takeUpdateMs();
    QueryPerformanceCounter(&begin);
    DispatchMessageA(&msg);
    QueryPerformanceCounter(&end);
    tickTimes.push_back(static_cast<double>(end.QuadPart - begin.QuadPart) * 1000.0 /
                        static_cast<double>(frequency.QuadPart));
    tickUpdateTimes.push_back(layeredTap.takeUpdateMs());
}

int SubstitutePlayer::waitTicks(int n, int timeoutMs) {
    const long target = ticksDone + n;
    return runUntil([this, target] { return ticksDone >= target; }, timeoutMs);
}

LRESULT CALLBACK SubstitutePlayer::getMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    SubstitutePlayer* player = hookedPlayer;
    if (code == HC_ACTION && wParam == PM_REMOVE && player) {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg->message == WM_TIMER && msg->hwnd && msg->hwnd != player->driver) {
            if (msg->hwnd != player->knownBar && windowClassName(msg->hwnd) == kPluginBarClass)
                player->knownBar = msg->hwnd;
            // Posted now, retrieved after the tick's own handling has returned.
            if (msg->hwnd == player->knownBar) PostMessageA(player->driver, kTickDoneMessage, 0, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK SubstitutePlayer::driverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* player = reinterpret_cast<SubstitutePlayer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (player && message == WM_TIMER && wParam == kDriverTimer) {
        player->watchModalWindows();
        if (player->timerJob) player->timerJob();
        return 0;
    }
    if (player && message == kTickDoneMessage) {
        player->onTick();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void SubstitutePlayer::onTick() {
    ++ticksDone;
    if (timerJob) timerJob();
}

void SubstitutePlayer::watchModalWindows() {
    closedBoxes.erase(std::remove_if(closedBoxes.begin(), closedBoxes.end(), [](HWND w) { return !IsWindow(w); }),
                      closedBoxes.end());
    for (HWND box : openMessageBoxes()) {
        if (std::find(closedBoxes.begin(), closedBoxes.end(), box) != closedBoxes.end()) continue;
        closedBoxes.push_back(box);
        MessageBoxRecord r = closeMessageBox(box, boxAnswer);
        record.boxes.push_back(r);
        note("box caption=" + quoted(r.caption) + " text=" + quoted(r.text));
    }

    HWND sheet = findPropertySheet();
    if (sheet && sheet != lastSheet) {
        SheetRecord r;
        r.window = sheet;
        r.caption = windowText(sheet);
        HWND owner = GetWindow(sheet, GW_OWNER);
        r.owner = !owner                         ? "none"
                  : owner == bar()               ? "bar"
                  : owner == hostWindow.handle() ? "host"
                                                 : "other (" + windowClassName(owner) + ")";
        record.sheets.push_back(r);
        note("sheet opened caption=" + quoted(r.caption) + " owner=" + r.owner);
    }
    lastSheet = sheet;

    HWND menu = findPopupMenu();
    if (menu && menu != lastMenu) {
        MenuRecord r;
        RECT box;
        GetWindowRect(menu, &box);
        r.at = {box.left, box.top};
        r.items = popupMenuItems(menu);
        record.menus.push_back(r);
        std::string items;
        for (const std::string& item : r.items) items += " " + quoted(item);
        note("menu at " + std::to_string(box.left) + "," + std::to_string(box.top) + " items" + items);
    }
    lastMenu = menu;
}
