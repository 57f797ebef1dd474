// Lists and menus in window tests: a list's lines as the window holds them,
// and choices from pop-up menus without the modal menu loop.
#pragma once

#include "forms/controls.h"
#include "forms/menu.h"

#include <string>
#include <vector>

namespace testsupport {

// The list's lines, read one by one from the list.
inline std::vector<std::string> items(const forms::ListBox& list) {
    std::vector<std::string> v;
    for (int i = 0; i < list.ListCount(); ++i)
        v.push_back(list.List(i));
    return v;
}

// The position of the menu's item of that name, or -1 (nothing chosen).
inline int itemIndex(forms::PopupMenu& menu, const std::string& name) {
    for (size_t i = 0; i < menu.items().size(); ++i)
        if (menu.items()[i].name() == name)
            return static_cast<int>(i);
    return -1;
}

// Every menu that pops up chooses its item `name` (nothing when it has none).
inline void chooseItem(const std::string& name) {
    forms::PopupMenu::setChooser([name](forms::PopupMenu& m) { return itemIndex(m, name); });
}

} // namespace testsupport
