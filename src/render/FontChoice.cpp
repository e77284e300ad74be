#include "render/FontChoice.h"

#include <usp10.h>

#include <algorithm>
#include <map>
#include <vector>

#include "render/FaceCoverage.h"
#include "utils/GdiGuards.h"
#include "utils/WinText.h"

namespace {

struct InstalledFaces {
    std::string checkedName;  // the FontName last asked about
    bool checked = false;
    bool installed = false;
    bool read = false;  // names and characters hold every installed face
    std::vector<std::wstring> names;
    std::vector<FaceCharacters> characters;
    // For each face, the characters beyond the Basic Multilingual Plane asked about so far, and
    // whether it has them.
    std::vector<std::map<char32_t, bool>> beyondBmp;
};

InstalledFaces& faces() {
    static InstalledFaces cache;
    return cache;
}

bool sameFace(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

HFONT createProbeFont(const std::wstring& face) {
    return CreateFontW(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str());
}

// The face the system actually draws with when asked for this one.
std::wstring selectedFace(HDC dc, const std::wstring& requested) {
    OwnedFont font(createProbeFont(requested));
    SelectedObject selected(dc, font);
    wchar_t name[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, name);
    return name;
}

int CALLBACK noteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<int*>(found) = 1;
    return 0;
}

// Installed: a family of that name is listed (in any of its localised names), or the system
// draws that name with a face of that name (the platform's substitutes and replacements).
bool isInstalled(const std::wstring& face) {
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    MemoryDc dc(CreateCompatibleDC(nullptr));
    LOGFONTW query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    face.copy(query.lfFaceName, face.size());
    int found = 0;
    EnumFontFamiliesExW(dc, &query, noteFound, reinterpret_cast<LPARAM>(&found), 0);
    if (!found) found = sameFace(selectedFace(dc, face), face);
    return found != 0;
}

FaceCharacters readCharacters(HDC dc, const std::wstring& face) {
    FaceCharacters ranges;
    OwnedFont font(createProbeFont(face));
    SelectedObject selected(dc, font);
    if (DWORD size = GetFontUnicodeRanges(dc, nullptr)) {
        std::vector<char> buffer(size);
        auto* set = reinterpret_cast<GLYPHSET*>(buffer.data());
        if (GetFontUnicodeRanges(dc, set))
            for (DWORD i = 0; i < set->cRanges; ++i) {
                const WCRANGE& r = set->ranges[i];
                if (r.cGlyphs == 0) continue;
                DWORD last = std::min<DWORD>(0xFFFF, DWORD{r.wcLow} + r.cGlyphs - 1);
                ranges.push_back({static_cast<char16_t>(r.wcLow), static_cast<char16_t>(last)});
            }
    }
    std::sort(ranges.begin(), ranges.end(),
              [](const CharacterRange& a, const CharacterRange& b) { return a.first < b.first; });
    return ranges;
}

void addFace(std::vector<std::wstring>& names, const std::wstring& face) {
    if (face.empty() || face[0] == L'@') return;  // vertical faces draw sideways
    for (const std::wstring& known : names)
        if (sameFace(known, face)) return;
    names.push_back(face);
}

int CALLBACK addFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM names) {
    if (type & TRUETYPE_FONTTYPE) addFace(*reinterpret_cast<std::vector<std::wstring>*>(names), font->lfFaceName);
    return 1;
}

// Whether the face selected into the DC has a glyph of its own for a character beyond the Basic
// Multilingual Plane. GetFontUnicodeRanges and GetGlyphIndicesW see UTF-16 units, never a
// surrogate pair; Uniscribe's shaping maps the pair through the face's own character map. With no
// script given it shapes nothing, and a character the face lacks becomes its missing glyph
// (glyph 0 in a TrueType face, or the face's default glyph).
bool hasGlyphBeyondBmp(HDC dc, SCRIPT_CACHE& script, char32_t character) {
    const wchar_t pair[2] = {static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10)),
                             static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF))};
    WORD glyphs[4] = {}, clusters[2] = {};
    SCRIPT_VISATTR attributes[4] = {};
    SCRIPT_ANALYSIS analysis = {};
    int count = 0;
    if (ScriptShape(dc, &script, pair, 2, 4, &analysis, glyphs, clusters, attributes, &count) != S_OK || count < 1)
        return false;
    SCRIPT_FONTPROPERTIES properties = {};
    properties.cBytes = sizeof properties;
    WORD missing = ScriptGetFontProperties(dc, &script, &properties) == S_OK ? properties.wgDefault : 0;
    for (int i = 0; i < count; ++i)
        if (glyphs[i] == 0 || glyphs[i] == missing) return false;
    return true;
}

// Asks every face about those of the characters it has not been asked about yet.
void learnCharactersBeyondBmp(InstalledFaces& cache, const std::vector<char32_t>& characters) {
    MemoryDc dc;
    for (size_t i = 0; i < cache.names.size(); ++i) {
        std::map<char32_t, bool>& known = cache.beyondBmp[i];
        if (std::all_of(characters.begin(), characters.end(), [&](char32_t c) { return known.count(c) != 0; }))
            continue;
        if (!dc) dc.reset(CreateCompatibleDC(nullptr));
        OwnedFont font(createProbeFont(cache.names[i]));
        SelectedObject selected(dc, font);
        SCRIPT_CACHE script = nullptr;
        for (char32_t c : characters)
            if (!known.count(c)) known[c] = hasGlyphBeyondBmp(dc, script, c);
        ScriptFreeCache(&script);
    }
}

void readInstalledFaces(InstalledFaces& cache) {
    cache.read = true;
    MemoryDc dc(CreateCompatibleDC(nullptr));
    // The face of the system's user interface comes first and so wins every tie: on Windows its
    // font links lend it the glyphs of most scripts.
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        addFace(cache.names, selectedFace(dc, metrics.lfMessageFont.lfFaceName));
    EnumFontFamiliesW(dc, nullptr, addFamily, reinterpret_cast<LPARAM>(&cache.names));
    for (const std::wstring& name : cache.names) cache.characters.push_back(readCharacters(dc, name));
    cache.beyondBmp.resize(cache.names.size());
}

}  // namespace

std::wstring faceForText(const char* fontName, std::u16string_view text) {
    InstalledFaces& cache = faces();
    std::string name = fontName ? fontName : "";
    if (!cache.checked || name != cache.checkedName) {
        cache.checkedName = name;
        cache.installed = isInstalled(widen(name));
        cache.checked = true;
    }
    if (cache.installed) return widen(name);
    if (!cache.read) readInstalledFaces(cache);
    if (cache.names.empty()) return widen(name);
    std::vector<char32_t> beyondBmp = charactersBeyondBmp(text);
    if (!beyondBmp.empty()) learnCharactersBeyondBmp(cache, beyondBmp);
    auto hasBeyondBmp = [&](size_t face, char32_t c) {
        auto known = cache.beyondBmp[face].find(c);
        return known != cache.beyondBmp[face].end() && known->second;
    };
    return cache.names[bestCoveringFace(cache.characters, text, hasBeyondBmp)];
}

void forgetInstalledFaces() { faces() = InstalledFaces(); }
