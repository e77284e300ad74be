#include "plugin/WorkerThread.h"

namespace {

// The thread's whole life. It never returns into the library: its last call unloads the library
// when the host has let it go meanwhile, and ends the thread.
DWORD WINAPI workerMain(void* parameter) {
    auto* handed = static_cast<std::shared_ptr<MailboxCore>*>(parameter);
    std::shared_ptr<MailboxCore> mailbox = std::move(*handed);
    delete handed;
    HMODULE module = mailbox->module;
    mailbox->runWork();
    mailbox.reset();
    FreeLibraryAndExitThread(module, 0);
}

}  // namespace

MailboxCore::MailboxCore(HWND window, UINT message)
    : window(window), message(message), wake(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    InitializeCriticalSection(&lock);
}

MailboxCore::~MailboxCore() {
    DeleteCriticalSection(&lock);
    if (wake) CloseHandle(wake);
}

void MailboxCore::waitForRequest(DWORD timeoutMs) {
    if (stop || requests) return;
    WaitForSingleObject(wake, timeoutMs);
}

bool MailboxCore::noteResult() {
    bool tell = !told;
    told = true;
    return tell;
}

void MailboxCore::tellWindow() {
    if (PostMessageW(window, message, 0, 0)) return;
    MailboxLock locked(*this);
    told = false;
}

HANDLE startWorkerThread(const std::shared_ptr<MailboxCore>& mailbox) {
    if (!mailbox->wake) return nullptr;
    // Taken here, before the thread exists, so that the library cannot go before the thread has it.
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&workerMain),
                            &mailbox->module))
        return nullptr;
    HMODULE module = mailbox->module;
    auto* handed = new std::shared_ptr<MailboxCore>(mailbox);
    HANDLE thread = CreateThread(nullptr, 0, workerMain, handed, 0, nullptr);
    if (!thread) {
        delete handed;
        FreeLibrary(module);
        return nullptr;
    }
    // The host's thread comes first: a worker only ever does what can wait.
    SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
    return thread;
}

void stopWorkerThread(MailboxCore& mailbox, HANDLE thread, DWORD waitMs) {
    {
        MailboxLock locked(mailbox);
        mailbox.stop = true;
    }
    SetEvent(mailbox.wake);
    WaitForSingleObject(thread, waitMs);
    // Ended or not, the thread is let go.
    CloseHandle(thread);
}
