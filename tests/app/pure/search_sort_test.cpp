// The search step, the blacklist rule and the A-Z sort as pure rules.
#include "app/pure/search_sort.h"

#include <gtest/gtest.h>

#include <random>

using app::searchStep;
using Items = std::vector<std::string>;

TEST(SearchStep, FindsTheNextEntryContainingTheTermAndWrapsAfterTheLast) {
    const Items entries{"Alpha", "beta", "Gamma", "alphabet", "Delta"};
    // An empty term is in every entry: the first key press selects the first.
    auto s = searchStep(entries, "", "-1");
    EXPECT_EQ(s.select, 0);
    EXPECT_EQ(s.position, "0");
    EXPECT_FALSE(s.wrapped);
    // Letter case is ignored, blanks around the term are not part of it, and
    // the search goes on after the last hit.
    s = searchStep(entries, "  ALPHA ", s.position);
    EXPECT_EQ(s.select, 3);
    EXPECT_EQ(s.position, "3");
    s = searchStep(entries, "alpha", s.position);
    EXPECT_EQ(s.select, -1); // no further hit: the selection stays
    EXPECT_EQ(s.position, "-1");
    EXPECT_TRUE(s.wrapped);
    EXPECT_EQ(searchStep(entries, "alpha", s.position).select, 0); // from the top again
    // A hit on the last entry selects it and starts over.
    s = searchStep(entries, "delta", "-1");
    EXPECT_EQ(s.select, 4);
    EXPECT_EQ(s.position, "-1");
    EXPECT_TRUE(s.wrapped);
    // An empty or non-numeric position starts at the top; a position past
    // the end finds nothing.
    EXPECT_EQ(searchStep(entries, "a", "").select, 0);
    EXPECT_EQ(searchStep(entries, "a", "x").select, 0);
    EXPECT_EQ(searchStep(entries, "a", "99").select, -1);
    EXPECT_EQ(searchStep(entries, "a", "9223372036854775807").select, -1); // no overflow
    EXPECT_TRUE(searchStep(entries, "a", "99999999999999999999").wrapped);
    EXPECT_EQ(searchStep({}, "a", "-1").select, -1);
}

TEST(SearchStep, UpperCaseCoversTheCodePageLettersAndTheScanStopsAtItsCap) {
    EXPECT_EQ(app::upperAnsi("caf\xe9 \x9a\xff"), "CAF\xc9 \x8a\x9f");
    Items many(50000, "x");
    many[45000] = "needle";
    EXPECT_EQ(searchStep(many, "needle", "-1").select, -1);
    many[app::kSearchScanCap] = "needle";
    auto s = searchStep(many, "needle", "-1");
    EXPECT_EQ(s.select, app::kSearchScanCap);
    EXPECT_TRUE(s.wrapped); // the cap is the last index scanned
}

namespace {

// The sort as first described: join with the separator, split, and insert
// each item before the first that compares greater.
Items describedSort(const Items& items) {
    const std::string sep = "\xa6\xa6";
    std::string joined;
    for (size_t i = 0; i < items.size(); ++i)
        joined += items[i] + (i + 1 < items.size() ? sep : "");
    Items parts;
    if (!items.empty()) {
        size_t from = 0;
        for (size_t at; (at = joined.find(sep, from)) != std::string::npos; from = at + 2)
            parts.push_back(joined.substr(from, at - from));
        parts.push_back(joined.substr(from));
    }
    Items list;
    for (const std::string& item : parts) {
        size_t i = 0;
        while (i < list.size() && !app::ordinalLess(item, list[i]))
            ++i;
        list.insert(list.begin() + static_cast<long>(i), item);
    }
    return list;
}

} // namespace

TEST(SortAZ, OrdinalAscendingStableAndItemsStayWhole) {
    Items v{"b", "B", "a"};
    app::sortAZ(v);
    EXPECT_EQ(v, (Items{"B", "a", "b"}));
    // Code page 1252's euro sign (U+20AC) sorts after every Latin-1 letter.
    v = {"\x80", "\xe9", "z"};
    app::sortAZ(v);
    EXPECT_EQ(v, (Items{"z", "\xe9", "\x80"}));
    // An item holding the old separator stays one item.
    v = {"b\xa6\xa6"
         "a",
         "c"};
    app::sortAZ(v);
    EXPECT_EQ(v, (Items{"b\xa6\xa6"
                        "a",
                        "c"}));
    v = {};
    app::sortAZ(v);
    EXPECT_TRUE(v.empty());
}

TEST(SortAZ, SameOrderAsTheDescribedInsertionOnRandomLists) {
    std::mt19937 rng(7);
    const std::string alphabet = "aAbB \x80\xe9-1";
    for (int round = 0; round < 300; ++round) {
        Items v(rng() % 40);
        for (std::string& s : v)
            for (size_t n = rng() % 4; n > 0; --n)
                s += alphabet[rng() % alphabet.size()];
        // Equal items must keep their order: tag duplicates by identity.
        Items sorted = v;
        app::sortAZ(sorted);
        EXPECT_EQ(sorted, describedSort(v)) << "round " << round;
    }
}
