#pragma once
// The one recursive lock around all process-wide state. It exists between init and quit, and for
// the duration of a config call made while the plug-in is not running; entering a lock that does
// not exist does nothing, so code shared with those paths needs no special case.
#include <windows.h>

class PluginLock {
public:
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

extern PluginLock pluginLock;

// Holds pluginLock for one scope.
class LockedScope {
public:
    LockedScope() : entered(pluginLock.enter()) {}
    ~LockedScope() {
        if (entered) pluginLock.leave();
    }
    LockedScope(const LockedScope&) = delete;
    LockedScope& operator=(const LockedScope&) = delete;

private:
    bool entered;
};
