// Tests that crash on purpose, for crash-report-test.sh: each is run alone and must end the
// program with the crash report's line and exit status, except the last, which must pass.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace {

void writeThroughNull() {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
}

LRESULT CALLBACK faultOnMove(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGED) writeThroughNull();
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

// Without the report, Wine ends the program with its debugger's page-long dump.
TEST(DeliberateCrash, OnASecondaryThread) { std::thread(writeThroughNull).join(); }

// The system calls the window procedure back from inside SetWindowPos, and without the report it
// swallows the fault there: SetWindowPos returns, and the test passes.
TEST(DeliberateCrash, InAWindowProcedureTheSystemCallsBack) {
    std::thread([] {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = faultOnMove;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "CrashProbe";
        RegisterClassA(&windowClass);
        HWND window =
            CreateWindowA("CrashProbe", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowPos(window, nullptr, 5, 5, 20, 20, SWP_NOZORDER | SWP_NOACTIVATE);
        DestroyWindow(window);
    }).join();
}

// A fault inside the C runtime, a module of the system's: the filter reports it.
TEST(DeliberateCrash, InsideTheCRuntime) {
    size_t (*volatile length)(const char*) = std::strlen;
    std::thread([&] { length(reinterpret_cast<const char*>(16)); }).join();
}

// The system probes memory on purpose and handles the fault itself: no crash.
TEST(HandledFault, InsideTheSystemIsNoCrash) {
    EXPECT_TRUE(IsBadReadPtr(reinterpret_cast<void*>(16), 4));
    EXPECT_TRUE(IsBadWritePtr(reinterpret_cast<void*>(&writeThroughNull), 4));
}
