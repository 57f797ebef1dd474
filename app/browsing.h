// Browsing the catalog: the five category lists filled from the catalog
// files, and a chosen category listing its entries.
#pragma once

#include "app/kinds.h"
#include "platform/environment.h"

#include <array>
#include <string>

namespace app {

class Browsing {
  public:
    Browsing(const Kinds& kinds, platform::Environment& environment)
        : kinds_(kinds), environment_(environment) {}

    // Fills each kind's category list from its catalog file, in load order.
    void LoadCategoryLists();
    // The chosen category's entries fill the kind's entry list; the commands
    // acting on an entry wait for one to be chosen.
    void categoryChosen(catalog::Kind kind);

    // The catalog file of a kind, formed when the lists were loaded.
    const std::string& catalogFile(catalog::Kind kind) const {
        return catalogFiles_[static_cast<size_t>(kind)];
    }

  private:
    const Kinds& kinds_;
    platform::Environment& environment_;
    std::array<std::string, 5> catalogFiles_;
};

} // namespace app
