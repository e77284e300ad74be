// The plug-in speaks the user's interface language: Japanese on a Japanese system, English
// elsewhere, or the one the Language setting names. CTest runs this suite on a Japanese system
// (e2e.Language) and on an English one (e2e.Language.en).
#include <vector>

#include "PluginRun.h"
#include "resources/ResourceIds.h"

namespace {

// What an open sheet says, read in UTF-16: its caption, its Cancel button, its seven tabs, and a
// control of three of its pages.
using SheetWords = std::vector<std::wstring>;

const SheetWords kJapanese = {L"設定",        L"キャンセル",
                              L"位置設定",    L"表示色",
                              L"パス",        L"表示設定",
                              L"表示設定２",  L"フェード設定",
                              L"バージョン",  L"フェード In/Out表示",
                              L"背景PickUp!", L"自動（システムの言語）"};
const SheetWords kEnglish = {L"Sorvane Settings",
                             L"Cancel",
                             L"Position",
                             L"Colors",
                             L"Files",
                             L"Display",
                             L"Behavior",
                             L"Fades",
                             L"About",
                             L"Fade lines in and out",
                             L"Match Skin",
                             L"Automatic (system language)"};

bool japaneseSystem() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE; }

std::wstring wideText(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

class Language : public PluginRun {
protected:
    static SheetWords readSheet(HWND sheet) {
        SheetWords w = {wideText(sheet), wideText(GetDlgItem(sheet, IDCANCEL))};
        HWND tabControl = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
        int count = static_cast<int>(SendMessageW(tabControl, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[128] = L"";
            TCITEMW item = {};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = 128;
            SendMessageW(tabControl, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            w.push_back(text);
        }
        w.push_back(wideText(GetDlgItem(sheetPage(sheet, kDisplayPage), IDC_FADE_IN)));
        w.push_back(wideText(GetDlgItem(sheetPage(sheet, kColourPage), IDC_PICK_UP)));
        wchar_t item[128] = L"";
        SendDlgItemMessageW(sheetPage(sheet, kVersionPage), IDC_LANGUAGE, CB_GETLBTEXT, 0,
                            reinterpret_cast<LPARAM>(item));
        w.push_back(item);
        return w;
    }

    // Opens the sheet, reads it, runs `then` while it is open and closes it with OK.
    SheetWords sheetWords(const std::function<void(HWND)>& then = nullptr) {
        SheetWords words;
        player.config();
        EXPECT_EQ(runSheet(1,
                           [&](HWND sheet) {
                               words = readSheet(sheet);
                               if (then) then(sheet);
                           }),
                  1);
        return words;
    }

    // The item of the bar's right-click menu, as the player reads it (ANSI).
    std::string menuItem() {
        player.setTimerJob([&] {
            if (HWND menu = findPopupMenu()) {
                player.watchModalWindows();  // recorded before it closes
                choosePopupMenuItem(menu, 0);
            }
        });
        sendRightClick(bar(), 20, 5);
        player.setTimerJob(nullptr);
        return player.record.menus.empty() || player.record.menus.back().items.empty()
                   ? ""
                   : player.record.menus.back().items[0];
    }

    // Chooses a Language item on the version page of the open sheet, as the user would.
    static void chooseLanguage(HWND sheet, int item) {
        HWND page = sheetPage(sheet, kVersionPage);
        HWND list = GetDlgItem(page, IDC_LANGUAGE);
        SendMessageW(list, CB_SETCURSEL, item, 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
};

}  // namespace

TEST_F(Language, TheSheetTheMenuAndTheWarningsSpeakTheSystemsLanguage) {
    const bool japanese = japaneseSystem();
    addSongWithLyrics("warned", "[00:01:00]a[00:02.00]\r\n[00:04]c[00:05:0\r\n");
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    EXPECT_EQ(sheetWords(), japanese ? kJapanese : kEnglish);
    EXPECT_EQ(menuItem(), japanese ? "設定(&P)" : "&Settings...");

    play();  // the lyrics file's faulty tag is told as it loads
    player.runUntil(
        [&] {
            player.watchModalWindows();
            return !player.record.boxes.empty();
        },
        5000);
    ASSERT_EQ(player.record.boxes.size(), 1u);
    EXPECT_EQ(player.record.boxes[0].caption, japanese ? "ERROR !!!" : "Sorvane");
    EXPECT_EQ(player.record.boxes[0].text,
              japanese ? "タグの表記が間違っています。\nこのファイルでは正しく歌詞を表示できません。"
                       : "A time tag in this lyrics file is written wrongly.\nThe lyrics may not show as they should.");
}

TEST_F(Language, TheLanguageSettingOverridesTheSystems) {
    const bool japanese = japaneseSystem();
    writeIni("Language", japanese ? "en" : "ja");
    ASSERT_EQ(player.init(), 0);
    EXPECT_EQ(sheetWords(), japanese ? kEnglish : kJapanese);
    if (!japanese) return;  // the player reads the menu in the ANSI code page, which has no Japanese here
    EXPECT_EQ(menuItem(), "&Settings...");
}

TEST_F(Language, ALanguageChosenOnTheVersionPageSpeaksFromTheSheetsNextOpening) {
    const bool japanese = japaneseSystem();
    ASSERT_EQ(player.init(), 0);
    SheetWords whileOpen;
    // The item of the other language: Japanese is the second, English the third.
    EXPECT_EQ(sheetWords([&](HWND sheet) {
                  chooseLanguage(sheet, japanese ? 2 : 1);
                  whileOpen = readSheet(sheet);
              }),
              japanese ? kJapanese : kEnglish);
    EXPECT_EQ(whileOpen, japanese ? kJapanese : kEnglish) << "the open sheet keeps its language";
    EXPECT_EQ(iniValue("Language"), japanese ? "en" : "ja");
    EXPECT_EQ(sheetWords(), japanese ? kEnglish : kJapanese);

    // Cancel puts the setting back like every other; the sheet after that speaks it again.
    player.config();
    runSheet(0, [&](HWND sheet) { chooseLanguage(sheet, 0); });
    EXPECT_EQ(iniValue("Language"), japanese ? "en" : "ja");
    EXPECT_EQ(sheetWords([&](HWND sheet) { chooseLanguage(sheet, 0); }), japanese ? kEnglish : kJapanese);
    EXPECT_EQ(iniValue("Language"), "auto");
    EXPECT_EQ(sheetWords(), japanese ? kJapanese : kEnglish);
}
