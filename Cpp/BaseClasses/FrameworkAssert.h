#ifndef FRAMEWORKASSERT_H_
#define FRAMEWORKASSERT_H_

// The framework's one assertion helper. Unlike <cassert> it stays active in
// release builds: its checks guard the consistency of generated model code,
// and a silent pass would produce wrong state spaces.

// Writes "Assertion failed: <expression>, file <file>, line <line>" on standard
// error and aborts.
[[noreturn]] void FrameworkAssertFailed(const char* expression, const char* file, int line);

// SAN_ASSERT(condition, "expression text", "File.cpp"): the report names the
// given text and file, and the line of the check.
#define SAN_ASSERT(condition, expression, file)          \
  do {                                                   \
    if (!(condition)) {                                  \
      FrameworkAssertFailed(expression, file, __LINE__); \
    }                                                    \
  } while (0)

#endif
