// The tick timer of the real plug-in when Windows refuses it: the timer that cannot start, tick
// messages the host's queue will not take, and quit while a timer callback is still running.
// The plug-in's own calls are redirected through its import table (ImportPatch.h).
#include <windows.h>
#include <mmsystem.h>

#include <atomic>

#include "subplayer/ImportPatch.h"
#include "PluginRun.h"

namespace {

using PostFunction = BOOL(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
PostFunction realPost = nullptr;
std::atomic<int> tickPostsToRefuse{0}, tickPostsRefused{0};
std::atomic<int> tickPostRunning{0};
HANDLE tickPostEntered = nullptr;

// What the host's full queue or a vanished window answer.
BOOL WINAPI refusingPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && tickPostsToRefuse > 0) {
        --tickPostsToRefuse;
        ++tickPostsRefused;
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return FALSE;
    }
    return realPost(window, message, wParam, lParam);
}

// A timer callback that is still busy when the host quits.
BOOL WINAPI slowPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TIMER) return realPost(window, message, wParam, lParam);
    tickPostRunning = 1;
    SetEvent(tickPostEntered);
    Sleep(300);
    BOOL posted = realPost(window, message, wParam, lParam);
    tickPostRunning = 0;
    return posted;
}

MMRESULT WINAPI refusedTimer(UINT, UINT, LPTIMECALLBACK, DWORD_PTR, UINT) { return 0; }

class TickTimer : public PluginRun {
protected:
    static HMODULE plugin() { return GetModuleHandleA("gen_sorvane.dll"); }
};

}  // namespace

TEST_F(TickTimer, InitThatCannotStartTheTimerFailsAndLeavesNothingBehind) {
    {
        ImportPatch timer(plugin(), "winmm.dll", "timeSetEvent", reinterpret_cast<void*>(refusedTimer));
        ASSERT_TRUE(timer.applied());
        EXPECT_EQ(player.init(), 1);
    }
    player.runFor(100);
    ASSERT_EQ(player.record.boxes.size(), 1u);
    EXPECT_EQ(player.record.boxes[0].caption, "Sorvane");
    EXPECT_EQ(player.record.boxes[0].text, "タイマーを開始できませんでした。");
    EXPECT_FALSE(bar());
    EXPECT_EQ(player.record.quitMessages, 0);  // the player goes on
    player.quit();

    // Nothing of the failed start is in the way of the next: the class, the running mark, the timer.
    ASSERT_EQ(player.init(), 0);
    EXPECT_TRUE(player.waitTicks(3, 3000));
    EXPECT_EQ(player.record.boxes.size(), 1u);
    player.quit();
}

TEST_F(TickTimer, TicksGoOnAfterTickMessagesWereRefused) {
    ImportPatch post(plugin(), "user32.dll", "PostMessageA", reinterpret_cast<void*>(refusingPost));
    ASSERT_TRUE(post.applied()) << "the plug-in no longer posts its ticks with PostMessageA";
    realPost = reinterpret_cast<PostFunction>(post.original());
    tickPostsToRefuse = 5;
    tickPostsRefused = 0;
    ASSERT_EQ(player.init(), 0);
    EXPECT_TRUE(player.waitTicks(3, 3000));
    EXPECT_EQ(tickPostsRefused, 5);
    player.quit();
}

TEST_F(TickTimer, QuitReturnsOnlyWhenNoTimerCallbackIsRunning) {
    ImportPatch post(plugin(), "user32.dll", "PostMessageA", reinterpret_cast<void*>(slowPost));
    ASSERT_TRUE(post.applied()) << "the plug-in no longer posts its ticks with PostMessageA";
    realPost = reinterpret_cast<PostFunction>(post.original());
    tickPostEntered = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ASSERT_EQ(player.init(), 0);
    ASSERT_EQ(WaitForSingleObject(tickPostEntered, 3000), WAIT_OBJECT_0);
    player.quit();
    EXPECT_EQ(tickPostRunning, 0) << "a timer callback ran on after quit: unloading the library would crash";
    while (tickPostRunning) Sleep(10);  // where quit did not wait: before the library goes
    CloseHandle(tickPostEntered);
}
