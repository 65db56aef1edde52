#include "generator/distributed/PartMerger.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <queue>
#include <tuple>
#include <utility>

#include "generator/DeterministicList.h"
#include "generator/OutputFile.h"
#include "generator/StateSpaceGen.h"

namespace {

const std::size_t kChunk = 1 << 20;

[[noreturn]] void fail(const std::string& name, const char* what) {
  std::cerr << "Error: Could not assemble the run's files from " << name << ": " << what
            << std::endl;
  std::exit(1);
}

// Reads a part file from its start; every failure ends the run.
class PartReader {
 public:
  explicit PartReader(std::string name) : Name(std::move(name)) {
    File = std::fopen(Name.c_str(), "rb");
    if (File == nullptr) {
      fail(Name, std::strerror(errno));
    }
  }
  ~PartReader() { std::fclose(File); }
  PartReader(const PartReader&) = delete;
  PartReader& operator=(const PartReader&) = delete;

  // The next number of an index; false at its end.
  bool next(std::uint64_t& value) {
    const std::size_t count = std::fread(&value, sizeof value, 1, File);
    if (count == 1) {
      return true;
    }
    if (std::ferror(File) || !std::feof(File)) {
      fail(Name, "read error");
    }
    return false;
  }
  std::uint64_t number() {
    std::uint64_t value = 0;
    if (!next(value)) {
      fail(Name, "the index ends early");
    }
    return value;
  }
  // Copies the bytes up to offset end to out (none when out is null).
  void copyTo(std::uint64_t end, OutputFile* out) {
    if (end < Offset) {
      fail(Name, "the index goes back");
    }
    while (Offset < end) {
      const std::size_t count =
          std::fread(Chunk.get(), 1,
                     static_cast<std::size_t>(std::min<std::uint64_t>(end - Offset, kChunk)), File);
      if (count == 0) {
        fail(Name, std::ferror(File) ? "read error" : "the part ends early");
      }
      if (out != nullptr) {
        out->putBytes(Chunk.get(), count);
      }
      Offset += count;
    }
  }

 private:
  std::string Name;
  std::FILE* File;
  std::uint64_t Offset = 0;
  std::unique_ptr<char[]> Chunk{new char[kChunk]};
};

// One part's index and files, with the record it is at.
struct Part {
  std::unique_ptr<PartReader> index;
  std::vector<std::unique_ptr<PartReader>> files;
  std::uint64_t number = 0;
  std::vector<std::uint64_t> ends;

  // Reads the next record's number and ends; false after the last.
  bool advance() {
    if (!index->next(number)) {
      return false;
    }
    for (std::uint64_t& end : ends) {
      end = index->number();
    }
    return true;
  }
};

template <class T>
T take(const char*& from, const char* end) {
  T value{};
  if (end - from < static_cast<std::ptrdiff_t>(sizeof value)) {
    fail("the enabling records of a process", "they end early");
  }
  std::memcpy(&value, from, sizeof value);
  from += sizeof value;
  return value;
}

template <class T>
void append(std::vector<char>& out, T value) {
  const char* bytes = reinterpret_cast<const char*>(&value);
  out.insert(out.end(), bytes, bytes + sizeof value);
}

}  // namespace

PartMerger::PartMerger(StateSpaceGen& gen, std::string path, std::string name, int parts)
    : Gen(gen), Path(std::move(path)), Name(std::move(name)), Parts(parts) {}

std::string PartMerger::partFile(int rank, const std::string& suffix) const {
  return Path + Name + ".part" + std::to_string(rank) + suffix;
}

void PartMerger::Merge(const std::vector<std::string>& suffixes, const char* indexSuffix,
                       bool deterministic) {
  const int placeholder = StateSpaceGen::Placeholder(deterministic);
  std::vector<std::unique_ptr<OutputFile>> outputs;
  std::vector<std::string> names;
  for (const std::string& suffix : suffixes) {
    char* name = Gen.outputName(suffix.c_str());
    names.push_back(name);
    delete[] name;
    outputs.push_back(std::make_unique<OutputFile>());
    Gen.openOutput(*outputs.back(), names.back().c_str(), "Error: Could not open an output file");
    if (suffix == ".arm") {
      Gen.writeHeader(*outputs.back(), placeholder);
    }
  }
  std::vector<Part> parts(Parts);
  using Head = std::pair<std::uint64_t, int>;
  std::priority_queue<Head, std::vector<Head>, std::greater<Head>> order;
  for (int r = 0; r < Parts; r++) {
    Part& part = parts[r];
    part.index = std::make_unique<PartReader>(partFile(r, indexSuffix));
    if (part.index->number() != suffixes.size()) {
      fail(partFile(r, indexSuffix), "it lists other files");
    }
    for (std::size_t f = 0; f < suffixes.size(); f++) {
      part.files.push_back(std::make_unique<PartReader>(partFile(r, suffixes[f])));
      // Every part starts with the same head; the ".arm" file has its own.
      const bool keep = r == 0 && suffixes[f] != ".arm";
      part.files[f]->copyTo(part.index->number(), keep ? outputs[f].get() : nullptr);
    }
    part.ends.resize(suffixes.size());
    if (part.advance()) {
      order.push({part.number, r});
    }
  }
  std::uint64_t count = 0;
  while (!order.empty()) {
    const int r = order.top().second;
    order.pop();
    Part& part = parts[r];
    if (part.number != ++count) {
      fail(partFile(r, indexSuffix), "the states are not numbered in turn");
    }
    for (std::size_t f = 0; f < suffixes.size(); f++) {
      part.files[f]->copyTo(part.ends[f], outputs[f].get());
    }
    if (part.advance()) {
      order.push({part.number, r});
    }
  }
  for (std::size_t f = 0; f < suffixes.size(); f++) {
    if (suffixes[f] == ".arm") {
      Gen.rewriteCount(*outputs[f], names[f].c_str(), count, placeholder);
    }
    Gen.closeOutput(*outputs[f], names[f].c_str());
  }
}

std::vector<char> PartMerger::Serialize(const DeterministicList& list) {
  std::vector<char> bytes;
  append(bytes, static_cast<std::uint64_t>(list.RateInfoSize));
  for (int i = 0; i < list.RateInfoSize; i++) {
    const RateInfoType& entry = list.RateInfoList[i];
    append(bytes, entry.DelayValue);
    append(bytes, static_cast<std::uint64_t>(entry.NumStates));
    const char* states = reinterpret_cast<const char*>(entry.States);
    bytes.insert(bytes.end(), states, states + entry.NumStates * sizeof(int));
  }
  return bytes;
}

void PartMerger::MergeDeterministic(const std::vector<std::vector<char>>& parts,
                                    DeterministicList& merged) {
  struct Delay {
    double value;
    // The first state that enabled it, and the delay's place in the list
    // of the process that explored that state.
    int first;
    std::uint64_t place;
    std::vector<int> states;
  };
  std::vector<Delay> delays;
  for (const std::vector<char>& part : parts) {
    const char* from = part.data();
    const char* end = from + part.size();
    const std::uint64_t entries = take<std::uint64_t>(from, end);
    for (std::uint64_t place = 0; place < entries; place++) {
      const double value = take<double>(from, end);
      const std::uint64_t count = take<std::uint64_t>(from, end);
      auto delay = std::find_if(delays.begin(), delays.end(),
                                [value](const Delay& d) { return d.value == value; });
      if (delay == delays.end()) {
        delays.push_back({value, 0, 0, {}});
        delay = delays.end() - 1;
      }
      for (std::uint64_t i = 0; i < count; i++) {
        const int state = take<int>(from, end);
        if (i == 0 && (delay->states.empty() || state < delay->first)) {
          delay->first = state;
          delay->place = place;
        }
        delay->states.push_back(state);
      }
    }
  }
  std::sort(delays.begin(), delays.end(), [](const Delay& a, const Delay& b) {
    return std::tie(a.first, a.place) < std::tie(b.first, b.place);
  });
  for (Delay& delay : delays) {
    std::sort(delay.states.begin(), delay.states.end());
    for (int state : delay.states) {
      merged.insertEnablingState(state, delay.value);
    }
  }
}
