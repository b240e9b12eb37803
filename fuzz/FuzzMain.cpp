// The libFuzzer entry of one reader: the build compiles this file once per
// reader with ZEL_FUZZ_TARGET naming it (zel_fuzz_<name>).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz/FuzzInputs.h"

namespace {
const zel::fuzz::TTarget* gTarget = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gTarget = zel::fuzz::FindTarget(ZEL_FUZZ_TARGET);
  if (!gTarget) {
    std::fprintf(stderr, "zel fuzz: no reader named %s\n", ZEL_FUZZ_TARGET);
    std::exit(2);
  }
  // The windowed readers work on the real main window, made once here and
  // left standing until the process ends (it stays reachable, so the leak
  // checker says nothing of it).
  zel::fuzz::Environment();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gTarget->Read(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
