// The rules of the entry lists' incremental search, the blacklist and the
// A-Z sort, over plain sequences of texts (ANSI, code page 1252).
#pragma once

#include <string>
#include <vector>

namespace app {

// The longest scan of one search step: a longer list is searched up to this
// index.
inline constexpr int kSearchScanCap = 40000;

struct SearchOutcome {
    int select = -1;      // the entry to select, or -1 to leave the selection alone
    std::string position; // the box's new search position (its Tag)
    bool wrapped = false; // no further hit: the box takes the focus, caret at the end
};

// One search step: the text of the box before the pressed key, trimmed of
// blanks, is looked for (ignoring letter case) in the entries after the
// stored position; the next hit is selected. A hit on the last entry, or no
// hit, starts the next step from the top again.
SearchOutcome searchStep(const std::vector<std::string>& entries, const std::string& boxText,
                         const std::string& position);

// Upper-case form of ANSI text (code page 1252 letters included).
std::string upperAnsi(std::string text);

// Whether any blacklist line occurs in the link (exact, case-sensitive). An
// empty line occurs in every link.
bool blacklisted(const std::string& link, const std::vector<std::string>& blacklist);

// Sorts items in ascending order of their character codes (upper case before
// lower case), equal items keeping their order. An item is never split.
void sortAZ(std::vector<std::string>& items);

// Ordinal comparison by character codes of ANSI text: true when a < b.
bool ordinalLess(const std::string& a, const std::string& b);

} // namespace app
