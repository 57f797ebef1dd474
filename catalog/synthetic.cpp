#include "catalog/synthetic.h"

#include <cstdint>
#include <cstdio>

namespace catalog {

namespace {

// A small fixed generator, so that the output does not depend on the
// standard library's distributions.
struct SplitMix {
    std::uint64_t state;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    unsigned below(unsigned n) { return static_cast<unsigned>(next() % n); }
};

const char* const kWords[] = {
    "Alpha",  "Bright",  "Cedar",   "Delta",  "Ember",  "Falcon", "Granite", "Harbor",
    "Indigo", "Juniper", "Kestrel", "Lumen",  "Maple",  "Nimbus", "Onyx",    "Pixel",
    "Quartz", "Raven",   "Summit",  "Tundra", "Umber",  "Vector", "Willow",  "Xenon",
    "Yonder", "Zephyr",  "Studio",  "Player", "Editor", "Viewer", "Backup",  "Sync",
};
constexpr unsigned kWordCount = sizeof(kWords) / sizeof(kWords[0]);

std::string lower(const char* s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace

std::string syntheticCatalog(int categories, int entriesPerCategory, unsigned seed) {
    SplitMix rng{0x5EED0000ull ^ seed};
    std::string out;
    if (categories > 0 && entriesPerCategory > 0)
        out.reserve(static_cast<size_t>(categories) *
                    (24 + static_cast<size_t>(entriesPerCategory) * 44));
    for (int c = 0; c < categories; ++c) {
        out += "[Category ";
        out += std::to_string(c + 1);
        out += ' ';
        out += kWords[rng.below(kWordCount)];
        out += "]\r\n";
        for (int e = 0; e < entriesPerCategory; ++e) {
            out += kWords[rng.below(kWordCount)];
            out += ' ';
            out += std::to_string(e + 1);
            out += "=http://";
            out += lower(kWords[rng.below(kWordCount)]);
            out += ".example/";
            out += std::to_string(rng.below(1000));
            out += ".exe\r\n";
        }
    }
    return out;
}

bool writeSyntheticCatalog(const std::string& path, int categories, int entriesPerCategory,
                           unsigned seed) {
    const std::string text = syntheticCatalog(categories, entriesPerCategory, seed);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool wrote = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool closed = std::fclose(f) == 0;
    return wrote && closed;
}

} // namespace catalog
