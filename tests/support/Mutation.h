#pragma once
// Deterministic mutation of saved inputs for the tests of readers of outside
// bytes: bit flips, boundary values written over 32 bits in either byte
// order, truncations, insertions of noise and pieces of other inputs.  The
// generator is fixed, so a run is the same on every machine.

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace zel::test {

struct TRandom {
  uint64_t State;
  uint64_t Next() {
    uint64_t z = (State += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  size_t Below(size_t n) { return n ? size_t(Next() % n) : 0; }
};

// One to three changes, mostly ones that keep the input's structure in
// step (flips and boundary values), so that readers get past their first
// check; extra are values worth trying beside the usual boundaries.
inline std::string Mutate(std::string f, const std::vector<std::string>& others, TRandom& r,
                          const std::vector<uint32_t>& extra = {}) {
  static const uint32_t kBoundaries[] = {0,          1,          0x7F,      0x80,    0xFF,
                                         0x7FFF,     0x8000,     0xFFFF,    0x10000, 0x7FFFFFFF,
                                         0x80000000, 0xFFFFFFFF, 0xFFFFFFFE};
  const int steps = r.Below(3) ? 1 : 2 + int(r.Below(2));
  for (int i = 0; i < steps; ++i) {
    const size_t at = r.Below(f.size() + 1);
    const size_t kind = r.Below(20);
    if (kind < 9) {
      if (at < f.size()) f[at] = char(f[at] ^ (1 << r.Below(8)));
    } else if (kind < 15) {
      const size_t n = std::size(kBoundaries) + extra.size();
      const size_t k = r.Below(n);
      const uint32_t v =
          k < std::size(kBoundaries) ? kBoundaries[k] : extra[k - std::size(kBoundaries)];
      const bool big = r.Below(2);
      if (at + 4 <= f.size())
        for (size_t b = 0; b < 4; ++b)
          f[at + b] = char(v >> (8 * (big ? 3 - b : b)));
    } else if (kind < 16) {
      f.resize(at);
    } else if (kind < 18) {
      std::string noise(1 + r.Below(16), '\0');
      for (char& c : noise)
        c = char(r.Next());
      f.insert(at, noise);
    } else {
      const std::string& o = others[r.Below(others.size())];
      const size_t from = r.Below(o.size());
      f.insert(at, o.substr(from, r.Below(o.size() - from + 1)));
    }
  }
  return f;
}

} // namespace zel::test
