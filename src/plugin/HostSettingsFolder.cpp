#include "plugin/HostSettingsFolder.h"

#include "plugin/PluginState.h"
#include "plugin/PlayerState.h"
#include "utils/WinText.h"

namespace {

const LPARAM kQuerySettingsFolder = 335;    // char*, the ANSI code page
const LPARAM kQuerySettingsFolderW = 1335;  // wchar_t*
const intptr_t kFirstWideSettingsFolderVersion = 0x5058;
// A host on another thread that does not answer within this time names no folder.
const UINT kReplyTimeoutMs = 2000;
// No text lies this low in memory: a reply below it is a host's "don't know", never an address.
const uintptr_t kLowestAddress = 0x10000;

uintptr_t ask(LPARAM query) {
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutW(plugin.hostWindow(), WM_USER, 0, query, SMTO_NORMAL, kReplyTimeoutMs, &reply)) return 0;
    return reply;
}

}  // namespace

std::string askHostSettingsFolder() {
    if (!plugin.hostWindow()) return {};
    std::string folder;
    // The host's own buffers: copied at once, never kept.
    if (static_cast<intptr_t>(ask(kQueryVersion)) >= kFirstWideSettingsFolderVersion) {
        uintptr_t wide = ask(kQuerySettingsFolderW);
        if (wide >= kLowestAddress) folder = narrow(reinterpret_cast<const wchar_t*>(wide));
    }
    if (folder.empty()) {
        uintptr_t ansi = ask(kQuerySettingsFolder);
        if (ansi >= kLowestAddress) folder = ansiToUtf8(reinterpret_cast<const char*>(ansi));
    }
    return folder;
}
