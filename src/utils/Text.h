#pragma once
// Texts compared as the player's names compare, and optional texts handed to calls that take null
// for none. Texts are UTF-8.
#include <optional>
#include <string>

// 1 when both texts are present, equally long and equal after turning ASCII a-z into A-Z.
int sameText(const char* a, const char* b);

// An optional text as the calls that take null for none see it.
inline const char* textOrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }
