// The paths page: browsing for the lyrics folder and the skin, typed paths, cancel.
#include "config/SheetDriver.h"
#include "resources/ResourceIds.h"
#include "utils/WinUiText.h"

namespace {

COLORREF grey(int, int) { return RGB(90, 90, 90); }

}  // namespace

TEST_F(SheetTest, BrowsedSkinShowsBeforeTheSheetClosesAndCancelUndoesIt) {
    std::string skin = tempFile("sorvane-skin.bmp");
    writeBitmap(skin, 32, 8, grey);
    showPage(2);
    then([this] { clickLater(IDC_SKIN_BROWSE); });
    answerFileDialog(skin);
    then([this, skin] {
        ASSERT_NE(plugin.liveSettings.SkinPath, std::nullopt);
        EXPECT_STRCASEEQ(plugin.liveSettings.SkinPath->c_str(), skin.c_str());
        EXPECT_EQ(text(IDC_SKIN_PATH), plugin.liveSettings.SkinPath);
        EXPECT_TRUE(plugin.renderSurface.hasSkin());
    });
    pressCancel();
    runConfig();
    EXPECT_EQ(plugin.liveSettings.SkinPath, std::nullopt);
    EXPECT_FALSE(plugin.renderSurface.hasSkin());
    EXPECT_EQ(iniText("SkinPath"), "(missing)");
}

TEST_F(SheetTest, BrowsedLyricsFileGivesItsFolderAndTypedPathsApplyAtOnce) {
    std::string lyrics = tempFile("sorvane-song.kra");
    FILE* out = std::fopen(lyrics.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fputs("[00:01]la\n", out);
    std::fclose(out);
    std::string folder = lyrics.substr(0, lyrics.rfind('\\'));
    std::string skin = tempFile("sorvane-typed.bmp");
    writeBitmap(skin, 32, 8, grey);
    showPage(2);
    then([this] { clickLater(IDC_LYRICS_BROWSE); });
    answerFileDialog(lyrics);
    then([this, folder, skin] {
        ASSERT_NE(plugin.liveSettings.LyricsPath, std::nullopt);
        EXPECT_STRCASEEQ(plugin.liveSettings.LyricsPath->c_str(), folder.c_str());
        EXPECT_EQ(text(IDC_LYRICS_PATH), plugin.liveSettings.LyricsPath);
        setText(IDC_SKIN_PATH, skin.c_str());
        EXPECT_TRUE(plugin.renderSurface.hasSkin());
        setText(IDC_SKIN_PATH, "C:\\no-such-skin.bmp");
        EXPECT_FALSE(plugin.renderSurface.hasSkin());
        setText(IDC_LYRICS_PATH, "");  // an emptied path is kept as an empty one
    });
    pressOk();
    runConfig();
    EXPECT_EQ(plugin.liveSettings.LyricsPath, "");
    EXPECT_EQ(iniText("SkinPath"), "C:\\no-such-skin.bmp");
    EXPECT_EQ(iniText("LyricsPath"), "");
}

TEST_F(SheetTest, OnlineSearchIsOffUntilTickedAndTheDownloadFolderIsKeptAsTyped) {
    showPage(2);
    then([this] {
        EXPECT_FALSE(checked(IDC_ONLINE_LYRICS));  // a fresh settings file sends nothing
        EXPECT_EQ(text(IDC_DOWNLOAD_PATH), "");
        click(IDC_ONLINE_LYRICS);
        setText(IDC_DOWNLOAD_PATH, "D:\\Downloaded lyrics");
        EXPECT_EQ(plugin.liveSettings.OnlineLyrics, 1);
    });
    pressOk();
    runConfig();
    EXPECT_EQ(iniInt("OnlineLyrics"), 1);
    EXPECT_EQ(iniText("DownloadPath"), "D:\\Downloaded lyrics");

    showPage(2);
    then([this] {
        EXPECT_TRUE(checked(IDC_ONLINE_LYRICS));
        click(IDC_ONLINE_LYRICS);
        EXPECT_EQ(plugin.liveSettings.OnlineLyrics, 0);
    });
    pressCancel();
    runConfig();
    EXPECT_EQ(plugin.liveSettings.OnlineLyrics, 1);  // cancel takes the change back
}

TEST_F(SheetTest, ALyricsServerTheLookupRefusesIsSaidWhereGoingOnlineIsChosenInEitherLanguage) {
    struct Server {
        const char* address;
        const wchar_t* note;  // a word of the note in each language: what is wrong, or what is sent
    };
    const Server servers[] = {{"http://127.0.0.1:8080/sub/path?x=1", L"#"},
                              {"127.0.0.1:8080", L"https"},
                              {"https://lrclib.example/sub/", nullptr}};
    for (UiLanguage language : {UiLanguage::Japanese, UiLanguage::English}) {
        setActiveLanguage(language);
        for (const Server& server : servers) {
            plugin.liveSettings.LyricsServer = server.address;
            showPage(2);
            then([this, server] {
                std::wstring note = windowTextW(item(IDC_ONLINE_NOTE));
                EXPECT_EQ(note.find(L"LyricsServer") != std::wstring::npos, server.note != nullptr) << server.address;
                if (server.note) {
                    EXPECT_NE(note.find(server.note), std::wstring::npos) << server.address;
                }
            });
            pressCancel();
            runConfig();
        }
    }
    setActiveLanguage(systemUiLanguage());
}
