#include "subplayer/ScenarioRunner.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "subplayer/BarInput.h"
#include "subplayer/ContactSheet.h"
#include "subplayer/DesktopPicture.h"
#include "subplayer/FileBytes.h"
#include "subplayer/GifWriter.h"
#include "subplayer/PngWriter.h"
#include "subplayer/TickTimes.h"
#include "subplayer/WinHelpers.h"
#include "subplayer/WindowCapture.h"

namespace {

const int kAppearTimeoutMs = 5000;  // for a sheet, menu or box to show up
const int kTickTimeoutMs = 2000;    // for each tick to come
const int kDesktopMargin = 60;      // the desktop shown around the desktop window in its captures

std::string hex(int64_t v) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(v));
    return text;
}

}  // namespace

ScenarioRunner::ScenarioRunner(SubstitutePlayer& player, const Scenario& scenario, const std::string& outFolder)
    : player(player), scenario(scenario), outFolder(outFolder) {}

int ScenarioRunner::run(int timeoutMs) {
    startMs = nowMs();
    giveUpMs = startMs + timeoutMs;
    player.setTimerJob([this] { pump(); });
    pump();
    player.runUntil([this] { return finished(); }, timeoutMs + 10000);
    if (!finished()) {
        failures.push_back("the scenario did not finish: a modal loop of the plug-in never returned");
        player.note(failures.back());
    }
    player.setTimerJob(nullptr);
    return failures.empty();
}

int ScenarioRunner::finished() const { return failed || (next >= scenario.actions.size() && !active); }

void ScenarioRunner::pump() {
    for (;;) {
        if (!failed && nowMs() > giveUpMs) {
            failed = 1;
            failures.push_back("the scenario timed out");
            player.note(failures.back());
        }
        if (finished()) {
            // Nothing more to do, but the plug-in may still sit in a modal loop further up.
            closeWhatIsLeftOpen();
            return;
        }
        // Inside an action that has not returned yet, go on only to work the sheet or menu it
        // opened; a message box it opened is closed by the player, and the action then returns.
        if (depth > 0 && !findPropertySheet() && !findPopupMenu()) return;
        if (active) {
            Progress p = progress();
            if (p == Waiting) return;
            active = nullptr;
            if (p == Failed) return;
            continue;
        }
        const ScenarioAction& a = scenario.actions[next];
        if (a.atMs >= 0 && nowMs() < startMs + static_cast<uint64_t>(a.atMs)) return;
        ++next;
        // A modal loop inside begin runs this pump again for the following actions.
        ++depth;
        Progress p = begin(a);
        --depth;
        if (p == Waiting) {
            // Its progress is checked on a later turn of the message loop, not now.
            active = &a;
            return;
        }
    }
}

ScenarioRunner::Progress ScenarioRunner::failAction(const ScenarioAction& a, const std::string& message) {
    failed = 1;
    failures.push_back("line " + std::to_string(a.line) + ": " + message);
    player.note("failed: " + failures.back());
    return Failed;
}

void ScenarioRunner::closeWhatIsLeftOpen() {
    HWND sheet = findPropertySheet();
    if (sheet && sheet != closingSheet) {
        player.note("closing the property sheet left open");
        closePropertySheet(sheet, 0);
    }
    closingSheet = sheet;
    if (HWND menu = findPopupMenu()) choosePopupMenuItem(menu, 0);
}

std::string ScenarioRunner::outputPath(const std::string& utf8Name) const {
    std::string name = ansiFromUtf8(utf8Name);
    bool absolute = name.size() > 1 && (name[1] == ':' || name[0] == '\\' || name[0] == '/');
    return absolute ? name : joinPath(outFolder, name);
}

void ScenarioRunner::holdPosition(int64_t positionMs) {
    player.host().withModel([&](HostModel& m) { m.clock.hold(static_cast<int32_t>(positionMs)); });
}

int ScenarioRunner::captureFrame(int64_t stampMs) {
    HWND bar = player.bar();
    RecordedFrame frame;
    if (!bar || !captureClient(bar, frame.image)) return 0;
    frame.stampMs = stampMs;
    recorded.push_back(std::move(frame));
    return 1;
}

ScenarioRunner::Progress ScenarioRunner::begin(const ScenarioAction& a) {
    HostWindow& host = player.host();
    const uint64_t now = nowMs();
    const auto& n = a.numbers;
    switch (a.kind) {
    case ActionKind::Entry: host.withModel([&](HostModel& m) { m.addEntry(a.text, a.text2); }); return Done;
    case ActionKind::Length:
        host.withModel([&](HostModel& m) { m.setLastEntryLength(static_cast<int32_t>(n[0])); });
        return Done;
    case ActionKind::Select: host.withModel([&](HostModel& m) { m.select(static_cast<int32_t>(n[0])); }); return Done;
    case ActionKind::Play: host.withModel([&](HostModel& m) { m.clock.play(now); }); return Done;
    case ActionKind::Pause: host.withModel([&](HostModel& m) { m.clock.pause(now); }); return Done;
    case ActionKind::Stop: host.withModel([&](HostModel& m) { m.clock.stop(); }); return Done;
    case ActionKind::Seek:
        host.withModel([&](HostModel& m) { m.clock.seek(static_cast<int32_t>(n[0]), now); });
        return Done;
    case ActionKind::Next: host.withModel([&](HostModel& m) { m.next(now); }); return Done;
    case ActionKind::Hold: holdPosition(n[0]); return Done;
    case ActionKind::Skin: host.withModel([&](HostModel& m) { m.setSkinFolder(a.text); }); return Done;
    case ActionKind::SettingsFolder: host.withModel([&](HostModel& m) { m.setSettingsFolder(a.text); }); return Done;
    case ActionKind::MoveHost:
        // Asynchronous when the host has a thread of its own, which may be withholding.
        SetWindowPos(host.handle(), nullptr, static_cast<int>(n[0]), static_cast<int>(n[1]), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
        return Done;
    case ActionKind::Withhold:
        if (!host.withhold()) return failAction(a, "the host thread did not stop to withhold");
        player.note("withholding replies");
        return Done;
    case ActionKind::Release:
        host.release();
        player.note("releasing replies");
        return Done;
    case ActionKind::ReplyDelay: host.setReplyDelay(static_cast<int>(n[0])); return Done;
    case ActionKind::OldHost: host.withModel([](HostModel& m) { m.oldHost = 1; }); return Done;
    case ActionKind::NoHotkeys: host.offerHotkeys(0); return Done;
    case ActionKind::Hotkey:
        if (!host.fireHotkey(a.text)) return failAction(a, "no global hotkey " + a.text + " is registered");
        return Done;
    case ActionKind::Init: player.init(); return Done;
    case ActionKind::Config: player.config(); return Done;
    case ActionKind::Quit: player.quit(); return Done;
    case ActionKind::Unload: player.unload(); return Done;
    case ActionKind::Say:
        // At once, not when the player ends: standard output may be a pipe, which buffers.
        std::printf("%s\n", a.text.c_str());
        std::fflush(stdout);
        return Done;
    case ActionKind::Uninstall: player.uninstall(); return Done;
    case ActionKind::Key:
    case ActionKind::Char:
    case ActionKind::Type:
    case ActionKind::Click:
    case ActionKind::DoubleClick:
    case ActionKind::RightClick:
    case ActionKind::Drag:
    case ActionKind::Send:
    case ActionKind::Post:
        // Then one turn of the message loop, so that what the plug-in posted in reply (keys for
        // the host, commands) is handled before the next input: a menu opened by the next
        // action would otherwise take those keys as its own.
        return actOnBar(a) == Done ? Waiting : Failed;
    case ActionKind::CaptureBar:
    case ActionKind::CaptureHost:
    case ActionKind::CaptureDesktop:
    case ActionKind::Frame: return capture(a);
    case ActionKind::Gif:
    case ActionKind::Contact: return writePictures(a);
    case ActionKind::Wait: deadline = now + n[0]; return Waiting;
    case ActionKind::WaitTicks:
    case ActionKind::TimeTicks:
        if (a.kind == ActionKind::TimeTicks) player.timeTicks(1);
        tickTarget = player.ticks() + static_cast<long>(n[0]);
        deadline = now + kAppearTimeoutMs + kTickTimeoutMs / 20 * n[0];
        return Waiting;
    case ActionKind::Record:
        recordLeft = n[0];
        tickTarget = player.ticks() + 1;
        deadline = now + kTickTimeoutMs;
        return Waiting;
    case ActionKind::Sweep:
        sweepPosition = n[0];
        holdPosition(sweepPosition);
        tickTarget = player.ticks() + 1;
        deadline = now + kTickTimeoutMs;
        return Waiting;
    case ActionKind::Sheet:
    case ActionKind::SheetPage:
    case ActionKind::CaptureSheet:
    case ActionKind::Menu:
    case ActionKind::ExpectBox:
        pressed = nullptr;
        deadline = now + kAppearTimeoutMs;
        return Waiting;
    }
    return Done;
}

ScenarioRunner::Progress ScenarioRunner::progress() {
    const ScenarioAction& a = *active;
    const uint64_t now = nowMs();
    switch (a.kind) {
    case ActionKind::Wait: return now >= deadline ? Done : Waiting;
    case ActionKind::WaitTicks:
        if (player.ticks() >= tickTarget) return Done;
        return now > deadline ? failAction(a, "the plug-in's ticks stopped coming") : Waiting;
    case ActionKind::TimeTicks: {
        if (player.ticks() < tickTarget)
            return now > deadline ? failAction(a, "the plug-in's ticks stopped coming") : Waiting;
        player.timeTicks(0);
        for (const std::string& line : describeTimedTicks(a.text, player.tickTimesMs(), player.tickUpdateTimesMs())) {
            player.note(line);
            std::printf("%s\n", line.c_str());
        }
        return Done;
    }
    case ActionKind::Record:
    case ActionKind::Sweep:
        if (player.ticks() < tickTarget)
            return now > deadline ? failAction(a, "the plug-in's ticks stopped coming") : Waiting;
        if (a.kind == ActionKind::Record) {
            if (!captureFrame(static_cast<int64_t>(player.elapsedMs())))
                return failAction(a, "no bar window to capture");
            if (--recordLeft == 0) return Done;
        } else {
            if (!captureFrame(sweepPosition)) return failAction(a, "no bar window to capture");
            sweepPosition += a.numbers[2];
            if (sweepPosition > a.numbers[1]) return Done;
            holdPosition(sweepPosition);
        }
        tickTarget = player.ticks() + 1;
        deadline = now + kTickTimeoutMs;
        return Waiting;
    case ActionKind::Sheet:
    case ActionKind::Menu: {
        // Press, then wait until the window has gone, so that what follows meets the plug-in
        // after its modal loop has returned.
        if (pressed) {
            if (!IsWindow(pressed) || !IsWindowVisible(pressed)) return Done;
            return now > deadline ? failAction(a, "the plug-in's window did not close") : Waiting;
        }
        player.watchModalWindows();
        const bool sheet = a.kind == ActionKind::Sheet;
        HWND window = sheet ? findPropertySheet() : findPopupMenu();
        if (!window)
            return now > deadline ? failAction(a, sheet ? "no property sheet opened" : "no popup menu opened")
                                  : Waiting;
        const int choice = static_cast<int>(a.numbers[0]);
        if (sheet) {
            for (SheetRecord& r : player.record.sheets)
                if (r.window == window) r.closedWith = choice;
            player.note(choice ? "sheet ok" : "sheet cancel");
            closePropertySheet(window, choice);
        } else {
            player.note(choice ? "menu item " + std::to_string(choice) : std::string("menu cancel"));
            choosePopupMenuItem(window, choice);
        }
        pressed = window;
        deadline = now + kAppearTimeoutMs;
        return Waiting;
    }
    case ActionKind::SheetPage:
    case ActionKind::CaptureSheet: {
        player.watchModalWindows();
        HWND sheet = findPropertySheet();
        if (!sheet) return now > deadline ? failAction(a, "no property sheet opened") : Waiting;
        return a.kind == ActionKind::SheetPage ? showSheetPage(a, sheet) : captureSheet(a, sheet);
    }
    case ActionKind::ExpectBox: {
        player.watchModalWindows();
        const auto& boxes = player.record.boxes;
        const std::string caption = ansiFromUtf8(a.text), text = ansiFromUtf8(a.text2);
        for (size_t i = boxesMatched; i < boxes.size(); ++i)
            if (boxes[i].caption == caption && boxes[i].text == text) {
                boxesMatched = i + 1;
                return Done;
            }
        return now > deadline ? failAction(a, "no message box \"" + a.text + "\" | \"" + a.text2 + "\"") : Waiting;
    }
    default: return Done;
    }
}

ScenarioRunner::Progress ScenarioRunner::actOnBar(const ScenarioAction& a) {
    HWND bar = player.bar();
    if (!bar) return failAction(a, "no bar window (class SorvaneVis) to send input to");
    const auto& n = a.numbers;
    const int x = n.size() > 1 ? static_cast<int>(n[0]) : 0, y = n.size() > 1 ? static_cast<int>(n[1]) : 0;
    const std::string at = " " + std::to_string(x) + "," + std::to_string(y);
    switch (a.kind) {
    case ActionKind::Key:
        player.note("key " + hex(n[0]));
        sendKey(bar, static_cast<int>(n[0]));
        break;
    case ActionKind::Char:
        player.note("char " + hex(n[0]));
        sendChar(bar, static_cast<int>(n[0]));
        break;
    case ActionKind::Type:
        player.note("type " + a.text);
        for (char c : ansiFromUtf8(a.text)) sendChar(bar, static_cast<unsigned char>(c));
        break;
    case ActionKind::Click:
        player.note("click" + at);
        sendClick(bar, x, y);
        break;
    case ActionKind::DoubleClick:
        player.note("dblclick" + at);
        sendDoubleClick(bar, x, y);
        break;
    case ActionKind::RightClick:
        player.note("rclick" + at);
        sendRightClick(bar, x, y);
        break;
    case ActionKind::Drag:
        player.note("drag" + at + " to " + std::to_string(n[2]) + "," + std::to_string(n[3]));
        sendDrag(bar, x, y, static_cast<int>(n[2]), static_cast<int>(n[3]), static_cast<int>(n[4]));
        break;
    case ActionKind::Send:
    case ActionKind::Post: {
        bool send = a.kind == ActionKind::Send;
        player.note((send ? "send " : "post ") + std::to_string(n[0]) + " " + hex(n[1]) + " " + hex(n[2]));
        UINT message = static_cast<UINT>(n[0]);
        WPARAM wParam = static_cast<WPARAM>(static_cast<uint32_t>(n[1]));
        LPARAM lParam = static_cast<LPARAM>(static_cast<int32_t>(n[2]));
        if (send)
            SendMessageA(bar, message, wParam, lParam);
        else
            PostMessageA(bar, message, wParam, lParam);
        break;
    }
    default: break;
    }
    return Done;
}

ScenarioRunner::Progress ScenarioRunner::capture(const ScenarioAction& a) {
    if (a.kind == ActionKind::Frame)
        return captureFrame(static_cast<int64_t>(player.elapsedMs())) ? Done
                                                                      : failAction(a, "no bar window to capture");
    Image image;
    int ok = 0;
    if (a.kind == ActionKind::CaptureDesktop) {
        LayeredPicture picture;
        RECT r;
        if (!player.layeredWindow().lastPicture(picture) || !GetWindowRect(picture.window, &r))
            return failAction(a, "no layered window has shown a picture");
        // The window and some of the desktop around it, as the compositor shows them.
        image = composeOverWallpaper(picture.pixels, r.left, r.top, kDesktopMargin, GetSystemMetrics(SM_CXSCREEN),
                                     GetSystemMetrics(SM_CYSCREEN));
        ok = image.width > 0;
    } else if (a.kind == ActionKind::CaptureBar) {
        HWND bar = player.bar();
        ok = bar && captureClient(bar, image);
    } else {
        const auto& n = a.numbers;
        ok = captureWindow(player.host().handle(), static_cast<int>(n[0]), static_cast<int>(n[1]),
                           static_cast<int>(n[2]), static_cast<int>(n[3]), image);
    }
    if (!ok) return failAction(a, "the capture failed");
    return savePng(a, image);
}

ScenarioRunner::Progress ScenarioRunner::showSheetPage(const ScenarioAction& a, HWND sheet) {
    const int64_t page = a.numbers[0];
    if (!SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(page - 1), 0))
        return failAction(a, "the sheet has no page " + std::to_string(page));
    player.note("sheet page " + std::to_string(page));
    return Done;
}

ScenarioRunner::Progress ScenarioRunner::captureSheet(const ScenarioAction& a, HWND sheet) {
    Image image;
    if (!captureWholeWindow(sheet, image)) return failAction(a, "the capture failed");
    return savePng(a, image);
}

ScenarioRunner::Progress ScenarioRunner::savePng(const ScenarioAction& a, const Image& image) {
    std::vector<uint8_t> png;
    if (!encodePng(image, png) || !writeFileBytes(outputPath(a.text), png))
        return failAction(a, "cannot write " + a.text);
    player.note("captured " + a.text);
    return Done;
}

ScenarioRunner::Progress ScenarioRunner::writePictures(const ScenarioAction& a) {
    if (recorded.empty()) return failAction(a, "no frames recorded");
    std::string path = outputPath(a.text);
    std::vector<uint8_t> bytes;
    if (a.kind == ActionKind::Gif) {
        std::vector<int64_t> stamps;
        for (const RecordedFrame& f : recorded) stamps.push_back(f.stampMs);
        std::vector<int> delays = gifDelaysFromStamps(stamps);
        std::vector<GifFrame> frames;
        for (size_t i = 0; i < recorded.size(); ++i) frames.push_back({&recorded[i].image, delays[i]});
        if (!encodeGif(frames, bytes)) return failAction(a, "cannot encode the frames");
    } else {
        std::vector<ContactFrame> chosen;
        for (size_t i : pickEvenly(recorded.size(), static_cast<size_t>(a.numbers[0])))
            chosen.push_back({&recorded[i].image, std::to_string(recorded[i].stampMs)});
        encodePng(composeContactSheet(chosen, static_cast<int>(a.numbers[1])), bytes);
    }
    if (!writeFileBytes(path, bytes)) return failAction(a, "cannot write " + a.text);
    player.note("wrote " + a.text + " from " + std::to_string(recorded.size()) + " frames");
    return Done;
}

void appendRunSummary(SubstitutePlayer& player) {
    player.note("ticks " + std::to_string(player.ticks()));
    std::string queries = "queries";
    player.host().withModel([&](HostModel& m) {
        for (auto& q : m.queryCounts) queries += " " + std::to_string(q.first) + "=" + std::to_string(q.second);
    });
    player.note(queries);
    for (const HostKey& k : player.host().keys())
        player.note(std::string("host received ") + (k.message == WM_KEYDOWN ? "keydown " : "keyup ") +
                    hex(static_cast<int64_t>(k.wParam)) + " " + hex(static_cast<uint32_t>(k.lParam)));
}
