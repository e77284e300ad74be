#pragma once
// The optional wait for the display's vertical blank before each frame (Wait_Vsync), through a
// DirectDraw object that exists only while the setting is on. ddraw.dll is loaded only then.
#include <windows.h>

struct IDirectDraw;
class Settings;

class VerticalSync {
public:
    VerticalSync() = default;
    VerticalSync(const VerticalSync&) = delete;
    VerticalSync& operator=(const VerticalSync&) = delete;

    // Once per lyrics tick: creates the object when Wait_Vsync is on, releases it when it is off.
    // When creation fails, Wait_Vsync is switched off in settings and the failure is shown once.
    void update(Settings& settings);
    // Waits for the next vertical blank to begin, when the object exists and Wait_Vsync is on.
    void waitForBlank(const Settings& settings) const;
    // Releases the object and the library. Quit does it: not a destructor, which would run while
    // the host unloads the plug-in, where no library may be freed.
    void release();

private:
    HMODULE library = nullptr;
    IDirectDraw* object = nullptr;
};
