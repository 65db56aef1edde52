#ifndef BASESTUDYCLASS_H_
#define BASESTUDYCLASS_H_

#include <vector>

#include "Cpp/BaseClasses/Allocate.h"

class PVModel;

// The study of a model: the names and types of its global variables, its
// experiments (one value per global variable each) and the reward model that
// a run analyses. A generated subclass supplies the values of the
// experiments and the access to the global variables themselves.
class BaseStudyClass {
 public:
  char** GVNames;       // NumGVs strdup copies, freed by the destructor
  char** GVTypes;       // declared type name of each variable, same ownership
  PVModel* ThePVModel;  // owned; null until first requested
  int NumGVs;
  int NumExps;
  char* DefaultRootPath;  // owned (new[])

  BaseStudyClass();
  // Frees the names, types and root path; the subclass releases ThePVModel.
  virtual ~BaseStudyClass();
  BaseStudyClass(const BaseStudyClass&) = delete;
  BaseStudyClass& operator=(const BaseStudyClass&) = delete;

  // Returns the reward model of the study; the flag is ignored here.
  virtual PVModel* GetPVModel(bool expandTimeArrays);
  // Assigns the values of experiment expNum (0-based) to the global variables.
  virtual void SetGVs(int expNum);
  // Prints the values of experiment expNum on standard output.
  virtual void PrintGlobalValues(int expNum);
  // Returns the address of the global variable called name, or null.
  virtual void* GetGVValue(const char* name);
  // Sets the global variable called name from a value of its declared type.
  virtual void OverrideGVValue(const char* name, const void* value);

  int GetNumGVs();
  // Name and declared type of variable i (0-based, not range-checked).
  const char* GetGVName(int i);
  const char* GetGVType(int i);
  int GetNumExps();
  // "Experiment <i+1>" in a static buffer that the next call overwrites.
  const char* GetExpName(int i);

  // Applies an override string of colon-separated triples of type letter,
  // variable name and value text (f:ram_size:128), then derives the
  // variables computed from others (DeriveGVs). A value whose letter differs
  // from the variable's declared type is converted to that type when it
  // fits exactly. At the first triple that cannot be applied (an unknown
  // letter or variable, a value that does not parse or fit, a string that
  // ends inside a triple) prints one line on standard error naming it and
  // returns false: a run must not go on with values it was not asked for.
  // A null string does nothing and succeeds.
  bool overrideGVs(const char* overrides);
  // Prints "The Global Variable values in force are:" and one line per
  // variable with its current value, as PrintGlobalValues prints them;
  // nothing without variables.
  void printValuesInForce();
  // Recomputes the variables whose values are derived from others, except
  // those an override set; the base study has none.
  virtual void DeriveGVs();

  // The default installation root path (not a copy).
  const char* GetDefaultTavrelRoot();
  void SetDefaultTavrelRoot(const char* path);

 protected:
  // Sets NumGVs and allocates the name and type tables, empty, for that many
  // variables; declareGV fills them.
  void declareGVs(int numGVs);
  // Records the name and declared type name of variable i (0 to NumGVs-1).
  void declareGV(int i, const char* name, const char* type);
  // Opens PrintGlobalValues: with no variables prints "There are no global
  // variables." and returns false; otherwise sets the values of experiment
  // expNum, prints the heading line and returns true.
  bool printValuesHeading(int expNum);
  // Reports on standard error that the study has no global variable called
  // name, for operation ("GetGVValue", "OverrideGVValue") of study (the
  // generated class name).
  static void reportUnknownGV(const char* study, const char* operation, const char* name);
  // True when an override of the run set variable i (0 to NumGVs-1).
  bool GVOverridden(int i) const;

 private:
  // Parses one override triple and hands its value to OverrideGVValue;
  // false, with the message, when it cannot.
  bool applyOverride(char letter, const char* name, const char* valueText);
  // Index of the variable called name, or -1 when unknown.
  int indexOfGV(const char* name) const;

  std::vector<bool> Overridden;  // one flag per variable, set by applyOverride
};

// The single study of the run, or null; set and cleared only through
// GenerateStudy and DestructStudy.
extern BaseStudyClass* GlobalStudyPtr;

// Defined by the model's generated study: the single study object of the
// run, created on first request; DestructStudy deletes it.
BaseStudyClass* GenerateStudy();
void DestructStudy();

// The body of a generated GenerateStudy: returns GlobalStudyPtr, first
// setting it to a new Study when there is none.
template <class Study>
BaseStudyClass* generateSingleStudy() {
  if (GlobalStudyPtr == nullptr) {
    GlobalStudyPtr = newObject<Study>();
  }
  return GlobalStudyPtr;
}

// The body of a generated DestructStudy: deletes the study, if any, and
// clears GlobalStudyPtr.
void destructSingleStudy();

#endif
