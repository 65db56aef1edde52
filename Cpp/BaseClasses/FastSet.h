#ifndef FASTSET_H_
#define FASTSET_H_

#include <set>

// A set of ints built in an ordered tree and then frozen into a sorted array,
// so that the reward machinery reads it by index after set-up. Each operation
// belongs to one representation; calling it on the other fails an assertion.
class FastSet {
 public:
  FastSet();  // an empty, unfrozen set
  ~FastSet();
  FastSet(const FastSet&) = delete;
  FastSet& operator=(const FastSet&) = delete;

  // Adds x; true when x was not present. Unfrozen sets only.
  bool insert(const int& x);
  // True when x is present. Unfrozen sets only.
  bool find(const int& x) const;
  // True when the set has no element. Unfrozen sets only.
  bool empty() const;
  // Freezes the set into an ascending array. Unfrozen sets only.
  void NoMoreModifications();
  // The i-th smallest element. Frozen sets only.
  int& operator[](int i);
  // Number of elements. Frozen sets only.
  int size() const;
  // Removes every element; a frozen set stays frozen, with no array.
  void clear();

 private:
  bool is_vec_rep;
  std::set<int> tree;  // the contents while unfrozen
  int* vec;            // owned; the contents once frozen, null when empty
  int vec_size;
};

#endif
