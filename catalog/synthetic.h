// Large synthetic catalogs for tests and benchmarks: a profile file of
// `categories` sections with `entriesPerCategory` "name=link" lines each,
// CR LF line ends, the same bytes for the same arguments and seed.
#pragma once

#include <string>

namespace catalog {

// The catalog text itself. Category names are "Category <n> <Word>", entry
// names "<Word> <n>" (unique within their category), links
// "http://<word>.example/<number>.exe": about 43 bytes a line, so 500
// categories of 100 entries make a file of about 2 MB.
std::string syntheticCatalog(int categories, int entriesPerCategory, unsigned seed);

// Writes syntheticCatalog(...) to `path` (replacing it); false on failure.
bool writeSyntheticCatalog(const std::string& path, int categories, int entriesPerCategory,
                           unsigned seed);

} // namespace catalog
