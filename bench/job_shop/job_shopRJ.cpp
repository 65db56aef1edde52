#include "bench/job_shop/job_shopRJ.h"

#include "Cpp/BaseClasses/Allocate.h"

const char* job_shopRJ__SharedNames[5] = {"q1", "q2", "q3", "q4", "done"};

namespace {

const char* const kMachineNames[job_shopRJ::NumMachines] = {"machine1", "machine2", "machine3",
                                                            "machine4"};
const double kServiceRates[job_shopRJ::NumMachines] = {0.3, 0.35, 0.4, 0.45};

}  // namespace

job_shopRJ::job_shopRJ()
    : Join("Join1", 1 + NumMachines, 5, job_shopRJ__SharedNames),
      dispatcher(nullptr),
      machines(),
      queues(),
      done(nullptr) {
  dispatcher = newObject<dispatcherSAN>();
  Children[0] = dispatcher;
  dispatcher->DefineName("dispatcher");
  for (int i = 0; i < NumMachines; i++) {
    machines[i] =
        newObject<machineSAN>(kMachineNames[i], job_shopRJ__SharedNames[i], kServiceRates[i]);
    Children[1 + i] = machines[i];
    machines[i]->DefineName(kMachineNames[i]);
  }

  SetupActions();

  if (AllChildrenEmpty()) {
    NumSharedStateVariables = 0;
  } else {
    Place* dispatcherQueues[NumMachines] = {dispatcher->q1, dispatcher->q2, dispatcher->q3,
                                            dispatcher->q4};
    for (int i = 0; i < NumMachines; i++) {
      queues[i] = newObject<Place>(job_shopRJ__SharedNames[i]);
      addSharedPtr(queues[i], job_shopRJ__SharedNames[i]);
      shareWithChild(queues[i], dispatcherQueues[i], dispatcher);
      shareWithChild(queues[i], machines[i]->queue, machines[i]);
    }

    done = newObject<Place>("done");
    addSharedPtr(done, "done");
    shareWithChild(done, dispatcher->done, dispatcher);
    for (machineSAN* machine : machines) {
      shareWithChild(done, machine->done, machine);
    }
  }

  Setup();
}

job_shopRJ::~job_shopRJ() {
  // The shared places (absent when the children are empty) own the storage
  // the children's places use; their destructors no longer touch it.
  for (Place* queue : queues) {
    delete queue;
  }
  delete done;
  delete dispatcher;
  for (machineSAN* machine : machines) {
    delete machine;
  }
}
