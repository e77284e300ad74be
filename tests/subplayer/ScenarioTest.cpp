#include "subplayer/Scenario.h"

#include <gtest/gtest.h>

namespace {

Scenario parsed(const std::string& text) {
    Scenario s;
    ScenarioError e;
    EXPECT_EQ(parseScenario(text, s, e), 1) << "line " << e.line << ": " << e.message;
    return s;
}

ScenarioError rejected(const std::string& text) {
    Scenario s;
    ScenarioError e;
    EXPECT_EQ(parseScenario(text, s, e), 0) << text;
    return e;
}

}  // namespace

TEST(Scenario, ParsesEveryFormWithTimesTextsAndNumbers) {
    Scenario s = parsed(
        "\xEF\xBB\xBF# a comment, then the host option\r\n"
        "host own-thread\r\n"
        "\n"
        "entry C:\\Music\\a b.mp3 | Title | with bar\n"
        "  at 1500   play  \n"
        "hold -20\n"
        "skin\n"
        "key 0x41\n"
        "key f12\n"
        "char h\n"
        "type hello world\n"
        "drag 10 5 -30 8\n"
        "post 0x111 40003 0xFFFFFFFF\n"
        "capture host 0 0 275 116 host shot.png\n"
        "capture bar bar.png\n"
        "wait 250\n"
        "wait 3 ticks\n"
        "sheet cancel\n"
        "menu cancel\n"
        "menu 2\n"
        "contact 12 4 out/frames.png\n"
        "expect box Sorvane | Error creating window\n"
        "withhold\n"
        "sheet page 3\n"
        "capture sheet pages/display.png\n");
    EXPECT_EQ(s.hostOwnThread, 1);
    ASSERT_EQ(s.actions.size(), 22u);
    const auto& a = s.actions;
    EXPECT_EQ(a[0].kind, ActionKind::Entry);
    EXPECT_EQ(a[0].text, "C:\\Music\\a b.mp3");
    EXPECT_EQ(a[0].text2, "Title | with bar");  // the first bar splits: paths cannot hold one
    EXPECT_EQ(a[0].line, 4);
    EXPECT_EQ(a[0].atMs, -1);
    EXPECT_EQ(a[1].kind, ActionKind::Play);
    EXPECT_EQ(a[1].atMs, 1500);
    EXPECT_EQ(a[2].numbers, std::vector<int64_t>{-20});
    EXPECT_EQ(a[3].kind, ActionKind::Skin);
    EXPECT_EQ(a[3].text, "");
    EXPECT_EQ(a[4].numbers[0], 0x41);
    EXPECT_EQ(a[5].numbers[0], 0x7B);
    EXPECT_EQ(a[6].numbers[0], 'h');
    EXPECT_EQ(a[7].text, "hello world");
    EXPECT_EQ(a[8].numbers, (std::vector<int64_t>{10, 5, -30, 8, 4}));  // 4 steps when not given
    EXPECT_EQ(a[9].numbers, (std::vector<int64_t>{0x111, 40003, 0xFFFFFFFF}));
    EXPECT_EQ(a[10].kind, ActionKind::CaptureHost);
    EXPECT_EQ(a[10].numbers, (std::vector<int64_t>{0, 0, 275, 116}));
    EXPECT_EQ(a[10].text, "host shot.png");
    EXPECT_EQ(a[11].kind, ActionKind::CaptureBar);
    EXPECT_EQ(a[12].kind, ActionKind::Wait);
    EXPECT_EQ(a[13].kind, ActionKind::WaitTicks);
    EXPECT_EQ(a[13].numbers[0], 3);
    EXPECT_EQ(a[14].numbers[0], 0);
    EXPECT_EQ(a[15].numbers[0], 0);
    EXPECT_EQ(a[16].numbers[0], 2);
    EXPECT_EQ(a[17].numbers, (std::vector<int64_t>{12, 4}));
    EXPECT_EQ(a[17].text, "out/frames.png");
    EXPECT_EQ(a[18].text, "Sorvane");
    EXPECT_EQ(a[18].text2, "Error creating window");
    EXPECT_EQ(a[19].kind, ActionKind::Withhold);
    EXPECT_EQ(a[20].kind, ActionKind::SheetPage);
    EXPECT_EQ(a[20].numbers[0], 3);
    EXPECT_EQ(a[21].kind, ActionKind::CaptureSheet);
    EXPECT_EQ(a[21].text, "pages/display.png");
}

TEST(Scenario, ReportsTheFirstWrongLineWithItsNumber) {
    struct Case {
        const char* text;
        int line;
        const char* message;
    } cases[] = {
        {"play\nplya\n", 2, "unknown action \"plya\""},
        {"seek\n", 1, "missing number; use: seek <ms>"},
        {"seek 12x\n", 1, "not a number: \"12x\""},
        {"seek 99999999999\n", 1, "not a number: \"99999999999\""},
        {"play now\n", 1, "unexpected \"now\"; use: play"},
        {"entry C:\\a.mp3\n", 1, "missing \"|\"; use: entry <path> | <title>"},
        {"at -5 play\n", 1, "a time cannot be negative"},
        {"at 100\n", 1, "missing action after the time"},
        {"withhold\n", 1, "withholding replies needs \"host own-thread\" at the top"},
        {"play\nhost own-thread\n", 2, "\"host own-thread\" must come before every action"},
        {"wait 3 ticks later\n", 1, "use: wait <ms> | wait <n> ticks"},
        {"wait 0 ticks\n", 1, "wait at least one tick"},
        {"sweep 1000 900 16\n", 1, "a sweep runs from a position up to a later one in positive steps"},
        {"capture host 0 0 0 10 a.png\n", 1, "capture size must be positive"},
        {"capture bar\n", 1, "missing file name of the capture"},
        {"key ctrl\n", 1, "unknown key \"ctrl\""},
        {"menu 0\n", 1, "use: menu <item, from 1> | menu cancel"},
        {"sheet page 0\n", 1, "use: sheet ok | sheet cancel | sheet page <page, from 1>"},
        {"sheet ok now\n", 1, "use: sheet ok | sheet cancel | sheet page <page, from 1>"},
        {"capture sheet\n", 1, "missing file name of the capture"},
        {"drag 0 0 1 1 0\n", 1, "a drag takes 1 to 1000 steps"},
    };
    for (const Case& c : cases) {
        ScenarioError e = rejected(c.text);
        EXPECT_EQ(e.line, c.line) << c.text;
        EXPECT_EQ(e.message, c.message) << c.text;
    }
}

TEST(Scenario, KeyNames) {
    int64_t code = 0;
    for (auto [name, expected] : std::vector<std::pair<std::string, int64_t>>{
             {"a", 'A'}, {"7", '7'}, {"enter", 0x0D}, {"f1", 0x70}, {"F12", 0x7B}, {"0x26", 0x26}, {"65", 65}}) {
        EXPECT_EQ(keyCodeFromName(name, code), 1) << name;
        EXPECT_EQ(code, expected) << name;
    }
    for (std::string wrong : {"", "f13", "f-1", "shift", "-3"}) EXPECT_EQ(keyCodeFromName(wrong, code), 0) << wrong;
}
