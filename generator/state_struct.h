#ifndef STATE_STRUCT_H_
#define STATE_STRUCT_H_

// A state vector together with its state number, as handed between the
// generator and the queue of unexplored states.
struct state_struct {
  char* state;           // StateSize bytes; owned by whoever allocated the record
  unsigned long number;  // state numbers start at 1
};

#endif
