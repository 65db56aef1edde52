#ifndef SOLVER_TEXTFORMS_H_
#define SOLVER_TEXTFORMS_H_

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>

#include "solver/Diagnostic.h"
#include "solver/LineReader.h"

namespace solver {

// Writes the text form of a run's file, whatever form it was written in
// (text, binary, compressed), byte for byte as the generator writes text:
// so that the forms can be compared, and older solvers read them. Binary
// input is streamed record by record and checked as the readers check it.
// Each throws InputError (what is wrong with the input) or, when out cannot
// be written, std::system_error.

// A ".arm" file.
void writeTextStateSpace(LineReader& in, std::FILE* out);
// A ".var" file of numVariables reward variables.
void writeTextRewards(LineReader& in, std::size_t numVariables, std::FILE* out);
// A ".det" file.
void writeTextDelays(LineReader& in, std::FILE* out);
// A file without a binary form (".pvtype", ".states", ".firings" ...).
void copyText(LineReader& in, std::FILE* out);

// Converts the run's file at path into its text form at target (replaced
// only once complete); suffix says which file of the run it is, and
// numVariables is the reward variables' count, for a ".var" file.
std::optional<Diagnostic> convertToText(const std::string& path, const std::string& suffix,
                                        std::size_t numVariables, const std::string& target);

}  // namespace solver

#endif
