#include "controls/offscreen.h"

#include <algorithm>
#include <cstdlib>

namespace controls {

SIZE Picture::size() const {
    SIZE s{0, 0};
    if (bitmap) {
        BITMAP bm{};
        if (GetObjectA(bitmap, sizeof bm, &bm)) {
            s.cx = bm.bmWidth;
            s.cy = std::abs(bm.bmHeight);
        }
    } else if (icon) {
        ICONINFO ii{};
        if (GetIconInfo(icon, &ii)) {
            // GetIconInfo hands out copies of the icon's bitmaps.
            platform::Bitmap colour(ii.hbmColor), mask(ii.hbmMask);
            BITMAP bm{};
            if (ii.hbmColor && GetObjectA(ii.hbmColor, sizeof bm, &bm)) {
                s.cx = bm.bmWidth;
                s.cy = bm.bmHeight;
            } else if (ii.hbmMask && GetObjectA(ii.hbmMask, sizeof bm, &bm)) {
                s.cx = bm.bmWidth;
                s.cy = bm.bmHeight / 2; // monochrome icons stack AND and XOR masks
            }
        }
    }
    return s;
}

Colour systemColourLookup(int n) {
    return static_cast<Colour>(GetSysColor(n)) & 0x00FFFFFFu;
}

COLORREF gdiColour(Colour c) {
    return TranslateColor(c, systemColourLookup);
}

Surface::~Surface() {
    // The bitmap goes after the device context has given it back.
    if (dc_)
        SelectObject(dc_.get(), old_);
}

bool Surface::fitClient(HWND window) {
    RECT rc{};
    GetClientRect(window, &rc);
    return resize(rc.right, rc.bottom);
}

void Surface::paintWindow(HWND window) const {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    BitBlt(dc, 0, 0, w_, h_, dc_.get(), 0, 0, SRCCOPY);
    EndPaint(window, &ps);
}

bool Surface::resize(int w, int h) {
    w = std::max(1, w);
    h = std::max(1, h);
    if (dc_ && w == w_ && h == h_)
        return true;
    if (!dc_) {
        dc_ = platform::MemoryDC(nullptr);
        if (!dc_)
            return false;
    }
    const BITMAPINFO bi = platform::topDownInfo32(w, h);
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc_.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp)
        return false;
    HGDIOBJ prev = SelectObject(dc_.get(), bmp);
    if (!old_)
        old_ = prev;
    bmp_.reset(bmp);
    bits_ = static_cast<std::uint32_t*>(bits);
    w_ = w;
    h_ = h;
    return true;
}

COLORREF Surface::pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= w_ || y >= h_)
        return CLR_INVALID;
    GdiFlush();
    return swapRedBlue(
               bits_[static_cast<size_t>(y) * static_cast<size_t>(w_) + static_cast<size_t>(x)]) &
           0x00FFFFFFu;
}

void Surface::present(HDC target, int x, int y) const {
    if (dc_)
        BitBlt(target, x, y, w_, h_, dc_.get(), 0, 0, SRCCOPY);
}

void fillRect(HDC dc, const RECT& r, COLORREF c) {
    COLORREF old = SetBkColor(dc, c);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

void drawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF c) {
    platform::Pen pen(CreatePen(PS_SOLID, 1, c));
    platform::Selected keep(dc, pen.get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void outlineRect(HDC dc, const RECT& r, COLORREF c) {
    if (r.right - r.left < 1 || r.bottom - r.top < 1)
        return;
    fillRect(dc, {r.left, r.top, r.right, r.top + 1}, c);
    fillRect(dc, {r.left, r.bottom - 1, r.right, r.bottom}, c);
    fillRect(dc, {r.left, r.top, r.left + 1, r.bottom}, c);
    fillRect(dc, {r.right - 1, r.top, r.right, r.bottom}, c);
}

void verticalGradient(HDC dc, const RECT& r, Colour top, Colour bottom) {
    const int n = r.bottom - r.top;
    for (int i = 0; i < n; ++i)
        fillRect(dc, {r.left, r.top + i, r.right, r.top + i + 1},
                 static_cast<COLORREF>(GradientStep(top, bottom, i, n)));
}

namespace {

void edges(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    if (r.right - r.left < 2 || r.bottom - r.top < 2)
        return;
    fillRect(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    fillRect(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    fillRect(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    fillRect(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

} // namespace

void drawFrame(HDC dc, const RECT& r, COLORREF colour, bool raised, bool threeD) {
    const Colour c = colour & 0x00FFFFFFu;
    const COLORREF light = Lighten(c, 200);
    const COLORREF dark = c;
    if (raised)
        edges(dc, r, light, dark);
    else
        edges(dc, r, dark, light);
    if (threeD) {
        RECT in{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
        const COLORREF light2 = Lighten(c, 120);
        const COLORREF dark2 = BlendColor(c, rgb(255, 255, 255), 170);
        if (raised)
            edges(dc, in, light2, dark2);
        else
            edges(dc, in, dark2, light2);
    }
}

namespace {

constexpr std::uint32_t kKey = 0x00FE01FD; // DIB key colour nothing else uses

// Renders the picture into a cx x cy DIB over the key colour, maps every
// non-key pixel with `map` and blits the result transparently.
template <class Map>
void blitMapped(HDC dc, const Picture& pic, int x, int y, int cx, int cy, bool useMask,
                COLORREF mask, Map map) {
    Surface s;
    if (!s.resize(cx, cy))
        return;
    std::fill(s.pixels(), s.pixels() + static_cast<size_t>(cx) * static_cast<size_t>(cy), kKey);
    if (pic.icon) {
        DrawIconEx(s.dc(), 0, 0, pic.icon, cx, cy, 0, nullptr, DI_NORMAL);
    } else {
        platform::MemoryDC src(dc);
        platform::Selected keep(src.get(), pic.bitmap);
        SIZE sz = pic.size();
        SetStretchBltMode(s.dc(), COLORONCOLOR);
        if (pic.alpha)
            AlphaBlend(s.dc(), 0, 0, cx, cy, src.get(), 0, 0, sz.cx, sz.cy,
                       {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
        else if (useMask)
            TransparentBlt(s.dc(), 0, 0, cx, cy, src.get(), 0, 0, sz.cx, sz.cy, mask);
        else
            StretchBlt(s.dc(), 0, 0, cx, cy, src.get(), 0, 0, sz.cx, sz.cy, SRCCOPY);
    }
    GdiFlush();
    std::uint32_t* p = s.pixels();
    for (size_t i = 0, n = static_cast<size_t>(cx) * static_cast<size_t>(cy); i < n; ++i)
        if ((p[i] & 0x00FFFFFFu) != kKey)
            p[i] = map(p[i] & 0x00FFFFFFu) & 0x00FFFFFFu;
    TransparentBlt(dc, x, y, cx, cy, s.dc(), 0, 0, cx, cy, swapRedBlue(kKey));
}

} // namespace

void drawPicture(HDC dc, const Picture& pic, int x, int y, int cx, int cy, bool disabled,
                 bool useMask, COLORREF mask) {
    if (pic.empty())
        return;
    SIZE sz = pic.size();
    if (cx <= 0)
        cx = sz.cx;
    if (cy <= 0)
        cy = sz.cy;
    if (cx <= 0 || cy <= 0)
        return;
    if (disabled) {
        blitMapped(dc, pic, x, y, cx, cy, useMask, mask, [](std::uint32_t v) {
            const int r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
            const std::uint32_t grey = 96 + (r * 30 + g * 59 + b * 11) / 100 * 5 / 8;
            return (grey << 16) | (grey << 8) | grey;
        });
        return;
    }
    if (pic.icon) {
        DrawIconEx(dc, x, y, pic.icon, cx, cy, 0, nullptr, DI_NORMAL);
        return;
    }
    platform::MemoryDC src(dc);
    platform::Selected keep(src.get(), pic.bitmap);
    SetStretchBltMode(dc, COLORONCOLOR);
    if (pic.alpha)
        AlphaBlend(dc, x, y, cx, cy, src.get(), 0, 0, sz.cx, sz.cy,
                   {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
    else if (useMask)
        TransparentBlt(dc, x, y, cx, cy, src.get(), 0, 0, sz.cx, sz.cy, mask);
    else
        StretchBlt(dc, x, y, cx, cy, src.get(), 0, 0, sz.cx, sz.cy, SRCCOPY);
}

void drawSilhouette(HDC dc, const Picture& pic, int x, int y, COLORREF colour) {
    if (pic.empty())
        return;
    SIZE sz = pic.size();
    if (sz.cx <= 0 || sz.cy <= 0)
        return;
    const std::uint32_t v = swapRedBlue(colour & 0x00FFFFFFu);
    blitMapped(dc, pic, x, y, sz.cx, sz.cy, false, 0, [v](std::uint32_t) { return v; });
}

} // namespace controls
