// The libFuzzer entry of one reader: the build compiles this file once per
// reader with ZEL_FUZZ_TARGET naming it (zel_fuzz_<name>).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

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
  // ZEL_FUZZ_SEEDS=DIR writes the reader's seeds there (seed-0, seed-1,
  // ...) and ends: the starting corpus of a run.
  if (const char* dir = std::getenv("ZEL_FUZZ_SEEDS")) {
    const std::vector<std::string> seeds = gTarget->Seeds();
    for (size_t i = 0; i < seeds.size(); ++i) {
      const std::string path = std::string(dir) + "/seed-" + std::to_string(i);
      std::ofstream(path, std::ios::binary) << seeds[i];
    }
    std::printf("zel fuzz: %zu seed(s) of %s written to %s\n", seeds.size(), ZEL_FUZZ_TARGET, dir);
    zel::fuzz::EndEnvironment();
    std::exit(0);
  }
  // The windowed readers work on the real main window, made once here.  It
  // goes when the process ends, before the objects of static duration it
  // made on its way (they would otherwise go first, under it).
  zel::fuzz::Environment();
  std::atexit(zel::fuzz::EndEnvironment);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gTarget->Read(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
