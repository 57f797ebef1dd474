#include "app/banners.h"

#include <utility>

namespace app {

HBITMAP makeBanner(int width, int height, const std::string& text, COLORREF left, COLORREF right) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    if (!dc || !bmp) {
        if (dc)
            DeleteDC(dc);
        if (bmp)
            DeleteObject(bmp);
        return nullptr;
    }
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    for (int x = 0; x < width; ++x) {
        auto mix = [&](int a, int b) { return a + (b - a) * x / (width > 1 ? width - 1 : 1); };
        COLORREF c =
            RGB(mix(GetRValue(left), GetRValue(right)), mix(GetGValue(left), GetGValue(right)),
                mix(GetBValue(left), GetBValue(right)));
        HBRUSH b = CreateSolidBrush(c);
        RECT col{x, 0, x + 1, height};
        FillRect(dc, &col, b);
        DeleteObject(b);
    }
    HFONT font = CreateFontA(-(height * 5 / 10), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT r{height / 3, 0, width, height};
    DrawTextA(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    SelectObject(dc, oldBmp);
    DeleteDC(dc);
    return bmp;
}

Artwork::~Artwork() {
    for (HBITMAP b : pictures_)
        if (b)
            DeleteObject(b);
    if (titleFont_)
        DeleteObject(titleFont_);
}

void Artwork::makeTitleFont() {
    HFONT font = CreateFontA(-v_.window.pixels(360), 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0,
                             0, CLEARTYPE_QUALITY, 0, "Tahoma");
    if (!font || !v_.title.hwnd()) {
        if (font)
            DeleteObject(font);
        return;
    }
    SendMessageA(v_.title.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    // The label holds the new font now; the one it had is no longer used.
    if (titleFont_)
        DeleteObject(titleFont_);
    titleFont_ = font;
}

void Artwork::makePictures() {
    for (HBITMAP& b : pictures_)
        if (b)
            DeleteObject(std::exchange(b, nullptr));
    int w = v_.window.pixels(3780), h = v_.window.pixels(330);
    pictures_[0] = makeBanner(w, h, "Recommendations", RGB(0, 102, 153), RGB(0, 204, 255));
    pictures_[1] = makeBanner(w, h, "Windows Starter Kit", RGB(0, 120, 60), RGB(120, 200, 80));
    v_.recommendationsBanner.setBitmap(pictures_[0]);
    v_.starterKitBanner.setBitmap(pictures_[1]);
}

} // namespace app
