#pragma once
// Every user setting of the plug-in, each field named exactly as its INI key.
// Strings are UTF-8; an unset one (nullopt) differs from the empty text: its key is neither read
// into it nor written from it.
// Colours are 0x00BBGGRR colour references; times are hundredths of a second.
#include <cstdint>
#include <optional>
#include <string>

#include "utils/UiText.h"

class ProfileStore;

// The modes some settings choose. The fields stay plain numbers, as the INI file holds them: a
// value no mode stands for behaves as the first mode.

// Lset: what the bar shows while the song has no lyrics.
enum NoLyricsShow : int32_t {
    kShowTitle = 0,    // the title banner
    kShowNothing = 1,  // the background alone
    kHideBar = 2,      // the bar hides
};

// Wset: how a line wider than the bar scrolls.
enum ScrollMode : int32_t {
    kScrollWithWipe = 0,  // the wipe front stays in the middle
    kScrollHalfway = 1,   // halfway between the wipe front and the steady position
    kScrollSteadily = 2,  // at constant speed through the line, whatever the wipe does
};

// Effects: the gradient laid over every frame; a double-click on the bar steps to the next one.
enum BarEffect : int32_t {
    kNoEffect = 0,
    kBackgroundBelow = 1,     // the lower half washed into ColorBACK
    kBackgroundGradient = 2,  // the whole height graded into ColorBACK
    kDarkThirds = 3,          // the top and bottom thirds darkened
    kDarkHalves = 4,          // the top and bottom halves darkened
    kWhiteBelow = 5,          // the lower half tinted white, blue, green or red
    kBlueBelow = 6,
    kGreenBelow = 7,
    kRedBelow = 8,
    kLastEffect = kRedBelow,
};

// SecondRow: what the second row shows with Rows 2.
enum SecondRowShow : int32_t {
    kNextLineRow = 0,      // lines alternate between the rows; the other one shows the next line
    kTranslationRow = 1,   // the sung line's translation under it
    kRomanisationRow = 2,  // the sung line's romanisation under it
};

// The bar's rows: Rows is 1 or 2, SecondRowSize a percentage of the first row's text height.
constexpr int32_t kMinSecondRowSize = 50, kMaxSecondRowSize = 100;

// Window: where the lyrics are shown.
enum WindowMode : int32_t {
    kBarWindow = 0,      // the bar on the player (or the window picked to follow)
    kDesktopWindow = 1,  // a see-through window of its own on the desktop, always on top
};

// The desktop window's limits: a width in pixels at 96 DPI, a place in screen pixels (whatever
// the INI file says, the window is then brought onto a screen).
constexpr int32_t kMinDesktopWidth = 100;
constexpr int32_t kMaxDesktopWidth = 10000;
constexpr int32_t kDesktopPlaceLimit = 100000;

class Settings {
public:
    Settings();
    virtual ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    // Makes this record an independent deep copy of source.
    void copyFrom(const Settings& source);

    // Reads every key from the store; a missing key or an empty string leaves the field as it is.
    int loadFromIni(ProfileStore& store);
    // Writes every key; unset strings leave their keys in the file untouched.
    int saveToIni(ProfileStore& store) const;

    std::optional<std::string> LyricsPath;
    // Where lyrics found outside the song's folders are kept (lyrics/DownloadFolder.h); unset or
    // empty: a "Lyrics" folder beside the settings file.
    std::optional<std::string> DownloadPath;
    // The LRCLIB server asked for lyrics found nowhere on the machine, when OnlineLyrics is 1;
    // unset or empty: kDefaultLyricsServer (not written into the file, so that it can move on).
    std::optional<std::string> LyricsServer;
    std::optional<std::string> SkinPath;
    std::optional<std::string> OtherWinName;
    std::optional<std::string> OtherWinClass;
    std::optional<std::string> FontName;  // kDefaultFontName until the file names another
    int32_t FontSize = 16;
    int32_t Fade_in = 1;
    int32_t Fin_Start = -40;
    int32_t Fin_End = -20;
    int32_t Fout_Start = 120;
    int32_t Fout_End = 160;
    int32_t Lset = 0;
    int32_t Wset = 1;
    int32_t Red_Line = 1;
    int32_t Disp_Kra = 1;
    int32_t Not_Disp_NoKra = 1;
    int32_t Wait_Vsync = 0;
    int32_t Move_with_Winamp = 1;
    int32_t Direct = 1;
    int32_t TimeType = 1;
    int32_t Winamp_x = 21;
    int32_t Winamp_y = 45;
    int32_t width = 245;
    int32_t height = 18;
    int32_t Effects = 0;
    // The bar is Rows times height tall: one row, or two (SecondRow, SecondRowSize).
    int32_t Rows = 1;
    int32_t SecondRow = kNextLineRow;
    int32_t SecondRowSize = 80;
    int32_t ColorA1 = 0x0A0A0A;
    int32_t ColorA2 = 0x787878;
    int32_t ColorA3 = 0xFFFFFF;
    int32_t ColorB1 = 0x050A05;
    int32_t ColorB2 = 0x326432;
    int32_t ColorB3 = 0x64FF64;
    int32_t ColorL1 = 0x080A08;
    int32_t ColorL2 = 0x506E50;
    int32_t ColorL3 = 0x0000FF;
    int32_t ColorBACK = 0x000000;
    int32_t ColorTCOLOR = 0x323232;
    // The output device's delay in ms, on top of every song (utils/OutputDelay.h); read within
    // its range.
    int32_t GlobalOffset = 0;
    // 1: a song without lyrics anywhere on the machine is looked up on LyricsServer, sending its
    // title, artist, album and length. Off until the user agrees.
    int32_t OnlineLyrics = 0;
    // The desktop window (Window 1): its place in screen pixels, its width in pixels at 96 DPI
    // (its height follows height, scaled likewise), whether it lets clicks through (1), and the
    // background's opacity in percent. All read within their ranges.
    int32_t Window = kBarWindow;
    int32_t Desktop_x = 160;
    int32_t Desktop_y = 760;
    int32_t Desktop_width = 960;
    int32_t Locked = 0;
    int32_t DesktopBack = 0;
    // The interface language: "auto", "ja" or "en" in the file; another value reads as auto.
    LanguageChoice Language = LanguageChoice::Automatic;
};

// The bar window's height: height for each row, cut to the 32-bit range.
int32_t barWindowHeight(const Settings& settings);
// The same for rows `rowHeight` pixels high, `rows` of them (anything but 2 is one).
int32_t barWindowHeight(int32_t rowHeight, int32_t rows);

// Brings the desktop window's settings within their ranges: Window and Locked to one of their
// values (anything unknown is the bar, unlocked), the place, width and opacity to their limits.
void clampDesktopSettings(Settings& settings);

// The public LRCLIB service.
extern const char kDefaultLyricsServer[];

// "ＭＳ Ｐゴシック" in UTF-8.
extern const char kDefaultFontName[];
