#include "controls/statusbar.h"

#include "controls/bar_accessible.h"
#include "platform/guarded.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <new>

namespace controls {

namespace {

constexpr long kErrInvalidCall = 5; // "Invalid procedure call or argument"
constexpr long kErrOutOfMemory = 7;

using platform::guarded;

// For guarded(raise, step): any error leaves with the source "StatusBar." +
// routine.
auto raiseAs(const char* routine) {
    return [source = std::string("StatusBar.") + routine](std::exception_ptr failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const StatusBarError& e) {
            throw StatusBarError(e.Number(), e.Description(), source);
        } catch (const std::bad_alloc&) {
            throw StatusBarError(kErrOutOfMemory, "Out of memory", source);
        } catch (const std::exception& e) {
            throw StatusBarError(kErrInvalidCall, e.what(), source);
        }
    };
}

} // namespace

StatusBar::StatusBar()
    : watcher_([this](bool bBefore, bool& bHandled, LRESULT& lReturn, HWND h, UINT m, WPARAM w,
                      LPARAM& l) { zSubclass_Proc(bBefore, bHandled, lReturn, h, m, w, l); }) {}

StatusBar::~StatusBar() {
    watcher_.zDetachAll();
    for (auto& p : panels_) {
        if (p.bound && IsWindow(p.bound) && p.boundFormerParent)
            SetParent(p.bound, p.boundFormerParent);
    }
    if (tooltip_)
        DestroyWindow(tooltip_);
    destroyControlWindow(hwnd_, this);
}

bool StatusBar::Create(HWND parent, int height, int id, const PropertyBag* settings) {
    static bool registered = false;
    if (!registered) {
        if (!registerBarClass(kClassName, controlWindowProc<StatusBar>))
            return false;
        registered = true;
    }
    parent_ = parent;
    RECT pr{0, 0, 0, 0};
    if (parent)
        GetClientRect(parent, &pr);
    hwnd_ = CreateWindowExA(
        0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0,
        pr.bottom - height, pr.right, height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), moduleInstance(), this);
    if (!hwnd_)
        return false;
    edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 10, 10,
                            hwnd_, nullptr, moduleInstance(), nullptr);
    if (trackMouseEventAvailable() && watcher_.zAttach(hwnd_) >= 0) {
        for (UINT m : {WM_MOUSEMOVE, WM_MOUSELEAVE, WM_NCPAINT, WM_THEMECHANGED, WM_SIZING,
                       WM_SYSCOLORCHANGE})
            watcher_.zAddWatch(hwnd_, static_cast<long>(m), WindowWatcher::WATCH_AFTER);
    }
    // The edit box's keys and focus are watched before the box handles them.
    if (edit_ && watcher_.zAttach(edit_) >= 0) {
        watcher_.zAddWatch(edit_, WM_KEYDOWN, WindowWatcher::WATCH_BEFORE);
        watcher_.zAddWatch(edit_, WM_CHAR, WindowWatcher::WATCH_BEFORE);
        watcher_.zAddWatch(edit_, WM_KILLFOCUS, WindowWatcher::WATCH_AFTER);
        watcher_.zAddWatch(edit_, WM_GETDLGCODE, WindowWatcher::WATCH_BEFORE);
    }
    // Docked to the bottom: follow the parent's size.
    if (parent && watcher_.zAttach(parent) >= 0)
        watcher_.zAddWatch(parent, WM_SIZE, WindowWatcher::WATCH_AFTER);
    if (settings)
        ReadProperties(*settings);
    repaint();
    return true;
}

void StatusBar::Dock() {
    if (!hwnd_ || !parent_)
        return;
    RECT pr, wr;
    GetClientRect(parent_, &pr);
    GetWindowRect(hwnd_, &wr);
    const int h = wr.bottom - wr.top;
    SetWindowPos(hwnd_, nullptr, 0, pr.bottom - h, pr.right, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT StatusBar::GripRect() const {
    RECT rc{0, 0, 0, 0};
    if (!hwnd_ || drawnGrip_ == 0)
        return rc;
    GetClientRect(hwnd_, &rc);
    rc.left = std::max(0L, rc.right - GripAreaWidth(look_));
    return rc;
}

LRESULT StatusBar::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (msg) {
    case WM_GETOBJECT:
        return onGetObject(msg, wParam, lParam);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return onPaint();
    case WM_SIZE:
        repaint();
        return 0;
    case WM_SETCURSOR:
        return onSetCursor(msg, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return onButtonDown(msg, x, y);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        return onButtonUp(msg, wParam, x, y);
    case WM_LBUTTONDBLCLK:
        return onDoubleClick(x, y);
    case WM_MOUSEMOVE:
        return onMouseMove(wParam, x, y);
    case WM_KEYDOWN:
        if (KeyDown)
            KeyDown(static_cast<int>(wParam), shiftState());
        return 0;
    case WM_CHAR:
        if (KeyPress)
            KeyPress(static_cast<int>(wParam));
        return 0;
    case WM_KEYUP:
        if (KeyUp)
            KeyUp(static_cast<int>(wParam), shiftState());
        return 0;
    case WM_DESTROY:
        watcher_.zDetachAll();
        return DefWindowProcA(hwnd_, msg, wParam, lParam);
    case WM_NCDESTROY:
        edit_ = nullptr;
        return endControlWindow(hwnd_, this, msg, wParam, lParam);
    default:
        return DefWindowProcA(hwnd_, msg, wParam, lParam);
    }
}

LRESULT StatusBar::onGetObject(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Screen readers read each panel's text as its name and value.
    BarItems items;
    items.role = ROLE_SYSTEM_STATUSBAR;
    items.itemRole = ROLE_SYSTEM_STATICTEXT;
    items.count = [this] { return PanelCount(); };
    items.name = [this](int i) { return PanelText(i + 1); };
    items.value = [this](int i) { return PanelText(i + 1); };
    items.state = [](int) { return static_cast<long>(STATE_SYSTEM_READONLY); };
    items.rect = [this](int i) { return PanelRect(i + 1); };
    if (LRESULT r = answerAsBar(hwnd_, wParam, lParam, items))
        return r;
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT StatusBar::onPaint() {
    if (!surface_.dc())
        paint();
    if (drawingPutOff_)
        drawSurface();
    surface_.paintWindow(hwnd_);
    return 0;
}

LRESULT StatusBar::onSetCursor(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(lParam) != HTCLIENT)
        return DefWindowProcA(hwnd_, msg, wParam, lParam);
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(hwnd_, &pt);
    RECT g = GripRect();
    const bool onGrip = sizable_ && PtInRect(g, pt.x, pt.y);
    SetCursor(LoadCursor(nullptr, onGrip ? IDC_SIZENWSE : IDC_ARROW));
    return TRUE;
}

LRESULT StatusBar::onButtonDown(UINT msg, int x, int y) {
    if (Editing())
        endEdit(true); // a click elsewhere on the bar ends the editing
    RECT g = GripRect();
    if (msg == WM_LBUTTONDOWN && sizable_ && PtInRect(g, x, y)) {
        // The system resizes the form from its bottom-right corner.
        HWND form = GetAncestor(hwnd_, GA_ROOT);
        POINT pt{x, y};
        ClientToScreen(hwnd_, &pt);
        ReleaseCapture();
        SendMessageA(form, WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(pt.x, pt.y));
        return 0;
    }
    SetCapture(hwnd_);
    const int b = messageButton(msg);
    if (MouseDown)
        MouseDown(b, shiftState(), x, y);
    if (PanelMouseDown)
        PanelMouseDown(GetPanelIndex(x, y), b, shiftState(), x, y);
    return 0;
}

LRESULT StatusBar::onButtonUp(UINT msg, WPARAM wParam, int x, int y) {
    const bool captured = GetCapture() == hwnd_;
    if (captured && !(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)))
        ReleaseCapture();
    const int b = messageButton(msg);
    if (MouseUp)
        MouseUp(b, shiftState(), x, y);
    if (PanelMouseUp)
        PanelMouseUp(GetPanelIndex(x, y), b, shiftState(), x, y);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    if (msg == WM_LBUTTONUP && captured && PtInRect(rc, x, y)) {
        if (Click)
            Click();
        if (PanelClick)
            PanelClick(GetPanelIndex(x, y));
    }
    return 0;
}

LRESULT StatusBar::onDoubleClick(int x, int y) {
    const int index = GetPanelIndex(x, y);
    if (DblClick)
        DblClick();
    if (PanelDblClick)
        PanelDblClick(index);
    if (index > 0 && panels_[static_cast<size_t>(index - 1)].editable)
        BeginEdit(index);
    return 0;
}

LRESULT StatusBar::onMouseMove(WPARAM wParam, int x, int y) {
    if (!pointerCame_) {
        pointerCame_ = true;
        updateToolTips();
        if (tooltip_) {
            // The tooltip follows the pointer from the next move on; this one
            // is handed to it too.
            MSG m{
                hwnd_, WM_MOUSEMOVE, wParam, MAKELPARAM(x, y), static_cast<DWORD>(GetMessageTime()),
                {x, y}};
            SendMessageA(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
        }
    }
    const int b = mouseButtons(wParam);
    if (MouseMove)
        MouseMove(b, shiftState(), x, y);
    if (PanelMouseMove)
        PanelMouseMove(GetPanelIndex(x, y), b, shiftState(), x, y);
    return 0;
}

void StatusBar::zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND hwnd, UINT uMsg,
                               WPARAM wParam, LPARAM& lParam) {
    (void)lParam;
    if (hwnd == edit_ && edit_) {
        if (bBefore && uMsg == WM_GETDLGCODE) {
            // Inside a dialog-message loop Esc and Enter would be taken as the
            // dialog's Cancel and OK: while editing, the box asks for them.
            lReturn = watcher_.zCallPrevious(hwnd, uMsg, wParam, lParam);
            const auto* m = reinterpret_cast<const MSG*>(lParam);
            if (Editing() && m && m->message == WM_KEYDOWN &&
                (m->wParam == VK_ESCAPE || m->wParam == VK_RETURN))
                lReturn |= DLGC_WANTALLKEYS;
            bHandled = true;
        } else if (bBefore && uMsg == WM_KEYDOWN && (wParam == VK_ESCAPE || wParam == VK_RETURN)) {
            endEdit(wParam == VK_RETURN);
            bHandled = true;
            lReturn = 0;
        } else if (bBefore && uMsg == WM_CHAR && (wParam == VK_ESCAPE || wParam == VK_RETURN)) {
            bHandled = true; // no beep for the keys that end the editing
            lReturn = 0;
        } else if (!bBefore && uMsg == WM_KILLFOCUS) {
            endEdit(true);
        }
        return;
    }
    if (hwnd == parent_ && hwnd != hwnd_) {
        if (!bBefore && uMsg == WM_SIZE)
            Dock();
        return;
    }
    if (bBefore || hwnd != hwnd_)
        return;
    switch (uMsg) {
    case WM_MOUSEMOVE:
        if (trackMouseEnter(hwnd_, hover_) && MouseEnter)
            MouseEnter();
        break;
    case WM_MOUSELEAVE:
        hover_ = false;
        if (MouseLeave)
            MouseLeave();
        break;
    case WM_NCPAINT:
    case WM_THEMECHANGED:
    case WM_SIZING:
    case WM_SYSCOLORCHANGE:
        repaint();
        break;
    default:
        break;
    }
}

// --- panels -------------------------------------------------------------------

StatusBar::Panel* StatusBar::panel(int index) {
    const int slot = PanelSlot(index, PanelCount());
    return slot < 0 ? nullptr : &panels_[static_cast<size_t>(slot)];
}

const StatusBar::Panel* StatusBar::panel(int index) const {
    const int slot = PanelSlot(index, PanelCount());
    return slot < 0 ? nullptr : &panels_[static_cast<size_t>(slot)];
}

void StatusBar::AddPanel(const PanelOptions& a) {
    guarded(raiseAs("AddPanel"), [&] {
        Panel p;
        p.text = a.sText;
        p.textFormat = a.uTextAlign;
        p.autoSize = a.bAutoSize;
        p.editable = a.bEditable;
        p.icon = a.oIcon;
        p.iconEnabled = a.bIconState;
        p.useMaskColor = a.bUseMaskColor;
        p.maskColor = a.lMaskColor;
        p.foreColor = a.lForeColor;
        if (a.oFont && !a.oFont->face.empty()) {
            p.font = a.oFont;
            p.fontHandle.reset(createFont(*a.oFont));
        }
        p.toolTipText = a.sToolTipText;
        p.width = NormalizePanelWidth(static_cast<int>(a.lWidth));
        panels_.push_back(std::move(p));
        repaint();
    });
}

void StatusBar::Clear() {
    guarded(raiseAs("Clear"), [&] {
        if (Editing())
            endEdit(false);
        for (int i = 1; i <= PanelCount(); ++i)
            BoundControl(i, nullptr);
        panels_.clear();
        repaint();
    });
}

std::string StatusBar::PanelText(int index) const {
    return guarded(raiseAs("PanelText"), [&] {
        const Panel* p = panel(index);
        return p ? p->text : std::string();
    });
}

void StatusBar::setPanelText(int index, const std::string& v) {
    guarded(raiseAs("PanelText"), [&] {
        if (Panel* p = panel(index)) {
            p->text = v;
            repaint();
        }
    });
}

#define SB_PANEL_PROP(Name, Type, field, def, write)                                               \
    Type StatusBar::Name(int index) const {                                                        \
        return guarded(raiseAs(#Name), [&]() -> Type {                                             \
            const Panel* p = panel(index);                                                         \
            return p ? static_cast<Type>(p->field) : def;                                          \
        });                                                                                        \
    }                                                                                              \
    void StatusBar::set##Name(int index, Type v) {                                                 \
        guarded(raiseAs(#Name), [&] {                                                              \
            if (Panel* p = panel(index)) {                                                         \
                p->field = write;                                                                  \
                repaint();                                                                         \
            }                                                                                      \
        });                                                                                        \
    }

SB_PANEL_PROP(PanelAlignment, int, textFormat, 0, v)
SB_PANEL_PROP(PanelAutoSize, bool, autoSize, false, v)
SB_PANEL_PROP(PanelEditable, bool, editable, false, v)
SB_PANEL_PROP(PanelIconState, bool, iconEnabled, true, v)
SB_PANEL_PROP(PanelToolTipText, std::string, toolTipText, std::string(), v)
SB_PANEL_PROP(PanelWidth, long, width, 0L, NormalizePanelWidth(static_cast<int>(v)))
#undef SB_PANEL_PROP

Colour StatusBar::PanelForeColor(int index) const {
    return guarded(raiseAs("PanelForeColor"), [&] {
        const Panel* p = panel(index);
        return p ? p->foreColor.value_or(foreColor_) : foreColor_;
    });
}

void StatusBar::setPanelForeColor(int index, Colour v) {
    guarded(raiseAs("PanelForeColor"), [&] {
        if (Panel* p = panel(index)) {
            p->foreColor = v;
            repaint();
        }
    });
}

FontDesc StatusBar::PanelFont(int index) const {
    return guarded(raiseAs("PanelFont"), [&] {
        const Panel* p = panel(index);
        return p && p->font ? *p->font : font_;
    });
}

void StatusBar::setPanelFont(int index, const FontDesc& v) {
    guarded(raiseAs("PanelFont"), [&] {
        if (Panel* p = panel(index)) {
            p->fontHandle.reset();
            p->font.reset();
            if (!v.face.empty()) {
                p->font = v;
                p->fontHandle.reset(createFont(v));
            }
            repaint();
        }
    });
}

Picture StatusBar::PanelIcon(int index) const {
    return guarded(raiseAs("PanelIcon"), [&] {
        const Panel* p = panel(index);
        return p ? p->icon : Picture{};
    });
}

void StatusBar::setPanelIcon(int index, const Picture& v) {
    guarded(raiseAs("PanelIcon"), [&] {
        if (Panel* p = panel(index)) {
            p->icon = v;
            repaint();
        }
    });
}

RECT StatusBar::PanelRect(int index) const {
    const Panel* p = panel(index);
    return p ? p->rect : RECT{0, 0, 0, 0};
}

int StatusBar::GetPanelIndex(int x, int y) const {
    for (size_t i = 0; i < panels_.size(); ++i)
        if (PtInRect(panels_[i].rect, x, y))
            return static_cast<int>(i) + 1;
    return 0;
}

int StatusBar::GetPanelIndex() const {
    return guarded(raiseAs("GetPanelIndex"), [&] {
        if (!hwnd_)
            return 0;
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(hwnd_, &pt);
        return GetPanelIndex(pt.x, pt.y);
    });
}

void StatusBar::BoundControl(int index, HWND control, int sizeMethod) {
    guarded(raiseAs("BoundControl"), [&] {
        Panel* p = panel(index);
        if (!p)
            return;
        if (control && !IsWindow(control))
            throw StatusBarError(kErrInvalidCall, "Invalid procedure call or argument",
                                 "StatusBar.BoundControl");
        if (!control) {
            if (p->bound && IsWindow(p->bound) && p->boundFormerParent)
                SetParent(p->bound, p->boundFormerParent);
            p->bound = nullptr;
            p->boundFormerParent = nullptr;
        } else {
            if (p->bound && p->bound != control && IsWindow(p->bound) && p->boundFormerParent)
                SetParent(p->bound, p->boundFormerParent);
            if (p->bound != control)
                p->boundFormerParent = GetParent(control);
            p->bound = control;
            SetParent(control, hwnd_);
        }
        p->sizeMethod = sizeMethod;
        repaint();
    });
}

// --- editing --------------------------------------------------------------------

void StatusBar::BeginEdit(int index) {
    guarded(raiseAs("BeginEdit"), [&] {
        Panel* p = panel(index);
        if (!p || !p->editable || !edit_)
            return;
        if (Editing())
            endEdit(true);
        editPanel_ = static_cast<int>(p - panels_.data());
        SetWindowTextA(edit_, p->text.c_str());
        SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(panelFont(*p)), FALSE);
        const RECT& r = p->rect;
        SetWindowPos(edit_, HWND_TOP, r.left, r.top, std::max(8L, r.right - r.left),
                     std::max(8L, r.bottom - r.top), SWP_SHOWWINDOW);
        SendMessageA(edit_, EM_SETSEL, 0, -1);
        SetFocus(edit_);
    });
}

void StatusBar::endEdit(bool keep) {
    if (editPanel_ < 0)
        return;
    const int slot = editPanel_;
    editPanel_ = -1; // before hiding: focus moving away must not store twice
    if (keep && slot < PanelCount()) {
        const int n = GetWindowTextLengthA(edit_);
        std::string text(static_cast<size_t>(n) + 1, '\0');
        GetWindowTextA(edit_, text.data(), n + 1);
        text.resize(static_cast<size_t>(n));
        panels_[static_cast<size_t>(slot)].text = text;
    }
    const bool hadFocus = GetFocus() == edit_;
    ShowWindow(edit_, SW_HIDE);
    if (hadFocus && hwnd_)
        SetFocus(hwnd_);
    repaint();
}

// --- properties -------------------------------------------------------------------

// Each simple property write repaints; an error reports the property's name.
#define FL_SETTER(Name, Type, member)                                                              \
    void StatusBar::set##Name(Type v) {                                                            \
        guarded(raiseAs(#Name), [&] {                                                              \
            member = v;                                                                            \
            repaint();                                                                             \
        });                                                                                        \
    }

FL_SETTER(BackColor, Colour, backColor_)
FL_SETTER(ForeColor, Colour, foreColor_)
FL_SETTER(GripShape, int, gripShape_)
FL_SETTER(Sizable, bool, sizable_)
FL_SETTER(Theme, int, theme_)
#undef FL_SETTER

void StatusBar::setFont(const FontDesc& v) {
    guarded(raiseAs("Font"), [&] {
        font_ = v;
        barFont_.set(font_);
        repaint();
    });
}

void StatusBar::Refresh() {
    guarded(raiseAs("Refresh"), [&] { repaint(); });
}

HFONT StatusBar::currentFont() const {
    return barFont_.orHostFont(parent_);
}

HFONT StatusBar::panelFont(const Panel& p) const {
    return p.fontHandle ? p.fontHandle.get() : currentFont();
}

// --- painting helpers -----------------------------------------------------------

Colour StatusBar::TranslateColor(Colour c) {
    return controls::TranslateColor(c, systemColourLookup);
}

void StatusBar::APILine(HDC dc, int x1, int y1, int x2, int y2, COLORREF c) {
    drawLine(dc, x1, y1, x2, y2, c);
}

void StatusBar::GrayBlt(HDC dc, const Picture& pic, int x, int y, int cx, int cy, bool useMask,
                        COLORREF mask) {
    drawPicture(dc, pic, x, y, cx, cy, true, useMask, mask);
}

void StatusBar::TransBltEx(HDC dc, const Picture& pic, int x, int y, int cx, int cy,
                           COLORREF mask) {
    drawPicture(dc, pic, x, y, cx, cy, false, true, mask);
}

bool StatusBar::PtInRect(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

bool StatusBar::IsWinXP() {
    OSVERSIONINFOA vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&vi))
        return false;
#pragma GCC diagnostic pop
    return IsWinXPVersion(vi.dwMajorVersion, vi.dwMinorVersion, vi.dwBuildNumber,
                          vi.dwPlatformId == VER_PLATFORM_WIN32_NT);
}

std::string StatusBar::GetThemeInfo() {
    wchar_t name[256] = {0}, colour[256] = {0}, size[256] = {0};
    const HRESULT hr = GetCurrentThemeName(name, 255, colour, 255, size, 255);
    std::string scheme;
    if (SUCCEEDED(hr)) {
        char buf[512] = {0};
        WideCharToMultiByte(CP_ACP, 0, colour, -1, buf, sizeof buf - 1, nullptr, nullptr);
        scheme = buf;
    }
    return NormalizeSchemeName(scheme, FAILED(hr));
}

// --- painting ---------------------------------------------------------------------

void StatusBar::repaint() {
    if (!hwnd_ || painting_)
        return;
    painting_ = true;
    paint();
    painting_ = false;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void StatusBar::paint() {
    // The panels are laid out at once (hit tests, the bound controls and the
    // tooltips read their places); the picture is drawn only while the bar
    // can be seen, or when it is painted or read.
    if (IsWindowVisible(hwnd_)) {
        drawSurface();
    } else {
        RECT rc;
        GetClientRect(hwnd_, &rc);
        HDC dc = surface_.dc();
        HDC measuring = dc ? nullptr : CreateCompatibleDC(nullptr);
        layOut(dc ? dc : measuring, rc.right, rc.bottom);
        if (measuring)
            DeleteDC(measuring);
        drawingPutOff_ = true;
    }
    placeBoundControls();
    updateToolTips();
}

void StatusBar::layOut(HDC dc, int w, int h) {
    const bool xp = theme_ == 0 && IsWinXP();
    look_ = ResolveLook(theme_, xp, xp ? GetThemeInfo() : std::string());
    if (gripShape_ != 0)
        gripShape_ = ResolveGripShape(gripShape_, look_);
    drawnGrip_ = gripShape_;

    std::vector<PanelMetrics> metrics;
    metrics.reserve(panels_.size());
    for (const auto& p : panels_) {
        PanelMetrics m;
        HGDIOBJ old = SelectObject(dc, panelFont(p));
        SIZE sz{0, 0};
        GetTextExtentPoint32A(dc, p.text.c_str(), static_cast<int>(p.text.size()), &sz);
        SelectObject(dc, old);
        m.textWidth = sz.cx;
        m.textEmpty = p.text.empty();
        m.autoSize = p.autoSize;
        m.hasIcon = !p.icon.empty();
        m.width = static_cast<int>(p.width);
        metrics.push_back(m);
    }
    const auto rects = LayoutPanels(metrics, w, h, drawnGrip_ ? GripAreaWidth(look_) : 0);
    for (size_t i = 0; i < panels_.size(); ++i) {
        const Rect& r = rects[i];
        panels_[i].rect = {r.left, r.top, r.right, r.bottom};
    }
}

void StatusBar::drawSurface() {
    drawingPutOff_ = false;
    if (!surface_.fitClient(hwnd_))
        return;
    HDC dc = surface_.dc();
    const int w = surface_.width(), h = surface_.height();
    layOut(dc, w, h);

    const Colour back = TranslateColor(backColor_);
    const auto rows = BackgroundRows(back, look_, h);
    for (int y = 0; y < h; ++y)
        fillRect(dc, {0, y, w, y + 1}, rows[static_cast<size_t>(y)]);
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < panels_.size(); ++i)
        paintPanel(dc, panels_[i], look_, i + 1 == panels_.size());
    if (drawnGrip_)
        drawGrip(dc, drawnGrip_, look_);
    GdiFlush();
}

const Surface& StatusBar::DrawnSurface() {
    if (drawingPutOff_)
        drawSurface();
    return surface_;
}

void StatusBar::paintPanel(HDC dc, Panel& p, int look, bool last) {
    (void)last;
    const RECT r = p.rect;
    if (r.right - r.left <= 0)
        return;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    RECT text = r;
    if (!p.icon.empty()) {
        const int iy = r.top + (r.bottom - r.top - 16) / 2;
        const COLORREF mask = p.maskColor & 0x00FFFFFFu;
        if (p.iconEnabled)
            drawPicture(dc, p.icon, r.left + 2, iy, 16, 16, false, p.useMaskColor, mask);
        else
            GrayBlt(dc, p.icon, r.left + 2, iy, 16, 16, p.useMaskColor, mask);
        text.left += 18;
    }
    text.left += 4;
    text.right -= 4;
    HGDIOBJ old = SelectObject(dc, panelFont(p));
    SetTextColor(dc, gdiColour(p.foreColor.value_or(foreColor_)));
    UINT fmt = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_WORD_ELLIPSIS;
    fmt |= p.textFormat == 1 ? DT_CENTER : p.textFormat == 2 ? DT_RIGHT : DT_LEFT;
    DrawTextA(dc, p.text.c_str(), static_cast<int>(p.text.size()), &text, fmt);
    SelectObject(dc, old);
    RestoreDC(dc, saved);

    // Separator at the panel's right end.
    if (look == kLookClassic) {
        RECT e{r.right - 2, r.top, r.right, r.bottom};
        DrawEdge(dc, &e, EDGE_ETCHED, BF_LEFT);
    } else {
        const auto [dark, light] = SeparatorColours(TranslateColor(backColor_));
        fillRect(dc, {r.right - 2, r.top, r.right - 1, r.bottom}, dark);
        fillRect(dc, {r.right - 1, r.top, r.right, r.bottom}, light);
    }
}

void StatusBar::drawGrip(HDC dc, int shape, int look) {
    const int w = surface_.width(), h = surface_.height();
    const Colour back = TranslateColor(backColor_);
    if (shape == 2) {
        // Three pairs of diagonal ridges.
        const COLORREF light = rgb(255, 255, 255);
        const COLORREF dark = ShiftColor(back, -80);
        for (int i = 0; i < 3; ++i) {
            const int d = 4 * i + 4;
            drawLine(dc, w - d, h - 1, w, h - 1 - d, light);
            drawLine(dc, w - d + 1, h - 1, w, h - d, dark);
            drawLine(dc, w - d + 2, h - 1, w, h - d + 1, dark);
        }
        return;
    }
    // A triangle of raised dots.
    (void)look;
    const COLORREF shadow = MixColor(back, rgb(0, 0, 0), 120);
    const COLORREF light = rgb(255, 255, 255);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; i + j < 3; ++j) {
            const int x = w - 5 - 4 * i;
            const int y = h - 5 - 4 * j;
            fillRect(dc, {x + 1, y + 1, x + 3, y + 3}, light);
            fillRect(dc, {x, y, x + 2, y + 2}, shadow);
        }
}

void StatusBar::placeBoundControls() {
    for (auto& p : panels_) {
        if (!p.bound || !IsWindow(p.bound))
            continue;
        const RECT r = p.rect;
        const int pw = r.right - r.left - 4, ph = r.bottom - r.top;
        RECT cr;
        GetWindowRect(p.bound, &cr);
        const int cw = cr.right - cr.left, ch = cr.bottom - cr.top;
        switch (p.sizeMethod) {
        case 1:
            MoveWindow(p.bound, r.left + 2, r.top + (ph - ch) / 2, cw, ch, TRUE);
            break;
        case 2:
            MoveWindow(p.bound, r.left + 2, r.top, cw, ph, TRUE);
            break;
        default:
            MoveWindow(p.bound, r.left + 2, r.top, std::max(0, pw), ph, TRUE);
            break;
        }
    }
}

void StatusBar::updateToolTips() {
    // The tooltip window is made when the pointer first comes over the bar:
    // a top-level window costs time at start-up, and a tip needs a pointer.
    if (!tooltip_ && !pointerCame_)
        return;
    bool any = false;
    for (const auto& p : panels_)
        any = any || !p.toolTipText.empty();
    if (!any && !tooltip_)
        return;
    if (!tooltip_) {
        tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   moduleInstance(), nullptr);
        if (!tooltip_)
            return;
    }
    // One tool per panel; rebuilt at each paint so rectangles and texts follow.
    while (SendMessageA(tooltip_, TTM_GETTOOLCOUNT, 0, 0) > 0) {
        TOOLINFOA ti{};
        ti.cbSize = sizeof ti;
        if (!SendMessageA(tooltip_, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&ti)))
            break;
        SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    for (size_t i = 0; i < panels_.size(); ++i) {
        if (panels_[i].toolTipText.empty())
            continue;
        TOOLINFOA ti{};
        ti.cbSize = sizeof ti;
        ti.uFlags = TTF_SUBCLASS;
        ti.hwnd = hwnd_;
        ti.uId = i + 1;
        ti.rect = panels_[i].rect;
        std::string t = panels_[i].toolTipText;
        ti.lpszText = t.data();
        SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

// --- stored state -------------------------------------------------------------------

void StatusBar::ReadProperties(const PropertyBag& bag) {
    guarded(raiseAs("UserControl_ReadProperties"), [&] {
        backColor_ = bag.readColour("BackColor", systemColour(SysButtonFace));
        foreColor_ = bag.readColour("ForeColor", systemColour(SysButtonText));
        font_ = readFontProperty(bag);
        barFont_.set(font_);
        gripShape_ = static_cast<int>(bag.readInt("GripShape", 1));
        sizable_ = bag.readBool("Sizable", true);
        theme_ = static_cast<int>(bag.readInt("Theme", 0));
        // "PanelCount" is informational: panels are added at run time.
        Dock();
        repaint();
    });
}

void StatusBar::WriteProperties(PropertyBag& bag) const {
    guarded(raiseAs("UserControl_WriteProperties"), [&] {
        bag.writeColour("BackColor", backColor_, systemColour(SysButtonFace));
        bag.writeColour("ForeColor", foreColor_, systemColour(SysButtonText));
        writeFontProperty(bag, font_);
        bag.writeInt("GripShape", gripShape_, 1);
        bag.writeInt("PanelCount", PanelCount(), 0);
        bag.writeBool("Sizable", sizable_, true);
        bag.writeInt("Theme", theme_, 0);
    });
}

} // namespace controls
