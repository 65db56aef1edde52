#ifndef STANDARDERRORS_H_
#define STANDARDERRORS_H_

// Fixed reports of errors the framework cannot handle. Every line goes to
// standard error and is flushed. Only MemoryAllocationError,
// MarkingOutOfRange and InvalidStructType end the program; the others return
// to the caller.

[[noreturn]] void MemoryAllocationError();  // exit status 1
// A firing would take a place's marking outside 0..32767: names the activity,
// the model, the place and the value the marking would take; exit status 1.
[[noreturn]] void MarkingOutOfRange(const char* model, const char* place, const char* activity,
                                    long long value);
void MemoryError();
void ErrorEmptyParameter(const char* where);
void InconsistantState();
void UserError();
void ArrayTypeMismatchError(const char* first, const char* second);
void StructTypeMismatchError(const char* first, const char* second);
void InvalidArrayType();
[[noreturn]] void InvalidStructType();  // aborts
void InvalidUnorderedType();
void ArrayOutOfBoundsError(const char* where);

namespace SyncError {
void WrongDistributionType();
void NoAction();
}  // namespace SyncError

#endif
