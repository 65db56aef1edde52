#include "bench/job_shop/job_shopRJ.h"

#include "Cpp/BaseClasses/Allocate.h"

const char* job_shopRJ__SharedNames[5] = {"q1", "q2", "q3", "q4", "done"};

job_shopRJ::job_shopRJ()
    : Join("Join1", 5, 5, job_shopRJ__SharedNames),
      dispatcher(nullptr),
      machine1(nullptr),
      machine2(nullptr),
      machine3(nullptr),
      machine4(nullptr),
      q1(nullptr),
      q2(nullptr),
      q3(nullptr),
      q4(nullptr),
      done(nullptr) {
  dispatcher = newObject<dispatcherSAN>();
  Children[0] = dispatcher;
  dispatcher->DefineName("dispatcher");
  machine1 = newObject<machine1SAN>();
  Children[1] = machine1;
  machine1->DefineName("machine1");
  machine2 = newObject<machine2SAN>();
  Children[2] = machine2;
  machine2->DefineName("machine2");
  machine3 = newObject<machine3SAN>();
  Children[3] = machine3;
  machine3->DefineName("machine3");
  machine4 = newObject<machine4SAN>();
  Children[4] = machine4;
  machine4->DefineName("machine4");

  SetupActions();

  if (AllChildrenEmpty()) {
    NumSharedStateVariables = 0;
  } else {
    q1 = newObject<Place>("q1");
    addSharedPtr(q1, "q1");
    if (dispatcher->NumStateVariables > 0) {
      q1->ShareWith(dispatcher->q1);
      addSharingInfo(dispatcher->q1, q1, dispatcher);
    }
    if (machine1->NumStateVariables > 0) {
      q1->ShareWith(machine1->q1);
      addSharingInfo(machine1->q1, q1, machine1);
    }

    q2 = newObject<Place>("q2");
    addSharedPtr(q2, "q2");
    if (dispatcher->NumStateVariables > 0) {
      q2->ShareWith(dispatcher->q2);
      addSharingInfo(dispatcher->q2, q2, dispatcher);
    }
    if (machine2->NumStateVariables > 0) {
      q2->ShareWith(machine2->q2);
      addSharingInfo(machine2->q2, q2, machine2);
    }

    q3 = newObject<Place>("q3");
    addSharedPtr(q3, "q3");
    if (dispatcher->NumStateVariables > 0) {
      q3->ShareWith(dispatcher->q3);
      addSharingInfo(dispatcher->q3, q3, dispatcher);
    }
    if (machine3->NumStateVariables > 0) {
      q3->ShareWith(machine3->q3);
      addSharingInfo(machine3->q3, q3, machine3);
    }

    q4 = newObject<Place>("q4");
    addSharedPtr(q4, "q4");
    if (dispatcher->NumStateVariables > 0) {
      q4->ShareWith(dispatcher->q4);
      addSharingInfo(dispatcher->q4, q4, dispatcher);
    }
    if (machine4->NumStateVariables > 0) {
      q4->ShareWith(machine4->q4);
      addSharingInfo(machine4->q4, q4, machine4);
    }

    done = newObject<Place>("done");
    addSharedPtr(done, "done");
    if (dispatcher->NumStateVariables > 0) {
      done->ShareWith(dispatcher->done);
      addSharingInfo(dispatcher->done, done, dispatcher);
    }
    if (machine1->NumStateVariables > 0) {
      done->ShareWith(machine1->done);
      addSharingInfo(machine1->done, done, machine1);
    }
    if (machine2->NumStateVariables > 0) {
      done->ShareWith(machine2->done);
      addSharingInfo(machine2->done, done, machine2);
    }
    if (machine3->NumStateVariables > 0) {
      done->ShareWith(machine3->done);
      addSharingInfo(machine3->done, done, machine3);
    }
    if (machine4->NumStateVariables > 0) {
      done->ShareWith(machine4->done);
      addSharingInfo(machine4->done, done, machine4);
    }
  }

  Setup();
}

job_shopRJ::~job_shopRJ() {
  // The shared places (absent when the children are empty) own the storage
  // the children's places use; their destructors no longer touch it.
  delete q1;
  delete q2;
  delete q3;
  delete q4;
  delete done;
  delete dispatcher;
  delete machine1;
  delete machine2;
  delete machine3;
  delete machine4;
}
