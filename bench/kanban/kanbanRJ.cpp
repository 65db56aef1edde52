#include "bench/kanban/kanbanRJ.h"

#include "Cpp/BaseClasses/Allocate.h"

const char* kanbanRJ__SharedNames[7] = {"w2", "x2", "w3", "x3", "z3", "w4", "x4"};

kanbanRJ::kanbanRJ()
    : Join("Join1", 4, 7, kanbanRJ__SharedNames),
      cell1(nullptr),
      cell2(nullptr),
      cell3(nullptr),
      cell4(nullptr),
      w2(nullptr),
      x2(nullptr),
      w3(nullptr),
      x3(nullptr),
      z3(nullptr),
      w4(nullptr),
      x4(nullptr) {
  cell1 = newObject<cell1SAN>();
  Children[0] = cell1;
  cell1->DefineName("cell1");
  cell2 = newObject<cell2SAN>();
  Children[1] = cell2;
  cell2->DefineName("cell2");
  cell3 = newObject<cell3SAN>();
  Children[2] = cell3;
  cell3->DefineName("cell3");
  cell4 = newObject<cell4SAN>();
  Children[3] = cell4;
  cell4->DefineName("cell4");

  SetupActions();

  if (AllChildrenEmpty()) {
    NumSharedStateVariables = 0;
  } else {
    w2 = newObject<Place>("w2");
    addSharedPtr(w2, "w2");
    shareWithChild(w2, cell1->w2, cell1);
    shareWithChild(w2, cell2->w2, cell2);

    x2 = newObject<Place>("x2");
    addSharedPtr(x2, "x2");
    shareWithChild(x2, cell1->x2, cell1);
    shareWithChild(x2, cell2->x2, cell2);

    w3 = newObject<Place>("w3");
    addSharedPtr(w3, "w3");
    shareWithChild(w3, cell1->w3, cell1);
    shareWithChild(w3, cell2->w3, cell2);
    shareWithChild(w3, cell3->w3, cell3);

    x3 = newObject<Place>("x3");
    addSharedPtr(x3, "x3");
    shareWithChild(x3, cell1->x3, cell1);
    shareWithChild(x3, cell3->x3, cell3);

    z3 = newObject<Place>("z3");
    addSharedPtr(z3, "z3");
    shareWithChild(z3, cell2->z3, cell2);
    shareWithChild(z3, cell3->z3, cell3);

    w4 = newObject<Place>("w4");
    addSharedPtr(w4, "w4");
    shareWithChild(w4, cell2->w4, cell2);
    shareWithChild(w4, cell4->w4, cell4);

    x4 = newObject<Place>("x4");
    addSharedPtr(x4, "x4");
    shareWithChild(x4, cell2->x4, cell2);
    shareWithChild(x4, cell4->x4, cell4);
  }

  Setup();
}

kanbanRJ::~kanbanRJ() {
  // The shared places (absent when the children are empty) own the storage
  // the children's copies use; the children's destructors no longer touch it.
  delete w2;
  delete x2;
  delete w3;
  delete x3;
  delete z3;
  delete w4;
  delete x4;
  delete cell1;
  delete cell2;
  delete cell3;
  delete cell4;
}
