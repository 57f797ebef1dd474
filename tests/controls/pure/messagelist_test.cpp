#include <gtest/gtest.h>

#include "controls/pure/messagelist.h"

using namespace controls;

TEST(MessageList, AddingTwiceKeepsOneEntry) {
    MessageList list(32);
    EXPECT_EQ(list.add(512), MessageList::AddResult::Added);
    EXPECT_EQ(list.add(512), MessageList::AddResult::AlreadyPresent);
    EXPECT_EQ(list.count(), 1);
    EXPECT_TRUE(list.contains(512));
    EXPECT_FALSE(list.contains(513));
}

TEST(MessageList, LimitedListOverflowsOnThe33rdButAcceptsAll) {
    MessageList list(32);
    for (long m = 1; m <= 32; ++m)
        ASSERT_EQ(list.add(0x400 + m), MessageList::AddResult::Added);
    EXPECT_EQ(list.add(0x500), MessageList::AddResult::Overflow);
    EXPECT_FALSE(list.contains(0x500));
    EXPECT_EQ(list.add(kAllMessages), MessageList::AddResult::Added);
    EXPECT_EQ(list.count(), -1);
    EXPECT_TRUE(list.contains(0x500));
}

TEST(MessageList, RemovalLeavesAHoleTheNextAdditionFills) {
    MessageList list(32);
    list.add(10);
    list.add(20);
    list.add(30);
    EXPECT_TRUE(list.remove(20));
    EXPECT_EQ(list.count(), 3);
    EXPECT_FALSE(list.contains(20));
    EXPECT_EQ(list.slots()[1], 0u);
    list.add(40);
    EXPECT_EQ(list.slots()[1], 40u);
    EXPECT_EQ(list.count(), 3);
    EXPECT_FALSE(list.remove(99));
}

TEST(MessageList, FullListStillFillsAHole) {
    MessageList list(32);
    for (long m = 1; m <= 32; ++m)
        list.add(m);
    list.remove(7);
    EXPECT_EQ(list.add(100), MessageList::AddResult::Added);
    EXPECT_TRUE(list.contains(100));
}

TEST(MessageList, RemovingAllEmptiesAndGrowingListHasNoLimit) {
    MessageList grow;
    for (long m = 1; m <= 100; ++m)
        ASSERT_EQ(grow.add(m), MessageList::AddResult::Added);
    EXPECT_EQ(grow.count(), 100);
    EXPECT_TRUE(grow.remove(kAllMessages));
    EXPECT_EQ(grow.count(), 0);
    EXPECT_FALSE(grow.contains(5));
}

TEST(MessageList, AMessageListedAfterAHoleIsNotListedTwice) {
    // add 5, add 7, remove 5, add 7, remove 7: 7 must be gone.
    MessageList list;
    list.add(5);
    list.add(7);
    EXPECT_TRUE(list.remove(5));
    EXPECT_EQ(list.add(7), MessageList::AddResult::AlreadyPresent);
    EXPECT_TRUE(list.remove(7));
    EXPECT_FALSE(list.contains(7));
    EXPECT_FALSE(list.remove(7));
}
