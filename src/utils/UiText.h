#pragma once
// The words the plug-in says outside its dialog templates (captions, the bar's menu, message boxes,
// the file and colour dialogs' titles), in each language it speaks. The templates carry their own
// texts, one resource script per language (resources/); everything else is in this one table.
#include <string>
#include <string_view>
#include <vector>

enum class UiLanguage { Japanese, English };

// The Language setting: the system's interface language (Japanese on a Japanese system, English
// elsewhere), or one chosen by the user.
enum class LanguageChoice { Automatic, Japanese, English };

enum class UiText {
    SheetCaption,
    SheetCancelButton,
    SettingsMenuItem,
    LyricsBrowseTitle,
    LyricsBrowseFilter,  // description|pattern|description|pattern|
    SkinBrowseTitle,
    SkinBrowseFilter,
    ColourDialogTitle,
    LanguageAutomatic,
    LanguageJapanese,
    LanguageEnglish,
    MalformedTagCaption,
    MalformedTagText,
    RegisterClassFailedCaption,
    RegisterClassFailedText,
    CreateWindowFailedCaption,
    CreateWindowFailedText,
    TimerFailedCaption,
    TimerFailedText,
    WorkerFailedCaption,
    WorkerFailedText,
    DirectDrawFailedCaption,
    DirectDrawFailedText,
    SaveFailedCaption,
    SaveFailedText,     // {1} the settings file, {2} the reason
    SaveFailedLogLine,  // {1} the settings file, {2} the reason
    SaveFailedNoReason,
    ShiftEarlierMenuItem,
    ShiftLaterMenuItem,
    ShiftEarlierLargeMenuItem,
    ShiftLaterLargeMenuItem,
    ShiftResetMenuItem,
    SaveTimingMenuItem,
    TimingSavedNote,
    TimingSaveFailedCaption,
    TimingSaveFailedText,  // {1} the lyrics file, {2} the reason
    // The reasons a lyrics file cannot take the timing, one per way a save fails.
    LyricsFileGone,
    LyricsFileReadOnly,
    LyricsFileInUse,
    LyricsFolderRefused,
    LyricsFileOnReadOnlyMedium,
    LyricsFileDiskFull,
    LyricsFileTooLong,
    LyricsFileTooLongWithTag,
    LyricsOffsetOutOfRange,
    LyricsOffsetNotANumber,
    LyricsFileNotLyrics,
    LyricsFileAmbiguous,
    LyricsCopyInTheWay,
    LyricsFileFailed,
    UninstallCaption,
    UninstallRemoveSettingsText,
    // Why the LyricsServer setting cannot be used (the Files page shows it).
    LyricsServerHasQuery,
    LyricsServerNotHttp,
    // The actions the plug-in offers the player's global hotkeys, by the names its preferences list.
    HotkeyShowHideLyrics,
    HotkeyLockDesktop,
    HotkeyTimingEarlier,
    HotkeyTimingLater,
    HotkeySaveTiming,
    Count
};

// The text in that language, UTF-8.
const char* uiText(UiText text, UiLanguage language);
// The text with {1}, {2}, ... replaced by the arguments in order; a placeholder without an
// argument is left as it stands.
std::string formatUiText(UiText text, UiLanguage language, const std::vector<std::string>& arguments);

UiLanguage resolveLanguage(LanguageChoice choice, UiLanguage system);
// The setting's value as the INI file holds it: "auto", "ja" or "en".
const char* languageChoiceName(LanguageChoice choice);
// Reads such a value, in any letter case and with blanks around it. Returns 0 for anything else
// and leaves choice alone.
int parseLanguageChoice(std::string_view name, LanguageChoice& choice);
