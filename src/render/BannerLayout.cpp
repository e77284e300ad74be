#include "render/BannerLayout.h"

#include <cstring>

#include "utils/Utf.h"

const char kBannerCaption[] = "     ---  SORVANE  v0.15b  ---  ";

namespace {

// Appends at most room bytes of text, stopping before a character that would not fit whole.
void appendCut(std::string& out, const char* text, size_t room) {
    std::string_view whole(text, std::strlen(text));
    out.append(text, utf8PrefixWithin(whole, room));
}

}  // namespace

std::string bannerText(const char* title, const char* artist) {
    const size_t room = kBannerTextSize - 1 - (sizeof kBannerCaption - 1);
    std::string text;
    if (title) {
        appendCut(text, title, room);
        if (artist && text.size() + 3 < room) {
            text += " / ";
            appendCut(text, artist, room - text.size());
        }
    }
    return text + kBannerCaption;
}
