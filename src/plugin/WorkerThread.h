#pragma once
// A thread of the plug-in's own and the mailbox it shares with the host's thread.
//
// A worker owns what it works on. Requests come in as parcels the host's thread filled with
// everything the work needs; results go back as parcels into the worker's outbox, and a message
// posted to the bar tells the host's thread to collect them (collect, from the bar's window
// procedure), where their owner adopts what still applies. The worker never touches the
// plug-in's state and never sends the host a message.
//
// Stopping asks the work to give up and waits a moment for the thread to end. A thread stuck in a
// call that cannot be interrupted is left to end on its own: it holds a reference to the library
// from its start and ends with FreeLibraryAndExitThread, so the library stays loaded until it has
// ended and none of its code runs after that; the mailbox, shared with the thread, goes with the
// last of the two to let it go, and the thread's late results go nowhere.
#include <windows.h>

#include <atomic>
#include <deque>
#include <memory>
#include <vector>

// A request or a result. Whoever holds it owns it.
class Parcel {
public:
    virtual ~Parcel() = default;
};

class WorkerMailbox;

// The worker's side of the mailbox, for its work.
class WorkerSide {
public:
    explicit WorkerSide(WorkerMailbox& mailbox) : mailbox(mailbox) {}
    // Waits until a request comes in or a stop is asked, at most timeoutMs (INFINITE: no limit).
    void wait(DWORD timeoutMs);
    // The oldest request, or null when none is waiting.
    std::unique_ptr<Parcel> takeRequest();
    bool requestWaiting() const;
    bool stopRequested() const;
    // Hands a result back: into the outbox, and the bar is told (once until it collects). After
    // a stop the result is dropped.
    void handBack(std::unique_ptr<Parcel> result);

private:
    WorkerMailbox& mailbox;
};

class WorkerThread {
public:
    // What the thread does: run works on the thread until stopRequested, taking requests and
    // handing results back through its side of the mailbox. The work and what it holds are the
    // thread's, and are destroyed when it ends.
    class Work {
    public:
        virtual ~Work() = default;
        virtual void run(WorkerSide& side) = 0;
    };

    WorkerThread() = default;
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts a thread running work; results are announced by posting message (wParam and lParam
    // 0) to window. Returns 1 when the thread runs; a worker already running is left as it is.
    int start(std::unique_ptr<Work> work, HWND window, UINT message);
    bool running() const { return thread != nullptr; }
    // Hands the worker a request (dropped when no worker runs).
    void submit(std::unique_ptr<Parcel> request);
    // The results handed back so far, oldest first.
    std::vector<std::unique_ptr<Parcel>> collect();
    // Asks the work to stop and waits up to waitMs for the thread to end (see above).
    void stop(DWORD waitMs);

private:
    std::shared_ptr<WorkerMailbox> mailbox;
    HANDLE thread = nullptr;
};

// What the host's thread and a worker share. Everything but the flags is guarded by its lock.
class WorkerMailbox {
public:
    WorkerMailbox(std::unique_ptr<WorkerThread::Work> work, HWND window, UINT message);
    ~WorkerMailbox();
    WorkerMailbox(const WorkerMailbox&) = delete;
    WorkerMailbox& operator=(const WorkerMailbox&) = delete;

    std::unique_ptr<WorkerThread::Work> work;  // the thread's: only it runs and releases it
    HMODULE module = nullptr;                  // the thread's reference to the library
    HWND window;
    UINT message;
    HANDLE wake;  // set for each request and for a stop
    std::atomic<bool> stop{false};
    std::atomic<bool> requests{false};  // the inbox holds something
    CRITICAL_SECTION lock;
    std::deque<std::unique_ptr<Parcel>> inbox;
    std::deque<std::unique_ptr<Parcel>> outbox;
    bool told = false;  // a message is on its way and the outbox not yet collected
};
