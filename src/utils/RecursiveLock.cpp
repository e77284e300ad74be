#include "utils/RecursiveLock.h"

void RecursiveLock::create() {
    if (created) return;
    InitializeCriticalSection(&section);
    created = true;
}

void RecursiveLock::destroy() {
    if (!created) return;
    DeleteCriticalSection(&section);
    created = false;
}

bool RecursiveLock::enter() {
    if (!created) return false;
    EnterCriticalSection(&section);
    return true;
}

void RecursiveLock::leave() {
    if (created) LeaveCriticalSection(&section);
}
