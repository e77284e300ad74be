#pragma once
// The optional wait for the display's vertical blank before each frame (Wait_Vsync), through a
// DirectDraw object that exists only while the setting is on. ddraw.dll is loaded only then.
class Settings;

// Once per lyrics tick: creates the object when Wait_Vsync is on, releases it when it is off. When
// creation fails, Wait_Vsync is switched off in settings and the failure is shown once.
void updateVerticalSync(Settings& settings);
// Waits for the next vertical blank to begin, when the object exists and Wait_Vsync is on.
void waitForVerticalBlank(const Settings& settings);
void releaseVerticalSync();
int verticalSyncActive();
