#ifndef COMMANDLINE_H_
#define COMMANDLINE_H_

#include <optional>

// Process-wide settings of a run, written while the command line is parsed
// and read-only afterwards. The strings are owned here: ReleaseSettings frees
// them.
extern char* exp_path;        // -P, new[]; prefix of every output file name
extern char* ExpName;         // -N, new[]; experiment name
extern int ExpNum;            // -B; 0-based experiment of the study
extern short flagAbsorb;      // -a; 1 reports absorbing states
extern char* OverrideString;  // -O, malloc; global-variable overrides
extern char* db_host;         // -s, new[]; results-database host
extern char* db_entity;       // -e, new[]; results-database entity
extern int TempTraceLevel;    // -l; trace level 0 to 4
extern double hash_value;     // -h; load factor of the state store
extern bool writeMarkings;    // -M; also write each state's marking (".states")
extern bool writeFirings;     // -D; also write each deterministic firing's delay (".firings")
extern std::optional<int> compressionLevel;  // -z; compress the output files at this zstd level

// Parses argv[1..argc-1] into the settings, the file type (-F) and the trace
// file name (-t, a strdup copy the caller releases with free). With fewer
// than three arguments it prints the usage text and exits with status 0.
// Unknown options and options missing their value are reported on standard
// output and skipped. A value of -B, -h or -l that is not a number in full,
// a trace level outside 0 to 4, or a -z level that zstd does not have, is
// reported on standard error and makes SettingsValid fail. -z without a
// value takes the default level.
void commandline(int argc, char** argv, int& fileType, char*& traceFileName);

// Checks what the run needs from the parsed settings: no refused value, an
// experiment name and a load factor strictly between 0 and 1. Prints the
// problem on standard error and returns false when one is missing or wrong.
bool SettingsValid();

// Checks ExpNum against a study of numExps experiments; prints the valid
// range on standard error and returns false when it lies outside.
bool ExperimentNumberValid(int numExps);

// Frees the settings' strings and restores every setting to its initial value.
void ReleaseSettings();

// Option letters of one executable beyond gen's (netgen's -m, -r, -w), each
// taking a value, which apply receives; usage is one more line of the usage
// text.
struct OptionExtension {
  const char* letters;
  void (*apply)(char letter, const char* value);
  const char* usage;
};
// Makes commandline accept the extension's letters too; null removes it.
void SetOptionExtension(const OptionExtension* extension);

#endif
