#include "netimport/IdTable.h"

#include <utility>

void IdTable::reserve(std::size_t count) {
  Texts.reserve(count);
  Entries.reserve(count);
  std::size_t slots = 16;
  while (slots / 4 * 3 < count) {
    slots *= 2;
  }
  if (slots > Slots.size()) {
    rehash(slots);
  }
}

void IdTable::rehash(std::size_t slots) {
  const std::vector<Slot> previous = std::move(Slots);
  Slots.assign(slots, Slot{0, 0});
  for (const Slot& slot : previous) {
    if (slot.id != 0) {
      Slots[slotOf(name(slot.id - 1), slot.hash)] = slot;
    }
  }
}

std::uint32_t IdTable::hashOf(std::string_view id) {
  // FNV-1a, folded to 32 bits.
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : id) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

std::size_t IdTable::slotOf(std::string_view id, std::uint32_t hash) const {
  const std::size_t mask = Slots.size() - 1;
  for (std::size_t s = hash & mask;; s = (s + 1) & mask) {
    const Slot& slot = Slots[s];
    if (slot.id == 0 || (slot.hash == hash && name(slot.id - 1) == id)) {
      return s;
    }
  }
}

unsigned int IdTable::intern(std::string_view id) {
  if (Entries.size() >= Slots.size() / 4 * 3) {
    rehash(Slots.empty() ? 16 : 2 * Slots.size());
  }
  const std::uint32_t hash = hashOf(id);
  Slot& slot = Slots[slotOf(id, hash)];
  if (slot.id != 0) {
    return slot.id - 1;
  }
  const unsigned int number = static_cast<unsigned int>(Entries.size());
  Texts.push_back({static_cast<std::uint32_t>(Names.size()), static_cast<std::uint32_t>(id.size())});
  Names.insert(Names.end(), id.begin(), id.end());
  Entries.emplace_back();
  slot = Slot{hash, number + 1};
  return number;
}

std::optional<unsigned int> IdTable::find(std::string_view id) const {
  if (Slots.empty()) {
    return std::nullopt;
  }
  const Slot& slot = Slots[slotOf(id, hashOf(id))];
  if (slot.id == 0) {
    return std::nullopt;
  }
  return slot.id - 1;
}

bool IdTable::define(unsigned int id, const Entry& entry) {
  if (Entries[id].kind != Kind::Undefined) {
    return false;
  }
  Entries[id] = entry;
  return true;
}

std::string_view IdTable::name(unsigned int id) const {
  const Text& text = Texts[id];
  return std::string_view(Names.data() + text.offset, text.length);
}
