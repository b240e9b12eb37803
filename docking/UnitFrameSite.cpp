#include "docking/UnitFrameSite.h"

namespace zel {

namespace {
// The framework's own default dock tree, put back at shut-down.
TDockTreeClass gFrameworkDockTree;
} // namespace

void InitializeUnitFrameSite() {
  InitializeDockForms();
  FreeFloatTree();
  if (!gFrameworkDockTree) gFrameworkDockTree = DefaultDockTreeClass();
  DefaultDockTreeClass() = [](TWinControl* site) { return std::make_unique<TDockTreeZel>(site); };
}

void FinalizeUnitFrameSite() {
  FinalizeDockForms();
  if (gFrameworkDockTree) DefaultDockTreeClass() = gFrameworkDockTree;
}

} // namespace zel
