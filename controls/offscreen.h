// Off-screen painting for the custom controls: draw a whole frame into a
// 32-bit bitmap, then copy it to the window in one go, so nothing flickers.
// Also small GDI helpers shared by the controls.
#pragma once

#include <windows.h>

#include <cstdint>

#include "controls/pure/colour.h"

namespace controls {

// A colour value (system colours allowed) as a GDI colour.
inline COLORREF toColorRef(Colour c) {
    return static_cast<COLORREF>(
        TranslateColor(c, [](int n) { return static_cast<Colour>(GetSysColor(n)); }));
}

class OffscreenBuffer {
  public:
    // A top-down 32-bit bitmap of w x h pixels compatible with `reference`.
    OffscreenBuffer(HDC reference, int w, int h) : w_(w < 1 ? 1 : w), h_(h < 1 ? 1 : h) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w_;
        bi.bmiHeader.biHeight = -h_;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(reference);
        bitmap_ = CreateDIBSection(reference, &bi, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (dc_ && bitmap_)
            old_ = SelectObject(dc_, bitmap_);
    }
    ~OffscreenBuffer() {
        if (dc_ && old_)
            SelectObject(dc_, old_);
        if (bitmap_)
            DeleteObject(bitmap_);
        if (dc_)
            DeleteDC(dc_);
    }
    OffscreenBuffer(const OffscreenBuffer&) = delete;
    OffscreenBuffer& operator=(const OffscreenBuffer&) = delete;

    bool ok() const { return dc_ && bitmap_ && bits_; }
    HDC dc() const { return dc_; }
    int width() const { return w_; }
    int height() const { return h_; }
    // Pixel (x, y) as 0x00RRGGBB in DIB order (blue in the low byte).
    std::uint32_t* pixels() const { return static_cast<std::uint32_t*>(bits_); }
    // Pixel as a colour value (red in the low byte).
    Colour pixel(int x, int y) const {
        if (!bits_ || x < 0 || y < 0 || x >= w_ || y >= h_)
            return 0;
        GdiFlush();
        return swapRedBlue(pixels()[y * w_ + x] & 0x00FFFFFFu);
    }
    // Copies the whole frame to (x, y) of the target.
    void present(HDC target, int x = 0, int y = 0) const {
        BitBlt(target, x, y, w_, h_, dc_, 0, 0, SRCCOPY);
    }

  private:
    int w_, h_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

inline void fillSolid(HDC dc, const RECT& r, COLORREF c) {
    COLORREF old = SetBkColor(dc, c);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

inline void frameSolid(HDC dc, const RECT& r, COLORREF c) {
    fillSolid(dc, {r.left, r.top, r.right, r.top + 1}, c);
    fillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, c);
    fillSolid(dc, {r.left, r.top, r.left + 1, r.bottom}, c);
    fillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, c);
}

// A line from (x1, y1) to (x2, y2), the end point excluded.
inline void lineSolid(HDC dc, int x1, int y1, int x2, int y2, COLORREF c) {
    HPEN pen = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// Top-to-bottom gradient, one row per colour step.
inline void verticalGradient(HDC dc, const RECT& r, Colour top, Colour bottom) {
    int n = r.bottom - r.top;
    for (int i = 0; i < n; ++i)
        fillSolid(dc, {r.left, r.top + i, r.right, r.top + i + 1},
                  static_cast<COLORREF>(GradientStep(top, bottom, i, n)));
}

} // namespace controls
