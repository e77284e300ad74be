#include "subplayer/HostModel.h"

#include <algorithm>
#include <cstring>

#include "utils/Utf.h"

namespace {

std::string (*ansiConverter)(const std::string&) = nullptr;

std::string ansiForm(const std::string& utf8) { return ansiConverter ? ansiConverter(utf8) : utf8; }

// Copies text into a skin folder buffer, cut to fit and terminated.
template <typename Text>
void writeTerminated(typename Text::value_type* buffer, const Text& text) {
    size_t n = std::min(text.size(), kSkinFolderBufferSize - 1);
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), buffer);
    buffer[n] = 0;
}

}  // namespace

void HostModel::setAnsiConverter(std::string (*convert)(const std::string& utf8)) { ansiConverter = convert; }

void HostModel::addEntry(const std::string& path, const std::string& title) {
    entries.push_back(Entry{path, title, utf8ToUtf16(path), utf8ToUtf16(title), ansiForm(path), ansiForm(title)});
}

void HostModel::setLastEntryLength(int32_t seconds) {
    if (!entries.empty()) entries.back().lengthSeconds = seconds;
}

void HostModel::setSettingsFolder(const std::string& folder) {
    settingsFolder = folder;
    ansiSettingsFolder = ansiForm(folder);
    wideSettingsFolder = utf8ToUtf16(folder);
}

void HostModel::select(int32_t index) { current = index; }

void HostModel::next(uint64_t nowMs) {
    if (entries.empty()) return;
    current = current + 1 >= static_cast<int32_t>(entries.size()) || current < 0 ? 0 : current + 1;
    clock.seek(0, nowMs);
}

intptr_t HostModel::answer(int32_t query, uintptr_t wParam, uint64_t nowMs) {
    ++queryCounts[query];
    switch (query) {
    case kAskVersion: return oldHost ? kOldHostVersion : kCurrentHostVersion;
    case kAskPlayStatus: return clock.status();
    case kAskPosition:
        // wParam 1: the current song's length in seconds.
        if (wParam == 1)
            return current >= 0 && current < static_cast<int32_t>(entries.size()) ? entries[current].lengthSeconds : -1;
        return clock.positionMs(nowMs);
    case kAskListPosition: return current;
    case kAskFilePath:
    case kAskTitle: {
        if (wParam >= entries.size()) return 0;
        const Entry& e = entries[wParam];
        return reinterpret_cast<intptr_t>(query == kAskFilePath ? e.ansiPath.c_str() : e.ansiTitle.c_str());
    }
    case kAskFilePathW:
    case kAskTitleW: {
        if (oldHost || wParam >= entries.size()) return 0;
        const Entry& e = entries[wParam];
        return reinterpret_cast<intptr_t>(query == kAskFilePathW ? e.widePath.c_str() : e.wideTitle.c_str());
    }
    case kAskSkinFolder:
        if (wParam) writeTerminated(reinterpret_cast<char*>(wParam), ansiForm(skinFolder));
        return 0;
    case kAskSkinFolderW:
        if (wParam && !oldHost) writeTerminated(reinterpret_cast<char16_t*>(wParam), utf8ToUtf16(skinFolder));
        return 0;
    case kAskSettingsFolder:
        if (oldHost || settingsFolder.empty()) return 0;
        return reinterpret_cast<intptr_t>(ansiSettingsFolder.c_str());
    case kAskSettingsFolderW:
        if (oldHost || settingsFolder.empty()) return 0;
        return reinterpret_cast<intptr_t>(wideSettingsFolder.c_str());
    default: return 0;
    }
}

int HostModel::queryCount(int32_t query) const {
    auto it = queryCounts.find(query);
    return it == queryCounts.end() ? 0 : it->second;
}
