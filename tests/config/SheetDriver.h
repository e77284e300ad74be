#pragma once
// Drives the real property sheet the way a user would. The sheet is modal on the test's own
// thread, so the test queues steps and a thread timer runs them one per tick inside the sheet's
// message loop, or inside the loop of a colour or file dialog a page opened. Buttons that open a
// dialog are clicked by a posted message, so that the dialog's loop never runs inside a step.
//
// The fixture stands in for a running plug-in: a host window, the real bar window with its
// buffers, marked as running; runConfig() opens the sheet as the bar's settings command does.
#include <windows.h>
#include <colordlg.h>
#include <commctrl.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BitmapFile.h"
#include "plugin/BarWindow.h"
#include "plugin/PluginDescriptor.h"
#include "plugin/PluginSettings.h"
#include "plugin/PluginState.h"
#include "plugin/SettingsSheet.h"

inline std::string windowText(HWND window) {
    char buffer[512] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

inline std::wstring windowTextW(HWND window) {
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return buffer;
}

class SheetTest : public ::testing::Test {
protected:
    static constexpr RECT kHostRect = {100, 100, 375, 216};

    void SetUp() override {
        instance = GetModuleHandleA(nullptr);
        WNDCLASSA host = {};
        host.lpfnWndProc = DefWindowProcA;
        host.hInstance = instance;
        host.lpszClassName = "SorvaneTestHost";
        RegisterClassA(&host);
        hostHandle = CreateWindowExA(0, "SorvaneTestHost", "host", WS_POPUP | WS_VISIBLE, kHostRect.left, kHostRect.top,
                                     kHostRect.right - kHostRect.left, kHostRect.bottom - kHostRect.top, nullptr,
                                     nullptr, instance, nullptr);
        pluginDescriptor.hostWindow = hostHandle;
        pluginDescriptor.moduleInstance = instance;
        plugin.running = 1;
        const Settings defaults;
        plugin.liveSettings.copyFrom(defaults);
        plugin.settingsSnapshot.copyFrom(defaults);
        registerBarClass(instance);
        plugin.barWindow = createBarWindow(instance);
        plugin.applyBarSize();
        DeleteFileA(iniPath().c_str());
    }

    void TearDown() override {
        plugin.renderSurface.releaseAll();
        stopBar();
        unregisterBarClass(instance);
        plugin.attachWindow = nullptr;
        DestroyWindow(hostHandle);
        plugin.running = 0;
        DeleteFileA(iniPath().c_str());
    }

    // As before init: no bar.
    void stopBar() {
        if (plugin.barWindow) DestroyWindow(plugin.barWindow);
        plugin.barWindow = nullptr;
        // The bar's WM_DESTROY posts a quit message that would end the next modal loop.
        MSG message;
        PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }

    // Queues a step; the timer runs it until it returns true. EXPECT_* may be used inside.
    void step(std::function<bool()> s) { steps.push_back(std::move(s)); }
    void then(std::function<void()> s) {
        steps.push_back([s] {
            s();
            return true;
        });
    }
    void showPage(int index) {
        then([this, index] { SendMessageA(sheet(), PSM_SETCURSEL, index, 0); });
    }
    void pressOk() {
        then([this] { PostMessageA(sheet(), PSM_PRESSBUTTON, PSBTN_OK, 0); });
    }
    void pressCancel() {
        then([this] { PostMessageA(sheet(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0); });
    }

    // Opens the sheet through the config entry and runs the queued steps; the last one must close it.
    void runConfig() {
        activeTest = this;
        nextStep = 0;
        startTick = GetTickCount();
        UINT_PTR timer = SetTimer(nullptr, 0, 20, onTimer);
        plugin.configRequested = 1;  // as the bar's own settings command does
        config();
        KillTimer(nullptr, timer);
        activeTest = nullptr;
        EXPECT_EQ(nextStep, steps.size()) << "the sheet closed before every step ran";
        steps.clear();
    }

    // The open sheet and its current page.
    HWND sheet() const {
        return threadDialog([](HWND w) { return FindWindowExA(w, nullptr, WC_TABCONTROLA, nullptr) != nullptr; });
    }
    HWND page() const { return reinterpret_cast<HWND>(SendMessageA(sheet(), PSM_GETCURRENTPAGEHWND, 0, 0)); }
    HWND item(int id) const { return GetDlgItem(page(), id); }

    void setText(int id, const char* text) const { SetDlgItemTextA(page(), id, text); }
    std::string text(int id) const { return windowText(item(id)); }
    int32_t number(int id) const { return static_cast<int32_t>(std::stol(text(id))); }
    bool checked(int id) const { return IsDlgButtonChecked(page(), id) == BST_CHECKED; }
    void click(int id) const { SendMessageA(item(id), BM_CLICK, 0, 0); }
    // For buttons that open a modal dialog.
    void clickLater(int id) const { PostMessageA(item(id), BM_CLICK, 0, 0); }

    // Waits for the colour dialog and ends it: with OK and colour, or with Cancel when colour is -1.
    // Its title goes into title when one is given.
    void answerColourDialog(int32_t colour, std::wstring* title = nullptr) {
        step([colour, title] {
            HWND dialog = threadDialog([](HWND w) { return GetDlgItem(w, COLOR_RED) != nullptr; });
            if (!dialog) return false;
            if (title) *title = windowTextW(dialog);
            if (colour == -1) {
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                return true;
            }
            const int parts[] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
            for (int i = 0; i < 3; ++i) SetDlgItemInt(dialog, COLOR_RED + i, parts[i], FALSE);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            return true;
        });
    }

    // Waits for the open-file dialog, types path into it and presses OK (Cancel for an empty path).
    // Its title goes into title when one is given.
    void answerFileDialog(const std::string& path, std::wstring* title = nullptr) {
        step([path, title] {
            HWND dialog = threadDialog([](HWND w) { return GetDlgItem(w, edt1) || GetDlgItem(w, cmb13); });
            if (!dialog) return false;
            if (title) *title = windowTextW(dialog);
            if (path.empty()) {
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                return true;
            }
            HWND name = GetDlgItem(dialog, edt1) ? GetDlgItem(dialog, edt1) : GetDlgItem(dialog, cmb13);
            SetWindowTextA(name, path.c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            return true;
        });
    }

    static int iniInt(const char* key) {
        return static_cast<int>(GetPrivateProfileIntA(kPluginDescription, key, -12345, iniPath().c_str()));
    }
    static std::string iniText(const char* key) {
        char buffer[512] = {};
        GetPrivateProfileStringA(kPluginDescription, key, "(missing)", buffer, sizeof buffer, iniPath().c_str());
        return buffer;
    }

    // A file in the temporary folder, deleted with the test.
    std::string tempFile(const char* name) {
        char folder[MAX_PATH];
        GetTempPathA(sizeof folder, folder);
        std::string path = std::string(folder) + name;
        tempFiles.push_back(path);
        return path;
    }
    ~SheetTest() override {
        for (const std::string& path : tempFiles) DeleteFileA(path.c_str());
    }

    // A bitmap file whose pixel (x, y) is colour(x, y), a 0x00BBGGRR colour reference.
    static void writeBitmap(const std::string& path, int width, int height, COLORREF (*colour)(int, int)) {
        ASSERT_TRUE(writeBitmapFile(path, width, height, [&](int x, int y) {
            COLORREF c = colour(x, y);
            return static_cast<uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
        }));
    }

    HINSTANCE instance = nullptr;
    HWND hostHandle = nullptr;

private:
    template <typename Predicate>
    static HWND threadDialog(Predicate matches) {
        struct Search {
            Predicate* matches;
            HWND found;
        } search = {&matches, nullptr};
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND w, LPARAM p) CALLBACK -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                char name[16] = {};
                GetClassNameA(w, name, sizeof name);
                if (std::string(name) != "#32770" || !IsWindowVisible(w) || !(*s->matches)(w)) return TRUE;
                s->found = w;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (activeTest) activeTest->advance();
    }

    void advance() {
        if (inStep || nextStep >= steps.size()) return;
        inStep = true;
        if (GetTickCount() - startTick > 20000) {
            ADD_FAILURE() << "step " << nextStep << " never finished";
            nextStep = steps.size();
            HWND open = threadDialog([this](HWND w) { return w != sheet(); });
            if (open) PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(sheet(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        } else if (steps[nextStep]()) {
            ++nextStep;
        }
        inStep = false;
    }

    static inline SheetTest* activeTest = nullptr;
    std::vector<std::function<bool()>> steps;
    size_t nextStep = 0;
    DWORD startTick = 0;
    bool inStep = false;
    std::vector<std::string> tempFiles;
};
