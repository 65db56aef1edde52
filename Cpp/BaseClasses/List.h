#ifndef LIST_H_
#define LIST_H_

#include <algorithm>
#include <functional>
#include <iostream>
#include <new>
#include <utility>
#include <vector>

#include "Cpp/BaseClasses/StandardErrors.h"

// A growable array of pointers the list does not own, used for the
// framework's collections of models, actions, groups and state variables.
// A list is a set: adding a pointer that is already present does nothing.
template <class T>
class List {
 public:
  List() : List(10) {}
  // A capacity of 0 is allowed; the first append then grows it to 1.
  explicit List(int capacity) : Items(nullptr), NumItems(0), ArraySize(0) {
    increaseArraySize(capacity);
  }
  ~List() { delete[] Items; }
  List(const List&) = delete;
  List& operator=(const List&) = delete;

  int getNumItems() const { return NumItems; }
  T* getItem(int i) const { return Items[i]; }
  T* operator[](int i) const { return Items[i]; }
  T** getList() { return Items; }

  // Doubles the capacity when full, then adds x unless present.
  void append(T* x) {
    if (ArraySize <= NumItems) {
      increaseArraySize(ArraySize > 0 ? 2 * ArraySize : 1);
    }
    insertItem(x);
  }

  // Appends each of the n pointers unless present. A long list or batch
  // checks presence in sorted copies rather than by scanning, which would
  // cost the product of their lengths (a hash set costs a node per item).
  void append(T** xs, int n) {
    if ((static_cast<long>(NumItems) + n) * n <= kScanLimit) {
      for (int i = 0; i < n; i++) {
        append(xs[i]);
      }
      return;
    }
    const std::less<T*> before;
    std::vector<T*> present(Items, Items + NumItems);
    std::sort(present.begin(), present.end(), before);
    std::vector<std::pair<T*, int>> batch(n);
    for (int i = 0; i < n; i++) {
      batch[i] = {xs[i], i};
    }
    std::sort(batch.begin(), batch.end(), [&before](const auto& x, const auto& y) {
      return before(x.first, y.first) || (x.first == y.first && x.second < y.second);
    });
    // Of the copies of a pointer, the first in the batch is kept.
    std::vector<bool> kept(n, false);
    for (int k = 0; k < n; k++) {
      kept[batch[k].second] =
          (k == 0 || batch[k].first != batch[k - 1].first) &&
          !std::binary_search(present.begin(), present.end(), batch[k].first, before);
    }
    for (int i = 0; i < n; i++) {
      if (kept[i]) {
        if (ArraySize <= NumItems) {
          increaseArraySize(ArraySize > 0 ? 2 * ArraySize : 1);
        }
        Items[NumItems++] = xs[i];
      }
    }
  }

  // Grows once, to twice the summed count, when both lists together would
  // not fit; then adds each item of other unless present.
  void append(List<T>* other) {
    if (NumItems + other->NumItems > ArraySize) {
      increaseArraySize(2 * (NumItems + other->NumItems));
    }
    for (int i = 0; i < other->NumItems; i++) {
      insertItem(other->Items[i]);
    }
  }

  // Adds x at the end unless present; the caller guarantees room.
  void insertItem(T* x) {
    if (!contains(x)) {
      Items[NumItems++] = x;
    }
  }

  bool contains(T* x) const { return indexOf(x) >= 0; }

  // Moves the last item into x's slot: order is not kept.
  void remove(T* x) {
    int k = indexOf(x);
    if (k >= 0) {
      Items[k] = Items[NumItems - 1];
      Items[--NumItems] = nullptr;
    }
  }

  // Puts newItem in oldItem's slot; when newItem is listed already, oldItem
  // is simply removed, so the list stays a set.
  void replaceItem(T* oldItem, T* newItem) {
    int k = indexOf(oldItem);
    if (k < 0) {
      return;
    }
    if (contains(newItem)) {
      remove(oldItem);
    } else {
      Items[k] = newItem;
    }
  }

  // Removes every item of other; the remaining items keep their order.
  void removeSetOfItems(const List<T>& other) {
    int kept = 0;
    for (int i = 0; i < NumItems; i++) {
      if (!other.contains(Items[i])) {
        Items[kept++] = Items[i];
      }
    }
    for (int i = kept; i < NumItems; i++) {
      Items[i] = nullptr;
    }
    NumItems = kept;
  }

  // Sets the capacity to n (not below NumItems), keeping the items.
  void increaseArraySize(int n) {
    T** grown = new (std::nothrow) T*[n > 0 ? n : 1];
    if (grown == nullptr) {
      std::cerr << "!! Crtical error in "
                << "List<C>::append(List*)"
                << " do to insufficient memory...exiting" << std::endl;
      MemoryAllocationError();
    }
    for (int i = 0; i < n; i++) {
      grown[i] = i < NumItems ? Items[i] : nullptr;
    }
    delete[] Items;
    Items = grown;
    ArraySize = n;
  }

  void clearList() { NumItems = 0; }

  void printList() const {
    if (NumItems == 0) {
      std::cout << "No items in the list" << std::endl;
      return;
    }
    for (int i = 0; i < NumItems; i++) {
      std::cout << "[" << i << "] " << static_cast<const void*>(Items[i]) << std::endl;
    }
  }

 private:
  static constexpr long kScanLimit = 4096;

  int indexOf(T* x) const {
    for (int i = 0; i < NumItems; i++) {
      if (Items[i] == x) {
        return i;
      }
    }
    return -1;
  }

  T** Items;
  int NumItems;
  int ArraySize;
};

#endif
