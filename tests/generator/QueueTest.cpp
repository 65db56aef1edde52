#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "generator/queue.h"

namespace {

const unsigned long kSize = 3;

// A record whose vector spells out its number, so order and content can be
// checked together.
struct Record {
  char bytes[kSize];
  state_struct s{bytes, 0};
  explicit Record(unsigned long n) {
    s.number = n;
    bytes[0] = static_cast<char>(n);
    bytes[1] = static_cast<char>(n >> 8);
    bytes[2] = static_cast<char>(n >> 16);
  }
};

void expectHolds(const state_struct* slot, unsigned long n) {
  ASSERT_NE(nullptr, slot);
  Record expected(n);
  EXPECT_EQ(n, slot->number);
  EXPECT_EQ(0, std::memcmp(expected.bytes, slot->state, kSize)) << "element " << n;
}

TEST(QueueTest, FirstElementGoesToSlotOneAndEmptyDequeueIsNull) {
  Queue queue(kSize);
  EXPECT_EQ(nullptr, queue.Dequeue());
  Record first(1);
  state_struct* slot = queue.Enqueue(&first.s);
  EXPECT_EQ(queue.Slots[1], slot);
  EXPECT_NE(first.s.state, slot->state);  // a copy, not the caller's buffer
  EXPECT_EQ(slot, queue.Dequeue());
  expectHolds(slot, 1);
  EXPECT_EQ(nullptr, queue.Dequeue());
}

TEST(QueueTest, InterleavedUseWrapsAroundInOrder) {
  Queue queue(kSize);
  unsigned long next = 1, expected = 1;
  // Keep about 3000 elements queued so the indices pass 0 several times.
  for (int round = 0; round < 6; round++) {
    for (int i = 0; i < 3000; i++) {
      Record r(next++);
      queue.Enqueue(&r.s);
    }
    while (queue.Count > 1000) {
      expectHolds(queue.Dequeue(), expected++);
    }
  }
  EXPECT_EQ(5000ul, queue.Capacity);
  while (state_struct* slot = queue.Dequeue()) {
    expectHolds(slot, expected++);
  }
  EXPECT_EQ(next, expected);
}

TEST(QueueTest, GrowsAtTheFiveThousandAndFirstElementKeepingOrder) {
  Queue queue(kSize);
  for (unsigned long n = 1; n <= 5000; n++) {
    Record r(n);
    queue.Enqueue(&r.s);
  }
  EXPECT_EQ(5000ul, queue.Capacity);
  EXPECT_EQ(0ul, queue.Back);  // slots 1 to 4999, then slot 0
  Record r(5001);
  queue.Enqueue(&r.s);
  EXPECT_EQ(10000ul, queue.Capacity);
  EXPECT_EQ(2ul, queue.Generation);
  EXPECT_EQ(1ul, queue.Front);
  EXPECT_EQ(5001ul, queue.Back);
  for (unsigned long n = 1; n <= 5001; n++) {
    expectHolds(queue.Dequeue(), n);
  }
  EXPECT_EQ(nullptr, queue.Dequeue());
}

TEST(QueueTest, GrowsFromAWrappedStateKeepingOrder) {
  Queue queue(kSize);
  unsigned long next = 1, expected = 1;
  for (int i = 0; i < 4000; i++) {
    Record r(next++);
    queue.Enqueue(&r.s);
  }
  for (int i = 0; i < 2500; i++) {
    expectHolds(queue.Dequeue(), expected++);
  }
  // 1500 queued, front in the middle; fill up past the end of the array and grow twice.
  for (int i = 0; i < 9000; i++) {
    Record r(next++);
    queue.Enqueue(&r.s);
  }
  EXPECT_EQ(15000ul, queue.Capacity);
  while (state_struct* slot = queue.Dequeue()) {
    expectHolds(slot, expected++);
  }
  EXPECT_EQ(next, expected);
}

TEST(QueueTest, MakeEmptyAndPrintNewestFirst) {
  Queue queue(kSize);
  Record a(1), b(0x0302FF);
  queue.Enqueue(&a.s);
  queue.Enqueue(&b.s);
  testing::internal::CaptureStdout();
  queue.Print();
  EXPECT_EQ("-1 2 3 \n1 0 0 \n", testing::internal::GetCapturedStdout());
  queue.Make_Empty();
  EXPECT_EQ(nullptr, queue.Dequeue());
  queue.Enqueue(&a.s);
  EXPECT_EQ(queue.Slots[1], queue.Dequeue());
}

}  // namespace
