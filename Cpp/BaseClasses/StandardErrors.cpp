#include "Cpp/BaseClasses/StandardErrors.h"

#include <cstdlib>
#include <iostream>

#include "common/PrintableText.h"

namespace {

// A null text writes nothing, so callers may pass what they have. Names
// may come from a net's file: what does not print is escaped.
void writeText(const char* text) {
  if (text != nullptr) {
    std::cerr << printable(text);
  }
}

void writeLine(const char* first, const char* second = nullptr) {
  writeText(first);
  writeText(second);
  std::cerr << std::endl;
}

void typeMismatch(const char* heading, const char* first, const char* second) {
  writeLine(heading);
  writeLine("  ", first);
  writeLine("  ", second);
}

}  // namespace

void MemoryAllocationError() {
  writeLine("Insufficient Memory to allocate dynamic data structures from heap memory");
  writeLine("Exiting program...");
  std::exit(1);
}

void MarkingOutOfRange(const char* model, const char* place, const char* activity,
                       long long value) {
  std::cerr << "Error: activity ";
  writeText(activity);
  std::cerr << " of model ";
  writeText(model);
  std::cerr << " takes the marking of place ";
  writeText(place);
  std::cerr << " to " << value << "; a marking must lie between 0 and 32767" << std::endl;
  std::exit(1);
}

void MemoryError() { writeLine("Memory Error"); }

void ErrorEmptyParameter(const char* where) {
  writeLine(where, ": Parameter was an empty reference");
}

void InconsistantState() {
  writeLine("This program has entered into an inconsistant state. Please report this bug.");
}

void UserError() { writeLine("A user error has been detected"); }

void ArrayTypeMismatchError(const char* first, const char* second) {
  typeMismatch("Array types for equivalence sharing do not match for state variables: ", first,
               second);
}

void StructTypeMismatchError(const char* first, const char* second) {
  typeMismatch("Struct types for equivalence sharing do not match for state variables: ", first,
               second);
}

void InvalidArrayType() { writeLine("ArrayType is not valid"); }

void InvalidStructType() {
  writeLine("ArrayType is invalid for struct element");
  writeLine("preparing to segfault");
  std::abort();
}

void InvalidUnorderedType() { writeLine("ArrayType is invalid for unordered element"); }

void ArrayOutOfBoundsError(const char* where) { writeLine("Array out of bounds error at ", where); }

namespace SyncError {

void WrongDistributionType() {
  writeLine("You can only synchronize actions from one type,",
            "either exponential or instantenous");
}

void NoAction() { writeLine(" no Action found in model"); }

}  // namespace SyncError
