#include "render/VerticalSync.h"

#include <ddraw.h>

#include "config/Settings.h"
#include "utils/WinUiText.h"

namespace {

using DirectDrawCreateFunction = HRESULT(WINAPI*)(GUID*, LPDIRECTDRAW*, IUnknown*);

// Loads the library into `library` and makes the object; on failure neither is left.
IDirectDraw* createDirectDraw(HMODULE& library) {
    library = LoadLibraryA("ddraw.dll");
    if (!library) return nullptr;
    auto create = reinterpret_cast<DirectDrawCreateFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "DirectDrawCreate")));
    IDirectDraw* object = nullptr;
    if (!create || create(nullptr, &object, nullptr) != DD_OK || !object) {
        FreeLibrary(library);
        library = nullptr;
        return nullptr;
    }
    return object;
}

}  // namespace

void VerticalSync::update(Settings& settings) {
    if (!settings.Wait_Vsync) {
        release();
        return;
    }
    if (object) return;
    object = createDirectDraw(library);
    if (object) return;
    settings.Wait_Vsync = 0;
    MessageBoxW(nullptr, uiTextW(UiText::DirectDrawFailedText).c_str(),
                uiTextW(UiText::DirectDrawFailedCaption).c_str(), MB_OK);
}

void VerticalSync::waitForBlank(const Settings& settings) const {
    if (object && settings.Wait_Vsync) object->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
}

void VerticalSync::release() {
    if (object) object->Release();
    object = nullptr;
    if (library) FreeLibrary(library);
    library = nullptr;
}
