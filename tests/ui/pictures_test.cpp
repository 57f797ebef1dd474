// The pictures drawn on one reused surface are the pictures drawn each on a
// surface of its own: nothing of one layer or picture shows through the next.
#include "ui/pictures.h"

#include <gtest/gtest.h>

#include <cstdint>
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

} // namespace
