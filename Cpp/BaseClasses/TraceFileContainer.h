#ifndef TRACEFILECONTAINER_H_
#define TRACEFILECONTAINER_H_

#include <vector>

#include "Cpp/BaseClasses/TraceFile.h"

// Fans every trace call out to its writers, in the order they were added, and
// formats printf-style messages once for all of them. Its own TraceLevel
// filters nothing: each writer filters by its own.
class TraceFileContainer : public TraceFile {
 public:
  PVModel* Model;                 // the reward model whose state is traced; not owned
  std::vector<TraceFile*> Files;  // the writers; not owned

  // No writers, no model. Releasing the container leaves the writers alone.
  TraceFileContainer();

  // Appends a writer.
  void AddTraceFile(TraceFile* file);
  // Removes the writer, so that the caller may release it.
  void RemoveTraceFile(TraceFile* file);
  void addPVModel(PVModel* pv) { Model = pv; }

  // These pass the call to every writer.
  void printFooter() override;
  void printFireAction(BaseActionClass* a, double d) override;
  void printPreFireAction(BaseActionClass* a) override;
  void printPostFireAction(BaseActionClass* a, BaseActionClass* b) override;
  void newBatch() override;
  void printStr(int level, const char* text) override;
  // Formats the message into a buffer of 1024 characters and passes it to
  // every writer's printStr; a longer message is cut to fit.
  void printf(int level, const char* format, ...) override __attribute__((format(printf, 3, 4)));

  // These do nothing: the container traces state only through the
  // argument-free versions below, with its registered model.
  void printHeader(PVModel* pv) override;
  void printState(PVModel* pv) override;
  void printState(BaseModelClass* m) override;
  using TraceFile::printInitialState;

  // Every writer's printHeader with Model.
  void printHeader();
  // Every writer's printState with Model; nothing before addPVModel.
  void printState();
  // Every writer's printInitialState with Model's composed model; nothing
  // before addPVModel.
  void printInitialState();

 private:
  // Whether some writer prints messages of this level.
  bool anyWriterAt(int level) const;
};

#endif
