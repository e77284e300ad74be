// A stand-in ddraw.dll for the end-to-end tests: its DirectDrawCreate makes an object that only
// counts what is done with it, or fails on request, so that a test can see when the plug-in
// makes, uses and releases its DirectDraw object, and what it does when none can be made.
// The test loads it before the plug-in asks for "ddraw.dll", which then gets this module.
#include <windows.h>
#include <ddraw.h>

namespace {

LONG created = 0, released = 0, waits = 0, failing = 0;

class CountingDirectDraw final : public IDirectDraw {
public:
    STDMETHOD(QueryInterface)(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++references; }
    STDMETHOD_(ULONG, Release)() override {
        if (--references) return references;
        ++released;
        delete this;
        return 0;
    }
    STDMETHOD(WaitForVerticalBlank)(DWORD flags, HANDLE) override {
        if (flags == DDWAITVB_BLOCKBEGIN) ++waits;
        return DD_OK;
    }
    STDMETHOD(Compact)() override { return E_NOTIMPL; }
    STDMETHOD(CreateClipper)(DWORD, LPDIRECTDRAWCLIPPER*, IUnknown*) override { return E_NOTIMPL; }
    STDMETHOD(CreatePalette)(DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE*, IUnknown*) override { return E_NOTIMPL; }
    STDMETHOD(CreateSurface)(LPDDSURFACEDESC, LPDIRECTDRAWSURFACE*, IUnknown*) override { return E_NOTIMPL; }
    STDMETHOD(DuplicateSurface)(LPDIRECTDRAWSURFACE, LPDIRECTDRAWSURFACE*) override { return E_NOTIMPL; }
    STDMETHOD(EnumDisplayModes)(DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMMODESCALLBACK) override { return E_NOTIMPL; }
    STDMETHOD(EnumSurfaces)(DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMSURFACESCALLBACK) override { return E_NOTIMPL; }
    STDMETHOD(FlipToGDISurface)() override { return E_NOTIMPL; }
    STDMETHOD(GetCaps)(LPDDCAPS, LPDDCAPS) override { return E_NOTIMPL; }
    STDMETHOD(GetDisplayMode)(LPDDSURFACEDESC) override { return E_NOTIMPL; }
    STDMETHOD(GetFourCCCodes)(LPDWORD, LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetGDISurface)(LPDIRECTDRAWSURFACE*) override { return E_NOTIMPL; }
    STDMETHOD(GetMonitorFrequency)(LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetScanLine)(LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetVerticalBlankStatus)(WINBOOL*) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(GUID*) override { return E_NOTIMPL; }
    STDMETHOD(RestoreDisplayMode)() override { return E_NOTIMPL; }
    STDMETHOD(SetCooperativeLevel)(HWND, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetDisplayMode)(DWORD, DWORD, DWORD) override { return E_NOTIMPL; }

private:
    ULONG references = 1;
};

}  // namespace

extern "C" {

__declspec(dllexport) HRESULT WINAPI DirectDrawCreate(GUID* driver, LPDIRECTDRAW* out, IUnknown* outer) {
    *out = nullptr;
    if (failing || driver || outer) return DDERR_GENERIC;
    *out = new CountingDirectDraw;
    ++created;
    return DD_OK;
}

// What the test reads and sets: objects made and released, waits, and whether creation fails.
__declspec(dllexport) void WINAPI fakeDirectDrawCounts(LONG* made, LONG* gone, LONG* waited) {
    *made = created;
    *gone = released;
    *waited = waits;
}

__declspec(dllexport) void WINAPI fakeDirectDrawFail(LONG fail) { failing = fail; }
}
