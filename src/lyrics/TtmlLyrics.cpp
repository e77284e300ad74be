#include "lyrics/TtmlLyrics.h"

#include <algorithm>
#include <pugixml.hpp>
#include <unordered_map>
#include <utility>

#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsParser.h"
#include "lyrics/SyncedLyrics.h"
#include "lyrics/TextEncoding.h"
#include "utils/Text.h"
#include "utils/Utf.h"

namespace {

int isDigit(char c) { return c >= '0' && c <= '9'; }
int isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

// Nine digits at most: every value below stays far inside 64 bits.
constexpr size_t kMaxDigits = 9;

// The digits at the start of text, as a number; how many there are (0: none, or too many).
size_t leadingNumber(std::string_view text, int64_t& value) {
    size_t n = 0;
    value = 0;
    // A longer run is counted to its end but not added up: it is too many digits anyway.
    for (; n < text.size() && isDigit(text[n]); ++n)
        if (n < kMaxDigits) value = value * 10 + (text[n] - '0');
    return n <= kMaxDigits ? n : 0;
}

// "digits[.digits]" whole, in units of unitMs, as milliseconds rounded down. Fraction digits past
// the ninth are below a nanosecond and left out.
int decimalMs(std::string_view text, int64_t unitMs, int64_t& ms) {
    int64_t whole = 0;
    size_t n = leadingNumber(text, whole);
    if (n == 0) return 0;
    ms = whole * unitMs;
    if (n == text.size()) return 1;
    if (text[n] != '.' || n + 1 == text.size()) return 0;
    std::string_view fraction = text.substr(n + 1);
    if (!std::all_of(fraction.begin(), fraction.end(), isDigit)) return 0;
    int64_t digits = 0, scale = 1;
    for (size_t i = 0; i < fraction.size() && i < kMaxDigits; ++i) {
        digits = digits * 10 + (fraction[i] - '0');
        scale *= 10;
    }
    ms += digits * unitMs / scale;
    return 1;
}

// "[[h:]m:]s[.f]".
int clockMs(std::string_view text, int64_t& ms) {
    int64_t total = 0;
    for (int part = 0;; ++part) {
        size_t colon = text.find(':');
        if (colon == std::string_view::npos) {
            int64_t seconds;
            if (!decimalMs(text, 1000, seconds)) return 0;
            ms = total * 60 * 1000 + seconds;
            return 1;
        }
        // Hours and minutes: two fields before the seconds at most (a fourth would be frames).
        int64_t value;
        if (part == 2 || leadingNumber(text, value) != colon || colon == 0) return 0;
        total = total * 60 + value;
        text.remove_prefix(colon + 1);
    }
}

// "<number><unit>" with the units h, m, s and ms.
int offsetMs(std::string_view text, int64_t& ms) {
    size_t unit = text.find_first_not_of("0123456789.");
    if (unit == std::string_view::npos || unit == 0) return 0;
    std::string_view name = text.substr(unit);
    int64_t unitMs = name == "h" ? 3600000 : name == "m" ? 60000 : name == "s" ? 1000 : name == "ms" ? 1 : 0;
    return unitMs && decimalMs(text.substr(0, unit), unitMs, ms);
}

// The name without the file's namespace prefix: "ttm:agent" is "agent".
std::string_view localName(const char* name) {
    std::string_view full(name);
    size_t colon = full.rfind(':');
    return colon == std::string_view::npos ? full : full.substr(colon + 1);
}

pugi::xml_attribute attributeNamed(pugi::xml_node node, std::string_view local) {
    for (pugi::xml_attribute attribute : node.attributes())
        if (localName(attribute.name()) == local) return attribute;
    return {};
}

std::string_view roleOf(pugi::xml_node node) { return attributeNamed(node, "role").value(); }

// Calls enter(node) for every node below root in document order, going into a node's children
// when it returns true, and leave(node) once its children are done. Nodes deeper than
// kMaxTtmlDepth below root are left out, and tooDeep is set. No recursion: the walk takes no
// stack of its own, however deep the file.
template <typename Enter, typename Leave>
void walkInside(pugi::xml_node root, Enter enter, Leave leave, int& tooDeep) {
    pugi::xml_node node = root.first_child();
    int32_t depth = 1;
    while (node) {
        bool descend = enter(node) && node.first_child();
        if (descend && depth >= kMaxTtmlDepth) {
            tooDeep = 1;
            descend = false;
        }
        if (descend) {
            node = node.first_child();
            ++depth;
            continue;
        }
        for (;;) {
            leave(node);
            if (pugi::xml_node next = node.next_sibling()) {
                node = next;
                break;
            }
            node = node.parent();
            --depth;
            if (node == root) {
                node = pugi::xml_node();
                break;
            }
        }
    }
}

// A text as it is built from the nodes of a line: white space runs made one space, the marks that
// time it, and the background vocals in brackets.
class LineText {
public:
    std::string text;
    std::vector<TimeMark> marks;
    int32_t backgroundOffset = -1;

    void append(std::string_view value) {
        // Character references can write what UTF-8 cannot hold (a surrogate): that becomes U+FFFD.
        std::string valid;
        if (!isValidUtf8(value)) value = valid = decodeUnicode(value, TextEncoding::kUtf8, value.size());
        for (char c : value) {
            if (!isSpace(c)) {
                text += c;
            } else if (!text.empty() && text.back() != ' ') {
                text += ' ';
            }
        }
    }
    // A mark at the text's end; a time earlier than the last mark's is held at it, so that the
    // wipe never runs back.
    void mark(int32_t time) {
        int32_t offset = static_cast<int32_t>(text.size());
        if (!marks.empty()) {
            time = std::max(time, marks.back().time);
            if (marks.back().offset == offset && marks.back().time == time) return;
        }
        marks.push_back({offset, time});
    }
    void openBackground() {
        trimEnd();
        if (!text.empty()) text += ' ';
        backgroundOffset = static_cast<int32_t>(text.size());
    }
    // The background vocals in brackets, unless the file wrote them in brackets already; none
    // when they hold no text.
    void closeBackground() {
        trimEnd();  // the space before the background too, when it holds none
        size_t start = static_cast<size_t>(backgroundOffset);
        if (text.size() <= start) {
            backgroundOffset = -1;
            return;
        }
        if (text[start] != '(') {
            text.insert(start, 1, '(');
            // The bracket is wiped with the first background word.
            for (TimeMark& m : marks)
                if (m.offset > backgroundOffset) ++m.offset;
        }
        if (text.back() != ')') text += ')';
    }
    void trimEnd() {
        while (!text.empty() && text.back() == ' ') text.pop_back();
        clampMarks();
    }

private:
    void clampMarks() {
        for (TimeMark& m : marks) m.offset = std::min(m.offset, static_cast<int32_t>(text.size()));
    }
};

// The problems found, each named by the line of the file it lies on and the character in that
// line (pugixml gives byte offsets).
class Problems {
public:
    Problems(const std::string& text, std::vector<TtmlWarning>& warnings) : text(text), warnings(warnings) {}

    void add(TtmlProblem problem, ptrdiff_t offset, std::string detail = {}) {
        if (count++ >= kMaxTtmlWarnings) return;
        if (lineStarts.empty()) {
            lineStarts.push_back(0);
            for (size_t i = 0; i < text.size(); ++i)
                if (text[i] == '\n') lineStarts.push_back(i + 1);
        }
        size_t at = static_cast<size_t>(std::clamp<ptrdiff_t>(offset, 0, static_cast<ptrdiff_t>(text.size())));
        auto line = std::upper_bound(lineStarts.begin(), lineStarts.end(), at) - 1;
        int32_t character = static_cast<int32_t>(codePointsBefore(std::string_view(text).substr(*line), at - *line));
        warnings.push_back(
            {problem, static_cast<int32_t>(line - lineStarts.begin()) + 1, character, std::move(detail)});
    }
    void at(TtmlProblem problem, pugi::xml_node node) { add(problem, node.offset_debug()); }

private:
    const std::string& text;
    std::vector<TtmlWarning>& warnings;
    std::vector<size_t> lineStarts;
    size_t count = 0;
};

struct Agent {
    std::string id;
    int32_t voice;
};

// What the head gives a line through its itunes:key.
struct KeyedTexts {
    std::vector<std::string> translations;
    std::string romanisation;
};

class TtmlReader {
public:
    TtmlReader(std::string_view bytes, LyricsDocument& document, std::vector<TtmlWarning>& warnings)
        : document(document), text(decoded(bytes)), problems(text, warnings) {
        if (bytes.size() > kMaxTtmlBytes) problems.add(TtmlProblem::kTooLarge, static_cast<ptrdiff_t>(text.size()));
    }

    int read() {
        unsigned options = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_doctype;
        // Parsed in place, pugixml ends the text on its last byte: a zero byte of our own, so that
        // a file that breaks off keeps its last character.
        text.push_back('\0');
        pugi::xml_parse_result result = xml.load_buffer_inplace(text.data(), text.size(), options, pugi::encoding_utf8);
        // What came before the error is in the tree: those lines are read.
        if (!result) problems.add(TtmlProblem::kMalformedXml, result.offset, result.description());
        for (pugi::xml_node node : xml.children())
            if (node.type() == pugi::node_doctype &&
                std::string_view(node.value()).find("<!ENTITY") != std::string_view::npos)
                problems.at(TtmlProblem::kEntityDeclarations, node);
        pugi::xml_node root = xml.document_element();
        for (pugi::xml_node part : root.children()) {
            if (localName(part.name()) == "head") readHead(part);
            if (localName(part.name()) == "body") readBody(part);
        }
        if (tooDeep) problems.add(TtmlProblem::kTooDeep, 0);
        if (lines.empty()) {
            problems.add(TtmlProblem::kNoLines, 0);
            return 0;
        }
        if (!title.empty()) document.title = headerText(title);
        if (!artist.empty()) document.artist = headerText(artist);
        document.lines = std::move(lines);
        return 1;
    }

private:
    // The file's text as UTF-8, and its encoding noted in the document.
    std::string decoded(std::string_view bytes) {
        bytes = bytes.substr(0, kMaxTtmlBytes);
        // A byte-order mark decides; without one, XML is UTF-8 (what is not becomes U+FFFD).
        TextEncoding encoding = detectEncoding(bytes.substr(0, 3), 1);
        if (encoding == TextEncoding::kAnsi) encoding = TextEncoding::kUtf8;
        document.encoding = encoding;
        if (encoding == TextEncoding::kUtf8Bom) bytes.remove_prefix(3);
        int utf16 = encoding == TextEncoding::kUtf16Le || encoding == TextEncoding::kUtf16Be;
        if (utf16 || !isValidUtf8(bytes))
            return decodeUnicode(bytes, utf16 ? encoding : TextEncoding::kUtf8, bytes.size());
        return std::string(bytes);
    }

    // The begin or end attribute as a time: 0 when it is not given, or not a time (then with a
    // warning when warn is set).
    int timeOf(pugi::xml_node node, const char* name, int32_t& time, int warn = 1) {
        pugi::xml_attribute attribute = node.attribute(name);
        if (!attribute) return 0;
        if (ttmlTime(attribute.value(), time)) return 1;
        if (warn) problems.at(TtmlProblem::kUnreadableTime, node);
        return 0;
    }

    // The text inside a node, white space runs made one space, background vocals in brackets.
    std::string plainText(pugi::xml_node node) {
        LineText plain;
        pugi::xml_node background;
        walkInside(
            node,
            [&](pugi::xml_node n) {
                if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) plain.append(n.value());
                if (n.type() != pugi::node_element) return false;
                std::string_view role = roleOf(n);
                if (role == "x-translation" || role == "x-roman") return false;
                if (role == "x-bg" && !background) {
                    background = n;
                    plain.openBackground();
                }
                return true;
            },
            [&](pugi::xml_node n) {
                if (n == background) plain.closeBackground();
            },
            tooDeep);
        plain.trimEnd();
        return plain.text;
    }

    void readHead(pugi::xml_node head) {
        int32_t voices = 0;
        walkInside(
            head,
            [&](pugi::xml_node n) {
                if (n.type() != pugi::node_element) return false;
                std::string_view name = localName(n.name());
                if (name == "agent") {
                    std::string_view type = n.attribute("type").value();
                    agents.push_back({attributeNamed(n, "id").value(), type == "group" ? 0 : ++voices});
                    return false;
                }
                if (name == "title" && title.empty()) title = plainText(n);
                if (name == "meta" && std::string_view(n.attribute("key").value()) == "artists" && artist.empty())
                    artist = std::string(trimmed(n.attribute("value").value()));
                if (name == "translation" || name == "transliteration") {
                    for (pugi::xml_node entry : n.children()) {
                        if (localName(entry.name()) != "text") continue;
                        KeyedTexts& keyed = byKey[entry.attribute("for").value()];
                        std::string entryText = plainText(entry);
                        if (name == "translation") {
                            keyed.translations.push_back(std::move(entryText));
                        } else if (keyed.romanisation.empty()) {
                            keyed.romanisation = std::move(entryText);
                        }
                    }
                    return false;
                }
                return name != "title";
            },
            [](pugi::xml_node) {}, tooDeep);
    }

    void readBody(pugi::xml_node body) {
        walkInside(
            body,
            [&](pugi::xml_node n) {
                if (n.type() != pugi::node_element) return false;
                if (localName(n.name()) != "p") return true;
                readLine(n, body);
                return false;
            },
            [](pugi::xml_node) {}, tooDeep);
    }

    // The singer named on the line or the nearest element around it.
    int32_t voiceOf(pugi::xml_node p, pugi::xml_node body, std::string& agent) {
        for (pugi::xml_node n = p; n && n != body.parent(); n = n.parent()) {
            if (pugi::xml_attribute named = attributeNamed(n, "agent")) {
                agent = named.value();
                break;
            }
        }
        if (agent.empty()) return 0;
        for (const Agent& known : agents)
            if (known.id == agent) return known.voice;
        int32_t voice = 1;
        for (const Agent& known : agents) voice = std::max(voice, known.voice + 1);
        agents.push_back({agent, voice});
        return voice;
    }

    void readLine(pugi::xml_node p, pugi::xml_node body) {
        LineText line;
        int32_t begin = 0, end = 0;
        int hasBegin = timeOf(p, "begin", begin), hasEnd = timeOf(p, "end", end);
        if (hasBegin && hasEnd && end < begin) problems.at(TtmlProblem::kBackwards, p);
        if (hasBegin) line.mark(begin);
        std::vector<std::string> translations[2], romanisations[2];  // of the words, of the background
        pugi::xml_node background;                                   // the line's one background part
        int inBackground = 0;
        int32_t words = 0, lastWordBegin = -1;
        walkInside(
            p,
            [&](pugi::xml_node n) {
                if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) line.append(n.value());
                if (n.type() != pugi::node_element) return false;
                std::string_view role = roleOf(n);
                if (role == "x-translation" || role == "x-roman") {
                    std::vector<std::string>* texts = role == "x-roman" ? romanisations : translations;
                    texts[inBackground].push_back(plainText(n));
                    return false;
                }
                if (localName(n.name()) == "br") line.append(" ");
                if (role == "x-bg" && !background) {
                    background = n;
                    inBackground = 1;
                    line.openBackground();
                    lastWordBegin = -1;
                }
                int32_t time;
                if (timeOf(n, "begin", time)) {
                    if (time < lastWordBegin) problems.at(TtmlProblem::kBackwards, n);
                    lastWordBegin = time;
                    ++words;
                    line.mark(time);
                }
                return true;
            },
            [&](pugi::xml_node n) {
                int32_t time, wordBegin;
                std::string_view role = roleOf(n);
                if (role == "x-translation" || role == "x-roman") return;
                if (n.type() == pugi::node_element && timeOf(n, "end", time)) {
                    if (timeOf(n, "begin", wordBegin, 0) && time < wordBegin) problems.at(TtmlProblem::kBackwards, n);
                    line.mark(time);
                }
                if (n == background) {
                    line.closeBackground();
                    inBackground = 0;
                }
            },
            tooDeep);
        line.trimEnd();
        if (line.text.empty()) return;  // an empty line: nothing to show
        if (hasEnd) line.mark(end);
        if (line.marks.empty()) {
            problems.at(TtmlProblem::kMissingTime, p);
            return;
        }
        // Words that begin after some text: that text is reached when the first word is.
        if (line.marks.front().offset > 0) line.marks.insert(line.marks.begin(), TimeMark{0, line.marks.front().time});

        LyricsLine& shown = lines.emplace_back();
        shown.text = std::move(line.text);
        shown.length = static_cast<int32_t>(shown.text.size());
        shown.isKaraoke = words > 0;
        shown.marks = std::move(line.marks);
        shown.backgroundOffset = line.backgroundOffset;
        shown.voice = voiceOf(p, body, shown.agent);

        // The head's texts first, then those inside the line; each the same only once.
        std::vector<std::string> allTranslations;
        std::string romanisation;
        if (pugi::xml_attribute key = attributeNamed(p, "key")) {
            auto keyed = byKey.find(key.value());
            if (keyed != byKey.end()) {
                allTranslations = keyed->second.translations;
                romanisation = keyed->second.romanisation;
            }
        }
        for (size_t k = 0; k < translations[0].size() || k < translations[1].size(); ++k)
            allTranslations.push_back(withBackground(translations, k));
        if (romanisation.empty()) romanisation = withBackground(romanisations, 0);
        for (std::string& translation : allTranslations) {
            if (translation.empty() || translation == shown.translation) continue;
            if (shown.translation.empty()) {
                shown.translation = std::move(translation);
            } else if (shown.secondTranslation.empty()) {
                shown.secondTranslation = std::move(translation);
            }
        }
        shown.romanisation = std::move(romanisation);
    }

    // The k-th text of the words, with the k-th of the background vocals after it in brackets.
    static std::string withBackground(const std::vector<std::string> (&texts)[2], size_t k) {
        std::string words = k < texts[0].size() ? texts[0][k] : std::string();
        std::string background = k < texts[1].size() ? texts[1][k] : std::string();
        if (background.empty()) return words;
        if (background.front() != '(') background = "(" + background + ")";
        return words.empty() ? background : words + " " + background;
    }

    LyricsDocument& document;
    std::string text;  // the file as UTF-8; pugixml parses it in place
    Problems problems;
    pugi::xml_document xml;
    std::vector<LyricsLine> lines;
    std::vector<Agent> agents;
    std::unordered_map<std::string, KeyedTexts> byKey;
    std::string title, artist;
    int tooDeep = 0;
};

// A line without an end of its own (neither the line's nor its last word's at its last letter)
// ends where the next line in time begins, or three seconds after its last mark when it is the
// last; never before its last mark, as duets overlap.
void endLinesInTimeOrder(std::vector<LyricsLine>& lines) {
    for (size_t n = 0; n < lines.size(); ++n) {
        LyricsLine& line = lines[n];
        if (line.marks.back().offset == line.length) continue;
        int32_t last = line.marks.back().time;
        int32_t end = n + 1 < lines.size() ? std::max(last, lines[n + 1].marks.front().time)
                                           : std::min(last + kLastLineHold, kMaxSyncedTime);
        line.marks.push_back({line.length, end});
    }
}

}  // namespace

std::string ttmlProblemText(const TtmlWarning& warning) {
    switch (warning.problem) {
    case TtmlProblem::kMalformedXml:
        return "the XML breaks off here (" + warning.detail + "): the lines before are read";
    case TtmlProblem::kTooLarge: return "the file is larger than 4 MB: its first 4 MB are read";
    case TtmlProblem::kEntityDeclarations: return "the document type declares entities: they are not expanded";
    case TtmlProblem::kTooDeep: return "elements nested more than 64 deep: what lies deeper is left out";
    case TtmlProblem::kUnreadableTime: return "a begin or end that is no time: taken as not given";
    case TtmlProblem::kMissingTime: return "a line without a begin time: left out";
    case TtmlProblem::kBackwards: return "a time before the one before it: held at that one";
    case TtmlProblem::kNoLines: return "no timed line with text";
    }
    return "";
}

int ttmlTime(std::string_view text, int32_t& time) {
    text = trimmed(text);
    int64_t ms = 0;
    if (!clockMs(text, ms) && !offsetMs(text, ms)) return 0;
    time = static_cast<int32_t>(std::min<int64_t>(ms / 10, kMaxSyncedTime));
    return 1;
}

int parseTtml(LyricsDocument& document, std::string_view bytes, int32_t timeType, std::vector<TtmlWarning>& warnings) {
    TtmlReader reader(bytes, document, warnings);
    if (!reader.read()) return 0;
    orderLines(document, timeType);
    endLinesInTimeOrder(document.lines);
    return 1;
}
