#pragma once
// Paths at the wide file API. The plug-in keeps paths in UTF-8; Windows names files in UTF-16,
// and takes a path longer than MAX_PATH only in its "\\?\" form.
#include <windows.h>

#include <string>
#include <string_view>

// The longest path the wide file API takes, in UTF-16 units.
constexpr size_t kMaxWidePath = 32767;

// A UTF-8 path as the wide file API takes it: as it is while it is short, made absolute and
// put in the "\\?\" form (or "\\?\UNC\" for a network path) when longer. Empty when the path cannot
// name a file: not valid UTF-8, holding a zero character, or longer than the API allows. Never a
// different name.
std::wstring widePath(std::string_view utf8Path);

// A name from the wide API as UTF-8; 0 when it holds a lone surrogate, which no UTF-8 text can
// name again.
int narrowName(const wchar_t* name, std::string& utf8);
