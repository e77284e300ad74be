#include "subplayer/Scenario.h"

#include <cctype>
#include <cstring>
#include <limits>

namespace {

// Argument letters: i integer, j optional integer (last only), k key name, c character,
// r text to the end of the line, R the same but possibly empty, p "text | text" (first required).
struct Syntax {
    const char* name;
    ActionKind kind;
    const char* arguments;
    const char* usage;
};

const Syntax kSyntax[] = {
    {"entry", ActionKind::Entry, "p", "entry <path> | <title>"},
    {"length", ActionKind::Length, "i", "length <seconds>"},
    {"select", ActionKind::Select, "i", "select <index>"},
    {"play", ActionKind::Play, "", "play"},
    {"pause", ActionKind::Pause, "", "pause"},
    {"stop", ActionKind::Stop, "", "stop"},
    {"seek", ActionKind::Seek, "i", "seek <ms>"},
    {"next", ActionKind::Next, "", "next"},
    {"hold", ActionKind::Hold, "i", "hold <ms>"},
    {"skin", ActionKind::Skin, "R", "skin <folder>"},
    {"settings", ActionKind::SettingsFolder, "R", "settings <folder>"},
    {"host-move", ActionKind::MoveHost, "ii", "host-move <x> <y>"},
    {"withhold", ActionKind::Withhold, "", "withhold"},
    {"release", ActionKind::Release, "", "release"},
    {"reply-delay", ActionKind::ReplyDelay, "i", "reply-delay <ms>"},
    {"old-host", ActionKind::OldHost, "", "old-host"},
    {"no-hotkeys", ActionKind::NoHotkeys, "", "no-hotkeys"},
    {"hotkey", ActionKind::Hotkey, "r", "hotkey <id>"},
    {"init", ActionKind::Init, "", "init"},
    {"config", ActionKind::Config, "", "config"},
    {"quit", ActionKind::Quit, "", "quit"},
    {"unload", ActionKind::Unload, "", "unload"},
    {"uninstall", ActionKind::Uninstall, "", "uninstall"},
    {"key", ActionKind::Key, "k", "key <key>"},
    {"char", ActionKind::Char, "c", "char <character>"},
    {"type", ActionKind::Type, "r", "type <text>"},
    {"click", ActionKind::Click, "ii", "click <x> <y>"},
    {"dblclick", ActionKind::DoubleClick, "ii", "dblclick <x> <y>"},
    {"rclick", ActionKind::RightClick, "ii", "rclick <x> <y>"},
    {"drag", ActionKind::Drag, "iiiij", "drag <x0> <y0> <x1> <y1> [steps]"},
    {"send", ActionKind::Send, "iii", "send <message> <wParam> <lParam>"},
    {"post", ActionKind::Post, "iii", "post <message> <wParam> <lParam>"},
    {"frame", ActionKind::Frame, "", "frame"},
    {"record", ActionKind::Record, "i", "record <ticks>"},
    {"sweep", ActionKind::Sweep, "iii", "sweep <from ms> <to ms> <step ms>"},
    {"gif", ActionKind::Gif, "r", "gif <file>"},
    {"contact", ActionKind::Contact, "iir", "contact <frames> <columns> <file>"},
    {"time", ActionKind::TimeTicks, "ir", "time <ticks> <label>"},
    {"say", ActionKind::Say, "r", "say <text>"},
};

const int64_t kIntMin = std::numeric_limits<int32_t>::min();
const int64_t kIntMax = std::numeric_limits<int32_t>::max();

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && isSpace(s[b])) ++b;
    while (e > b && isSpace(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// Splits off the first whitespace-separated word; rest (which may be s itself) keeps what
// follows, trimmed.
std::string firstWord(const std::string& s, std::string& rest) {
    size_t e = 0;
    while (e < s.size() && !isSpace(s[e])) ++e;
    std::string word = s.substr(0, e);
    rest = trim(s.substr(e));
    return word;
}

int parseInteger(const std::string& word, int64_t& value) {
    if (word.empty() || word.size() > 12) return 0;
    size_t i = 0;
    bool negative = false;
    if (word[i] == '-' || word[i] == '+') negative = word[i++] == '-';
    int base = 10;
    if (word.size() > i + 2 && word[i] == '0' && (word[i + 1] == 'x' || word[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == word.size()) return 0;
    int64_t v = 0;
    for (; i < word.size(); ++i) {
        char c = word[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && std::isxdigit(static_cast<unsigned char>(c)))
            digit = std::tolower(c) - 'a' + 10;
        else
            return 0;
        v = v * base + digit;
    }
    value = negative ? -v : v;
    // Hex words name bit patterns (message parameters): allow the full unsigned 32-bit range.
    return value >= kIntMin && value <= (base == 16 ? int64_t(0xFFFFFFFF) : kIntMax);
}

class LineParser {
public:
    LineParser(int line, ScenarioError& error) : line(line), error(error) {}

    int fail(const std::string& message) {
        error.line = line;
        error.message = message;
        return 0;
    }

    int integer(std::string& rest, int64_t& value, const char* usage) {
        std::string word = firstWord(rest, rest);
        if (word.empty()) return fail(std::string("missing number; use: ") + usage);
        if (!parseInteger(word, value)) return fail("not a number: \"" + word + "\"");
        return 1;
    }

    int arguments(const Syntax& syntax, std::string rest, ScenarioAction& action) {
        for (const char* a = syntax.arguments; *a; ++a) {
            int64_t value = 0;
            switch (*a) {
            case 'i':
                if (!integer(rest, value, syntax.usage)) return 0;
                action.numbers.push_back(value);
                break;
            case 'j':
                if (rest.empty()) break;
                if (!integer(rest, value, syntax.usage)) return 0;
                action.numbers.push_back(value);
                break;
            case 'k': {
                std::string word = firstWord(rest, rest);
                if (!keyCodeFromName(word, value)) return fail("unknown key \"" + word + "\"");
                action.numbers.push_back(value);
                break;
            }
            case 'c': {
                std::string word = firstWord(rest, rest);
                if (word.size() == 1)
                    value = static_cast<unsigned char>(word[0]);
                else if (!parseInteger(word, value) || value < 0 || value > 255)
                    return fail("not a character: \"" + word + "\"; use one byte or its code");
                action.numbers.push_back(value);
                break;
            }
            case 'r':
                if (rest.empty()) return fail(std::string("missing text; use: ") + syntax.usage);
                [[fallthrough]];
            case 'R':
                action.text = rest;
                rest.clear();
                break;
            case 'p': {
                size_t bar = rest.find('|');
                if (bar == std::string::npos) return fail(std::string("missing \"|\"; use: ") + syntax.usage);
                action.text = trim(rest.substr(0, bar));
                action.text2 = trim(rest.substr(bar + 1));
                if (action.text.empty()) return fail(std::string("missing path; use: ") + syntax.usage);
                rest.clear();
                break;
            }
            }
        }
        if (!rest.empty()) return fail("unexpected \"" + rest + "\"; use: " + syntax.usage);
        return 1;
    }

    // Forms that do not fit the argument letters: capture, wait, sheet, menu, expect.
    int special(const std::string& name, std::string rest, ScenarioAction& action, int& known) {
        known = 1;
        if (name == "capture") {
            std::string what = firstWord(rest, rest);
            if (what == "bar") {
                action.kind = ActionKind::CaptureBar;
            } else if (what == "host") {
                action.kind = ActionKind::CaptureHost;
                for (int i = 0; i < 4; ++i) {
                    int64_t v;
                    if (!integer(rest, v, "capture host <x> <y> <width> <height> <file>")) return 0;
                    action.numbers.push_back(v);
                }
                if (action.numbers[2] <= 0 || action.numbers[3] <= 0) return fail("capture size must be positive");
            } else if (what == "sheet") {
                action.kind = ActionKind::CaptureSheet;
            } else if (what == "desktop") {
                action.kind = ActionKind::CaptureDesktop;
            } else {
                return fail(
                    "use: capture bar <file> | capture host <x> <y> <width> <height> <file> | capture sheet <file> | "
                    "capture desktop <file>");
            }
            if (rest.empty()) return fail("missing file name of the capture");
            action.text = rest;
            return 1;
        }
        if (name == "wait") {
            int64_t v;
            if (!integer(rest, v, "wait <ms> | wait <n> ticks")) return 0;
            action.numbers.push_back(v);
            if (rest.empty()) {
                action.kind = ActionKind::Wait;
                if (v < 0) return fail("a wait cannot be negative");
            } else if (rest == "ticks" || rest == "tick") {
                action.kind = ActionKind::WaitTicks;
                if (v < 1) return fail("wait at least one tick");
            } else {
                return fail("use: wait <ms> | wait <n> ticks");
            }
            return 1;
        }
        if (name == "sheet") {
            action.kind = ActionKind::Sheet;
            std::string what = firstWord(rest, rest);
            int64_t page = 0;
            if (what == "ok" && rest.empty()) {
                action.numbers.push_back(1);
            } else if (what == "cancel" && rest.empty()) {
                action.numbers.push_back(0);
            } else if (what == "page" && parseInteger(rest, page) && page >= 1) {
                action.kind = ActionKind::SheetPage;
                action.numbers.push_back(page);
            } else {
                return fail("use: sheet ok | sheet cancel | sheet page <page, from 1>");
            }
            return 1;
        }
        if (name == "menu") {
            action.kind = ActionKind::Menu;
            int64_t v = 0;
            if (rest != "cancel" && (!parseInteger(rest, v) || v < 1))
                return fail("use: menu <item, from 1> | menu cancel");
            action.numbers.push_back(v);
            return 1;
        }
        if (name == "expect") {
            std::string what = firstWord(rest, rest);
            size_t bar = rest.find('|');
            if (what != "box" || bar == std::string::npos) return fail("use: expect box <caption> | <text>");
            action.kind = ActionKind::ExpectBox;
            action.text = trim(rest.substr(0, bar));
            action.text2 = trim(rest.substr(bar + 1));
            return 1;
        }
        known = 0;
        return 0;
    }

    int checkRanges(ScenarioAction& a) {
        auto& n = a.numbers;
        switch (a.kind) {
        case ActionKind::Select:
        case ActionKind::ReplyDelay:
            if (n[0] < 0) return fail("the number cannot be negative");
            break;
        case ActionKind::Drag:
            if (n.size() < 5) n.push_back(4);
            if (n[4] < 1 || n[4] > 1000) return fail("a drag takes 1 to 1000 steps");
            break;
        case ActionKind::Record:
            if (n[0] < 1) return fail("record at least one tick");
            break;
        case ActionKind::TimeTicks:
            if (n[0] < 1 || n[0] > 1000000) return fail("time 1 to 1000000 ticks");
            break;
        case ActionKind::Sweep:
            if (n[2] < 1 || n[1] < n[0])
                return fail("a sweep runs from a position up to a later one in positive steps");
            if ((n[1] - n[0]) / n[2] > 100000) return fail("a sweep of more than 100000 frames");
            break;
        case ActionKind::Contact:
            if (n[0] < 1 || n[1] < 1) return fail("a contact sheet needs at least one frame and one column");
            break;
        case ActionKind::Key:
            if (n[0] < 1 || n[0] > 254) return fail("a key code runs from 1 to 254");
            break;
        default: break;
        }
        return 1;
    }

private:
    int line;
    ScenarioError& error;
};

const Syntax* findSyntax(const std::string& name) {
    for (const Syntax& s : kSyntax)
        if (name == s.name) return &s;
    return nullptr;
}

}  // namespace

int keyCodeFromName(const std::string& name, int64_t& code) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        code = std::toupper(static_cast<unsigned char>(name[0]));
        return 1;
    }
    static const struct {
        const char* name;
        int code;
    } kNames[] = {
        {"back", 0x08}, {"tab", 0x09},  {"enter", 0x0D}, {"escape", 0x1B}, {"space", 0x20}, {"end", 0x23},
        {"home", 0x24}, {"left", 0x25}, {"up", 0x26},    {"right", 0x27},  {"down", 0x28},  {"delete", 0x2E},
    };
    for (auto& k : kNames)
        if (name == k.name) {
            code = k.code;
            return 1;
        }
    if (name.size() >= 2 && (name[0] == 'f' || name[0] == 'F')) {
        int64_t n;
        if (parseInteger(name.substr(1), n) && n >= 1 && n <= 12 && name[1] != '+' && name[1] != '-') {
            code = 0x70 + n - 1;
            return 1;
        }
    }
    return parseInteger(name, code) && code >= 0;
}

int parseScenario(const std::string& text, Scenario& scenario, ScenarioError& error) {
    scenario = Scenario();
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    int lineNumber = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = trim(text.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.empty() || line[0] == '#') continue;
        LineParser parser(lineNumber, error);
        if (line.find('\0') != std::string::npos) return parser.fail("a NUL byte in the line");

        std::string rest;
        std::string name = firstWord(line, rest);
        ScenarioAction action;
        action.line = lineNumber;
        if (name == "at") {
            if (!parser.integer(rest, action.atMs, "at <ms> <action>")) return 0;
            if (action.atMs < 0) return parser.fail("a time cannot be negative");
            name = firstWord(rest, rest);
            if (name.empty()) return parser.fail("missing action after the time");
        }
        if (name == "host") {
            if (rest != "own-thread" || action.atMs >= 0) return parser.fail("use: host own-thread");
            if (!scenario.actions.empty()) return parser.fail("\"host own-thread\" must come before every action");
            scenario.hostOwnThread = 1;
            continue;
        }

        int known = 0;
        if (const Syntax* syntax = findSyntax(name)) {
            action.kind = syntax->kind;
            if (!parser.arguments(*syntax, rest, action)) return 0;
        } else if (!parser.special(name, rest, action, known)) {
            if (!known) return parser.fail("unknown action \"" + name + "\"");
            return 0;
        }
        if (!parser.checkRanges(action)) return 0;
        if ((action.kind == ActionKind::Withhold || action.kind == ActionKind::Release) && !scenario.hostOwnThread)
            return parser.fail("withholding replies needs \"host own-thread\" at the top");
        scenario.actions.push_back(action);
    }
    return 1;
}
