#pragma once
// Owned heap texts. A text field holds either nothing (null) or its own NUL-terminated copy;
// null and the empty text are different values. Texts are UTF-8.
#include <optional>
#include <string>

// A fresh heap copy of source, or null for null. Release it with freeText.
char* copyText(const char* source);
void freeText(char*& field);

// Replaces field by a copy of source (null leaves it null). Returns 1 when a copy was stored.
int assignString(char*& field, const char* source);

// 1 when both texts are present, equally long and equal after turning ASCII a-z into A-Z.
int sameText(const char* a, const char* b);

// An optional text as the calls that take null for none see it.
inline const char* textOrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }
