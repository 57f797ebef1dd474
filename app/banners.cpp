#include "app/banners.h"

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

} // namespace app
