#ifndef PARTMERGER_H_
#define PARTMERGER_H_

#include <string>
#include <vector>

class DeterministicList;
class StateSpaceGen;

// Assembles a distributed run's files from its processes' part files
// (DistributedGen), on rank 0. Each part holds its process's records in
// number order, and an index lists per record the state's number and where
// the record ends in each file; the merger copies the records of every
// number in turn into the run's file, which the generator's own file
// classes write, so every form of output the sequential run writes comes
// out the same.
class PartMerger {
 public:
  // The parts are path + name + ".part<rank>" + suffix for ranks 0 to
  // parts - 1; gen names, opens and heads the run's files. Not owned.
  PartMerger(StateSpaceGen& gen, std::string path, std::string name, int parts);

  // Merges the files with these suffixes, whose records the index with
  // indexSuffix lists: ".arm" gets the head of the mode with the count,
  // the others part 0's head. Ends the run when a part cannot be read or
  // the parts do not number the states 1, 2, ... without a gap.
  void Merge(const std::vector<std::string>& suffixes, const char* indexSuffix, bool deterministic);

  // A process's enabling records in bytes, as MergeDeterministic reads them.
  static std::vector<char> Serialize(const DeterministicList& list);
  // The enabling records of every process together, as one process that
  // explored every state in number order would list them: the delays in
  // order of the first state (and, within it, the activity) that enabled
  // them, each with its states in number order.
  static void MergeDeterministic(const std::vector<std::vector<char>>& parts,
                                 DeterministicList& merged);

 private:
  std::string partFile(int rank, const std::string& suffix) const;

  StateSpaceGen& Gen;
  std::string Path;
  std::string Name;
  int Parts;
};

#endif
