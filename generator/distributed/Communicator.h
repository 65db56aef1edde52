#ifndef COMMUNICATOR_H_
#define COMMUNICATOR_H_

#include <cstddef>
#include <cstdint>
#include <vector>

// The processes of a distributed run and every message between them: the
// one place that calls MPI. A process is a rank from 0 to size() - 1; each
// state belongs to the rank its hash falls to. Every call but rank, size
// and owner is collective: all ranks make it, in the same order.
//
// A process that ends the run through exit before Finish (an error) ends
// every other one with it, so that no rank waits forever for a message of
// a process that is gone and the launcher reports the failure.
class Communicator {
 public:
  // Starts MPI for the process. Ranks other than 0 print nothing on
  // standard output: the console is rank 0's.
  Communicator(int* argc, char*** argv);
  // Ends MPI (when Finish has not).
  ~Communicator();
  Communicator(const Communicator&) = delete;
  Communicator& operator=(const Communicator&) = delete;

  int rank() const { return Rank; }
  int size() const { return Size; }
  // The rank that owns a state with this hash (HybridHash::Hash).
  int owner(std::uint64_t hash) const {
    return static_cast<int>(static_cast<std::uint32_t>(hash) % static_cast<std::uint32_t>(Size));
  }

  // From here on, a process that exits before Finish aborts the run.
  void AbortOnExit();
  // Sends out[r] to rank r (out has size() entries) and returns in[r], the
  // bytes rank r sent this one. Any amount: large ones go in several rounds.
  std::vector<std::vector<char>> Exchange(std::vector<std::vector<char>> out);
  // Whether any rank passes true.
  bool Any(bool mine);
  // The element-wise sum of every rank's values (all ranks pass as many).
  void Sum(std::vector<std::uint32_t>& values);
  std::uint64_t Sum(std::uint64_t value);
  // Rank 0 receives what every rank passes (its own included), by rank;
  // the others receive nothing.
  std::vector<std::vector<char>> Gather(const std::vector<char>& mine);
  void Barrier();
  // Bytes this rank has sent to other ranks so far.
  std::uint64_t BytesSent() const { return Sent; }
  // Ends MPI after every rank got here.
  void Finish();

 private:
  int Rank = 0;
  int Size = 1;
  std::uint64_t Sent = 0;
  bool Finished = false;
};

#endif
