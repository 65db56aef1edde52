#include "generator/distributed/DistributedGen.h"

#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <optional>
#include <tuple>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/PVModel.h"
#include "generator/DeterministicList.h"
#include "generator/HybridHash.h"
#include "generator/ImpulseRewards.h"
#include "generator/OutputSet.h"
#include "generator/Reward.h"
#include "generator/StateMarkings.h"
#include "generator/StateSpaceGen.h"
#include "generator/distributed/Communicator.h"
#include "generator/distributed/PartMerger.h"

namespace {

// The state store's parameters, as the sequential generator's.
const unsigned long kInitialTableSize = 131072;
const unsigned long kBlockSize = 131072;

// A process sends its requests once they pass this many bytes: memory for
// messages stays bounded whatever the size of a level.
const std::size_t kBatchBytes = 8 << 20;

// Requests looked up together, their memory fetched ahead.
const std::size_t kPrefetchGroup = 16;

template <class T>
void append(std::vector<char>& out, T value) {
  const char* bytes = reinterpret_cast<const char*>(&value);
  out.insert(out.end(), bytes, bytes + sizeof value);
}

template <class T>
T take(const char*& from) {
  T value;
  std::memcpy(&value, from, sizeof value);
  from += sizeof value;
  return value;
}

void putU64(OutputFile& file, std::uint64_t value) { file.putBytes(&value, sizeof value); }

[[noreturn]] void fail(const std::string& message) {
  std::cerr << "Error: " << message << std::endl;
  std::exit(1);
}

}  // namespace

DistributedGen::DistributedGen(StateSpaceGen& gen, Communicator& comm, const char* path,
                               const char* name)
    : Gen(gen),
      Comm(comm),
      Path(path != nullptr ? path : ""),
      Name(name != nullptr ? name : ""),
      StateSize(gen.StateSize),
      Outgoing(comm.size()),
      RequestLocals(comm.size()) {
  if (comm.size() > 65535) {
    fail("a distributed run takes at most 65535 processes");
  }
  for (int i = 0; i < gen.ActionList.getNumItems(); i++) {
    ActionPointers.push_back(gen.Actions[i]);
    ActionIndices.emplace(gen.Actions[i], i);
  }
}

DistributedGen::~DistributedGen() = default;

std::string DistributedGen::PartName(const char* name, int rank) {
  return std::string(name != nullptr ? name : "") + ".part" + std::to_string(rank);
}

std::string DistributedGen::partFile(const char* suffix) const {
  return Path + PartName(Name.c_str(), Comm.rank()) + suffix;
}

std::int32_t DistributedGen::actionIndex(const BaseActionClass* action) const {
  const auto found = ActionIndices.find(action);
  return found == ActionIndices.end() ? -1 : found->second;
}

BaseActionClass* DistributedGen::actionOf(std::int32_t index) const {
  return index < 0 ? &Gen.Model->NoAction : const_cast<BaseActionClass*>(ActionPointers[index]);
}

void DistributedGen::Run() {
  const std::clock_t start = std::clock();
  Comm.AbortOnExit();
  Gen.OutputType = Gen.RequestedType;
  Deterministic = Gen.ChooseMode() == StateSpaceGen::Mode::Deterministic;
  // The run's files of an earlier run go first, as in a sequential run;
  // the parts are never compressed, so that the merger can copy records.
  if (Comm.rank() == 0) {
    Finals = std::make_unique<OutputSet>(Path + Name);
    std::string failed;
    const bool removed = Finals->RemoveFinal(failed);
    Gen.checkWritten(removed, failed.c_str(), errno);
  }
  const std::optional<int> compression = Gen.CompressionLevel;
  Gen.setCompression(std::nullopt);
  Store = std::make_unique<HybridHash>(Gen.Model, StateSize, kInitialTableSize, kBlockSize,
                                       Gen.LoadFactor);
  Numbers.push_back(0);  // local index 0 is never used
  Gen.allocateScratch();
  startParts();
  storeInitialState();
  while (LevelLast >= LevelFirst) {
    const std::uint64_t next = exploreLevel();
    LevelFirst = LevelLast + 1;
    LevelLast += next;
  }
  finishParts();
  Gen.releaseScratch();
  Gen.setCompression(compression);
  gatherAndMerge();
  Comm.Barrier();
  removeParts();
  reportRun(LevelLast, start);
}

std::string DistributedGen::claim(const char* suffix) {
  char* name = Gen.outputName(suffix);
  std::string claimed = name;
  delete[] name;
  return claimed;
}

void DistributedGen::startParts() {
  Gen.startOutputs();
  ArmName = claim(".arm");
  VarName = claim(".var");
  Gen.openOutput(Arm, ArmName.c_str(), "Error: Could not open state space output file");
  Gen.StartFiles(Arm, VarName.c_str(), StateSpaceGen::Placeholder(Deterministic), Deterministic);
  const std::string numbered = claim(".numbered");
  const std::string explored = claim(".explored");
  Gen.openOutput(NumberedIndex, numbered.c_str(), "Error: Could not open a part file");
  Gen.openOutput(ExploredIndex, explored.c_str(), "Error: Could not open a part file");
  std::vector<std::uint64_t> numberedHeads{Gen.TheReward->position()};
  NumberedSuffixes = {".var"};
  if (Gen.Markings) {
    NumberedSuffixes.push_back(".states");
    numberedHeads.push_back(Gen.Markings->position());
  }
  std::vector<std::uint64_t> exploredHeads{Arm.position()};
  ExploredSuffixes = {".arm"};
  if (Gen.Impulses) {
    ExploredSuffixes.push_back(".imp");
    exploredHeads.push_back(Gen.Impulses->position());
  }
  if (Gen.Firings) {
    ExploredSuffixes.push_back(".firings");
    exploredHeads.push_back(Gen.Firings->position());
  }
  IndexNames = {numbered, explored};
  for (OutputFile* index : {&NumberedIndex, &ExploredIndex}) {
    const std::vector<std::uint64_t>& heads =
        index == &NumberedIndex ? numberedHeads : exploredHeads;
    putU64(*index, heads.size());
    for (std::uint64_t head : heads) {
      putU64(*index, head);
    }
  }
}

void DistributedGen::storeInitialState() {
  std::vector<char> initial(StateSize);
  Gen.Model->CurrentState(initial.data());
  if (Comm.owner(HybridHash::Hash(initial.data(), StateSize)) != Comm.rank()) {
    return;
  }
  Store->Insert(initial.data(), NextLocal);
  Numbers.push_back(1);
  Frontier.push_back(NextLocal++);
  Gen.WriteInitialState();
  putU64(NumberedIndex, 1);
  putU64(NumberedIndex, Gen.TheReward->position());
  if (Gen.Markings) {
    putU64(NumberedIndex, Gen.Markings->position());
  }
}

std::uint64_t DistributedGen::exploreLevel() {
  LevelNewFirst = NextLocal;
  std::size_t next = 0;
  do {
    while (next < Frontier.size() && OutgoingBytes < kBatchBytes) {
      expand(Frontier[next++]);
    }
    const std::vector<std::vector<char>> in = Comm.Exchange(std::move(Outgoing));
    Outgoing.assign(Comm.size(), {});
    OutgoingBytes = 0;
    receiveRequests(in);
  } while (Comm.Any(next < Frontier.size()));
  const std::uint64_t count = numberNewStates();
  std::vector<std::vector<char>> answers(Comm.size());
  for (int r = 0; r < Comm.size(); r++) {
    for (std::uint32_t local : RequestLocals[r]) {
      append(answers[r], Numbers[local]);
    }
    RequestLocals[r].clear();
  }
  answerAndWrite(Comm.Exchange(std::move(answers)));
  writeNewStates();
  return count;
}

void DistributedGen::expand(std::uint32_t local) {
  const std::uint64_t number = Numbers[local];
  Gen.ExploreState(number, const_cast<char*>(Store->Vector(local)), Deterministic);
  Gen.WriteImpulses(number);
  ImpulseEnds.push_back(Gen.Impulses ? Gen.Impulses->position() : 0);
  if (Gen.Firings) {
    Stashed.push_back(Gen.Firings->Take());
  }
  ReachedStates& reached = Gen.Reached;
  EntryCounts.push_back(static_cast<std::uint32_t>(reached.size()));
  for (std::size_t i = 0; i < reached.size(); i++) {
    const int owner = Comm.owner(HybridHash::Hash(reached.state(i), StateSize));
    std::vector<char>& out = Outgoing[owner];
    out.insert(out.end(), reached.state(i), reached.state(i) + StateSize);
    append(out, number);
    append(out, static_cast<std::uint32_t>(i));
    append(out, actionIndex(reached.action(i)));
    OutgoingBytes += StateSize + 16;
    EntryOwners.push_back(static_cast<std::uint16_t>(owner));
    EntryValues.push_back(reached.value(i));
  }
  reached.clear();
}

void DistributedGen::receiveRequests(const std::vector<std::vector<char>>& in) {
  const std::size_t requestSize = StateSize + 16;
  std::vector<std::uint64_t> hashes(kPrefetchGroup);
  for (int sender = 0; sender < Comm.size(); sender++) {
    const char* from = in[sender].data();
    const char* end = from + in[sender].size();
    while (from < end) {
      // As the sequential run does, the store's memory for a group of
      // states is fetched before any of them is looked up.
      const std::size_t group =
          std::min<std::size_t>(kPrefetchGroup, static_cast<std::size_t>(end - from) / requestSize);
      for (std::size_t i = 0; i < group; i++) {
        hashes[i] = HybridHash::Hash(from + i * requestSize, StateSize);
        Store->PrefetchSlot(hashes[i]);
      }
      for (std::size_t i = 0; i < group; i++) {
        Store->PrefetchVector(hashes[i]);
      }
      for (std::size_t i = 0; i < group; i++) {
        receiveRequest(sender, from, hashes[i]);
        from += requestSize;
      }
    }
  }
}

void DistributedGen::receiveRequest(int sender, const char* request, std::uint64_t hash) {
  const char* from = request + StateSize;
  const NewState key{take<std::uint64_t>(from), take<std::uint32_t>(from), sender,
                     take<std::int32_t>(from)};
  const std::uint32_t local =
      static_cast<std::uint32_t>(Store->FindOrInsert(request, NextLocal, hash));
  if (local == NextLocal) {
    NextLocal++;
    Numbers.push_back(0);
    NewStates.push_back(key);
  } else if (local >= LevelNewFirst) {
    NewState& kept = NewStates[local - LevelNewFirst];
    if (std::tie(key.parent, key.index) < std::tie(kept.parent, kept.index)) {
      kept = key;
    }
  }
  RequestLocals[sender].push_back(local);
}

std::uint64_t DistributedGen::numberNewStates() {
  // Each new state's key goes to the process that explored its parent,
  // which hands out the numbers of its parents' new states.
  std::vector<std::vector<char>> notices(Comm.size());
  std::vector<std::vector<std::uint32_t>> noticed(Comm.size());
  for (std::size_t i = 0; i < NewStates.size(); i++) {
    const NewState& key = NewStates[i];
    append(notices[key.rank], key.parent);
    append(notices[key.rank], key.index);
    noticed[key.rank].push_back(LevelNewFirst + static_cast<std::uint32_t>(i));
  }
  std::uint64_t total = 0;
  const std::vector<std::vector<char>> numbers =
      Comm.Exchange(assignNumbers(Comm.Exchange(std::move(notices)), total));
  for (int r = 0; r < Comm.size(); r++) {
    const char* from = numbers[r].data();
    for (std::uint32_t local : noticed[r]) {
      Numbers[local] = take<std::uint64_t>(from);
    }
  }
  return total;
}

std::vector<std::vector<char>> DistributedGen::assignNumbers(
    const std::vector<std::vector<char>>& notices, std::uint64_t& total) {
  struct Notice {
    std::uint64_t parent;
    std::uint32_t index;
    int sender;
    std::size_t position;
  };
  std::vector<Notice> mine;
  std::vector<std::uint32_t> counts(LevelLast - LevelFirst + 1, 0);
  for (int sender = 0; sender < Comm.size(); sender++) {
    const char* from = notices[sender].data();
    const char* end = from + notices[sender].size();
    for (std::size_t position = 0; from < end; position++) {
      const std::uint64_t parent = take<std::uint64_t>(from);
      const std::uint32_t index = take<std::uint32_t>(from);
      mine.push_back({parent, index, sender, position});
      counts[parent - LevelFirst]++;
    }
  }
  // Summed over the processes, the counts give each parent the first
  // number of its new states (those of the parents before it come first),
  // and its new states follow their positions among its successors.
  Comm.Sum(counts);
  total = 0;
  for (std::uint32_t count : counts) {
    total += count;
  }
  std::sort(mine.begin(), mine.end(), [](const Notice& a, const Notice& b) {
    return std::tie(a.parent, a.index) < std::tie(b.parent, b.index);
  });
  std::vector<std::vector<std::uint64_t>> assigned(Comm.size());
  for (int r = 0; r < Comm.size(); r++) {
    assigned[r].resize(notices[r].size() / (sizeof(std::uint64_t) + sizeof(std::uint32_t)));
  }
  std::uint64_t first = LevelLast + 1;  // of parent p's new states
  std::uint64_t p = LevelFirst;
  std::uint64_t within = 0;
  for (std::size_t i = 0; i < mine.size(); i++) {
    const Notice& notice = mine[i];
    within = i > 0 && mine[i - 1].parent == notice.parent ? within + 1 : 0;
    for (; p < notice.parent; p++) {
      first += counts[p - LevelFirst];
    }
    assigned[notice.sender][notice.position] = first + within;
  }
  std::vector<std::vector<char>> replies(Comm.size());
  for (int r = 0; r < Comm.size(); r++) {
    for (std::uint64_t number : assigned[r]) {
      append(replies[r], number);
    }
  }
  return replies;
}

void DistributedGen::answerAndWrite(const std::vector<std::vector<char>>& answers) {
  std::vector<const char*> next(Comm.size());
  for (int r = 0; r < Comm.size(); r++) {
    next[r] = answers[r].data();
  }
  std::size_t entry = 0;
  for (std::size_t s = 0; s < Frontier.size(); s++) {
    const std::uint64_t number = Numbers[Frontier[s]];
    if (Gen.Firings) {
      Gen.Firings->Restore(std::move(Stashed[s]));
    }
    for (std::uint32_t i = 0; i < EntryCounts[s]; i++, entry++) {
      const std::uint64_t target = take<std::uint64_t>(next[EntryOwners[entry]]);
      Gen.RecordTransition(i, target, EntryValues[entry]);
    }
    if (Gen.FlagAbsorb == 1) {
      Gen.Model->SetState(const_cast<char*>(Store->Vector(Frontier[s])));
    }
    Gen.WriteStateRecord(Arm, number, Deterministic);
    Gen.CheckRecordsWritten(Arm, ArmName.c_str(), VarName.c_str());
    putU64(ExploredIndex, number);
    putU64(ExploredIndex, Arm.position());
    if (Gen.Impulses) {
      putU64(ExploredIndex, ImpulseEnds[s]);
    }
    if (Gen.Firings) {
      putU64(ExploredIndex, Gen.Firings->position());
    }
    Explored++;
  }
  EntryCounts.clear();
  EntryOwners.clear();
  EntryValues.clear();
  Stashed.clear();
  ImpulseEnds.clear();
}

void DistributedGen::writeNewStates() {
  std::vector<std::uint32_t> level(NewStates.size());
  for (std::size_t i = 0; i < level.size(); i++) {
    level[i] = LevelNewFirst + static_cast<std::uint32_t>(i);
  }
  std::sort(level.begin(), level.end(),
            [this](std::uint32_t a, std::uint32_t b) { return Numbers[a] < Numbers[b]; });
  for (std::uint32_t local : level) {
    const std::uint64_t number = Numbers[local];
    Gen.WriteNewState(number, Store->Vector(local),
                      actionOf(NewStates[local - LevelNewFirst].action));
    putU64(NumberedIndex, number);
    putU64(NumberedIndex, Gen.TheReward->position());
    if (Gen.Markings) {
      putU64(NumberedIndex, Gen.Markings->position());
    }
  }
  NewStates.clear();
  Frontier.swap(level);
}

void DistributedGen::finishParts() {
  // A part's head keeps its placeholder: the merger writes the count.
  Gen.FinishFiles(Arm, ArmName.c_str(), VarName.c_str());
  Gen.closeOutput(NumberedIndex, IndexNames[0].c_str());
  Gen.closeOutput(ExploredIndex, IndexNames[1].c_str());
  Gen.commitOutputs();
  Store.reset();
}

void DistributedGen::gatherAndMerge() {
  std::vector<std::vector<char>> lists;
  if (Deterministic) {
    lists = Comm.Gather(PartMerger::Serialize(Gen.DeterministicRecords));
  }
  // Every part is in place before rank 0 reads them.
  Comm.Barrier();
  if (Comm.rank() != 0) {
    return;
  }
  Gen.ExperimentName = Name.c_str();
  Gen.Outputs = std::move(Finals);
  const std::string types = claim(".pvtype");
  const bool written = Gen.Model->WritePVTypeFile(types.c_str());
  Gen.checkWritten(written, types.c_str(), errno);
  PartMerger merger(Gen, Path, Name, Comm.size());
  merger.Merge(NumberedSuffixes, ".numbered", Deterministic);
  merger.Merge(ExploredSuffixes, ".explored", Deterministic);
  if (Deterministic) {
    DeterministicList merged;
    PartMerger::MergeDeterministic(lists, merged);
    Gen.WriteDeterministicFile(claim(".det").c_str(), merged);
  }
  Gen.commitOutputs();
}

void DistributedGen::removeParts() {
  std::vector<std::string> suffixes = NumberedSuffixes;
  suffixes.insert(suffixes.end(), ExploredSuffixes.begin(), ExploredSuffixes.end());
  suffixes.push_back(".numbered");
  suffixes.push_back(".explored");
  for (const std::string& suffix : suffixes) {
    std::remove(partFile(suffix.c_str()).c_str());
  }
}

void DistributedGen::reportRun(std::uint64_t generated, std::clock_t start) {
  // Each process's peak memory, processor time and bytes sent, for rank 0
  // to print: what a larger run's plan is made from.
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  std::vector<char> mine;
  append(mine, static_cast<std::uint64_t>(usage.ru_maxrss));
  append(mine, seconds);
  append(mine, Comm.BytesSent());
  const std::vector<std::vector<char>> all = Comm.Gather(mine);
  // The summary line counts the firings dropped by every process.
  Gen.DroppedFirings = Comm.Sum(static_cast<std::uint64_t>(Gen.DroppedFirings));
  Gen.CurrentStateNumber = generated;
  Gen.ReportRun(generated, start);
  for (std::size_t r = 0; r < all.size(); r++) {
    const char* from = all[r].data();
    const std::uint64_t kib = take<std::uint64_t>(from);
    const double cpu = take<double>(from);
    const std::uint64_t sent = take<std::uint64_t>(from);
    std::cout << "Process " << r << ": peak memory " << kib << " KiB, processor time " << cpu
              << " seconds, " << sent << " bytes sent" << std::endl;
  }
}
