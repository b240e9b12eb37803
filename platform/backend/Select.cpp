// Choosing the backend for the program.

#include <cstdlib>
#include <string_view>

#include "platform/backend/Backend.h"
#include "platform/backend/Headless.h"

#if __has_include("platform/backend/SdlBackend.h")
#include "platform/backend/SdlBackend.h"
#define ZEL_HAVE_SDL_BACKEND 1
#endif

namespace zel::sys {

std::unique_ptr<Backend> CreateBackendFromEnvironment(std::string* error) {
  const char* forced = std::getenv("ZEL_BACKEND");
  const std::string_view name = forced ? forced : "";
  if (name == "headless") return std::make_unique<HeadlessBackend>();
  if (!name.empty() && name != "sdl") {
    if (error)
      *error = "ZEL_BACKEND names an unknown backend \"" + std::string(name) +
               "\"; use \"headless\" or \"sdl\".";
    return nullptr;
  }
  std::string why;
#ifdef ZEL_HAVE_SDL_BACKEND
  if (auto sdl = CreateSdlBackend(&why)) return sdl;
#endif
  if (error)
    *error = (why.empty() ? std::string("No display is available.") : why) +
             " Set ZEL_BACKEND=headless to run without a display.";
  return nullptr;
}

} // namespace zel::sys
