#ifndef TRACEFILETAVRELSSG_H_
#define TRACEFILETAVRELSSG_H_

#include "Cpp/BaseClasses/TraceFile.h"

// The state-space generator's trace writer. Every line it writes ends with a
// newline and is flushed, so a trace read during a long run is current.
class TraceFileTavrelSSG : public TraceFile {
 public:
  using TraceFile::TraceFile;

  // The three-line "TRACE" banner.
  void printHeader(PVModel* pv) override;
  // "Initial Model State:" and the model tree of m.
  void printInitialState(BaseModelClass* m) override;
  // The model tree of m, depth first: each model's line, its local state
  // variables with their values, then its children in order.
  void printState(BaseModelClass* m) override;
  using TraceFile::printState;
  // The fired action's name, from level 1; d is not written.
  void printFireAction(BaseActionClass* a, double d) override;
  // The enabling variables of a's printed action with their values, from
  // level 2.
  void printPreFireAction(BaseActionClass* a) override;
  void printPostFireAction(BaseActionClass* a, BaseActionClass* b) override;
  void newBatch() override;
  void printStr(int level, const char* text) override;

 private:
  // Lines without a level condition need only a stream.
  bool writes() const { return Stream != nullptr; }
  bool shows(int level) const { return writes() && TraceLevel >= level; }
};

#endif
