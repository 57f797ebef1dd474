// The five catalog kinds repeat one set of controls on their pages: a
// category list, an entry list, a search box (none for Pages), count labels,
// the download buttons and their menu items. The table names each kind's
// members once; behaviour told once for every kind loops over it.
#pragma once

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
    forms::PopupMenu* menu;               // the entry list's menu, none for Pages yet
    forms::MenuItem* downloadItem;        // none for Pages
    forms::MenuItem* fromPageItem;        // none for Pages
    forms::MenuItem* queueItem = nullptr; // "Add Link to Download Manager (Queue List)"
};

// What the twins' events run, for any kind.
struct KindEvents {
    std::function<void(catalog::Kind)> categoryChosen;
    std::function<void(catalog::Kind)> entryChosen;
    // A mouse button went down on the entry list, or the pointer entered one
    // of the kind's download buttons.
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

    // Wires the twins' events to the handlers, each told the kind; the
    // commands acting on an entry start disabled.
    void wire(const KindEvents& events) const;

  private:
    std::array<KindControls, 5> table_;
};

} // namespace app
