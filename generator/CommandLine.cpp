#include "generator/CommandLine.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "Cpp/BaseClasses/StandardErrors.h"

char* exp_path = nullptr;
char* ExpName = nullptr;
int ExpNum = 0;
short flagAbsorb = 0;
char* OverrideString = nullptr;
char* db_host = nullptr;
char* db_entity = nullptr;
int TempTraceLevel = 0;
double hash_value = 0.5;
bool writeMarkings = false;
bool writeFirings = false;

namespace {

void printUsage(std::ostream& out) {
  out << "usage:  gen -Pexperimentfilepath -Nexperimentname -hhash_value"
      << " -Bexperimentnumber -Ffiletype -edb_entity -sdb_macserver "
      << " -ltrace_level[0-4] -tTraceFilename" << std::endl;
  out << "Example:  gen -P. -Nexp1 -B0" << std::endl;
}

// Replaces an owned new[] copy; a repeated option releases the earlier one.
void replaceCopy(char*& field, const char* value) {
  delete[] field;
  field = new char[std::strlen(value) + 1];
  std::strcpy(field, value);
}

// Replaces an owned malloc copy.
void replaceDuplicate(char*& field, const char* value) {
  std::free(field);
  field = strdup(value);
  if (field == nullptr) {
    MemoryAllocationError();
  }
}

// Reads the leading integer as atoi does, but clamps values beyond int
// instead of leaving them undefined.
int toInt(const char* text) {
  long value = std::strtol(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

bool knownOption(char letter) { return std::strchr("PNhBFesltOaMD", letter) != nullptr; }

// Applies an option that has a value.
void applyValue(char letter, const char* value, int& fileType, char*& traceFileName) {
  double number = 0;
  switch (letter) {
    case 'P':
      replaceCopy(exp_path, value);
      std::cout << "path=[" << value << "]" << std::endl;
      break;
    case 'N':
      replaceCopy(ExpName, value);
      break;
    case 'h':
      if (std::sscanf(value, "%lf", &number) == 1) hash_value = number;
      break;
    case 'B':
      ExpNum = toInt(value);
      break;
    case 'F':
      fileType = toInt(value);
      break;
    case 'e':
      replaceCopy(db_entity, value);
      break;
    case 's':
      replaceCopy(db_host, value);
      break;
    case 'l':
      TempTraceLevel = toInt(value);
      std::cout << "TraceLevel=" << TempTraceLevel << std::endl;
      break;
    case 't':
      replaceDuplicate(traceFileName, value);
      break;
    case 'O':
      replaceDuplicate(OverrideString, value);
      std::cout << "OverrideString is " << value << std::endl;
      break;
  }
}

// Applies one option. value is null when the option has none; shown is the
// text an unknown option is reported with.
void applyOption(char letter, const char* value, const char* shown, int& fileType,
                 char*& traceFileName) {
  if (!knownOption(letter)) {
    std::cout << "ERROR: unknown argument: " << shown << std::endl;
  } else if (letter == 'a') {
    flagAbsorb = 1;
  } else if (letter == 'M') {
    writeMarkings = true;
  } else if (letter == 'D') {
    writeFirings = true;
  } else if (value == nullptr) {
    std::cout << "ERROR: missing value for argument: -" << letter << std::endl;
  } else {
    applyValue(letter, value, fileType, traceFileName);
  }
}

}  // namespace

void commandline(int argc, char** argv, int& fileType, char*& traceFileName) {
  if (argc <= 3) {
    printUsage(std::cout);
    std::exit(0);
  }
  for (int i = 1; i < argc; i++) {
    const char* argument = argv[i];
    if (argument[0] != '-') {
      continue;
    }
    if (argument[1] == '\0') {
      // A lone "-" names no option and has no text after its letter.
      std::cout << "ERROR: unknown argument: " << argument << std::endl;
      continue;
    }
    const char* value = argument + 2;
    const char* shown = argument;
    if (*value == '\0') {
      value = nullptr;
      if (i + 1 < argc && argv[i + 1][0] != '-') {
        value = shown = argv[++i];
      }
    }
    applyOption(argument[1], value, shown, fileType, traceFileName);
  }
}

bool SettingsValid() {
  if (ExpName == nullptr || ExpName[0] == '\0') {
    std::cerr << "Error: no experiment name given (-N)" << std::endl;
    printUsage(std::cerr);
    return false;
  }
  if (!(hash_value > 0 && hash_value < 1)) {
    std::cerr << "Error: the load factor given with -h must lie strictly between 0 and 1, not "
              << hash_value << std::endl;
    return false;
  }
  return true;
}

bool ExperimentNumberValid(int numExps) {
  if (ExpNum >= 0 && ExpNum < numExps) {
    return true;
  }
  std::cerr << "Error: experiment number " << ExpNum << " is out of range; ";
  if (numExps > 0) {
    std::cerr << "valid experiments are 0 to " << numExps - 1 << std::endl;
  } else {
    std::cerr << "the study has no experiments" << std::endl;
  }
  return false;
}

void ReleaseSettings() {
  delete[] exp_path;
  delete[] ExpName;
  delete[] db_host;
  delete[] db_entity;
  std::free(OverrideString);
  exp_path = ExpName = db_host = db_entity = OverrideString = nullptr;
  ExpNum = 0;
  flagAbsorb = 0;
  TempTraceLevel = 0;
  hash_value = 0.5;
  writeMarkings = false;
  writeFirings = false;
}
