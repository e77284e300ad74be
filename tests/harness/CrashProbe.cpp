// Tests that crash on purpose, for crash-report-test.sh: each is run alone and must end the
// program with the crash report's line and exit status, except the last, which must pass.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

void writeThroughNull() {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
}

void CALLBACK faultingTimerCallback(HWND, UINT, UINT_PTR, DWORD) { writeThroughNull(); }

}  // namespace

// Without the report, Wine ends the program with its debugger's page-long dump.
TEST(DeliberateCrash, OnASecondaryThread) {
    std::thread faulting(writeThroughNull);
    faulting.join();
}

// Without the report the system swallows the fault, returns from the callback and the test passes:
// the plug-in's tick runs in such a callback.
TEST(DeliberateCrash, InATimerCallback) {
    SetTimer(nullptr, 0, 1, faultingTimerCallback);
    const DWORD end = GetTickCount() + 2000;
    MSG msg;
    while (GetTickCount() < end) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        else
            Sleep(1);
    }
}

// The system probes memory on purpose and handles the fault itself: no crash.
TEST(HandledFault, InsideTheSystemIsNoCrash) {
    EXPECT_TRUE(IsBadReadPtr(reinterpret_cast<void*>(16), 4));
    EXPECT_TRUE(IsBadWritePtr(reinterpret_cast<void*>(&writeThroughNull), 4));
}
