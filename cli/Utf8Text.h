#pragma once
// Texts of the lyrics, in code page 932, for output that must be UTF-8.
#include <string>

// Bytes that form no character become U+FFFD (natively) or the system's default character.
std::string cp932ToUtf8(const std::string& text);
