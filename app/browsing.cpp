#include "app/browsing.h"

#include "app/guarded.h"

namespace app {

using catalog::Kind;

void Browsing::LoadCategoryLists() {
    for (Kind kind : catalog::kLoadOrder) {
        guarded([&] {
            std::string path = catalog::catalogPath(environment_.applicationPath(), kind);
            catalogFiles_[static_cast<size_t>(kind)] = path;
            forms::ListBox& list = kinds_[kind].categories;
            for (const std::string& name : catalog::categoryNames(path))
                list.AddItem(name);
        });
    }
}

void Browsing::categoryChosen(Kind kind) {
    const KindControls& k = kinds_[kind];
    guarded([&] { k.entries.Clear(); });
    guarded([&] { Kinds::disableEntryCommands(k); });
    guarded([&] {
        std::string category = k.categories.Text();
        for (const std::string& name : catalog::entryNames(catalogFile(kind), category))
            k.entries.AddItem(name);
    });
}

} // namespace app
