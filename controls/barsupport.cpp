#include "controls/barsupport.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace controls {

HFONT createFont(const FontDesc& d) {
    if (d.face.empty())
        return nullptr;
    LOGFONTA lf{};
    lf.lfHeight = d.height;
    lf.lfWeight = d.weight;
    lf.lfItalic = d.italic;
    lf.lfUnderline = d.underline;
    lf.lfStrikeOut = d.strikeOut;
    lf.lfCharSet = static_cast<BYTE>(d.charSet);
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, d.face.c_str(), LF_FACESIZE);
    return CreateFontIndirectA(&lf);
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

HFONT hostFont(HWND parent) {
    HFONT f = parent ? reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0)) : nullptr;
    return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

} // namespace controls
