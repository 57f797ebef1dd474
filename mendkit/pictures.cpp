#include "mendkit/pictures.h"

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
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size; // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP colour = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!colour || !bits)
        return nullptr;
    constexpr DWORD key = 0x00FF00FF;
    auto* px = static_cast<DWORD*>(bits);
    const int count = size * size;
    for (int i = 0; i < count; ++i)
        px[i] = key;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, colour);
    draw(dc, size);
    GdiFlush();
    SelectObject(dc, old);
    DeleteDC(dc);
    for (int i = 0; i < count; ++i)
        px[i] = (px[i] & 0x00FFFFFF) == key ? 0 : (px[i] | 0xFF000000);
    std::vector<unsigned char> zeros(static_cast<size_t>(((size + 15) / 16) * 2 * size), 0);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, zeros.data());
    ICONINFO ii{};
    ii.fIcon = TRUE;
    ii.hbmMask = mask;
    ii.hbmColor = colour;
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

void disc(HDC dc, int size, COLORREF fill) {
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, fill);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Ellipse(dc, 0, 0, size, size);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

} // namespace

HICON makeRepairIcon() {
    return drawIcon([](HDC dc, int size) {
        disc(dc, size, RGB(40, 150, 60));
        HPEN pen = CreatePen(PS_SOLID, size / 8 > 1 ? size / 8 : 2, RGB(255, 255, 255));
        HGDIOBJ old = SelectObject(dc, pen);
        POINT tick[3] = {{size * 4 / 16, size * 8 / 16},
                         {size * 7 / 16, size * 11 / 16},
                         {size * 12 / 16, size * 5 / 16}};
        Polyline(dc, tick, 3);
        SelectObject(dc, old);
        DeleteObject(pen);
    });
}

HICON makeGlobeIcon() {
    return drawIcon([](HDC dc, int size) {
        disc(dc, size, RGB(30, 110, 200));
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(210, 230, 255));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Ellipse(dc, size * 5 / 16, 1, size - size * 5 / 16, size - 1);
        MoveToEx(dc, 1, size / 2, nullptr);
        LineTo(dc, size - 1, size / 2);
        MoveToEx(dc, size / 2, 1, nullptr);
        LineTo(dc, size / 2, size - 1);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    });
}

} // namespace mendkit
