#ifndef NETIMPORT_NAMEINDEX_H_
#define NETIMPORT_NAMEINDEX_H_

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// Finds a net's places or transitions by the word a modeller wrote: the
// entry with that id or, when no id matches, the one entry with that name.
class NameIndex {
 public:
  // entries: NetDescription::places or ::transitions; kind names them in
  // messages ("place", "transition").
  template <class Entry>
  NameIndex(const std::vector<Entry>& entries, const char* kind) : Kind(kind) {
    for (std::size_t i = 0; i < entries.size(); i++) {
      const int index = static_cast<int>(i);
      ById.emplace(entries[i].id, index);
      if (!entries[i].name.empty()) {
        auto inserted = ByName.emplace(entries[i].name, index);
        if (!inserted.second) {
          inserted.first->second = kSeveral;
        }
      }
    }
  }

  // The index of the entry called word; without one, problem says why.
  std::optional<int> find(const std::string& word, std::string& problem) const;

 private:
  static constexpr int kSeveral = -1;  // a name that several entries carry

  std::string Kind;
  std::unordered_map<std::string, int> ById;
  std::unordered_map<std::string, int> ByName;
};

#endif
