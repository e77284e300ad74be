#pragma once
// Texts at the platform's calls: the plug-in keeps UTF-8, Windows takes and gives UTF-16, and
// old hosts and old files speak the system's ANSI code page.
#include <windows.h>

#include <string>
#include <string_view>

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);
// Text in a code page (the system's ANSI one unless told) as UTF-16 / UTF-8, as the platform
// converts it. A byte that forms no character there becomes U+FFFD, one for each such byte; the
// bytes after it are read as they would be without it, and nothing is dropped.
std::wstring ansiToWide(std::string_view ansi, UINT codePage = CP_ACP);
std::string ansiToUtf8(std::string_view ansi, UINT codePage = CP_ACP);
