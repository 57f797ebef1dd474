// Browsing the catalog: the five category lists filled from the catalog
// files, a chosen category listing its entries, a chosen entry putting its
// link into the link field and switching its kind's commands (the blacklist
// withholding the direct download), the name copy into the search box, and
// the two Special sub-catalogs.
#pragma once

#include "app/kinds.h"
#include "app/link_field.h"
#include "platform/environment.h"

#include <array>
#include <string>

namespace app {

// The controls of the Special page that the sub-catalog buttons change.
struct SpecialView {
    forms::PageStack& outer; // SSTab1
    forms::PageStack& inner; // SSTab2
    forms::Image& recommendationsBanner;
    forms::Image& starterKitBanner;
    forms::TextBox& title;    // txtSpecialSearch
    forms::Label& pagesTitle; // lblPages: the Pages kind's name copy goes here
};

enum class SubCatalog { Recommendations, StarterKit };

class Browsing {
  public:
    Browsing(const Kinds& kinds, platform::Environment& environment, LinkField linkField,
             forms::ListBox& blacklist, SpecialView special)
        : kinds_(kinds), environment_(environment), linkField_(linkField), blacklist_(blacklist),
          special_(special) {}

    // Fills each kind's category list from its catalog file, in load order.
    void LoadCategoryLists();
    // The chosen category's entries fill the kind's entry list; the commands
    // acting on an entry wait for one to be chosen.
    void categoryChosen(catalog::Kind kind);
    // The chosen entry's link goes into the link field and the kind's
    // commands follow it; an entry without a link changes nothing.
    void entryChosen(catalog::Kind kind);
    // The selected entry's name goes into the kind's search box (Pages: the
    // title above its list).
    void copyName(catalog::Kind kind);
    // Turns to the Special page and shows one of its two sub-catalogs.
    void showSubCatalog(SubCatalog which);

    // The catalog file of a kind, formed when the lists were loaded.
    const std::string& catalogFile(catalog::Kind kind) const {
        return catalogFiles_[static_cast<size_t>(kind)];
    }

  private:
    const Kinds& kinds_;
    platform::Environment& environment_;
    LinkField linkField_;
    forms::ListBox& blacklist_;
    SpecialView special_;
    std::array<std::string, 5> catalogFiles_;
};

} // namespace app
