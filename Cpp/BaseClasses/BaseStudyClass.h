#ifndef BASESTUDYCLASS_H_
#define BASESTUDYCLASS_H_

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
  // variable name and value text (f:ram_size:128). A value whose letter
  // differs from the variable's declared type is converted to that type; a
  // triple whose value does not parse or fit is skipped with a message on
  // standard output. A null string does nothing.
  void overrideGVs(const char* overrides);

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

 private:
  // Parses one override triple and hands its value to OverrideGVValue.
  void applyOverride(char letter, const char* name, const char* valueText);
  // Declared type name of the variable called name, or null when unknown.
  const char* declaredType(const char* name);
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
