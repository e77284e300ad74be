#pragma once
// Whole-file reading and writing; paths are byte strings in the ANSI code page.
#include <cstdint>
#include <string>
#include <vector>

int readFileBytes(const std::string& path, std::string& content);
int writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
int writeFileBytes(const std::string& path, const std::string& bytes);
