#include "controls/barsupport.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace controls {

HINSTANCE moduleInstance() {
    HMODULE m = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&moduleInstance), &m);
    return m;
}

bool registerBarClass(const char* className, WNDPROC proc) {
    // The tooltips need the common controls' window classes.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = moduleInstance();
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void destroyControlWindow(HWND hwnd, const void* control) {
    if (!hwnd)
        return;
    detachObject(hwnd, control);
    DestroyWindow(hwnd);
}

LRESULT endControlWindow(HWND& hwnd, const void* control, UINT msg, WPARAM wParam, LPARAM lParam) {
    detachObject(hwnd, control);
    HWND h = hwnd;
    hwnd = nullptr;
    return DefWindowProcA(h, msg, wParam, lParam);
}

LOGFONTA logFont(const FontDesc& d) {
    LOGFONTA lf{};
    lf.lfHeight = d.height;
    lf.lfWeight = d.weight;
    lf.lfItalic = d.italic;
    lf.lfUnderline = d.underline;
    lf.lfStrikeOut = d.strikeOut;
    lf.lfCharSet = static_cast<BYTE>(d.charSet);
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, d.face.c_str(), LF_FACESIZE);
    return lf;
}

HFONT createFont(const FontDesc& d) {
    if (d.face.empty())
        return nullptr;
    const LOGFONTA lf = logFont(d);
    return CreateFontIndirectA(&lf);
}

void BarFont::set(const FontDesc& desc) {
    handle_.reset(createFont(desc));
}

HFONT BarFont::orHostFont(HWND parent) const {
    return handle_ ? handle_.get() : hostFont(parent);
}

FontDesc readFontProperty(const PropertyBag& bag) {
    if (auto f = bag.get("Font"))
        if (auto d = decodeFont(*f))
            return *d;
    return FontDesc{};
}

void writeFontProperty(PropertyBag& bag, const FontDesc& font) {
    if (font.face.empty())
        bag.remove("Font");
    else
        bag.set("Font", encodeFont(font));
}

int mouseButtons(WPARAM w) {
    int b = 0;
    if (w & MK_LBUTTON)
        b |= 1;
    if (w & MK_RBUTTON)
        b |= 2;
    if (w & MK_MBUTTON)
        b |= 4;
    return b;
}

int messageButton(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return 1;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return 2;
    default:
        return 4;
    }
}

bool trackMouseEventAvailable() {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (user32 && GetProcAddress(user32, "TrackMouseEvent"))
        return true;
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    return comctl && GetProcAddress(comctl, "_TrackMouseEvent");
}

int shiftState() {
    int s = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        s |= 1;
    if (GetKeyState(VK_CONTROL) < 0)
        s |= 2;
    if (GetKeyState(VK_MENU) < 0)
        s |= 4;
    return s;
}

FontDesc describeFont(HFONT font) {
    FontDesc d;
    LOGFONTA lf{};
    if (font && GetObjectA(font, sizeof lf, &lf)) {
        d.face = lf.lfFaceName;
        d.height = lf.lfHeight;
        d.weight = lf.lfWeight;
        d.italic = lf.lfItalic != 0;
        d.underline = lf.lfUnderline != 0;
        d.strikeOut = lf.lfStrikeOut != 0;
        d.charSet = lf.lfCharSet;
    }
    return d;
}

bool trackMouseEnter(HWND hwnd, bool& hover) {
    if (hover)
        return false;
    hover = true;
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
    TrackMouseEvent(&tme);
    return true;
}

HFONT hostFont(HWND parent) {
    HFONT f = parent ? reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0)) : nullptr;
    return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

} // namespace controls
