#include "Utf8Text.h"

#ifdef _WIN32
#include <windows.h>

std::string cp932ToUtf8(const std::string& text) {
    if (text.empty()) return text;
    int size = static_cast<int>(text.size());
    int wideLength = MultiByteToWideChar(932, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(932, 0, text.data(), size, wide.data(), wideLength);
    int utf8Length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(utf8Length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), utf8Length, nullptr, nullptr);
    return utf8;
}

#else
#include <iconv.h>

std::string cp932ToUtf8(const std::string& text) {
    iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) return text;
    std::string utf8;
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char buffer[256];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
        utf8.append(buffer, static_cast<size_t>(out - buffer));
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            utf8 += "\xEF\xBF\xBD";  // U+FFFD for a byte that forms no character
            ++in;
            --inLeft;
        }
    }
    iconv_close(converter);
    return utf8;
}
#endif
