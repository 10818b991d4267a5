// The two fixed containers at their edges: empty, exactly full, one past full, and a ring that wraps.
#include <gtest/gtest.h>

#include "platform/fixed_list.h"
#include "platform/ring.h"

namespace {
TEST(FixedListTest, FullRefusesAndKeepsWhatItHas) {
    FixedList<int, 3> list;
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(list.push(1));
    EXPECT_TRUE(list.push(2));
    ASSERT_NE(list.add(), nullptr);
    list.back() = 3;
    EXPECT_TRUE(list.full());
    EXPECT_FALSE(list.push(4));
    EXPECT_EQ(list.add(), nullptr);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0] + list[1] + list[2], 6);
    int sum = 0;
    for (int v : list) sum = sum * 10 + v;
    EXPECT_EQ(sum, 123);
}

TEST(FixedListTest, RemovingKeepsTheOrderAndFreesOnePlace) {
    FixedList<int, 4> list;
    for (int v : {1, 2, 3, 4}) list.push(v);
    list.removeAt(1);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0], 1);
    EXPECT_EQ(list[1], 3);
    EXPECT_EQ(list[2], 4);
    list.removeAt(2); // the last
    EXPECT_EQ(list.size(), 2);
    EXPECT_TRUE(list.push(9));
    EXPECT_EQ(list[2], 9);
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.begin(), list.end());
}

TEST(FixedListTest, RemoveIfDropsTheMatchesAndKeepsTheOthersInOrder) {
    FixedList<int, 6> list;
    for (int v : {1, 2, 3, 4, 5, 6}) list.push(v);
    EXPECT_EQ(list.removeIf([](int v) { return v % 2 == 0; }), 3);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0], 1);
    EXPECT_EQ(list[1], 3);
    EXPECT_EQ(list[2], 5);
    EXPECT_EQ(list.removeIf([](int) { return false; }), 0);
    EXPECT_EQ(list.size(), 3);
    EXPECT_TRUE(list.push(7)); // the places freed are free again
    EXPECT_EQ(list[3], 7);
    EXPECT_EQ(list.removeIf([](int) { return true; }), 4);
    EXPECT_TRUE(list.empty());
}

TEST(RingTest, TakesOldestFirstAcrossTheWrap) {
    Ring<int, 3> ring;
    ring.push(1);
    ring.push(2);
    ring.popOldest();
    ring.push(3);
    ring.push(4); // into the first slot again
    ASSERT_EQ(ring.size(), 3);
    EXPECT_TRUE(ring.full());
    EXPECT_EQ(ring.oldest(), 2);
    EXPECT_EQ(ring[1], 3);
    EXPECT_EQ(ring.newest(), 4);
    int walked = 0;
    for (int& v : ring) walked = walked * 10 + v; // oldest first, across the end of the slots
    EXPECT_EQ(walked, 234);
    const Ring<int, 3>& seen = ring;
    walked = 0;
    for (const int& v : seen) walked = walked * 10 + v;
    EXPECT_EQ(walked, 234);
    for (int& v : ring) v *= 2; // the walk reaches the values themselves
    EXPECT_EQ(ring.oldest(), 4);
    EXPECT_EQ(ring.newest(), 8);
    ring.clear();
    for (int v : ring) walked = v; // an empty ring walks nothing
    EXPECT_EQ(walked, 234);
}

TEST(RingTest, TheNewestOverwritesTheOldestWhenFull) {
    Ring<int, 3> ring;
    for (int v = 1; v <= 5; ++v) ring.push(v);
    ASSERT_EQ(ring.size(), 3);
    EXPECT_EQ(ring[0], 3);
    EXPECT_EQ(ring[2], 5);
    ring.popOldest();
    ring.popOldest();
    ring.popOldest();
    EXPECT_TRUE(ring.empty());
    ring.push(7);
    EXPECT_EQ(ring.oldest(), 7);
    ring.clear();
    EXPECT_EQ(ring.size(), 0);
}
} // namespace
