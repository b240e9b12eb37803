#pragma once
// The backend that shows the program's windows on a real display through
// SDL2.  Every visible top-level window is an undecorated SDL window at its
// screen position and size, filled from the window's surface; pop-ups
// (WS_POPUP without a caption) are override-redirect pop-up-menu windows.
// SDL's input is handed to the window system in screen coordinates, so that
// this project's z-order and capture decide which window gets it.

#include <memory>
#include <string>

#include "platform/backend/Backend.h"

namespace zel::sys {

// nullptr and a sentence in *error (when error is given) when SDL cannot
// reach a display.  SDL quietly falls back to an offscreen driver when there
// is no display; that counts as no display unless SDL_VIDEODRIVER asked for
// it by name (which tests may do).
std::unique_ptr<Backend> CreateSdlBackend(std::string* error = nullptr);

} // namespace zel::sys
