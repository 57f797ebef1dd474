// The main window's list menus. The four entry-list menus (Apps, Portable,
// Slim, Special) carry the same commands in the same order under names of
// their own; one table names every item once per menu, and each command runs
// one action for whichever kind's menu it was chosen from.
#pragma once

#include "catalog/catalog.h"
#include "forms/menu.h"

#include <array>
#include <cstddef>

namespace app {

// The entry menus' commands, in menu order.
enum class EntryCommand {
    Download,
    FromPage,
    Queue,
    QueueForce,
    CheckInstalled, // not on the Portable menu
    DeveloperPage,
    Alternate,
    Support,
    Screenshots,
    Clipboard,
    Sort,
    Separator,
    Send,
    Report,
    Block,
};
inline constexpr std::size_t kEntryCommandCount = 15;

// One row of the entry menus: the caption and the item's name in the Apps,
// Portable, Slim and Special menus (null: that menu has no such item).
struct EntryMenuRow {
    EntryCommand command;
    const char* caption;
    std::array<const char*, 4> names;
};
extern const std::array<EntryMenuRow, kEntryCommandCount> kEntryMenuRows;

// An entry-list menu built from the table for one kind (not Pages).
class EntryMenu : public forms::PopupMenu {
  public:
    EntryMenu(forms::Form& form, catalog::Kind kind);
    catalog::Kind kind() const { return kind_; }
    // The item of a command; null when this menu has none.
    forms::MenuItem* item(EntryCommand command) const {
        return items_[static_cast<std::size_t>(command)];
    }
    // The item of a command every entry menu has.
    forms::MenuItem& operator[](EntryCommand command) const { return *item(command); }

  private:
    catalog::Kind kind_;
    std::array<forms::MenuItem*, kEntryCommandCount> items_{};
};

// A menu of one item: the category lists' "Sort A-Z", the Options lists'
// edit commands.
class OneItemMenu : public forms::PopupMenu {
  public:
    OneItemMenu(forms::Form& form, const char* name, const char* itemName, const char* caption)
        : PopupMenu(form, name), item(add(itemName, caption)) {}
    forms::MenuItem& item;
};

} // namespace app
