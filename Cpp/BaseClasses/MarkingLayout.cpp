#include "Cpp/BaseClasses/MarkingLayout.h"

#include "Cpp/BaseClasses/state/BaseStateVariableClass.h"

bool MarkingLayout::current() const {
  return Built && Version == BaseStateVariableClass::SharingChanges;
}

void MarkingLayout::rebuild(std::vector<short*>& cells, bool usable) {
  Cells.swap(cells);
  Usable = usable;
  Version = BaseStateVariableClass::SharingChanges;
  Built = true;
}
