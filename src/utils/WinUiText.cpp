#include "utils/WinUiText.h"

#include <atomic>

#include "utils/WinText.h"

namespace {

// -1 until set: then the system's language is asked at each use.
std::atomic<int> activeChoice{-1};

}  // namespace

UiLanguage systemUiLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? UiLanguage::Japanese : UiLanguage::English;
}

void setActiveLanguage(UiLanguage language) { activeChoice = static_cast<int>(language); }

UiLanguage activeLanguage() {
    int language = activeChoice;
    return language < 0 ? systemUiLanguage() : static_cast<UiLanguage>(language);
}

UiLanguage chosenLanguage(LanguageChoice choice) { return resolveLanguage(choice, systemUiLanguage()); }

std::wstring uiTextW(UiText text) { return widen(uiText(text, activeLanguage())); }

std::wstring formatUiTextW(UiText text, const std::vector<std::string>& arguments) {
    return widen(formatUiText(text, activeLanguage(), arguments));
}

LANGID resourceLanguage(UiLanguage language) {
    return language == UiLanguage::Japanese ? MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)
                                            : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}
