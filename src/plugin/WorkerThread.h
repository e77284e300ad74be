#pragma once
// A thread of the plug-in's own and the mailbox it shares with the host's thread.
//
// A worker owns what it works on. Requests come in as parcels the host's thread filled with
// everything the work needs; results go back as parcels into the worker's outbox, and a message
// posted to the bar tells the host's thread to collect them (collect, from the bar's window
// procedure), where their owner adopts what still applies. The worker never touches the
// plug-in's state and never sends the host a message.
//
// The mailbox is typed: a worker takes requests of one type and hands back results of one type,
// so each side gets exactly what the other put in, and no parcel is ever taken for another.
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

// What the host's thread and a worker share, whatever parcels they exchange (those are in the
// typed mailbox, WorkerThread<>::Mailbox). Everything but the flags is guarded by its lock.
class MailboxCore {
public:
    MailboxCore(HWND window, UINT message);
    virtual ~MailboxCore();
    MailboxCore(const MailboxCore&) = delete;
    MailboxCore& operator=(const MailboxCore&) = delete;

    // The thread's whole work, run on it; the work and what it holds go when it is done.
    virtual void runWork() = 0;
    // The worker's side: waits until a request comes in or a stop is asked, at most timeoutMs.
    void waitForRequest(DWORD timeoutMs);
    // With the lock held, for a result just put in the outbox: whether the bar is to be told
    // (once until it collects).
    bool noteResult();
    // Tells the bar; a message that cannot be posted (the bar is gone) is tried again with the
    // next result.
    void tellWindow();

    HMODULE module = nullptr;  // the thread's reference to the library
    HWND window;
    UINT message;
    HANDLE wake;  // set for each request and for a stop
    std::atomic<bool> stop{false};
    std::atomic<bool> requests{false};  // the inbox holds something
    CRITICAL_SECTION lock;
    bool told = false;  // a message is on its way and the outbox not yet collected
};

class MailboxLock {
public:
    explicit MailboxLock(MailboxCore& mailbox) : section(mailbox.lock) { EnterCriticalSection(&section); }
    ~MailboxLock() { LeaveCriticalSection(&section); }
    MailboxLock(const MailboxLock&) = delete;
    MailboxLock& operator=(const MailboxLock&) = delete;

private:
    CRITICAL_SECTION& section;
};

// Starts a thread that runs the mailbox's work, with its hold on the library; null when it could
// not start (the mailbox then goes with its last owner, the work unrun).
HANDLE startWorkerThread(const std::shared_ptr<MailboxCore>& mailbox);
// Asks the work to stop, waits up to waitMs for the thread to end and lets the thread go.
void stopWorkerThread(MailboxCore& mailbox, HANDLE thread, DWORD waitMs);

template <typename Request, typename Result>
class WorkerThread {
public:
    class Mailbox;

    // The worker's side of the mailbox, for its work.
    class Side {
    public:
        explicit Side(Mailbox& mailbox) : mailbox(mailbox) {}
        // Waits until a request comes in or a stop is asked, at most timeoutMs (INFINITE: no limit).
        void wait(DWORD timeoutMs) { mailbox.waitForRequest(timeoutMs); }
        // The oldest request, or null when none is waiting.
        std::unique_ptr<Request> takeRequest();
        bool requestWaiting() const { return mailbox.requests; }
        bool stopRequested() const { return mailbox.stop; }
        // Hands a result back: into the outbox, and the bar is told (once until it collects).
        // After a stop the result is dropped.
        void handBack(std::unique_ptr<Result> result);

    private:
        Mailbox& mailbox;
    };

    // What the thread does: run works on the thread until stopRequested, taking requests and
    // handing results back through its side of the mailbox. The work and what it holds are the
    // thread's, and are destroyed when it ends.
    class Work {
    public:
        virtual ~Work() = default;
        virtual void run(Side& side) = 0;
    };

    class Mailbox : public MailboxCore {
    public:
        Mailbox(std::unique_ptr<Work> work, HWND window, UINT message)
            : MailboxCore(window, message), work(std::move(work)) {}
        void runWork() override {
            Side side(*this);
            work->run(side);
            work.reset();
        }

        std::unique_ptr<Work> work;  // the thread's: only it runs and releases it
        std::deque<std::unique_ptr<Request>> inbox;
        std::deque<std::unique_ptr<Result>> outbox;
    };

    WorkerThread() = default;
    ~WorkerThread() { stop(0); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts a thread running work; results are announced by posting message (wParam and lParam
    // 0) to window. Returns 1 when the thread runs; a worker already running is left as it is.
    int start(std::unique_ptr<Work> work, HWND window, UINT message);
    bool running() const { return thread != nullptr; }
    // Hands the worker a request (dropped when no worker runs).
    void submit(std::unique_ptr<Request> request);
    // The results handed back so far, oldest first.
    std::vector<std::unique_ptr<Result>> collect();
    // Asks the work to stop and waits up to waitMs for the thread to end (see above).
    void stop(DWORD waitMs);

private:
    std::shared_ptr<Mailbox> mailbox;
    HANDLE thread = nullptr;
};

template <typename Request, typename Result>
std::unique_ptr<Request> WorkerThread<Request, Result>::Side::takeRequest() {
    MailboxLock locked(mailbox);
    if (mailbox.inbox.empty()) return nullptr;
    std::unique_ptr<Request> request = std::move(mailbox.inbox.front());
    mailbox.inbox.pop_front();
    mailbox.requests = !mailbox.inbox.empty();
    return request;
}

template <typename Request, typename Result>
void WorkerThread<Request, Result>::Side::handBack(std::unique_ptr<Result> result) {
    bool tell = false;
    {
        MailboxLock locked(mailbox);
        if (mailbox.stop) return;
        mailbox.outbox.push_back(std::move(result));
        tell = mailbox.noteResult();
    }
    if (tell) mailbox.tellWindow();
}

template <typename Request, typename Result>
int WorkerThread<Request, Result>::start(std::unique_ptr<Work> work, HWND window, UINT message) {
    if (thread) return 1;
    auto shared = std::make_shared<Mailbox>(std::move(work), window, message);
    thread = startWorkerThread(shared);
    if (!thread) return 0;
    mailbox = std::move(shared);
    return 1;
}

template <typename Request, typename Result>
void WorkerThread<Request, Result>::submit(std::unique_ptr<Request> request) {
    if (!mailbox) return;
    {
        MailboxLock locked(*mailbox);
        mailbox->inbox.push_back(std::move(request));
        mailbox->requests = true;
    }
    SetEvent(mailbox->wake);
}

template <typename Request, typename Result>
std::vector<std::unique_ptr<Result>> WorkerThread<Request, Result>::collect() {
    std::vector<std::unique_ptr<Result>> results;
    if (!mailbox) return results;
    MailboxLock locked(*mailbox);
    mailbox->told = false;
    for (std::unique_ptr<Result>& result : mailbox->outbox) results.push_back(std::move(result));
    mailbox->outbox.clear();
    return results;
}

template <typename Request, typename Result>
void WorkerThread<Request, Result>::stop(DWORD waitMs) {
    if (!thread) return;
    stopWorkerThread(*mailbox, thread, waitMs);
    thread = nullptr;
    // A thread still running keeps the mailbox and the library until it ends.
    mailbox.reset();
}
