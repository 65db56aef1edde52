#ifndef HYBRIDHASH_H_
#define HYBRIDHASH_H_

#include <cstdint>

class BaseModelClass;

// The sizes the slot table takes in turn; a 0 entry ends the sequence.
extern const unsigned long PrimeArray[15];

// Hash scratch shared by every store (one thread, one hash at a time): the
// chunk values of the last vector hashed, and its mixing multiplier. The
// array is allocated by the first live store and released by the last.
extern std::uint32_t* tempsumarray;
extern std::uint32_t second_shift;

// Store of every stable state vector found, mapping a vector back to its
// state number. An open-addressing table of 4-byte slots holds (block index
// x 2^24) + state number; the vectors themselves live in blocks addressed by
// state number, so growing the table never moves a vector. Equality of
// vectors is the model's CompareState.
class HybridHash {
 public:
  // The load factor must be below 1, and maxBlocks x blockSize states must
  // fit the 24-bit number field of a slot.
  HybridHash(BaseModelClass* model, unsigned long stateSize, unsigned long initialTableSize,
             unsigned long blockSize, unsigned long chunkWidth, unsigned long maxBlocks,
             double loadFactor);
  ~HybridHash();
  HybridHash(const HybridHash&) = delete;
  HybridHash& operator=(const HybridHash&) = delete;

  // Stores a copy of the vector under number. The caller guarantees that the
  // vector is not stored yet and that numbers (from 1) arrive in increasing
  // order. Stops the run when the number needs a block beyond MaxBlocks.
  void Insert(const char* state, unsigned long number);
  // The number of the stored vector equal to state, or -1.
  int Lookup(const char* state);
  // Moves the table to the next size of PrimeArray.
  void Rehash();
  // Allocates the next block of zero-filled vectors.
  void AddArray();
  // Releases the slot table once no lookups or inserts follow; the stored
  // vectors stay until destruction.
  void ReleaseTable();
  // Home slot of state in a table of tableSize slots; fills tempsumarray and
  // second_shift.
  unsigned long Hash(const char* state, unsigned long tableSize) const;

  std::uint32_t* Table;      // TableSize slots, owned; null after ReleaseTable
  unsigned long TableIndex;  // position of TableSize in PrimeArray
  BaseModelClass* Model;     // not owned
  char** Blocks;             // MaxBlocks entries, owned; each block is one allocation of
                             // BlockSize vectors of StateSize bytes (blocks 0 to CurrentBlock)
  unsigned long StateSize;
  unsigned long CurrentBlock;  // last allocated block
  unsigned long BlockSize;
  unsigned long TableSize;
  unsigned long ChunkWidth;  // bytes per hash chunk
  unsigned long MaxBlocks;
  double LoadFactor;

 private:
  // The stored vector a slot value names, or null when the slot does not
  // decode to allocated storage.
  const char* storedVector(std::uint32_t slotValue) const;
  // First empty slot on the probe sequence from home.
  static unsigned long emptySlot(const std::uint32_t* table, unsigned long tableSize,
                                 unsigned long tableIndex, unsigned long home);
  static std::uint32_t* allocateTable(unsigned long tableSize);
  [[noreturn]] static void fail(const char* message);
};

// Prints "STATEVECTOR (label)" and then the vector as printStateListing does.
void printstate(const char* state, int length, const char* label);
// Each byte of the vector in decimal followed by a space, 20 to a line, and a
// newline at the end.
void printStateListing(const char* state, int length);

#endif
