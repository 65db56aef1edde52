#ifndef TRACEFILE_H_
#define TRACEFILE_H_

#include <iostream>

class BaseActionClass;
class BaseModelClass;
class PVModel;

// A writer of the generator's readable trace. Each writer filters by its own
// trace level: a message of level n is written only when TraceLevel >= n.
// The base operations write nothing; a concrete writer chooses the lines.
class TraceFile {
 public:
  int TraceLevel;
  // Where the writer writes; null when it has nowhere to write (then every
  // operation writes nothing). Owned when OwnsStream is set.
  std::ostream* Stream;
  bool OwnsStream;  // set for the file stream of a writer constructed on a name

  // Level 1, no stream.
  TraceFile();
  // Opens the file name for writing, truncating it. When it cannot be
  // opened, says so once on standard error and leaves the writer without a
  // stream. Level 1.
  explicit TraceFile(const char* name);
  // Writes to os, which the caller keeps alive and releases. Level 1.
  explicit TraceFile(std::ostream* os);
  // Releases the file stream of a writer constructed on a name.
  virtual ~TraceFile();
  TraceFile(const TraceFile&) = delete;
  TraceFile& operator=(const TraceFile&) = delete;

  virtual void printHeader(PVModel* pv);
  virtual void printFooter();
  virtual void printInitialState(BaseModelClass* m);
  virtual void printState(BaseModelClass* m);
  // Traces the composed model under the reward model pv.
  virtual void printState(PVModel* pv);
  virtual void printFireAction(BaseActionClass* a, double d);
  virtual void printPreFireAction(BaseActionClass* a);
  virtual void printPostFireAction(BaseActionClass* a, BaseActionClass* b);
  virtual void newBatch();
  // A printf-style message of the given level.
  virtual void printf(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
  // The line text, when this writer's level reaches level.
  virtual void printStr(int level, const char* text);

  void setTraceLevel(int level) { TraceLevel = level; }
  int getTraceLevel() const { return TraceLevel; }
};

#endif
