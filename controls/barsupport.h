// Drawing helpers shared by the toolbar and the status bar: pictures (icon or
// bitmap), fonts from their stored description, system colours, an off-screen
// 32-bit surface, and frames and lines in a given colour.
#pragma once

#include <windows.h>

#include <string>

#include "controls/pure/colour.h"
#include "controls/pure/propertybag.h"

namespace controls {

// An icon or a bitmap the host hands in; the control does not own it.
struct Picture {
    HICON icon = nullptr;
    HBITMAP bitmap = nullptr;

    bool empty() const { return icon == nullptr && bitmap == nullptr; }
    SIZE size() const;
    bool operator==(const Picture&) const = default;
};

// System colours by number (GetSysColor), as the colour arithmetic wants them.
Colour systemColourLookup(int n);
// A colour value ready for GDI: system colours translated.
COLORREF gdiColour(Colour c);

// A font made from its description; an empty face stands for `fallback`.
// The returned font is owned by the caller (nullptr when `fallback` is used).
HFONT createFont(const FontDesc& desc);
// The description of an existing font (the host's font, for instance).
FontDesc describeFont(HFONT font);

// The Shift (1), Ctrl (2) and Alt (4) keys held now, as the mouse and key
// events report them.
int shiftState();

// The mouse buttons held in a mouse message's wParam: left 1, right 2, middle 4.
int mouseButtons(WPARAM w);

// Whether mouse-leave tracking is offered by user32 or the common controls.
bool trackMouseEventAvailable();
// The font a window's parent uses for its text (WM_GETFONT), or the GUI font.
HFONT hostFont(HWND parent);

// An off-screen 32-bit top-down surface with its own memory DC.
class Surface {
  public:
    Surface() = default;
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // Makes the surface at least w x h (it is recreated when the size changes).
    bool resize(int w, int h);
    HDC dc() const { return dc_; }
    int width() const { return w_; }
    int height() const { return h_; }
    // Pixels, 0x00RRGGBB each, top-down rows (valid after GdiFlush()).
    std::uint32_t* pixels() const { return bits_; }
    // Colour of one pixel as a colour value (red in the low byte), or
    // CLR_INVALID outside.
    COLORREF pixel(int x, int y) const;

  private:
    HDC dc_ = nullptr;
    HBITMAP bmp_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int w_ = 0, h_ = 0;
};

void fillRect(HDC dc, const RECT& r, COLORREF c);
void drawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF c);
// A one-pixel rectangle outline.
void outlineRect(HDC dc, const RECT& r, COLORREF c);
// A raised or sunken frame around r built from `colour`: light top-left and
// dark bottom-right edges (swapped when sunken), two pixels deep when threeD.
void drawFrame(HDC dc, const RECT& r, COLORREF colour, bool raised, bool threeD);

// Draws a picture at (x, y) in its own size (or cx x cy when given).
// Disabled pictures are drawn grey; bitmaps can have a transparent colour.
void drawPicture(HDC dc, const Picture& pic, int x, int y, int cx = 0, int cy = 0,
                 bool disabled = false, bool useMask = false, COLORREF mask = 0);
// The picture's silhouette in one colour (for drop shadows).
void drawSilhouette(HDC dc, const Picture& pic, int x, int y, COLORREF colour);

} // namespace controls
