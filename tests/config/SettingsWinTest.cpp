// The settings record against real INI files through the platform's private-profile calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "config/PrivateProfileStore.h"
#include "config/Settings.h"
#include "utils/Text.h"

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
    std::string fileText() const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
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
    PrivateProfileStore store(path.c_str(), kSection);
    s.loadFromIni(store);
    Settings defaults;
    EXPECT_EQ(s.LyricsPath, nullptr);
    EXPECT_STREQ(s.FontName, defaults.FontName);
    EXPECT_EQ(s.Winamp_x, 21);
    EXPECT_EQ(s.Fout_End, 160);
    EXPECT_EQ(s.ColorA3, 0xFFFFFF);
}

TEST_F(SettingsIni, FirstSaveWritesFontNameAndIntegersButNoPathOrWindowKeys) {
    Settings s;
    PrivateProfileStore store(path.c_str(), kSection);
    s.saveToIni(store);
    std::string text = fileText();
    EXPECT_NE(text.find("[Sorvane v0.15b by KEDO]"), std::string::npos);
    EXPECT_NE(text.find("FontName=" + std::string(s.FontName)), std::string::npos);
    EXPECT_NE(text.find("Fin_Start=-40"), std::string::npos);
    EXPECT_EQ(text.find("LyricsPath"), std::string::npos);
    EXPECT_EQ(text.find("OtherWin"), std::string::npos);
    EXPECT_EQ(countLines(text), 1 + 32);
}

TEST_F(SettingsIni, SavedValuesComeBackIncludingNegativesAndEmptyPaths) {
    Settings saved;
    saved.Fin_Start = -101;
    saved.Winamp_x = -300;
    saved.ColorBACK = -1;
    assignString(saved.LyricsPath, "");  // a path the user emptied
    assignString(saved.SkinPath, "C:\\skins\\bar.bmp");
    PrivateProfileStore store(path.c_str(), kSection);
    saved.saveToIni(store);

    Settings loaded;
    assignString(loaded.LyricsPath, "kept");
    loaded.loadFromIni(store);
    EXPECT_EQ(loaded.Fin_Start, -101);
    EXPECT_EQ(loaded.Winamp_x, -300);
    EXPECT_EQ(loaded.ColorBACK, -1);
    EXPECT_STREQ(loaded.SkinPath, "C:\\skins\\bar.bmp");
    EXPECT_STREQ(loaded.LyricsPath, "kept");  // an empty value never clears a set string

    Settings fresh;
    fresh.loadFromIni(store);
    EXPECT_EQ(fresh.LyricsPath, nullptr);  // and leaves an unset one unset
}

TEST_F(SettingsIni, LongStringValuesAreCutTo259Bytes) {
    std::string longValue(300, 'x');
    writeKey("SkinPath", longValue.c_str());
    Settings s;
    PrivateProfileStore store(path.c_str(), kSection);
    s.loadFromIni(store);
    ASSERT_NE(s.SkinPath, nullptr);
    EXPECT_EQ(std::string(s.SkinPath), longValue.substr(0, 259));
}

TEST_F(SettingsIni, GarbageIntegersAreTakenAsThePlatformReadsThem) {
    writeKey("height", "abc");
    writeKey("width", "12px");
    Settings s;
    PrivateProfileStore store(path.c_str(), kSection);
    s.loadFromIni(store);
    EXPECT_EQ(s.height, 0);
    EXPECT_EQ(s.width, 12);
}
