#pragma once
// Where the framework's colours meet the system colour scheme.

#include "platform/Types.h"

namespace zel {

// The current RGB value of system colour index (COLOR_BTNFACE = 15, ...).
// Indices outside the table give black.
sys::COLORREF SysColorRGB(int index);

} // namespace zel
