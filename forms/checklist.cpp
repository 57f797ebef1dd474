#include "forms/checklist.h"

#include <commctrl.h>

#include <algorithm>

namespace forms {

namespace {

// The part of an item's text shown in the first column, and the rest.
std::string firstColumn(const std::string& text) {
    return text.substr(0, text.find('\t'));
}
std::string secondColumn(const std::string& text) {
    size_t tab = text.find('\t');
    return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

// The order of a sorted list box: by the user's locale, ignoring case.
int compareNames(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                          static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

constexpr UINT kUnticked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kTicked = INDEXTOSTATEIMAGEMASK(2);

} // namespace

CheckList::CheckList(Form& form, std::string name, bool sorted)
    : Control(form, std::move(name), Kind::Custom), sorted_(sorted) {
    width_ = 2400;
    height_ = 2400;
}

HWND CheckList::createWindow(HWND parent) {
    DWORD style = WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS | LVS_SINGLESEL;
    return makeWindow(parent, WC_LISTVIEWA, "", style, WS_EX_CLIENTEDGE);
}

void CheckList::afterCreate() {
    if (!hwnd_)
        return;
    DWORD ex = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
    SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA col{};
        col.mask = LVCF_WIDTH | LVCF_SUBITEM;
        col.iSubItem = i;
        SendMessageA(hwnd_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&col));
    }
    std::vector<Item> items;
    items.swap(pending_);
    for (const Item& item : items)
        insert(item);
    fitColumns();
}

// The form forgets its controls' windows before destroying them, so the list
// view's own delete notifications would not reach this control: the texts kept
// beside the items are freed here.
void CheckList::onDestroy() {
    if (!hwnd_)
        return;
    int count = ListCount();
    for (int i = 0; i < count; ++i) {
        LVITEMA it{};
        it.mask = LVIF_PARAM;
        it.iItem = i;
        SendMessageA(hwnd_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
        delete reinterpret_cast<std::string*>(it.lParam);
        it.lParam = 0;
        SendMessageA(hwnd_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    }
}

int CheckList::pendingPosition(const std::string& text) const {
    if (!sorted_)
        return static_cast<int>(pending_.size());
    std::string name = firstColumn(text);
    int i = 0;
    for (; i < static_cast<int>(pending_.size()); ++i)
        if (compareNames(name, firstColumn(pending_[static_cast<size_t>(i)].text)) < 0)
            break;
    return i;
}

int CheckList::insert(const Item& item) {
    int count = ListCount();
    int at = count;
    if (sorted_) {
        std::string name = firstColumn(item.text);
        for (at = 0; at < count; ++at)
            if (compareNames(name, firstColumn(List(at))) < 0)
                break;
    }
    inserting_ = true;
    std::string name = firstColumn(item.text);
    std::string rest = secondColumn(item.text);
    // The whole text is kept beside the item, so that List gives back exactly
    // what was stored; the columns only show it.
    auto* stored = new std::string(item.text);
    LVITEMA it{};
    it.mask = LVIF_TEXT | LVIF_PARAM;
    it.iItem = at;
    it.pszText = name.data();
    it.lParam = reinterpret_cast<LPARAM>(stored);
    int index =
        static_cast<int>(SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it)));
    if (index < 0) {
        delete stored;
        inserting_ = false;
        return -1;
    }
    if (!rest.empty()) {
        LVITEMA sub{};
        sub.iSubItem = 1;
        sub.pszText = rest.data();
        SendMessageA(hwnd_, LVM_SETITEMTEXTA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&sub));
    }
    LVITEMA state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = item.ticked ? kTicked : kUnticked;
    // The first item gets the keyboard's focus mark, so that the space bar
    // ticks an item as soon as the list has the focus.
    if (count == 0) {
        state.stateMask |= LVIS_FOCUSED;
        state.state |= LVIS_FOCUSED;
    }
    SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&state));
    inserting_ = false;
    return index;
}

int CheckList::AddItem(const std::string& item) {
    if (!hwnd_) {
        int at = pendingPosition(item);
        pending_.insert(pending_.begin() + at, Item{item, false});
        return at;
    }
    int index = insert(Item{item, false});
    fitColumns();
    return index;
}

void CheckList::RemoveItem(int index) {
    if (index < 0 || index >= ListCount())
        return;
    if (!hwnd_) {
        pending_.erase(pending_.begin() + index);
        return;
    }
    SendMessageA(hwnd_, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    fitColumns();
}

void CheckList::Clear() {
    pending_.clear();
    if (hwnd_) {
        SendMessageA(hwnd_, LVM_DELETEALLITEMS, 0, 0);
        fitColumns();
    }
}

int CheckList::ListCount() const {
    if (!hwnd_)
        return static_cast<int>(pending_.size());
    return static_cast<int>(SendMessageA(hwnd_, LVM_GETITEMCOUNT, 0, 0));
}

std::string CheckList::List(int index) const {
    if (index < 0 || index >= ListCount())
        return {};
    if (!hwnd_)
        return pending_[static_cast<size_t>(index)].text;
    LVITEMA it{};
    it.mask = LVIF_PARAM;
    it.iItem = index;
    if (!SendMessageA(hwnd_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)) || !it.lParam)
        return {};
    return *reinterpret_cast<const std::string*>(it.lParam);
}

void CheckList::setList(int index, const std::string& text) {
    if (index < 0 || index >= ListCount() || List(index) == text)
        return;
    if (!hwnd_) {
        pending_[static_cast<size_t>(index)].text = text;
        return;
    }
    LVITEMA it{};
    it.mask = LVIF_PARAM;
    it.iItem = index;
    SendMessageA(hwnd_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    if (auto* stored = reinterpret_cast<std::string*>(it.lParam))
        *stored = text;
    for (int column = 0; column < 2; ++column) {
        std::string part = column == 0 ? firstColumn(text) : secondColumn(text);
        LVITEMA sub{};
        sub.iSubItem = column;
        sub.pszText = part.data();
        SendMessageA(hwnd_, LVM_SETITEMTEXTA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&sub));
    }
    fitColumns();
}

bool CheckList::Selected(int index) const {
    if (index < 0 || index >= ListCount())
        return false;
    if (!hwnd_)
        return pending_[static_cast<size_t>(index)].ticked;
    auto state = static_cast<UINT>(
        SendMessageA(hwnd_, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == kTicked;
}

void CheckList::setSelected(int index, bool ticked) {
    if (index < 0 || index >= ListCount() || Selected(index) == ticked)
        return;
    if (!hwnd_) {
        pending_[static_cast<size_t>(index)].ticked = ticked;
        if (ItemCheck)
            ItemCheck(index);
        return;
    }
    // The list view reports the change (LVN_ITEMCHANGED), which runs ItemCheck.
    LVITEMA state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = ticked ? kTicked : kUnticked;
    SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&state));
}

int CheckList::ListIndex() const {
    if (!hwnd_)
        return -1;
    return static_cast<int>(
        SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CheckList::setListIndex(int index) {
    if (!hwnd_ || index < -1 || index >= ListCount() || index == ListIndex())
        return;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&state));
    if (index >= 0) {
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&state));
        SendMessageA(hwnd_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    }
}

void CheckList::Move(int left, int top, int width, int height) {
    Control::Move(left, top, width, height);
    fitColumns();
}

// The second column is as wide as its widest text; the first takes the rest
// of the list's width, so no horizontal scroll bar appears for short names.
void CheckList::fitColumns() {
    if (!hwnd_)
        return;
    int count = ListCount();
    int second = 0;
    for (int i = 0; i < count; ++i) {
        std::string rest = secondColumn(List(i));
        if (rest.empty())
            continue;
        int w = static_cast<int>(
            SendMessageA(hwnd_, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(rest.c_str())));
        second = std::max(second, w + 16);
    }
    RECT client{};
    GetClientRect(hwnd_, &client);
    int first = std::max(static_cast<int>(client.right) - second, 40);
    SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(first, 0));
    SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(second, 0));
}

LRESULT CheckList::onNotify(NMHDR* nm, bool& handled) {
    handled = false;
    if (nm->code == LVN_DELETEITEM) {
        delete reinterpret_cast<std::string*>(reinterpret_cast<NMLISTVIEW*>(nm)->lParam);
        return 0;
    }
    if (nm->code != LVN_ITEMCHANGED)
        return 0;
    auto* lv = reinterpret_cast<NMLISTVIEW*>(nm);
    if (!(lv->uChanged & LVIF_STATE) || lv->iItem < 0)
        return 0;
    UINT changed = lv->uNewState ^ lv->uOldState;
    if ((changed & LVIS_STATEIMAGEMASK) && !inserting_ &&
        (lv->uOldState & LVIS_STATEIMAGEMASK) != 0 && ItemCheck)
        ItemCheck(lv->iItem);
    if ((changed & LVIS_SELECTED) && (lv->uNewState & LVIS_SELECTED) && Click)
        Click();
    return 0;
}

} // namespace forms
