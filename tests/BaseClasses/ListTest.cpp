#include <gtest/gtest.h>

#include <vector>

#include "Cpp/BaseClasses/List.h"

namespace {

struct Item {
  int id;
};

TEST(ListTest, IsASetThatDoublesWhenFull) {
  Item items[11];
  List<Item> list;
  for (Item& item : items) {
    list.append(&item);
    list.append(&item);
  }
  EXPECT_EQ(11, list.getNumItems());
  EXPECT_EQ(&items[10], list[10]);
}

TEST(ListTest, ZeroCapacityGrowsOnFirstAppend) {
  Item a{1};
  List<Item> list(0);
  list.append(&a);
  EXPECT_EQ(1, list.getNumItems());
  EXPECT_EQ(&a, list.getItem(0));
}

TEST(ListTest, RemoveMovesTheLastItemAndReplaceKeepsASet) {
  Item a{1}, b{2}, c{3}, d{4};
  List<Item> list;
  list.append(&a);
  list.append(&b);
  list.append(&c);
  list.remove(&a);
  EXPECT_EQ(&c, list[0]);
  EXPECT_EQ(&b, list[1]);
  list.replaceItem(&b, &d);  // d absent: takes b's slot
  EXPECT_EQ(&d, list[1]);
  list.replaceItem(&c, &d);  // d present: c is removed
  EXPECT_EQ(1, list.getNumItems());
  EXPECT_EQ(&d, list[0]);
}

TEST(ListTest, AppendListGrowsOnceEvenWhenNothingIsNew) {
  Item items[6];
  List<Item> first(4);
  List<Item> second(4);
  for (int i = 0; i < 3; i++) {
    first.append(&items[i]);
    second.append(&items[i]);
  }
  first.append(&second);
  EXPECT_EQ(3, first.getNumItems());
  // 3 + 3 > 4: the array grew to 12, so nine more items fit without growth
  // through insertItem, which never grows.
  Item more[9];
  for (Item& item : more) {
    first.insertItem(&item);
  }
  EXPECT_EQ(12, first.getNumItems());
}

// A batch too long to check by scanning: the same set, in the same order,
// as appending its items one by one.
TEST(ListTest, ALongBatchKeepsTheFirstCopyOfEachNewItemInOrder) {
  std::vector<Item> items(300);
  std::vector<Item*> batch;
  for (int i = 0; i < 900; i++) {
    batch.push_back(&items[(i * 7919) % 300]);
  }
  List<Item> byBatch;
  List<Item> oneByOne;
  for (int i = 0; i < 100; i += 3) {
    byBatch.append(&items[i]);
    oneByOne.append(&items[i]);
  }
  byBatch.append(batch.data(), static_cast<int>(batch.size()));
  for (Item* item : batch) {
    oneByOne.append(item);
  }
  ASSERT_EQ(300, byBatch.getNumItems());
  for (int i = 0; i < 300; i++) {
    EXPECT_EQ(oneByOne[i], byBatch[i]) << i;
  }
}

TEST(ListTest, RemoveSetOfItemsKeepsOrder) {
  Item a{1}, b{2}, c{3}, d{4};
  List<Item> list;
  List<Item> gone;
  for (Item* item : {&a, &b, &c, &d}) {
    list.append(item);
  }
  gone.append(&b);
  gone.append(&a);
  list.removeSetOfItems(gone);
  ASSERT_EQ(2, list.getNumItems());
  EXPECT_EQ(&c, list[0]);
  EXPECT_EQ(&d, list[1]);
}

}  // namespace
