#ifndef NETIMPORT_IDTABLE_H_
#define NETIMPORT_IDTABLE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// The ids of a PNML document and what each stands for. A large net has an
// id per arc, hundreds of thousands of them, so the table keeps their text
// in one block and its entries in arrays, some 45 bytes an id, instead of
// a string and a heap node each. An id can be named (by an arc's end or
// a reference) before the element that carries it: it is then held, not
// yet defined, and the element defines it when it comes.
class IdTable {
 public:
  enum class Kind : std::uint8_t {
    Undefined,  // named, but carried by no element (yet)
    Net,
    Page,
    Place,
    Transition,
    Arc,
    ReferencePlace,
    ReferenceTransition
  };
  // What an id stands for: the element's kind, its place, transition, arc
  // or reference by index, and where its start tag is.
  struct Entry {
    Kind kind = Kind::Undefined;
    int index = 0;
    int line = 0;
    int column = 0;
  };

  // Room for about count ids before the table grows.
  void reserve(std::size_t count);
  // The number of id, added undefined when the table does not hold it.
  unsigned int intern(std::string_view id);
  // The number of id, when the table holds it, defined or not.
  std::optional<unsigned int> find(std::string_view id) const;
  // Defines the id numbered id; false when an element already defined it.
  bool define(unsigned int id, const Entry& entry);

  const Entry& operator[](unsigned int id) const { return Entries[id]; }
  std::string_view name(unsigned int id) const;
  std::size_t size() const { return Entries.size(); }

 private:
  struct Slot {
    std::uint32_t hash;
    std::uint32_t id;  // 0 for an empty slot, else the id's number + 1
  };
  struct Text {
    std::uint32_t offset;
    std::uint32_t length;
  };

  static std::uint32_t hashOf(std::string_view id);
  // The slot holding id, or the empty slot where it belongs.
  std::size_t slotOf(std::string_view id, std::uint32_t hash) const;
  // Moves every id into a table of slots slots (a power of two).
  void rehash(std::size_t slots);

  std::vector<char> Names;  // every id's text, one after another
  std::vector<Text> Texts;  // per id
  std::vector<Entry> Entries;
  std::vector<Slot> Slots;  // open addressing: a power of two, at most 3/4 full
};

#endif
