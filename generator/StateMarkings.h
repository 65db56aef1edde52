#ifndef STATEMARKINGS_H_
#define STATEMARKINGS_H_

#include <optional>
#include <string>
#include <vector>

#include "generator/OutputFile.h"

class BaseModelClass;

// The ".states" file, written on request (-M) so that a user can tell which
// state a number stands for: a header line "state" followed by the names of
// the state variables in state-vector order, then one line per stable
// state, in numbering order, with its number and the marking of each
// variable, all separated by single spaces.
class StateMarkings {
 public:
  // Names the places of model's state vector: a composed model's own
  // variables by their names, a child's prefixed with the child's name and
  // a dot (with "[i]" when siblings share the name), then the phase of each
  // Erlang activity as <activity>.phase behind its model's prefix; a net
  // read at run time by its places' labels. False when the vector holds
  // anything else.
  bool Describe(BaseModelClass* model, unsigned int stateSize);
  // Opens name (truncating it; compressed at the zstd level given) and
  // writes the header; false on failure (errno tells why).
  bool Open(const char* name, std::optional<int> compression = std::nullopt);
  // The marking of state as "name=marking", separated by spaces.
  std::string Listing(const char* state) const;
  // Appends the line of state number, whose state vector is state.
  void Write(unsigned long number, const char* state);
  // False once a write failed.
  bool good() const { return File.good(); }
  // Writes out what is buffered and closes; false when anything was lost.
  bool Close() { return File.close(); }
  // Why the last write or the close failed (an errno value), or 0.
  int error() const { return File.error(); }
  // The bytes written so far, the end of the last record.
  std::size_t position() const { return File.position(); }

 private:
  std::vector<std::string> Names;
  OutputFile File;
};

#endif
