#include "app/pure/installed_list.h"

#include <gtest/gtest.h>

using app::InstalledNames;

TEST(InstalledNames, TakesEachNameOnceByItsFirst200CharactersWithCaseMattering) {
    InstalledNames names;
    EXPECT_TRUE(names.add("7-Zip 23.01 (x64)"));
    EXPECT_FALSE(names.add("7-Zip 23.01 (x64)"));
    EXPECT_TRUE(names.add("7-ZIP 23.01 (X64)")); // letter case tells them apart

    std::string base(200, 'a');
    EXPECT_TRUE(names.add(base + "first"));
    EXPECT_FALSE(names.add(base + "second")); // equal within the first 200
    EXPECT_TRUE(names.add(base.substr(0, 199) + "b"));

    EXPECT_FALSE(names.add("")); // not an application
    EXPECT_EQ(names.size(), 4u);
    EXPECT_EQ(names.names().front(), "7-Zip 23.01 (x64)"); // in the order they came
}

TEST(InstalledNames, NamesBeyondTheReadBufferAreLeftOut) {
    InstalledNames names;
    EXPECT_TRUE(names.add(std::string(254, 'x')));
    EXPECT_FALSE(names.add(std::string(255, 'y')));
    EXPECT_FALSE(names.add(std::string(1000, 'z')));
    EXPECT_EQ(names.size(), 1u);
}

TEST(InstalledNames, ValueBufferTextEndsAtTheFirstNul) {
    const unsigned char data[] = {'A', 'b', 0, 'c', 0};
    EXPECT_EQ(app::displayNameFromBuffer(data, sizeof data), "Ab");
    const unsigned char full[] = {'x', 'y'}; // no NUL: the whole buffer
    EXPECT_EQ(app::displayNameFromBuffer(full, sizeof full), "xy");
}

TEST(InstalledSearch, StarFindsAnywhereOtherwiseAtTheStartBothIgnoringCase) {
    const std::vector<std::string> names = {"7-Zip 23.01 (x64)", "Mozilla Firefox",
                                            "Search ... tool", "Notepad++", "p7zip-gui"};
    using V = std::vector<size_t>;
    EXPECT_EQ(app::searchInstalled("*", names), (V{0, 1, 2, 3, 4}));
    EXPECT_EQ(app::searchInstalled("", names), V{});
    EXPECT_EQ(app::searchInstalled("Search ...", names), V{2});
    EXPECT_EQ(app::searchInstalled("*7-Z", names), V{0});
    EXPECT_EQ(app::searchInstalled("*7z", names), V{4});
    EXPECT_EQ(app::searchInstalled("mOZ", names), V{1});
    EXPECT_EQ(app::searchInstalled("fire", names), V{}); // not at the start
    EXPECT_EQ(app::searchInstalled("*FIRE", names), V{1});
    EXPECT_EQ(app::searchInstalled("Mozilla Firefox and more", names), V{});
}

TEST(InstalledSearch, CheckWindowTextAndCaptionForAnEntry) {
    EXPECT_EQ(app::checkSearchText("7-Zip"), "*7-Z");
    EXPECT_EQ(app::checkSearchText("Qt"), "*Qt");
    EXPECT_EQ(app::checkSearchText(""), "*");
    EXPECT_EQ(app::checkCaption("7-Zip"), "Fetchlets - Check whether 7-Zip Installed");
    EXPECT_EQ(app::checkCaption(""), "Fetchlets - Check whether App Installed");
}

TEST(InstalledMatcher, EntryMatchesAnInstalledNameThatIsItOrStartsWithItAsAWord) {
    app::InstalledMatcher m({"7-Zip 23.01 (x64)", "Mozilla Firefox (x64 en-US)", "Operator Tool",
                             "VLC media player", "Notepad++", "GIMP"});
    EXPECT_TRUE(m.isInstalled("7-Zip"));
    EXPECT_TRUE(m.isInstalled("7-zip"));
    EXPECT_TRUE(m.isInstalled("Mozilla Firefox"));
    EXPECT_TRUE(m.isInstalled("VLC media player"));
    EXPECT_TRUE(m.isInstalled("Notepad"));  // "+" is no letter or digit
    EXPECT_TRUE(m.isInstalled("gimp "));    // blanks around the entry's name ignored
    EXPECT_FALSE(m.isInstalled("Opera"));   // "Operator" is another word
    EXPECT_FALSE(m.isInstalled("Zip"));     // must start the installed name
    EXPECT_FALSE(m.isInstalled("Firefox")); // likewise
    EXPECT_FALSE(m.isInstalled("VLC media player Pro"));
    EXPECT_FALSE(m.isInstalled(""));
    EXPECT_FALSE(app::InstalledMatcher().isInstalled("7-Zip"));
}

TEST(InstalledMatcher, FindsTheWordMatchAmongSeveralNamesWithTheSamePrefix) {
    // "Opera" sorts before "Opera GX" and "OperaMail": every candidate is tried.
    app::InstalledMatcher m({"OperaMail", "Operative", "Opera GX Stable"});
    EXPECT_TRUE(m.isInstalled("Opera"));
    app::InstalledMatcher none({"OperaMail", "Operative"});
    EXPECT_FALSE(none.isInstalled("Opera"));
}
