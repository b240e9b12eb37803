// The module-wide cache of rendered button faces, first in first out, and
// the unit's start-up and shut-down.
//
// Entries keep a hash of their key beside it, so that a lookup compares the
// full 289 bytes only where the hashes agree; the order of the entries and
// the first-match rule are those of a plain linear scan.

#include <cstring>
#include <memory>
#include <vector>

#include "bitop/BitOp.h"
#include "bitop/BitOpScratch.h"

namespace zel {

namespace {

struct TFaceEntry {
  std::array<uint8_t, FaceKeySize> Key{};
  uint64_t Hash = 0;
  std::unique_ptr<TBitmap> Bitmap;
};

std::vector<TFaceEntry>& Cache() {
  static std::vector<TFaceEntry> cache;
  return cache;
}

// FNV-1a over the key, eight bytes at a time for speed.
uint64_t KeyHash(const std::array<uint8_t, FaceKeySize>& key) {
  uint64_t h = 1469598103934665603ull;
  size_t i = 0;
  for (; i + 8 <= key.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, key.data() + i, 8);
    h = (h ^ word) * 1099511628211ull;
    h ^= h >> 29;
  }
  for (; i < key.size(); ++i)
    h = (h ^ key[i]) * 1099511628211ull;
  return h;
}

int KeyWord(const std::array<uint8_t, FaceKeySize>& key, int offset) {
  return int(key[size_t(offset)]) | (int(key[size_t(offset) + 1]) << 8);
}

std::unique_ptr<TBitmap> NewFaceBitmap() {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetTransparent(false);
  bitmap->SetTransparentColor(ZelKeyColor);
  bitmap->SetTransparentMode(tmFixed);
  bitmap->SetPixelFormat(pf32bit);
  return bitmap;
}

} // namespace

bool FindFace(TFaceDescriptor& Descriptor) {
  const uint64_t hash = KeyHash(Descriptor.Key);
  for (TFaceEntry& entry : Cache()) {
    if (entry.Hash == hash && entry.Key == Descriptor.Key) {
      Descriptor.Face = entry.Bitmap.get();
      return true;
    }
  }
  Descriptor.Face = nullptr;
  return false;
}

bool AddFace(TFaceDescriptor& Descriptor) {
  auto& cache = Cache();
  std::unique_ptr<TBitmap> bitmap;
  bool appended = true;
  if (cache.size() < size_t(FaceCacheCapacity)) {
    cache.emplace_back();
  } else {
    // The oldest face goes; its bitmap is reused for the new one.
    bitmap = std::move(cache.front().Bitmap);
    cache.erase(cache.begin());
    cache.emplace_back();
    appended = false;
  }
  TFaceEntry& entry = cache.back();
  entry.Key = Descriptor.Key;
  entry.Hash = KeyHash(Descriptor.Key);
  Descriptor.Face = nullptr;
  try {
    if (!bitmap) bitmap = NewFaceBitmap();
    bitmap->SetWidth(KeyWord(Descriptor.Key, 8));
    bitmap->SetHeight(KeyWord(Descriptor.Key, 10));
  } catch (...) {
    // No entry stays without a bitmap: a later FindFace would find the key
    // and hand out none.  The bitmap goes with its local holder.
    cache.pop_back();
    throw;
  }
  entry.Bitmap = std::move(bitmap);
  Descriptor.Face = entry.Bitmap.get();
  return appended;
}

bool DeleteFace(int Index) {
  auto& cache = Cache();
  if (Index < 0 || size_t(Index) >= cache.size()) return false;
  cache.erase(cache.begin() + Index);
  return true;
}

void ClearFaceCache() {
  auto& cache = Cache();
  while (!cache.empty())
    cache.pop_back();
}

int FaceCacheCount() {
  return int(Cache().size());
}

TBitmap* FaceCacheBitmap(int Index) {
  auto& cache = Cache();
  if (Index < 0 || size_t(Index) >= cache.size()) return nullptr;
  return cache[size_t(Index)].Bitmap.get();
}

void BitOpInitialize() {
  bitop::FreeWorkBitmaps();
  Cache().reserve(FaceCacheCapacity);
}

void BitOpFinalize() {
  bitop::FreeScratchBuffers();
  ClearFaceCache();
  bitop::FreeWorkBitmaps();
  std::vector<TFaceEntry>().swap(Cache());
}

} // namespace zel
