#include "foundation/keyed_collection.h"

#include <gtest/gtest.h>

#include "foundation/api_strings.h"

namespace parlavent {
namespace {

TEST(KeyedCollection, KeepsInsertionOrderAndFindsCaseBlind) {
  KeyedCollection<int> c;
  EXPECT_TRUE(c.Add(API::MakeKey(u"Haus"), 1));
  EXPECT_TRUE(c.Add(API::MakeKey(u"Дом"), 2));
  EXPECT_TRUE(c.Add(API::MakeKey(12), 3));
  ASSERT_EQ(c.Count(), 3u);
  EXPECT_EQ(*c.Find(u"KHAUS"), 1);
  EXPECT_EQ(*c.Find(u"kдОМ"), 2);
  EXPECT_EQ(*c.Find(u"k12"), 3);
  EXPECT_EQ(c.Find(u"k13"), nullptr);
  EXPECT_EQ(*c.ItemAt(1), 1);
  EXPECT_EQ(*c.ItemAt(3), 3);
  EXPECT_EQ(c.ItemAt(0), nullptr);
  EXPECT_EQ(c.ItemAt(4), nullptr);
}

TEST(KeyedCollection, SecondAddUnderAKeyIsRefusedSoTheFirstWins) {
  KeyedCollection<std::u16string> c;
  EXPECT_TRUE(c.Add(u"kword", u"first"));
  EXPECT_FALSE(c.Add(u"KWORD", u"second"));
  EXPECT_EQ(c.Count(), 1u);
  EXPECT_EQ(*c.Find(u"kWord"), u"first");
}

TEST(KeyedCollection, RemovalKeepsTheRestReachable) {
  KeyedCollection<int> c;
  for (int i = 0; i < 5; ++i) c.Add(API::MakeKey(i), i);
  c.AddUnkeyed(99);
  EXPECT_TRUE(c.Remove(u"k1"));
  EXPECT_FALSE(c.Remove(u"k1"));
  EXPECT_TRUE(c.RemoveAt(1));  // k0
  EXPECT_EQ(*c.Find(u"k4"), 4);
  EXPECT_EQ(*c.ItemAt(1), 2);
  std::vector<int> seen;
  for (int v : c) seen.push_back(v);
  EXPECT_EQ(seen, (std::vector<int>{2, 3, 4, 99}));
  EXPECT_TRUE(c.Add(u"k1", 1));  // a removed key can be added again
}

}  // namespace
}  // namespace parlavent
