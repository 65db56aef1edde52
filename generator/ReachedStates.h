#ifndef REACHEDSTATES_H_
#define REACHEDSTATES_H_

#include <cstdint>
#include <vector>

class BaseActionClass;

// The stable states reached from the state being explored, in the order
// they were reached, each with the value of its transition and the action
// whose firing reached it. The generator collects them while it fires the
// state's actions and numbers them afterwards, all at once: the state
// store's memory can then be fetched for all of them together.
class ReachedStates {
 public:
  explicit ReachedStates(unsigned long stateSize) : StateSize(stateSize) {}

  void add(const char* state, double value, BaseActionClass* action) {
    Vectors.insert(Vectors.end(), state, state + StateSize);
    Entries.push_back(Entry{value, action, 0});
  }
  size_t size() const { return Entries.size(); }
  const char* state(size_t i) const { return Vectors.data() + i * StateSize; }
  double value(size_t i) const { return Entries[i].Value; }
  BaseActionClass* action(size_t i) const { return Entries[i].Action; }
  std::uint64_t& hash(size_t i) { return Entries[i].Hash; }
  // Forgets the states; the storage stays for the next explored state.
  void clear() {
    Vectors.clear();
    Entries.clear();
  }

 private:
  struct Entry {
    double Value;
    BaseActionClass* Action;
    std::uint64_t Hash;  // of the vector, filled in when the states are numbered
  };

  unsigned long StateSize;
  std::vector<char> Vectors;
  std::vector<Entry> Entries;
};

#endif
