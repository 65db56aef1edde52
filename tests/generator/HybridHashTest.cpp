#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "Cpp/BaseClasses/BaseModelClass.h"
#include "generator/HybridHash.h"

namespace {

// A model that only knows its vector size: two vectors are equal when their
// bytes are.
class ByteModel : public BaseModelClass {
 public:
  explicit ByteModel(int size) : Size(size) {}
  void listModels(const char*, List<BaseModelClass>*) override {}
  void CurrentState(void*) override {}
  void listActions(List<BaseActionClass>*) override {}
  void listGroups(List<BaseGroupClass>*) override {}
  void SetState(void*) override {}
  int StateSize() override { return Size; }
  bool CompareState(void* a, void* b) override { return std::memcmp(a, b, Size) == 0; }
  void listActions(const char*, List<BaseActionClass>*) override {}
  void listSVs(const char*, const char*, List<BaseStateVariableClass>*,
               List<BaseModelClass>*) override {}

 private:
  int Size;
};

// The generator's parameters.
const unsigned long kTable = 131071, kBlock = 100000, kChunk = 5, kMaxBlocks = 128;

// A 12-byte vector that differs for every number, spread over all chunks.
std::vector<char> vectorOf(unsigned long n) {
  std::vector<char> v(12, 0);
  v[0] = static_cast<char>(n);
  v[5] = static_cast<char>(n >> 8);
  v[10] = static_cast<char>(n >> 16);
  return v;
}

std::uint32_t slotValue(unsigned long block, unsigned long number) {
  return static_cast<std::uint32_t>((block << 24) + number);
}

TEST(HybridHashTest, TwelveByteVectorHashesInThreeChunks) {
  ByteModel model(12);
  HybridHash store(&model, 12, kTable, kBlock, kChunk, kMaxBlocks, 0.5);
  const char state[12] = {1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 6, -1};
  // Chunk 0: ((((1 << 5 ^ 2) << 5 ^ 3) << 5 ^ 4) << 5) ^ 5; chunk 1: 0;
  // chunk 2: (6 << 5) ^ 0xFFFFFFFF, the byte -1 widened with its sign.
  // One non-zero chunk before the last gives the multiplier 16, so the home
  // slot is ((1117317 % 131071) * 16 ^ (4294967103 % 131071)) % 131071
  // = (68749 * 16 ^ 32575) % 131071 = 1095663 % 131071 = 47095.
  EXPECT_EQ(47095ul, store.Hash(state, kTable));
  EXPECT_EQ(1117317u, tempsumarray[0]);
  EXPECT_EQ(0u, tempsumarray[1]);
  EXPECT_EQ(4294967103u, tempsumarray[2]);
  EXPECT_EQ(16u, second_shift);
  store.Insert(state, 1);
  EXPECT_EQ(slotValue(0, 1), store.Table[47095]);
  EXPECT_EQ(1, store.Lookup(state));
}

TEST(HybridHashTest, MultiplierFollowsTheNonZeroChunksBeforeTheLast) {
  const unsigned long chunks[] = {2, 3, 4, 5, 8, 9, 16, 17};
  const std::uint32_t multipliers[] = {16, 8, 8, 4, 4, 2, 2, 1};
  for (int i = 0; i < 8; i++) {
    const unsigned long size = 5 * chunks[i] + 1;  // a short last chunk after them
    ByteModel model(static_cast<int>(size));
    HybridHash store(&model, size, kTable, 10, kChunk, 2, 0.5);
    std::vector<char> state(size, 0);
    for (unsigned long c = 0; c < chunks[i]; c++) {
      state[5 * c] = 1;
    }
    store.Hash(state.data(), kTable);
    EXPECT_EQ(multipliers[i], second_shift) << chunks[i] << " non-zero chunks";
  }
}

TEST(HybridHashTest, CollidingVectorsAreBothFound) {
  ByteModel model(5);
  HybridHash store(&model, 5, kTable, kBlock, kChunk, kMaxBlocks, 0.5);
  // One chunk each: 1 and 4 << 15 = 131072, both 1 modulo 131071.
  const char first[5] = {0, 0, 0, 0, 1};
  const char second[5] = {0, 4, 0, 0, 0};
  ASSERT_EQ(1ul, store.Hash(first, kTable));
  ASSERT_EQ(1ul, store.Hash(second, kTable));
  store.Insert(first, 1);
  store.Insert(second, 2);
  EXPECT_EQ(slotValue(0, 1), store.Table[1]);
  EXPECT_EQ(slotValue(0, 2), store.Table[1 + 1024]);  // first probe step
  const char copyOfSecond[5] = {0, 4, 0, 0, 0};
  EXPECT_EQ(2, store.Lookup(copyOfSecond));
  EXPECT_EQ(1, store.Lookup(first));
  const char absent[5] = {0, 0, 0, 0, 2};
  EXPECT_EQ(-1, store.Lookup(absent));
}

TEST(HybridHashTest, TableGrowsAtState65536AndBlockOneStartsAt100000) {
  ByteModel model(12);
  HybridHash store(&model, 12, kTable, kBlock, kChunk, kMaxBlocks, 0.5);
  for (unsigned long n = 1; n <= 65535; n++) {
    store.Insert(vectorOf(n).data(), n);
  }
  EXPECT_EQ(131071ul, store.TableSize);
  store.Insert(vectorOf(65536).data(), 65536);
  EXPECT_EQ(393209ul, store.TableSize);
  EXPECT_EQ(1ul, store.TableIndex);
  for (unsigned long n = 65537; n <= 99999; n++) {
    store.Insert(vectorOf(n).data(), n);
  }
  EXPECT_EQ(0ul, store.CurrentBlock);
  store.Insert(vectorOf(100000).data(), 100000);
  EXPECT_EQ(1ul, store.CurrentBlock);
  EXPECT_EQ(0, std::memcmp(vectorOf(100000).data(), store.Blocks[1], 12));
  EXPECT_NE(store.Table + store.TableSize,
            std::find(store.Table, store.Table + store.TableSize, slotValue(1, 100000)));
  for (unsigned long n = 1; n <= 100000; n++) {
    ASSERT_EQ(static_cast<int>(n), store.Lookup(vectorOf(n).data()));
  }
  EXPECT_EQ(-1, store.Lookup(vectorOf(100001).data()));
}

TEST(HybridHashTest, ShortVectorsSpreadOverManyHomeSlots) {
  for (unsigned long size = 1; size <= 5; size++) {
    ByteModel model(static_cast<int>(size));
    HybridHash store(&model, size, kTable, kBlock, kChunk, kMaxBlocks, 0.5);
    std::set<unsigned long> homes;
    std::vector<std::vector<char>> states;
    for (int i = 0; i < 200; i++) {
      std::vector<char> state(size);
      for (unsigned long j = 0; j < size; j++) {
        state[j] = static_cast<char>(i + 3 * j);
      }
      homes.insert(store.Hash(state.data(), kTable));
      store.Insert(state.data(), i + 1);
      states.push_back(state);
    }
    EXPECT_GE(homes.size(), 190u) << size << "-byte vectors";
    for (int i = 0; i < 200; i++) {
      EXPECT_EQ(i + 1, store.Lookup(states[i].data()));
    }
  }
}

TEST(HybridHashTest, StoresOfDifferentSizesShareTheScratch) {
  ByteModel smallModel(2), largeModel(40);
  HybridHash small(&smallModel, 2, kTable, 10, kChunk, 2, 0.5);
  {
    HybridHash large(&largeModel, 40, kTable, 10, kChunk, 2, 0.5);
    std::vector<char> state(40, 7);
    large.Insert(state.data(), 1);
    EXPECT_EQ(1, large.Lookup(state.data()));
  }
  const char state[2] = {1, 2};
  small.Insert(state, 1);
  EXPECT_EQ(1, small.Lookup(state));
}

TEST(HybridHashTest, SlotThatNamesNoStorageIsClearedOnLookup) {
  ByteModel model(12);
  HybridHash store(&model, 12, kTable, kBlock, kChunk, kMaxBlocks, 0.5);
  const std::vector<char> state = vectorOf(1);
  const unsigned long home = store.Hash(state.data(), kTable);
  store.Table[home] = slotValue(5, 1);  // block 5 was never allocated
  EXPECT_EQ(-1, store.Lookup(state.data()));
  EXPECT_EQ(0u, store.Table[home]);
}

TEST(HybridHashTest, PrintStateListsTwentyBytesPerLine) {
  char state[22];
  for (int i = 0; i < 22; i++) {
    state[i] = static_cast<char>(i);
  }
  state[21] = -3;
  testing::internal::CaptureStdout();
  printstate(state, 22, "next");
  EXPECT_EQ(
      "STATEVECTOR (next)\n"
      "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 \n"
      "20 -3 \n",
      testing::internal::GetCapturedStdout());
}

TEST(HybridHashDeathTest, StateBeyondTheLastBlockStopsTheRun) {
  ByteModel model(4);
  HybridHash store(&model, 4, kTable, 10, kChunk, 2, 0.5);
  char state[4] = {0, 0, 0, 0};
  for (unsigned long n = 1; n <= 19; n++) {
    state[0] = static_cast<char>(n);
    store.Insert(state, n);
  }
  EXPECT_EQ(1ul, store.CurrentBlock);
  state[0] = 20;
  EXPECT_EXIT(store.Insert(state, 20), testing::ExitedWithCode(1),
              "^Error:  the state store is full: state number 20 needs more than 2 blocks of 10 "
              "states\n$");
}

TEST(HybridHashDeathTest, TableGrowthErrorsStopTheRun) {
  ByteModel model(4);
  HybridHash store(&model, 4, kTable, 10, kChunk, 2, 0.5);
  store.TableIndex = 13;  // the last size
  EXPECT_EXIT(store.Rehash(), testing::ExitedWithCode(1),
              "^Hash:  Error:  allocate more memory for Hash Table\n$");
  HybridHash oversized(&model, 4, 500000, 10, kChunk, 2, 0.5);
  EXPECT_EXIT(oversized.Rehash(), testing::ExitedWithCode(1),
              "^Hash:  Error, there is a typo in the Hash Table, check .h file\n$");
}

TEST(HybridHashDeathTest, LoadFactorMustBeBelowOne) {
  ByteModel model(4);
  EXPECT_DEATH(HybridHash(&model, 4, kTable, 10, kChunk, 2, 1.0),
               "Assertion failed: LoadFactor < 1.0, file HybridHash.cpp");
}

}  // namespace
