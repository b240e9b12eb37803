#pragma once
// Pixel routines over 32-bit buffers with straight alpha, the module-wide
// cache of rendered button faces, and the unit's start-up and shut-down.
//
// A buffer holds width x height pixels of four bytes (blue, green, red,
// alpha), rows bottom-up without padding; its size always comes from the
// 44-byte header that travels with it.  A colour key matches a pixel when the
// low 24 bits of both are equal as raw numbers; clNone means no key.

#include <array>
#include <cstdint>

#include "framework/core/Exceptions.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Colors.h"
#include "platform/gdi/GdiTypes.h"

namespace zel {

ZEL_EXCEPTION(EZelBitError, Exception);

// The alpha rules of BlendLine.
enum TBlendMode : uint8_t { blendReplace = 0, blendOver = 1, blendOpaque = 2 };

// The border kinds of a button face, drawn by TRichImageList.
enum TZelButtonBorder : uint8_t {
  ZelSingleBorder = 0,
  ZelFlatBorder = 1,
  ZelNoBorder = 2,
  ZelXPBorder = 3
};

// The only colour key the program passes, magenta in either byte order.
constexpr TColor ZelKeyColor = 0xFF00FF;

bool CheckHeader32(const sys::BITMAPINFO& Header, bool RaiseOnError);
// Frees what Bits holds, then allocates a buffer with the bitmap's pixels and
// fills Header.  The bitmap must be pf32bit.
void GetBits32(TBitmap* Bitmap, uint8_t*& Bits, sys::BITMAPINFO& Header);
// Resizes the bitmap to Header and gives it the pixels.  Bits is freed and set
// to nullptr and Header zeroed in every case, also when an error is raised.
void SetBits32(TBitmap* Bitmap, uint8_t*& Bits, sys::BITMAPINFO& Header);
// Frees a buffer of GetBits32 that is not written back.
void FreeBits32(uint8_t*& Bits);

TColor MixColors(TColor A, TColor B);
void ClearKeyPixels(uint8_t* Bits, TColor Key, int Count);
void BlendLine(uint8_t* Dst, const uint8_t* Src, uint8_t Opacity, int Count, TBlendMode Mode);
void BlurLine(const uint8_t* In, uint8_t* Out, int Count, int Step);
void MakeShadow(uint8_t* Bits, const sys::BITMAPINFO& Header, TColor Key, uint8_t Opacity,
                int Passes);
void BlendRect(const uint8_t* Src, uint8_t* Dst, const sys::BITMAPINFO& SrcHeader,
               const sys::BITMAPINFO& DstHeader, int X, int Y, TBlendMode Mode, uint8_t Opacity);
void DrawAlpha(const uint8_t* Src, uint8_t* Dst, const sys::BITMAPINFO& SrcHeader,
               const sys::BITMAPINFO& DstHeader, int X, int Y, TColor Key, uint8_t Opacity);
void DrawShadowed(const uint8_t* Src, uint8_t* Dst, const sys::BITMAPINFO& SrcHeader,
                  const sys::BITMAPINFO& DstHeader, int X, int Y, TColor Key, uint8_t Opacity,
                  int Passes, int8_t Offset);
void GrayPixels(uint8_t* Bits, TColor Key, int Count);
void FillEmptyAlpha(uint8_t* Bits, uint8_t Alpha, int Count);
void HalveSaturation(uint8_t* Bits, const sys::BITMAPINFO& Header, TColor Key);

// ---- Face cache -------------------------------------------------------------

constexpr int FaceKeySize = 289;
constexpr int FaceCacheCapacity = 220;

// The descriptor of a face as its owner holds it: the key bytes, compared
// as a whole, and the face bitmap, which the cache owns.
struct TFaceDescriptor {
  std::array<uint8_t, FaceKeySize> Key{};
  TBitmap* Face = nullptr;
};

// True when a face with the descriptor's key is cached; Face is set to it
// (nullptr otherwise).  A hit does not reorder the cache.
bool FindFace(TFaceDescriptor& Descriptor);
// Adds an entry for the descriptor with a bitmap of the key's size; when the
// cache is full the oldest entry goes and its bitmap is reused.  True when
// nothing had to be evicted.
bool AddFace(TFaceDescriptor& Descriptor);
bool DeleteFace(int Index);
void ClearFaceCache();
int FaceCacheCount();
// The bitmap of entry Index, for inspection; nullptr outside the cache.
TBitmap* FaceCacheBitmap(int Index);

// ---- Unit start-up and shut-down ---------------------------------------------

// Clears the shared work bitmaps.
void BitOpInitialize();
// Frees the scratch buffers, the face cache and the shared work bitmaps.
void BitOpFinalize();

} // namespace zel
