// The five catalog kinds repeat one set of controls on their pages: a
// category list, an entry list, a search box (none for Pages), count labels,
// the download buttons and the lists' menus. The table names each kind's
// members once; behaviour told once for every kind loops over it.
#pragma once

#include "app/menus.h"
#include "catalog/catalog.h"
#include "forms/controls.h"
#include "forms/menu.h"

#include <array>
#include <functional>

namespace app {

struct KindControls {
    catalog::Kind kind;
    forms::ListBox& categories;
    forms::ListBox& entries;
    forms::TextBox* search;      // none for Pages
    forms::Label* categoryCount; // none for Special
    forms::Label& entryCount;
    forms::CommandButton& downloadButton; // cmdVisitPage for Pages
    forms::CommandButton* fromPageButton; // none for Pages
    // The category list's one-item "Sort A-Z" menu; none for Special.
    OneItemMenu* categoryMenu;
    // The entry list's menu, its first item the default one (mnPages for Pages).
    forms::PopupMenu& entryMenu;
    // The entry menu's commands; none for Pages.
    const EntryMenu* commands;

    // An entry-menu item of this kind; null when the kind has none.
    forms::MenuItem* item(EntryCommand command) const {
        return commands ? commands->item(command) : nullptr;
    }
};

// What the twins' events run, for any kind.
struct KindEvents {
    std::function<void(catalog::Kind)> categoryChosen;
    std::function<void(catalog::Kind)> entryChosen;
    // A mouse button went down on the entry list (after its menu, if the
    // right one), or the pointer entered one of the kind's download buttons.
    std::function<void(catalog::Kind)> copyName;
};

class Kinds {
  public:
    explicit Kinds(std::array<KindControls, 5> table) : table_(table) {}
    const KindControls& operator[](catalog::Kind kind) const {
        return table_[static_cast<size_t>(kind)];
    }
    auto begin() const { return table_.begin(); }
    auto end() const { return table_.end(); }

    // Disables the commands that act on a chosen entry (nothing chosen yet).
    static void disableEntryCommands(const KindControls& k);

    // Wires the twins' events to the handlers, each told the kind, and the
    // lists' menus: the right button on a list opens its menu (either button
    // then chooses, except on the three download kinds' category lists), the
    // entry menu with its first item as default; each "Sort A-Z" sorts its
    // list. The commands acting on an entry start disabled.
    void wire(const KindEvents& events) const;

  private:
    std::array<KindControls, 5> table_;
};

} // namespace app
