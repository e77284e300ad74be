// The plug-in's worker threads: requests in, results back through the mailbox with one message
// to the window, and stopping, also of a worker stuck where it cannot hear the stop.
#include "plugin/WorkerThread.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT kResultsMessage = WM_APP + 7;

struct Number {
    explicit Number(int value) : value(value) {}
    int value;
};

// Answers every request it is given. With `release`, each one first waits for it, deaf to any stop
// meanwhile, as a worker in a call that cannot be interrupted is.
template <typename Request, typename Result>
class Answerer : public WorkerThread<Request, Result>::Work {
public:
    using Answer = std::function<std::unique_ptr<Result>(const Request&)>;
    Answerer(Answer answer, HANDLE release, std::shared_ptr<std::atomic<int>> ended)
        : answer(std::move(answer)), release(release), ended(std::move(ended)) {}
    ~Answerer() override { *ended = 1; }
    void run(typename WorkerThread<Request, Result>::Side& side) override {
        while (!side.stopRequested()) {
            std::unique_ptr<Request> request = side.takeRequest();
            if (!request) {
                side.wait(INFINITE);
                continue;
            }
            if (release) WaitForSingleObject(release, 5000);
            side.handBack(answer(*request));
        }
    }

private:
    Answer answer;
    HANDLE release;
    std::shared_ptr<std::atomic<int>> ended;
};

using NumberWorker = WorkerThread<Number, Number>;

// Doubles every number it is given.
std::unique_ptr<NumberWorker::Work> doubler(HANDLE release, std::shared_ptr<std::atomic<int>> ended) {
    auto twice = [](const Number& number) { return std::make_unique<Number>(2 * number.value); };
    return std::make_unique<Answerer<Number, Number>>(twice, release, std::move(ended));
}

HWND messageWindow() {
    return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

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
    NumberWorker worker;
    ASSERT_EQ(worker.start(doubler(nullptr, ended), window, kResultsMessage), 1);
    for (int i = 1; i <= 3; ++i) worker.submit(std::make_unique<Number>(i));
    EXPECT_EQ(resultMessages(window, 300), 1) << "one message tells of all results waiting";
    std::vector<std::unique_ptr<Number>> results = worker.collect();
    ASSERT_EQ(results.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(results[i]->value, 2 * (i + 1));
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
    NumberWorker worker;
    ASSERT_EQ(worker.start(doubler(release, ended), window, kResultsMessage), 1);
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
    ASSERT_EQ(worker.start(doubler(nullptr, std::make_shared<std::atomic<int>>(0)), window, kResultsMessage), 1);
    worker.submit(std::make_unique<Number>(5));
    EXPECT_EQ(resultMessages(window, 300), 1);
    ASSERT_EQ(worker.collect().size(), 1u);
    worker.stop(1000);
    CloseHandle(release);
    DestroyWindow(window);
}

namespace {

// Parcels that count how many of them are alive, so that a test sees none is kept or freed twice.
struct Counted {
    explicit Counted(std::shared_ptr<std::atomic<int>> alive) : alive(std::move(alive)) { ++*this->alive; }
    ~Counted() { --*alive; }
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;
    std::shared_ptr<std::atomic<int>> alive;
};
struct Word : Counted {
    Word(std::string text, std::shared_ptr<std::atomic<int>> alive)
        : Counted(std::move(alive)), text(std::move(text)) {}
    std::string text;
};
struct Length : Counted {
    Length(size_t value, std::shared_ptr<std::atomic<int>> alive) : Counted(std::move(alive)), value(value) {}
    size_t value;
};

using WordWorker = WorkerThread<Word, Length>;

// Measures every word it is given.
std::unique_ptr<WordWorker::Work> measurer(HANDLE release) {
    auto measure = [](const Word& word) { return std::make_unique<Length>(word.text.size(), word.alive); };
    return std::make_unique<Answerer<Word, Length>>(measure, release, std::make_shared<std::atomic<int>>(0));
}

}  // namespace

TEST(WorkerThread, RequestsAndResultsOfTheirOwnTypesGoWithTheMailboxWhenNobodyTakesThem) {
    HWND window = messageWindow();
    auto alive = std::make_shared<std::atomic<int>>(0);
    {
        WordWorker worker;
        ASSERT_EQ(worker.start(measurer(nullptr), window, kResultsMessage), 1);
        for (const char* text : {"a", "bb", "three"}) worker.submit(std::make_unique<Word>(text, alive));
        EXPECT_EQ(resultMessages(window, 300), 1);
        std::vector<std::unique_ptr<Length>> lengths = worker.collect();
        ASSERT_EQ(lengths.size(), 3u);
        EXPECT_EQ(lengths[0]->value, 1u);
        EXPECT_EQ(lengths[1]->value, 2u);
        EXPECT_EQ(lengths[2]->value, 5u);
        lengths.clear();
        // A result nobody collects goes with the mailbox.
        worker.submit(std::make_unique<Word>("left", alive));
        EXPECT_EQ(resultMessages(window, 300), 1);
        worker.stop(1000);
    }
    EXPECT_EQ(*alive, 0);

    // The request under way when the stop comes and those never taken go once the worker, left
    // to end on its own, lets go of the mailbox.
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    WordWorker worker;
    ASSERT_EQ(worker.start(measurer(release), window, kResultsMessage), 1);
    for (const char* text : {"stuck", "never", "taken"}) worker.submit(std::make_unique<Word>(text, alive));
    Sleep(200);  // the first taken, and stuck on it
    worker.stop(50);
    EXPECT_EQ(*alive, 3) << "the stuck worker still holds the mailbox";
    SetEvent(release);
    for (int wait = 0; wait < 200 && *alive; ++wait) Sleep(10);
    EXPECT_EQ(*alive, 0);
    CloseHandle(release);
    DestroyWindow(window);
}
