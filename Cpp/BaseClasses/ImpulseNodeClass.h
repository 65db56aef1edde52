#ifndef IMPULSENODECLASS_H_
#define IMPULSENODECLASS_H_

class BaseModelClass;

// An impulse reward: an amount earned when a given action fires. A node
// registers one prototype per impulse; the prototype creates one impulse
// worker per combination of model instances, each evaluating the generated
// impulse function for its combination. A generated impulse worker holds one
// model pointer per model its impulse reads and lists their addresses in
// ModelRefs.
class ImpulseNodeClass {
 public:
  BaseModelClass*** ModelRefs;  // owned array, set by the generated constructor
  int NumModelRefs;
  BaseModelClass* OwnModel;  // the instance of the impulse's model this worker belongs to
  char* Name;                // owned (malloc/free); the node's name
  int Index;                 // impulse-worker index; -1 until named
  int ImpulseIndex;          // impulse number within the node; -1 until named
  int NumModelDependencies;  // room for the impulse's model names, set by the generated class
  int PVId;                  // the node's; -1 until linked
  double Value;

  ImpulseNodeClass();
  // Releases Name and ModelRefs.
  virtual ~ImpulseNodeClass();
  ImpulseNodeClass(const ImpulseNodeClass&) = delete;
  ImpulseNodeClass& operator=(const ImpulseNodeClass&) = delete;

  // Stores the impulse earned by the current firing in Value.
  virtual void EvaluateImpulse() = 0;
  // A new array of n new impulse workers of the generated class; the caller
  // owns the array and the workers.
  virtual ImpulseNodeClass** CreateImpulseWorkers(int n) = 0;

  // Names the worker with a copy of name, its impulse number and index.
  void DefineName(const char* name, int impulse, int index);
  void Reset() { Value = 0.0; }
  static double min(double a, double b) { return a < b ? a : b; }
  static double max(double a, double b) { return a > b ? a : b; }
};

#endif
