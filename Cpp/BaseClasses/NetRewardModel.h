#ifndef NETREWARDMODEL_H_
#define NETREWARDMODEL_H_

#include <vector>

#include "Cpp/BaseClasses/NetDescription.h"
#include "Cpp/BaseClasses/PVModel.h"
#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "Cpp/BaseClasses/PerformanceVariableWorker.h"

class NetSAN;

// The reward model of a net built at run time: a NetSAN of the description
// as its child and one instant-of-time performance variable per reward
// variable (none is fine: the reward file then lists no variable).
class NetRewardModel : public PVModel {
 public:
  // The variables' places must be places of net.
  NetRewardModel(const NetDescription& net, std::vector<NetRewardVariable> variables,
                 bool expandTimePoints);
  PerformanceVariableNode* createPVNode(int pv, int timeIndex) override;

 private:
  std::vector<NetRewardVariable> Variables;
};

// Evaluates one reward variable on the net it is given through ModelRefs.
class NetRewardWorker : public InstantOfTime {
 public:
  explicit NetRewardWorker(const NetRewardVariable& variable);
  // The token count of the variable's places, or whether its place is marked.
  double Reward_Function() override;

 private:
  BaseModelClass* Net = nullptr;  // a NetSAN; set by the node
  const NetRewardVariable& Variable;
};

// The node of one reward variable at one of its time points; it depends on
// the variable's places in every net called like net.
class NetRewardNode : public PerformanceVariableNode {
 public:
  NetRewardNode(const NetRewardVariable& variable, int timeIndex, const NetSAN& net);
  void CreateWorkerList() override;

 private:
  BaseModelClass* TheModelPtr = nullptr;  // the net; set through TopModelRef
  const NetRewardVariable& Variable;
};

#endif
