#include "app/kinds.h"

namespace app {

void Kinds::disableEntryCommands(const KindControls& k) {
    k.downloadButton.setEnabled(false);
    if (k.fromPageButton)
        k.fromPageButton->setEnabled(false);
    if (k.downloadItem)
        k.downloadItem->Enabled = false;
    if (k.fromPageItem)
        k.fromPageItem->Enabled = false;
}

void Kinds::wire(const KindEvents& events) const {
    for (const KindControls& k : table_) {
        // The queue items start enabled (they need an entry's link, which
        // they check when run); only the blacklist switches them off.
        disableEntryCommands(k);
        catalog::Kind kind = k.kind;
        k.categories.Click = [events, kind] { events.categoryChosen(kind); };
        k.entries.Click = [events, kind] { events.entryChosen(kind); };
        k.entries.MouseDown = [events, kind](int, int, int, int) { events.copyName(kind); };
        if (kind == catalog::Kind::Pages)
            continue; // the Pages title takes the name only from the list
        k.downloadButton.MouseEnter = [events, kind] { events.copyName(kind); };
        if (k.fromPageButton)
            k.fromPageButton->MouseEnter = [events, kind] { events.copyName(kind); };
    }
}

} // namespace app
