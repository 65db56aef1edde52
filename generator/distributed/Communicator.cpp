#include "generator/distributed/Communicator.h"

#include <mpi.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iostream>

namespace {

// A rank that leaves through exit takes the others with it.
void abortUnfinished() {
  int initialized = 0;
  int finalized = 0;
  MPI_Initialized(&initialized);
  MPI_Finalized(&finalized);
  if (initialized && !finalized) {
    MPI_Abort(MPI_COMM_WORLD, 1);
  }
}

// Displacements of one round are ints: what a rank receives in a round
// stays below INT_MAX.
std::size_t roundLimit(int size) { return (INT_MAX / 2) / static_cast<std::size_t>(size); }

}  // namespace

Communicator::Communicator(int* argc, char*** argv) {
  MPI_Init(argc, argv);
  MPI_Comm_rank(MPI_COMM_WORLD, &Rank);
  MPI_Comm_size(MPI_COMM_WORLD, &Size);
  if (Rank != 0) {
    std::cout.setstate(std::ios::badbit);
  }
}

Communicator::~Communicator() { Finish(); }

void Communicator::AbortOnExit() {
  static bool registered = (std::atexit(abortUnfinished), true);
  (void)registered;
}

std::vector<std::vector<char>> Communicator::Exchange(const std::vector<std::vector<char>>& out) {
  std::vector<std::vector<char>> in(Size);
  std::vector<std::size_t> done(Size, 0);
  const std::size_t limit = roundLimit(Size);
  std::vector<int> sendCounts(Size), recvCounts(Size), sendOffsets(Size), recvOffsets(Size);
  std::vector<char> sendBuffer, recvBuffer;
  bool more = true;
  while (more) {
    sendBuffer.clear();
    for (int r = 0; r < Size; r++) {
      const std::size_t count = std::min(out[r].size() - done[r], limit);
      sendOffsets[r] = static_cast<int>(sendBuffer.size());
      sendCounts[r] = static_cast<int>(count);
      sendBuffer.insert(sendBuffer.end(), out[r].begin() + done[r], out[r].begin() + done[r] + count);
      done[r] += count;
      if (r != Rank) {
        Sent += count;
      }
    }
    MPI_Alltoall(sendCounts.data(), 1, MPI_INT, recvCounts.data(), 1, MPI_INT, MPI_COMM_WORLD);
    int total = 0;
    for (int r = 0; r < Size; r++) {
      recvOffsets[r] = total;
      total += recvCounts[r];
    }
    recvBuffer.resize(std::max(total, 1));
    MPI_Alltoallv(sendBuffer.data(), sendCounts.data(), sendOffsets.data(), MPI_BYTE,
                  recvBuffer.data(), recvCounts.data(), recvOffsets.data(), MPI_BYTE,
                  MPI_COMM_WORLD);
    for (int r = 0; r < Size; r++) {
      in[r].insert(in[r].end(), recvBuffer.begin() + recvOffsets[r],
                   recvBuffer.begin() + recvOffsets[r] + recvCounts[r]);
    }
    bool left = false;
    for (int r = 0; r < Size; r++) {
      left = left || done[r] < out[r].size();
    }
    more = Any(left);
  }
  return in;
}

bool Communicator::Any(bool mine) {
  int local = mine ? 1 : 0;
  int any = 0;
  MPI_Allreduce(&local, &any, 1, MPI_INT, MPI_LOR, MPI_COMM_WORLD);
  return any != 0;
}

void Communicator::Sum(std::vector<std::uint32_t>& values) {
  // In pieces: a count is an int.
  const std::size_t piece = INT_MAX / 2;
  for (std::size_t from = 0; from < values.size(); from += piece) {
    const int count = static_cast<int>(std::min(piece, values.size() - from));
    MPI_Allreduce(MPI_IN_PLACE, values.data() + from, count, MPI_UINT32_T, MPI_SUM,
                  MPI_COMM_WORLD);
  }
  if (Size > 1) {
    Sent += values.size() * sizeof(std::uint32_t);
  }
}

std::uint64_t Communicator::Sum(std::uint64_t value) {
  std::uint64_t sum = 0;
  MPI_Allreduce(&value, &sum, 1, MPI_UINT64_T, MPI_SUM, MPI_COMM_WORLD);
  return sum;
}

std::vector<std::vector<char>> Communicator::Gather(const std::vector<char>& mine) {
  // Every rank sends to rank 0 alone; the exchange carries any amount.
  std::vector<std::vector<char>> out(Size);
  out[0] = mine;
  std::vector<std::vector<char>> in = Exchange(out);
  if (Rank != 0) {
    in.clear();
  }
  return in;
}

void Communicator::Barrier() { MPI_Barrier(MPI_COMM_WORLD); }

void Communicator::Finish() {
  if (Finished) {
    return;
  }
  Finished = true;
  MPI_Finalize();
}
