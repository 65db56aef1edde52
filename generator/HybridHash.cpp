#include "generator/HybridHash.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>

#include "Cpp/BaseClasses/BaseModelClass.h"
#include "Cpp/BaseClasses/FrameworkAssert.h"
#include "Cpp/BaseClasses/StandardErrors.h"

const unsigned long PrimeArray[15] = {131071,   393209,   786419,   1179637,  1966049,
                                      2752481,  4325341,  6684607,  9437101,  15335303,
                                      21000169, 31000303, 51000353, 71000383, 0};

std::uint32_t* tempsumarray = nullptr;
std::uint32_t second_shift = 0;

namespace {

const unsigned int kNumberBits = 24;  // a slot is (block << 24) + number
const std::uint32_t kNumberMask = (1u << kNumberBits) - 1;

unsigned long scratchLength = 0;  // entries of tempsumarray
int liveStores = 0;               // stores sharing tempsumarray

// Makes tempsumarray hold at least length zeroed entries.
void reserveScratch(unsigned long length) {
  if (scratchLength < length) {
    delete[] tempsumarray;
    tempsumarray = new (std::nothrow) std::uint32_t[length]();
    if (tempsumarray == nullptr) {
      MemoryAllocationError();
    }
    scratchLength = length;
  }
}

// Vectors with more non-zero chunks need less spreading per chunk.
std::uint32_t multiplierFor(unsigned long nonZeroChunks) {
  if (nonZeroChunks > 16) return 1;
  if (nonZeroChunks > 8) return 2;
  if (nonZeroChunks > 4) return 4;
  if (nonZeroChunks > 2) return 8;
  return 16;
}

// Next slot of the probe sequence: the step grows with k until it passes the
// end of the table, then wraps and starts small again.
unsigned long nextProbe(unsigned long slot, unsigned long& k, unsigned long tableSize,
                        unsigned long tableIndex) {
  slot += (tableIndex + 1) * 1024 * k;
  if (slot < tableSize) {
    k++;
  } else {
    slot -= tableSize;
    k = 1;
  }
  return slot;
}

}  // namespace

HybridHash::HybridHash(BaseModelClass* model, unsigned long stateSize,
                       unsigned long initialTableSize, unsigned long blockSize,
                       unsigned long chunkWidth, unsigned long maxBlocks, double loadFactor)
    : Table(nullptr),
      TableIndex(0),
      Model(model),
      Blocks(nullptr),
      StateSize(stateSize),
      CurrentBlock(0),
      BlockSize(blockSize),
      TableSize(initialTableSize),
      ChunkWidth(chunkWidth),
      MaxBlocks(maxBlocks),
      LoadFactor(loadFactor) {
  SAN_ASSERT(LoadFactor < 1.0, "LoadFactor < 1.0", "HybridHash.cpp");
  SAN_ASSERT(ChunkWidth > 0, "ChunkWidth > 0", "HybridHash.cpp");
  SAN_ASSERT(BlockSize > 0 && MaxBlocks > 0 && MaxBlocks * BlockSize <= (1ul << kNumberBits),
             "BlockSize > 0 && MaxBlocks > 0 && MaxBlocks * BlockSize <= (1ul << 24)",
             "HybridHash.cpp");
  Table = allocateTable(TableSize);
  Blocks = new (std::nothrow) char*[MaxBlocks]();
  if (Table == nullptr || Blocks == nullptr) {
    MemoryAllocationError();
  }
  Blocks[0] = new (std::nothrow) char[BlockSize * StateSize]();
  if (Blocks[0] == nullptr) {
    fail("Error:  Unable to allocate memory");
  }
  reserveScratch(StateSize + 1);
  liveStores++;
}

HybridHash::~HybridHash() {
  delete[] Table;
  for (unsigned long b = 0; b <= CurrentBlock; b++) {
    delete[] Blocks[b];
  }
  delete[] Blocks;
  if (--liveStores == 0) {
    delete[] tempsumarray;
    tempsumarray = nullptr;
    scratchLength = 0;
  }
}

unsigned long HybridHash::Hash(const char* state, unsigned long tableSize) const {
  const std::uint32_t m = static_cast<std::uint32_t>(tableSize);
  const unsigned long numChunks = (StateSize + ChunkWidth - 1) / ChunkWidth;
  unsigned long nonZero = 0;  // among all chunks but the last
  for (unsigned long c = 0; c < numChunks; c++) {
    std::uint32_t v = 0;
    for (unsigned long i = c * ChunkWidth; i < StateSize && i < (c + 1) * ChunkWidth; i++) {
      // Bytes count as signed chars, so 0x80 to 0xFF set the upper bits.
      v = (v << 5) ^ static_cast<std::uint32_t>(static_cast<signed char>(state[i]));
    }
    tempsumarray[c] = v;
    if (v != 0 && c + 1 < numChunks) {
      nonZero++;
    }
  }
  second_shift = multiplierFor(nonZero);
  std::uint32_t h = 0;
  for (unsigned long c = 0; c < numChunks; c++) {
    if (tempsumarray[c] != 0) {
      h = (h * second_shift) ^ (tempsumarray[c] % m);
    }
  }
  return h % m;
}

void HybridHash::Insert(const char* state, unsigned long number) {
  SAN_ASSERT(number > 0, "number > 0", "HybridHash.cpp");
  if (number >= TableSize * LoadFactor) {
    Rehash();
  }
  const unsigned long block = number / BlockSize;
  if (block >= MaxBlocks) {
    std::cerr << "Error:  the state store is full: state number " << number << " needs more than "
              << MaxBlocks << " blocks of " << BlockSize << " states" << std::endl;
    std::exit(1);
  }
  while (CurrentBlock < block) {
    AddArray();
  }
  const unsigned long slot = emptySlot(Table, TableSize, TableIndex, Hash(state, TableSize));
  Table[slot] = static_cast<std::uint32_t>((block << kNumberBits) + number);
  std::memcpy(Blocks[block] + (number - block * BlockSize) * StateSize, state, StateSize);
}

int HybridHash::Lookup(const char* state) {
  SAN_ASSERT(Table != nullptr, "Table != nullptr", "HybridHash.cpp");
  unsigned long slot = Hash(state, TableSize);
  unsigned long k = 1;
  while (Table[slot] != 0) {
    const char* stored = storedVector(Table[slot]);
    if (stored == nullptr) {
      Table[slot] = 0;
      return -1;
    }
    // CompareState only reads both vectors.
    if (Model->CompareState(const_cast<char*>(stored), const_cast<char*>(state))) {
      return static_cast<int>(Table[slot] & kNumberMask);
    }
    slot = nextProbe(slot, k, TableSize, TableIndex);
  }
  return -1;
}

void HybridHash::Rehash() {
  SAN_ASSERT(Table != nullptr, "Table != nullptr", "HybridHash.cpp");
  TableIndex++;
  const unsigned long newSize = PrimeArray[TableIndex];
  if (newSize == 0) {
    fail("Hash:  Error:  allocate more memory for Hash Table");
  }
  std::uint32_t* newTable = allocateTable(newSize);
  if (newTable == nullptr) {
    fail("Error:  TempHashTable not allocated");
  }
  if (newSize < TableSize) {
    fail("Hash:  Error, there is a typo in the Hash Table, check .h file");
  }
  // Slot values move unchanged; the vectors stay where they are.
  for (unsigned long i = 0; i < TableSize; i++) {
    const char* stored = storedVector(Table[i]);
    if (Table[i] != 0 && stored != nullptr) {
      newTable[emptySlot(newTable, newSize, TableIndex, Hash(stored, newSize))] = Table[i];
    }
  }
  delete[] Table;
  Table = newTable;
  TableSize = newSize;
}

void HybridHash::AddArray() {
  SAN_ASSERT(CurrentBlock + 1 < MaxBlocks, "CurrentBlock + 1 < MaxBlocks", "HybridHash.cpp");
  Blocks[CurrentBlock + 1] = new (std::nothrow) char[BlockSize * StateSize]();
  if (Blocks[CurrentBlock + 1] == nullptr) {
    fail("Error:  Unable to allocate memory");
  }
  CurrentBlock++;
}

void HybridHash::ReleaseTable() {
  delete[] Table;
  Table = nullptr;
}

const char* HybridHash::storedVector(std::uint32_t slotValue) const {
  const unsigned long block = slotValue >> kNumberBits;
  const unsigned long number = slotValue & kNumberMask;
  const unsigned long index = number - block * BlockSize;  // wraps when below the block
  if (block > CurrentBlock || index >= BlockSize) {
    return nullptr;
  }
  return Blocks[block] + index * StateSize;
}

unsigned long HybridHash::emptySlot(const std::uint32_t* table, unsigned long tableSize,
                                    unsigned long tableIndex, unsigned long home) {
  unsigned long slot = home;
  unsigned long k = 1;
  while (table[slot] != 0) {
    slot = nextProbe(slot, k, tableSize, tableIndex);
  }
  return slot;
}

std::uint32_t* HybridHash::allocateTable(unsigned long tableSize) {
  return new (std::nothrow) std::uint32_t[tableSize]();
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
