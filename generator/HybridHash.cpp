#include "generator/HybridHash.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>

#include "Cpp/BaseClasses/BaseModelClass.h"
#include "Cpp/BaseClasses/FrameworkAssert.h"
#include "generator/LargeAllocation.h"

namespace {

const unsigned long kMaxNumber = 0xFFFFFFFFul;  // a slot keeps 32 bits of number
// The table keeps at least 1 / LoadFactor slots per state. Beyond 16 they
// only cost memory: a load factor of 1e-9 would ask for a billion slots per
// state, gigabytes for a model of 81 states.
const double kMinLoadFactor = 1.0 / 16;
const std::uint64_t kNumberMask = 0xFFFFFFFFull;

std::uint64_t mix(std::uint64_t h, std::uint64_t word) {
  h = (h ^ word) * 0xBF58476D1CE4E5B9ull;
  return h ^ (h >> 31);
}

}  // namespace

HybridHash::HybridHash(BaseModelClass* model, unsigned long stateSize,
                       unsigned long initialTableSize, unsigned long blockSize, double loadFactor)
    : Table(nullptr),
      TableSize(2),
      TableBits(1),
      Model(model),
      StateSize(stateSize),
      BlockSize(1),
      BlockBits(0),
      LoadFactor(std::max(loadFactor, kMinLoadFactor)) {
  SAN_ASSERT(loadFactor > 0.0 && loadFactor < 1.0, "LoadFactor > 0.0 && LoadFactor < 1.0",
             "HybridHash.cpp");
  while (BlockSize < blockSize) {
    BlockSize *= 2;
    BlockBits++;
  }
  while (TableSize < initialTableSize) {
    TableSize *= 2;
    TableBits++;
  }
  Table = allocateTable(TableSize);
  if (Table == nullptr) {
    failTable(TableSize);
  }
  AddArray();
}

HybridHash::~HybridHash() {
  freeLarge(Table);
  for (char* block : Blocks) {
    freeLarge(block);
  }
}

std::uint64_t HybridHash::Hash(const char* state, unsigned long stateSize) {
  std::uint64_t h = 0x9E3779B97F4A7C15ull ^ (stateSize * 0xFF51AFD7ED558CCDull);
  unsigned long i = 0;
  for (; i + 8 <= stateSize; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, state + i, 8);
    h = mix(h, word);
  }
  if (i < stateSize) {
    std::uint64_t word = 0;
    std::memcpy(&word, state + i, stateSize - i);
    h = mix(h, word);
  }
  h ^= h >> 30;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 27;
  h *= 0x94D049BB133111EBull;
  return h ^ (h >> 31);
}

void HybridHash::Insert(const char* state, unsigned long number) {
  makeRoom(number);
  const std::uint32_t tag = static_cast<std::uint32_t>(Hash(state, StateSize) >> 32);
  store(state, number, findSlot(state, tag), tag);
}

long HybridHash::Lookup(const char* state) {
  SAN_ASSERT(Table != nullptr, "Table != nullptr", "HybridHash.cpp");
  const std::uint32_t tag = static_cast<std::uint32_t>(Hash(state, StateSize) >> 32);
  const std::uint64_t slot = Table[findSlot(state, tag)];
  return slot == 0 ? -1 : static_cast<long>(slot & kNumberMask);
}

unsigned long HybridHash::FindOrInsert(const char* state, unsigned long newNumber) {
  return FindOrInsert(state, newNumber, Hash(state, StateSize));
}

void HybridHash::PrefetchVector(std::uint64_t hash) const {
  const std::uint32_t tag = static_cast<std::uint32_t>(hash >> 32);
  const std::uint64_t slot = Table[homeSlot(tag)];
  if (slot != 0 && static_cast<std::uint32_t>(slot >> 32) == tag) {
    __builtin_prefetch(Vector(slot & kNumberMask));
  }
}

unsigned long HybridHash::FindOrInsert(const char* state, unsigned long newNumber,
                                       std::uint64_t hash) {
  SAN_ASSERT(Table != nullptr, "Table != nullptr", "HybridHash.cpp");
  const std::uint32_t tag = static_cast<std::uint32_t>(hash >> 32);
  unsigned long slot = findSlot(state, tag);
  if (Table[slot] != 0) {
    return static_cast<unsigned long>(Table[slot] & kNumberMask);
  }
  const unsigned long sizeBefore = TableSize;
  makeRoom(newNumber);
  if (TableSize != sizeBefore) {
    slot = findSlot(state, tag);
  }
  store(state, newNumber, slot, tag);
  return newNumber;
}

unsigned long HybridHash::findSlot(const char* state, std::uint32_t tag) {
  const unsigned long mask = TableSize - 1;
  for (unsigned long slot = homeSlot(tag);; slot = (slot + 1) & mask) {
    const std::uint64_t value = Table[slot];
    if (value == 0) {
      return slot;
    }
    if (static_cast<std::uint32_t>(value >> 32) == tag &&
        Model->CompareState(const_cast<char*>(Vector(value & kNumberMask)),
                            const_cast<char*>(state))) {
      return slot;
    }
  }
}

void HybridHash::makeRoom(unsigned long number) {
  SAN_ASSERT(number > 0, "number > 0", "HybridHash.cpp");
  if (number > kMaxNumber) {
    std::cerr << "Error:  the state store is full: state number " << number << " exceeds "
              << kMaxNumber << std::endl;
    std::exit(1);
  }
  if (number >= TableSize * LoadFactor) {
    Rehash();
  }
  while ((number >> BlockBits) >= Blocks.size()) {
    AddArray();
  }
}

void HybridHash::store(const char* state, unsigned long number, unsigned long slot,
                       std::uint32_t tag) {
  Table[slot] = (static_cast<std::uint64_t>(tag) << 32) | number;
  std::memcpy(const_cast<char*>(Vector(number)), state, StateSize);
}

void HybridHash::Rehash() {
  SAN_ASSERT(Table != nullptr, "Table != nullptr", "HybridHash.cpp");
  if (TableBits >= 32) {
    fail("Hash:  Error:  allocate more memory for Hash Table");
  }
  const unsigned long newSize = TableSize * 2;
  std::uint64_t* newTable = allocateTable(newSize);
  if (newTable == nullptr) {
    failTable(newSize);
  }
  std::uint64_t* oldTable = Table;
  const unsigned long oldSize = TableSize;
  Table = newTable;
  TableSize = newSize;
  TableBits++;
  // A slot keeps the hash bits that choose its home, so slots move without
  // touching the vectors.
  const unsigned long mask = TableSize - 1;
  for (unsigned long i = 0; i < oldSize; i++) {
    if (oldTable[i] != 0) {
      unsigned long slot = homeSlot(static_cast<std::uint32_t>(oldTable[i] >> 32));
      while (Table[slot] != 0) {
        slot = (slot + 1) & mask;
      }
      Table[slot] = oldTable[i];
    }
  }
  freeLarge(oldTable);
}

void HybridHash::AddArray() {
  char* block = static_cast<char*>(allocateLarge(BlockSize, StateSize));
  if (block == nullptr) {
    std::cerr << "Error: out of memory: the state store cannot grow beyond "
              << Blocks.size() * BlockSize << " states (a block of " << BlockSize << " more needs "
              << BlockSize * StateSize << " bytes)" << std::endl;
    std::exit(1);
  }
  Blocks.push_back(block);
}

void HybridHash::ReleaseTable() {
  freeLarge(Table);
  Table = nullptr;
}

std::uint64_t* HybridHash::allocateTable(unsigned long tableSize) {
  return static_cast<std::uint64_t*>(allocateLarge(tableSize, sizeof(std::uint64_t)));
}

void HybridHash::failTable(unsigned long entries) {
  std::cerr << "Error: out of memory: the state store's hash table cannot grow to " << entries
            << " entries (" << entries * sizeof(std::uint64_t) << " bytes)" << std::endl;
  std::exit(1);
}

void HybridHash::fail(const char* message) {
  std::cerr << message << std::endl;
  std::exit(1);
}

void printstate(const char* state, int length, const char* label) {
  std::cout << "STATEVECTOR (" << label << ")\n";
  printStateListing(state, length);
}

void printStateListing(const char* state, int length) {
  for (int i = 0; i < length; i++) {
    std::cout << static_cast<int>(static_cast<signed char>(state[i])) << ' ';
    if ((i + 1) % 20 == 0) {
      std::cout << '\n';
    }
  }
  std::cout << '\n';
}
