#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "generator/queue.h"

// The sanitizers' allocators end the program on a request they cannot
// serve; the generator's own reports of failed allocations are under test
// here, so they must return null as the plain allocator does.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
extern "C" const char* __tsan_default_options() { return "allocator_may_return_null=1"; }

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

TEST(QueueTest, TheFiveThousandAndFirstElementGrowsTheQueueKeepingOrder) {
  Queue queue(kSize);
  for (unsigned long n = 1; n <= 5000; n++) {
    Record r(n);
    queue.Enqueue(&r.s);
  }
  Record r(5001);
  expectHolds(queue.Enqueue(&r.s), 5001);
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
  // 1500 queued, front in the middle; fill up past the end of the storage
  // and grow twice.
  for (int i = 0; i < 9000; i++) {
    Record r(next++);
    queue.Enqueue(&r.s);
  }
  while (state_struct* slot = queue.Dequeue()) {
    expectHolds(slot, expected++);
  }
  EXPECT_EQ(next, expected);
}

TEST(QueueDeathTest, RunningOutOfMemoryIsReportedOnStandardError) {
  // 5000 elements of this size exceed any memory (and a size_t).
  EXPECT_EXIT(Queue(std::numeric_limits<unsigned long>::max() / 1000), testing::ExitedWithCode(1),
              "^Error out of memory\n$");
}

}  // namespace
