#include "plugin/PluginLock.h"

PluginLock pluginLock;

void PluginLock::create() {
    if (created) return;
    InitializeCriticalSection(&section);
    created = true;
}

void PluginLock::destroy() {
    if (!created) return;
    DeleteCriticalSection(&section);
    created = false;
}

bool PluginLock::enter() {
    if (!created) return false;
    EnterCriticalSection(&section);
    return true;
}

void PluginLock::leave() {
    if (created) LeaveCriticalSection(&section);
}
