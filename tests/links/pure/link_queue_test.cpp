#include "links/pure/link_queue.h"

#include <gtest/gtest.h>

using links::blacklisted;
using links::formatQueue;
using links::parseQueue;
using links::repeatedLinks;
using links::selectionText;
using links::tidyQueue;

TEST(LinkQueueFile, LinesComeBackWholeAndGoOutWithCrLf) {
    auto q = parseQueue("A\r\nB\r\nA\r\nC\r\n");
    EXPECT_EQ(q.links, (std::vector<std::string>{"A", "B", "A", "C"}));
    EXPECT_FALSE(q.truncated);
    EXPECT_EQ(formatQueue(q.links), "A\r\nB\r\nA\r\nC\r\n");

    // Blanks are kept, an empty line is an empty link, a last line without an
    // ending still counts, and lone CR or LF end a line too.
    q = parseQueue(" http://x.org/a \r\n\r\nhttp://y.org/b");
    EXPECT_EQ(q.links, (std::vector<std::string>{" http://x.org/a ", "", "http://y.org/b"}));
    EXPECT_EQ(parseQueue("a\nb\rc").links, (std::vector<std::string>{"a", "b", "c"}));

    EXPECT_TRUE(parseQueue("").links.empty());
    EXPECT_EQ(formatQueue({}), "");
    EXPECT_EQ(formatQueue({""}), "\r\n");
}

TEST(LinkQueueFile, AFileBeyondTheLimitKeepsTheFirstLinks) {
    std::string bytes;
    for (std::size_t i = 0; i < links::kMaxLinks + 2; ++i)
        bytes += "http://h.org/" + std::to_string(i) + "\r\n";
    auto q = parseQueue(bytes);
    ASSERT_EQ(q.links.size(), links::kMaxLinks);
    EXPECT_TRUE(q.truncated);
    EXPECT_EQ(q.links.back(), "http://h.org/32766");
    // Exactly at the limit nothing is cut.
    EXPECT_FALSE(parseQueue(formatQueue(q.links)).truncated);
}

TEST(LinkQueueTidy, KeepsFirstOccurrencesInOrderAndIsExact) {
    std::vector<std::string> q{"A", "B", "A", "C", "B", "a", "A"};
    EXPECT_EQ(repeatedLinks(q), (std::vector<std::size_t>{2, 4, 6}));
    EXPECT_TRUE(tidyQueue(q));
    EXPECT_EQ(q, (std::vector<std::string>{"A", "B", "C", "a"}));
    EXPECT_FALSE(tidyQueue(q));
    EXPECT_EQ(q.size(), 4u);

    // Two empty links are repeats too; blanks make links different.
    std::vector<std::string> e{"", "x", "", "x ", ""};
    EXPECT_EQ(repeatedLinks(e), (std::vector<std::size_t>{2, 4}));
}

TEST(LinkQueueSelection, SelectedLinksEachEndWithCrLf) {
    std::vector<std::string> q{"a", "b", "c", "d"};
    EXPECT_EQ(selectionText(q, {false, true, false, true}), "b\r\nd\r\n");
    EXPECT_EQ(selectionText(q, {false, false, false, false}), "");
}

TEST(Blacklist, CaseSensitiveSubstringWithTheEmptyLineRule) {
    EXPECT_FALSE(blacklisted("http://x.org/Setup.exe", {"setup"}));
    EXPECT_TRUE(blacklisted("http://x.org/badtool_setup.exe", {"nothing", "badtool"}));
    // An empty line occurs in every non-empty link, but not in an empty one.
    EXPECT_TRUE(blacklisted("http://x.org/a.exe", {""}));
    EXPECT_FALSE(blacklisted("", {""}));
    EXPECT_FALSE(blacklisted("http://x.org/a.exe", {}));
}
