#pragma once
// Starting and stopping the window system as a whole.

#include <memory>

#include "platform/backend/Backend.h"

namespace zel::sys {

// Destroys every window, forgets queued messages, timers, capture, focus and
// key state, and installs the given backend (nullptr keeps none: painting
// still works, nothing is shown).  Window classes stay registered.  Tests
// call it to start from a clean desk.
void ResetWindowSystem(std::unique_ptr<Backend> backend = nullptr);

} // namespace zel::sys
