#ifndef KANBANRJ_H_
#define KANBANRJ_H_

#include "Cpp/BaseClasses/state/Place.h"
#include "Cpp/Composer/Join.h"
#include "bench/kanban/cell1SAN.h"
#include "bench/kanban/cell2SAN.h"
#include "bench/kanban/cell3SAN.h"
#include "bench/kanban/cell4SAN.h"

// The names of the join's shared variables, in order.
extern const char* kanbanRJ__SharedNames[7];

// The Kanban manufacturing system, a benchmark of the generator: four cells
// with t kanban tokens each (the global variable t). Parts enter cell 1,
// which feeds cells 2 and 3 at once (s1); a finished part of cell 2 and one
// of cell 3 are joined into one part of cell 4 (s2), which sends it out.
// In every cell a part is worked on (x), may wait for rework (y) and ends
// finished (z); w counts the cell's kanban tokens in use.
//
// Scaling: a cell holds at most t parts, and cells 2 and 3 always hold
// equally many, so the reachable states number C(t+3,3)^2 times the sum over
// n = 0..t of C(n+2,2)^2: 160 for t = 1, 4,600 for t = 2, 58,400 for t = 3,
// 454,475 for t = 4, 2,546,432 for t = 5, 11,261,376 for t = 6.
//
// The join shares every place that an activity of one cell changes in
// another: w2 and x2 (cells 1, 2), w3 (cells 1, 2, 3), x3 (cells 1, 3), z3
// (cells 2, 3), w4 and x4 (cells 2, 4).
class kanbanRJ : public Join {
 public:
  cell1SAN* cell1;  // owned
  cell2SAN* cell2;  // owned
  cell3SAN* cell3;  // owned
  cell4SAN* cell4;  // owned
  // Owned; the join's shared places, null when the children are empty.
  Place* w2;
  Place* x2;
  Place* w3;
  Place* x3;
  Place* z3;
  Place* w4;
  Place* x4;

  kanbanRJ();
  ~kanbanRJ() override;
};

#endif
