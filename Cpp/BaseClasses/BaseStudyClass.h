#ifndef BASESTUDYCLASS_H_
#define BASESTUDYCLASS_H_

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

 private:
  // Parses one override triple and hands its value to OverrideGVValue.
  void applyOverride(char letter, const char* name, const char* valueText);
  // Declared type name of the variable called name, or null when unknown.
  const char* declaredType(const char* name);
};

// Defined by the model's generated study: the single study object of the
// run, created on first request; DestructStudy deletes it.
BaseStudyClass* GenerateStudy();
void DestructStudy();

#endif
