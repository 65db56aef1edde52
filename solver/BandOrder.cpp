#include "solver/BandOrder.h"

#include <algorithm>

namespace solver {

namespace {

// The transitions taken both ways, as lists of neighbours (repeats allowed).
struct Neighbours {
  std::vector<std::uint64_t> start;
  std::vector<std::uint32_t> state;

  explicit Neighbours(const MarkovChain& chain) : start(chain.size() + 1, 0) {
    const std::size_t n = chain.size();
    for (std::size_t s = 0; s < n; s++) {
      start[s + 1] += chain.rowStart[s + 1] - chain.rowStart[s];
      for (std::uint64_t e = chain.rowStart[s]; e < chain.rowStart[s + 1]; e++) {
        start[chain.column[e] + 1]++;
      }
    }
    for (std::size_t s = 0; s < n; s++) {
      start[s + 1] += start[s];
    }
    state.resize(start[n]);
    std::vector<std::uint64_t> next(start.begin(), start.end() - 1);
    for (std::size_t s = 0; s < n; s++) {
      for (std::uint64_t e = chain.rowStart[s]; e < chain.rowStart[s + 1]; e++) {
        state[next[s]++] = chain.column[e];
        state[next[chain.column[e]]++] = static_cast<std::uint32_t>(s);
      }
    }
  }
  std::uint64_t degree(std::uint32_t s) const { return start[s + 1] - start[s]; }
};

// Sorts [begin, end) by increasing degree, equals kept in their order. A
// state has a few new neighbours at a time, sorted by insertion, which
// allocates nothing where a stable sort would at every call.
void sortByDegree(const Neighbours& graph, std::uint32_t* begin, std::uint32_t* end) {
  const std::ptrdiff_t kInsertionSorted = 64;
  if (end - begin > kInsertionSorted) {
    std::stable_sort(begin, end, [&graph](std::uint32_t a, std::uint32_t b) {
      return graph.degree(a) < graph.degree(b);
    });
    return;
  }
  for (std::uint32_t* next = begin; next < end; next++) {
    const std::uint32_t s = *next;
    std::uint32_t* place = next;
    for (; place > begin && graph.degree(*(place - 1)) > graph.degree(s); place--) {
      *place = *(place - 1);
    }
    *place = s;
  }
}

// Breadth-first search from root over the states not yet placed: the states
// in the order reached (neighbours by increasing degree when sorted), and
// the first of the last level.
struct Search {
  std::vector<std::uint32_t> reached;
  std::size_t lastLevel = 0;
  std::size_t depth = 0;
};

Search breadthFirst(const Neighbours& graph, std::uint32_t root, std::vector<std::uint8_t>& seen,
                    bool sorted) {
  Search search;
  search.reached.push_back(root);
  seen[root] = 1;
  std::size_t levelStart = 0;
  while (levelStart < search.reached.size()) {
    const std::size_t levelEnd = search.reached.size();
    search.lastLevel = levelStart;
    for (std::size_t i = levelStart; i < levelEnd; i++) {
      const std::uint32_t s = search.reached[i];
      const std::size_t first = search.reached.size();
      for (std::uint64_t e = graph.start[s]; e < graph.start[s + 1]; e++) {
        const std::uint32_t t = graph.state[e];
        if (!seen[t]) {
          seen[t] = 1;
          search.reached.push_back(t);
        }
      }
      if (sorted) {
        sortByDegree(graph, search.reached.data() + first,
                     search.reached.data() + search.reached.size());
      }
    }
    levelStart = levelEnd;
    search.depth++;
  }
  return search;
}

// The least connected state of a search's last level (the first such).
std::uint32_t leastConnectedLast(const Neighbours& graph, const Search& search) {
  return *std::min_element(search.reached.begin() + static_cast<std::ptrdiff_t>(search.lastLevel),
                           search.reached.end(), [&graph](std::uint32_t a, std::uint32_t b) {
                             return graph.degree(a) < graph.degree(b);
                           });
}

void forget(const Search& search, std::vector<std::uint8_t>& seen) {
  for (std::uint32_t s : search.reached) {
    seen[s] = 0;
  }
}

// Start's connected part in the order of a sorted search from a state far
// from every other of it (George and Liu): from start, repeatedly the least
// connected state of the last level, while the search gets deeper. The
// searches after the first are sorted, so that the last, which did not get
// deeper, is the order itself and need not be searched again.
Search peripheralSearch(const Neighbours& graph, std::uint32_t start,
                        std::vector<std::uint8_t>& seen) {
  Search search = breadthFirst(graph, start, seen, false);
  for (int tries = 1; tries < 3; tries++) {
    forget(search, seen);
    Search next = breadthFirst(graph, leastConnectedLast(graph, search), seen, true);
    if (next.depth <= search.depth) {
      return next;
    }
    search = std::move(next);
  }
  forget(search, seen);
  return breadthFirst(graph, leastConnectedLast(graph, search), seen, true);
}

}  // namespace

std::vector<std::uint32_t> bandOrder(const MarkovChain& chain) {
  const std::size_t n = chain.size();
  const Neighbours graph(chain);
  std::vector<std::uint8_t> seen(n, 0);
  std::vector<std::uint32_t> order;
  order.reserve(n);
  for (std::size_t s = 0; s < n; s++) {
    if (!seen[s]) {
      const Search search = peripheralSearch(graph, static_cast<std::uint32_t>(s), seen);
      order.insert(order.end(), search.reached.begin(), search.reached.end());
    }
  }
  std::vector<std::uint32_t> newIndex(n);
  for (std::size_t i = 0; i < n; i++) {
    newIndex[order[i]] = static_cast<std::uint32_t>(n - 1 - i);
  }
  return newIndex;
}

}  // namespace solver
