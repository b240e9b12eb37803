#pragma once
// The program's icon as the window manager reads it from every window that
// carries one (_NET_WM_ICON), so that a task bar and Alt+Tab show it.

#include <vector>

namespace zel::sys {

// For each size (16, 24, 32, 48, 64): its width, its height and then its
// pixels as 0xAARRGGBB, row by row, one to an unsigned long as Xlib wants
// 32-bit properties.  Sizes the program's module cannot give are left out.
std::vector<unsigned long> ProgramIconData();

} // namespace zel::sys
