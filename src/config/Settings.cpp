#include "config/Settings.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "config/ProfileStore.h"
#include "utils/OutputDelay.h"

const char kDefaultFontName[] =
    "\xEF\xBC\xAD\xEF\xBC\xB3\x20\xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF";

const char kDefaultLyricsServer[] = "https://lrclib.net";

namespace {

// The integer keys in the order they are written, with the field each one names.
struct IntegerKey {
    const char* key;
    int32_t Settings::*field;
};

const IntegerKey kIntegerKeys[] = {
    {"FontSize", &Settings::FontSize},
    {"Fade_in", &Settings::Fade_in},
    {"Fin_Start", &Settings::Fin_Start},
    {"Fin_End", &Settings::Fin_End},
    {"Fout_Start", &Settings::Fout_Start},
    {"Fout_End", &Settings::Fout_End},
    {"Lset", &Settings::Lset},
    {"Wset", &Settings::Wset},
    {"Red_Line", &Settings::Red_Line},
    {"Disp_Kra", &Settings::Disp_Kra},
    {"Not_Disp_NoKra", &Settings::Not_Disp_NoKra},
    {"Wait_Vsync", &Settings::Wait_Vsync},
    {"Move_with_Winamp", &Settings::Move_with_Winamp},
    {"Direct", &Settings::Direct},
    {"TimeType", &Settings::TimeType},
    {"Winamp_x", &Settings::Winamp_x},
    {"Winamp_y", &Settings::Winamp_y},
    {"width", &Settings::width},
    {"height", &Settings::height},
    {"Effects", &Settings::Effects},
    {"ColorA1", &Settings::ColorA1},
    {"ColorA2", &Settings::ColorA2},
    {"ColorA3", &Settings::ColorA3},
    {"ColorB1", &Settings::ColorB1},
    {"ColorB2", &Settings::ColorB2},
    {"ColorB3", &Settings::ColorB3},
    {"ColorL1", &Settings::ColorL1},
    {"ColorL2", &Settings::ColorL2},
    {"ColorL3", &Settings::ColorL3},
    {"ColorBACK", &Settings::ColorBACK},
    {"ColorTCOLOR", &Settings::ColorTCOLOR},
    {"GlobalOffset", &Settings::GlobalOffset},
    {"OnlineLyrics", &Settings::OnlineLyrics},
    {"Rows", &Settings::Rows},
    {"SecondRow", &Settings::SecondRow},
    {"SecondRowSize", &Settings::SecondRowSize},
    {"Window", &Settings::Window},
    {"Desktop_x", &Settings::Desktop_x},
    {"Desktop_y", &Settings::Desktop_y},
    {"Desktop_width", &Settings::Desktop_width},
    {"Locked", &Settings::Locked},
    {"DesktopBack", &Settings::DesktopBack},
};

struct StringKey {
    const char* key;
    std::optional<std::string> Settings::*field;
};

// Save and copy order.
const StringKey kStringKeys[] = {
    {"LyricsPath", &Settings::LyricsPath},       {"DownloadPath", &Settings::DownloadPath},
    {"LyricsServer", &Settings::LyricsServer},   {"SkinPath", &Settings::SkinPath},
    {"FontName", &Settings::FontName},           {"OtherWinName", &Settings::OtherWinName},
    {"OtherWinClass", &Settings::OtherWinClass},
};

void loadString(Settings& s, ProfileStore& store, std::optional<std::string> Settings::*field, const char* key) {
    std::string value = store.readString(key);
    if (!value.empty()) s.*field = value;
}

bool isPlacementKey(int32_t Settings::*field) {
    return field == &Settings::Winamp_x || field == &Settings::Winamp_y || field == &Settings::width ||
           field == &Settings::height;
}

// The row keys change the bar's size and what it draws: a value out of their range reads as the
// nearest sound one (an unknown SecondRow as the next line).
void clampRowSettings(Settings& s) {
    s.Rows = s.Rows >= 2 ? 2 : 1;
    if (s.SecondRow < kNextLineRow || s.SecondRow > kRomanisationRow) s.SecondRow = kNextLineRow;
    if (s.SecondRowSize < kMinSecondRowSize) s.SecondRowSize = kMinSecondRowSize;
    if (s.SecondRowSize > kMaxSecondRowSize) s.SecondRowSize = kMaxSecondRowSize;
}

}  // namespace

int32_t barWindowHeight(const Settings& settings) { return barWindowHeight(settings.height, settings.Rows); }

int32_t barWindowHeight(int32_t rowHeight, int32_t rows) {
    int64_t height = int64_t{rowHeight} * (rows == 2 ? 2 : 1);
    if (height > INT32_MAX) return INT32_MAX;
    if (height < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(height);
}

void clampDesktopSettings(Settings& s) {
    s.Window = s.Window == kDesktopWindow ? kDesktopWindow : kBarWindow;
    s.Locked = s.Locked ? 1 : 0;
    s.Desktop_x = std::clamp(s.Desktop_x, -kDesktopPlaceLimit, kDesktopPlaceLimit);
    s.Desktop_y = std::clamp(s.Desktop_y, -kDesktopPlaceLimit, kDesktopPlaceLimit);
    s.Desktop_width = std::clamp(s.Desktop_width, kMinDesktopWidth, kMaxDesktopWidth);
    s.DesktopBack = std::clamp(s.DesktopBack, 0, 100);
}

Settings::Settings() : FontName(kDefaultFontName) {}

Settings::~Settings() = default;

void Settings::copyFrom(const Settings& source) {
    if (&source == this) return;
    for (const StringKey& k : kStringKeys) this->*k.field = source.*k.field;
    for (const IntegerKey& k : kIntegerKeys) this->*k.field = source.*k.field;
    Language = source.Language;
}

int Settings::loadFromIni(ProfileStore& store) {
    // Read order: position and size, the strings, then the other integers in their write order.
    Winamp_x = store.readInt("Winamp_x", Winamp_x);
    Winamp_y = store.readInt("Winamp_y", Winamp_y);
    width = store.readInt("width", width);
    height = store.readInt("height", height);
    loadString(*this, store, &Settings::LyricsPath, "LyricsPath");
    loadString(*this, store, &Settings::DownloadPath, "DownloadPath");
    loadString(*this, store, &Settings::LyricsServer, "LyricsServer");
    loadString(*this, store, &Settings::SkinPath, "SkinPath");
    loadString(*this, store, &Settings::FontName, "FontName");
    loadString(*this, store, &Settings::OtherWinName, "OtherWinName");
    loadString(*this, store, &Settings::OtherWinClass, "OtherWinClass");
    for (const IntegerKey& k : kIntegerKeys)
        if (!isPlacementKey(k.field)) this->*k.field = store.readInt(k.key, this->*k.field);
    GlobalOffset = clampGlobalOffset(GlobalOffset);
    clampRowSettings(*this);
    clampDesktopSettings(*this);
    std::string language = store.readString("Language");
    if (!language.empty() && !parseLanguageChoice(language, Language)) Language = LanguageChoice::Automatic;
    return 1;
}

int Settings::saveToIni(ProfileStore& store) const {
    for (const StringKey& k : kStringKeys)
        if (this->*k.field) store.writeString(k.key, *(this->*k.field));
    for (const IntegerKey& k : kIntegerKeys) {
        char number[16];
        std::snprintf(number, sizeof number, "%d", static_cast<int>(this->*k.field));
        store.writeString(k.key, number);
    }
    store.writeString("Language", languageChoiceName(Language));
    return 1;
}
