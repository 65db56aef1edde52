#include "Cpp/BaseClasses/TraceFileContainer.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "Cpp/BaseClasses/PVModel.h"

TraceFileContainer::TraceFileContainer() : Model(nullptr) {}

void TraceFileContainer::AddTraceFile(TraceFile* file) { Files.push_back(file); }

void TraceFileContainer::RemoveTraceFile(TraceFile* file) {
  Files.erase(std::remove(Files.begin(), Files.end(), file), Files.end());
}

void TraceFileContainer::printFooter() {
  for (TraceFile* file : Files) {
    file->printFooter();
  }
}

void TraceFileContainer::printFireAction(BaseActionClass* a, double d) {
  for (TraceFile* file : Files) {
    file->printFireAction(a, d);
  }
}

void TraceFileContainer::printPreFireAction(BaseActionClass* a) {
  for (TraceFile* file : Files) {
    file->printPreFireAction(a);
  }
}

void TraceFileContainer::printPostFireAction(BaseActionClass* a, BaseActionClass* b) {
  for (TraceFile* file : Files) {
    file->printPostFireAction(a, b);
  }
}

void TraceFileContainer::newBatch() {
  for (TraceFile* file : Files) {
    file->newBatch();
  }
}

void TraceFileContainer::printStr(int level, const char* text) {
  for (TraceFile* file : Files) {
    file->printStr(level, text);
  }
}

bool TraceFileContainer::anyWriterAt(int level) const {
  for (const TraceFile* file : Files) {
    if (file->getTraceLevel() >= level) {
      return true;
    }
  }
  return false;
}

void TraceFileContainer::printf(int level, const char* format, ...) {
  // Formatting is the costly part of a trace call made for every state and
  // transition; skip it when no writer would print the message.
  if (!anyWriterAt(level)) {
    return;
  }
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  printStr(level, buffer);
}

void TraceFileContainer::printHeader(PVModel*) {}

void TraceFileContainer::printState(PVModel*) {}

void TraceFileContainer::printState(BaseModelClass*) {}

void TraceFileContainer::printHeader() {
  for (TraceFile* file : Files) {
    file->printHeader(Model);
  }
}

void TraceFileContainer::printState() {
  if (Model == nullptr) {
    return;
  }
  for (TraceFile* file : Files) {
    file->printState(Model);
  }
}

void TraceFileContainer::printInitialState() {
  if (Model == nullptr) {
    return;
  }
  for (TraceFile* file : Files) {
    file->printInitialState(Model->ChildModel);
  }
}
