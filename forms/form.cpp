#include "forms/form.h"

#include "forms/controls.h"
#include "controls/window_objects.h"
#include "forms/pure/twips.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <set>

namespace forms {

namespace {

std::set<Form*>& loadedForms() {
    static std::set<Form*> forms;
    return forms;
}

HINSTANCE instance() {
    return GetModuleHandleA(nullptr);
}

} // namespace

int screenDpi() {
    static int dpi = [] {
        platform::ScreenDC dc;
        int d = dc ? GetDeviceCaps(dc.get(), LOGPIXELSX) : 96;
        return d > 0 ? d : 96;
    }();
    return dpi;
}

int toPixels(int twips) {
    return twipsToPixels(twips, screenDpi());
}
int toTwips(int pixels) {
    return pixelsToTwips(pixels, screenDpi());
}

HFONT defaultFont() {
    return defaultFont(screenDpi());
}

HFONT defaultFont(int dpi) {
    // One font per resolution, kept for the program's life.
    static std::map<int, HFONT> fonts;
    HFONT& font = fonts[dpi];
    if (!font) {
        NONCLIENTMETRICSA ncm{};
        ncm.cbSize = sizeof ncm;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
            // The system's metrics are at the screen's resolution.
            ncm.lfMessageFont.lfHeight = MulDiv(ncm.lfMessageFont.lfHeight, dpi, screenDpi());
            font = CreateFontIndirectA(&ncm.lfMessageFont);
        }
        if (!font)
            font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    return font;
}

Form::Form(std::string name, std::string caption)
    : name_(std::move(name)), caption_(std::move(caption)) {}

int Form::pixels(int twips) const {
    return twipsToPixels(twips, dpi());
}
int Form::twips(int pixels) const {
    return pixelsToTwips(pixels, dpi());
}

Form::~Form() {
    if (hwnd_) {
        unloading_ = true;
        destroy();
    }
}

void Form::registerControl(Control* c) {
    controls_.push_back(c);
}

void Form::unregisterControl(Control* c) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
}

Control* Form::control(const std::string& name) const {
    for (Control* c : controls_)
        if (c->name() == name)
            return c;
    return nullptr;
}

Control* Form::byId(int id) const {
    for (Control* c : controls_)
        if (c->id() == id)
            return c;
    return nullptr;
}

HWND Form::window() {
    if (!hwnd_ && !loading_)
        create();
    return hwnd_;
}

void Form::create() {
    loading_ = true;
    if (!initialized_) {
        initialized_ = true;
        Form_Initialize();
    }
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(instance(), name_.c_str(), &wc)) {
        wc = WNDCLASSEXA{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Form::windowProc;
        wc.hInstance = instance();
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = name_.c_str();
        wc.hIcon = LoadIcon(instance(), MAKEINTRESOURCE(1));
        if (!wc.hIcon)
            wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
        RegisterClassExA(&wc);
    }
    hwnd_ = CreateWindowExA(WS_EX_CONTROLPARENT, name_.c_str(), caption_.c_str(), style_,
                            CW_USEDEFAULT, CW_USEDEFAULT, pixels(initialWidth_),
                            pixels(initialHeight_), nullptr, nullptr, instance(), this);
    if (!hwnd_) {
        loading_ = false;
        return;
    }
    loadedForms().insert(this);
    // The keyboard cues start hidden (unless the system shows them always):
    // the keyboard shows them (preTranslate).
    cuesHidden_ = false;
    SendMessageA(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    placeBeforeCreation();
    for (Control* c : controls_) {
        c->id_ = allocateId();
        c->hwnd_ = c->createWindow(hwnd_);
        if (c->hwnd_) {
            SendMessageA(c->hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(defaultFont(dpi())), FALSE);
            if (!c->enabled_)
                EnableWindow(c->hwnd_, FALSE);
            c->subclass();
        }
        c->afterCreate();
    }
    // Child windows stack in creation order, the first on top; page stacks go
    // beneath everything, an inner stack above the stack that holds it.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if ((*it)->kind() == Kind::PageStack && (*it)->hwnd())
            SetWindowPos((*it)->hwnd(), HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (Control* c : controls_)
        if (!c->placedAtCreation_) {
            c->applyGeometry();
            c->applyVisibility();
        }
    dockControls();
    Form_Load();
    loading_ = false;
}

void Form::destroy(bool windowGone) {
    HWND h = hwnd_;
    for (Control* c : controls_)
        c->onDestroy();
    for (Control* c : controls_)
        c->hwnd_ = nullptr;
    hwnd_ = nullptr;
    loadedForms().erase(this);
    if (h && !windowGone)
        DestroyWindow(h);
    if (loadedForms().empty())
        PostQuitMessage(0);
}

void Form::Show(Form* owner) {
    Show(owner ? owner->window() : HWND(nullptr));
}

void Form::Show(HWND owner) {
    HWND h = window();
    if (!h)
        return;
    SetWindowLongPtrA(h, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    ShowWindow(h, SW_SHOW);
    UpdateWindow(h);
}

void Form::Hide() {
    if (hwnd_)
        ShowWindow(hwnd_, SW_HIDE);
}

bool Form::Visible() const {
    return hwnd_ && IsWindowVisible(hwnd_);
}

bool Form::Unload(int mode) {
    if (!hwnd_ || unloading_)
        return true;
    int cancel = 0;
    Form_QueryUnload(cancel, mode);
    if (cancel)
        return false;
    Form_Unload(cancel);
    if (cancel)
        return false;
    unloading_ = true;
    destroy();
    unloading_ = false;
    return true;
}

namespace {
RECT windowRect(HWND h) {
    RECT r{};
    if (h) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        // The restored rectangle also holds for a minimised or maximised window.
        if (IsIconic(h) || IsZoomed(h)) {
            GetWindowPlacement(h, &wp);
            return wp.rcNormalPosition;
        }
        GetWindowRect(h, &r);
    }
    return r;
}
} // namespace

int Form::Left() const {
    return twips(windowRect(hwnd_).left);
}
int Form::Top() const {
    return twips(windowRect(hwnd_).top);
}
int Form::Width() const {
    if (!hwnd_)
        return initialWidth_;
    RECT r = windowRect(hwnd_);
    return twips(r.right - r.left);
}
int Form::Height() const {
    if (!hwnd_)
        return initialHeight_;
    RECT r = windowRect(hwnd_);
    return twips(r.bottom - r.top);
}

void Form::Move(int left, int top, int width, int height) {
    HWND h = window();
    if (!h)
        return;
    if (IsIconic(h) || IsZoomed(h)) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(h, &wp);
        wp.rcNormalPosition = {pixels(left), pixels(top), pixels(left + width),
                               pixels(top + height)};
        SetWindowPlacement(h, &wp);
        return;
    }
    MoveWindow(h, pixels(left), pixels(top), pixels(width), pixels(height), TRUE);
}

void Form::setLeft(int v) {
    Move(v, Top(), Width(), Height());
}
void Form::setTop(int v) {
    Move(Left(), v, Width(), Height());
}
void Form::setWidth(int v) {
    if (!hwnd_ && !loading_)
        initialWidth_ = v;
    Move(Left(), Top(), v, Height());
}
void Form::setHeight(int v) {
    if (!hwnd_ && !loading_)
        initialHeight_ = v;
    Move(Left(), Top(), Width(), v);
}

int Form::ScaleWidth() const {
    RECT r{};
    if (hwnd_)
        GetClientRect(hwnd_, &r);
    return twips(r.right);
}
int Form::ScaleHeight() const {
    RECT r{};
    if (hwnd_)
        GetClientRect(hwnd_, &r);
    return twips(r.bottom);
}

void Form::setCaption(const std::string& text) {
    if (text == caption_)
        return;
    caption_ = text;
    if (hwnd_)
        SetWindowTextA(hwnd_, caption_.c_str());
}

void Form::SetFocus() {
    if (window())
        ::SetFocus(hwnd_);
}

LRESULT CALLBACK Form::windowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Form* self;
    if (msg == WM_NCCREATE) {
        self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        controls::attachObject(h, self);
        self->hwnd_ = h;
    } else {
        self = controls::objectOf<Form>(h);
        if (msg == WM_NCDESTROY)
            controls::detachObject(h, self);
    }
    if (!self || self->hwnd_ != h)
        return DefWindowProcA(h, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        // Destroyed without an unload (its owner went): the form lets go of
        // the window, so that it can be loaded again.
        LRESULT r = self->handle(msg, wp, lp);
        self->destroy(true);
        return r;
    }
    return self->handle(msg, wp, lp);
}

LRESULT Form::handle(UINT msg, WPARAM wp, LPARAM lp) {
    bool handled = false;
    LRESULT r = onMessage(msg, wp, lp, handled);
    if (handled)
        return r;
    switch (msg) {
    case WM_QUERYUISTATE:
        // The window keeps its keyboard cues itself (not every system does).
        return cuesHidden_ ? UISF_HIDEFOCUS : 0;
    case WM_CHANGEUISTATE: {
        if (!(HIWORD(wp) & UISF_HIDEFOCUS))
            return 0;
        BOOL always = FALSE;
        SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &always, 0);
        const bool hidden = LOWORD(wp) == UIS_SET && !always;
        if (hidden == cuesHidden_)
            return 0;
        cuesHidden_ = hidden;
        // Every control redraws its cue (or stops drawing it).
        EnumChildWindows(
            hwnd_,
            [](HWND child, LPARAM state) {
                SendMessageA(child, WM_UPDATEUISTATE, static_cast<WPARAM>(state), 0);
                return TRUE;
            },
            static_cast<LPARAM>(MAKEWPARAM(hidden ? UIS_SET : UIS_CLEAR, UISF_HIDEFOCUS)));
        return 0;
    }
    case WM_COMMAND:
        if (lp) {
            if (Control* c = byId(LOWORD(wp)))
                c->onCommand(HIWORD(wp));
            return 0;
        }
        break;
    case WM_NOTIFY: {
        auto* nm = reinterpret_cast<NMHDR*>(lp);
        if (Control* c = byId(static_cast<int>(nm->idFrom))) {
            bool h = false;
            LRESULT res = c->onNotify(nm, h);
            if (h)
                return res;
        }
        break;
    }
    case WM_MEASUREITEM:
        if (wp)
            if (Control* c = byId(static_cast<int>(wp)))
                if (c->onMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lp)))
                    return TRUE;
        break;
    case WM_DRAWITEM:
        if (wp)
            if (Control* c = byId(static_cast<int>(wp)))
                if (c->onDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lp)))
                    return TRUE;
        break;
    case WM_TIMER:
        if (Control* c = byId(static_cast<int>(wp)); c && c->kind() == Kind::Timer) {
            static_cast<Timer*>(c)->fire();
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        for (Control* c : controls_)
            if (c->hwnd() == reinterpret_cast<HWND>(lp)) {
                if (HBRUSH b = c->ctlColor(reinterpret_cast<HDC>(wp)))
                    return reinterpret_cast<LRESULT>(b);
                break;
            }
        break;
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
        // Pages take their colour from the visual style: sample it again.
        for (Control* c : controls_)
            if (c->kind() == Kind::PageStack)
                static_cast<PageStack*>(c)->forgetBodyBrush();
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
    case WM_GETMINMAXINFO:
        if (minWidth_ > 0 || minHeight_ > 0) {
            auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
            mm->ptMinTrackSize.x = std::max<LONG>(mm->ptMinTrackSize.x, pixels(minWidth_));
            mm->ptMinTrackSize.y = std::max<LONG>(mm->ptMinTrackSize.y, pixels(minHeight_));
            return 0;
        }
        break;
    case WM_DPICHANGED: {
        // Moved to a screen of another resolution: the same twips in the new
        // pixels, the standard font at the new size, the size the system
        // suggests.
        const HFONT oldFont = defaultFont(dpi());
        dpi_ = HIWORD(wp);
        const HFONT font = defaultFont(dpi_);
        for (Control* c : controls_)
            if (c->hwnd_ &&
                reinterpret_cast<HFONT>(SendMessageA(c->hwnd_, WM_GETFONT, 0, 0)) == oldFont)
                SendMessageA(c->hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        for (Control* c : controls_)
            c->applyGeometry();
        Form_DpiChanged();
        const RECT* r = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        dockControls();
        if (!loading_)
            Form_Resize();
        return 0;
    }
    case WM_SIZE:
        if (wp != SIZE_MINIMIZED) {
            dockControls();
            if (!loading_)
                Form_Resize();
        }
        return 0;
    case WM_CLOSE:
        Unload(vbFormControlMenu);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wp)
            Unload(vbAppWindows);
        return 0;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

bool Form::nextPage(bool backwards) {
    for (Control* c : controls_)
        if (c->kind() == Kind::PageStack && c->shown()) {
            auto* s = static_cast<PageStack*>(c);
            if (s->Tabs() > 0)
                s->setTab((s->Tab() + (backwards ? s->Tabs() - 1 : 1)) % s->Tabs());
            return true;
        }
    return false;
}

void Form::dockControls() {
    if (!hwnd_ || docking_)
        return;
    docking_ = true;
    RECT free{};
    GetClientRect(hwnd_, &free);
    // Top and bottom first (full width), then left and right between them.
    for (int pass = 0; pass < 2; ++pass)
        for (Control* c : controls_) {
            const int edge = c->dock_;
            const bool horizontal = edge == vbAlignTop || edge == vbAlignBottom;
            const bool vertical = edge == vbAlignLeft || edge == vbAlignRight;
            if (!(pass == 0 ? horizontal : vertical) || !c->visible_ || c->stack_)
                continue;
            const LONG w = free.right - free.left, h = free.bottom - free.top;
            const LONG thickness =
                std::min<LONG>(pixels(horizontal ? c->height_ : c->width_), horizontal ? h : w);
            RECT r = free;
            if (edge == vbAlignTop)
                r.bottom = r.top + thickness;
            else if (edge == vbAlignBottom)
                r.top = r.bottom - thickness;
            else if (edge == vbAlignLeft)
                r.right = r.left + thickness;
            else
                r.left = r.right - thickness;
            c->Move(twips(r.left), twips(r.top), twips(r.right - r.left), twips(r.bottom - r.top));
            // A control may size itself (a toolbar wrapping its buttons): the
            // edge it really takes is what the next control docks against.
            if (c->hwnd_) {
                GetWindowRect(c->hwnd_, &r);
                MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
                c->width_ = twips(r.right - r.left);
                c->height_ = twips(r.bottom - r.top);
            }
            if (edge == vbAlignTop)
                free.top = r.bottom;
            else if (edge == vbAlignBottom)
                free.bottom = r.top;
            else if (edge == vbAlignLeft)
                free.left = r.right;
            else
                free.right = r.left;
        }
    docking_ = false;
}

Form* Form::fromWindow(HWND h) {
    if (!h)
        return nullptr;
    Form* form = controls::objectOf<Form>(h);
    return form && form->hwnd_ == h ? form : nullptr;
}

namespace {

// Keyboard cues (the focus rectangle of the focused control) follow the
// system's convention: hidden while the mouse is used, shown as soon as the
// keyboard moves the focus, for the whole window at once.
void followInput(HWND top, const MSG& m) {
    bool keyboard = false;
    if (m.message == WM_KEYDOWN)
        switch (m.wParam) {
        case VK_TAB:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
            keyboard = true;
            break;
        default:
            break;
        }
    else if (m.message == WM_SYSKEYDOWN)
        keyboard = true; // Alt and the access keys
    const bool mouse =
        m.message == WM_LBUTTONDOWN || m.message == WM_RBUTTONDOWN || m.message == WM_MBUTTONDOWN;
    if (!keyboard && !mouse)
        return;
    const bool hidden = (SendMessageA(top, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
    if (keyboard && hidden)
        SendMessageA(top, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    else if (mouse && !hidden)
        SendMessageA(top, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
}

} // namespace

bool Form::preTranslate(MSG& m) {
    HWND top = GetAncestor(m.hwnd, GA_ROOT);
    if (!top)
        return false;
    if (fromWindow(top))
        followInput(top, m);
    if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN)
        if (Form* form = fromWindow(top); form && form->Form_KeyPreview(m))
            return true;
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages of a form's page stack.
    if (m.message == WM_KEYDOWN && m.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        Form* form = fromWindow(top);
        if (form && form->nextPage(GetKeyState(VK_SHIFT) < 0))
            return true;
    }
    // Tab and the arrow keys move between controls as in a dialog.
    return IsDialogMessageA(top, &m) != FALSE;
}

void DoEvents() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        if (Form::preTranslate(m))
            continue;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

int run() {
    MSG m;
    while (!loadedForms().empty() && GetMessageA(&m, nullptr, 0, 0) > 0) {
        if (Form::preTranslate(m))
            continue;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return 0;
}

void unloadAllForms(int mode) {
    // A form's unload may unload others: each is looked up again before its turn.
    std::vector<Form*> forms(loadedForms().begin(), loadedForms().end());
    for (Form* f : forms)
        if (loadedForms().count(f))
            f->Unload(mode);
}

int loadedFormCount() {
    return static_cast<int>(loadedForms().size());
}

void unloadOtherForms(Form& keep) {
    // An unload may unload other forms in turn: each is looked up afresh.
    std::vector<Form*> others(loadedForms().begin(), loadedForms().end());
    for (Form* f : others) {
        if (f == &keep || !loadedForms().count(f) || f->Unload(vbFormCode))
            continue;
        // It refused (to keep what it could not save): it must outlive
        // `keep`, whose window would take an owned window down with it.
        if (f->hwnd() && keep.hwnd() && GetWindow(f->hwnd(), GW_OWNER) == keep.hwnd())
            SetWindowLongPtrA(f->hwnd(), GWLP_HWNDPARENT, 0);
    }
}

} // namespace forms
