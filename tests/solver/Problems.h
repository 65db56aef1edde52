#ifndef TESTS_SOLVER_PROBLEMS_H_
#define TESTS_SOLVER_PROBLEMS_H_

// What a reader made of a text: "ok", or its diagnostic.

#include <string>

#include "solver/Diagnostic.h"

namespace solver_test {

template <class T>
std::string problemOf(const solver::Parsed<T>& read) {
  return read.ok() ? "ok" : read.error().text();
}

}  // namespace solver_test

#endif
