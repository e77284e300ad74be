// The plug-in's worker threads: requests in, results back through the mailbox with one message
// to the window, and stopping, also of a worker stuck where it cannot hear the stop.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "plugin/WorkerThread.h"

namespace {

constexpr UINT kResultsMessage = WM_APP + 7;

struct Number : Parcel {
    explicit Number(int value) : value(value) {}
    int value;
};

// Doubles every number it is given. With `release`, each one first waits for it, deaf to any stop
// meanwhile, as a worker in a call that cannot be interrupted is.
class Doubler : public WorkerThread::Work {
public:
    Doubler(HANDLE release, std::shared_ptr<std::atomic<int>> ended) : release(release), ended(std::move(ended)) {}
    ~Doubler() override { *ended = 1; }
    void run(WorkerSide& side) override {
        while (!side.stopRequested()) {
            std::unique_ptr<Parcel> request = side.takeRequest();
            if (!request) {
                side.wait(INFINITE);
                continue;
            }
            if (release) WaitForSingleObject(release, 5000);
            side.handBack(std::make_unique<Number>(2 * static_cast<Number&>(*request).value));
        }
    }

private:
    HANDLE release;
    std::shared_ptr<std::atomic<int>> ended;
};

HWND messageWindow() { return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr); }

// How many result messages reach the window within ms.
int resultMessages(HWND window, int ms) {
    int seen = 0;
    for (DWORD start = GetTickCount(); GetTickCount() - start < static_cast<DWORD>(ms);) {
        MSG msg;
        while (PeekMessageA(&msg, window, kResultsMessage, kResultsMessage, PM_REMOVE)) ++seen;
        Sleep(5);
    }
    return seen;
}

}  // namespace

TEST(WorkerThread, ResultsComeBackInOrderWithOneMessageUntilCollected) {
    HWND window = messageWindow();
    auto ended = std::make_shared<std::atomic<int>>(0);
    WorkerThread worker;
    ASSERT_EQ(worker.start(std::make_unique<Doubler>(nullptr, ended), window, kResultsMessage), 1);
    for (int i = 1; i <= 3; ++i) worker.submit(std::make_unique<Number>(i));
    EXPECT_EQ(resultMessages(window, 300), 1) << "one message tells of all results waiting";
    std::vector<std::unique_ptr<Parcel>> results = worker.collect();
    ASSERT_EQ(results.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(static_cast<Number&>(*results[i]).value, 2 * (i + 1));
    worker.submit(std::make_unique<Number>(10));
    EXPECT_EQ(resultMessages(window, 300), 1) << "collected: the next result is told again";

    worker.stop(1000);
    EXPECT_EQ(*ended, 1) << "the work is gone with its thread";
    EXPECT_TRUE(worker.collect().empty());
    DestroyWindow(window);
}

TEST(WorkerThread, StopLeavesAStuckWorkerToEndOnItsOwnAndItsLateResultGoesNowhere) {
    HWND window = messageWindow();
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    auto ended = std::make_shared<std::atomic<int>>(0);
    WorkerThread worker;
    ASSERT_EQ(worker.start(std::make_unique<Doubler>(release, ended), window, kResultsMessage), 1);
    worker.submit(std::make_unique<Number>(4));
    Sleep(50);  // taken, and stuck on it
    DWORD start = GetTickCount();
    worker.stop(100);
    EXPECT_LT(GetTickCount() - start, 1000u) << "stop does not wait for a worker that cannot hear it";
    EXPECT_EQ(*ended, 0) << "the stuck worker still runs";

    SetEvent(release);
    for (int wait = 0; wait < 200 && !*ended; ++wait) Sleep(10);
    EXPECT_EQ(*ended, 1) << "released, it handed its result back and ended";
    EXPECT_EQ(resultMessages(window, 100), 0) << "the result after the stop reaches no one";
    EXPECT_TRUE(worker.collect().empty());

    // The same object starts a new worker.
    ASSERT_EQ(worker.start(std::make_unique<Doubler>(nullptr, std::make_shared<std::atomic<int>>(0)), window,
                           kResultsMessage),
              1);
    worker.submit(std::make_unique<Number>(5));
    EXPECT_EQ(resultMessages(window, 300), 1);
    ASSERT_EQ(worker.collect().size(), 1u);
    worker.stop(1000);
    CloseHandle(release);
    DestroyWindow(window);
}
