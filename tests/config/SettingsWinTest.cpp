// The settings record against real INI files through the platform's private-profile calls.
#include "config/Settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "config/PrivateProfileStore.h"
#include "utils/Utf.h"

namespace {

const char kSection[] = "Sorvane v0.15b by KEDO";

class SettingsIni : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[MAX_PATH];
        GetTempPathA(sizeof folder, folder);
        path = std::string(folder) + "sorvane-settings-test.ini";
        DeleteFileA(path.c_str());
    }
    void TearDown() override { DeleteFileA(path.c_str()); }
    std::string fileBytes() const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // The file's text in UTF-8, when it is UTF-16 LE with its mark as every save leaves it.
    std::string fileText() const {
        std::string bytes = fileBytes();
        EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
        std::u16string units((bytes.size() - 2) / 2, u'\0');
        std::memcpy(units.data(), bytes.data() + 2, units.size() * 2);
        return utf16ToUtf8(units);
    }
    void writeKey(const char* key, const char* value) {
        WritePrivateProfileStringA(kSection, key, value, path.c_str());
    }
    std::string path;
};

int countLines(const std::string& text) {
    int n = 0;
    for (char c : text) n += c == '\n';
    return n;
}

}  // namespace

TEST_F(SettingsIni, NoFileGivesAllDefaults) {
    Settings s;
    PrivateProfileStore store(path, kSection);
    s.loadFromIni(store);
    Settings defaults;
    EXPECT_EQ(s.LyricsPath, std::nullopt);
    EXPECT_EQ(s.FontName, defaults.FontName);
    EXPECT_EQ(s.Winamp_x, 21);
    EXPECT_EQ(s.Fout_End, 160);
    EXPECT_EQ(s.ColorA3, 0xFFFFFF);
}

TEST_F(SettingsIni, FirstSaveWritesFontNameAndIntegersButNoPathOrWindowKeys) {
    Settings s;
    PrivateProfileStore store(path, kSection);
    s.saveToIni(store);
    std::string text = fileText();
    EXPECT_NE(text.find("[Sorvane v0.15b by KEDO]"), std::string::npos);
    EXPECT_NE(text.find("FontName=" + *s.FontName), std::string::npos);
    EXPECT_NE(text.find("Fin_Start=-40"), std::string::npos);
    EXPECT_EQ(text.find("LyricsPath"), std::string::npos);
    EXPECT_EQ(text.find("OtherWin"), std::string::npos);
    EXPECT_EQ(text.find("LyricsServer"), std::string::npos);
    EXPECT_EQ(countLines(text), 1 + 44);
    EXPECT_NE(text.find("Language=auto"), std::string::npos);
}

TEST_F(SettingsIni, SavedValuesComeBackIncludingNegativesAndEmptyPaths) {
    Settings saved;
    saved.Fin_Start = -101;
    saved.Winamp_x = -300;
    saved.ColorBACK = -1;
    saved.Language = LanguageChoice::English;
    saved.LyricsPath = "";  // a path the user emptied
    saved.SkinPath = "C:\\skins\\bar.bmp";
    PrivateProfileStore store(path, kSection);
    saved.saveToIni(store);

    Settings loaded;
    loaded.LyricsPath = "kept";
    loaded.loadFromIni(store);
    EXPECT_EQ(loaded.Fin_Start, -101);
    EXPECT_EQ(loaded.Winamp_x, -300);
    EXPECT_EQ(loaded.ColorBACK, -1);
    EXPECT_EQ(loaded.Language, LanguageChoice::English);
    EXPECT_EQ(loaded.SkinPath, "C:\\skins\\bar.bmp");
    EXPECT_EQ(loaded.LyricsPath, "kept");  // an empty value never clears a set string

    Settings fresh;
    fresh.loadFromIni(store);
    EXPECT_EQ(fresh.LyricsPath, std::nullopt);  // and leaves an unset one unset
}

TEST_F(SettingsIni, LongValuesAreReadWhole) {
    // A long path cut to a buffer would name another file: values come back whole.
    std::string longValue = "C:\\" + std::string(1000, 'x') + "\\skin.bmp";
    writeKey("SkinPath", longValue.c_str());
    Settings s;
    PrivateProfileStore store(path, kSection);
    s.loadFromIni(store);
    ASSERT_NE(s.SkinPath, std::nullopt);
    EXPECT_EQ(*s.SkinPath, longValue);
}

TEST_F(SettingsIni, ANewFileIsUtf16AndKeepsNamesInAnyScript) {
    const char* lyrics = u8"D:\\가사\\歌詞\\Café \U0001F3A4";
    const char* face = u8"맑은 고딕";
    Settings saved;
    saved.LyricsPath = lyrics;
    saved.FontName = face;
    PrivateProfileStore store(path, kSection);
    saved.saveToIni(store);
    EXPECT_NE(fileText().find(std::string("LyricsPath=") + lyrics + "\r\n"), std::string::npos);
    Settings loaded;
    loaded.loadFromIni(store);
    EXPECT_EQ(loaded.LyricsPath, lyrics);
    EXPECT_EQ(loaded.FontName, face);
}

TEST_F(SettingsIni, AnAnsiFileIsReadAsItStandsAndUpgradedOnSaveWithEverythingKept) {
    // Written by an earlier version: code page 932, with a section and keys of someone else's.
    std::string ansi =
        "[Other]\r\nkey=\x83\x65\x83\x58\x83\x67\r\n\r\n[Sorvane v0.15b by KEDO]\r\n"
        "LyricsPath=C:\\\x89\xcc\x8e\x8c\r\nFin_Start=-33\r\nUnknownKey=kept\r\n";
    std::ofstream(path, std::ios::binary) << ansi;
    Settings s;
    PrivateProfileStore reader(path, kSection);
    s.loadFromIni(reader);
    EXPECT_EQ(s.LyricsPath, u8"C:\\歌詞");
    EXPECT_EQ(s.Fin_Start, -33);
    EXPECT_EQ(fileBytes(), ansi) << "reading changes nothing";

    const char* skin = u8"C:\\스킨.bmp";
    s.SkinPath = skin;
    PrivateProfileStore writer(path, kSection);
    s.saveToIni(writer);
    std::string text = fileText();
    for (const char* kept : {u8"[Other]\r\nkey=テスト\r\n", u8"LyricsPath=C:\\歌詞\r\n", "UnknownKey=kept\r\n",
                             "Fin_Start=-33\r\n", u8"SkinPath=C:\\스킨.bmp\r\n"})
        EXPECT_NE(text.find(kept), std::string::npos) << kept;
    Settings again;
    again.loadFromIni(reader);
    EXPECT_EQ(again.SkinPath, skin);
    EXPECT_EQ(again.LyricsPath, u8"C:\\歌詞");
}

TEST_F(SettingsIni, GarbageIntegersAreTakenAsThePlatformReadsThem) {
    writeKey("height", "abc");
    writeKey("width", "12px");
    Settings s;
    PrivateProfileStore store(path, kSection);
    s.loadFromIni(store);
    EXPECT_EQ(s.height, 0);
    EXPECT_EQ(s.width, 12);
}
