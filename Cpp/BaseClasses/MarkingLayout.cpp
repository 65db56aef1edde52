#include "Cpp/BaseClasses/MarkingLayout.h"

#include "Cpp/BaseClasses/BaseModelClass.h"
#include "Cpp/BaseClasses/state/BaseStateVariableClass.h"

bool MarkingLayout::current() const {
  return Built && Version == BaseStateVariableClass::SharingChanges;
}

const MarkingLayout& MarkingLayout::upToDate(BaseModelClass& owner) {
  if (!current()) {
    std::vector<short*> cells;
    Usable = owner.AppendMarkingCells(cells);
    Cells.swap(cells);
    Version = BaseStateVariableClass::SharingChanges;
    Built = true;
  }
  return *this;
}
