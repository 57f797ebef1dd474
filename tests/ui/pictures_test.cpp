// The main window's drawn pictures: the same pixels however they are made,
// and every handle freed.
#include "controls/offscreen.h"
#include "ui/pictures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::vector<uint32_t> pixels(HICON icon, int size) {
    std::vector<uint32_t> out(static_cast<size_t>(size) * size);
    ICONINFO ii{};
    if (!icon || !GetIconInfo(icon, &ii))
        return {};
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = GetDC(nullptr);
    int lines = GetDIBits(dc, ii.hbmColor, 0, size, out.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);
    return lines == size ? out : std::vector<uint32_t>{};
}

// Drawn on one reused surface they are what each draws on a surface of its
// own: nothing of one layer or picture shows through the next.
TEST(Pictures, DrawnOnOneSurfaceInTurnTheyAreWhatEachDrawsAlone) {
    ui::Surface shared;
    for (int size : {24, 32, 48})
        for (bool light : {true, false})
            for (int p = 0; p <= static_cast<int>(ui::Picture::Facebook); ++p) {
                const auto picture = static_cast<ui::Picture>(p);
                HICON alone = ui::makePicture(picture, size, light);
                HICON inTurn = ui::makePicture(picture, size, light, shared);
                const auto a = pixels(alone, size), b = pixels(inTurn, size);
                ASSERT_FALSE(a.empty()) << "picture " << p << " at " << size;
                size_t drawn = 0;
                for (uint32_t px : a)
                    drawn += (px >> 24) != 0;
                EXPECT_GT(drawn, a.size() / 10) << "picture " << p << " at " << size;
                EXPECT_EQ(a, b) << "picture " << p << " at " << size << (light ? " light" : "");
                DestroyIcon(alone);
                DestroyIcon(inTurn);
            }
}

// The toolbar draws its pictures from alpha bitmaps (cheaper to make than
// icons): over any background they look as the icons do.
TEST(Pictures, AnAlphaBitmapDrawsAsTheIconOfTheSamePicture) {
    ui::Surface shared;
    for (int size : {24, 32})
        for (int p = 0; p <= static_cast<int>(ui::Picture::Facebook); ++p) {
            const auto picture = static_cast<ui::Picture>(p);
            HICON icon = ui::makePicture(picture, size, size == 24, shared);
            HBITMAP bitmap = ui::makePictureBitmap(picture, size, size == 24, shared);
            controls::Surface a(size, size), b(size, size);
            ASSERT_TRUE(a.ok() && b.ok());
            for (controls::Surface* s : {&a, &b})
                std::fill(s->pixels(), s->pixels() + size * size, 0x003C80C8u);
            controls::drawPicture(a.dc(), {.icon = icon}, 0, 0);
            controls::drawPicture(b.dc(), {.bitmap = bitmap, .alpha = true}, 0, 0);
            GdiFlush();
            int worst = 0;
            for (int i = 0; i < size * size; ++i)
                for (int shift : {0, 8, 16})
                    worst = std::max(worst,
                                     std::abs(static_cast<int>((a.pixels()[i] >> shift) & 0xFF) -
                                              static_cast<int>((b.pixels()[i] >> shift) & 0xFF)));
            EXPECT_LE(worst, 2) << "picture " << p << " at " << size;
            DestroyIcon(icon);
            DeleteObject(bitmap);
        }
}

// A set of pictures frees every icon it made, however many it holds.
TEST(Pictures, PictureSetFreesEveryIcon) {
    std::vector<HICON> made;
    {
        ui::PictureSet set;
        for (int i = 0; i < 80; ++i)
            made.push_back(set.add(ui::Picture::Home, 16));
    }
    int left = 0;
    for (HICON icon : made) {
        ICONINFO ii{};
        if (GetIconInfo(icon, &ii)) {
            ++left;
            DeleteObject(ii.hbmColor);
            DeleteObject(ii.hbmMask);
        }
    }
    EXPECT_EQ(left, 0);
}

} // namespace
