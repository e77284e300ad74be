#include "utils/UiText.h"

#include <cctype>

namespace {

struct Entry {
    UiText id;
    const char* japanese;
    const char* english;
};

// In the order of UiText. The Japanese texts are the plug-in's own from its first release.
constexpr Entry kTable[] = {
    {UiText::SheetCaption, "設定", "Sorvane Settings"},
    {UiText::SheetCancelButton, "キャンセル", "Cancel"},
    {UiText::SettingsMenuItem, "設定(&P)", "&Settings..."},
    {UiText::LyricsBrowseTitle, "歌詞ファイルを指定してください", "Choose a Lyrics File in Your Lyrics Folder"},
    {UiText::LyricsBrowseFilter, "歌詞ファイル(*.txt;*.kra)|*.txt;*.kra|全てのファイル(*.*)|*.*|",
     "Lyrics files (*.txt;*.kra)|*.txt;*.kra|All files (*.*)|*.*|"},
    {UiText::SkinBrowseTitle, "スキンファイルを指定してください", "Choose a Skin Picture"},
    {UiText::SkinBrowseFilter, "スキンファイル(*.bmp)|*.bmp|全てのファイル(*.*)|*.*|",
     "Bitmap pictures (*.bmp)|*.bmp|All files (*.*)|*.*|"},
    {UiText::ColourDialogTitle, "色の設定", "Color"},
    {UiText::LanguageAutomatic, "自動（システムの言語）", "Automatic (system language)"},
    {UiText::LanguageJapanese, "日本語", "日本語"},
    {UiText::LanguageEnglish, "English", "English"},
    {UiText::MalformedTagCaption, "ERROR !!!", "Sorvane"},
    {UiText::MalformedTagText, "タグの表記が間違っています。\nこのファイルでは正しく歌詞を表示できません。",
     "A time tag in this lyrics file is written wrongly.\nThe lyrics may not show as they should."},
    {UiText::RegisterClassFailedCaption, "blah", "Sorvane"},
    {UiText::RegisterClassFailedText, "Error registering window class",
     "Sorvane could not register its window class, so the lyrics bar cannot start."},
    {UiText::CreateWindowFailedCaption, "Sorvane", "Sorvane"},
    {UiText::CreateWindowFailedText, "Error creating window", "Sorvane could not create the lyrics bar."},
    {UiText::TimerFailedCaption, "Sorvane", "Sorvane"},
    {UiText::TimerFailedText, "タイマーを開始できませんでした。", "Sorvane could not start its timer."},
    {UiText::WorkerFailedCaption, "Sorvane", "Sorvane"},
    {UiText::WorkerFailedText, "スレッドを開始できませんでした。", "Sorvane could not start a thread of its own."},
    {UiText::DirectDrawFailedCaption, "Error", "Sorvane"},
    {UiText::DirectDrawFailedText, "DirectDrawの作成に失敗しました。",
     "Sorvane could not start DirectDraw, so \"Reduce flicker\" has been turned off."},
    {UiText::SaveFailedCaption, "Sorvane", "Sorvane"},
    {UiText::SaveFailedText,
     "設定を保存できませんでした。\n\nファイル: {1}\n理由: {2}\n\n変更した設定は Winamp を終了すると失われます。",
     "Sorvane could not save your settings.\n\nFile: {1}\nReason: {2}\n\nYour changes will be lost when Winamp "
     "closes."},
    {UiText::SaveFailedLogLine, "設定を保存できませんでした: {1}: {2}", "Could not save the settings to {1}: {2}"},
    {UiText::SaveFailedNoReason, "ファイルに書き込めませんでした。", "The file could not be written."},
    {UiText::ShiftEarlierMenuItem, "0.1 秒早く表示\t[", "Show 0.1 s &Earlier\t["},
    {UiText::ShiftLaterMenuItem, "0.1 秒遅く表示\t]", "Show 0.1 s &Later\t]"},
    {UiText::ShiftEarlierLargeMenuItem, "1 秒早く表示\tShift+[", "Show 1 s Earlier\tShift+["},
    {UiText::ShiftLaterLargeMenuItem, "1 秒遅く表示\tShift+]", "Show 1 s Later\tShift+]"},
    {UiText::ShiftResetMenuItem, "タイミングを元に戻す(&R)", "&Reset Timing"},
    {UiText::SaveTimingMenuItem, "タイミングを保存(&S)", "Sa&ve Timing"},
    {UiText::TimingSavedNote, "保存しました", "Saved"},
    {UiText::TimingSaveFailedCaption, "Sorvane", "Sorvane"},
    {UiText::TimingSaveFailedText,
     "歌詞ファイルにタイミングを保存できませんでした。\n\nファイル: {1}\n理由: {2}\n\nファイルは変更していません。",
     "Sorvane could not save the timing into the lyrics file.\n\nFile: {1}\nReason: {2}\n\nThe file has not been "
     "changed."},
    {UiText::LyricsFileGone, "歌詞ファイルが見つかりません。", "The lyrics file is not there."},
    {UiText::LyricsFileReadOnly, "歌詞ファイルは読み取り専用です。", "The lyrics file is read-only."},
    {UiText::LyricsFileInUse, "歌詞ファイルは他のプログラムが使用中です。",
     "The lyrics file is open in another program."},
    {UiText::LyricsFolderRefused, "歌詞ファイルのフォルダーに書き込めません。",
     "The folder of the lyrics file does not allow changes."},
    {UiText::LyricsFileOnReadOnlyMedium, "歌詞ファイルは書き込めない媒体にあります。",
     "The lyrics file is on a medium that cannot be written."},
    {UiText::LyricsFileDiskFull, "ディスクがいっぱいです。", "The disk of the lyrics file is full."},
    {UiText::LyricsFileTooLong, "歌詞ファイルが大きすぎます。", "The lyrics file is longer than Sorvane reads."},
    {UiText::LyricsFileTooLongWithTag,
     "オフセットのタグを書き加えると、歌詞ファイルが Sorvane の読める長さを超えます。",
     "With the offset tag the lyrics file would be longer than Sorvane reads."},
    {UiText::LyricsOffsetOutOfRange, "オフセットが 24 時間を超えてしまいます。",
     "The offset would be more than 24 hours either way."},
    {UiText::LyricsOffsetNotANumber, "歌詞ファイルのオフセットのタグが数値として読めません。",
     "An offset tag in the lyrics file does not read as a number."},
    {UiText::LyricsFileNotLyrics, "表示できる歌詞がファイルにありません。",
     "The file holds no lyrics Sorvane can show."},
    {UiText::LyricsFileAmbiguous, "タグを書き加えると歌詞の読み方が変わってしまいます。",
     "The lyrics file cannot take the tag without reading differently."},
    {UiText::LyricsCopyInTheWay, "同じ名前のファイルがすでにあります。", "A file of that name is there already."},
    {UiText::LyricsFileFailed, "歌詞ファイルに書き込めませんでした。", "The lyrics file could not be written."},
    // As the installer's uninstaller asks it.
    {UiText::UninstallCaption, "Sorvane", "Sorvane"},
    {UiText::UninstallRemoveSettingsText,
     "Sorvane の設定も削除しますか？（Winamp の設定フォルダとプラグインのフォルダにある sorvane.ini）",
     "Remove your Sorvane settings as well (sorvane.ini in Winamp's settings folder and beside the plug-in)?"},
    {UiText::LyricsServerHasQuery,
     "sorvane.ini の LyricsServer に「?」か「#」が含まれているため、直すまで歌詞サーバーには問い合わせません。",
     "LyricsServer in sorvane.ini holds \"?\" or \"#\": no lyrics server is asked until it is corrected."},
    {UiText::LyricsServerNotHttp,
     "sorvane.ini の LyricsServer が http や https のアドレスではないため、直すまで歌詞サーバーには問い合わせません。",
     "LyricsServer in sorvane.ini is no http or https address: no lyrics server is asked until it is corrected."},
    {UiText::HotkeyShowHideLyrics, "Sorvane: 歌詞の表示／非表示", "Sorvane: Show/hide lyrics"},
    {UiText::HotkeyLockDesktop, "Sorvane: デスクトップ歌詞の固定／解除", "Sorvane: Lock/unlock desktop lyrics"},
    {UiText::HotkeyTimingEarlier, "Sorvane: 歌詞を 0.1 秒早く表示", "Sorvane: Show lyrics 0.1 s earlier"},
    {UiText::HotkeyTimingLater, "Sorvane: 歌詞を 0.1 秒遅く表示", "Sorvane: Show lyrics 0.1 s later"},
    {UiText::HotkeySaveTiming, "Sorvane: タイミングを保存", "Sorvane: Save timing"},
};

constexpr bool tableInOrder() {
    int i = 0;
    for (const Entry& e : kTable)
        if (static_cast<int>(e.id) != i++) return false;
    return i == static_cast<int>(UiText::Count);
}
static_assert(tableInOrder(), "one entry per UiText, in its order");

bool sameLetters(std::string_view a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
    return i == a.size() && !b[i];
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

const char* uiText(UiText text, UiLanguage language) {
    size_t i = static_cast<size_t>(text);
    if (i >= sizeof kTable / sizeof kTable[0]) return "";
    return language == UiLanguage::Japanese ? kTable[i].japanese : kTable[i].english;
}

std::string formatUiText(UiText text, UiLanguage language, const std::vector<std::string>& arguments) {
    std::string_view pattern = uiText(text, language);
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        size_t number = i + 1 < pattern.size() ? static_cast<size_t>(pattern[i + 1] - '0') : 0;
        bool placeholder = pattern[i] == '{' && i + 2 < pattern.size() && number >= 1 && number <= 9 &&
                           pattern[i + 2] == '}' && number <= arguments.size();
        if (placeholder) {
            out += arguments[number - 1];
            i += 2;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

UiLanguage resolveLanguage(LanguageChoice choice, UiLanguage system) {
    switch (choice) {
    case LanguageChoice::Japanese: return UiLanguage::Japanese;
    case LanguageChoice::English: return UiLanguage::English;
    default: return system;
    }
}

const char* languageChoiceName(LanguageChoice choice) {
    switch (choice) {
    case LanguageChoice::Japanese: return "ja";
    case LanguageChoice::English: return "en";
    default: return "auto";
    }
}

int parseLanguageChoice(std::string_view name, LanguageChoice& choice) {
    name = trimmed(name);
    for (LanguageChoice c : {LanguageChoice::Automatic, LanguageChoice::Japanese, LanguageChoice::English}) {
        if (sameLetters(name, languageChoiceName(c))) {
            choice = c;
            return 1;
        }
    }
    return 0;
}
