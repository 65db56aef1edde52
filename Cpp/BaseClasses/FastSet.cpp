#include "Cpp/BaseClasses/FastSet.h"

#include "Cpp/BaseClasses/FrameworkAssert.h"

FastSet::FastSet() : is_vec_rep(false), vec(nullptr), vec_size(0) {}

FastSet::~FastSet() { delete[] vec; }

bool FastSet::insert(const int& x) {
  SAN_ASSERT(!is_vec_rep, "!is_vec_rep", "FastSet");
  return tree.insert(x).second;
}

bool FastSet::find(const int& x) const {
  SAN_ASSERT(!is_vec_rep, "!is_vec_rep", "FastSet");
  return tree.count(x) > 0;
}

bool FastSet::empty() const {
  SAN_ASSERT(!is_vec_rep, "!is_vec_rep", "FastSet");
  return tree.empty();
}

void FastSet::NoMoreModifications() {
  SAN_ASSERT(!is_vec_rep, "!is_vec_rep", "FastSet");
  vec_size = static_cast<int>(tree.size());
  if (vec_size > 0) {
    vec = new int[vec_size];
    int i = 0;
    for (int x : tree) {
      vec[i++] = x;
    }
  }
  // Releases the tree's nodes.
  std::set<int>().swap(tree);
  is_vec_rep = true;
}

int& FastSet::operator[](int i) {
  SAN_ASSERT(is_vec_rep, "is_vec_rep", "FastSet");
  return vec[i];
}

int FastSet::size() const {
  SAN_ASSERT(is_vec_rep, "is_vec_rep", "FastSet");
  return vec_size;
}

void FastSet::clear() {
  if (is_vec_rep) {
    delete[] vec;
    vec = nullptr;
    vec_size = 0;
  } else {
    tree.clear();
  }
}
