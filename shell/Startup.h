#pragma once
// The program's unit start-up and shut-down, run explicitly around the
// application's life in a fixed order rather than through the order of
// static initialisers.

namespace zel {

// Starts the units in order: the bitmap operations, the action-bar styles
// ("Zel Style", then "XP Style" and "Standard"), the glyph image list, the
// docking unit, the main window's unit (self-painted floating forms), the
// customize dialog's runner.
void InitializeUnits();
// Shuts them down in reverse order.  Safe to call when start-up stopped
// half-way or never ran.
void FinalizeUnits();

} // namespace zel
