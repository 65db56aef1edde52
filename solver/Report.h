#ifndef SOLVER_REPORT_H_
#define SOLVER_REPORT_H_

#include <ostream>
#include <string>

#include "solver/Solve.h"

namespace solver {

// When a value is taken: its instant ("%g"), "a..b" for an interval,
// "inf" for the long run and "-" for a mean time.
std::string whenText(const VariableValue& value);

// The notes, an empty line, then a table "variable time value error";
// allDigits prints every significant digit of a double (17) instead of 11.
void printSolution(const Solution& solution, std::ostream& out, bool allDigits = false);

// The values as CSV: a header "variable,time,value,error", then one line
// per value, its time as whenText gives it, its value with every
// significant digit ("inf" for an infinite mean time), its error with 3.
void writeCsv(const Solution& solution, std::ostream& out);

}  // namespace solver

#endif
