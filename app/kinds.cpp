#include "app/kinds.h"

namespace app {

const KindControls* Kinds::byList(const forms::ListBox& list) const {
    for (const KindControls& k : table_)
        if (&k.categories == &list || &k.entries == &list)
            return &k;
    return nullptr;
}

void Kinds::disableEntryCommands(const KindControls& k) {
    k.downloadButton.setEnabled(false);
    if (k.fromPageButton)
        k.fromPageButton->setEnabled(false);
    if (k.downloadItem)
        k.downloadItem->Enabled = false;
    if (k.fromPageItem)
        k.fromPageItem->Enabled = false;
}

void Kinds::wire(const std::function<void(catalog::Kind)>& categoryChosen) const {
    for (const KindControls& k : table_) {
        disableEntryCommands(k);
        catalog::Kind kind = k.kind;
        k.categories.Click = [categoryChosen, kind] { categoryChosen(kind); };
    }
}

} // namespace app
