#include "forms/controls.h"

#include "controls/barsupport.h"
#include "controls/offscreen.h"
#include "controls/themedbutton.h"
#include "controls/window_objects.h"
#include "platform/handles.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace forms {

const char* kindName(Kind k) {
    switch (k) {
    case Kind::ListBox:
        return "ListBox";
    case Kind::TextBox:
        return "TextBox";
    case Kind::Label:
        return "Label";
    case Kind::CheckBox:
        return "CheckBox";
    case Kind::ComboBox:
        return "ComboBox";
    case Kind::Image:
        return "Image";
    case Kind::CommandButton:
        return "CommandButton";
    case Kind::PageStack:
        return "PageStack";
    case Kind::Timer:
        return "Timer";
    case Kind::Menu:
        return "Menu";
    case Kind::ToolBar:
        return "ToolBar";
    case Kind::StatusBar:
        return "StatusBar";
    case Kind::Custom:
        return "Custom";
    }
    return "";
}

namespace {

// The height of a line of `font` as drawn on the window (the screen when null).
int lineHeight(HWND hwnd, HFONT font) {
    platform::WindowDC dc(hwnd);
    platform::Selected keep(dc.get(), font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.get(), &tm);
    return tm.tmHeight;
}

std::string windowText(HWND h) {
    int n = GetWindowTextLengthA(h);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(h, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(n, 0)));
    return s;
}

// The text of a list or combo box item, in the ANSI code page. Read with the
// wide messages into a buffer sized from the item's length: the ANSI ones
// pass through a fixed-size buffer of the system's on some platforms (Wine
// overruns it with an item of a few hundred characters).
std::string itemText(HWND h, int index, UINT lengthMessage, UINT textMessage) {
    const LRESULT n = SendMessageW(h, lengthMessage, static_cast<WPARAM>(index), 0);
    if (n < 0) // LB_ERR and CB_ERR
        return {};
    std::wstring w(static_cast<size_t>(n) + 1, L'\0');
    const LRESULT got = SendMessageW(h, textMessage, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(w.data()));
    if (got <= 0)
        return {};
    w.resize(std::min(static_cast<size_t>(got), static_cast<size_t>(n)));
    const int size = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr,
                                         0, nullptr, nullptr);
    std::string s(static_cast<size_t>(std::max(size, 0)), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), size,
                            nullptr, nullptr);
    return s;
}
} // namespace

// ---- Control ---------------------------------------------------------------

Control::Control(Form& form, std::string name, Kind kind)
    : form_(form), name_(std::move(name)), kind_(kind) {
    form_.registerControl(this);
}

Control::~Control() {
    unhook();
    if (stack_)
        stack_->removeChild(this);
    form_.unregisterControl(this);
}

HWND Control::makeWindow(HWND parent, const char* cls, const char* text, DWORD style, DWORD exStyle,
                         const RECT* place) {
    // Born at its place and visibility, so that nothing moves or shows it
    // again before the first paint.
    RECT r = place ? *place : pixelRect();
    HWND h = CreateWindowExA(
        exStyle, cls, text, style | WS_CHILD | WS_CLIPSIBLINGS | (shown() ? WS_VISIBLE : 0), r.left,
        r.top, r.right - r.left, r.bottom - r.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleA(nullptr), nullptr);
    placedAtCreation_ = h != nullptr;
    return h;
}

RECT Control::pixelRect() const {
    int x = left_, y = top_;
    for (PageStack* s = stack_; s; s = s->stack_) {
        x += s->left_;
        y += s->top_;
    }
    int l = form_.pixels(x), t = form_.pixels(y);
    return {l, t, l + form_.pixels(std::max(width_, 0)), t + form_.pixels(std::max(height_, 0))};
}

void Control::addChangeListener(std::function<void()> listener) {
    changeListeners_.push_back(std::move(listener));
}

void Control::notifyChanged() {
    for (const auto& listener : changeListeners_)
        listener();
}

void Control::subclass() {
    controls::attachObject(hwnd_, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::hookProc)));
}

void Control::unhook() {
    if (!hwnd_)
        return;
    if (controls::objectOf<Control>(hwnd_) != this)
        return;
    controls::detachObject(hwnd_, this);
    // A window that outlives its control gets its class's procedure back.
    if (GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Control::hookProc))
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
}

LRESULT Control::callOriginal(UINT msg, WPARAM wp, LPARAM lp) {
    return CallWindowProcW(original_, hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Control::hookProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Control* self = controls::objectOf<Control>(h);
    if (!self)
        return DefWindowProcW(h, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        // The window goes: leave the table, let the class clean up.
        WNDPROC original = self->original_;
        controls::detachObject(h, self);
        return CallWindowProcW(original, h, msg, wp, lp);
    }
    return self->hooked(h, msg, wp, lp);
}

LRESULT Control::hooked(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto pass = [&] { return CallWindowProcW(original_, h, msg, wp, lp); };
    bool handled = false;
    LRESULT r = onOwnMessage(msg, wp, lp, handled);
    if (handled)
        return r;
    if (ownInputEvents_)
        return pass();
    auto button = [&](int b) { return std::pair<int, int>{b, controls::shiftState()}; };
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (MouseDown) {
            auto [b, s] = button(msg == WM_LBUTTONDOWN   ? vbLeftButton
                                 : msg == WM_RBUTTONDOWN ? vbRightButton
                                                         : vbMiddleButton);
            LRESULT res = pass();
            MouseDown(b, s, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return res;
        }
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (MouseUp) {
            auto [b, s] = button(msg == WM_LBUTTONUP   ? vbLeftButton
                                 : msg == WM_RBUTTONUP ? vbRightButton
                                                       : vbMiddleButton);
            LRESULT res = pass();
            MouseUp(b, s, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return res;
        }
        break;
    case WM_MOUSEMOVE:
        if (MouseMove) {
            int b = (wp & MK_LBUTTON ? vbLeftButton : 0) | (wp & MK_RBUTTON ? vbRightButton : 0) |
                    (wp & MK_MBUTTON ? vbMiddleButton : 0);
            MouseMove(b, controls::shiftState(), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        }
        break;
    case WM_KEYDOWN:
        if (KeyDown) {
            int key = static_cast<int>(wp);
            KeyDown(key, controls::shiftState());
            if (key == 0)
                return 0;
            wp = static_cast<WPARAM>(key);
        }
        break;
    }
    return pass();
}

void Control::Move(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    applyGeometry();
    if (dock_ != vbAlignNone)
        form_.dockControls(); // a new thickness moves the others along
}

void Control::applyGeometry() {
    if (!hwnd_)
        return;
    RECT r = pixelRect();
    MoveWindow(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

bool Control::shown() const {
    if (!visible_)
        return false;
    if (stack_)
        return stack_->tab_ == page_ && stack_->shown();
    return true;
}

void Control::applyVisibility() {
    if (!hwnd_)
        return;
    bool s = shown();
    bool now = (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (s != now)
        ShowWindow(hwnd_, s ? SW_SHOWNA : SW_HIDE);
}

void Control::setVisible(bool v) {
    if (v == visible_)
        return;
    visible_ = v;
    applyVisibility();
    if (kind_ == Kind::PageStack)
        static_cast<PageStack*>(this)->refreshChildren();
    if (dock_ != vbAlignNone)
        form_.dockControls(); // its edge is taken or given back
}

void Control::setAlign(int edge) {
    if (edge < vbAlignNone || edge > vbAlignRight || edge == dock_)
        return;
    dock_ = edge;
    form_.dockControls();
}

void Control::setEnabled(bool v) {
    if (v == enabled_)
        return;
    enabled_ = v;
    if (hwnd_)
        EnableWindow(hwnd_, v);
}

void Control::setForeColor(unsigned long c) {
    if (fore_ == c)
        return;
    fore_ = c;
    onColoursChanged();
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::setBackColor(unsigned long c) {
    if (back_ == c)
        return;
    back_ = c;
    if (brush_) {
        brush_.reset();
    }
    onColoursChanged();
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH Control::ctlColor(HDC dc) {
    if (!fore_ && !back_) {
        // Labels and check boxes on a page take the colour of the page.
        if (stack_ && kind_ != Kind::TextBox && kind_ != Kind::ListBox && kind_ != Kind::ComboBox) {
            SetBkMode(dc, TRANSPARENT);
            return stack_->bodyBrush();
        }
        return nullptr;
    }
    if (fore_)
        SetTextColor(dc, *fore_);
    if (back_) {
        SetBkColor(dc, *back_);
        if (!brush_)
            brush_.reset(CreateSolidBrush(*back_));
        return brush_.get();
    }
    SetBkMode(dc, TRANSPARENT);
    // Coloured text alone: on a page, still the page's own colour behind it.
    if (stack_ && kind_ != Kind::TextBox && kind_ != Kind::ListBox && kind_ != Kind::ComboBox)
        return stack_->bodyBrush();
    return GetSysColorBrush(kind_ == Kind::TextBox || kind_ == Kind::ListBox ? COLOR_WINDOW
                                                                             : COLOR_BTNFACE);
}

void Control::placeOn(PageStack& stack, int page) {
    if (stack_)
        stack_->removeChild(this);
    stack_ = &stack;
    page_ = page;
    stack.addChild(this);
    applyGeometry();
    applyVisibility();
}

void Control::SetFocus() {
    if (hwnd_)
        ::SetFocus(hwnd_);
}

// ---- ListBox ---------------------------------------------------------------

ListBox::ListBox(Form& form, std::string name, ListBoxOptions options)
    : Control(form, std::move(name), Kind::ListBox), options_(options) {
    width_ = 2400;
    height_ = 2400;
}

HWND ListBox::createWindow(HWND parent) {
    ownerDrawn_ = static_cast<bool>(ItemNote);
    DWORD style = WS_TABSTOP | (options_.oneItem ? 0 : WS_VSCROLL) | LBS_NOTIFY |
                  LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | (options_.sorted ? LBS_SORT : 0) |
                  (options_.multiSelect ? LBS_EXTENDEDSEL : 0) |
                  (ownerDrawn_ ? LBS_OWNERDRAWFIXED : 0);
    RECT place = pixelRect();
    if (options_.oneItem) {
        // The item height the list takes from the font the form gives it.
        place = oneItemRect(place, lineHeight(nullptr, defaultFont(form_.dpi())));
    }
    HWND h = makeWindow(parent, "LISTBOX", "", style, WS_EX_CLIENTEDGE, &place);
    if (h && options_.oneItem) {
        // The arrows carry the list's id: their notifications come here.
        arrows_ = CreateWindowExA(
            0, UPDOWN_CLASSA, "", WS_CHILD | WS_CLIPSIBLINGS | (shown() ? WS_VISIBLE : 0),
            place.right, place.top, GetSystemMetrics(SM_CXVSCROLL), place.bottom - place.top,
            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleA(nullptr),
            nullptr);
        SendMessageA(arrows_, UDM_SETRANGE32, 0, 0x7FFF);
    }
    return h;
}

RECT ListBox::oneItemRect(RECT r, int itemHeight) const {
    if (itemHeight > 0)
        r.bottom = r.top + itemHeight + 2 * GetSystemMetrics(SM_CYEDGE);
    r.right = std::max(r.left, r.right - GetSystemMetrics(SM_CXVSCROLL));
    return r;
}

void ListBox::placeArrows() {
    if (!arrows_)
        return;
    RECT r;
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    const bool visible = (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
    SetWindowPos(arrows_, hwnd_, r.right, r.top, GetSystemMetrics(SM_CXVSCROLL), r.bottom - r.top,
                 SWP_NOACTIVATE | (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

LRESULT ListBox::onOwnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    handled = false;
    if (!options_.oneItem)
        return 0;
    switch (msg) {
    case WM_WINDOWPOSCHANGING: {
        // One whole item plus the borders, the arrows' width taken off.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
        if (!(pos->flags & SWP_NOSIZE)) {
            const int item = static_cast<int>(SendMessageA(hwnd_, LB_GETITEMHEIGHT, 0, 0));
            RECT r = oneItemRect({0, 0, pos->cx, pos->cy}, item);
            pos->cx = r.right;
            pos->cy = r.bottom;
        }
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        LRESULT r = callOriginal(msg, wp, lp);
        handled = true;
        placeArrows();
        return r;
    }
    case WM_SETFONT: {
        // A new item height: the list takes its place again.
        LRESULT r = callOriginal(msg, wp, lp);
        handled = true;
        applyGeometry();
        return r;
    }
    case WM_SHOWWINDOW:
        // Also while the form is still hidden (no position change comes then).
        if (arrows_ && !lp)
            ShowWindow(arrows_, wp ? SW_SHOWNA : SW_HIDE);
        return 0;
    case WM_ENABLE:
        if (arrows_)
            EnableWindow(arrows_, static_cast<BOOL>(wp));
        return 0;
    case WM_DESTROY:
        if (arrows_)
            DestroyWindow(arrows_);
        arrows_ = nullptr;
        return 0;
    default:
        return 0;
    }
}

LRESULT ListBox::onNotify(NMHDR* nm, bool& handled) {
    handled = false;
    if (!arrows_ || nm->hwndFrom != arrows_ || nm->code != UDN_DELTAPOS)
        return 0;
    // Up chooses the item before, down the item after.
    const auto* d = reinterpret_cast<const NMUPDOWN*>(nm);
    const int count = ListCount();
    if (count > 0) {
        const int next = std::clamp(ListIndex() - d->iDelta, 0, count - 1);
        if (next != ListIndex())
            setListIndex(next);
    }
    handled = true;
    return 1; // the arrows keep no position of their own
}

void ListBox::refreshNotes() {
    if (hwnd_ && ownerDrawn_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

bool ListBox::onMeasureItem(MEASUREITEMSTRUCT* m) {
    if (!ItemNote)
        return false;
    // The height of a line of the list's font, as the system's own list has.
    m->itemHeight = static_cast<UINT>(std::max(lineHeight(nullptr, defaultFont()), 1));
    return true;
}

bool ListBox::onDrawItem(DRAWITEMSTRUCT* d) {
    if (!ownerDrawn_)
        return false;
    HDC dc = d->hDC;
    RECT r = d->rcItem;
    if (d->itemID == static_cast<UINT>(-1)) {
        // An empty list with the focus still shows where it is.
        if (d->itemState & ODS_FOCUS)
            DrawFocusRect(dc, &r);
        return true;
    }
    const bool selected = (d->itemState & ODS_SELECTED) != 0;
    const bool disabled = (d->itemState & ODS_DISABLED) != 0;
    COLORREF back = selected ? GetSysColor(COLOR_HIGHLIGHT)
                             : (back_ ? COLORREF(*back_) : GetSysColor(COLOR_WINDOW));
    COLORREF fore = disabled   ? GetSysColor(COLOR_GRAYTEXT)
                    : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                               : (fore_ ? COLORREF(*fore_) : GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, back);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    const std::string text = List(static_cast<int>(d->itemID));
    HGDIOBJ oldFont = SelectObject(dc, defaultFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, fore);
    RECT t = r;
    t.left += 2;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &t,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    const std::string note = ItemNote ? ItemNote(text) : std::string();
    if (!note.empty()) {
        SIZE size{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        RECT n = r;
        n.left = t.left + size.cx + GetSystemMetrics(SM_CXEDGE) * 4;
        if (n.left < n.right) {
            // Grey beside the text; in the selection's colour when selected,
            // so that it stays readable there.
            SetTextColor(dc,
                         selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_GRAYTEXT));
            DrawTextA(dc, note.c_str(), static_cast<int>(note.size()), &n,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
    }
    SelectObject(dc, oldFont);
    if (d->itemState & ODS_FOCUS)
        DrawFocusRect(dc, &r);
    return true;
}

// The list keeps a copy of its items: every change goes through these
// members, so counts and texts are read without asking the window (which is
// cheap here and slow under a window server round trip), and an item's text
// is never squeezed through a fixed-size conversion buffer.
void ListBox::afterCreate() {
    if (options_.oneItem) {
        // Placed again only if the font gave the item another height than
        // the one the list was born with.
        RECT now, want = pixelRect();
        GetWindowRect(hwnd_, &now);
        const int item = static_cast<int>(SendMessageA(hwnd_, LB_GETITEMHEIGHT, 0, 0));
        want = oneItemRect(want, item);
        if (now.bottom - now.top != want.bottom - want.top)
            applyGeometry(); // the arrows follow (WM_WINDOWPOSCHANGED)
    }
    if (items_.empty())
        return;
    SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
    for (const auto& s : items_)
        SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    if (options_.sorted) {
        // The window put them in its own order: take that order.
        for (size_t i = 0; i < items_.size(); ++i)
            items_[i] = itemText(hwnd_, static_cast<int>(i), LB_GETTEXTLEN, LB_GETTEXT);
    }
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListBox::onDestroy() {
    // A form loaded again starts with empty lists, as a new one does.
    items_.clear();
}

void ListBox::AddItem(const std::string& item, int index) {
    ++itemChanges_;
    if (!hwnd_) {
        if (index < 0 || index >= static_cast<int>(items_.size()))
            items_.push_back(item);
        else
            items_.insert(items_.begin() + index, item);
        notifyChanged();
        return;
    }
    LRESULT at;
    if (index < 0 || options_.sorted || index >= static_cast<int>(items_.size()))
        at = SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    else
        at = SendMessageA(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(item.c_str()));
    if (at >= 0 && at <= static_cast<LRESULT>(items_.size()))
        items_.insert(items_.begin() + at, item);
    notifyChanged();
}

void ListBox::setItems(const std::vector<std::string>& items) {
    ++itemChanges_;
    if (!hwnd_) {
        items_ = items;
        notifyChanged();
        return;
    }
    SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
    items_.clear();
    items_.reserve(items.size());
    SendMessageA(hwnd_, LB_INITSTORAGE, items.size(), 0);
    for (const std::string& item : items) {
        LRESULT at = SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        if (at < 0)
            break; // out of room: the list keeps what it took
        items_.insert(items_.begin() + at, item);
    }
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
    notifyChanged();
}

void ListBox::AddItems(const std::vector<std::string>& items) {
    if (items.empty())
        return;
    ++itemChanges_;
    if (!hwnd_ || options_.sorted) {
        for (const std::string& item : items)
            AddItem(item);
        return;
    }
    size_t bytes = 0;
    for (const auto& s : items)
        bytes += s.size() + 1;
    items_.reserve(items_.size() + items.size());
    SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(hwnd_, LB_INITSTORAGE, items.size(), bytes);
    for (const auto& s : items) {
        if (SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str())) < 0)
            break; // out of room: the list keeps what it took
        items_.push_back(s);
    }
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
    notifyChanged();
}

void ListBox::RemoveItem(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size()))
        return;
    if (hwnd_ && SendMessageA(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0) == LB_ERR)
        return;
    ++itemChanges_;
    items_.erase(items_.begin() + index);
    notifyChanged();
}

void ListBox::Clear() {
    ++itemChanges_;
    items_.clear();
    if (hwnd_)
        SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
    notifyChanged();
}

int ListBox::ListCount() const {
    return static_cast<int>(items_.size());
}

std::string ListBox::List(int index) const {
    return index >= 0 && index < static_cast<int>(items_.size()) ? items_[index] : std::string();
}

void ListBox::setList(int index, const std::string& text) {
    if (index < 0 || index >= ListCount() || List(index) == text)
        return;
    int sel = ListIndex();
    RemoveItem(index);
    AddItem(text, index);
    if (sel == index && hwnd_)
        SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int ListBox::ListIndex() const {
    if (!hwnd_)
        return -1;
    if (options_.multiSelect)
        return ListCount() == 0 ? -1
                                : static_cast<int>(SendMessageA(hwnd_, LB_GETCARETINDEX, 0, 0));
    return static_cast<int>(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0));
}

void ListBox::setListIndex(int index) {
    if (!hwnd_)
        return;
    if (index < -1 || index >= ListCount())
        return;
    if (index == ListIndex())
        return;
    if (options_.multiSelect) {
        SendMessageA(hwnd_, LB_SETSEL, FALSE, static_cast<LPARAM>(-1));
        if (index >= 0) {
            SendMessageA(hwnd_, LB_SETSEL, TRUE, index);
            SendMessageA(hwnd_, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
        }
    } else {
        SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    if (Click)
        Click();
}

int ListBox::findPrefix(const std::string& prefix) const {
    if (hwnd_) {
        LRESULT r = SendMessageA(hwnd_, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(prefix.c_str()));
        return r == LB_ERR ? -1 : static_cast<int>(r);
    }
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].size() >= prefix.size() &&
            CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, items_[i].c_str(),
                           static_cast<int>(prefix.size()), prefix.c_str(),
                           static_cast<int>(prefix.size())) == CSTR_EQUAL)
            return static_cast<int>(i);
    return -1;
}

void ListBox::setTopIndex(int index) {
    if (hwnd_)
        SendMessageA(hwnd_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

bool ListBox::Selected(int index) const {
    return hwnd_ && SendMessageA(hwnd_, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void ListBox::setSelected(int index, bool selected) {
    if (!hwnd_)
        return;
    if (options_.multiSelect)
        SendMessageA(hwnd_, LB_SETSEL, selected ? TRUE : FALSE, index);
    else
        SendMessageA(hwnd_, LB_SETCURSEL,
                     selected ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
}

int ListBox::SelCount() const {
    if (!hwnd_)
        return 0;
    if (!options_.multiSelect)
        return ListIndex() >= 0 ? 1 : 0;
    return static_cast<int>(SendMessageA(hwnd_, LB_GETSELCOUNT, 0, 0));
}

int ListBox::TopIndex() const {
    return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, LB_GETTOPINDEX, 0, 0)) : 0;
}

int ListBox::itemAt(int x, int y) const {
    if (!hwnd_)
        return -1;
    LRESULT r = SendMessageA(hwnd_, LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
    if (HIWORD(r))
        return -1;
    return LOWORD(r);
}

void ListBox::onCommand(int code) {
    if (code == LBN_SELCHANGE && Click)
        Click();
    else if (code == LBN_DBLCLK && DblClick)
        DblClick();
}

// ---- TextBox ---------------------------------------------------------------

TextBox::TextBox(Form& form, std::string name, TextBoxOptions options)
    : Control(form, std::move(name), Kind::TextBox), options_(options) {
    width_ = 2400;
    height_ = 315;
}

HWND TextBox::createWindow(HWND parent) {
    // A multi-line box wraps its lines at the right edge.
    DWORD style = WS_TABSTOP | (options_.multiLine ? 0 : ES_AUTOHSCROLL) |
                  (options_.readOnly ? ES_READONLY : 0);
    if (options_.multiLine)
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN |
                 (options_.scrollBarWhenNeeded ? 0 : WS_VSCROLL);
    return makeWindow(parent, "EDIT", text_.c_str(), style, WS_EX_CLIENTEDGE);
}

void TextBox::fitScrollBar() {
    if (!hwnd_ || !options_.multiLine || !options_.scrollBarWhenNeeded)
        return;
    // Lines of the text as wrapped now against the lines the box shows.
    auto needed = [this] {
        RECT r{};
        SendMessageA(hwnd_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
        const int height = std::max(
            1, lineHeight(hwnd_, reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0))));
        const int shown = std::max<int>(1, (r.bottom - r.top) / height);
        return SendMessageA(hwnd_, EM_GETLINECOUNT, 0, 0) > shown;
    };
    const bool has = (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VSCROLL) != 0;
    bool need = needed();
    if (need == has)
        return;
    ShowScrollBar(hwnd_, SB_VERT, need);
    // Without the bar the lines are longer: a text that needed it only
    // because of its width keeps it.
    if (!need && needed())
        ShowScrollBar(hwnd_, SB_VERT, TRUE);
}

std::string TextBox::Text() const {
    return hwnd_ ? windowText(hwnd_) : text_;
}

void TextBox::setText(const std::string& text) {
    if (Text() == text)
        return;
    text_ = text;
    if (hwnd_) {
        SetWindowTextA(hwnd_, text.c_str()); // EN_CHANGE runs Change
        fitScrollBar();
    } else {
        notifyChanged();
        if (Change)
            Change();
    }
}

int TextBox::SelStart() const {
    DWORD start = 0;
    if (hwnd_)
        SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TextBox::setSelStart(int pos) {
    if (hwnd_)
        SendMessageA(hwnd_, EM_SETSEL, static_cast<WPARAM>(pos), pos);
}

void TextBox::onCommand(int code) {
    if (code != EN_CHANGE)
        return;
    notifyChanged();
    if (Change)
        Change();
}

LRESULT TextBox::onOwnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    handled = false;
    switch (msg) {
    case WM_SIZE:
    case WM_SETFONT:
        if (options_.scrollBarWhenNeeded) {
            handled = true;
            LRESULT r = callOriginal(msg, wp, lp);
            fitScrollBar();
            return r;
        }
        break;
    case WM_GETDLGCODE:
        // Enter and the other keys reach KeyPress instead of the dialog keys.
        if (!options_.multiLine && wp == VK_RETURN) {
            handled = true;
            return DLGC_WANTALLKEYS;
        }
        // A read-only box has nothing to type a Tab into: Tab leaves it.
        if (options_.multiLine && options_.readOnly && lp &&
            reinterpret_cast<const MSG*>(lp)->message == WM_KEYDOWN &&
            reinterpret_cast<const MSG*>(lp)->wParam == VK_TAB) {
            handled = true;
            return callOriginal(msg, wp, lp) &
                   ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
        }
        break;
    case WM_CHAR:
        if (KeyPress) {
            int key = static_cast<int>(wp);
            KeyPress(key);
            if (key == 0) {
                handled = true;
                return 0;
            }
            if (!options_.multiLine && key == '\r') {
                handled = true; // a single-line box would only beep
                return 0;
            }
        }
        break;
    case WM_LBUTTONDOWN:
        mouseDown_ = true;
        break;
    case WM_LBUTTONDBLCLK:
        if (DblClick) {
            LRESULT r = DefSubclassProc(hwnd_, msg, wp, lp);
            DblClick();
            handled = true;
            return r;
        }
        break;
    case WM_LBUTTONUP:
        if (mouseDown_) {
            mouseDown_ = false;
            if (Click) {
                LRESULT r = callOriginal(msg, wp, 0);
                Click();
                handled = true;
                return r;
            }
        }
        break;
    }
    return 0;
}

// ---- Label -----------------------------------------------------------------

Label::Label(Form& form, std::string name, std::string caption)
    : Control(form, std::move(name), Kind::Label), caption_(std::move(caption)) {
    width_ = 1200;
    height_ = 255;
}

HWND Label::createWindow(HWND parent) {
    DWORD align = align_ == 1 ? SS_RIGHT : align_ == 2 ? SS_CENTER : SS_LEFT;
    return makeWindow(parent, "STATIC", caption_.c_str(),
                      align | SS_NOTIFY | SS_NOPREFIX | (link_ ? WS_TABSTOP : 0));
}

void Label::setLink(bool on) {
    link_ = on;
    if (on && !fore_)
        setForeColor(0xCC6600); // 0,102,204
    if (!hwnd_)
        return;
    LONG s = GetWindowLongA(hwnd_, GWL_STYLE);
    SetWindowLongA(hwnd_, GWL_STYLE, on ? s | WS_TABSTOP : s & ~WS_TABSTOP);
    SendMessageA(hwnd_, WM_SETFONT, SendMessageA(hwnd_, WM_GETFONT, 0, 0), TRUE);
}

void Label::applyLinkFont(HFONT base) {
    LOGFONTA lf{};
    if (!base || !GetObjectA(base, sizeof lf, &lf))
        return;
    lf.lfUnderline = TRUE;
    HFONT made = CreateFontIndirectA(&lf);
    if (!made)
        return;
    callOriginal(WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
    // The label draws with the new font now; the one it had is no longer used.
    linkFont_.reset(made);
}

void Label::afterCreate() {
    // The form set the font before the label's messages came through here.
    if (link_)
        applyLinkFont(reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
}

void Label::onDestroy() {
    linkFont_.reset();
}

LRESULT Label::onOwnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
    handled = false;
    if (!link_)
        return 0;
    switch (msg) {
    case WM_SETFONT:
        // The font asked for, underlined (a font of this label's own is
        // asked for again only when the base changes).
        if (reinterpret_cast<HFONT>(wp) != linkFont_.get()) {
            applyLinkFont(reinterpret_cast<HFONT>(wp));
            handled = static_cast<bool>(linkFont_);
        }
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
            SetCursor(LoadCursor(nullptr, IDC_HAND));
            handled = true;
            return TRUE;
        }
        return 0;
    case WM_GETDLGCODE: {
        // Enter and Space reach the link rather than the dialog manager.
        const auto* m = reinterpret_cast<const MSG*>(lp);
        handled = true;
        LRESULT code = DLGC_STATIC | DLGC_WANTCHARS;
        if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
        if (wp == VK_RETURN || wp == VK_SPACE) {
            handled = true;
            if (Click && IsWindowEnabled(hwnd_))
                Click();
        }
        return 0;
    case WM_CHAR:
        handled = wp == ' ' || wp == '\r';
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
        InvalidateRect(hwnd_, nullptr, TRUE);
        return 0;
    case WM_PAINT: {
        handled = true;
        LRESULT r = callOriginal(msg, wp, lp);
        if (GetFocus() == hwnd_ &&
            !(SendMessageA(GetAncestor(hwnd_, GA_ROOT), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
            // The focus rectangle around the text.
            platform::WindowDC window(hwnd_);
            HDC dc = window.get();
            RECT text{0, 0, 0, 0}, client;
            GetClientRect(hwnd_, &client);
            {
                platform::Selected keep(
                    dc, reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
                DrawTextA(dc, caption_.c_str(), -1, &text,
                          DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            }
            text.right = std::min(text.right + 2, client.right);
            text.bottom = std::min(text.bottom + 1, client.bottom);
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            DrawFocusRect(dc, &text);
        }
        return r;
    }
    default:
        return 0;
    }
}

void Label::setCaption(const std::string& text) {
    if (text == caption_)
        return;
    caption_ = text;
    if (hwnd_)
        SetWindowTextA(hwnd_, caption_.c_str());
}

void Label::setAlignment(int align) {
    align_ = align;
    if (hwnd_) {
        LONG s = GetWindowLongA(hwnd_, GWL_STYLE) & ~(SS_RIGHT | SS_CENTER);
        s |= align == 1 ? SS_RIGHT : align == 2 ? SS_CENTER : SS_LEFT;
        SetWindowLongA(hwnd_, GWL_STYLE, s);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

void Label::onCommand(int code) {
    if (code == STN_CLICKED && Click)
        Click();
}

// ---- CheckBox --------------------------------------------------------------

CheckBox::CheckBox(Form& form, std::string name, std::string caption)
    : Control(form, std::move(name), Kind::CheckBox), caption_(std::move(caption)) {
    width_ = 2400;
    height_ = 255;
}

namespace {

// The box takes the grey state only as a value given to it: a user's click
// ticks and unticks as usual.
void showCheck(HWND h, int v) {
    const LONG type = v == 2 ? BS_3STATE : BS_AUTOCHECKBOX;
    if ((GetWindowLongA(h, GWL_STYLE) & BS_TYPEMASK) != type)
        SendMessageA(h, BM_SETSTYLE, type, TRUE);
    SendMessageA(h, BM_SETCHECK, v == 2 ? BST_INDETERMINATE : v ? BST_CHECKED : BST_UNCHECKED, 0);
}

} // namespace

HWND CheckBox::createWindow(HWND parent) {
    HWND h = makeWindow(parent, "BUTTON", caption_.c_str(), WS_TABSTOP | BS_AUTOCHECKBOX);
    if (h)
        showCheck(h, value_);
    return h;
}

int CheckBox::Value() const {
    if (!hwnd_)
        return value_;
    switch (SendMessageA(hwnd_, BM_GETCHECK, 0, 0)) {
    case BST_CHECKED:
        return 1;
    case BST_INDETERMINATE:
        return 2;
    default:
        return 0;
    }
}

void CheckBox::setValue(int v) {
    // 0 unticked, 1 ticked, 2 grey; any other value ticks.
    v = v == 2 ? 2 : v ? 1 : 0;
    if (v == Value())
        return;
    value_ = v;
    if (hwnd_)
        showCheck(hwnd_, v);
    if (Click)
        Click();
}

void CheckBox::setCaption(const std::string& text) {
    if (text == caption_)
        return;
    caption_ = text;
    if (hwnd_)
        SetWindowTextA(hwnd_, caption_.c_str());
}

void CheckBox::onCommand(int code) {
    if (code == BN_CLICKED) {
        if (Value() == 2) // a click on the grey box ticks it
            showCheck(hwnd_, 1);
        value_ = Value();
        if (Click)
            Click();
    }
}

// ---- ComboBox --------------------------------------------------------------

ComboBox::ComboBox(Form& form, std::string name, ComboBoxOptions options)
    : Control(form, std::move(name), Kind::ComboBox), options_(options) {
    width_ = 2400;
    height_ = 315;
}

HWND ComboBox::createWindow(HWND parent) {
    DWORD style = WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL |
                  (options_.dropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
    return makeWindow(parent, "COMBOBOX", "", style);
}

void ComboBox::afterCreate() {
    for (const auto& s : pending_)
        SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    pending_.clear();
    if (pendingIndex_ >= 0)
        SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(pendingIndex_), 0);
    else if (!pendingText_.empty())
        SetWindowTextA(hwnd_, pendingText_.c_str());
}

void ComboBox::AddItem(const std::string& item) {
    if (!hwnd_)
        pending_.push_back(item);
    else
        SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void ComboBox::Clear() {
    pending_.clear();
    if (hwnd_)
        SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
}

int ComboBox::ListCount() const {
    return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, CB_GETCOUNT, 0, 0))
                 : static_cast<int>(pending_.size());
}

std::string ComboBox::List(int index) const {
    if (!hwnd_)
        return index >= 0 && index < static_cast<int>(pending_.size()) ? pending_[index] : "";
    return itemText(hwnd_, index, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int ComboBox::ListIndex() const {
    return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0)) : pendingIndex_;
}

void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= ListCount() || index == ListIndex())
        return;
    if (!hwnd_)
        pendingIndex_ = index;
    else
        SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (Click)
        Click();
}

std::string ComboBox::Text() const {
    return hwnd_ ? windowText(hwnd_) : pendingText_;
}

void ComboBox::setText(const std::string& text) {
    if (text == Text())
        return;
    if (!hwnd_) {
        pendingText_ = text;
        return;
    }
    // A drop-down list can only show one of its items.
    int i = static_cast<int>(SendMessageA(hwnd_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(text.c_str())));
    if (options_.dropDownList) {
        if (i != CB_ERR)
            SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    } else {
        SetWindowTextA(hwnd_, text.c_str());
    }
}

void ComboBox::onCommand(int code) {
    if (code == CBN_SELCHANGE && Click)
        Click();
}

// ---- Image -----------------------------------------------------------------

Image::Image(Form& form, std::string name) : Control(form, std::move(name), Kind::Image) {
    width_ = 480;
    height_ = 480;
}

HWND Image::createWindow(HWND parent) {
    return makeWindow(parent, "STATIC", "",
                      SS_NOTIFY | (icon_ ? SS_ICON : SS_BITMAP) | SS_CENTERIMAGE |
                          SS_REALSIZECONTROL);
}

void Image::afterCreate() {
    if (icon_)
        setIcon(icon_);
    else if (bmp_)
        setBitmap(bmp_);
}

void Image::setAlphaBitmap(HBITMAP bmp) {
    alpha_ = bmp;
    bmp_ = nullptr;
    icon_ = nullptr;
    if (!hwnd_)
        return;
    // The static window holds no picture of its own: the image draws it.
    LONG s = (GetWindowLongA(hwnd_, GWL_STYLE) & ~SS_TYPEMASK) | SS_BITMAP;
    SetWindowLongA(hwnd_, GWL_STYLE, s);
    SendMessageA(hwnd_, STM_SETIMAGE, IMAGE_BITMAP, 0);
    applyGeometry();
    if (IsWindowVisible(hwnd_))
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void Image::paintAlpha(HDC dc) {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    // The background the static window gives an icon: its parent's answer.
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(hwnd_), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(hwnd_)));
    FillRect(dc, &rc, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    const controls::Picture picture{.bitmap = alpha_, .alpha = true};
    const SIZE size = picture.size();
    controls::drawPicture(dc, picture, (rc.right - size.cx) / 2, (rc.bottom - size.cy) / 2);
}

LRESULT Image::onOwnMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
    handled = false;
    if (!alpha_)
        return 0;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        paintAlpha(dc);
        EndPaint(hwnd_, &ps);
        handled = true;
        return 0;
    }
    case WM_PRINTCLIENT:
        paintAlpha(reinterpret_cast<HDC>(wp));
        handled = true;
        return 0;
    case WM_ERASEBKGND:
        handled = true;
        return 1;
    default:
        return 0;
    }
}

void Image::setBitmap(HBITMAP bmp) {
    bmp_ = bmp;
    icon_ = nullptr;
    if (!hwnd_)
        return;
    LONG s = (GetWindowLongA(hwnd_, GWL_STYLE) & ~SS_TYPEMASK) | SS_BITMAP;
    SetWindowLongA(hwnd_, GWL_STYLE, s);
    SendMessageA(hwnd_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
    applyGeometry();
}

void Image::setIcon(HICON icon) {
    icon_ = icon;
    bmp_ = nullptr;
    if (!hwnd_)
        return;
    LONG s = (GetWindowLongA(hwnd_, GWL_STYLE) & ~SS_TYPEMASK) | SS_ICON;
    SetWindowLongA(hwnd_, GWL_STYLE, s);
    SendMessageA(hwnd_, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    applyGeometry();
}

void Image::onCommand(int code) {
    if (code == STN_CLICKED && Click)
        Click();
}

// ---- CommandButton ---------------------------------------------------------

CommandButton::CommandButton(Form& form, std::string name, std::string caption)
    : Control(form, std::move(name), Kind::CommandButton), caption_(std::move(caption)) {
    width_ = 1500;
    height_ = 375;
}

HWND CommandButton::createWindow(HWND parent) {
    RECT r = pixelRect();
    button_ = controls::ThemedButton::create(parent, name_, r.left, r.top, r.right - r.left,
                                             r.bottom - r.top, id_,
                                             WS_TABSTOP | (shown() ? WS_VISIBLE : 0));
    if (!button_)
        return nullptr;
    placedAtCreation_ = true;
    // Every command button of the program looks alike: the flat highlight
    // look with a dark grey caption, and a focus rectangle while the
    // keyboard is in use. A window changes what differs after creation.
    button_->setStyle(kCommandButtonStyle);
    button_->setUseCustomColors(true);
    button_->setFontColor(kCommandButtonCaption);
    button_->setFontHighlightColor(kCommandButtonCaption);
    button_->setShowFocus(true);
    button_->setCaption(caption_);
    if (picture_)
        button_->setIcon(picture_);
    else if (bitmap_)
        button_->setPicture(bitmap_);
    button_->Click = [this] {
        if (Click)
            Click();
    };
    button_->MouseEnter = [this] {
        if (MouseEnter)
            MouseEnter();
    };
    button_->MouseLeave = [this] {
        if (MouseLeave)
            MouseLeave();
    };
    onColoursChanged();
    return button_->hwnd();
}

void CommandButton::setCaption(const std::string& text) {
    if (text == caption_)
        return;
    caption_ = text;
    if (button_)
        button_->setCaption(caption_);
}

void CommandButton::setPicture(HICON icon) {
    picture_ = icon;
    bitmap_ = nullptr;
    if (button_)
        button_->setIcon(icon);
}

void CommandButton::setPicture(HBITMAP bitmap) {
    bitmap_ = bitmap;
    picture_ = nullptr;
    if (button_)
        button_->setPicture(bitmap);
}

void CommandButton::onColoursChanged() {
    if (!button_ || (!fore_ && !back_))
        return;
    button_->setUseCustomColors(true);
    if (back_)
        button_->setBackColor(*back_);
    if (fore_) {
        // One caption colour at rest and under the mouse.
        button_->setFontColor(*fore_);
        button_->setFontHighlightColor(*fore_);
    }
}

// ---- PageStack -------------------------------------------------------------

PageStack::PageStack(Form& form, std::string name, std::vector<std::string> captions)
    : Control(form, std::move(name), Kind::PageStack), captions_(std::move(captions)) {
    width_ = 9000;
    height_ = 6000;
}

HWND PageStack::createWindow(HWND parent) {
    HWND h = makeWindow(parent, WC_TABCONTROLA, "", WS_TABSTOP | TCS_TABS | TCS_FOCUSONBUTTONDOWN);
    if (!h)
        return h;
    for (size_t i = 0; i < captions_.size(); ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(captions_[i].c_str());
        SendMessageA(h, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(h, TCM_SETCURSEL, static_cast<WPARAM>(tab_), 0);
    return h;
}

void PageStack::setTab(int index) {
    if (index < 0 || index >= Tabs() || index == tab_)
        return;
    int previous = tab_;
    tab_ = index;
    if (hwnd_ && SendMessageA(hwnd_, TCM_GETCURSEL, 0, 0) != index)
        SendMessageA(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    refreshChildren();
    notifyChanged();
    if (Click)
        Click(previous);
}

void PageStack::setTabCaption(int index, const std::string& text) {
    if (index < 0 || index >= Tabs() || captions_[index] == text)
        return;
    captions_[index] = text;
    if (hwnd_) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(captions_[index].c_str());
        SendMessageA(hwnd_, TCM_SETITEMA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
    }
}

void PageStack::Move(int left, int top, int width, int height) {
    bool moved = left != left_ || top != top_;
    Control::Move(left, top, width, height);
    if (moved)
        for (Control* c : children_)
            c->applyGeometry();
}

HBRUSH PageStack::bodyBrush() {
    if (body_)
        return body_.get();
    COLORREF colour = GetSysColor(COLOR_BTNFACE);
    if (hwnd_) {
        // The page's colour depends on the visual style: let the tab control
        // paint itself off-screen and take the colour inside its body. Only
        // a small square around the sampled point is drawn: the bitmap is
        // that small, and everything else the control paints is clipped.
        RECT r;
        GetClientRect(hwnd_, &r);
        if (r.right > 8 && r.bottom > 40) {
            constexpr int kSide = 8;
            POINT at{r.right / 2, r.bottom - 8};
            platform::WindowDC screen(hwnd_);
            platform::MemoryDC memory(screen.get());
            platform::Bitmap bmp(CreateCompatibleBitmap(screen.get(), kSide, kSide));
            platform::Selected keep(memory.get(), bmp.get());
            HDC dc = memory.get();
            SetViewportOrgEx(dc, kSide / 2 - at.x, kSide / 2 - at.y, nullptr);
            RECT square{at.x - kSide / 2, at.y - kSide / 2, at.x + kSide / 2, at.y + kSide / 2};
            FillRect(dc, &square, GetSysColorBrush(COLOR_BTNFACE));
            SendMessageA(hwnd_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
            colour = GetPixel(dc, at.x, at.y);
        }
    }
    body_.reset(CreateSolidBrush(colour));
    return body_.get();
}

void PageStack::forgetBodyBrush() {
    body_.reset();
}

void PageStack::removeChild(Control* c) {
    children_.erase(std::remove(children_.begin(), children_.end(), c), children_.end());
}

void PageStack::refreshChildren() {
    for (Control* c : children_) {
        c->applyVisibility();
        if (c->kind() == Kind::PageStack)
            static_cast<PageStack*>(c)->refreshChildren();
    }
}

LRESULT PageStack::onNotify(NMHDR* nm, bool& handled) {
    handled = false;
    if (nm->code == TCN_SELCHANGE) {
        setTab(static_cast<int>(SendMessageA(hwnd_, TCM_GETCURSEL, 0, 0)));
        handled = true;
    }
    return 0;
}

// ---- Timer -----------------------------------------------------------------

Timer::Timer(Form& form, std::string name, unsigned interval, bool enabled)
    : Control(form, std::move(name), Kind::Timer), interval_(interval), enabled_(enabled) {}

HWND Timer::createWindow(HWND parent) {
    owner_ = parent;
    return nullptr;
}

void Timer::arm() {
    if (!owner_)
        return;
    if (enabled_ && interval_ > 0 && !sleeping_)
        SetTimer(owner_, static_cast<UINT_PTR>(id_), interval_, nullptr);
    else
        KillTimer(owner_, static_cast<UINT_PTR>(id_));
}

void Timer::setInterval(unsigned ms) {
    if (ms == interval_)
        return;
    interval_ = ms;
    arm();
}

void Timer::setEnabled(bool v) {
    if (v == enabled_)
        return;
    enabled_ = v;
    arm();
}

void Timer::setSleeping(bool v) {
    if (v == sleeping_)
        return;
    sleeping_ = v;
    arm();
}

void Timer::onDestroy() {
    if (owner_)
        KillTimer(owner_, static_cast<UINT_PTR>(id_));
    owner_ = nullptr;
}

void Timer::fire() {
    if (enabled_ && Tick)
        Tick();
}

} // namespace forms
