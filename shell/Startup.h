#pragma once
// The program's unit start-up and shut-down, run explicitly around the
// application's life in a fixed order rather than through the order of
// static initialisers.

#include <thread>

namespace zel {

// Starts the units in order: the bitmap operations, the action-bar styles
// ("Zel Style", then "XP Style" and "Standard"), the glyph image list, the
// docking unit, the main window's unit (self-painted floating forms), the
// customize dialog's runner.
void InitializeUnits();
// Shuts them down in reverse order.  Safe to call when start-up stopped
// half-way or never ran.
void FinalizeUnits();

// Reads the font configuration and finds the windows' faces on a thread of
// its own, so that this work overlaps the window system's start (which
// mostly waits for the display server) instead of following it.  Wait()
// (or the destructor) joins the thread; call it before the first window is
// made.  The font lookup is locked, so a lookup made meanwhile only waits.
class FontWarmUp {
public:
  FontWarmUp();
  ~FontWarmUp() { Wait(); }
  FontWarmUp(const FontWarmUp&) = delete;
  FontWarmUp& operator=(const FontWarmUp&) = delete;
  void Wait() {
    if (thread_.joinable()) thread_.join();
  }

private:
  std::thread thread_;
};

} // namespace zel
