#pragma once
// A scenario is the script the substitute player runs: one action per line, in order, each either
// right after the one before or at a time counted from the start. Parsing is a pure function from
// the file's text to this model; the player's Windows side carries the actions out.
#include <cstdint>
#include <string>
#include <vector>

enum class ActionKind {
    // the host's playlist, clock, skin and settings folder
    Entry,
    Length,
    Select,
    Play,
    Pause,
    Stop,
    Seek,
    Next,
    Hold,
    Skin,
    SettingsFolder,
    MoveHost,
    // how the host answers
    Withhold,
    Release,
    ReplyDelay,
    OldHost,
    NoHotkeys,
    // a global hotkey the plug-in registered, pressed
    Hotkey,
    // the plug-in's entry points
    Init,
    Config,
    Quit,
    Unload,
    Uninstall,
    // input to the bar
    Key,
    Char,
    Type,
    Click,
    DoubleClick,
    RightClick,
    Drag,
    Menu,
    Send,
    Post,
    Sheet,
    SheetPage,
    // pictures
    CaptureBar,
    CaptureHost,
    CaptureSheet,
    CaptureDesktop,
    Frame,
    Record,
    Sweep,
    Gif,
    Contact,
    // waiting and checking
    Wait,
    WaitTicks,
    ExpectBox,
    // measuring, and telling whoever runs the player how far it has come
    TimeTicks,
    Say,
};

struct ScenarioAction {
    ActionKind kind = ActionKind::Wait;
    int line = 0;                  // 1-based line in the file, for messages
    int64_t atMs = -1;             // "at" form: ms after the start; -1 = right after the previous
    std::vector<int64_t> numbers;  // numeric arguments in the order written
    std::string text;              // file path, folder, text to type, caption
    std::string text2;             // title of an entry, text of an expected box
};

struct Scenario {
    int hostOwnThread = 0;  // the host window runs on a thread of its own (needed to withhold)
    std::vector<ScenarioAction> actions;
};

struct ScenarioError {
    int line = 0;
    std::string message;
};

// Parses a whole scenario file (UTF-8, a leading byte-order mark is skipped). Returns 1 and fills
// scenario, or 0 and describes the first wrong line in error.
int parseScenario(const std::string& text, Scenario& scenario, ScenarioError& error);

// The virtual-key code for a key name as written in a scenario: a number (decimal or 0x hex), a
// single letter or digit, or one of the names enter, escape, space, tab, back, delete, left, right,
// up, down, home, end, f1 to f12. Returns 1 when the name is known.
int keyCodeFromName(const std::string& name, int64_t& code);
