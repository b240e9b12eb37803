#pragma once
// The virtual key of a physical key.  Keys are named by their position on a
// US keyboard, as the platform's virtual keys are for letters and digits on
// any layout, so that shortcuts work the same with a Cyrillic layout.

#include <SDL_scancode.h>

#include "platform/Types.h"

namespace zel::sys {

// 0 for a key that has no virtual key.
UINT VirtualKeyFromScancode(SDL_Scancode code);

} // namespace zel::sys
