#ifndef PERFORMANCEVARIABLEWORKER_H_
#define PERFORMANCEVARIABLEWORKER_H_

class BaseModelClass;

// Evaluates a node's reward function for one combination of model
// instances. A generated worker holds one model pointer per model
// dependency of its node and lists their addresses in ModelRefs, through
// which the node points them at the worker's instances.
class PerformanceVariableWorker {
 public:
  BaseModelClass*** ModelRefs;  // owned array, set by the generated constructor
  int NumModelRefs;
  char* Name;  // owned; the node's name
  int Index;   // within the node; -1 until named
  int PVId;    // the node's; -1 until linked
  double Value;

  PerformanceVariableWorker();
  // Releases Name and ModelRefs.
  virtual ~PerformanceVariableWorker();
  PerformanceVariableWorker(const PerformanceVariableWorker&) = delete;
  PerformanceVariableWorker& operator=(const PerformanceVariableWorker&) = delete;

  // The reward of the current marking, read through the model pointers.
  virtual double Reward_Function() = 0;
  // Time-based evaluation between two instants; not used by the generator.
  virtual void Accumulate(double from, double to) = 0;
  // Stores the worker's reward in the current state in Value. The base
  // version only reports that a subclass failed to supply it.
  virtual void CurrentReward();
  virtual void Reset();

  // Names the worker with a copy of name and gives it its index.
  void DefineName(const char* name, int index);
};

// The worker of an instant-of-time variable: its value is the reward of the
// marking at the moment it is asked for. Generated workers derive from it.
class InstantOfTime : public PerformanceVariableWorker {
 public:
  // Value = Reward_Function().
  void CurrentReward() override;
  // The marking at the end of the interval is the one observed.
  void Accumulate(double from, double to) override;
};

#endif
