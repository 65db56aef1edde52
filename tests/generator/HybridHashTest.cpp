#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "generator/HybridHash.h"
#include "tests/BaseClasses/StubModel.h"

namespace {

// A model that only knows its vector size: two vectors are equal when their
// bytes are. It counts the comparisons the store asks for.
class ByteModel : public StubModel {
 public:
  explicit ByteModel(int size) : Size(size) {}
  int StateSize() override { return Size; }
  bool CompareState(void* a, void* b) override {
    Comparisons++;
    return std::memcmp(a, b, Size) == 0;
  }

  long Comparisons = 0;

 private:
  int Size;
};

// A 12-byte vector that differs for every number, with the differing bytes
// spread over the vector.
std::vector<char> vectorOf(unsigned long n) {
  std::vector<char> v(12, 0);
  v[0] = static_cast<char>(n);
  v[5] = static_cast<char>(n >> 8);
  v[11] = static_cast<char>(n >> 16);
  return v;
}

TEST(HybridHashTest, EveryStoredVectorIsFoundAcrossGrowthAndBlocks) {
  ByteModel model(12);
  // A small table and small blocks: the table doubles many times and the
  // vectors fill many blocks.
  HybridHash store(&model, 12, 4, 16, 0.5);
  const unsigned long count = 20000;
  for (unsigned long n = 1; n <= count; n++) {
    store.Insert(vectorOf(n).data(), n);
  }
  for (unsigned long n = 1; n <= count; n++) {
    ASSERT_EQ(static_cast<long>(n), store.Lookup(vectorOf(n).data())) << n;
    ASSERT_EQ(0, std::memcmp(vectorOf(n).data(), store.Vector(n), 12)) << n;
  }
  EXPECT_EQ(-1, store.Lookup(vectorOf(count + 1).data()));
}

TEST(HybridHashTest, FindOrInsertNumbersOnlyNewVectors) {
  ByteModel model(12);
  HybridHash store(&model, 12, 8, 4, 0.5);
  store.Insert(vectorOf(1).data(), 1);
  EXPECT_EQ(1ul, store.FindOrInsert(vectorOf(1).data(), 2));
  EXPECT_EQ(2ul, store.FindOrInsert(vectorOf(2).data(), 2));
  EXPECT_EQ(3ul, store.FindOrInsert(vectorOf(3).data(), 3));
  // Number 4 reaches 8 x 0.5: the table doubles before the vector goes in.
  EXPECT_EQ(4ul, store.FindOrInsert(vectorOf(4).data(), 4));
  EXPECT_EQ(2ul, store.FindOrInsert(vectorOf(2).data(), 5));
  for (unsigned long n = 1; n <= 4; n++) {
    EXPECT_EQ(static_cast<long>(n), store.Lookup(vectorOf(n).data()));
  }
}

TEST(HybridHashTest, ATinyLoadFactorKeepsTheTableProportionalToTheStates) {
  ByteModel model(12);
  HybridHash store(&model, 12, 4, 16, 1e-9);
  const unsigned long count = 81;
  for (unsigned long n = 1; n <= count; n++) {
    store.Insert(vectorOf(n).data(), n);
  }
  for (unsigned long n = 1; n <= count; n++) {
    ASSERT_EQ(static_cast<long>(n), store.Lookup(vectorOf(n).data())) << n;
  }
  // The table's memory is what bounds a run: a few slots per state, not the
  // billion per state that 1e-9 asks for.
  EXPECT_LE(store.TableSize, 32 * count);
}

TEST(HybridHashTest, ShortAndSimilarVectorsSpreadOverTheTable) {
  // Vectors of one byte, and vectors that differ in one bit only, must not
  // pile up in a few home slots.
  ByteModel model(2);
  HybridHash store(&model, 2, 1 << 20, 1 << 16, 0.5);
  std::set<unsigned long> homes;
  for (int b = 0; b < 256; b++) {
    for (int bit = 0; bit < 8; bit++) {
      const char v[2] = {static_cast<char>(b), static_cast<char>(1 << bit)};
      homes.insert(static_cast<unsigned long>(HybridHash::Hash(v, 2) >> 44));
    }
  }
  EXPECT_GT(homes.size(), 2000u);  // of 2048 vectors in 2^20 slots
}

TEST(HybridHashDeathTest, ANumberBeyondThirtyTwoBitsStopsTheRun) {
  ByteModel model(4);
  HybridHash store(&model, 4, 16, 16, 0.5);
  const char state[4] = {1, 2, 3, 4};
  EXPECT_EXIT(store.Insert(state, 4294967296ul), testing::ExitedWithCode(1),
              "^Error:  the state store is full: state number 4294967296 exceeds 4294967295\n$");
}

TEST(HybridHashDeathTest, LoadFactorMustLieBetweenZeroAndOne) {
  ByteModel model(4);
  EXPECT_DEATH(HybridHash(&model, 4, 16, 16, 1.0),
               "Assertion failed: LoadFactor > 0.0 && LoadFactor < 1.0, file HybridHash.cpp");
}

}  // namespace
