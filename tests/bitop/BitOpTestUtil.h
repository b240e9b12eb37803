#pragma once
// Helpers of the bitmap-operation tests: buffers with headers, pixel access
// in picture coordinates, and a fixture that starts and stops the unit.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bitop/BitOp.h"

namespace zel::test {

inline sys::BITMAPINFO Header32(int w, int h) {
  sys::BITMAPINFO info;
  info.bmiHeader.biSize = 40;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  return info;
}

// A bottom-up buffer with its header.
struct TBuffer {
  int W, H;
  std::vector<uint8_t> Bytes;
  sys::BITMAPINFO Header;
  TBuffer(int w, int h, uint32_t fill = 0)
      : W(w), H(h), Bytes(size_t(w) * h * 4), Header(Header32(w, h)) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        Set(x, y, fill);
  }
  uint8_t* At(int x, int y) { return Bytes.data() + (size_t(H - 1 - y) * W + x) * 4; }
  uint32_t Get(int x, int y) {
    const uint8_t* p = At(x, y);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  }
  void Set(int x, int y, uint32_t v) {
    uint8_t* p = At(x, y);
    for (int i = 0; i < 4; ++i)
      p[i] = uint8_t(v >> (8 * i));
  }
  uint8_t* Data() { return Bytes.data(); }
};

class BitOpTest : public ::testing::Test {
protected:
  void SetUp() override { BitOpInitialize(); }
  void TearDown() override { BitOpFinalize(); }
};

} // namespace zel::test
