#include "bitop/BitOpScratch.h"

namespace zel::bitop {

uint8_t* TScratchBuffer::Reserve(size_t bytes) {
  if (bytes > FCapacity) {
    FData.reset();
    FCapacity = 0;
    FData = std::make_unique_for_overwrite<uint8_t[]>(bytes);
    FCapacity = bytes;
  }
  return FData.get();
}

void TScratchBuffer::Free() {
  FData.reset();
  FCapacity = 0;
}

namespace {
TScratchBuffer GShadowPlanes;
TScratchBuffer GKeyedCopy;
TScratchBuffer GShadowCopy;
std::unique_ptr<TBitmap> GGlyphWork;
std::unique_ptr<TBitmap> GBlendWork;
std::unique_ptr<TBitmap> GCaption;
} // namespace

TScratchBuffer& ShadowPlanes() {
  return GShadowPlanes;
}
TScratchBuffer& KeyedCopy() {
  return GKeyedCopy;
}
TScratchBuffer& ShadowCopy() {
  return GShadowCopy;
}
std::unique_ptr<TBitmap>& GlyphWorkBitmap() {
  return GGlyphWork;
}
std::unique_ptr<TBitmap>& BlendWorkBitmap() {
  return GBlendWork;
}
std::unique_ptr<TBitmap>& CaptionBitmap() {
  return GCaption;
}

void FreeScratchBuffers() {
  GShadowPlanes.Free();
  GKeyedCopy.Free();
  GShadowCopy.Free();
}

void FreeWorkBitmaps() {
  GGlyphWork.reset();
  GBlendWork.reset();
  GCaption.reset();
}

} // namespace zel::bitop
