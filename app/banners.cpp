#include "app/banners.h"

namespace app {

platform::Bitmap makeBanner(int width, int height, const std::string& text, COLORREF left,
                            COLORREF right) {
    platform::MemoryDC dc;
    platform::Bitmap bmp;
    {
        platform::ScreenDC screen;
        dc = platform::MemoryDC(screen.get());
        bmp.reset(CreateCompatibleBitmap(screen.get(), width, height));
    }
    if (!dc || !bmp)
        return {};
    platform::Selected keepBitmap(dc.get(), bmp.get());
    for (int x = 0; x < width; ++x) {
        auto mix = [&](int a, int b) { return a + (b - a) * x / (width > 1 ? width - 1 : 1); };
        COLORREF c =
            RGB(mix(GetRValue(left), GetRValue(right)), mix(GetGValue(left), GetGValue(right)),
                mix(GetBValue(left), GetBValue(right)));
        platform::Brush b(CreateSolidBrush(c));
        RECT col{x, 0, x + 1, height};
        FillRect(dc.get(), &col, b.get());
    }
    platform::Font font(CreateFontA(-(height * 5 / 10), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma"));
    platform::Selected keepFont(dc.get(), font.get());
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), RGB(255, 255, 255));
    RECT r{height / 3, 0, width, height};
    DrawTextA(dc.get(), text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    return bmp;
}

} // namespace app
