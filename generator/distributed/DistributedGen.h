#ifndef DISTRIBUTEDGEN_H_
#define DISTRIBUTEDGEN_H_

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "generator/DeterministicFirings.h"
#include "generator/OutputFile.h"

class BaseActionClass;
class Communicator;
class HybridHash;
class OutputSet;
class StateSpaceGen;

// The exploration of one process of a distributed run. Each process owns
// the states whose hash falls to it (Communicator::owner), stores them and
// explores them breadth-first, one level at a time, with the generator's
// own per-state exploration. The states it reaches go to their owners in
// batches, with a key: the number of the state that reached them and the
// position among its successors. A new state keeps its smallest key, and
// the states of the next level are numbered in the order of their keys,
// which is the order in which one process discovers them: the numbers,
// and so the files, are those of a sequential run.
//
// Each process writes its states' records to part files of its own
// (path + name + ".part<rank>" + suffix) with an index of where each record
// ends; rank 0 then merges them in number order into the run's files
// (PartMerger) and every process removes its parts. The part files must
// lie where rank 0 can read them (one file system).
class DistributedGen {
 public:
  // gen is this process's generator, built on the run's model with
  // partName(name, rank) as its experiment name; nothing is owned.
  DistributedGen(StateSpaceGen& gen, Communicator& comm, const char* path, const char* name);
  ~DistributedGen();
  DistributedGen(const DistributedGen&) = delete;
  DistributedGen& operator=(const DistributedGen&) = delete;

  // The experiment name of rank's part files.
  static std::string PartName(const char* name, int rank);

  // Explores every state, writes the run's files and prints the run's end
  // as the sequential generator does (rank 0), with each process's peak
  // memory, processor time and bytes sent.
  void Run();

 private:
  // What a process knows of a state reached during the level being
  // explored, owned by it and new: the smallest key that reached it.
  struct NewState {
    std::uint64_t parent;
    std::uint32_t index;
    std::int32_t rank;    // of the process that explored the parent
    std::int32_t action;  // index in the model's actions, -1 for none
  };

  void startParts();
  void storeInitialState();
  // Explores the states of one level and numbers the next; returns the
  // number of states of the next level.
  std::uint64_t exploreLevel();
  void expand(std::uint32_t local);
  void receiveRequests(const std::vector<std::vector<char>>& in);
  // One request: the state (hash known), its key and action.
  void receiveRequest(int sender, const char* request, std::uint64_t hash);
  // Hands the numbers of the level's new states out, returns their count.
  std::uint64_t numberNewStates();
  // The numbers of the new states whose keys (notices, by sender) name
  // this process's parents, for each sender in its order; total becomes
  // the level's count of new states.
  std::vector<std::vector<char>> assignNumbers(const std::vector<std::vector<char>>& notices,
                                               std::uint64_t& total);
  // The number of every request received this level, back to its sender,
  // and the records of the level's explored states.
  void answerAndWrite(const std::vector<std::vector<char>>& answers);
  void writeNewStates();
  void finishParts();
  void gatherAndMerge();
  void removeParts();
  void reportRun(std::uint64_t generated, std::clock_t start);
  std::string partFile(const char* suffix) const;
  // The name to write the file with suffix under, in the generator's set.
  std::string claim(const char* suffix);
  std::int32_t actionIndex(const BaseActionClass* action) const;
  BaseActionClass* actionOf(std::int32_t index) const;

  StateSpaceGen& Gen;
  Communicator& Comm;
  std::string Path;
  std::string Name;
  bool Deterministic = false;
  unsigned long StateSize;
  std::unique_ptr<HybridHash> Store;   // this process's states, by local index from 1
  std::vector<std::uint64_t> Numbers;  // by local index: the state's number, 0 until known
  std::uint32_t NextLocal = 1;
  std::uint32_t LevelNewFirst = 1;  // the local index of the level's first new state
  std::uint64_t LevelFirst = 1;     // the numbers of the level being explored
  std::uint64_t LevelLast = 1;
  std::vector<std::uint32_t> Frontier;  // this process's states of the level, by number

  // Requester side of a level: per explored state its number of reached
  // entries, and per entry the owner and value; its firings while the
  // targets are unnumbered; where its impulse record ended.
  std::vector<std::uint32_t> EntryCounts;
  std::vector<std::uint16_t> EntryOwners;
  std::vector<double> EntryValues;
  std::vector<std::vector<DeterministicFirings::Outcome>> Stashed;
  std::vector<std::uint64_t> ImpulseEnds;
  std::vector<std::vector<char>> Outgoing;
  std::size_t OutgoingBytes = 0;
  // Owner side: the local index of each request, per sender in order, and
  // the new states of the level.
  std::vector<std::vector<std::uint32_t>> RequestLocals;
  std::vector<NewState> NewStates;

  // This process's part files beside the generator's own.
  OutputFile Arm;
  std::string ArmName;
  std::string VarName;
  std::vector<std::string> IndexNames;  // as written, before the parts are committed
  std::unique_ptr<OutputSet> Finals;    // rank 0's: the run's files
  OutputFile NumberedIndex;             // per new state: number, end in ".var" and ".states"
  OutputFile ExploredIndex;  // per explored state: number, end in ".arm", ".imp", ".firings"
  std::vector<std::string> NumberedSuffixes;
  std::vector<std::string> ExploredSuffixes;
  std::uint64_t Explored = 0;
  // The model's actions, which a request names by their index.
  std::vector<const BaseActionClass*> ActionPointers;
  std::unordered_map<const BaseActionClass*, std::int32_t> ActionIndices;
};

#endif
