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

namespace {

// The whole text in one call; 0 when some byte forms no character (MB_ERR_INVALID_CHARS).
int convertStrictly(std::string_view ansi, UINT codePage, std::wstring& wide) {
    int size = static_cast<int>(ansi.size());
    int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, ansi.data(), size, nullptr, 0);
    if (length <= 0) return 0;
    wide.resize(static_cast<size_t>(length));
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, ansi.data(), size, wide.data(), length) == length;
}

}  // namespace

std::wstring ansiToWide(std::string_view ansi, UINT codePage) {
    if (ansi.empty() || ansi.size() > INT_MAX / 2) return {};
    std::wstring wide;
    if (convertStrictly(ansi, codePage, wide)) return wide;
    // Some byte forms no character. The platform would turn it into its default character and
    // may take the next byte along (a line end after a lone lead byte, say): instead, character by
    // character, the shortest run of bytes that forms one is taken, and a byte that starts none
    // becomes one U+FFFD.
    CPINFO info;
    size_t longest = GetCPInfo(codePage, &info) && info.MaxCharSize > 1 ? info.MaxCharSize : 1;
    wide.clear();
    std::wstring character;
    for (size_t i = 0; i < ansi.size();) {
        size_t length = 1;
        while (length <= longest && i + length <= ansi.size() &&
               !convertStrictly(ansi.substr(i, length), codePage, character))
            ++length;
        if (length <= longest && i + length <= ansi.size()) {
            wide += character;
            i += length;
        } else {
            wide += static_cast<wchar_t>(kReplacementCharacter);
            ++i;
        }
    }
    return wide;
}

std::string ansiToUtf8(std::string_view ansi, UINT codePage) { return narrow(ansiToWide(ansi, codePage)); }
