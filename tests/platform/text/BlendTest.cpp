// The packed coverage blend against the plain per-channel formula.

#include <gtest/gtest.h>

#include <random>

#include "platform/text/TextPainter.h"

namespace zel::sys::testing {
namespace {

uint32_t ReferenceChannel(uint32_t src, uint32_t dst, uint32_t a) {
  const double exact = (double(src) * a + double(dst) * (255 - a)) / 255.0;
  return uint32_t(exact + 0.5);
}

TEST(BlendTest, PackedBlendMatchesThePlainFormulaExactly) {
  std::mt19937 random(20261208);
  for (int i = 0; i < 4000; ++i) {
    const Pixel dst = random();
    const uint32_t r = random() & 0xFF, g = random() & 0xFF, b = random() & 0xFF;
    for (uint32_t a = 0; a < 256; ++a) {
      const Pixel out = BlendCoverage(dst, (r << 16) | b, g, a);
      ASSERT_EQ((out >> 16) & 0xFF, ReferenceChannel(r, (dst >> 16) & 0xFF, a));
      ASSERT_EQ((out >> 8) & 0xFF, ReferenceChannel(g, (dst >> 8) & 0xFF, a));
      ASSERT_EQ(out & 0xFF, ReferenceChannel(b, dst & 0xFF, a));
      ASSERT_EQ(out >> 24, 0u);
    }
  }
}

} // namespace
} // namespace zel::sys::testing
