#include "ui/pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace ui {

namespace {

// Glyphs are drawn four times larger in black and white and averaged down,
// which gives each layer soft edges; layers are laid over each other.
constexpr int kSuper = 4;

// A drawing surface in design units 0..100 on a side.
struct Pen {
    HDC dc;
    double s; // pixels per unit at the large size
    int p(double v) const { return static_cast<int>(std::lround(v * s)); }

    void ellipse(double l, double t, double r, double b) const {
        Ellipse(dc, p(l), p(t), p(r), p(b));
    }
    void rect(double l, double t, double r, double b) const {
        Rectangle(dc, p(l), p(t), p(r), p(b));
    }
    void round(double l, double t, double r, double b, double c) const {
        RoundRect(dc, p(l), p(t), p(r), p(b), p(c), p(c));
    }
    void poly(std::initializer_list<POINT> pts) const {
        std::vector<POINT> v;
        for (POINT q : pts)
            v.push_back({p(q.x), p(q.y)});
        Polygon(dc, v.data(), static_cast<int>(v.size()));
    }
    // A stroke of `width` units with round ends.
    void line(double x0, double y0, double x1, double y1, double width) const {
        withPen(width, [&] {
            MoveToEx(dc, p(x0), p(y0), nullptr);
            LineTo(dc, p(x1), p(y1));
        });
    }
    // An arc of the circle around (cx, cy), from angle a0 to a1 (degrees,
    // counter-clockwise from three o'clock).
    void arc(double cx, double cy, double r, double a0, double a1, double width) const {
        withPen(width, [&] {
            const double k = 3.14159265358979 / 180;
            SetArcDirection(dc, AD_COUNTERCLOCKWISE);
            Arc(dc, p(cx - r), p(cy - r), p(cx + r), p(cy + r), p(cx + r * std::cos(a0 * k)),
                p(cy - r * std::sin(a0 * k)), p(cx + r * std::cos(a1 * k)),
                p(cy - r * std::sin(a1 * k)));
        });
    }
    void text(const char* t, double cx, double cy, double height, bool serif = false) const {
        platform::Font f(CreateFontA(-p(height), 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0,
                                     ANTIALIASED_QUALITY, 0, serif ? "Georgia" : "Tahoma"));
        platform::Selected keep(dc, f.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        SetTextAlign(dc, TA_CENTER | TA_BASELINE);
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        TextOutA(dc, p(cx), p(cy) + (tm.tmAscent - tm.tmInternalLeading) / 2, t,
                 static_cast<int>(strlen(t)));
    }
    void withPen(double width, const std::function<void()>& f) const {
        LOGBRUSH lb{BS_SOLID, RGB(255, 255, 255), 0};
        platform::Pen pen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                                       std::max(1, p(width)), &lb, 0, nullptr));
        platform::Selected keep(dc, pen.get());
        f();
    }
};

using Shape = std::function<void(const Pen&)>;

uint32_t channel(double v) {
    return static_cast<uint32_t>(std::clamp(v, 0.0, 255.0) + 0.5);
}

// Straight (not premultiplied) colour with alpha, per pixel.
struct Canvas {
    int n;
    Surface& surface;
    std::vector<double> r, g, b, a;
    Canvas(int size, Surface& s) : n(size), surface(s), r(n * n), g(n * n), b(n * n), a(n * n) {}

    std::vector<double> coverage(const Shape& shape) const {
        const int big = n * kSuper;
        std::vector<double> out(n * n);
        HDC dc = surface.clear(big);
        if (!dc)
            return out;
        shape(Pen{dc, big / 100.0});
        GdiFlush();
        const auto* px = static_cast<const uint32_t*>(surface.bits());
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                int sum = 0;
                for (int j = 0; j < kSuper; ++j)
                    for (int i = 0; i < kSuper; ++i)
                        sum += px[(y * kSuper + j) * big + x * kSuper + i] & 0xFF;
                out[y * n + x] = sum / (255.0 * kSuper * kSuper);
            }
        return out;
    }
    // Lays a shape of one colour over what is there.
    void fill(COLORREF c, const Shape& shape) {
        const auto cov = coverage(shape);
        for (int i = 0; i < n * n; ++i) {
            const double sa = cov[i], da = a[i], oa = sa + da * (1 - sa);
            if (oa <= 0)
                continue;
            r[i] = (GetRValue(c) * sa + r[i] * da * (1 - sa)) / oa;
            g[i] = (GetGValue(c) * sa + g[i] * da * (1 - sa)) / oa;
            b[i] = (GetBValue(c) * sa + b[i] * da * (1 - sa)) / oa;
            a[i] = oa;
        }
    }
    // Cuts a shape out of what is there.
    void cut(const Shape& shape) {
        const auto cov = coverage(shape);
        for (int i = 0; i < n * n; ++i)
            a[i] *= 1 - cov[i];
    }

    // The pixels as premultiplied 32-bit ARGB, top-down (DIB order).
    void argb(uint32_t* px) const {
        for (int i = 0; i < n * n; ++i) {
            px[i] = channel(a[i] * 255) << 24 | channel(r[i] * a[i]) << 16 |
                    channel(g[i] * a[i]) << 8 | channel(b[i] * a[i]);
        }
    }

    HBITMAP bitmap() const {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), n, -n, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bmp && bits)
            argb(static_cast<uint32_t*>(bits));
        return bmp;
    }

    HICON icon() const {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), n, -n, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        platform::Bitmap colour(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!colour || !bits)
            return nullptr;
        auto* px = static_cast<uint32_t*>(bits);
        for (int i = 0; i < n * n; ++i) {
            px[i] = channel(a[i] * 255) << 24 | channel(r[i]) << 16 | channel(g[i]) << 8 |
                    channel(b[i]);
        }
        std::vector<uint8_t> zeros(((n + 15) / 16) * 2 * n, 0);
        platform::Bitmap mask(CreateBitmap(n, n, 1, 1, zeros.data()));
        // The icon takes copies of both bitmaps.
        ICONINFO ii{TRUE, 0, 0, mask.get(), colour.get()};
        return CreateIconIndirect(&ii);
    }
};

void house(Canvas& c, COLORREF body, COLORREF door) {
    c.fill(body, [](const Pen& p) {
        p.poly({{50, 8}, {94, 48}, {82, 48}, {82, 92}, {18, 92}, {18, 48}, {6, 48}});
    });
    c.fill(door, [](const Pen& p) { p.rect(41, 62, 59, 92); });
}

void appsGrid(Canvas& c, COLORREF a, COLORREF b) {
    c.fill(a, [](const Pen& p) {
        p.round(8, 8, 46, 46, 12);
        p.round(54, 54, 92, 92, 12);
    });
    c.fill(b, [](const Pen& p) {
        p.round(54, 8, 92, 46, 12);
        p.round(8, 54, 46, 92, 12);
    });
}

void stick(Canvas& c, COLORREF body, COLORREF metal) {
    c.fill(metal, [](const Pen& p) { p.rect(36, 6, 64, 32); });
    c.fill(body, [](const Pen& p) { p.round(26, 28, 74, 94, 14); });
    c.cut([](const Pen& p) {
        p.rect(42, 13, 48, 21);
        p.rect(52, 13, 58, 21);
    });
}

void leaf(Canvas& c, COLORREF colour) {
    c.fill(colour, [](const Pen& p) {
        p.poly({{88, 10},
                {70, 12},
                {44, 22},
                {24, 42},
                {16, 64},
                {20, 78},
                {34, 82},
                {56, 76},
                {76, 56},
                {86, 32}});
        p.line(20, 78, 8, 92, 6);
    });
    c.cut([](const Pen& p) { p.line(26, 72, 74, 24, 4); });
}

void gear(Canvas& c, COLORREF colour) {
    c.fill(colour, [](const Pen& p) {
        for (int i = 0; i < 8; ++i) {
            const double k = i * 3.14159265358979 / 4;
            p.line(50 + 30 * std::cos(k), 50 + 30 * std::sin(k), 50 + 42 * std::cos(k),
                   50 + 42 * std::sin(k), 15);
        }
        p.ellipse(18, 18, 82, 82);
    });
    c.cut([](const Pen& p) { p.ellipse(37, 37, 63, 63); });
}

void circleArrows(Canvas& c, COLORREF colour, double width) {
    c.fill(colour, [width](const Pen& p) {
        p.arc(50, 50, 32, 20, 160, width);
        p.arc(50, 50, 32, 200, 340, width);
        p.poly({{80, 48}, {96, 30}, {66, 26}});
        p.poly({{20, 52}, {4, 70}, {34, 74}});
    });
}

void roundBadge(Canvas& c, COLORREF colour, const char* letter, double height, bool serif,
                bool square = false) {
    c.fill(colour, [square](const Pen& p) {
        if (square)
            p.round(6, 6, 94, 94, 24);
        else
            p.ellipse(4, 4, 96, 96);
    });
    c.cut([=](const Pen& p) { p.text(letter, 50, 52, height, serif); });
}

void power(Canvas& c, COLORREF colour) {
    c.fill(colour, [](const Pen& p) {
        p.arc(50, 54, 34, 125, 415, 11);
        p.line(50, 10, 50, 46, 11);
    });
}

void windowsPanes(Canvas& c) {
    const COLORREF colours[] = {RGB(242, 80, 34), RGB(127, 186, 0), RGB(0, 164, 239),
                                RGB(255, 185, 0)};
    const double at[4][2] = {{8, 8}, {53, 8}, {8, 53}, {53, 53}};
    for (int i = 0; i < 4; ++i) {
        const double x = at[i][0], y = at[i][1];
        c.fill(colours[i], [x, y](const Pen& p) { p.rect(x, y, x + 39, y + 39); });
    }
}

void star(Canvas& c, COLORREF colour) {
    c.fill(colour, [](const Pen& p) {
        std::vector<POINT> v;
        for (int i = 0; i < 10; ++i) {
            const double k = -3.14159265358979 / 2 + i * 3.14159265358979 / 5;
            const double r = i % 2 ? 19 : 46;
            v.push_back(
                {static_cast<LONG>(50 + r * std::cos(k)), static_cast<LONG>(54 + r * std::sin(k))});
        }
        std::vector<POINT> big;
        for (POINT q : v)
            big.push_back({p.p(q.x), p.p(q.y)});
        Polygon(p.dc, big.data(), static_cast<int>(big.size()));
    });
}

void downloadList(Canvas& c, COLORREF lines, COLORREF arrow) {
    c.fill(lines, [](const Pen& p) {
        for (int y : {14, 34, 54})
            p.line(10, y, 46, y, 9);
        p.line(10, 86, 90, 86, 9);
    });
    c.fill(arrow, [](const Pen& p) {
        p.rect(64, 8, 80, 48);
        p.poly({{52, 46}, {92, 46}, {72, 72}});
    });
}

void document(Canvas& c, COLORREF paper, COLORREF ink) {
    c.fill(paper, [](const Pen& p) { p.poly({{18, 4}, {62, 4}, {84, 26}, {84, 96}, {18, 96}}); });
    c.cut([](const Pen& p) { p.poly({{60, 4}, {84, 28}, {60, 28}}); });
    c.fill(ink, [](const Pen& p) {
        for (int y : {44, 60, 76})
            p.line(30, y, 72, y, 6);
    });
}

void envelope(Canvas& c, COLORREF colour) {
    c.fill(colour, [](const Pen& p) { p.round(6, 20, 94, 82, 8); });
    c.cut([](const Pen& p) {
        p.line(12, 28, 50, 56, 6);
        p.line(50, 56, 88, 28, 6);
    });
}

void draw(Canvas& c, Picture picture, bool light);

} // namespace

HDC Surface::clear(int side) {
    if (side != side_) {
        penIn_.reset();
        brushIn_.reset();
        bitmapIn_.reset();
        bitmap_.reset();
        bits_ = nullptr;
        side_ = 0;
        if (!dc_)
            dc_ = platform::MemoryDC(nullptr);
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        if (dc_)
            bitmap_.reset(CreateDIBSection(dc_.get(), &bi, DIB_RGB_COLORS, &bits_, nullptr, 0));
        if (!bitmap_ || !bits_) {
            bitmap_.reset();
            bits_ = nullptr;
            return nullptr;
        }
        bitmapIn_.emplace(dc_.get(), bitmap_.get());
        brushIn_.emplace(dc_.get(), GetStockObject(WHITE_BRUSH));
        penIn_.emplace(dc_.get(), GetStockObject(NULL_PEN));
        side_ = side;
    }
    GdiFlush();
    std::memset(bits_, 0, static_cast<size_t>(side) * side * 4);
    return dc_.get();
}

HICON makePicture(Picture picture, int size, bool light) {
    Surface surface;
    return makePicture(picture, size, light, surface);
}

HICON makePicture(Picture picture, int size, bool light, Surface& surface) {
    Canvas c(std::max(size, 8), surface);
    draw(c, picture, light);
    return c.icon();
}

HBITMAP makePictureBitmap(Picture picture, int size, bool light, Surface& surface) {
    Canvas c(std::max(size, 8), surface);
    draw(c, picture, light);
    return c.bitmap();
}

namespace {

void draw(Canvas& c, Picture picture, bool light) {
    const COLORREF white = RGB(255, 255, 255);
    auto pick = [light, white](COLORREF colour) { return light ? white : colour; };
    const COLORREF blue = RGB(0, 120, 215), dark = RGB(64, 64, 64);
    switch (picture) {
    case Picture::Home:
        house(c, pick(RGB(230, 120, 30)), light ? RGB(128, 128, 128) : dark);
        if (light)
            c.cut([](const Pen& p) { p.rect(41, 62, 59, 92); });
        break;
    case Picture::GetApps:
        appsGrid(c, pick(blue), pick(RGB(0, 178, 148)));
        break;
    case Picture::GetPortable:
        stick(c, pick(RGB(200, 60, 60)), pick(RGB(150, 150, 150)));
        break;
    case Picture::GetSlim:
        leaf(c, pick(RGB(60, 160, 60)));
        break;
    case Picture::Options:
        gear(c, pick(RGB(96, 96, 110)));
        break;
    case Picture::Update:
        circleArrows(c, pick(RGB(0, 150, 70)), 11);
        break;
    case Picture::About:
        roundBadge(c, pick(blue), "i", 62, true);
        break;
    case Picture::Exit:
        power(c, pick(RGB(200, 40, 40)));
        break;
    case Picture::StarterKit:
        windowsPanes(c);
        break;
    case Picture::Recommendations:
        star(c, pick(RGB(245, 170, 0)));
        break;
    case Picture::Help:
        roundBadge(c, pick(RGB(110, 70, 180)), "?", 66, false);
        break;
    case Picture::LinkManager:
        downloadList(c, pick(dark), pick(blue));
        break;
    case Picture::Snapshot:
        document(c, pick(RGB(90, 110, 140)), white);
        break;
    case Picture::Suggestion:
        envelope(c, pick(RGB(230, 120, 30)));
        break;
    case Picture::UpdateBadge:
        c.fill(RGB(0, 153, 51), [](const Pen& p) { p.ellipse(2, 2, 98, 98); });
        c.cut([](const Pen& p) {
            p.arc(50, 50, 26, 20, 160, 10);
            p.arc(50, 50, 26, 200, 340, 10);
            p.poly({{74, 48}, {88, 32}, {62, 28}});
            p.poly({{26, 52}, {12, 68}, {38, 72}});
        });
        break;
    case Picture::Twitter:
        roundBadge(c, RGB(29, 161, 242), "t", 70, false);
        break;
    case Picture::Facebook:
        roundBadge(c, RGB(59, 89, 152), "f", 78, false, true);
        break;
    }
}

} // namespace

HICON PictureSet::add(Picture picture, int size, bool light) {
    HICON icon = makePicture(picture, size, light, surface_);
    if (icon)
        icons_.emplace_back(icon);
    return icon;
}

HBITMAP PictureSet::addBitmap(Picture picture, int size, bool light) {
    HBITMAP bitmap = makePictureBitmap(picture, size, light, surface_);
    if (bitmap)
        bitmaps_.emplace_back(bitmap);
    return bitmap;
}

void PictureSet::clear() {
    icons_.clear();
    bitmaps_.clear();
}

} // namespace ui
