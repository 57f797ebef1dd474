// Large synthetic catalogs for tests and benchmarks: a profile file of
// `categories` sections with `entriesPerCategory` "name=link" lines each,
// CR LF line ends, the same bytes for the same arguments and seed.
#pragma once

#include <string>

namespace catalog {

// The catalog text itself. Category names are "Category <n> <word>", entry
// names "<word> <word> <n>" (unique within their category), links
// "http://www.<word>.example/<path>/<file>.exe".
std::string syntheticCatalog(int categories, int entriesPerCategory, unsigned seed);

// Writes syntheticCatalog(...) to `path` (replacing it); false on failure.
bool writeSyntheticCatalog(const std::string& path, int categories, int entriesPerCategory,
                           unsigned seed);

} // namespace catalog
