#include "app/banners.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace app {

platform::Bitmap makeBanner(int width, int height, const std::string& text, COLORREF left,
                            COLORREF right) {
    if (width <= 0 || height <= 0)
        return {};
    // The colour runs from left to right; the pixels go into the bitmap in
    // one call (a brush and a fill per column cost a thousand calls).
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int x = 0; x < width; ++x) {
        auto mix = [&](int a, int b) { return a + (b - a) * x / (width > 1 ? width - 1 : 1); };
        const std::uint32_t c =
            static_cast<std::uint32_t>(mix(GetRValue(left), GetRValue(right))) << 16 |
            static_cast<std::uint32_t>(mix(GetGValue(left), GetGValue(right))) << 8 |
            static_cast<std::uint32_t>(mix(GetBValue(left), GetBValue(right)));
        for (int y = 0; y < height; ++y)
            pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                c;
    }
    const BITMAPINFO bi = platform::topDownInfo32(width, height);
    platform::MemoryDC dc;
    platform::Bitmap bmp;
    {
        platform::ScreenDC screen;
        dc = platform::MemoryDC(screen.get());
        bmp.reset(CreateCompatibleBitmap(screen.get(), width, height));
        if (bmp)
            SetDIBits(screen.get(), bmp.get(), 0, static_cast<UINT>(height), pixels.data(), &bi,
                      DIB_RGB_COLORS);
    }
    if (!dc || !bmp)
        return {};
    platform::Selected keepBitmap(dc.get(), bmp.get());
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

void Artwork::makeTitleFont() {
    platform::Font font(CreateFontA(-v_.window.pixels(360), 0, 0, 0, FW_BOLD, 0, 0, 0,
                                    DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, "Tahoma"));
    if (!font || !v_.title.hwnd())
        return;
    SendMessageA(v_.title.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    // The label holds the new font now; the one it had is no longer used.
    titleFont_ = std::move(font);
}

void Artwork::makePictures() {
    auto old = std::move(pictures_); // freed once the images show the new ones
    int w = v_.window.pixels(3780), h = v_.window.pixels(330);
    pictures_[0] = makeBanner(w, h, "Recommendations", RGB(0, 102, 153), RGB(0, 204, 255));
    pictures_[1] = makeBanner(w, h, "Windows Starter Kit", RGB(0, 120, 60), RGB(120, 200, 80));
    v_.recommendationsBanner.setBitmap(pictures_[0].get());
    v_.starterKitBanner.setBitmap(pictures_[1].get());
}

} // namespace app
