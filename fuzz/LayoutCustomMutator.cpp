// The custom mutator of the layout reader's libFuzzer program: most inputs
// that are whole layout files get a structural change (names, kinds, sizes,
// records; tests/support/LayoutMutation.h), which keeps them well formed so
// that they reach the checks of what the bytes name; the rest, and every
// input that is not a whole layout file, get libFuzzer's own byte-level
// changes, which try the readers' checks of the bytes themselves.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/FuzzInputs.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed) {
  if (seed % 4 != 0) {
    const std::optional<std::string> changed = zel::fuzz::MutateLayoutStructure(
        std::string_view(reinterpret_cast<const char*>(data), size), seed / 4);
    if (changed && changed->size() <= maxSize) {
      std::memcpy(data, changed->data(), changed->size());
      return changed->size();
    }
  }
  return LLVMFuzzerMutate(data, size, maxSize);
}
