#include "app/kinds.h"

#include "app/search_sort.h"

namespace app {

void Kinds::disableEntryCommands(const KindControls& k) {
    k.downloadButton.setEnabled(false);
    if (k.fromPageButton)
        k.fromPageButton->setEnabled(false);
    for (EntryCommand c : {EntryCommand::Download, EntryCommand::FromPage})
        if (forms::MenuItem* item = k.item(c))
            item->Enabled = false;
}

void Kinds::wire(const KindEvents& events) const {
    for (const KindControls& k : table_) {
        // The queue items start enabled (they need an entry's link, which
        // they check when run); only the blacklist switches them off.
        disableEntryCommands(k);
        catalog::Kind kind = k.kind;
        k.categories.Click = [events, kind] { events.categoryChosen(kind); };
        k.entries.Click = [events, kind] { events.entryChosen(kind); };
        k.entries.MouseDown = [events, kind, &menu = k.entryMenu](int button, int, int, int) {
            if (button == forms::vbRightButton)
                menu.Popup({.eitherButton = true, .defaultItem = &menu.items().front()});
            events.copyName(kind);
        };
        if (OneItemMenu* menu = k.categoryMenu) {
            forms::ListBox& list = k.categories;
            menu->item.Click = [&list] { Liste_Sortieren(list); };
            const bool eitherButton = kind == catalog::Kind::Pages;
            list.MouseDown = [menu, eitherButton](int button, int, int, int) {
                if (button == forms::vbRightButton)
                    menu->Popup({.eitherButton = eitherButton});
            };
        }
        if (kind == catalog::Kind::Pages)
            continue; // the Pages title takes the name only from the list
        k.downloadButton.MouseEnter = [events, kind] { events.copyName(kind); };
        if (k.fromPageButton)
            k.fromPageButton->MouseEnter = [events, kind] { events.copyName(kind); };
    }
}

} // namespace app
