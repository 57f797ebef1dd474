// Off-screen drawing for the custom controls: each control draws a whole
// frame into a 32-bit surface and copies it to its window in one go, so
// nothing flickers. With the pictures (icon or bitmap) the host hands in,
// system colours ready for GDI, and fills, frames, lines and gradients in a
// given colour.
#pragma once

#include <windows.h>

#include <cstdint>

#include "controls/pure/colour.h"
#include "platform/handles.h"

namespace controls {

// An icon or a bitmap the host hands in; the control does not own it.
struct Picture {
    HICON icon = nullptr;
    HBITMAP bitmap = nullptr;
    // The bitmap is a 32-bit DIB with premultiplied alpha, drawn blended;
    // cheaper to make than an icon (which under Wine costs a millisecond).
    bool alpha = false;

    bool empty() const { return icon == nullptr && bitmap == nullptr; }
    SIZE size() const;
    bool operator==(const Picture&) const = default;
};

// System colours by number (GetSysColor), as the colour arithmetic wants them.
Colour systemColourLookup(int n);
// A colour value ready for GDI: system colours translated.
COLORREF gdiColour(Colour c);

// An off-screen 32-bit top-down surface with its own memory DC.
class Surface {
  public:
    Surface() = default;
    // A surface of w x h at once (check ok()).
    Surface(int w, int h) { resize(w, h); }
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // Makes the surface w x h (at least 1 x 1; recreated when the size changes).
    bool resize(int w, int h);
    // Makes the surface the size of a window's client area.
    bool fitClient(HWND window);
    // Answers a window's WM_PAINT with the surface's picture.
    void paintWindow(HWND window) const;
    bool ok() const { return dc_ && bits_; }
    HDC dc() const { return dc_.get(); }
    int width() const { return w_; }
    int height() const { return h_; }
    // Pixels, 0x00RRGGBB each (blue in the low byte), top-down rows (valid
    // after GdiFlush()).
    std::uint32_t* pixels() const { return bits_; }
    // Colour of one pixel as a colour value (red in the low byte), or
    // CLR_INVALID outside.
    COLORREF pixel(int x, int y) const;
    // Copies the whole surface to (x, y) of the target.
    void present(HDC target, int x = 0, int y = 0) const;

  private:
    platform::MemoryDC dc_;
    platform::Bitmap bmp_;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int w_ = 0, h_ = 0;
};

void fillRect(HDC dc, const RECT& r, COLORREF c);
// A line from (x1, y1) to (x2, y2), the end point excluded.
void drawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF c);
// A one-pixel rectangle outline.
void outlineRect(HDC dc, const RECT& r, COLORREF c);
// A raised or sunken frame around r built from `colour`: light top-left and
// dark bottom-right edges (swapped when sunken), two pixels deep when threeD.
void drawFrame(HDC dc, const RECT& r, COLORREF colour, bool raised, bool threeD);
// Top-to-bottom gradient, one row per colour step (colour values, red low).
void verticalGradient(HDC dc, const RECT& r, Colour top, Colour bottom);

// Draws a picture at (x, y) in its own size (or cx x cy when given).
// Disabled pictures are drawn grey; bitmaps can have a transparent colour.
void drawPicture(HDC dc, const Picture& pic, int x, int y, int cx = 0, int cy = 0,
                 bool disabled = false, bool useMask = false, COLORREF mask = 0);
// The picture's silhouette in one colour (for drop shadows).
void drawSilhouette(HDC dc, const Picture& pic, int x, int y, COLORREF colour);

} // namespace controls
