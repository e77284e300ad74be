#include "render/BannerLayout.h"

#include <cstring>

const char kBannerCaption[] = "     ---  SORVANE  v0.15b  ---  ";

namespace {

// Appends at most room bytes of text, stopping before a double-byte character that would not fit.
void appendCut(std::string& out, const char* text, size_t room, int (*isLeadByte)(unsigned char)) {
    size_t n = 0;
    for (size_t len = std::strlen(text); n < len;) {
        size_t step = isLeadByte(static_cast<unsigned char>(text[n])) && n + 1 < len ? 2 : 1;
        if (n + step > room) break;
        n += step;
    }
    out.append(text, n);
}

}  // namespace

std::string bannerText(const char* title, const char* artist, int (*isLeadByte)(unsigned char)) {
    const size_t room = kBannerTextSize - 1 - (sizeof kBannerCaption - 1);
    std::string text;
    if (title) {
        appendCut(text, title, room, isLeadByte);
        if (artist && text.size() + 3 < room) {
            text += " / ";
            appendCut(text, artist, room - text.size(), isLeadByte);
        }
    }
    return text + kBannerCaption;
}
