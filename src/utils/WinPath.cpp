#include "utils/WinPath.h"

#include "utils/Utf.h"
#include "utils/WinText.h"

namespace {

bool startsWith(std::wstring_view text, std::wstring_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

std::wstring widePath(std::string_view utf8Path) {
    if (!isValidUtf8(utf8Path) || utf8Path.find('\0') != std::string_view::npos) return {};
    std::wstring path = widen(utf8Path);
    // Folders have room for a file name of 8.3 form below them only up to MAX_PATH - 12.
    if (path.size() < MAX_PATH - 12 || startsWith(path, L"\\\\?\\")) return path.size() <= kMaxWidePath ? path : L"";
    if (path.size() > kMaxWidePath) return {};
    // The "\\?\" form is taken literally: it needs a full path with nothing left to resolve.
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0 || size > kMaxWidePath + 1) return {};
    std::wstring full(size, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return {};
    full.resize(length);
    std::wstring extended = startsWith(full, L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
    return extended.size() <= kMaxWidePath ? extended : L"";
}

int narrowName(const wchar_t* name, std::string& utf8) {
    std::wstring_view wide(name);
    for (size_t i = 0; i < wide.size(); ++i) {
        bool high = wide[i] >= 0xD800 && wide[i] <= 0xDBFF, low = wide[i] >= 0xDC00 && wide[i] <= 0xDFFF;
        if (high && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
            ++i;
        } else if (high || low) {
            return 0;
        }
    }
    utf8 = narrow(wide);
    return 1;
}
