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

// Truncates value to the integer type T; false when the result would not fit.
template <typename T>
bool toInteger(long double value, T& out) {
  const long double below = static_cast<long double>(std::numeric_limits<T>::min()) - 1;
  const long double above = static_cast<long double>(std::numeric_limits<T>::max()) + 1;
  if (!(value > below && value < above)) {
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

void reportSkipped(const char* valueText, const char* name, const char* problem, const char* type) {
  std::cout << "Value " << valueText << " of " << name << " " << problem << " " << type
            << "; override skipped" << std::endl;
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

void BaseStudyClass::overrideGVs(const char* overrides) {
  if (overrides == nullptr) {
    return;
  }
  const char* pos = overrides;
  std::string typeToken, name, valueText;
  while (nextToken(pos, typeToken)) {
    if (!nextToken(pos, name) || !nextToken(pos, valueText)) {
      std::cout << "Not enough double override tokens" << std::flush;
      return;
    }
    // Only the first character of the type token counts ("float" is 'f').
    applyOverride(typeToken[0], name.c_str(), valueText.c_str());
  }
}

void BaseStudyClass::applyOverride(char letter, const char* name, const char* valueText) {
  if (!knownLetter(letter)) {
    std::cout << "Type " << letter << " not recognized" << std::endl;
    return;
  }
  TypedValue parsed;
  if (!parseValue(letter, valueText, parsed)) {
    const char type[] = {letter, '\0'};
    reportSkipped(valueText, name, "does not parse as type", type);
    return;
  }
  const char* type = declaredType(name);
  if (type == nullptr) {
    // An unknown name goes through so that the study reports it.
    OverrideGVValue(name, parsed.address());
    return;
  }
  // OverrideGVValue reads the declared type, so never hand it another one.
  TypedValue converted;
  char target = letterOfType(type);
  if (target == '\0' || !convertValue(parsed, target, converted)) {
    reportSkipped(valueText, name, "does not fit its type", type);
    return;
  }
  OverrideGVValue(name, converted.address());
}

const char* BaseStudyClass::declaredType(const char* name) {
  for (int i = 0; i < NumGVs; i++) {
    if (std::strcmp(GVNames[i], name) == 0) {
      return GVTypes[i];
    }
  }
  return nullptr;
}

void BaseStudyClass::declareGVs(int numGVs) {
  NumGVs = numGVs;
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
