// The playlist title asked of the host (plugin/HostLink.h): the wide query of a wide host, the ANSI
// one of an older host, each answered on the host's own thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "plugin/HostLink.h"

namespace {

const char kAnsiHostTitle[] = "\x96\xe9\x96\xbe\x82\xaf";  // "夜明け" in code page 932
const wchar_t kWideHostTitle[] = L"\uC0AC\uB791 \U0001F3A4";  // "사랑 🎤"
// Texts outside code page 932 stay out of the test macros, which would quote them in that code page.
const std::string kWideHostTitleUtf8 = u8"사랑 🎤";

WPARAM askedListPosition = 0;
LPARAM askedQuery = 0;

LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER && (lParam == 212 || lParam == 213)) {
        askedListPosition = wParam;
        askedQuery = lParam;
        if (wParam != 7) return 0;
        return lParam == 213 ? reinterpret_cast<LRESULT>(kWideHostTitle) : reinterpret_cast<LRESULT>(kAnsiHostTitle);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND createHostWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = hostWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"SorvaneTitleTestHost";
    RegisterClassW(&windowClass);
    return CreateWindowW(L"SorvaneTitleTestHost", L"host", 0, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(HostLink, AsksAWideHostForTheWideTitleAndAnOldOneForTheAnsiTitle) {
    ASSERT_EQ(GetACP(), 932u);
    HWND host = createHostWindow();
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(askHostTitle(host, 7, 0), std::optional<std::string>(u8"夜明け"));
    EXPECT_EQ(askedQuery, 212);
    EXPECT_EQ(askedListPosition, 7u);

    EXPECT_EQ(askHostTitle(host, 7, 1), std::optional<std::string>(kWideHostTitleUtf8));
    EXPECT_EQ(askedQuery, 213);
    EXPECT_EQ(askHostTitle(host, 3, 1), std::nullopt);
    DestroyWindow(host);
}
