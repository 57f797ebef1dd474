#include "controls/themedbutton.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "controls/accessible.h"
#include "controls/barsupport.h"
#include "controls/offscreen.h"
#include "platform/pure/link_scheme.h"
#include "platform/services.h"

namespace controls {

namespace {

constexpr UINT kHookedMessages[] = {WM_MOUSEMOVE, WM_MOUSELEAVE, WM_THEMECHANGED,
                                    WM_SYSCOLORCHANGE};

Colour sysColour(int n) {
    return static_cast<Colour>(GetSysColor(n));
}

// The one tool of a button's tooltip: the button's window, id 1.
TOOLINFOA toolInfoFor(HWND button) {
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = button;
    ti.uId = 1;
    return ti;
}

// The system draws visual styles for this program's controls.
bool visualStyleOn() {
    return IsThemeActive() && IsAppThemed() && (GetThemeAppProperties() & STAP_ALLOW_CONTROLS) != 0;
}

// The picture's premultiplied pixels at size x size in `out`: an icon's
// worked out from two renderings (on black and on white), a 32-bit
// premultiplied bitmap's blended onto nothing.
bool premultiplied(HICON icon, HBITMAP bitmap, int size, Surface& out) {
    const RECT r{0, 0, size, size};
    if (bitmap) {
        std::fill(out.pixels(), out.pixels() + size * size, 0u);
        platform::MemoryDC src(out.dc());
        platform::Selected keep(src.get(), bitmap);
        BITMAP bm{};
        if (!GetObjectA(bitmap, sizeof bm, &bm))
            return false;
        AlphaBlend(out.dc(), 0, 0, size, size, src.get(), 0, 0, bm.bmWidth, std::abs(bm.bmHeight),
                   {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
        GdiFlush();
        return true;
    }
    Surface onBlack(size, size), onWhite(size, size);
    if (!onBlack.ok() || !onWhite.ok())
        return false;
    fillRect(onBlack.dc(), r, RGB(0, 0, 0));
    fillRect(onWhite.dc(), r, RGB(255, 255, 255));
    DrawIconEx(onBlack.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    DrawIconEx(onWhite.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    const std::uint32_t* b = onBlack.pixels();
    const std::uint32_t* w = onWhite.pixels();
    std::uint32_t* o = out.pixels();
    for (int i = 0; i < size * size; ++i) {
        int bb = b[i] & 0xFF, bg = (b[i] >> 8) & 0xFF, br = (b[i] >> 16) & 0xFF;
        int wb = w[i] & 0xFF, wg = (w[i] >> 8) & 0xFF, wr = (w[i] >> 16) & 0xFF;
        // Over black a pixel shows alpha x colour, over white that plus 255 - alpha.
        int alpha = 255 - std::clamp(((wr - br) + (wg - bg) + (wb - bb)) / 3, 0, 255);
        // Premultiplied colour is what shows over black.
        o[i] = alpha == 0 ? 0 : (static_cast<std::uint32_t>(alpha) << 24) | (b[i] & 0xFFFFFF);
    }
    return true;
}

// Draws the picture (an icon, or a 32-bit premultiplied bitmap) at (x, y) in
// size x size with its transparency, optionally in grey and with one colour
// treated as transparent.
void drawPictureEffect(HDC dc, HICON icon, HBITMAP bitmap, int x, int y, int size, bool grey,
                       bool useMask, COLORREF mask) {
    if ((!icon && !bitmap) || size <= 0)
        return;
    Surface out(size, size);
    if (!out.ok() || !premultiplied(icon, bitmap, size, out))
        return;
    std::uint32_t* o = out.pixels();
    const std::uint32_t maskDib = swapRedBlue(static_cast<std::uint32_t>(mask) & 0xFFFFFF);
    for (int i = 0; i < size * size; ++i) {
        const int alpha = static_cast<int>(o[i] >> 24);
        if (alpha == 0)
            continue;
        if (useMask && alpha == 255 && (o[i] & 0xFFFFFF) == maskDib) {
            o[i] = 0;
            continue;
        }
        if (grey) {
            const int r = (o[i] >> 16) & 0xFF, g = (o[i] >> 8) & 0xFF, bl = o[i] & 0xFF;
            int l = (r * 30 + g * 59 + bl * 11) / 100;
            // Lift the grey so a disabled picture looks faded rather than dark.
            l = std::min(l + (alpha - l) / 3, alpha);
            o[i] = (static_cast<std::uint32_t>(alpha) << 24) | (l << 16) | (l << 8) | l;
        }
    }
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, size, size, out.dc(), 0, 0, size, size, bf);
}

void roundRectFrame(HDC dc, const RECT& r, int radius, COLORREF c) {
    platform::Pen pen(CreatePen(PS_SOLID, 1, c));
    platform::Selected keepPen(dc, pen.get());
    platform::Selected keepBrush(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, r.left, r.top, r.right, r.bottom, radius * 2, radius * 2);
}

// Gradient inside a rounded outline.
void roundGradient(HDC dc, const RECT& r, int radius, Colour top, Colour bottom) {
    platform::Region rgn(
        CreateRoundRectRgn(r.left, r.top, r.right + 1, r.bottom + 1, radius * 2, radius * 2));
    SelectClipRgn(dc, rgn.get());
    verticalGradient(dc, r, top, bottom);
    SelectClipRgn(dc, nullptr);
}

RECT deflated(RECT r, int d) {
    InflateRect(&r, -d, -d);
    return r;
}

LPCSTR cursorFor(int pointer) {
    switch (pointer) {
    case 1:
        return IDC_ARROW;
    case 2:
        return IDC_CROSS;
    case 3:
        return IDC_IBEAM;
    case 5:
    case 15:
        return IDC_SIZEALL;
    case 6:
        return IDC_SIZENESW;
    case 7:
        return IDC_SIZENS;
    case 8:
        return IDC_SIZENWSE;
    case 9:
        return IDC_SIZEWE;
    case 10:
        return IDC_UPARROW;
    case 11:
        return IDC_WAIT;
    case 12:
        return IDC_NO;
    case 13:
        return IDC_APPSTARTING;
    case 14:
        return IDC_HELP;
    case ThemedButton::kHandPointer:
        return IDC_HAND;
    default:
        return nullptr;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Creation and lifetime

ThemedButton::ThemedButton(std::string name) : name_(std::move(name)), subclass_("ThemedButton") {}

ThemedButton::~ThemedButton() {
    subclass_.sc_ReleaseAll();
}

bool ThemedButton::registerClass() {
    static bool done = false;
    if (done)
        return true;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &ThemedButton::windowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    done = RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return done;
}

ThemedButton* ThemedButton::create(HWND parent, const std::string& name, int x, int y, int width,
                                   int height, int id, DWORD style) {
    if (!registerClass())
        return nullptr;
    auto* button = new ThemedButton(name);
    std::weak_ptr<bool> alive = button->alive_;
    // Clipped by its siblings: a page's body painted after a move must not
    // cover the button, nor the button its neighbours.
    HWND hwnd =
        CreateWindowExA(0, kClassName, name.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, x, y,
                        width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleA(nullptr), button);
    if (!hwnd) {
        // Once attached to a window, the failed creation's WM_NCDESTROY deleted it.
        if (!alive.expired())
            delete button;
        return nullptr;
    }
    int cx = width, cy = height;
    button->enforceMinimumSize(cx, cy);
    if (cx != width || cy != height)
        SetWindowPos(hwnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return button;
}

ThemedButton* ThemedButton::fromHandle(HWND hwnd) {
    char cls[32] = {};
    if (!hwnd || !GetClassNameA(hwnd, cls, sizeof cls) || lstrcmpiA(cls, kClassName) != 0)
        return nullptr;
    return objectOf<ThemedButton>(hwnd);
}

void ThemedButton::installHooks() {
    if (hooked_ || !trackMouseEventAvailable())
        return;
    HookCallback cb = [this](bool before, bool& handled, LRESULT& ret, HWND h, UINT m, WPARAM w,
                             LPARAM& l, LONG_PTR&) { hookProc(before, handled, ret, h, m, w, l); };
    if (!subclass_.sc_Subclass(hwnd_, 0, cb))
        return;
    hooked_ = true;
    for (UINT m : kHookedMessages)
        subclass_.sc_AddMessage(hwnd_, static_cast<long>(m), Subclasser::MSG_AFTER);
}

HFONT ThemedButton::hostFont() const {
    HWND parent = hwnd_ ? GetParent(hwnd_) : nullptr;
    HFONT f = parent ? reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0)) : nullptr;
    if (f)
        return f;
    static HFONT message = [] {
        NONCLIENTMETRICSA ncm{};
        ncm.cbSize = sizeof ncm;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
            return CreateFontIndirectA(&ncm.lfMessageFont);
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }();
    return message;
}

FontDesc ThemedButton::fontDesc(HFONT f) const {
    return describeFont(f);
}

void ThemedButton::setFontFromDesc(const FontDesc& d) {
    // Unlike the bars' fonts, an empty face still makes a font of its own.
    const LOGFONTA lf = logFont(d);
    if (HFONT f = CreateFontIndirectA(&lf))
        font_.reset(f);
}

void ThemedButton::enforceMinimumSize(int& cx, int& cy) const {
    // Neither side may be less than 300 twips.
    platform::ScreenDC screen;
    int dpiX = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
    int dpiY = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    cx = std::max(cx, MulDiv(300, dpiX, 1440));
    cy = std::max(cy, MulDiv(300, dpiY, 1440));
}

// ---------------------------------------------------------------------------
// Stored settings

void ThemedButton::ReadProperties(const PropertyBag& bag) {
    style_ = static_cast<int>(bag.readInt("Style", 3));
    SetWindowTextA(hwnd_, bag.readString("Caption", name_).c_str());
    iconSize_ = std::max(1, static_cast<int>(bag.readInt("IconSize", 16)));
    iconAlign_ = static_cast<int>(bag.readInt("IconAlign", AlignLeft));
    captionAlign_ = static_cast<int>(bag.readInt("CaptionAlign", AlignCentre));
    nonThemeStyle_ = static_cast<int>(bag.readInt("iNonThemeStyle", 5));
    showFocus_ = bag.readBool("ShowFocus", false);
    useCustomColors_ = bag.readBool("USeCustomColors", false);
    backColor_ = bag.readColour("BackColor", systemColour(SysButtonFace));
    highlightColor_ = bag.readColour("HighlightColor", systemColour(SysHighlight));
    fontColor_ = bag.readColour("FontColor", systemColour(SysButtonText));
    fontHighlightColor_ = bag.readColour("FontHighlightColor", systemColour(SysButtonText));
    std::string hostTip = getHostToolTipText ? getHostToolTipText() : std::string();
    toolTipText_ = bag.readString("ToolTipText", hostTip);
    toolTipTitle_ = bag.readString("ToolTipTitle", "");
    toolTipIcon_ = static_cast<int>(bag.readInt("ToolTipIcon", 0));
    toolTipType_ = static_cast<int>(bag.readInt("ToolTipType", 1));
    ttBackColor_ = bag.readColour("ttBackColor", systemColour(SysInfoBackground));
    ttForeColor_ = bag.readColour("ttForeColor", systemColour(SysInfoText));
    if (auto f = bag.get("Font"); f && decodeFont(*f))
        setFontFromDesc(*decodeFont(*f));
    buttonType_ = static_cast<int>(bag.readInt("ButtonType", 0));
    value_ = bag.readBool("Value", false);
    useMaskColor_ = bag.readBool("UseMaskColor", false);
    maskColor_ = bag.readColour("MaskColor", 12632256);
    mousePointer_ = static_cast<int>(bag.readInt("MousePointer", 0));
    roundedBorders_ = bag.readBool("RoundedBordersByTheme", true);
    rtlText_ = bag.readBool("bRTLText", false);
    setEnabled(bag.readBool("Enabled", true));
    installHooks();
    updateRegion();
    repaint();
}

void ThemedButton::WriteProperties(PropertyBag& bag) const {
    bag.writeInt("Style", style_, 3);
    bag.writeString("Caption", Caption(), name_);
    bag.writeInt("IconSize", iconSize_, 16);
    bag.writeInt("IconAlign", iconAlign_, AlignLeft);
    bag.writeInt("CaptionAlign", captionAlign_, AlignCentre);
    bag.writeInt("iNonThemeStyle", nonThemeStyle_, 5);
    bag.writeBool("Enabled", enabled_, true);
    bag.writeBool("ShowFocus", showFocus_, false);
    bag.writeBool("USeCustomColors", useCustomColors_, false);
    bag.writeColour("BackColor", backColor_, systemColour(SysButtonFace));
    bag.writeColour("HighlightColor", highlightColor_, systemColour(SysHighlight));
    bag.writeColour("FontColor", fontColor_, systemColour(SysButtonText));
    bag.writeColour("FontHighlightColor", fontHighlightColor_, systemColour(SysButtonText));
    std::string hostTip = getHostToolTipText ? getHostToolTipText() : std::string();
    bag.writeString("ToolTipText", toolTipText_, hostTip);
    bag.writeString("ToolTipTitle", toolTipTitle_, "");
    bag.writeInt("ToolTipIcon", toolTipIcon_, 0);
    bag.writeInt("ToolTipType", toolTipType_, 1);
    bag.writeColour("ttBackColor", ttBackColor_, systemColour(SysInfoBackground));
    bag.writeColour("ttForeColor", ttForeColor_, systemColour(SysInfoText));
    if (font_)
        bag.writeString("Font", encodeFont(fontDesc(font_.get())),
                        encodeFont(fontDesc(hostFont())));
    else
        bag.remove("Font");
    bag.writeInt("ButtonType", buttonType_, 0);
    bag.writeBool("Value", value_, false);
    bag.writeBool("UseMaskColor", useMaskColor_, false);
    bag.writeColour("MaskColor", maskColor_, 12632256);
    bag.writeInt("MousePointer", mousePointer_, 0);
    bag.writeBool("RoundedBordersByTheme", roundedBorders_, true);
    bag.writeBool("bRTLText", rtlText_, false);
}

// ---------------------------------------------------------------------------
// Property setters

void ThemedButton::setStyle(int v) {
    style_ = std::clamp(v, 0, 10);
    updateRegion();
    repaint();
}

std::string ThemedButton::Caption() const {
    int n = GetWindowTextLengthA(hwnd_);
    std::string s(static_cast<std::size_t>(std::max(n, 0)) + 1, '\0');
    n = GetWindowTextA(hwnd_, s.data(), static_cast<int>(s.size()));
    s.resize(static_cast<std::size_t>(std::max(n, 0)));
    return s;
}

void ThemedButton::setCaption(const std::string& v) {
    SetWindowTextA(hwnd_, v.c_str()); // WM_SETTEXT repaints
}

void ThemedButton::setIcon(HICON v) {
    picture_.reset();
    icon_.reset(v ? CopyIcon(v) : nullptr);
    repaint();
}

void ThemedButton::setPicture(HBITMAP v) {
    icon_.reset();
    picture_.reset(v ? static_cast<HBITMAP>(CopyImage(v, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))
                     : nullptr);
    repaint();
}

void ThemedButton::setIconSize(int v) {
    iconSize_ = std::max(1, v);
    repaint();
}
void ThemedButton::setIconAlign(int v) {
    iconAlign_ = v;
    repaint();
}
void ThemedButton::setCaptionAlign(int v) {
    captionAlign_ = v;
    repaint();
}
void ThemedButton::setiNonThemeStyle(int v) {
    nonThemeStyle_ = v;
    updateRegion();
    repaint();
}

void ThemedButton::setEnabled(bool v) {
    enabled_ = v;
    if (hwnd_ && (IsWindowEnabled(hwnd_) != FALSE) != v)
        EnableWindow(hwnd_, v); // WM_ENABLE follows
    if (!v) {
        destroyToolTip();
        state_ = StateNormal;
        spaceDown_ = false;
    }
    repaint();
}

void ThemedButton::setShowFocus(bool v) {
    showFocus_ = v;
    repaint();
}
void ThemedButton::setUseCustomColors(bool v) {
    useCustomColors_ = v;
    repaint();
}
void ThemedButton::setBackColor(Colour v) {
    backColor_ = v;
    repaint();
}
void ThemedButton::setHighlightColor(Colour v) {
    highlightColor_ = v;
    repaint();
}
void ThemedButton::setFontColor(Colour v) {
    fontColor_ = v;
    repaint();
}
void ThemedButton::setFontHighlightColor(Colour v) {
    fontHighlightColor_ = v;
    repaint();
}
void ThemedButton::setToolTipText(const std::string& v) {
    toolTipText_ = v;
    refreshToolTip();
    repaint();
}
void ThemedButton::setToolTipTitle(const std::string& v) {
    toolTipTitle_ = v;
    refreshToolTip();
    repaint();
}
void ThemedButton::setToolTipIcon(int v) {
    toolTipIcon_ = std::clamp(v, 0, 3);
    refreshToolTip();
    repaint();
}
void ThemedButton::setToolTipType(int v) {
    toolTipType_ = v;
    refreshToolTip();
    repaint();
}
void ThemedButton::setttBackColor(Colour v) {
    ttBackColor_ = v;
    refreshToolTip();
    repaint();
}
void ThemedButton::setttForeColor(Colour v) {
    ttForeColor_ = v;
    refreshToolTip();
    repaint();
}

void ThemedButton::setFont(HFONT v) {
    if (!v) {
        font_.reset();
    } else {
        setFontFromDesc(fontDesc(v));
    }
    repaint();
}

void ThemedButton::setButtonType(int v) {
    buttonType_ = v == 1 ? 1 : 0;
    repaint();
}
void ThemedButton::setValue(bool v) {
    value_ = v;
    repaint();
}
void ThemedButton::setUseMaskColor(bool v) {
    useMaskColor_ = v;
    repaint();
}
void ThemedButton::setMaskColor(Colour v) {
    maskColor_ = v;
    repaint();
}
void ThemedButton::setMousePointer(int v) {
    mousePointer_ = v;
    repaint();
}
void ThemedButton::setRoundedBordersByTheme(bool v) {
    roundedBorders_ = v;
    updateRegion();
    repaint();
}
void ThemedButton::setbRTLText(bool v) {
    rtlText_ = v;
    repaint();
}

// ---------------------------------------------------------------------------
// Methods

void ThemedButton::Refresh() {
    repaint();
}

std::string ThemedButton::aboutText() {
    return "ThemedButton\r\nVersion " + Version();
}

void ThemedButton::About() {
    MessageBoxA(hwnd_ ? GetParent(hwnd_) : nullptr, aboutText().c_str(), "About ThemedButton",
                MB_OK | MB_ICONINFORMATION);
}

bool ThemedButton::OpenLink(const std::string& link) {
    return OpenLink(link, platform::systemServices().shell);
}

bool ThemedButton::OpenLink(const std::string& link, platform::Shell& shell) {
    const platform::LinkCheck check = platform::checkLink(link);
    if (!check)
        return false;
    return shell.execute(nullptr, "open", check.target, "", "", SW_SHOWNORMAL) > 32;
}

void ThemedButton::PaintIconGrayscale(HDC dc, HICON icon, int x, int y, int size) {
    drawPictureEffect(dc, icon, nullptr, x, y, size, true, false, 0);
}

// ---------------------------------------------------------------------------
// Behaviour

int ThemedButton::drawState() const {
    if (!enabled_)
        return StateDisabled;
    if (buttonType_ == 1 && value_)
        return StatePressed;
    if (forcedState_ >= StateNormal && forcedState_ <= StateDisabled)
        return forcedState_;
    return state_;
}

void ThemedButton::forceState(int state) {
    forcedState_ = state;
    repaint();
}

void ThemedButton::forceFocus(bool on) {
    forcedFocus_ = on;
    repaint();
}

bool ThemedButton::focusCueShown() const {
    if (!hwnd_ || GetFocus() != hwnd_)
        return false;
    // The top window holds the cues' state for all of its controls.
    return !(SendMessageA(GetAncestor(hwnd_, GA_ROOT), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

void ThemedButton::showKeyboardCues(HWND top) {
    if (top && (SendMessageA(top, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
        SendMessageA(top, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void ThemedButton::raise(const std::function<void()>& handler) {
    if (!handler)
        return;
    std::function<void()> copy = handler; // the handler may replace itself
    copy();
}

void ThemedButton::trackLeave() {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
    TrackMouseEvent(&tme);
}

void ThemedButton::mouseEntered() {
    if (inside_ || !enabled_)
        return;
    inside_ = true;
    trackLeave();
    state_ = (GetCapture() == hwnd_ && lastButton_ == 1) ? StatePressed : StateHot;
    repaint();
    std::weak_ptr<bool> alive = alive_;
    raise(MouseEnter);
    if (alive.expired()) // the handler destroyed the button
        return;
    createToolTip();
}

void ThemedButton::mouseLeft() {
    if (!inside_)
        return;
    inside_ = false;
    state_ = StateNormal;
    destroyToolTip();
    repaint();
    if (enabled_)
        raise(MouseLeave);
}

void ThemedButton::buttonDown() {
    lastButton_ = 1;
    if (!enabled_)
        return;
    SetCapture(hwnd_);
    if (GetFocus() != hwnd_)
        SetFocus(hwnd_);
    state_ = StatePressed;
    repaint();
}

void ThemedButton::buttonUp(POINT pt) {
    const bool leftWasDown = lastButton_ == 1;
    lastButton_ = 0; // before releasing the capture, which reports the change
    if (GetCapture() == hwnd_)
        ReleaseCapture();
    if (!enabled_ || !leftWasDown)
        return;
    RECT rc;
    GetClientRect(hwnd_, &rc);
    bool over = PtInRect(&rc, pt) != FALSE;
    state_ = over ? StateHot : StateNormal;
    if (over) {
        trackLeave();
        if (buttonType_ == 1)
            value_ = !value_;
    }
    repaint();
    if (over)
        raise(Click);
}

void ThemedButton::performClick() {
    if (!enabled_)
        return;
    if (buttonType_ == 1)
        value_ = !value_;
    state_ = inside_ ? StateHot : StateNormal;
    repaint();
    raise(Click);
}

void ThemedButton::createToolTip() {
    destroyToolTip();
    if (!enabled_)
        return;
    std::string text = toolTipText_;
    if (getHostToolTipText && setHostToolTipText) {
        std::string host = getHostToolTipText();
        if (!host.empty()) {
            borrowedToolTip_ = host;
            borrowed_ = true;
            setHostToolTipText("");
            if (text.empty())
                text = host;
        }
    }
    if (text.empty() && toolTipTitle_.empty())
        return;
    DWORD style = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | (toolTipType_ == 1 ? TTS_BALLOON : 0);
    toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, style, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (!toolTip_)
        return;
    // Without a visual style the tooltip honours its own colours.
    SetWindowTheme(toolTip_, L"", L"");
    TOOLINFOA ti = toolInfoFor(hwnd_);
    ti.uFlags = TTF_SUBCLASS;
    GetClientRect(hwnd_, &ti.rect);
    ti.lpszText = text.empty() ? const_cast<char*>(" ") : text.data();
    SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageA(toolTip_, TTM_SETMAXTIPWIDTH, 0, 400);
    if (!toolTipTitle_.empty() || toolTipIcon_ != 0)
        SendMessageA(toolTip_, TTM_SETTITLEA, static_cast<WPARAM>(toolTipIcon_),
                     reinterpret_cast<LPARAM>(toolTipTitle_.c_str()));
    SendMessageA(toolTip_, TTM_SETTIPBKCOLOR, gdiColour(ttBackColor_), 0);
    SendMessageA(toolTip_, TTM_SETTIPTEXTCOLOR, gdiColour(ttForeColor_), 0);
    SendMessageA(toolTip_, TTM_ACTIVATE, TRUE, 0);
}

void ThemedButton::refreshToolTip() {
    // A tooltip on show takes the new settings at once.
    if (toolTip_)
        createToolTip();
}

void ThemedButton::destroyToolTip() {
    if (toolTip_) {
        TOOLINFOA ti = toolInfoFor(hwnd_);
        SendMessageA(toolTip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
        DestroyWindow(toolTip_);
        toolTip_ = nullptr;
    }
    if (borrowed_) {
        borrowed_ = false;
        if (setHostToolTipText)
            setHostToolTipText(borrowedToolTip_);
        borrowedToolTip_.clear();
    }
}

void ThemedButton::repaint() {
    // A button that cannot be seen is painted whole when it is shown: asking
    // for a paint now would only cost a trip to the window server (at
    // start-up, one for each of the many properties set).
    if (hwnd_ && IsWindowVisible(hwnd_))
        InvalidateRect(hwnd_, nullptr, FALSE);
}

bool ThemedButton::isRoundedStyle(int style) const {
    if (style == 6 && !visualStyleOn())
        style = nonThemeStyle_;
    return style == 5 || (style >= 7 && style <= 10);
}

void ThemedButton::updateRegion() {
    if (!hwnd_)
        return;
    RECT rc;
    GetClientRect(hwnd_, &rc);
    if (roundedBorders_ && isRoundedStyle(style_)) {
        int style = style_ == 6 ? nonThemeStyle_ : style_;
        int h = static_cast<int>(rc.bottom);
        int radius = style == 7 ? std::min(12, h / 2) : (style == 8 ? 6 : 3);
        SetWindowRgn(hwnd_,
                     CreateRoundRectRgn(0, 0, rc.right + 1, rc.bottom + 1, radius * 2, radius * 2),
                     TRUE);
        hasRegion_ = true;
    } else if (hasRegion_) {
        // Only a region set before needs taking away: a reset of none still
        // repaints the window and costs a round trip to the window server.
        SetWindowRgn(hwnd_, nullptr, TRUE);
        hasRegion_ = false;
    }
}

// ---------------------------------------------------------------------------
// Messages

LRESULT CALLBACK ThemedButton::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = objectOf<ThemedButton>(hwnd);
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        self = static_cast<ThemedButton*>(cs->lpCreateParams);
        if (!self) // made with CreateWindow directly: named by its text
            self = new ThemedButton(cs->lpszName ? cs->lpszName : "");
        self->hwnd_ = hwnd;
        attachObject(hwnd, self);
    }
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
        detachObject(hwnd, self);
        self->hwnd_ = nullptr;
        delete self;
        return r;
    }
    return self->handle(msg, wParam, lParam);
}

void ThemedButton::hookProc(bool before, bool&, LRESULT&, HWND, UINT msg, WPARAM, LPARAM& lParam) {
    if (before)
        return;
    switch (msg) {
    case WM_MOUSEMOVE: {
        POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT rc;
        GetClientRect(hwnd_, &rc);
        bool over = PtInRect(&rc, pt) != FALSE;
        if (GetCapture() == hwnd_ && lastButton_ == 1 && enabled_) {
            // Pressed and dragging: sunken only while over the button.
            int s = over ? StatePressed : StateNormal;
            if (s != state_) {
                state_ = s;
                repaint();
            }
        }
        if (over)
            mouseEntered();
        break;
    }
    case WM_MOUSELEAVE:
        // Also while the left button is held: coming back over the button
        // enters again and shows it pressed.
        mouseLeft();
        break;
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
        updateRegion();
        repaint();
        break;
    default:
        break;
    }
}

LRESULT ThemedButton::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return onCreate();
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return onPaint();
    case WM_PRINTCLIENT:
        render(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SIZE:
        return onSize();
    case WM_WINDOWPOSCHANGING:
        return onWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
    case WM_WINDOWPOSCHANGED:
        return onWindowPosChanged(msg, wParam, lParam);
    case WM_UPDATEUISTATE: // the focus cue follows the window's keyboard cues
    case WM_SETTEXT:
        return repaintAfterDefault(msg, wParam, lParam);
    case WM_ENABLE:
        return onEnable(wParam != 0);
    case WM_SETFONT:
        setFont(reinterpret_cast<HFONT>(wParam));
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_ ? font_.get() : hostFont());
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        buttonDown();
        return 0;
    case WM_LBUTTONUP:
        buttonUp({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    case WM_RBUTTONDOWN:
        lastButton_ = 2;
        return 0;
    case WM_MBUTTONDOWN:
        lastButton_ = 4;
        return 0;
    case WM_CAPTURECHANGED:
        return onCaptureChanged(reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
        return onSetCursor(msg, wParam, lParam);
    case WM_GETDLGCODE:
        return onGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case BM_CLICK: // the access key (through the dialog manager) or a host asking
        performClick();
        return 0;
    case WM_GETOBJECT:
        return onGetObject(msg, wParam, lParam);
    case BM_SETSTYLE: // the host making this its default button (or no longer)
        if (lParam)
            repaint();
        return 0;
    case BM_GETCHECK:
        return value_ ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        setValue(wParam == BST_CHECKED);
        return 0;
    case WM_KEYDOWN:
        return onKeyDown(msg, wParam, lParam);
    case WM_KEYUP:
        return onKeyUp(msg, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return onFocusChange(msg == WM_KILLFOCUS);
    case WM_DESTROY:
        return onDestroy();
    default:
        return DefWindowProcA(hwnd_, msg, wParam, lParam);
    }
}

LRESULT ThemedButton::onCreate() {
    installHooks();
    updateRegion();
    return 0;
}

LRESULT ThemedButton::onPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    render(dc);
    EndPaint(hwnd_, &ps);
    return 0;
}

LRESULT ThemedButton::onSize() {
    if (toolTip_) {
        TOOLINFOA ti = toolInfoFor(hwnd_);
        GetClientRect(hwnd_, &ti.rect);
        SendMessageA(toolTip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    updateRegion();
    repaint();
    return 0;
}

LRESULT ThemedButton::onWindowPosChanging(WINDOWPOS& wp) const {
    if (!(wp.flags & SWP_NOSIZE))
        enforceMinimumSize(wp.cx, wp.cy);
    return 0;
}

LRESULT ThemedButton::onWindowPosChanged(UINT msg, WPARAM wParam, LPARAM lParam) {
    // A button moved with its bits copied (or not redrawn at all) would
    // show whatever the new place held: the whole face is painted again.
    const auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
    if ((wp->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE) ||
        (wp->flags & SWP_SHOWWINDOW))
        repaint();
    return DefWindowProcA(hwnd_, msg, wParam, lParam); // on to WM_MOVE and WM_SIZE
}

LRESULT ThemedButton::repaintAfterDefault(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT r = DefWindowProcA(hwnd_, msg, wParam, lParam);
    repaint();
    return r;
}

LRESULT ThemedButton::onEnable(bool enabled) {
    if (enabled != enabled_)
        setEnabled(enabled);
    return 0;
}

LRESULT ThemedButton::onCaptureChanged(HWND gaining) {
    if (gaining != hwnd_ && lastButton_ == 1) {
        lastButton_ = 0;
        state_ = inside_ ? StateHot : StateNormal;
        repaint();
    }
    return 0;
}

LRESULT ThemedButton::onSetCursor(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(lParam) == HTCLIENT) {
        if (LPCSTR id = cursorFor(mousePointer_)) {
            SetCursor(LoadCursorA(nullptr, id));
            return TRUE;
        }
    }
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT ThemedButton::onGetDlgCode(const MSG* m) const {
    // Inside a dialog-message loop the dialog manager would take Enter (as
    // its default command) and Tab (moving the focus without the button
    // seeing it): the button asks for both, so that Enter clicks and Tab
    // raises MouseLeave before the button moves the focus on itself.
    LRESULT code = DLGC_BUTTON | DLGC_WANTARROWS;
    if (m && m->message == WM_KEYDOWN) {
        if (m->wParam == VK_RETURN)
            code |= DLGC_WANTALLKEYS;
        else if (m->wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0)
            code |= DLGC_WANTTAB;
    }
    return code;
}

LRESULT ThemedButton::onGetObject(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Accessibility tools see a push button named by the caption.
    if (LRESULT r = answerAsPushButton(hwnd_, wParam, lParam); r > 0)
        return r;
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT ThemedButton::onKeyDown(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (wParam) {
    case VK_SPACE:
        if (enabled_ && !(lParam & (1 << 30))) {
            spaceDown_ = true;
            state_ = StatePressed;
            repaint();
        }
        return 0;
    case VK_RETURN:
        performClick();
        return 0;
    case VK_RIGHT:
    case VK_DOWN:
    case VK_LEFT:
    case VK_UP: {
        bool previous = wParam == VK_LEFT || wParam == VK_UP;
        HWND top = GetAncestor(hwnd_, GA_ROOT);
        showKeyboardCues(top);
        if (HWND next = GetNextDlgTabItem(top, hwnd_, previous))
            SetFocus(next);
        return 0;
    }
    case VK_TAB: {
        if (enabled_)
            raise(MouseLeave);
        HWND top = GetAncestor(hwnd_, GA_ROOT);
        showKeyboardCues(top);
        bool previous = GetKeyState(VK_SHIFT) < 0;
        if (top && hwnd_)
            if (HWND next = GetNextDlgTabItem(top, hwnd_, previous)) {
                SetFocus(next);
                // As the dialog manager does: a text box reached by Tab
                // has its text selected.
                if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                    SendMessageA(next, EM_SETSEL, 0, -1);
            }
        return 0;
    }
    default:
        return DefWindowProcA(hwnd_, msg, wParam, lParam);
    }
}

LRESULT ThemedButton::onKeyUp(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (wParam != VK_SPACE || !spaceDown_)
        return DefWindowProcA(hwnd_, msg, wParam, lParam);
    spaceDown_ = false;
    if (!enabled_)
        return 0;
    if (buttonType_ == 1)
        value_ = !value_;
    state_ = StateNormal;
    repaint();
    raise(Click);
    return 0;
}

LRESULT ThemedButton::onFocusChange(bool losing) {
    if (losing && spaceDown_) {
        spaceDown_ = false;
        state_ = inside_ ? StateHot : StateNormal;
    }
    repaint();
    return 0;
}

LRESULT ThemedButton::onDestroy() {
    destroyToolTip();
    subclass_.sc_ReleaseAll();
    hooked_ = false;
    return 0;
}

// ---------------------------------------------------------------------------
// Painting

struct ThemedButton::Palette {
    Colour face;      // face colour (RGB)
    Colour highlight; // hover and pressed colour (RGB)
    Colour text;      // caption colour (RGB)
};

ThemedButton::Palette ThemedButton::palette(int state) const {
    auto tr = [](Colour c) { return TranslateColor(c, sysColour); };
    Palette p;
    if (state == StateDisabled) {
        p.face = sysColour(COLOR_BTNFACE);
        p.highlight = useCustomColors_ ? tr(highlightColor_) : sysColour(COLOR_HIGHLIGHT);
        p.text = sysColour(COLOR_GRAYTEXT);
        return p;
    }
    if (useCustomColors_) {
        p.face = tr(backColor_);
        p.highlight = tr(highlightColor_);
        p.text =
            (state == StateHot || state == StatePressed) ? tr(fontHighlightColor_) : tr(fontColor_);
    } else {
        p.face = sysColour(COLOR_BTNFACE);
        p.highlight = sysColour(COLOR_HIGHLIGHT);
        p.text = sysColour(COLOR_BTNTEXT);
    }
    return p;
}

int ThemedButton::lunaScheme() const {
    // 0 blue, 1 olive, 2 silver, from the colour scheme of the visual style.
    WCHAR file[MAX_PATH] = {}, color[256] = {}, size[256] = {};
    if (FAILED(GetCurrentThemeName(file, MAX_PATH, color, 256, size, 256)))
        return 0;
    if (lstrcmpiW(color, L"HomeStead") == 0)
        return 1;
    if (lstrcmpiW(color, L"Metallic") == 0)
        return 2;
    return 0;
}

void ThemedButton::render(HDC target) {
    if (!hwnd_ || !target)
        return;
    RECT rc;
    GetClientRect(hwnd_, &rc);
    Surface buf(rc.right, rc.bottom);
    if (!buf.ok())
        return;
    HDC dc = buf.dc();
    int state = drawState();
    Palette p = palette(state);
    // What lies outside rounded corners: the parent's background where it
    // paints one, else the button face.
    fillRect(dc, rc, sysColour(COLOR_BTNFACE));
    int style = style_;
    bool themed = false;
    if (style == 6) {
        HTHEME theme = visualStyleOn() ? OpenThemeData(hwnd_, L"Button") : nullptr;
        if (theme) {
            static const int parts[] = {PBS_NORMAL, PBS_NORMAL, PBS_HOT, PBS_PRESSED, PBS_DISABLED};
            DrawThemeParentBackground(hwnd_, dc, &rc);
            DrawThemeBackground(theme, dc, BP_PUSHBUTTON, parts[std::clamp(state, 1, 4)], &rc,
                                nullptr);
            CloseThemeData(theme);
            themed = true;
        } else {
            style = (nonThemeStyle_ == 6 || nonThemeStyle_ < 0 || nonThemeStyle_ > 10)
                        ? 0
                        : nonThemeStyle_;
        }
    }
    if (!themed)
        paintFace(dc, rc, style, state, p);
    paintContent(dc, rc, state, p);
    buf.present(target);
}

void ThemedButton::paintFace(HDC dc, const RECT& rc, int style, int state, const Palette& p) {
    const COLORREF face = p.face;
    switch (style) {
    case 0: // classic 3-D
        fillRect(dc, rc, face);
        {
            RECT r = rc;
            DrawEdge(dc, &r, state == StatePressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        }
        break;
    case 1: // thin 3-D
        fillRect(dc, rc, face);
        {
            RECT r = rc;
            DrawEdge(dc, &r, state == StatePressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
        break;
    case 2: // flat hot-track
        fillRect(dc, rc, face);
        if (state == StateHot || state == StatePressed) {
            RECT r = rc;
            DrawEdge(dc, &r, state == StatePressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
        break;
    case 3: { // highlight button
        Colour fill = p.face;
        if (state == StateHot)
            fill = BlendColor(p.highlight, p.face, 128);
        else if (state == StatePressed)
            fill = p.highlight;
        fillRect(dc, rc, fill);
        outlineRect(dc, rc, sysColour(COLOR_BTNSHADOW));
        outlineRect(dc, deflated(rc, 1), sysColour(COLOR_WINDOW));
        break;
    }
    case 4: // flat highlight
        if (state == StateHot || state == StatePressed) {
            fillRect(dc, rc, Lighten(p.highlight, state == StateHot ? 176 : 128));
            outlineRect(dc, rc, p.highlight);
        } else {
            fillRect(dc, rc, Lighten(p.face, 32));
        }
        break;
    default:
        paintRounded(dc, rc, style, state, p);
        break;
    }
}

void ThemedButton::paintRounded(HDC dc, const RECT& rc, int style, int state, const Palette& p) {
    const Colour white = rgb(255, 255, 255), black = 0;
    RECT outer{rc.left, rc.top, rc.right - 1, rc.bottom - 1}; // RoundRect's exclusive edges
    switch (style) {
    case 5: { // rounded desktop-style button in the button's own colours
        const int radius = 3;
        Colour border = state == StateDisabled ? MixColor(p.face, black, 40)
                                               : MixColor(p.highlight, black, 150);
        Colour top = MixColor(p.face, white, 200), bottom = MixColor(p.face, black, 18);
        if (state == StatePressed) {
            top = MixColor(p.face, black, 45);
            bottom = MixColor(p.face, white, 60);
        } else if (state == StateDisabled) {
            top = bottom = p.face;
        }
        roundGradient(dc, rc, radius, top, bottom);
        if (state == StateHot) {
            // A warm glow inside the edge, or the highlight colour when custom.
            Colour glow = useCustomColors_ ? p.highlight : rgb(248, 179, 48);
            Colour glowLight = MixColor(glow, white, 150);
            roundRectFrame(dc, deflated(outer, 1), radius, glow);
            roundRectFrame(dc, deflated(outer, 2), radius, glowLight);
        }
        roundRectFrame(dc, {outer.left, outer.top, outer.right + 1, outer.bottom + 1}, radius,
                       border);
        break;
    }
    case 7: { // glossy pill
        int h = static_cast<int>(rc.bottom - rc.top);
        int radius = std::min(12, h / 2);
        Colour base = p.face;
        if (state == StateHot)
            base = MixColor(p.face, p.highlight, 110);
        else if (state == StatePressed)
            base = MixColor(p.face, p.highlight, 190);
        roundGradient(dc, rc, radius, MixColor(base, black, 10), MixColor(base, white, 70));
        RECT gloss{rc.left + 2, rc.top + 1, rc.right - 2, rc.top + h / 2};
        if (state != StatePressed)
            roundGradient(dc, gloss, std::max(1, radius - 2), MixColor(base, white, 220),
                          MixColor(base, white, 110));
        roundRectFrame(dc, {rc.left, rc.top, rc.right, rc.bottom}, radius,
                       MixColor(base, black, state == StateDisabled ? 60 : 120));
        break;
    }
    case 8: { // soft flat rounded
        const int radius = 6;
        Colour fill = MixColor(p.face, white, 60), border = MixColor(p.face, black, 70);
        if (state == StateHot) {
            fill = Lighten(p.highlight, 200);
            border = p.highlight;
        } else if (state == StatePressed) {
            fill = Lighten(p.highlight, 150);
            border = MixColor(p.highlight, black, 60);
        } else if (state == StateDisabled) {
            fill = p.face;
            border = MixColor(p.face, black, 35);
        }
        roundGradient(dc, rc, radius, fill, fill);
        roundRectFrame(dc, {rc.left, rc.top, rc.right, rc.bottom}, radius, border);
        break;
    }
    case 9: { // two-tone glass, cool blue when hovered or pressed
        const int radius = 3;
        int mid = rc.top + (rc.bottom - rc.top) / 2;
        Colour t1 = MixColor(p.face, white, 170), t2 = MixColor(p.face, white, 120);
        Colour b1 = MixColor(p.face, black, 10), b2 = MixColor(p.face, black, 35);
        Colour border = rgb(112, 112, 112);
        if (state == StateHot) {
            t1 = rgb(234, 246, 253), t2 = rgb(217, 240, 252), b1 = rgb(190, 230, 253),
            b2 = rgb(167, 217, 245), border = rgb(60, 127, 177);
        } else if (state == StatePressed) {
            t1 = rgb(229, 244, 252), t2 = rgb(196, 229, 246), b1 = rgb(152, 209, 239),
            b2 = rgb(104, 179, 224), border = rgb(44, 98, 139);
        } else if (state == StateDisabled) {
            t1 = t2 = b1 = b2 = p.face;
            border = MixColor(p.face, black, 50);
        }
        platform::Region rgn(CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1,
                                                radius * 2, radius * 2));
        SelectClipRgn(dc, rgn.get());
        verticalGradient(dc, {rc.left, rc.top, rc.right, mid}, t1, t2);
        verticalGradient(dc, {rc.left, mid, rc.right, rc.bottom}, b1, b2);
        SelectClipRgn(dc, nullptr);
        if (state != StatePressed)
            roundRectFrame(dc, deflated(rc, 1), radius, MixColor(t1, white, 160));
        roundRectFrame(dc, rc, radius, border);
        break;
    }
    case 10: { // desktop visual style in the blue, olive or silver scheme
        const int radius = 3;
        struct Scheme {
            Colour border, top, bottom, hot, hotLight, pressTop, pressBottom;
        };
        static const Scheme schemes[] = {
            {rgb(0, 60, 116), rgb(255, 255, 255), rgb(236, 235, 230), rgb(248, 179, 48),
             rgb(255, 240, 207), rgb(229, 228, 221), rgb(242, 241, 236)},
            {rgb(55, 98, 6), rgb(255, 255, 255), rgb(236, 235, 230), rgb(177, 203, 128),
             rgb(229, 238, 204), rgb(229, 228, 221), rgb(242, 241, 236)},
            {rgb(118, 116, 146), rgb(255, 255, 255), rgb(214, 208, 197), rgb(255, 189, 105),
             rgb(255, 228, 178), rgb(205, 202, 197), rgb(232, 230, 226)},
        };
        const Scheme& s = schemes[lunaScheme()];
        Colour top = s.top, bottom = s.bottom, border = s.border;
        if (state == StatePressed) {
            top = s.pressTop;
            bottom = s.pressBottom;
        } else if (state == StateDisabled) {
            top = bottom = rgb(245, 244, 234);
            border = rgb(201, 199, 186);
        }
        roundGradient(dc, rc, radius, top, bottom);
        if (state == StateHot) {
            roundRectFrame(dc, deflated(outer, 1), radius, s.hot);
            roundRectFrame(dc, deflated(outer, 2), radius, s.hotLight);
        }
        roundRectFrame(dc, rc, radius, border);
        break;
    }
    default:
        fillRect(dc, rc, p.face);
        break;
    }
}

void ThemedButton::paintContent(HDC dc, const RECT& rc, int state, const Palette& p) {
    RECT text = deflated(rc, 4);
    if (icon_ || picture_) {
        const int size = iconSize_;
        const int w = rc.right - rc.left, h = rc.bottom - rc.top;
        int x = (w - size) / 2, y = (h - size) / 2;
        switch (iconAlign_) {
        case AlignLeft:
            x = 4;
            text.left = x + size + 4;
            break;
        case AlignRight:
            x = w - 4 - size;
            text.right = x - 4;
            break;
        case AlignTop:
            y = 4;
            text.top = y + size + 2;
            break;
        case AlignBottom:
            y = h - 4 - size;
            text.bottom = y - 2;
            break;
        default:
            break;
        }
        if (state == StatePressed) {
            ++x;
            ++y;
        }
        if (state == StateDisabled)
            drawPictureEffect(dc, icon_.get(), picture_.get(), x, y, size, true, false, 0);
        else
            drawPictureEffect(dc, icon_.get(), picture_.get(), x, y, size, false, useMaskColor_,
                              gdiColour(maskColor_));
    }

    std::string caption = Caption();
    if (!caption.empty() && text.right > text.left && text.bottom > text.top) {
        HGDIOBJ oldFont = SelectObject(dc, font_ ? font_.get() : hostFont());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, static_cast<COLORREF>(p.text));
        UINT horizontal = DT_CENTER;
        if (captionAlign_ == AlignLeft)
            horizontal = DT_LEFT;
        else if (captionAlign_ == AlignRight)
            horizontal = DT_RIGHT;
        UINT flags = DT_WORDBREAK | horizontal | (rtlText_ ? DT_RTLREADING : 0);
        RECT measure = text;
        DrawTextA(dc, caption.c_str(), -1, &measure, flags | DT_CALCRECT);
        int textHeight = measure.bottom - measure.top;
        RECT place = text;
        if (captionAlign_ == AlignTop) {
            place.bottom = place.top + textHeight;
        } else if (captionAlign_ == AlignBottom) {
            place.top = place.bottom - textHeight;
        } else {
            int room = text.bottom - text.top;
            place.top = text.top + std::max(0, (room - textHeight) / 2);
            place.bottom = place.top + textHeight;
        }
        DrawTextA(dc, caption.c_str(), -1, &place, flags);
        SelectObject(dc, oldFont);
    }

    if (showFocus_ && (forcedFocus_ || focusCueShown()) && state != StateDisabled) {
        RECT f = deflated(rc, 3);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &f);
    }
}

} // namespace controls
