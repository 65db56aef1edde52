#include "Cpp/BaseClasses/NetRewardModel.h"

#include <utility>

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/NetSAN.h"

NetRewardModel::NetRewardModel(const NetDescription& net, std::vector<NetRewardVariable> variables,
                               bool expandTimePoints)
    : Variables(std::move(variables)) {
  ChildModel = newObject<NetSAN>(net);
  DefineName((net.id + "_rewards").c_str());
  // The nodes keep references into Variables, which no longer changes.
  CreatePVList(static_cast<int>(Variables.size()), expandTimePoints);
  Initialize();
}

PerformanceVariableNode* NetRewardModel::createPVNode(int pv, int timeIndex) {
  if (pv < 0 || pv >= static_cast<int>(Variables.size())) {
    return nullptr;
  }
  return newObject<NetRewardNode>(Variables[pv], timeIndex, *static_cast<NetSAN*>(ChildModel));
}

NetRewardWorker::NetRewardWorker(const NetRewardVariable& variable) : Variable(variable) {
  NumModelRefs = 1;
  ModelRefs = newArray<BaseModelClass**>(NumModelRefs);
  ModelRefs[0] = &Net;
}

double NetRewardWorker::Reward_Function() {
  const NetSAN* net = static_cast<const NetSAN*>(Net);
  if (Variable.measure == NetRewardVariable::Measure::Marked) {
    return net->marking(Variable.places[0]) > 0 ? 1.0 : 0.0;
  }
  double tokens = 0.0;
  for (int place : Variable.places) {
    tokens += net->marking(place);
  }
  return tokens;
}

NetRewardNode::NetRewardNode(const NetRewardVariable& variable, int timeIndex, const NetSAN& net)
    : Variable(variable) {
  TopModelRef = &TheModelPtr;
  const int numTimes = static_cast<int>(variable.times.size());
  Initialize(variable.name.c_str(), InstantOfTimeType, numTimes, variable.times.data(),
             variable.times.data(), timeIndex, 0, 1, static_cast<int>(variable.places.size()));
  for (int place : variable.places) {
    AddVariableDependency(net.place(place)->Name, net.Name);
  }
}

void NetRewardNode::CreateWorkerList() {
  for (int w = 0; w < NumWorkers; w++) {
    Workers[w] = newObject<NetRewardWorker>(Variable);
  }
}
