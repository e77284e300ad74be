#pragma once
// The lyrics document as JSON, texts in UTF-8: what the plug-in would show, for checking a file.
#include <cstdint>
#include <string>
#include <vector>

class LyricsDocument;

struct ToolWarning {
    int32_t lineNumber;
    int32_t offset;
    std::string problem;  // what is wrong, for problems other than a malformed tag; empty for one
};

std::string lyricsJson(const LyricsDocument& document, int32_t timeType, const std::vector<ToolWarning>& warnings);
