#include "app/browsing.h"

#include "app/pure/search_sort.h"
#include "links/pure/link_queue.h"
#include "platform/guarded.h"
#include "ui/pure/pages.h"

namespace app {

using platform::guarded;

using catalog::Kind;

void Browsing::LoadCategoryLists() {
    for (Kind kind : catalog::kLoadOrder) {
        guarded([&] {
            std::string path = catalog::catalogPath(environment_.applicationPath(), kind);
            catalogFiles_[static_cast<size_t>(kind)] = path;
            forms::ListBox& list = kinds_[kind].categories;
            std::vector<std::string> names = list.items();
            for (std::string& name : catalog::categoryNames(path))
                names.push_back(std::move(name));
            list.setItems(names);
        });
    }
}

void Browsing::categoryChosen(Kind kind) {
    const KindControls& k = kinds_[kind];
    guarded([&] { k.entries.Clear(); });
    guarded([&] { Kinds::disableEntryCommands(k); });
    guarded(
        [&] { k.entries.setItems(catalog::entryNames(catalogFile(kind), k.categories.Text())); });
}

void Browsing::entryChosen(Kind kind) {
    const KindControls& k = kinds_[kind];
    std::optional<std::string> link =
        catalog::entryLink(catalogFile(kind), k.categories.Text(), k.entries.Text());
    if (!link)
        return;
    if (kind == Kind::Pages) {
        guarded([&] { k.downloadButton.setEnabled(true); });
        guarded([&] { linkField_.setText(*link); });
        return;
    }
    guarded([&] { linkField_.setText(*link); });
    guarded([&] {
        if (k.fromPageButton)
            k.fromPageButton->setEnabled(true);
        for (EntryCommand c : {EntryCommand::Download, EntryCommand::FromPage})
            if (forms::MenuItem* item = k.item(c))
                item->Enabled = true;
    });
    guarded([&] {
        bool allowed = !links::blacklisted(*link, blacklist_.items());
        k.downloadButton.setEnabled(allowed);
        for (EntryCommand c : {EntryCommand::Download, EntryCommand::Queue})
            if (forms::MenuItem* item = k.item(c))
                item->Enabled = allowed;
    });
}

void Browsing::copyName(Kind kind) {
    const KindControls& k = kinds_[kind];
    guarded([&] {
        std::string name = k.entries.Text();
        if (k.search)
            k.search->setText(name);
        else
            special_.pagesTitle.setCaption(name);
    });
}

void Browsing::showSubCatalog(SubCatalog which) {
    const bool recommendations = which == SubCatalog::Recommendations;
    guarded([&] { special_.outer.setTab(ui::PageSpecial); });
    guarded([&] { special_.inner.setTab(ui::InnerSpecial); });
    guarded([&] {
        special_.recommendationsBanner.setVisible(recommendations);
        special_.starterKitBanner.setVisible(!recommendations);
    });
    guarded([&] {
        forms::ListBox& categories = kinds_[Kind::Special].categories;
        int found = categories.findPrefix(recommendations ? "Special - Recommendations"
                                                          : "Special - Windows Starter Kit");
        categories.setListIndex(found);
        if (found < 0)
            kinds_[Kind::Special].entries.Clear();
        else
            categories.setTopIndex(found);
    });
    guarded([&] {
        special_.title.setText(recommendations ? "Recommendations" : "Windows Starter Kit");
    });
}

} // namespace app
