#include "render/VerticalSync.h"

#include <windows.h>
#include <ddraw.h>

#include "config/Settings.h"
#include "utils/WinUiText.h"

namespace {

HMODULE ddrawLibrary = nullptr;
IDirectDraw* ddrawObject = nullptr;

using DirectDrawCreateFunction = HRESULT(WINAPI*)(GUID*, LPDIRECTDRAW*, IUnknown*);

IDirectDraw* createDirectDraw() {
    ddrawLibrary = LoadLibraryA("ddraw.dll");
    if (!ddrawLibrary) return nullptr;
    auto create = reinterpret_cast<DirectDrawCreateFunction>(
        reinterpret_cast<void*>(GetProcAddress(ddrawLibrary, "DirectDrawCreate")));
    IDirectDraw* object = nullptr;
    if (!create || create(nullptr, &object, nullptr) != DD_OK || !object) {
        FreeLibrary(ddrawLibrary);
        ddrawLibrary = nullptr;
        return nullptr;
    }
    return object;
}

}  // namespace

void updateVerticalSync(Settings& settings) {
    if (!settings.Wait_Vsync) {
        releaseVerticalSync();
        return;
    }
    if (ddrawObject) return;
    ddrawObject = createDirectDraw();
    if (ddrawObject) return;
    settings.Wait_Vsync = 0;
    MessageBoxW(nullptr, uiTextW(UiText::DirectDrawFailedText).c_str(), uiTextW(UiText::DirectDrawFailedCaption).c_str(),
                MB_OK);
}

void waitForVerticalBlank(const Settings& settings) {
    if (ddrawObject && settings.Wait_Vsync) ddrawObject->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
}

void releaseVerticalSync() {
    if (ddrawObject) ddrawObject->Release();
    ddrawObject = nullptr;
    if (ddrawLibrary) FreeLibrary(ddrawLibrary);
    ddrawLibrary = nullptr;
}

int verticalSyncActive() { return ddrawObject ? 1 : 0; }
