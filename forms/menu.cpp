#include "forms/menu.h"

namespace forms {

namespace {
std::function<int(PopupMenu&)>& chooser() {
    static std::function<int(PopupMenu&)> f;
    return f;
}
} // namespace

PopupMenu::PopupMenu(Form& form, std::string name) : Control(form, std::move(name), Kind::Menu) {
    visible_ = false;
}

HWND PopupMenu::createWindow(HWND parent) {
    owner_ = parent;
    return nullptr;
}

MenuItem& PopupMenu::add(std::string name, std::string caption) {
    items_.emplace_back(std::move(name), caption);
    items_.back().Caption = std::move(caption);
    return items_.back();
}

MenuItem* PopupMenu::item(const std::string& name) {
    for (auto& i : items_)
        if (i.name() == name)
            return &i;
    return nullptr;
}

void PopupMenu::setChooser(std::function<int(PopupMenu&)> f) {
    chooser() = std::move(f);
}

HMENU PopupMenu::build(const PopupOptions& options) const {
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    for (size_t i = 0; i < items_.size(); ++i) {
        const MenuItem& it = items_[i];
        if (!it.Visible)
            continue;
        if (it.Caption == "-") {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING | (it.Enabled ? 0 : MF_GRAYED) | (it.Checked ? MF_CHECKED : 0);
        AppendMenuA(menu, flags, i + 1, it.Caption.c_str());
        if (&it == options.defaultItem)
            SetMenuDefaultItem(menu, static_cast<UINT>(i + 1), FALSE);
    }
    return menu;
}

MenuItem* PopupMenu::Popup(const PopupOptions& options) {
    last_ = options;
    int chosen = -1;
    if (chooser()) {
        chosen = chooser()(*this);
    } else {
        HMENU menu = build(options);
        if (!menu)
            return nullptr;
        POINT pt;
        GetCursorPos(&pt);
        HWND owner = owner_ ? owner_ : form().window();
        SetForegroundWindow(owner);
        UINT flags = TPM_RETURNCMD | (options.eitherButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON);
        chosen = static_cast<int>(TrackPopupMenu(menu, flags, pt.x, pt.y, 0, owner, nullptr)) - 1;
        DestroyMenu(menu);
        // A menu opened for a window in the background (the notification
        // area's) closes properly when the user clicks elsewhere only after
        // its owner gets a message.
        PostMessageA(owner, WM_NULL, 0, 0);
    }
    if (chosen < 0 || chosen >= static_cast<int>(items_.size()))
        return nullptr;
    MenuItem& it = items_[chosen];
    if (!it.Visible || !it.Enabled || it.Caption == "-")
        return nullptr;
    if (it.Click)
        it.Click();
    return &it;
}

} // namespace forms
