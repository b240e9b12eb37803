// The face cache: lookups by the whole key, first-in first-out eviction with
// reuse of the evicted bitmap, deletion and clearing.

#include "tests/bitop/BitOpTestUtil.h"

#include "framework/core/Exceptions.h"

namespace zel::test {
namespace {

TFaceDescriptor Key(int id, int w = 16, int h = 12) {
  TFaceDescriptor d;
  d.Key[4] = uint8_t(id);
  d.Key[5] = uint8_t(id >> 8);
  d.Key[8] = uint8_t(w);
  d.Key[9] = uint8_t(w >> 8);
  d.Key[10] = uint8_t(h);
  d.Key[11] = uint8_t(h >> 8);
  return d;
}

class FaceCache : public BitOpTest {};

TEST_F(FaceCache, AFaceTooBigLeavesNoEntryBehind) {
  TFaceDescriptor small = Key(1);
  AddFace(small);
  TFaceDescriptor huge = Key(2, 0xFFFF, 0xFFFF);
  EXPECT_FALSE(FindFace(huge));
  EXPECT_THROW(AddFace(huge), Exception);
  EXPECT_EQ(FaceCacheCount(), 1);
  EXPECT_FALSE(FindFace(huge)) << "a key without a bitmap was left in the cache";
  EXPECT_EQ(huge.Face, nullptr);
}

TEST_F(FaceCache, AddsFindsAndSizesFaces) {
  TFaceDescriptor d = Key(1, 300, 20);
  EXPECT_FALSE(FindFace(d));
  EXPECT_EQ(d.Face, nullptr);
  EXPECT_TRUE(AddFace(d));
  ASSERT_NE(d.Face, nullptr);
  EXPECT_EQ(d.Face->Width(), 300);
  EXPECT_EQ(d.Face->Height(), 20);
  EXPECT_EQ(d.Face->PixelFormat(), pf32bit);
  EXPECT_EQ(d.Face->TransparentColor(), ZelKeyColor);
  EXPECT_FALSE(d.Face->Transparent());

  TFaceDescriptor again = Key(1, 300, 20);
  again.Face = reinterpret_cast<TBitmap*>(0x1); // whatever the caller held
  EXPECT_TRUE(FindFace(again));
  EXPECT_EQ(again.Face, d.Face);
  // The last key byte counts too.
  TFaceDescriptor last = Key(1, 300, 20);
  last.Key[FaceKeySize - 1] = 1;
  EXPECT_FALSE(FindFace(last));
}

TEST_F(FaceCache, EvictsTheOldestEvenWhenJustFound) {
  std::vector<TBitmap*> faces;
  for (int i = 0; i < FaceCacheCapacity; ++i) {
    TFaceDescriptor d = Key(i);
    ASSERT_TRUE(AddFace(d));
    faces.push_back(d.Face);
  }
  EXPECT_EQ(FaceCacheCount(), 220);
  TFaceDescriptor first = Key(0);
  ASSERT_TRUE(FindFace(first)); // a hit does not make it young again

  TFaceDescriptor next = Key(1000, 5, 6);
  EXPECT_FALSE(AddFace(next));
  EXPECT_EQ(FaceCacheCount(), 220);
  EXPECT_EQ(next.Face, faces[0]) << "the evicted bitmap is reused";
  EXPECT_EQ(next.Face->Width(), 5);
  EXPECT_EQ(next.Face->Height(), 6);
  EXPECT_FALSE(FindFace(first));
  EXPECT_EQ(FaceCacheBitmap(0), faces[1]);
  EXPECT_EQ(FaceCacheBitmap(219), faces[0]);

  TFaceDescriptor second = Key(1);
  EXPECT_TRUE(FindFace(second));
  TFaceDescriptor more = Key(1001);
  AddFace(more);
  EXPECT_FALSE(FindFace(second));
}

TEST_F(FaceCache, DeleteAndClear) {
  TFaceDescriptor a = Key(1), b = Key(2), c = Key(3);
  AddFace(a);
  AddFace(b);
  AddFace(c);
  EXPECT_FALSE(DeleteFace(3));
  EXPECT_FALSE(DeleteFace(-1));
  EXPECT_TRUE(DeleteFace(1));
  EXPECT_EQ(FaceCacheCount(), 2);
  EXPECT_FALSE(FindFace(b));
  EXPECT_TRUE(FindFace(c));
  EXPECT_EQ(FaceCacheBitmap(1), c.Face);
  ClearFaceCache();
  EXPECT_EQ(FaceCacheCount(), 0);
  EXPECT_FALSE(FindFace(a));
  EXPECT_EQ(FaceCacheBitmap(0), nullptr);
}

} // namespace
} // namespace zel::test
