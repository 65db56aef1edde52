#ifndef JOB_SHOPRJ_H_
#define JOB_SHOPRJ_H_

#include "Cpp/BaseClasses/state/Place.h"
#include "Cpp/Composer/Join.h"
#include "bench/job_shop/dispatcherSAN.h"
#include "bench/job_shop/machineSAN.h"

// The names of the join's shared variables, in order.
extern const char* job_shopRJ__SharedNames[5];

// A flexible manufacturing cell, a benchmark whose paths run mostly through
// vanishing states. Parts arrive (exponential, rate 1) at a dispatcher that
// routes each one in zero time to one of four machines, each with a queue of
// capacity queue_capacity: an idle machine is preferred (rank 2), otherwise
// a machine with room is chosen with probability proportional to its free
// room; a part finding every queue full is rejected. Machine i serves its
// queue at rate 0.3, 0.35, 0.4, 0.45; each served part is inspected in zero
// time and leaves (0.9) or is routed again for rework (0.1).
// A stable state is a vector of queue lengths (arrived and done are empty
// there): (queue_capacity + 1)^4 states, every vector being reachable, from
// 16 at capacity 1 to 5764801 at capacity 48. Every arrival passes one
// vanishing state and every service one or two.
// The join shares q1..q4 between the dispatcher and machine i, and done
// between the dispatcher and all machines; the state vector is arrived,
// then q1, q2, q3, q4 and done (six shorts).
class job_shopRJ : public Join {
 public:
  static const int NumMachines = 4;

  dispatcherSAN* dispatcher;          // owned
  machineSAN* machines[NumMachines];  // owned; machines[i] is "machine<i+1>"
  // Owned; the shared places, null when the children are empty. queues[i]
  // is q<i+1>, the queue of machines[i].
  Place* queues[NumMachines];
  Place* done;

  job_shopRJ();
  ~job_shopRJ() override;
};

#endif
