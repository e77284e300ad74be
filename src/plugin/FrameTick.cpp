#include "plugin/FrameTick.h"

#include "plugin/Globals.h"
#include "plugin/HostLink.h"
#include "plugin/Placement.h"
#include "plugin/PluginLock.h"

void runFrameTick() {
    LockedScope locked;
    placeBar();
    applyForegroundRule();
    pollHostOnTick();
    songStartShow();
}
