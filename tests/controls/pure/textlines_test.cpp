#include "controls/pure/textlines.h"

#include <gtest/gtest.h>

using controls::IsDelim;
using controls::SplitToLines;

namespace {

// Every character is 10 pixels wide.
int Fixed(std::string_view s) {
    return static_cast<int>(s.size()) * 10;
}

} // namespace

TEST(IsDelim, LettersAndUnderscoreAreNotDelimiters) {
    for (char c = 'A'; c <= 'Z'; ++c)
        EXPECT_FALSE(IsDelim(c)) << c;
    for (char c = 'a'; c <= 'z'; ++c)
        EXPECT_FALSE(IsDelim(c)) << c;
    EXPECT_FALSE(IsDelim('_'));
    for (char c : std::string(" -.,/0123456789\t!"))
        EXPECT_TRUE(IsDelim(c)) << c;
    EXPECT_TRUE(IsDelim(static_cast<char>(0xE9))); // accented letters are not A-Z
}

TEST(SplitToLines, CutsAfterTheLastDelimiterAndDropsLeadingSpaces) {
    // 8 characters fit per line.
    auto lines = SplitToLines("Get Portable Apps", 80, true, Fixed);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Get ");
    EXPECT_EQ(lines[1], "Portable");
    EXPECT_EQ(lines[2], "Apps");
}

TEST(SplitToLines, TextThatFitsIsOneLineAndEmptyTextIsNone) {
    EXPECT_EQ(SplitToLines("Home", 80, true, Fixed), std::vector<std::string>{"Home"});
    EXPECT_TRUE(SplitToLines("", 80, true, Fixed).empty());
}

TEST(SplitToLines, ALongWordIsCutAtTheOverflowingCharacter) {
    auto lines = SplitToLines("abcdefghij", 40, true, Fixed);
    EXPECT_EQ(lines, (std::vector<std::string>{"abcd", "efgh", "ij"}));
}

TEST(SplitToLines, DigitsAndHyphensAreBreakPoints) {
    auto lines = SplitToLines("abc-defgh", 60, true, Fixed);
    EXPECT_EQ(lines, (std::vector<std::string>{"abc-", "defgh"}));
    lines = SplitToLines("abc1defgh", 60, true, Fixed);
    EXPECT_EQ(lines, (std::vector<std::string>{"abc1", "defgh"}));
}

TEST(SplitToLines, FilterRemovesCrLfPairsOnly) {
    EXPECT_EQ(SplitToLines("ab\r\ncd", 100, true, Fixed), std::vector<std::string>{"abcd"});
    // Without the filter the pair stays in the text.
    EXPECT_EQ(SplitToLines("ab\r\ncd", 100, false, Fixed), std::vector<std::string>{"ab\r\ncd"});
    // A lone CR or LF is not a pair.
    EXPECT_EQ(SplitToLines("ab\ncd", 100, true, Fixed), std::vector<std::string>{"ab\ncd"});
}

TEST(SplitToLines, WidthBelowOneCharacterStillEnds) {
    auto lines = SplitToLines("abc", 0, true, Fixed);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c"}));
    lines = SplitToLines("a b", -5, true, Fixed);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));
}
