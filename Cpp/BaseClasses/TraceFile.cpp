#include "Cpp/BaseClasses/TraceFile.h"

#include <fstream>
#include <new>

#include "Cpp/BaseClasses/PVModel.h"
#include "Cpp/BaseClasses/StandardErrors.h"

TraceFile::TraceFile() : TraceLevel(1), Stream(nullptr), OwnsStream(false) {}

TraceFile::TraceFile(const char* name) : TraceFile() {
  std::ofstream* file = new (std::nothrow) std::ofstream(name, std::ios::out | std::ios::trunc);
  if (file == nullptr) {
    MemoryAllocationError();
  }
  if (!file->is_open()) {
    std::cerr << "Warning: could not open trace file " << name << "; tracing to it is off"
              << std::endl;
    delete file;
    return;
  }
  Stream = file;
  OwnsStream = true;
}

TraceFile::TraceFile(std::ostream* os) : TraceLevel(1), Stream(os), OwnsStream(false) {}

TraceFile::~TraceFile() {
  if (OwnsStream) {
    delete Stream;
  }
}

void TraceFile::printHeader(PVModel*) {}

void TraceFile::printFooter() {}

void TraceFile::printInitialState(BaseModelClass*) {}

void TraceFile::printState(BaseModelClass*) {}

void TraceFile::printState(PVModel* pv) { printState(pv->ChildModel); }

void TraceFile::printFireAction(BaseActionClass*, double) {}

void TraceFile::printPreFireAction(BaseActionClass*) {}

void TraceFile::printPostFireAction(BaseActionClass*, BaseActionClass*) {}

void TraceFile::newBatch() {}

void TraceFile::printf(int, const char*, ...) {}

void TraceFile::printStr(int, const char*) {}
