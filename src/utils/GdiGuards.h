#pragma once
// Owners of GDI objects: a font, brush or bitmap made by one of the Create* calls is deleted, a
// memory DC deleted, a window's DC released, and an object selected into a DC gives way to the
// object it displaced, when its owner goes. Each reads as the handle it holds, so that it goes
// straight into the GDI calls. An owner of nothing does nothing; moving one hands its object on.
#include <windows.h>

#include <utility>

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DeleteMemoryDc {
    void operator()(HDC dc) const { DeleteDC(dc); }
};

template <class Handle, class Release>
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : handle(handle) {}
    ~OwnedHandle() { reset(); }
    OwnedHandle(OwnedHandle&& other) noexcept : handle(std::exchange(other.handle, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle, nullptr));
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    operator Handle() const { return handle; }
    // Releases the object held and holds replacement instead.
    void reset(Handle replacement = nullptr) {
        if (handle) Release()(handle);
        handle = replacement;
    }

private:
    Handle handle = nullptr;
};

using OwnedFont = OwnedHandle<HFONT, DeleteGdiObject>;
using OwnedBrush = OwnedHandle<HBRUSH, DeleteGdiObject>;
using OwnedBitmap = OwnedHandle<HBITMAP, DeleteGdiObject>;
using MemoryDc = OwnedHandle<HDC, DeleteMemoryDc>;

// A window's DC, from GetDC to ReleaseDC. Mind that no window (null) gets the whole screen's DC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window(window), dc(GetDC(window)) {}
    ~WindowDc() {
        if (dc) ReleaseDC(window, dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    operator HDC() const { return dc; }

private:
    HWND window;
    HDC dc;
};

// An object selected into a DC while this lives; then the object it displaced is selected back, so
// that the object can be deleted. Selecting nothing (a font the system could not make) leaves the
// DC as it is. Declare it after the owner of the object, so that it goes first.
class SelectedObject {
public:
    SelectedObject() = default;
    SelectedObject(HDC dc, HGDIOBJ object) : dc(dc), displaced(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() { restore(); }
    SelectedObject(SelectedObject&& other) noexcept
        : dc(std::exchange(other.dc, nullptr)), displaced(std::exchange(other.displaced, nullptr)) {}
    SelectedObject& operator=(SelectedObject&& other) noexcept {
        if (this != &other) {
            restore();
            dc = std::exchange(other.dc, nullptr);
            displaced = std::exchange(other.displaced, nullptr);
        }
        return *this;
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    void restore() {
        if (dc && displaced) SelectObject(dc, displaced);
        dc = nullptr;
        displaced = nullptr;
    }

    HDC dc = nullptr;
    HGDIOBJ displaced = nullptr;
};
