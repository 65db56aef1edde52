#ifndef DETERMINISTICLIST_H_
#define DETERMINISTICLIST_H_

#include <ostream>

// Form of the deterministic file: 0 writes text, any other value binary.
enum OutputFileType { TextFile = 0, BinaryFile = 1 };

// The states in which an activity with one deterministic delay is enabled,
// in the order they were reported (a state reported twice is kept twice).
class RateInfoType {
 public:
  // Delay 0.0, no states, room for 10.
  RateInfoType();
  // Delay value, no states, room for n.
  RateInfoType(int n, double value);
  virtual ~RateInfoType();
  RateInfoType(const RateInfoType&) = delete;
  RateInfoType& operator=(const RateInfoType&) = delete;

  // Appends a state number, doubling the room when full.
  void insertState(int state);
  // Resizes States to n entries, keeping the first StateCapacity (callers only grow).
  void increaseStateList(int n);
  // Takes over other's delay and state list; other no longer releases the list.
  void takeOver(RateInfoType& other);
  // Writes the delay, the state numbers and the terminator 0.
  void writeStates(std::ostream& out, OutputFileType type) const;
  // One line "[index] state" per state on standard output.
  void printStates() const;

  unsigned int NumStates;
  unsigned int StateCapacity;
  double DelayValue;
  int* States;      // released by the destructor only while OwnsStates holds
  bool OwnsStates;  // false once the list has moved to another entry
};

// Enabling records of deterministic activities, one entry per distinct delay
// (compared exactly) in order of first appearance.
class DeterministicList {
 public:
  // Empty, with room for 2 delays.
  DeterministicList();
  // Empty, with room for n delays.
  explicit DeterministicList(int n);
  virtual ~DeterministicList();
  DeterministicList(const DeterministicList&) = delete;
  DeterministicList& operator=(const DeterministicList&) = delete;

  // Records that state enables an activity with the delay value.
  void insertEnablingState(int state, double value);
  // Grows the entry array to n entries, moving the entries' state lists over.
  void increaseRateInfoSize(int n);
  // Writes the number of delays and then every entry; text uses the
  // stream's current number format.
  void writeEnablingStates(std::ostream& out, OutputFileType type) const;
  // Diagnostic listing of every entry on standard output.
  void printEnablingStates() const;

  int RateInfoSize;
  int RateInfoCapacity;
  RateInfoType* RateInfoList;  // owned; entries 0 to RateInfoSize - 1 in use
};

#endif
