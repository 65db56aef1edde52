#include "generator/distributed/Communicator.h"

#include <mpi.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <utility>

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

// A message's count is an int: larger ones go in several rounds.
const std::size_t kMessageLimit = 1 << 30;

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

std::vector<std::vector<char>> Communicator::Exchange(std::vector<std::vector<char>> out) {
  std::vector<std::vector<char>> in(Size);
  in[Rank] = std::move(out[Rank]);
  std::vector<std::size_t> done(Size, 0);
  std::vector<std::int64_t> sendCounts(Size, 0), recvCounts(Size, 0);
  std::vector<MPI_Request> requests;
  requests.reserve(2 * static_cast<std::size_t>(Size));
  // Straight from each sender's vector into each receiver's: every
  // message is a point-to-point one, at most kMessageLimit bytes a round.
  bool more = true;
  while (more) {
    for (int r = 0; r < Size; r++) {
      sendCounts[r] =
          r == Rank ? 0
                    : static_cast<std::int64_t>(std::min(out[r].size() - done[r], kMessageLimit));
    }
    MPI_Alltoall(sendCounts.data(), 1, MPI_INT64_T, recvCounts.data(), 1, MPI_INT64_T,
                 MPI_COMM_WORLD);
    requests.clear();
    for (int r = 0; r < Size; r++) {
      if (recvCounts[r] > 0) {
        const std::size_t at = in[r].size();
        in[r].resize(at + static_cast<std::size_t>(recvCounts[r]));
        requests.emplace_back();
        MPI_Irecv(in[r].data() + at, static_cast<int>(recvCounts[r]), MPI_BYTE, r, 0,
                  MPI_COMM_WORLD, &requests.back());
      }
    }
    for (int r = 0; r < Size; r++) {
      if (sendCounts[r] > 0) {
        requests.emplace_back();
        MPI_Isend(out[r].data() + done[r], static_cast<int>(sendCounts[r]), MPI_BYTE, r, 0,
                  MPI_COMM_WORLD, &requests.back());
        done[r] += static_cast<std::size_t>(sendCounts[r]);
        Sent += static_cast<std::uint64_t>(sendCounts[r]);
      }
    }
    MPI_Waitall(static_cast<int>(requests.size()), requests.data(), MPI_STATUSES_IGNORE);
    bool left = false;
    for (int r = 0; r < Size; r++) {
      left = left || (r != Rank && done[r] < out[r].size());
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
    MPI_Allreduce(MPI_IN_PLACE, values.data() + from, count, MPI_UINT32_T, MPI_SUM, MPI_COMM_WORLD);
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
