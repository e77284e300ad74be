#pragma once
// The interface language at the Win32 calls: the system's, the one the plug-in speaks now, and its
// texts as UTF-16 (utils/UiText.h holds them).
#include <windows.h>

#include <string>
#include <vector>

#include "utils/UiText.h"

// Japanese when the user's interface language is Japanese, else English.
UiLanguage systemUiLanguage();
// The language the plug-in speaks from now on: its menu and message boxes at once, its property
// sheet from the next time it opens. Until set, the system's.
void setActiveLanguage(UiLanguage language);
UiLanguage activeLanguage();
// The language a Language setting stands for on this system.
UiLanguage chosenLanguage(LanguageChoice choice);

// A text of the table in the active language.
std::wstring uiTextW(UiText text);
std::wstring formatUiTextW(UiText text, const std::vector<std::string>& arguments);
// The language id of that language's resources.
LANGID resourceLanguage(UiLanguage language);
