#include "mendkit/pictures.h"

#include "platform/handles.h"

#include <functional>
#include <vector>

namespace mendkit {

namespace {

// Draws with GDI onto a 32-bit bitmap filled with a key colour and turns every
// pixel left in that colour transparent.
HICON drawIcon(const std::function<void(HDC, int)>& draw) {
    int size = GetSystemMetrics(SM_CXSMICON);
    if (size <= 0)
        size = 16;
    const BITMAPINFO bi = platform::topDownInfo32(size, size);
    void* bits = nullptr;
    platform::Bitmap colour(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour || !bits)
        return nullptr;
    constexpr DWORD key = 0x00FF00FF;
    auto* px = static_cast<DWORD*>(bits);
    const int count = size * size;
    for (int i = 0; i < count; ++i)
        px[i] = key;
    {
        platform::MemoryDC dc(nullptr);
        platform::Selected keep(dc.get(), colour.get());
        draw(dc.get(), size);
        GdiFlush();
    }
    for (int i = 0; i < count; ++i)
        px[i] = (px[i] & 0x00FFFFFF) == key ? 0 : (px[i] | 0xFF000000);
    std::vector<unsigned char> zeros(static_cast<size_t>(((size + 15) / 16) * 2 * size), 0);
    platform::Bitmap mask(CreateBitmap(size, size, 1, 1, zeros.data()));
    // The icon takes copies of both bitmaps.
    ICONINFO ii{};
    ii.fIcon = TRUE;
    ii.hbmMask = mask.get();
    ii.hbmColor = colour.get();
    return CreateIconIndirect(&ii);
}

void disc(HDC dc, int size, COLORREF fill) {
    platform::Brush brush(CreateSolidBrush(fill));
    platform::Pen pen(CreatePen(PS_SOLID, 1, fill));
    platform::Selected keepBrush(dc, brush.get());
    platform::Selected keepPen(dc, pen.get());
    Ellipse(dc, 0, 0, size, size);
}

} // namespace

HICON makeRepairIcon() {
    return drawIcon([](HDC dc, int size) {
        disc(dc, size, RGB(40, 150, 60));
        platform::Pen pen(CreatePen(PS_SOLID, size / 8 > 1 ? size / 8 : 2, RGB(255, 255, 255)));
        platform::Selected keep(dc, pen.get());
        POINT tick[3] = {{size * 4 / 16, size * 8 / 16},
                         {size * 7 / 16, size * 11 / 16},
                         {size * 12 / 16, size * 5 / 16}};
        Polyline(dc, tick, 3);
    });
}

HICON makeGlobeIcon() {
    return drawIcon([](HDC dc, int size) {
        disc(dc, size, RGB(30, 110, 200));
        platform::Pen pen(CreatePen(PS_SOLID, 1, RGB(210, 230, 255)));
        platform::Selected keepPen(dc, pen.get());
        platform::Selected keepBrush(dc, GetStockObject(NULL_BRUSH));
        Ellipse(dc, size * 5 / 16, 1, size - size * 5 / 16, size - 1);
        MoveToEx(dc, 1, size / 2, nullptr);
        LineTo(dc, size - 1, size / 2);
        MoveToEx(dc, size / 2, 1, nullptr);
        LineTo(dc, size / 2, size - 1);
    });
}

} // namespace mendkit
