// ControlGallery: one window showing the custom controls side by side, for
// looking at them (screenshots). Not shipped.
#include "tests/controls/gallery/gallery.h"

#include <commctrl.h>

#include <string>

#include "controls/themedbutton.h"

using controls::ThemedButton;

namespace {

HFONT labelFont() {
    static HFONT font = [] {
        NONCLIENTMETRICSA ncm{};
        ncm.cbSize = sizeof ncm;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
        return CreateFontIndirectA(&ncm.lfMessageFont);
    }();
    return font;
}

HFONT boldFont() {
    static HFONT font = [] {
        NONCLIENTMETRICSA ncm{};
        ncm.cbSize = sizeof ncm;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
        ncm.lfMessageFont.lfWeight = FW_BOLD;
        return CreateFontIndirectA(&ncm.lfMessageFont);
    }();
    return font;
}

void label(HWND parent, const std::string& text, int x, int y, int w, int h, bool bold = false,
           DWORD align = SS_LEFT) {
    HWND s = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | align, x, y, w, h,
                             parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(s, WM_SETFONT, reinterpret_cast<WPARAM>(bold ? boldFont() : labelFont()), FALSE);
}

HICON galleryIcon(int size) {
    return static_cast<HICON>(LoadImageA(nullptr, MAKEINTRESOURCEA(32516) /* information */,
                                         IMAGE_ICON, size, size, LR_SHARED));
}

const char* styleName(int style) {
    static const char* names[] = {"0 classic",        "1 thin 3-D",       "2 flat hot-track",
                                  "3 highlight",      "4 flat highlight", "5 rounded",
                                  "6 visual style",   "7 glossy pill",    "8 soft rounded",
                                  "9 two-tone glass", "10 colour scheme"};
    return names[style];
}

LRESULT CALLBACK galleryProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int galleryAddButtons(HWND parent, int x, int y) {
    const int labelW = 110, cellW = 124, cellH = 26, rowH = 31;
    label(parent, "ThemedButton: every style in every state", x, y, 500, 18, true);
    y += 22;
    static const char* columns[] = {"At rest", "Hovered", "Pressed", "Disabled", "Toggle, pressed"};
    for (int c = 0; c < 5; ++c)
        label(parent, columns[c], x + labelW + c * (cellW + 6), y, cellW, 16, false, SS_CENTER);
    y += 18;
    HICON icon = galleryIcon(16);
    for (int style = 0; style <= 10; ++style) {
        int rowY = y + style * rowH;
        label(parent, styleName(style), x, rowY + 6, labelW - 6, 16);
        for (int c = 0; c < 5; ++c) {
            std::string name = "Style" + std::to_string(style) + "_" + std::to_string(c);
            ThemedButton* b = ThemedButton::create(parent, name, x + labelW + c * (cellW + 6), rowY,
                                                   cellW, cellH);
            if (!b)
                continue;
            b->setStyle(style);
            b->setCaption("Style " + std::to_string(style));
            b->setIcon(icon);
            b->setToolTipText("Style " + std::to_string(style) + ", " + columns[c]);
            switch (c) {
            case 1:
                b->forceState(ThemedButton::StateHot);
                break;
            case 2:
                b->forceState(ThemedButton::StatePressed);
                break;
            case 3:
                b->setEnabled(false);
                break;
            case 4:
                b->setButtonType(1);
                b->setValue(true);
                break;
            default:
                break;
            }
        }
    }
    int gridBottom = y + 11 * rowH;

    // Right-hand column: icon and caption placement, colours, focus.
    int rx = x + labelW + 5 * (cellW + 6) + 24;
    int ry = y - 40;
    label(parent, "Icon placement (IconAlign 0-4, 32 px)", rx, ry, 400, 18, true);
    ry += 22;
    static const char* iconNames[] = {"Centre", "Left", "Right", "Top", "Bottom"};
    HICON big = galleryIcon(32);
    for (int a = 0; a < 5; ++a) {
        ThemedButton* b = ThemedButton::create(parent, iconNames[a], rx + a * 94, ry, 88, 78);
        b->setStyle(4);
        b->setIconSize(32);
        b->setIcon(big);
        b->setIconAlign(a);
        // The caption goes where the icon is not (a centred icon lies under a
        // centred caption).
        b->setCaptionAlign(a == 0 || a == 3 ? 4 : (a == 4 ? 3 : 0));
    }
    ry += 86;
    label(parent, "Caption placement (CaptionAlign 0-4), word-wrapped", rx, ry, 400, 18, true);
    ry += 22;
    static const char* captionNames[] = {"Centred caption that wraps", "Left caption that wraps",
                                         "Right caption that wraps", "Top caption that wraps",
                                         "Bottom caption that wraps"};
    for (int a = 0; a < 5; ++a) {
        ThemedButton* b = ThemedButton::create(parent, "Caption", rx + a * 94, ry, 88, 66);
        b->setStyle(1);
        b->setCaption(captionNames[a]);
        b->setCaptionAlign(a);
    }
    ry += 76;
    label(parent, "Colours, focus, keyboard and cursor", rx, ry, 400, 18, true);
    ry += 22;
    {
        // The program's usual look: flat highlight, dark grey caption.
        ThemedButton* b = ThemedButton::create(parent, "Usual", rx, ry, 150, 30);
        b->setStyle(4);
        b->setUseCustomColors(true);
        b->setFontColor(controls::rgb(64, 64, 64));
        b->setFontHighlightColor(controls::rgb(64, 64, 64));
        b->setCaption("&Direct Download");
        b->setShowFocus(true);
        b->forceFocus(true);
        b->setToolTipTitle("Direct Download");
        b->setToolTipIcon(1);
        b->setToolTipText("Hands the link to the download dialog");

        ThemedButton* f = ThemedButton::create(parent, "Feedback", rx + 158, ry, 150, 30);
        f->setStyle(2);
        f->setUseCustomColors(true);
        f->setBackColor(controls::rgb(0, 102, 204));
        f->setHighlightColor(controls::rgb(0, 102, 204));
        f->setFontColor(controls::rgb(255, 255, 255));
        f->setFontHighlightColor(controls::rgb(255, 255, 255));
        f->setMousePointer(ThemedButton::kHandPointer);
        f->setCaption("Feedback (hand cursor)");

        ThemedButton* g = ThemedButton::create(parent, "Restart", rx + 316, ry, 150, 30);
        g->setStyle(4);
        g->setUseCustomColors(true);
        g->setFontColor(controls::rgb(0, 128, 0));
        g->setFontHighlightColor(controls::rgb(0, 128, 0));
        g->setCaption("Restart Now!");
    }
    ry += 38;
    {
        ThemedButton* t = ThemedButton::create(parent, "Toggle", rx, ry, 150, 30);
        t->setStyle(3);
        t->setButtonType(1);
        t->setCaption("Toggle (click me)");
        ThemedButton* c = ThemedButton::create(parent, "Custom5", rx + 158, ry, 150, 30);
        c->setStyle(5);
        c->setUseCustomColors(true);
        c->setBackColor(controls::rgb(220, 235, 220));
        c->setHighlightColor(controls::rgb(40, 140, 60));
        c->setCaption("Style 5, custom colours");
        ThemedButton* r = ThemedButton::create(parent, "Rtl", rx + 316, ry, 150, 30);
        r->setStyle(8);
        r->setCaption("Six, no rounded clip");
        r->setStyle(6);
        r->setiNonThemeStyle(8);
        r->setRoundedBordersByTheme(false);
    }
    ry += 38;
    int rightBottom = ry;
    return std::max(gridBottom, rightBottom) - (y - 40);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = galleryProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "ControlGallery";
    RegisterClassExA(&wc);
    HWND main = CreateWindowExA(0, "ControlGallery", "Control gallery",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 1280, 900, nullptr,
                                nullptr, instance, nullptr);
    int used = galleryAddButtons(main, 8, 8);
    galleryAddBars(main, 8, 8 + used + 8);
    ShowWindow(main, show);
    UpdateWindow(main);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(main, &m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
    return 0;
}
