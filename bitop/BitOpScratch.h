#pragma once
// The unit's module-wide storage: scratch buffers that grow to the largest
// request and never shrink, and the three shared work bitmaps of the face
// renderer.  GUI thread only.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "bitop/BitOp.h"
#include "framework/graphics/Bitmap.h"

namespace zel::bitop {

class TScratchBuffer {
public:
  // A block of at least bytes; reallocated to exactly bytes when too small.
  // The old contents are not kept.
  uint8_t* Reserve(size_t bytes);
  size_t Capacity() const { return FCapacity; }
  void Free();

private:
  std::unique_ptr<uint8_t[]> FData;
  size_t FCapacity = 0;
};

// The alpha and filter planes of MakeShadow, sharing one capacity.
TScratchBuffer& ShadowPlanes();
// The keyed copy of a source in DrawAlpha and DrawShadowed.
TScratchBuffer& KeyedCopy();
// The shadow copy of a source in DrawShadowed.
TScratchBuffer& ShadowCopy();

std::unique_ptr<TBitmap>& GlyphWorkBitmap();
std::unique_ptr<TBitmap>& BlendWorkBitmap();
std::unique_ptr<TBitmap>& CaptionBitmap();

// A buffer of GetBits32 that is freed when the holder goes.
struct TBits {
  uint8_t* Bits = nullptr;
  sys::BITMAPINFO Header{};
  TBits() = default;
  TBits(const TBits&) = delete;
  TBits& operator=(const TBits&) = delete;
  ~TBits() { FreeBits32(Bits); }
};

void FreeScratchBuffers();
void FreeWorkBitmaps();

} // namespace zel::bitop
