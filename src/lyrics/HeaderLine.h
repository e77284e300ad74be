#pragma once
// Header lines: "@"-keyword lines ("@Title=My Song", "@TimeRatio 1.0") and the ID tags of LRC
// files ("[ti:My Song]", "[offset:+250]").
#include <cstdint>
#include <string>
#include <string_view>

class LyricsDocument;

struct HeaderLine {
    std::string_view keyword;  // from the "@" up to the first TAB, space, "=" or the line end
    std::string_view value;    // after the run of TAB, space and "=", up to the next TAB or the line end
};

HeaderLine splitHeader(std::string_view line);

// Sets the document field the keyword names (ASCII case ignored); other keywords do nothing.
void applyHeader(LyricsDocument& document, const HeaderLine& header);

// An ID tag alone on its line, with spaces or TABs around it allowed: "[", a key of ASCII letters,
// ":", the value, "]". Returns 1 when the line is one. The keys "ti", "ar", "al" and "by" (in any
// letter case) set title, artist, album and taggingBy to the value without its surrounding spaces;
// "offset" sets offsetMs to the value's integer prefix; other keys do nothing.
int applyIdTag(LyricsDocument& document, std::string_view line);

// An ID tag's key ("ti") and value (without its surrounding spaces and TABs), both inside line.
struct IdTag {
    std::string_view key;
    std::string_view value;
};
// 1 with the tag when the line is an ID tag, as applyIdTag reads it.
int splitIdTag(std::string_view line, IdTag& tag);
// 1 when the tag is an "[offset:]" tag (key in any letter case), with the offset it sets.
int offsetTagValue(const IdTag& tag, int32_t& offsetMs);
// Whether the parser reads the offset tag's value as the number it says: digits after an optional
// sign, within the 32-bit range. ("[offset:abc]" sets 0, and a value past the range the nearest
// end of it.)
int offsetIsNumber(const IdTag& tag);

// text as an ID tag's value can hold it and read back the same: on one line (TABs and line breaks
// made spaces, other control characters and the brackets that would end the tag dropped), without
// spaces around it.
std::string idTagValue(std::string_view text);

// The decimal number at the start of text, after leading white space: optional sign, digits with
// an optional decimal point and exponent. 0 when there is none. Locale-independent.
double decimalPrefix(std::string_view text);
// The decimal integer at the start of text, likewise, held within the 32-bit range.
int32_t integerPrefix(std::string_view text);

// A ratio that keeps every time finite and inside 32 bits through the conversions a time can
// undergo (a tag time up to 606177, converted up to three times on its way to the screen).
int isUsableTimeRatio(double ratio);
