#include "generator/CommandLine.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "Cpp/BaseClasses/StandardErrors.h"
#include "generator/Compressor.h"

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
std::optional<int> compressionLevel;

namespace {

// The level of -z without a value: compressing on the writer's thread at
// this level costs the runs measured no wall time (bench/RESULTS.md).
const int kDefaultCompressionLevel = 1;

const OptionExtension* Extension = nullptr;

bool extensionOption(char letter) {
  return Extension != nullptr && letter != '\0' &&
         std::strchr(Extension->letters, letter) != nullptr;
}

void printUsage(std::ostream& out) {
  out << "usage:  gen -Pexperimentfilepath -Nexperimentname -hhash_value"
      << " -Bexperimentnumber -Ffiletype -edb_entity -sdb_macserver "
      << " -ltrace_level[0-4] -tTraceFilename" << std::endl;
  out << "Example:  gen -P. -Nexp1 -B0" << std::endl;
  if (Extension != nullptr) {
    out << Extension->usage << std::endl;
  }
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

// Set when an option's value was refused; the run stops once the command
// line is read.
bool valueRefused = false;

// Reports a value that an option cannot take.
void refuseValue(char letter, const char* expected, const char* value) {
  std::cerr << "Error: -" << letter << " needs " << expected << ", not \"" << value << "\""
            << std::endl;
  valueRefused = true;
}

// Reads the leading integer into value as atoi does, clamped to int; true
// when the whole text is a decimal integer within int.
bool readInt(const char* text, int& value) {
  errno = 0;
  char* end = nullptr;
  const long number = std::strtol(text, &end, 10);
  value = static_cast<int>(number > INT_MAX ? INT_MAX : number < INT_MIN ? INT_MIN : number);
  return end != text && *end == '\0' && errno == 0 && number == value;
}

// True, with the number in value, when the whole text is a number.
bool readDouble(const char* text, double& value) {
  char* end = nullptr;
  value = std::strtod(text, &end);
  return end != text && *end == '\0';
}

bool knownOption(char letter) {
  return std::strchr("PNhBFesltOaMDz", letter) != nullptr || extensionOption(letter);
}

// Applies an option that has a value.
void applyValue(char letter, const char* value, int& fileType, char*& traceFileName) {
  double number = 0;
  int whole = 0;
  switch (letter) {
    case 'P':
      replaceCopy(exp_path, value);
      std::cout << "path=[" << value << "]" << std::endl;
      break;
    case 'N':
      replaceCopy(ExpName, value);
      break;
    case 'h':
      if (readDouble(value, number)) {
        hash_value = number;
      } else {
        refuseValue(letter, "a number", value);
      }
      break;
    case 'B':
      if (readInt(value, whole)) {
        ExpNum = whole;
      } else {
        refuseValue(letter, "a whole number", value);
      }
      break;
    case 'F':
      readInt(value, fileType);  // as atoi: the leading number, any text after it ignored
      break;
    case 'e':
      replaceCopy(db_entity, value);
      break;
    case 's':
      replaceCopy(db_host, value);
      break;
    case 'l':
      if (readInt(value, whole) && whole >= 0 && whole <= 4) {
        TempTraceLevel = whole;
        std::cout << "TraceLevel=" << TempTraceLevel << std::endl;
      } else {
        refuseValue(letter, "a whole number from 0 to 4", value);
      }
      break;
    case 't':
      replaceDuplicate(traceFileName, value);
      break;
    case 'O':
      replaceDuplicate(OverrideString, value);
      std::cout << "OverrideString is " << value << std::endl;
      break;
    case 'z':
      if (readInt(value, whole) && whole >= Compressor::MinLevel() &&
          whole <= Compressor::MaxLevel()) {
        compressionLevel = whole;
      } else {
        const std::string range = "a compression level from " +
                                  std::to_string(Compressor::MinLevel()) + " to " +
                                  std::to_string(Compressor::MaxLevel());
        refuseValue(letter, range.c_str(), value);
      }
      break;
    default:
      Extension->apply(letter, value);
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
  } else if (letter == 'z' && value == nullptr) {
    compressionLevel = kDefaultCompressionLevel;
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
  if (valueRefused) {
    return false;
  }
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

void SetOptionExtension(const OptionExtension* extension) { Extension = extension; }

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
  valueRefused = false;
  writeMarkings = false;
  writeFirings = false;
  compressionLevel.reset();
}
