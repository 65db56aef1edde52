#ifndef HYBRIDHASH_H_
#define HYBRIDHASH_H_

#include <cstdint>
#include <vector>

class BaseModelClass;

// Store of every stable state vector found, mapping a vector back to its
// state number. An open-addressing table of 8-byte slots holds a state
// number and 32 bits of its vector's hash; the vectors themselves live in
// blocks addressed by state number, so growing the table never moves a
// vector, and a probe compares a vector only when the hash bits match.
// Equality of vectors is the model's CompareState. Numbers go up to
// 4,294,967,295; the rest is bounded by memory.
class HybridHash {
 public:
  // initialTableSize and blockSize are rounded up to powers of two. The
  // table doubles when the state numbers reach its size times loadFactor,
  // which must lie strictly between 0 and 1 (values below 1/16 act as 1/16:
  // a sparser table only costs memory); blockSize vectors are allocated at
  // a time.
  HybridHash(BaseModelClass* model, unsigned long stateSize, unsigned long initialTableSize,
             unsigned long blockSize, double loadFactor);
  ~HybridHash();
  HybridHash(const HybridHash&) = delete;
  HybridHash& operator=(const HybridHash&) = delete;

  // Stores a copy of the vector under number. The caller guarantees that the
  // vector is not stored yet and that numbers (from 1) arrive in increasing
  // order. Stops the run when the number does not fit a slot or memory runs
  // out.
  void Insert(const char* state, unsigned long number);
  // The number of the stored vector equal to state, or -1.
  long Lookup(const char* state);
  // The number of the stored vector equal to state; when there is none,
  // stores the vector under newNumber (as Insert does) and returns it.
  unsigned long FindOrInsert(const char* state, unsigned long newNumber);
  // The same for a vector whose Hash is known.
  unsigned long FindOrInsert(const char* state, unsigned long newNumber, std::uint64_t hash);
  // Asks the processor to fetch the home slot of a vector with this hash,
  // ahead of a FindOrInsert.
  void PrefetchSlot(std::uint64_t hash) const {
    __builtin_prefetch(&Table[homeSlot(static_cast<std::uint32_t>(hash >> 32))]);
  }
  // Asks the processor to fetch the stored vector that the home slot names
  // when its hash bits match, ahead of a FindOrInsert.
  void PrefetchVector(std::uint64_t hash) const;
  // Doubles the table.
  void Rehash();
  // Allocates the next block of vectors.
  void AddArray();
  // Releases the slot table once no lookups or inserts follow; the stored
  // vectors stay until destruction.
  void ReleaseTable();
  // The stored vector of a number handed to Insert.
  const char* Vector(unsigned long number) const {
    return Blocks[number >> BlockBits] + (number & (BlockSize - 1)) * StateSize;
  }
  // The hash of a vector of stateSize bytes; its upper 32 bits choose the
  // home slot and are kept in the slot.
  static std::uint64_t Hash(const char* state, unsigned long stateSize);

  std::uint64_t* Table;       // TableSize slots, owned: (hash bits << 32) | number, 0 empty
  unsigned long TableSize;    // a power of two
  unsigned int TableBits;     // log2 of TableSize
  BaseModelClass* Model;      // not owned
  std::vector<char*> Blocks;  // each owned: BlockSize vectors of StateSize bytes
  unsigned long StateSize;
  unsigned long BlockSize;  // a power of two
  unsigned int BlockBits;   // log2 of BlockSize
  double LoadFactor;

 private:
  // The slot holding a vector equal to state, or the empty slot where it
  // belongs.
  unsigned long findSlot(const char* state, std::uint32_t tag);
  unsigned long homeSlot(std::uint32_t tag) const { return tag >> (32 - TableBits); }
  // Makes room for number: grows the table and the blocks as needed.
  void makeRoom(unsigned long number);
  void store(const char* state, unsigned long number, unsigned long slot, std::uint32_t tag);
  static std::uint64_t* allocateTable(unsigned long tableSize);
  [[noreturn]] static void fail(const char* message);
  // Memory ran out for a table of that many entries.
  [[noreturn]] static void failTable(unsigned long entries);
};

// Prints "STATEVECTOR (label)" and then the vector as printStateListing does.
void printstate(const char* state, int length, const char* label);
// Each byte of the vector in decimal followed by a space, 20 to a line, and a
// newline at the end.
void printStateListing(const char* state, int length);

#endif
