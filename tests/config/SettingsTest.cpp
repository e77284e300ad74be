#include "config/Settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "config/ProfileStore.h"

namespace {

// An INI section in memory, recording the order of writes.
class MemoryStore : public ProfileStore {
public:
    int32_t readInt(const char* key, int32_t fallback) override {
        auto it = values.find(key);
        return it == values.end() ? fallback : std::stoi(it->second);
    }
    std::string readString(const char* key) override {
        auto it = values.find(key);
        return it == values.end() ? "" : it->second;
    }
    void writeString(const char* key, const std::string& value) override {
        values[key] = value;
        written.push_back(key);
    }
    std::map<std::string, std::string> values;
    std::vector<std::string> written;
};

}  // namespace

TEST(Settings, DefaultsAreTheDocumentedOnes) {
    Settings s;
    EXPECT_EQ(s.FontName, u8"ＭＳ Ｐゴシック");
    EXPECT_EQ(s.LyricsPath, std::nullopt);
    EXPECT_EQ(s.Winamp_y, 45);
    EXPECT_EQ(s.Fin_Start, -40);
    EXPECT_EQ(s.ColorB3, 6618980);
    EXPECT_EQ(s.ColorTCOLOR, 3289650);
}

TEST(Settings, FirstSaveWritesTheFontNameTheIntegersInOrderAndTheLanguage) {
    Settings s;
    MemoryStore store;
    s.saveToIni(store);
    ASSERT_EQ(store.written.size(), 44u);
    EXPECT_EQ(store.written.front(), "FontName");
    EXPECT_EQ(store.written[1], "FontSize");
    EXPECT_EQ(store.written[16], "Winamp_x");
    EXPECT_EQ(store.written[31], "ColorTCOLOR");
    EXPECT_EQ(store.written[32], "GlobalOffset");
    EXPECT_EQ(store.written[33], "OnlineLyrics");
    EXPECT_EQ(store.written[36], "SecondRowSize");
    EXPECT_EQ(store.values["OnlineLyrics"], "0");  // nothing is sent until the user agrees
    EXPECT_EQ(store.written.back(), "Language");
    EXPECT_EQ(store.values["Fin_End"], "-20");
    EXPECT_EQ(store.values["Language"], "auto");
}

TEST(Settings, LoadKeepsFieldsWhoseKeysAreMissingOrEmpty) {
    Settings s;
    s.SkinPath = "C:\\skin.bmp";
    MemoryStore store;
    store.values = {{"SkinPath", ""}, {"LyricsPath", "D:\\Lyrics"}, {"height", "30"}, {"Effects", "-7"}};
    s.loadFromIni(store);
    EXPECT_EQ(s.SkinPath, "C:\\skin.bmp");
    EXPECT_EQ(s.LyricsPath, "D:\\Lyrics");
    EXPECT_EQ(s.height, 30);
    EXPECT_EQ(s.Effects, -7);  // loaded as it stands, no range test
    EXPECT_EQ(s.width, 245);
}

TEST(Settings, TheOutputDelayIsReadWithinFiveSecondsEitherWay) {
    for (auto [stored, read] : {std::pair{"250", 250}, {"-5000", -5000}, {"99999", 5000}, {"-2147483648", -5000}}) {
        Settings s;
        MemoryStore store;
        store.values = {{"GlobalOffset", stored}};
        s.loadFromIni(store);
        EXPECT_EQ(s.GlobalOffset, read) << stored;
    }
}

TEST(Settings, RowKeysOutOfTheirRangeReadAsTheNearestSoundValue) {
    struct Stored {
        const char *rows, *secondRow, *size;
        int32_t readRows, readSecondRow, readSize;
    };
    for (const Stored& k : {Stored{"2", "1", "65", 2, 1, 65}, Stored{"0", "-1", "49", 1, 0, 50},
                            Stored{"7", "3", "2147483647", 2, 0, 100}, Stored{"-2147483648", "2", "-5", 1, 2, 50}}) {
        Settings s;
        MemoryStore store;
        store.values = {{"Rows", k.rows}, {"SecondRow", k.secondRow}, {"SecondRowSize", k.size}, {"height", "80"}};
        s.loadFromIni(store);
        EXPECT_EQ(s.Rows, k.readRows) << k.rows;
        EXPECT_EQ(s.SecondRow, k.readSecondRow) << k.secondRow;
        EXPECT_EQ(s.SecondRowSize, k.readSize) << k.size;
        EXPECT_EQ(barWindowHeight(s), 80 * k.readRows);
    }
    Settings absurd;
    absurd.Rows = 2;
    absurd.height = 2000000000;
    EXPECT_EQ(barWindowHeight(absurd), INT32_MAX) << "no overflow";
}

TEST(Settings, TheDesktopWindowsSettingsAreReadWithinTheirRanges) {
    Settings s;
    MemoryStore store;
    store.values = {{"Window", "7"},           {"Locked", "-1"},       {"Desktop_x", "-2147483648"},
                    {"Desktop_y", "99999999"}, {"Desktop_width", "0"}, {"DesktopBack", "250"}};
    s.loadFromIni(store);
    EXPECT_EQ(s.Window, kBarWindow) << "an unknown mode is the bar";
    EXPECT_EQ(s.Locked, 1);
    EXPECT_EQ(s.Desktop_x, -kDesktopPlaceLimit);
    EXPECT_EQ(s.Desktop_y, kDesktopPlaceLimit);
    EXPECT_EQ(s.Desktop_width, kMinDesktopWidth);
    EXPECT_EQ(s.DesktopBack, 100);
}

TEST(Settings, TheLanguageIsReadInAnyLetterCaseAndAnythingUnknownIsAutomatic) {
    Settings s;
    MemoryStore store;
    store.values = {{"Language", " EN "}};
    s.loadFromIni(store);
    EXPECT_EQ(s.Language, LanguageChoice::English);
    store.values = {};  // a missing key leaves it
    s.loadFromIni(store);
    EXPECT_EQ(s.Language, LanguageChoice::English);
    store.values = {{"Language", "fr"}};
    s.loadFromIni(store);
    EXPECT_EQ(s.Language, LanguageChoice::Automatic);
    store.values = {{"Language", "Ja"}};
    s.loadFromIni(store);
    EXPECT_EQ(s.Language, LanguageChoice::Japanese);
}

TEST(Settings, CopyFromMakesAnIndependentDeepCopy) {
    Settings source, target;
    source.OtherWinClass = "Notepad";
    target.LyricsPath = "old";
    source.Effects = 5;
    source.Language = LanguageChoice::Japanese;
    target.copyFrom(source);
    EXPECT_EQ(target.LyricsPath, std::nullopt);  // an unset source unsets the target
    ASSERT_NE(target.OtherWinClass, std::nullopt);
    EXPECT_NE(target.OtherWinClass->data(), source.OtherWinClass->data());
    EXPECT_NE(target.FontName->data(), source.FontName->data());
    EXPECT_EQ(target.OtherWinClass, "Notepad");
    EXPECT_EQ(target.Effects, 5);
    EXPECT_EQ(target.Language, LanguageChoice::Japanese);
    target.copyFrom(target);  // copying onto itself keeps everything
    EXPECT_EQ(target.OtherWinClass, "Notepad");
}
