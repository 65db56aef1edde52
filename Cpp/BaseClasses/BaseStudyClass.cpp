#include "Cpp/BaseClasses/BaseStudyClass.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <limits>
#include <string>

#include "Cpp/BaseClasses/StandardErrors.h"

namespace {

// A value of an override triple, tagged with the type letter it holds.
struct TypedValue {
  char letter;
  union {
    bool b;
    char c;
    double d;
    float f;
    int i;
    long l;
    short s;
  } storage;

  // Members of a union share one address, so this points at the held value.
  const void* address() const { return &storage; }

  // The held value widened so that every type converts from it exactly.
  long double widened() const {
    switch (letter) {
      case 'b':
        return storage.b ? 1 : 0;
      case 'c':
        return storage.c;
      case 'd':
        return storage.d;
      case 'f':
        return storage.f;
      case 'i':
        return storage.i;
      case 'l':
        return storage.l;
      default:
        return storage.s;
    }
  }
};

// Reads the next token; runs of ':' count as one separator, so no token is
// empty. Returns false at the end of the text.
bool nextToken(const char*& pos, std::string& token) {
  pos += std::strspn(pos, ":");
  if (*pos == '\0') {
    return false;
  }
  size_t length = std::strcspn(pos, ":");
  token.assign(pos, length);
  pos += length;
  return true;
}

bool knownLetter(char letter) {
  return letter != '\0' && std::strchr("bcdfils", letter) != nullptr;
}

// Integer in C notation (decimal, 0x hexadecimal, 0 octal) filling the whole
// text and lying within [min, max].
bool parseInteger(const char* text, long min, long max, long& out) {
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text, &end, 0);
  if (end == text || *end != '\0' || errno == ERANGE || value < min || value > max) {
    return false;
  }
  out = value;
  return true;
}

// Floating-point number filling the whole text and not overflowing.
template <typename T>
bool parseFloating(const char* text, T (*convert)(const char*, char**), T& out) {
  char* end = nullptr;
  errno = 0;
  T value = convert(text, &end);
  if (end == text || *end != '\0' || (errno == ERANGE && std::isinf(value))) {
    return false;
  }
  out = value;
  return true;
}

// Parses text as a value of the type named by letter (a known letter).
bool parseValue(char letter, const char* text, TypedValue& out) {
  out.letter = letter;
  long integer = 0;
  switch (letter) {
    case 'b':
      if (!parseInteger(text, SHRT_MIN, SHRT_MAX, integer)) return false;
      out.storage.b = integer != 0;
      return true;
    case 'c':
      out.storage.c = text[0];
      return true;
    case 'd':
      return parseFloating<double>(text, std::strtod, out.storage.d);
    case 'f':
      return parseFloating<float>(text, std::strtof, out.storage.f);
    case 'i':
      if (!parseInteger(text, INT_MIN, INT_MAX, integer)) return false;
      out.storage.i = static_cast<int>(integer);
      return true;
    case 'l':
      return parseInteger(text, LONG_MIN, LONG_MAX, out.storage.l);
    default:
      if (!parseInteger(text, SHRT_MIN, SHRT_MAX, integer)) return false;
      out.storage.s = static_cast<short>(integer);
      return true;
  }
}

// Type letter of a declared type name; '\0' for a type no override can set.
char letterOfType(const char* typeName) {
  static const struct {
    const char* name;
    char letter;
  } kTypes[] = {{"float", 'f'}, {"double", 'd'}, {"int", 'i'}, {"short", 's'},
                {"long", 'l'},  {"char", 'c'},   {"bool", 'b'}};
  for (const auto& type : kTypes) {
    if (std::strcmp(typeName, type.name) == 0) {
      return type.letter;
    }
  }
  return '\0';
}

// value as the integer type T; false unless it is a whole number that fits.
template <typename T>
bool toInteger(long double value, T& out) {
  const long double below = static_cast<long double>(std::numeric_limits<T>::min()) - 1;
  const long double above = static_cast<long double>(std::numeric_limits<T>::max()) + 1;
  if (!(value > below && value < above) || value != std::trunc(value)) {
    return false;
  }
  out = static_cast<T>(value);
  return true;
}

// Converts in to the type of letter target; false when the value does not fit.
bool convertValue(const TypedValue& in, char target, TypedValue& out) {
  if (in.letter == target) {
    out = in;
    return true;
  }
  out.letter = target;
  long double value = in.widened();
  switch (target) {
    case 'b':
      out.storage.b = value != 0;
      return true;
    case 'c':
      return toInteger(value, out.storage.c);
    case 'd':
      out.storage.d = static_cast<double>(value);
      return true;
    case 'f':
      if (std::isfinite(value) && std::fabs(value) > FLT_MAX) return false;
      out.storage.f = static_cast<float>(value);
      return true;
    case 'i':
      return toInteger(value, out.storage.i);
    case 'l':
      return toInteger(value, out.storage.l);
    default:
      return toInteger(value, out.storage.s);
  }
}

char* copyText(const char* text) {
  char* copy = strdup(text);
  if (copy == nullptr) {
    MemoryAllocationError();
  }
  return copy;
}

// The one line that ends a run whose override cannot be applied.
void reportRefused(const std::string& triple, const std::string& problem) {
  std::cerr << "Error: -O " << triple << ": " << problem << std::endl;
}

std::string tripleText(char letter, const char* name, const char* valueText) {
  return std::string(1, letter) + ":" + name + ":" + valueText;
}

}  // namespace

BaseStudyClass* GlobalStudyPtr = nullptr;

void destructSingleStudy() {
  delete GlobalStudyPtr;
  GlobalStudyPtr = nullptr;
}

BaseStudyClass::BaseStudyClass()
    : GVNames(nullptr),
      GVTypes(nullptr),
      ThePVModel(nullptr),
      NumGVs(0),
      NumExps(0),
      DefaultRootPath(new char[1]{'\0'}) {}

BaseStudyClass::~BaseStudyClass() {
  for (int i = 0; i < NumGVs; i++) {
    if (GVNames != nullptr) std::free(GVNames[i]);
    if (GVTypes != nullptr) std::free(GVTypes[i]);
  }
  delete[] GVNames;
  delete[] GVTypes;
  delete[] DefaultRootPath;
}

PVModel* BaseStudyClass::GetPVModel(bool) { return ThePVModel; }

void BaseStudyClass::SetGVs(int) { std::cout << "basestudyclass::SetGVs" << std::endl; }

void BaseStudyClass::PrintGlobalValues(int) {}

void* BaseStudyClass::GetGVValue(const char*) { return nullptr; }

void BaseStudyClass::OverrideGVValue(const char*, const void*) {}

int BaseStudyClass::GetNumGVs() { return NumGVs; }

const char* BaseStudyClass::GetGVName(int i) { return GVNames[i]; }

const char* BaseStudyClass::GetGVType(int i) { return GVTypes[i]; }

int BaseStudyClass::GetNumExps() { return NumExps; }

const char* BaseStudyClass::GetExpName(int i) {
  static char name[128];
  std::snprintf(name, sizeof name, "Experiment %ld", static_cast<long>(i) + 1);
  return name;
}

bool BaseStudyClass::overrideGVs(const char* overrides) {
  if (overrides == nullptr) {
    return true;
  }
  const char* pos = overrides;
  std::string typeToken, name, valueText;
  while (nextToken(pos, typeToken)) {
    if (!nextToken(pos, name) || !nextToken(pos, valueText)) {
      std::cerr << "Error: -O " << overrides
                << ": the string ends inside a triple (each is type:name:value)" << std::endl;
      return false;
    }
    // Only the first character of the type token counts ("float" is 'f').
    if (!applyOverride(typeToken[0], name.c_str(), valueText.c_str())) {
      return false;
    }
  }
  DeriveGVs();
  return true;
}

bool BaseStudyClass::applyOverride(char letter, const char* name, const char* valueText) {
  const std::string triple = tripleText(letter, name, valueText);
  if (!knownLetter(letter)) {
    reportRefused(triple,
                  std::string("'") + letter + "' is not a type letter (b, c, d, f, i, l or s)");
    return false;
  }
  const int index = indexOfGV(name);
  if (index < 0) {
    reportRefused(triple, std::string("the model has no global variable ") + name);
    return false;
  }
  const char* type = GVTypes[index];
  TypedValue parsed;
  if (!parseValue(letter, valueText, parsed)) {
    reportRefused(triple, std::string("the value ") + valueText + " of " + name +
                              " does not parse as type " + letter);
    return false;
  }
  // OverrideGVValue reads the declared type, so never hand it another one.
  TypedValue converted;
  const char target = letterOfType(type);
  if (target == '\0' || !convertValue(parsed, target, converted)) {
    reportRefused(triple, std::string("the value ") + valueText + " of " + name +
                              " is not a value of its type " + type);
    return false;
  }
  OverrideGVValue(name, converted.address());
  Overridden[index] = true;
  return true;
}

void BaseStudyClass::printValuesInForce() {
  if (NumGVs == 0) {
    return;
  }
  std::cout << "The Global Variable values in force are:" << std::endl;
  for (int i = 0; i < NumGVs; i++) {
    const void* value = GetGVValue(GVNames[i]);
    std::cout << GVNames[i] << "\t" << GVTypes[i] << "\t";
    switch (value == nullptr ? '\0' : letterOfType(GVTypes[i])) {
      case 'b':
        std::cout << *static_cast<const bool*>(value);
        break;
      case 'c':
        std::cout << static_cast<int>(*static_cast<const char*>(value));
        break;
      case 'd':
        std::cout << *static_cast<const double*>(value);
        break;
      case 'f':
        std::cout << static_cast<double>(*static_cast<const float*>(value));
        break;
      case 'i':
        std::cout << *static_cast<const int*>(value);
        break;
      case 'l':
        std::cout << *static_cast<const long*>(value);
        break;
      case 's':
        std::cout << *static_cast<const short*>(value);
        break;
      default:
        std::cout << "?";
    }
    std::cout << std::endl;
  }
}

void BaseStudyClass::DeriveGVs() {}

bool BaseStudyClass::GVOverridden(int i) const { return Overridden[i]; }

int BaseStudyClass::indexOfGV(const char* name) const {
  for (int i = 0; i < NumGVs; i++) {
    if (std::strcmp(GVNames[i], name) == 0) {
      return i;
    }
  }
  return -1;
}

void BaseStudyClass::declareGVs(int numGVs) {
  NumGVs = numGVs;
  Overridden.assign(numGVs, false);
  GVNames = newArray<char*>(numGVs);
  GVTypes = newArray<char*>(numGVs);
}

void BaseStudyClass::declareGV(int i, const char* name, const char* type) {
  GVNames[i] = copyText(name);
  GVTypes[i] = copyText(type);
}

bool BaseStudyClass::printValuesHeading(int expNum) {
  if (NumGVs == 0) {
    std::cout << "There are no global variables." << std::endl;
    return false;
  }
  SetGVs(expNum);
  std::cout << "The Global Variable values for experiment " << GetExpName(expNum)
            << " are:" << std::endl;
  return true;
}

void BaseStudyClass::reportUnknownGV(const char* study, const char* operation, const char* name) {
  std::cerr << "!! " << study << "::" << operation << ": Global Variable " << name
            << " does not exist." << std::endl;
}

const char* BaseStudyClass::GetDefaultTavrelRoot() { return DefaultRootPath; }

void BaseStudyClass::SetDefaultTavrelRoot(const char* path) {
  delete[] DefaultRootPath;
  DefaultRootPath = new char[std::strlen(path) + 1];
  std::strcpy(DefaultRootPath, path);
}
