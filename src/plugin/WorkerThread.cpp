#include "plugin/WorkerThread.h"

namespace {

class MailboxLock {
public:
    explicit MailboxLock(WorkerMailbox& mailbox) : section(mailbox.lock) { EnterCriticalSection(&section); }
    ~MailboxLock() { LeaveCriticalSection(&section); }
    MailboxLock(const MailboxLock&) = delete;
    MailboxLock& operator=(const MailboxLock&) = delete;

private:
    CRITICAL_SECTION& section;
};

// The thread's whole life. It never returns into the library: its last call unloads the library
// when the host has let it go meanwhile, and ends the thread.
DWORD WINAPI workerMain(void* parameter) {
    auto* handed = static_cast<std::shared_ptr<WorkerMailbox>*>(parameter);
    std::shared_ptr<WorkerMailbox> mailbox = std::move(*handed);
    delete handed;
    HMODULE module = mailbox->module;
    {
        WorkerSide side(*mailbox);
        mailbox->work->run(side);
    }
    mailbox->work.reset();
    mailbox.reset();
    FreeLibraryAndExitThread(module, 0);
}

}  // namespace

WorkerMailbox::WorkerMailbox(std::unique_ptr<WorkerThread::Work> work, HWND window, UINT message)
    : work(std::move(work)), window(window), message(message), wake(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    InitializeCriticalSection(&lock);
}

WorkerMailbox::~WorkerMailbox() {
    inbox.clear();
    outbox.clear();
    DeleteCriticalSection(&lock);
    if (wake) CloseHandle(wake);
}

void WorkerSide::wait(DWORD timeoutMs) {
    if (stopRequested() || requestWaiting()) return;
    WaitForSingleObject(mailbox.wake, timeoutMs);
}

std::unique_ptr<Parcel> WorkerSide::takeRequest() {
    MailboxLock locked(mailbox);
    if (mailbox.inbox.empty()) return nullptr;
    std::unique_ptr<Parcel> request = std::move(mailbox.inbox.front());
    mailbox.inbox.pop_front();
    mailbox.requests = !mailbox.inbox.empty();
    return request;
}

bool WorkerSide::requestWaiting() const { return mailbox.requests; }

bool WorkerSide::stopRequested() const { return mailbox.stop; }

void WorkerSide::handBack(std::unique_ptr<Parcel> result) {
    bool tell = false;
    {
        MailboxLock locked(mailbox);
        if (mailbox.stop) return;
        mailbox.outbox.push_back(std::move(result));
        tell = !mailbox.told;
        mailbox.told = true;
    }
    // A message that cannot be posted (the bar is gone) is tried again with the next result.
    if (tell && !PostMessageW(mailbox.window, mailbox.message, 0, 0)) {
        MailboxLock locked(mailbox);
        mailbox.told = false;
    }
}

WorkerThread::~WorkerThread() { stop(0); }

int WorkerThread::start(std::unique_ptr<Work> work, HWND window, UINT message) {
    if (thread) return 1;
    auto shared = std::make_shared<WorkerMailbox>(std::move(work), window, message);
    if (!shared->wake) return 0;
    // Taken here, before the thread exists, so that the library cannot go before the thread has it.
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&workerMain),
                            &shared->module))
        return 0;
    HMODULE module = shared->module;
    auto* handed = new std::shared_ptr<WorkerMailbox>(shared);
    thread = CreateThread(nullptr, 0, workerMain, handed, 0, nullptr);
    if (!thread) {
        delete handed;
        FreeLibrary(module);
        return 0;
    }
    // The host's thread comes first: a worker only ever does what can wait.
    SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
    mailbox = std::move(shared);
    return 1;
}

void WorkerThread::submit(std::unique_ptr<Parcel> request) {
    if (!mailbox) return;
    {
        MailboxLock locked(*mailbox);
        mailbox->inbox.push_back(std::move(request));
        mailbox->requests = true;
    }
    SetEvent(mailbox->wake);
}

std::vector<std::unique_ptr<Parcel>> WorkerThread::collect() {
    std::vector<std::unique_ptr<Parcel>> results;
    if (!mailbox) return results;
    MailboxLock locked(*mailbox);
    mailbox->told = false;
    for (std::unique_ptr<Parcel>& result : mailbox->outbox) results.push_back(std::move(result));
    mailbox->outbox.clear();
    return results;
}

void WorkerThread::stop(DWORD waitMs) {
    if (!thread) return;
    {
        MailboxLock locked(*mailbox);
        mailbox->stop = true;
    }
    SetEvent(mailbox->wake);
    WaitForSingleObject(thread, waitMs);
    // Ended or not, the thread is let go; a thread still running keeps the mailbox and the
    // library until it ends.
    CloseHandle(thread);
    thread = nullptr;
    mailbox.reset();
}
