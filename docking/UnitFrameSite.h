#pragma once
// The docking unit: the dock site frame (TFrameSite), the floating dock forms
// (TCustomDockFormEx, TCustomDockFormZel), the dock tree with gradient
// grabbers and tolerant loading (TDockTreeZel), and the registry of floating
// placements with the lookup of docked controls (TFloatTreeZel).

#include "docking/DockForms.h"
#include "docking/DockTreeZel.h"
#include "docking/FloatTree.h"
#include "docking/FrameSite.h"

namespace zel {

// Unit start-up: no float tree yet, no timer, TCustomDockFormEx as the
// unit's default floating class and TDockTreeZel as the framework's default
// dock tree.
void InitializeUnitFrameSite();
// Unit shut-down: stops the shared visibility timer and frees the shared
// caption bitmap and the float tree.
void FinalizeUnitFrameSite();

} // namespace zel
