#include "render/FontChoice.h"

#include <algorithm>
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
    return cache.names[bestCoveringFace(cache.characters, text)];
}

void forgetInstalledFaces() { faces() = InstalledFaces(); }
