#include "utils/WinText.h"

#include <climits>

#include "utils/Utf.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

std::wstring widen(std::string_view utf8) {
    std::u16string units = utf8ToUtf16(utf8);
    return std::wstring(reinterpret_cast<const wchar_t*>(units.data()), units.size());
}

std::string narrow(std::wstring_view wide) {
    return utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::wstring ansiToWide(std::string_view ansi, UINT codePage) {
    if (ansi.empty() || ansi.size() > INT_MAX / 2) return {};
    int size = static_cast<int>(ansi.size());
    int length = MultiByteToWideChar(codePage, 0, ansi.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, ansi.data(), size, wide.data(), length);
    return wide;
}

std::string ansiToUtf8(std::string_view ansi, UINT codePage) { return narrow(ansiToWide(ansi, codePage)); }
