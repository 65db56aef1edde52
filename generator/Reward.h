#ifndef REWARD_H_
#define REWARD_H_

#include <optional>

#include "generator/OutputFile.h"

class PVModel;

// The reward file of the run; opened by Reward, closed when the program ends.
extern OutputFile rewfile;

// Writes the reward file: a header with the names of the reward model's
// nodes, then one record per stable state with every node's impulse and
// rate reward as the reward model last computed them.
class Reward {
 public:
  PVModel* RewardModel;  // not owned
  short OutputType;      // 1, 3 and 5 write text records, other values binary ones

  // Opens rewfile on fileName (truncating it; compressed at the given zstd
  // level when there is one) and writes the header. A file that cannot be
  // opened ends the program with a message naming it and exit status 1.
  Reward(PVModel* model, short outputType, const char* fileName,
         std::optional<int> compression = std::nullopt);

  // Appends the record of state number stateNumber. Records are buffered;
  // Finish writes them out. A reward that is not finite ends the run with a
  // message and exit status 1.
  void Calculate(unsigned long stateNumber);
  // False once a write of the header or of a record failed.
  bool good() const;
  // Why the first failed write failed: an errno value, 0 while none has.
  int error() const;
  // The bytes written so far, the end of the last record.
  std::size_t position() const;
  // Writes out every buffered record and closes the file; true when
  // everything reached it.
  bool Finish();

 private:
  bool IsText() const { return OutputType == 1 || OutputType == 3 || OutputType == 5; }
  // Ends the run, naming the variable, when a reward of the state is not a
  // finite number: a solver would refuse the file far from the cause.
  void CheckFinite(unsigned long stateNumber) const;
  void WriteText(unsigned long stateNumber);
  void WriteBinary(unsigned long stateNumber);
};

#endif
