// Handles that free themselves: one owner per GDI object, icon, device
// context or WinINet handle, freed when the owner goes. They move, never copy.
//
//   platform::Font font(CreateFontIndirectA(&lf));
//   platform::ScreenDC screen;                      // GetDC(nullptr) ... ReleaseDC
//   platform::MemoryDC dc(screen.get());            // CreateCompatibleDC ... DeleteDC
//   platform::Selected keep(dc.get(), font.get());  // SelectObject, put back when it goes
//
// An object handed to a control that keeps using it (WM_SETFONT, STM_SETIMAGE,
// BM_SETIMAGE, an image list) stays owned here: keep the owner alive as long as
// the control.
#pragma once

#include <windows.h>

#include <utility>

namespace platform {

template <class H, void (*Free)(H)> class Owned {
  public:
    Owned() = default;
    explicit Owned(H h) : h_(h) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& o) noexcept : h_(o.release()) {}
    Owned& operator=(Owned&& o) noexcept {
        if (this != &o)
            reset(o.release());
        return *this;
    }
    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    // Takes h and frees the handle held before (unless it is h itself).
    void reset(H h = nullptr) {
        H old = std::exchange(h_, h);
        if (old && old != h)
            Free(old);
    }
    // Gives the handle up without freeing it.
    H release() { return std::exchange(h_, nullptr); }

  private:
    H h_ = nullptr;
};

namespace detail {
template <class H> void deleteObject(H h) {
    DeleteObject(h);
}
inline void destroyIcon(HICON h) {
    DestroyIcon(h);
}
inline void deleteDC(HDC h) {
    DeleteDC(h);
}
// InternetCloseHandle, kept out of this header so that only the WinINet code
// sees <wininet.h> (a WinINet handle is a void pointer).
void closeInternetHandle(void* h);
} // namespace detail

using Font = Owned<HFONT, detail::deleteObject<HFONT>>;
using Bitmap = Owned<HBITMAP, detail::deleteObject<HBITMAP>>;
using Brush = Owned<HBRUSH, detail::deleteObject<HBRUSH>>;
using Pen = Owned<HPEN, detail::deleteObject<HPEN>>;
using Region = Owned<HRGN, detail::deleteObject<HRGN>>;
using Icon = Owned<HICON, detail::destroyIcon>;
using InternetHandle = Owned<void*, detail::closeInternetHandle>;

// A memory device context made like `like` (the screen when null).
class MemoryDC : public Owned<HDC, detail::deleteDC> {
  public:
    MemoryDC() = default;
    explicit MemoryDC(HDC like) : Owned(CreateCompatibleDC(like)) {}
};

// A window's device context (the screen's for a null window), released when
// it goes.
class WindowDC {
  public:
    explicit WindowDC(HWND hwnd = nullptr) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND hwnd_;
    HDC dc_;
};
using ScreenDC = WindowDC;

// Selects an object into a device context and puts the one it replaced back
// when it goes, so the object can be freed after it.
class Selected {
  public:
    Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(dc && obj ? SelectObject(dc, obj) : nullptr) {}
    ~Selected() {
        if (old_)
            SelectObject(dc_, old_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// The header of a 32-bit top-down bitmap of the given size (rows from the
// top, one 0x00RRGGBB or premultiplied 0xAARRGGBB value per pixel), for
// CreateDIBSection and SetDIBits.
inline BITMAPINFO topDownInfo32(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

} // namespace platform
