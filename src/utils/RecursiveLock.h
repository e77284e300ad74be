#pragma once
// A recursive lock (a critical section) that may or may not exist. The plug-in's lock exists between
// init and quit, and for the duration of a config call made while the plug-in is not running;
// entering a lock that does not exist does nothing, so code shared with those paths needs no
// special case.
#include <windows.h>

class RecursiveLock {
public:
    RecursiveLock() = default;
    RecursiveLock(const RecursiveLock&) = delete;
    RecursiveLock& operator=(const RecursiveLock&) = delete;

    void create();
    void destroy();  // harmless when it does not exist
    bool exists() const { return created; }
    // Returns whether the lock was entered (it exists); leave only what was entered.
    bool enter();
    void leave();

private:
    CRITICAL_SECTION section{};
    bool created = false;
};

// Holds a lock for one scope.
class LockedScope {
public:
    explicit LockedScope(RecursiveLock& lock) : lock(lock), entered(lock.enter()) {}
    ~LockedScope() {
        if (entered) lock.leave();
    }
    LockedScope(const LockedScope&) = delete;
    LockedScope& operator=(const LockedScope&) = delete;

private:
    RecursiveLock& lock;
    bool entered;
};
