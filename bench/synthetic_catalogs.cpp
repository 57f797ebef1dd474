// Writes the five catalog files of a program folder's Data folder as large
// synthetic catalogs, for the start-up benchmark:
//   synthetic_catalogs.exe DATA_FOLDER [CATEGORIES [ENTRIES_PER_CATEGORY]]
// (default 500 categories of 10 entries: 5,000 entries a file).
#include "catalog/synthetic.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: synthetic_catalogs DATA_FOLDER [CATEGORIES [ENTRIES]]\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    int categories = argc > 2 ? std::atoi(argv[2]) : 500;
    int entries = argc > 3 ? std::atoi(argv[3]) : 10;
    const char* files[] = {"FLApps.def", "FLPortable.def", "FLSlim.def", "FLSpecial.def",
                           "FLPages.def"};
    unsigned seed = 1;
    for (const char* f : files)
        if (!catalog::writeSyntheticCatalog(folder + f, categories, entries, seed++)) {
            std::fprintf(stderr, "cannot write %s%s\n", folder.c_str(), f);
            return 1;
        }
    return 0;
}
