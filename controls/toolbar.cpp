#include "controls/toolbar.h"

#include "controls/bar_accessible.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace controls {

namespace {

constexpr UINT_PTR kHoverTimer = 1;
constexpr int kTooltipTicks = 5;
// Posted by an accessibility client's default action: click the button in wParam.
constexpr UINT kAccessibleClick = WM_APP + 1;
constexpr int kShadowOffset = 2;

std::string rtrim(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

} // namespace

ToolBar::ToolBar()
    : watcher_([this](bool bBefore, bool& bHandled, LRESULT& lReturn, HWND h, UINT m, WPARAM w,
                      LPARAM& l) { zSubclass_Proc(bBefore, bHandled, lReturn, h, m, w, l); }) {
    buttons_.push_back(newButton(0));
}

ToolBar::~ToolBar() {
    watcher_.zDetachAll();
    removeToolTip();
    destroyControlWindow(hwnd_, this);
    if (shell32_)
        FreeLibrary(shell32_);
}

ToolBar::Button ToolBar::newButton(long index) {
    Button b;
    b.caption = "Button " + std::to_string(index);
    return b;
}

bool ToolBar::Create(HWND parent, int x, int y, int width, int height, int id,
                     const PropertyBag* settings) {
    static bool registered = false;
    if (!registered) {
        if (!registerBarClass(kClassName, controlWindowProc<ToolBar>))
            return false;
        registered = true;
    }
    shell32_ = LoadLibraryA("shell32.dll");
    OSVERSIONINFOA vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    isNT_ = !GetVersionExA(&vi) || vi.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
    parent_ = parent;
    // Stored settings are read before the window exists, so that its very
    // first layout (during creation) already uses them.
    if (settings)
        ReadProperties(*settings);
    hwnd_ = CreateWindowExA(
        0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, x, y, width,
        height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), moduleInstance(), this);
    if (!hwnd_)
        return false;
    if (!enabled_)
        EnableWindow(hwnd_, FALSE);
    buttonIndex_ = -1;
    if (trackMouseEventAvailable() && watcher_.zAttach(hwnd_) >= 0) {
        watcher_.zAddWatch(hwnd_, WM_MOUSEMOVE, WindowWatcher::WATCH_AFTER);
        watcher_.zAddWatch(hwnd_, WM_MOUSELEAVE, WindowWatcher::WATCH_AFTER);
        watcher_.zAddWatch(hwnd_, WM_TIMER, WindowWatcher::WATCH_AFTER);
    }
    RedrawControl();
    return true;
}

LRESULT ToolBar::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return onPaint();
    case WM_SIZE:
        if (!resizing_)
            RedrawControl();
        return 0;
    case WM_SETCURSOR:
        return onSetCursor(msg, wParam, lParam);
    case WM_GETDLGCODE:
        return onGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return onFocusChange(msg == WM_KILLFOCUS);
    case WM_UPDATEUISTATE:
        return onUpdateUiState(msg, wParam, lParam);
    case WM_CHAR:
        return 0;
    case WM_GETOBJECT:
        return onGetObject(msg, wParam, lParam);
    case kAccessibleClick:
        return onAccessibleClick(static_cast<long>(wParam));
    case WM_MOUSEMOVE:
        return onMouseMove(wParam, x, y);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return onButtonDown(msg, x, y);
    case WM_LBUTTONDBLCLK:
        return onDoubleClick(x, y);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        return onButtonUp(msg, wParam, x, y);
    case WM_CAPTURECHANGED:
        return onCaptureChanged(reinterpret_cast<HWND>(lParam));
    case WM_KEYDOWN:
        return onKeyDown(wParam, lParam);
    case WM_KEYUP:
        return onKeyUp(wParam);
    case WM_DESTROY:
        return onDestroy(msg, wParam, lParam);
    case WM_NCDESTROY:
        return endControlWindow(hwnd_, this, msg, wParam, lParam);
    default:
        return DefWindowProcA(hwnd_, msg, wParam, lParam);
    }
}

LRESULT ToolBar::onPaint() {
    if (!surface_.dc())
        paint();
    if (drawingPutOff_)
        drawSurface();
    surface_.paintWindow(hwnd_);
    return 0;
}

LRESULT ToolBar::onSetCursor(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursor(nullptr, buttonIndex_ >= 0 ? IDC_HAND : IDC_ARROW));
        return TRUE;
    }
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT ToolBar::onGetDlgCode(const MSG* m) const {
    // The arrows move between the buttons; Enter presses the focused one
    // rather than reaching the dialog manager.
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN)
        code |= DLGC_WANTMESSAGE;
    return code;
}

LRESULT ToolBar::onFocusChange(bool losing) {
    if (losing)
        keyPressed_ = false;
    RedrawControl();
    return 0;
}

LRESULT ToolBar::onUpdateUiState(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT r = DefWindowProcA(hwnd_, msg, wParam, lParam);
    RedrawControl();
    return r;
}

LRESULT ToolBar::onGetObject(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Screen readers see a tool bar of push buttons named by their captions.
    BarItems items;
    items.role = ROLE_SYSTEM_TOOLBAR;
    items.itemRole = ROLE_SYSTEM_PUSHBUTTON;
    items.count = [this] { return static_cast<int>(buttons_.size()); };
    items.name = [this](int i) { return buttons_[i].caption; };
    items.state = [this](int i) {
        long s = 0;
        if (!buttons_[i].enabled || !enabled_)
            s |= STATE_SYSTEM_UNAVAILABLE;
        if (buttons_[i].pressed)
            s |= STATE_SYSTEM_PRESSED;
        if (i == buttonIndex_)
            s |= STATE_SYSTEM_HOTTRACKED;
        return s;
    };
    items.rect = [this](int i) {
        const int perRow = std::max(1, grid_.buttonsPerRow);
        const int left = (i % perRow) * grid_.columnWidth, top = (i / perRow) * grid_.rowHeight;
        return RECT{left, top, left + grid_.columnWidth, top + grid_.rowHeight};
    };
    items.defaultAction = L"Click";
    items.doDefaultAction = [this](int i) { PostMessageA(hwnd_, kAccessibleClick, i, 0); };
    if (LRESULT r = answerAsBar(hwnd_, wParam, lParam, items))
        return r;
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT ToolBar::onAccessibleClick(long i) {
    const Button* b = button(i);
    if (b && b->enabled && enabled_ && Click)
        Click(i);
    return 0;
}

LRESULT ToolBar::onMouseMove(WPARAM wParam, int x, int y) {
    hitTest(x, y);
    if (MouseMove)
        MouseMove(buttonIndex_, mouseButtons(wParam), shiftState(), x, y);
    return 0;
}

LRESULT ToolBar::onButtonDown(UINT msg, int x, int y) {
    if (GetFocus() != hwnd_)
        SetFocus(hwnd_);
    SetCapture(hwnd_);
    if (msg == WM_LBUTTONDOWN)
        pressedInside_ = true;
    hitTest(x, y);
    if (buttonIndex_ >= 0) {
        focusIndex_ = buttonIndex_; // the keyboard goes on from there
        mouseDown_ = true;
        RedrawControl();
        const int b = messageButton(msg);
        if (MouseDown)
            MouseDown(buttonIndex_, b, shiftState(), x, y);
    }
    return 0;
}

LRESULT ToolBar::onDoubleClick(int x, int y) {
    SetCapture(hwnd_);
    pressedInside_ = false; // the double click replaces the second click
    hitTest(x, y);
    mouseDown_ = true;
    RedrawControl();
    if (DblClick)
        DblClick(buttonIndex_);
    return 0;
}

LRESULT ToolBar::onButtonUp(UINT msg, WPARAM wParam, int x, int y) {
    const bool wasDown = mouseDown_;
    if (GetCapture() == hwnd_ && !(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)))
        ReleaseCapture();
    hitTest(x, y);
    // The flag is cleared on every release so that a press that ends
    // away from the buttons leaves no button drawn sunken.
    mouseDown_ = false;
    if (buttonIndex_ >= 0) {
        RedrawControl();
        const int b = messageButton(msg);
        if (MouseUp)
            MouseUp(buttonIndex_, b, shiftState(), x, y);
    } else if (wasDown) {
        RedrawControl();
    }
    if (msg == WM_LBUTTONUP && pressedInside_) {
        pressedInside_ = false;
        RECT rc;
        GetClientRect(hwnd_, &rc);
        POINT pt{x, y};
        if (PtInRect(&rc, pt) && Click)
            Click(buttonIndex_);
    }
    return 0;
}

LRESULT ToolBar::onCaptureChanged(HWND gaining) {
    if (gaining != hwnd_ && mouseDown_) {
        mouseDown_ = false;
        RedrawControl();
    }
    return 0;
}

LRESULT ToolBar::onKeyDown(WPARAM key, LPARAM lParam) {
    mouseDown_ = true;
    keyboardKey(static_cast<int>(key), (lParam & (1 << 30)) != 0);
    RedrawControl();
    if (KeyDown)
        KeyDown(buttonIndex_, static_cast<int>(key), shiftState());
    if (key == VK_RETURN)
        pressFocused();
    return 0;
}

LRESULT ToolBar::onKeyUp(WPARAM key) {
    mouseDown_ = false;
    const bool press = key == VK_SPACE && keyPressed_;
    keyPressed_ = false;
    RedrawControl();
    if (KeyUp)
        KeyUp(buttonIndex_, static_cast<int>(key), shiftState());
    if (press)
        pressFocused();
    return 0;
}

LRESULT ToolBar::onDestroy(UINT msg, WPARAM wParam, LPARAM lParam) {
    KillTimer(hwnd_, kHoverTimer);
    removeToolTip();
    watcher_.zDetachAll();
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

void ToolBar::zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND hwnd, UINT uMsg,
                             WPARAM wParam, LPARAM& lParam) {
    (void)bHandled;
    (void)lReturn;
    if (bBefore || hwnd != hwnd_)
        return;
    switch (uMsg) {
    case WM_MOUSEMOVE: {
        POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (pt.x == lastMouse_.x && pt.y == lastMouse_.y)
            return;
        lastMouse_ = pt;
        SetTimer(hwnd_, kHoverTimer, 1, nullptr);
        ticks_ = 0;
        if (trackMouseEnter(hwnd_, hover_) && MouseEnter)
            MouseEnter();
        removeToolTip();
        break;
    }
    case WM_TIMER:
        if (wParam != kHoverTimer)
            return;
        if (++ticks_ >= kTooltipTicks) {
            KillTimer(hwnd_, kHoverTimer);
            if (hover_)
                showToolTip();
        }
        break;
    case WM_MOUSELEAVE:
        KillTimer(hwnd_, kHoverTimer);
        hover_ = false;
        lastMouse_ = {-1, -1};
        buttonIndex_ = -1;
        removeToolTip();
        RedrawControl();
        if (MouseLeave)
            MouseLeave();
        break;
    default:
        break;
    }
}

void ToolBar::keyboardKey(int vk, bool repeat) {
    const long count = Button_Count();
    if (count <= 0)
        return;
    const long perRow = std::max(1, grid_.buttonsPerRow);
    long step = 0;
    switch (vk) {
    case VK_LEFT:
        step = -1;
        break;
    case VK_RIGHT:
        step = 1;
        break;
    case VK_UP:
        step = -perRow;
        break;
    case VK_DOWN:
        step = perRow;
        break;
    case VK_SPACE:
        if (!repeat)
            keyPressed_ = true;
        return;
    default:
        return;
    }
    // To the next usable button that way, wrapping at the ends.
    long i = std::clamp(focusIndex_, 0L, count - 1);
    for (long n = 0; n < count; ++n) {
        i = ((i + step) % count + count) % count;
        if (buttons_[static_cast<size_t>(i)].enabled)
            break;
    }
    if (i != focusIndex_) {
        focusIndex_ = i;
        keyPressed_ = false;
        NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd_, OBJID_CLIENT, static_cast<LONG>(i) + 1);
    }
}

void ToolBar::pressFocused() {
    const long i = focusIndex_;
    const Button* b = button(i);
    if (b && b->enabled && enabled_ && Click)
        Click(i);
}

bool ToolBar::focusCueShown() const {
    return hwnd_ && GetFocus() == hwnd_ &&
           !(SendMessageA(GetAncestor(hwnd_, GA_ROOT), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

void ToolBar::hitTest(int x, int y) {
    long index = -1;
    if (enabled_) {
        std::vector<bool> en;
        en.reserve(buttons_.size());
        for (const auto& b : buttons_)
            en.push_back(b.enabled);
        index = ToolbarHitTest(grid_, en, x, y);
    }
    if (index != buttonIndex_) {
        buttonIndex_ = index;
        if (OnButtonHover)
            OnButtonHover(index);
        RedrawControl();
    }
}

void ToolBar::showToolTip() {
    removeToolTip();
    const Button* b = button(buttonIndex_);
    if (!b || b->toolTipText.empty() || !hwnd_)
        return;
    DWORD style = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;
    if (tooTipStyle_ != 1)
        style |= TTS_BALLOON;
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, style, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               moduleInstance(), nullptr);
    if (!tooltip_)
        return;
    // Without a visual style the tooltip honours the colours below.
    SetWindowTheme(tooltip_, L"", L"");
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = hwnd_;
    ti.uId = 1;
    GetClientRect(hwnd_, &ti.rect);
    std::string text = b->toolTipText;
    ti.lpszText = text.data();
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, 320);
    SendMessageA(tooltip_, TTM_SETTIPBKCOLOR, gdiColour(toolTipBackCol_), 0);
    SendMessageA(tooltip_, TTM_SETTIPTEXTCOLOR, gdiColour(toolTipForeCol_), 0);
    std::string title = b->caption;
    const long icon = b->toolTipIcon >= 0 && b->toolTipIcon <= 3 ? b->toolTipIcon : 0;
    SendMessageA(tooltip_, TTM_SETTITLEA, static_cast<WPARAM>(icon),
                 reinterpret_cast<LPARAM>(title.c_str()));
    POINT pt;
    GetCursorPos(&pt);
    SendMessageA(tooltip_, TTM_TRACKPOSITION, 0, MAKELPARAM(pt.x + 2, pt.y + 20));
    SendMessageA(tooltip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}

void ToolBar::removeToolTip() {
    if (tooltip_) {
        DestroyWindow(tooltip_);
        tooltip_ = nullptr;
    }
}

// --- properties -------------------------------------------------------------

void ToolBar::changed() {
    changed_ = true;
    RedrawControl();
}

#define FL_SETTER(Name, Type, member)                                                              \
    void ToolBar::set##Name(Type v) {                                                              \
        member = v;                                                                                \
        changed();                                                                                 \
    }

FL_SETTER(Appearance, int, appearance_)
FL_SETTER(BackColor, Colour, backColor_)
FL_SETTER(BorderStyle, int, borderStyle_)
FL_SETTER(ForeColor, Colour, foreColor_)
FL_SETTER(ButtonsPerRow, long, buttonsPerRow_)
FL_SETTER(AutoSize, bool, autoSize_)
FL_SETTER(HoverColor, Colour, hoverColor_)
FL_SETTER(WarpSize, bool, warpSize_)
FL_SETTER(TooTipStyle, long, tooTipStyle_)
FL_SETTER(ToolTipBackCol, Colour, toolTipBackCol_)
FL_SETTER(ToolTipForeCol, Colour, toolTipForeCol_)
FL_SETTER(BackGradient, long, backGradient_)
FL_SETTER(BackGradientCol, Colour, backGradientCol_)
FL_SETTER(ButtonsStyle, long, buttonsStyle_)
FL_SETTER(BorderColor, Colour, borderColor_)
FL_SETTER(HoverIconShadow, bool, hoverIconShadow_)
FL_SETTER(BackGround, const Picture&, background_)
#undef FL_SETTER

// Docking belongs to the host's layout, not to the control's stored state.
void ToolBar::setAlign(int v) {
    dock_ = v;
    RedrawControl();
}

// A width or height below 1 would leave the grid without cells.
void ToolBar::setButtonsWidth(long v) {
    buttonsWidth_ = std::max(1L, v);
    changed();
}

void ToolBar::setButtonsHeight(long v) {
    buttonsHeight_ = std::max(1L, v);
    changed();
}

void ToolBar::setEnabled(bool v) {
    enabled_ = v;
    if (hwnd_)
        EnableWindow(hwnd_, v);
    if (!v)
        buttonIndex_ = -1;
    changed();
}

void ToolBar::setFont(const FontDesc& v) {
    font_ = v;
    barFont_.set(font_);
    changed();
}

HFONT ToolBar::currentFont() const {
    return barFont_.orHostFont(parent_);
}

void ToolBar::setButton_Count(long v) {
    if (v < 1 || v == Button_Count())
        return;
    while (Button_Count() < v)
        buttons_.push_back(newButton(Button_Count()));
    buttons_.resize(static_cast<size_t>(v));
    if (buttonIndex_ >= v)
        buttonIndex_ = -1;
    changed();
}

void ToolBar::setButton_Index(long v) {
    buttonIndex_ = v;
    changed();
}

ToolBar::Button* ToolBar::button(long i) {
    if (i < 0 || i >= Button_Count())
        return nullptr;
    return &buttons_[static_cast<size_t>(i)];
}

const ToolBar::Button* ToolBar::button(long i) const {
    if (i < 0 || i >= Button_Count())
        return nullptr;
    return &buttons_[static_cast<size_t>(i)];
}

#define FL_BUTTON_PROP(Name, Type, field, def)                                                     \
    Type ToolBar::Name(long i) const {                                                             \
        const Button* b = button(i);                                                               \
        return b ? b->field : def;                                                                 \
    }                                                                                              \
    void ToolBar::set##Name(long i, Type v) {                                                      \
        if (Button* b = button(i)) {                                                               \
            b->field = v;                                                                          \
            changed();                                                                             \
        }                                                                                          \
    }

FL_BUTTON_PROP(ButtonToolTipIcon, long, toolTipIcon, 0)
FL_BUTTON_PROP(ButtonEnabled, bool, enabled, true)
FL_BUTTON_PROP(ButtonPressed, bool, pressed, false)
FL_BUTTON_PROP(ButtonIconAllignment, long, iconAlignment, 0)
#undef FL_BUTTON_PROP

std::string ToolBar::ButtonCaption(long i) const {
    const Button* b = button(i);
    return b ? b->caption : std::string();
}
void ToolBar::setButtonCaption(long i, const std::string& v) {
    if (Button* b = button(i)) {
        b->caption = v;
        changed();
    }
}
Picture ToolBar::ButtonIcon(long i) const {
    const Button* b = button(i);
    return b ? b->picture : Picture{};
}
void ToolBar::setButtonIcon(long i, const Picture& v) {
    if (Button* b = button(i)) {
        b->picture = v;
        changed();
    }
}
std::string ToolBar::ButtonToolTip(long i) const {
    const Button* b = button(i);
    return b ? b->toolTipText : std::string();
}
void ToolBar::setButtonToolTip(long i, const std::string& v) {
    if (Button* b = button(i)) {
        b->toolTipText = v;
        changed();
    }
}

void ToolBar::ButtonRemove() {
    if (Button_Count() <= 1 || !button(buttonIndex_))
        return;
    buttons_.erase(buttons_.begin() + buttonIndex_);
    buttonIndex_ = -1;
    changed();
}

void ToolBar::ButtonMoveTo(long pos) {
    if (!button(buttonIndex_) || pos < 0 || pos >= Button_Count() || pos == buttonIndex_)
        return;
    Button b = buttons_[static_cast<size_t>(buttonIndex_)];
    buttons_.erase(buttons_.begin() + buttonIndex_);
    buttons_.insert(buttons_.begin() + pos, b);
    changed();
}

void ToolBar::ShowHoverState(long index, bool mouseDown) {
    buttonIndex_ = button(index) ? index : -1;
    mouseDown_ = mouseDown;
    RedrawControl();
}

// --- methods ------------------------------------------------------------------

Colour ToolBar::TranslateColor(Colour c) {
    return controls::TranslateColor(c, systemColourLookup);
}

Colour ToolBar::BlendColor(Colour from, Colour to, long alpha) {
    return controls::BlendColor(TranslateColor(from), TranslateColor(to),
                                static_cast<int>(std::clamp(alpha, 0L, 255L)));
}

std::vector<std::string> ToolBar::SplitToLines(const std::string& text, int width, bool filter) {
    // Measured on the drawing surface, or on the screen before it exists.
    std::optional<platform::ScreenDC> screen;
    if (!surface_.dc())
        screen.emplace();
    HDC dc = screen ? screen->get() : surface_.dc();
    platform::Selected keep(dc, currentFont());
    return controls::SplitToLines(text, width, filter, [dc](std::string_view s) {
        SIZE sz{0, 0};
        GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &sz);
        return static_cast<int>(sz.cx);
    });
}

void ToolBar::TileBitmap(HDC dc, const RECT& r, const Picture& pic) {
    SIZE sz = pic.size();
    if (pic.empty() || sz.cx <= 0 || sz.cy <= 0)
        return;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    for (int y = r.top; y < r.bottom; y += sz.cy)
        for (int x = r.left; x < r.right; x += sz.cx)
            drawPicture(dc, pic, x, y);
    RestoreDC(dc, saved);
}

void ToolBar::RedrawControl() {
    if (!hwnd_)
        return;
    if (painting_) {
        repaintPending_ = true;
        return;
    }
    painting_ = true;
    do {
        repaintPending_ = false;
        paint();
    } while (repaintPending_);
    painting_ = false;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void ToolBar::computeGrid() {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    ToolbarGridInput in;
    in.width = rc.right;
    in.height = rc.bottom;
    in.buttonCount = static_cast<int>(buttons_.size());
    in.buttonsWidth = static_cast<int>(buttonsWidth_);
    in.buttonsHeight = static_cast<int>(buttonsHeight_);
    in.buttonsPerRow = static_cast<int>(buttonsPerRow_);
    in.autoSize = autoSize_;
    in.warpSize = warpSize_;
    in.dockedLeftOrRight = dock_ == DockLeft || dock_ == DockRight;
    in.dockedTopOrBottom = dock_ == DockTop || dock_ == DockBottom;
    grid_ = ComputeToolbarGrid(in);
    if (autoSize_)
        buttonsPerRow_ = grid_.buttonsPerRow;
    if (warpSize_ && (grid_.width != rc.right || grid_.height != rc.bottom)) {
        resizing_ = true;
        SetWindowPos(hwnd_, nullptr, 0, 0, grid_.width, grid_.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        resizing_ = false;
    }
}

const Surface& ToolBar::DrawnSurface() {
    if (drawingPutOff_)
        drawSurface();
    return surface_;
}

void ToolBar::paint() {
    if (OnRedrawing)
        OnRedrawing(buttonIndex_);
    computeGrid();
    if (!IsWindowVisible(hwnd_)) {
        drawingPutOff_ = true;
        return;
    }
    drawSurface();
}

void ToolBar::drawSurface() {
    drawingPutOff_ = false;
    if (!surface_.fitClient(hwnd_))
        return;
    HDC dc = surface_.dc();
    RECT rc = {0, 0, surface_.width(), surface_.height()};
    fillRect(dc, rc, gdiColour(backColor_));
    HGDIOBJ oldFont = SelectObject(dc, currentFont());

    if (!background_.empty() && backGradient_ == 0)
        TileBitmap(dc, rc, background_);

    if (backGradient_ != 0) {
        std::vector<std::uint32_t> px;
        if (FillGradient(px, rc.right, rc.bottom, static_cast<int>(backGradient_),
                         TranslateColor(backGradientCol_), TranslateColor(backColor_))) {
            GdiFlush();
            std::memcpy(surface_.pixels(), px.data(), px.size() * sizeof(std::uint32_t));
        }
    }

    if (borderStyle_ == 1 || borderStyle_ == 2)
        drawFrame(dc, rc, gdiColour(borderColor_), borderStyle_ == 1, appearance_ != 0);
    int frameUnit = borderStyle_ != 0 ? 2 : 1;
    if (buttonsStyle_ == 2 && borderStyle_ == 0)
        frameUnit = 0;

    SetBkMode(dc, TRANSPARENT);
    const bool cue = focusCueShown();
    for (long i = 0; i < Button_Count(); ++i)
        paintButton(dc, i, frameUnit, cue && i == focusIndex_);
    if (cue && focusIndex_ >= 0 && focusIndex_ < Button_Count()) {
        // The keyboard's button: its hover look and a focus rectangle.
        const Rect c = ToolbarCell(grid_, static_cast<int>(focusIndex_));
        RECT f{c.left + 3, c.top + 3, c.right - 3, c.bottom - 3};
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &f);
    }
    SelectObject(dc, oldFont);
    GdiFlush();
}

void ToolBar::paintButton(HDC dc, long i, int fu, bool keyboardFocus) {
    const Button& b = buttons_[static_cast<size_t>(i)];
    const Rect cellR = ToolbarCell(grid_, static_cast<int>(i));
    const RECT cell{cellR.left, cellR.top, cellR.right, cellR.bottom};
    const SIZE pic = b.picture.size();
    const int align = static_cast<int>(b.iconAlignment);
    const bool usable = b.enabled && enabled_;
    const bool hovered = (i == buttonIndex_ || keyboardFocus) && usable;

    const COLORREF border = gdiColour(borderColor_);
    const RECT frame{cell.left + fu, cell.top + fu, cell.right - fu, cell.bottom - fu};
    if (b.pressed) {
        const int inset = (5 * fu) / 2;
        drawFrame(dc,
                  {cell.left + inset, cell.top + inset, cell.right - inset, cell.bottom - inset},
                  border, false, appearance_ != 0);
    } else if (hovered) {
        if (buttonsStyle_ == 2) {
            fillRect(dc, frame, BlendColor(hoverColor_, rgb(255, 255, 255), 100));
            outlineRect(dc, frame, BlendColor(hoverColor_, rgb(0, 0, 0), 250));
        } else {
            fillRect(dc, frame, gdiColour(hoverColor_));
            drawFrame(dc, frame, border, !mouseDown_, appearance_ != 0);
        }
    } else if (buttonsStyle_ == 1 && b.enabled) {
        drawFrame(dc, frame, border, true, appearance_ != 0);
    }

    // Caption lines, each prefixed with a space.
    const int wrap = CaptionWrapWidth(grid_.columnWidth, align, b.picture.empty() ? 0 : pic.cx);
    std::vector<std::string> lines;
    if (!b.caption.empty())
        lines = SplitToLines(b.caption, wrap, true);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    const int lineHeight = std::max(1, static_cast<int>(tm.tmHeight));
    const int captionHeight = static_cast<int>(lines.size()) * lineHeight;
    const ButtonPlacement place = PlaceButtonContent(cellR, align, b.picture.empty() ? 0 : pic.cx,
                                                     b.picture.empty() ? 0 : pic.cy, captionHeight);

    if (place.hasPicture) {
        if (hovered && hoverIconShadow_) {
            drawSilhouette(dc, b.picture, place.pictureX + kShadowOffset,
                           place.pictureY + kShadowOffset,
                           BlendColor(hoverColor_, rgb(0, 0, 0), 110));
            drawPicture(dc, b.picture, place.pictureX - kShadowOffset,
                        place.pictureY - kShadowOffset);
        } else {
            drawPicture(dc, b.picture, place.pictureX, place.pictureY, 0, 0, !usable);
        }
    }

    SetTextColor(dc, usable ? gdiColour(foreColor_) : gdiColour(systemColour(SysGrayText)));
    UINT fmt = DT_SINGLELINE | DT_NOPREFIX | DT_TOP;
    fmt |= place.captionAlign == 0 ? DT_LEFT : place.captionAlign == 2 ? DT_RIGHT : DT_CENTER;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
    for (size_t k = 0; k < lines.size(); ++k) {
        std::string line(1, ' ');
        line += rtrim(lines[k]);
        RECT lr{place.caption.left, place.caption.top + static_cast<int>(k) * lineHeight,
                place.caption.right, place.caption.top + static_cast<int>(k + 1) * lineHeight};
        DrawTextA(dc, line.c_str(), static_cast<int>(line.size()), &lr, fmt);
    }
    RestoreDC(dc, saved);
}

// --- stored state -------------------------------------------------------------

void ToolBar::ReadProperties(const PropertyBag& bag) {
    appearance_ = static_cast<int>(bag.readInt("Appearance", 0));
    backColor_ = bag.readColour("BackColor", systemColour(SysButtonFace));
    borderStyle_ = static_cast<int>(bag.readInt("BorderStyle", 0));
    enabled_ = bag.readBool("Enabled", true);
    foreColor_ = bag.readColour("ForeColor", 0);
    font_ = readFontProperty(bag);
    barFont_.set(font_);
    const long count = static_cast<long>(std::max<std::int64_t>(1, bag.readInt("Button_Count", 1)));
    buttonIndex_ = static_cast<long>(bag.readInt("Button_Index", 0));
    buttonsWidth_ = std::max(1L, static_cast<long>(bag.readInt("ButtonsWidth", 90)));
    buttonsHeight_ = std::max(1L, static_cast<long>(bag.readInt("ButtonsHeight", 40)));
    buttonsPerRow_ = static_cast<long>(bag.readInt("ButtonsPerRow", 3));
    autoSize_ = bag.readBool("AutoSize", true);
    hoverColor_ = bag.readColour("HoverColor", systemColour(SysButtonFace));
    warpSize_ = bag.readBool("WarpSize", true);
    tooTipStyle_ = static_cast<long>(bag.readInt("TooTipStyle", 2));
    toolTipBackCol_ = bag.readColour("ToolTipBackCol", 15138301);
    toolTipForeCol_ = bag.readColour("ToolTipForeCol", 0);
    backGradient_ = static_cast<long>(bag.readInt("BackGradient", 0));
    backGradientCol_ = bag.readColour("BackGradientCol", 12632319);
    buttonsStyle_ = static_cast<long>(bag.readInt("ButtonsStyle", 0));
    borderColor_ = bag.readColour("BorderColor", systemColour(10));
    hoverIconShadow_ = bag.readBool("HoverIconShadow", true);
    buttons_.assign(static_cast<size_t>(count), Button{});
    for (long i = 0; i < count; ++i) {
        Button& b = buttons_[static_cast<size_t>(i)];
        b.caption = bag.readString(PropertyBag::itemName("ButtonCaption", i), "Button ");
        b.toolTipText = bag.readString(PropertyBag::itemName("ButtonToolTipText", i), "");
        b.toolTipIcon =
            static_cast<long>(bag.readInt(PropertyBag::itemName("ButtonToolTipIcon", i), 0));
        b.enabled = bag.readBool(PropertyBag::itemName("ButtonEnabled", i), true);
        b.pressed = bag.readBool(PropertyBag::itemName("ButtonPressed", i), false);
        b.iconAlignment =
            static_cast<long>(bag.readInt(PropertyBag::itemName("ButtonIconAllignment", i), 0));
    }
    if (hwnd_) {
        EnableWindow(hwnd_, enabled_);
        buttonIndex_ = -1; // nothing is under the mouse when the control starts
    }
    changed_ = false;
    RedrawControl();
}

void ToolBar::WriteProperties(PropertyBag& bag) const {
    bag.writeInt("Appearance", appearance_, 0);
    bag.writeColour("BackColor", backColor_, systemColour(SysButtonFace));
    bag.writeInt("BorderStyle", borderStyle_, 0);
    bag.writeBool("Enabled", enabled_, true);
    bag.writeColour("ForeColor", foreColor_, 0);
    writeFontProperty(bag, font_);
    bag.writeInt("Button_Count", Button_Count(), 1);
    bag.writeInt("Button_Index", buttonIndex_, 0);
    bag.writeInt("ButtonsWidth", buttonsWidth_, 90);
    bag.writeInt("ButtonsHeight", buttonsHeight_, 40);
    bag.writeInt("ButtonsPerRow", buttonsPerRow_, 3);
    bag.writeBool("AutoSize", autoSize_, true);
    bag.writeColour("HoverColor", hoverColor_, systemColour(SysButtonFace));
    bag.writeBool("WarpSize", warpSize_, true);
    bag.writeInt("TooTipStyle", tooTipStyle_, 2);
    bag.writeColour("ToolTipBackCol", toolTipBackCol_, 15138301);
    bag.writeColour("ToolTipForeCol", toolTipForeCol_, 0);
    bag.writeInt("BackGradient", backGradient_, 0);
    bag.writeColour("BackGradientCol", backGradientCol_, 12632319);
    bag.writeInt("ButtonsStyle", buttonsStyle_, 0);
    bag.writeColour("BorderColor", borderColor_, systemColour(10));
    bag.writeBool("HoverIconShadow", hoverIconShadow_, true);
    for (long i = 0; i < Button_Count(); ++i) {
        const Button& b = buttons_[static_cast<size_t>(i)];
        bag.writeString(PropertyBag::itemName("ButtonCaption", i), b.caption, "Button ");
        bag.writeString(PropertyBag::itemName("ButtonToolTipText", i), b.toolTipText, "");
        bag.writeInt(PropertyBag::itemName("ButtonToolTipIcon", i), b.toolTipIcon, 0);
        bag.writeBool(PropertyBag::itemName("ButtonEnabled", i), b.enabled, true);
        bag.writeBool(PropertyBag::itemName("ButtonPressed", i), b.pressed, false);
        bag.writeInt(PropertyBag::itemName("ButtonIconAllignment", i), b.iconAlignment, 0);
    }
}

} // namespace controls
