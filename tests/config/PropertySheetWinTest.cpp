// The sheet as a whole: its pages and their texts, OK, Cancel and the save that follows either.
#include "config/PropertySheet.h"

#include <algorithm>

#include "config/SheetDriver.h"
#include "resources/ResourceIds.h"
#include "utils/Text.h"
#include "utils/WinUiText.h"

namespace {

// Every text of a page's controls, as the ANSI calls read them (code page 932).
std::vector<std::string> controlTexts(HWND page) {
    std::vector<std::string> texts;
    EnumChildWindows(
        page,
        [](HWND w, LPARAM p) CALLBACK -> BOOL {
            reinterpret_cast<std::vector<std::string>*>(p)->push_back(windowText(w));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

struct PageTexts {
    const char* caption;
    std::vector<std::string> texts;
};

const PageTexts kPages[] = {
    {"位置設定",
     {"位置設定", "左端", "上端", "大きさ設定", "横幅", "縦幅",
      "位置と大きさを指定します。（リアルタイムに適応、キャンセルで解除）"}},
    {"表示色",
     {"カラオケ－表示色設定", "ワイプ前", "ワイプ後", "ライン色", "内", "中", "外", "フォント設定",
      "表示色とフォントを設定します。（次の行から有効）", "その他", "背景色", "タイトル色", "背景PickUp!",
      "\"背景PickUp!\"はバーの中心の背景色をゲットします。"}},
    {"パス",
     {"歌詞ファイルのパス", "参照", "スキンファイルのパス",
      "歌詞ファイル、スキンファイルの置いてあるフォルダを指定します。", "（次の曲から有効）"}},
    {"表示設定",
     {"表示機能設定", "フェード In/Out表示", "ワイプライン表示", "カラオケ表示", "カラオケタグ以外は",
      "カラオケ表示をしない", "ちらつき防止（Vsyncを待つ）", "Windowと連動する。", "Windowに直接描画する",
      "＊サブクラス化してないので少しちらつきます（アナライザは無効にしてください）",
      "表示機能の設定をします。（次の行から有効）", "タイムレート設定", "標準時間", "Winamp時間"}},
    {"表示設定２",
     {"歌詞がない時", "タイトル表示", "何も表示しない", "隠れる", "ワイプ-スクロール設定", "同期",
      "ワイプに合わせてスクロールします。", "半同期", "両方の値を取って平均します。", "非同期",
      "ワイプに関係なく一定速度でスクロールします。", "その他の表示設定をします。（次の曲から有効）",
      "他のウィンドウにくっつく",
      "＊他のウィンドウにくっつけたい場合にはボタンを押し、くっつけたいウインドウをクリックしてください。"}},
    {"フェード設定",
     {"タイミング設定", "フェードイン", "START", "END", "x10 ms", "歌詞", "フェードアウト", "標準に戻す",
      "フェードイン/アウトのタイミング設定をします。", "（次の行から有効）"}},
    {"バージョン",
     {"SORVANE", "(General Purpose Ver.)", "0.14b", "公開されている場所", "作者への連絡先、バグ報告、感想 etc..."}},
};

std::string tabText(HWND sheet, int index) {
    char buffer[128] = {};
    TCITEMA tab = {};
    tab.mask = TCIF_TEXT;
    tab.pszText = buffer;
    tab.cchTextMax = sizeof buffer;
    SendMessageA(FindWindowExA(sheet, nullptr, WC_TABCONTROLA, nullptr), TCM_GETITEMA, index,
                 reinterpret_cast<LPARAM>(&tab));
    return buffer;
}

}  // namespace

TEST_F(SheetTest, SevenPagesInOrderWithTheirJapaneseTextsAndNoApplyButton) {
    then([this] {
        EXPECT_EQ(windowText(sheet()), "設定");
        HWND apply = GetDlgItem(sheet(), 0x3021);  // the platform's Apply button
        EXPECT_TRUE(!apply || !IsWindowVisible(apply));
    });
    for (int i = 0; i < 7; ++i) {
        showPage(i);
        then([this, i] {
            EXPECT_EQ(tabText(sheet(), i), kPages[i].caption);
            std::vector<std::string> texts = controlTexts(page());
            for (const std::string& expected : kPages[i].texts)
                EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end())
                    << "page " << i << " lacks " << expected;
        });
    }
    pressOk();
    runConfig();
}

TEST_F(SheetTest, InEnglishTheSheetItsButtonsAndTheColourAndFileDialogsSpeakEnglish) {
    setActiveLanguage(UiLanguage::English);
    std::wstring colourTitle, fileTitle;
    then([this] {
        EXPECT_EQ(windowText(sheet()), "Sorvane Settings");
        EXPECT_EQ(windowText(GetDlgItem(sheet(), IDCANCEL)), "Cancel");
        EXPECT_EQ(tabText(sheet(), 6), "About");
    });
    showPage(1);
    then([this] { clickLater(IDC_BEFORE_OUTER); });
    answerColourDialog(-1, &colourTitle);
    showPage(2);
    then([this] { clickLater(IDC_SKIN_BROWSE); });
    answerFileDialog("", &fileTitle);
    pressOk();
    runConfig();
    setActiveLanguage(systemUiLanguage());
    EXPECT_EQ(colourTitle, L"Color");
    EXPECT_EQ(fileTitle, L"Choose a Skin Picture");
}

TEST_F(SheetTest, OkKeepsEditsAndCancelRestoresTheSnapshotBothSaving) {
    showPage(3);
    then([this] { click(IDC_FADE_IN); });
    pressOk();
    runConfig();
    EXPECT_EQ(plugin.liveSettings.Fade_in, 0);
    EXPECT_EQ(iniInt("Fade_in"), 0);

    showPage(3);
    then([this] { click(IDC_FADE_IN); });
    showPage(5);  // cancel from a page that did not make the change
    then([this] { setText(IDC_FIN_START_EDIT, "-7"); });
    then([] { EXPECT_EQ(plugin.liveSettings.Fade_in, 1); });
    pressCancel();
    runConfig();
    EXPECT_EQ(plugin.liveSettings.Fade_in, 0);
    EXPECT_EQ(plugin.liveSettings.Fin_Start, -40);
    EXPECT_EQ(iniInt("Fade_in"), 0);
    EXPECT_EQ(iniInt("Fin_Start"), -40);
}

TEST_F(SheetTest, ConfigBeforeInitLoadsRunsSavesAndLeavesThePluginStopped) {
    stopBar();
    plugin.running = 0;
    WritePrivateProfileStringA(kPluginDescription, "Wset", "2", iniPath().c_str());
    showPage(4);
    then([this] {
        EXPECT_TRUE(checked(IDC_WSET_FIRST + 2));
        click(IDC_WSET_FIRST);
        click(IDC_PICK_WINDOW);  // no bar to finish a pick: nothing starts
        EXPECT_EQ(GetCapture(), nullptr);
    });
    pressOk();
    runConfig();
    EXPECT_FALSE(plugin.running);
    EXPECT_EQ(iniInt("Wset"), 0);
}
