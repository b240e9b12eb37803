#pragma once
// The program's own resource module, packed from the files under resources/
// by the build (cmake/ZelResources.cmake runs tools/zelres) and compiled into
// a generated source that defines this function.

#include <cstdint>
#include <span>

namespace zel::sys {

// The module image in the format of ModuleFile.h; valid for the program's life.
std::span<const uint8_t> BuiltinModuleImage();

} // namespace zel::sys
