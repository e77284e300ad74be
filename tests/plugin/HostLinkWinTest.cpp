// The door to the host: the queries answered at once, against a host window on the test's thread
// that answers as a wide host or an old one would.
#include "plugin/HostLink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/PluginDescriptor.h"
#include "plugin/PluginState.h"

namespace {

const char kAnsiTitle[] = "\x96\xe9\x96\xbe\x82\xaf";     // "夜明け" in code page 932
const char kAnsiFolder[] = "C:\\\x90\xdd\x92\xe8";        // "C:\設定" in code page 932
const wchar_t kWideTitle[] = L"\uC0AC\uB791 \U0001F3A4";  // "사랑 🎤"
const wchar_t kWideFolder[] = L"C:\\Users\\\uC0AC\uB791\\Winamp";
// Texts outside code page 932 stay out of the test macros, which would quote them in that code page.
const std::optional<std::string> kWideTitleUtf8 = u8"사랑 🎤";
const std::string kWideFolderUtf8 = u8"C:\\Users\\사랑\\Winamp";

// What the host answers, and what it was asked (query and wParam).
struct Host {
    intptr_t version = 0;
    LRESULT length = 0;
    const wchar_t* wideFolder = nullptr;
    LRESULT ansiFolder = 0;
    std::vector<std::pair<LPARAM, WPARAM>> asked;
} host;

LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_USER) return DefWindowProcW(window, message, wParam, lParam);
    host.asked.emplace_back(lParam, wParam);
    switch (lParam) {
    case kQueryVersion: return host.version;
    case kQueryPosition: return wParam == 1 ? host.length : 0;
    case kQueryTitle: return wParam == 7 ? reinterpret_cast<LRESULT>(kAnsiTitle) : 0;
    case kQueryTitleW: return wParam == 7 ? reinterpret_cast<LRESULT>(kWideTitle) : 0;
    case kQuerySettingsFolder: return host.ansiFolder;
    case kQuerySettingsFolderW: return reinterpret_cast<LRESULT>(host.wideFolder);
    default: return 0;
    }
}

std::vector<LPARAM> queriesAsked() {
    std::vector<LPARAM> queries;
    for (auto& [query, wParam] : host.asked) queries.push_back(query);
    host.asked.clear();
    return queries;
}

}  // namespace

TEST(HostLink, AsksAWideHostInUtf16AndAnOldOneInItsCodePageAndTakesNonsenseForNothing) {
    ASSERT_EQ(GetACP(), 932u);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = hostWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"SorvaneHostLinkTestHost";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(windowClass.lpszClassName, L"host", 0, 0, 0, 10, 10, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    pluginDescriptor.hostWindow = window;

    // An old host: ANSI replies, converted from its code page; the wide settings folder is not asked.
    host.version = 0x2091;
    host.ansiFolder = reinterpret_cast<LRESULT>(kAnsiFolder);
    plugin.playerState.setHostVersion(askHostVersion());
    EXPECT_EQ(askPlaylistTitle(7), std::optional<std::string>(u8"夜明け"));
    EXPECT_EQ(host.asked.back(), std::make_pair(LPARAM{kQueryTitle}, WPARAM{7}));
    EXPECT_EQ(askPlaylistTitle(3), std::nullopt);  // no such entry
    queriesAsked();
    EXPECT_EQ(askHostSettingsFolder(), u8"C:\\設定");
    EXPECT_EQ(queriesAsked(), (std::vector<LPARAM>{kQueryVersion, kQuerySettingsFolder}));

    // A wide host: UTF-16 replies, characters beyond the ANSI code page and the BMP kept.
    host.version = 0x5066;
    host.wideFolder = kWideFolder;
    plugin.playerState.setHostVersion(askHostVersion());
    EXPECT_EQ(askPlaylistTitle(7), kWideTitleUtf8);
    EXPECT_EQ(host.asked.back().first, kQueryTitleW);
    queriesAsked();
    EXPECT_EQ(askHostSettingsFolder(), kWideFolderUtf8);
    EXPECT_EQ(queriesAsked(), (std::vector<LPARAM>{kQueryVersion, kQuerySettingsFolderW}));
    // Without a wide answer the ANSI query is asked; a small number there is no address but "don't know".
    host.wideFolder = nullptr;
    host.ansiFolder = 1;
    EXPECT_EQ(askHostSettingsFolder(), "");
    EXPECT_EQ(queriesAsked(), (std::vector<LPARAM>{kQueryVersion, kQuerySettingsFolderW, kQuerySettingsFolder}));

    // The song's length: the position's query with wParam 1; a negative answer is no length.
    host.length = 245;
    EXPECT_EQ(askSongLength(), 245);
    EXPECT_EQ(host.asked.back(), std::make_pair(LPARAM{kQueryPosition}, WPARAM{1}));
    host.length = -1;
    EXPECT_EQ(askSongLength(), 0);

    pluginDescriptor.hostWindow = nullptr;
    EXPECT_EQ(askHostSettingsFolder(), "");  // before the host is known nothing is asked
    plugin.playerState.setHostVersion(0);
    DestroyWindow(window);
}
