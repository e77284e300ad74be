#include "subplayer/HostModel.h"

#include <cstring>

void HostModel::addEntry(const std::string& path, const std::string& title) {
    entries.push_back(Entry{path, title});
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
    case kAskPlayStatus:
        return clock.status();
    case kAskPosition:
        return clock.positionMs(nowMs);
    case kAskListPosition:
        return current;
    case kAskFilePath:
    case kAskTitle: {
        if (wParam >= entries.size()) return 0;
        const Entry& e = entries[wParam];
        return reinterpret_cast<intptr_t>(query == kAskFilePath ? e.path.c_str() : e.title.c_str());
    }
    case kAskSkinFolder:
        if (wParam) {
            char* buffer = reinterpret_cast<char*>(wParam);
            size_t n = skinFolder.size() < kSkinFolderBufferSize - 1 ? skinFolder.size() : kSkinFolderBufferSize - 1;
            std::memcpy(buffer, skinFolder.data(), n);
            buffer[n] = '\0';
        }
        return 0;
    default:
        return 0;
    }
}

int HostModel::queryCount(int32_t query) const {
    auto it = queryCounts.find(query);
    return it == queryCounts.end() ? 0 : it->second;
}
