// Bitmap file decoding: what is accepted decodes exactly; everything else is
// refused with a reason and no read outside the data.

#include <gtest/gtest.h>

#include "platform/resource/Bmp.h"
#include "tests/platform/resource/ResourceTestUtil.h"

namespace zel::sys {
namespace {

using test::BmpOptions;
using test::MakeBmp;
using test::PatternPixel;

std::string Refusal(const std::vector<uint8_t>& file) {
  DecodedBmp out;
  std::string error;
  EXPECT_FALSE(DecodeBmp(file, out, error));
  EXPECT_FALSE(error.empty());
  return error;
}

TEST(Bmp, DecodesBothDepthsAndRowOrdersIncludingRowPadding) {
  for (int bits : {24, 32})
    for (bool topDown : {false, true})
      for (int width : {1, 2, 3, 4, 5}) {
        SCOPED_TRACE(testing::Message()
                     << bits << " bits, width " << width << (topDown ? " top-down" : " bottom-up"));
        DecodedBmp out;
        std::string error;
        ASSERT_TRUE(DecodeBmp(
            MakeBmp({.width = width, .height = 3, .bits = bits, .topDown = topDown}), out, error))
            << error;
        EXPECT_EQ(out.bitsPerPixel, bits);
        ASSERT_EQ(out.pixels.Width(), width);
        ASSERT_EQ(out.pixels.Height(), 3);
        for (int y = 0; y < 3; ++y)
          for (int x = 0; x < width; ++x)
            ASSERT_EQ(out.pixels.At(x, y), PatternPixel(x, y, bits == 32)) << x << "," << y;
      }
}

TEST(Bmp, AcceptsAMissingPadOnTheLastRowOnly) {
  auto file = MakeBmp({.width = 1, .height = 2, .bits = 24});
  file.pop_back(); // the last row's padding byte
  DecodedBmp out;
  std::string error;
  EXPECT_TRUE(DecodeBmp(file, out, error)) << error;
  file.pop_back();
  file.pop_back(); // now a pixel byte is gone
  EXPECT_NE(Refusal(file).find("outside"), std::string::npos);
}

TEST(Bmp, RefusesUnsupportedFormatsWithAReason) {
  EXPECT_NE(Refusal(MakeBmp({.bits = 8})).find("8 bits"), std::string::npos);
  EXPECT_NE(Refusal(MakeBmp({.bits = 16})).find("16 bits"), std::string::npos);
  EXPECT_NE(Refusal(MakeBmp({.bits = 24, .compression = 1})).find("compress"), std::string::npos);
  EXPECT_NE(Refusal(MakeBmp({.bits = 24, .compression = 3})).find("compress"), std::string::npos);
  EXPECT_NE(Refusal(MakeBmp({.planes = 2})).find("planes"), std::string::npos);

  auto odd = MakeBmp({.width = 2, .height = 2, .bits = 32, .compression = 3});
  odd[54] = 0xFF; // red mask 0x00FF00FF
  EXPECT_NE(Refusal(odd).find("masks"), std::string::npos);
}

TEST(Bmp, RefusesDamagedHeadersAndSizes) {
  EXPECT_NE(Refusal({}).find("not a bitmap"), std::string::npos);
  EXPECT_NE(Refusal({'P', 'K', 3, 4}).find("not a bitmap"), std::string::npos);
  const auto good = MakeBmp({.width = 4, .height = 4, .bits = 32});
  for (size_t n = 0; n < good.size(); ++n) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + long(n));
    Refusal(cut);
  }
  auto patch32 = [&](size_t at, uint32_t v) {
    auto f = good;
    for (int i = 0; i < 4; ++i)
      f[at + i] = uint8_t(v >> (8 * i));
    return f;
  };
  EXPECT_NE(Refusal(patch32(18, 0)).find("size"), std::string::npos);          // width 0
  EXPECT_NE(Refusal(patch32(18, 0xFFFFFFFF)).find("size"), std::string::npos); // width -1
  EXPECT_NE(Refusal(patch32(22, 0)).find("size"), std::string::npos);          // height 0
  EXPECT_NE(Refusal(patch32(22, 0x80000000)).find("size"), std::string::npos); // INT_MIN
  EXPECT_NE(Refusal(patch32(18, 30000)).find("outside"), std::string::npos);   // no such data
  EXPECT_NE(Refusal(patch32(10, 0xFFFFFFF0)).find("outside"), std::string::npos);
  EXPECT_NE(Refusal(patch32(10, 20)).find("outside"), std::string::npos); // inside header
  EXPECT_NE(Refusal(patch32(14, 0xFFFF)).find("information header"), std::string::npos);
}

} // namespace
} // namespace zel::sys
