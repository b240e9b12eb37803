// TRichImageList: the descriptor's fields, assignment, equality and drawing
// of cached faces with an opacity.

#include "bitop/RichImageList.h"

#include <algorithm>
#include <cstring>

#include "bitop/BitOpScratch.h"
#include "framework/core/Consts.h"
#include "platform/gdi/Gdi.h"

namespace zel {

namespace {

// The longest prefix of text of at most limit bytes that ends at a UTF-8
// character boundary.
size_t Utf8Cut(std::string_view text, size_t limit) {
  if (text.size() <= limit) return text.size();
  size_t cut = limit;
  while (cut > 0 && (uint8_t(text[cut]) & 0xC0) == 0x80)
    --cut;
  return cut;
}

// The bytes of the first count characters of a UTF-8 text.
size_t Utf8Chars(std::string_view text, size_t count) {
  size_t i = 0;
  for (size_t chars = 0; i < text.size(); ++i) {
    if ((uint8_t(text[i]) & 0xC0) == 0x80) continue;
    if (chars++ == count) break;
  }
  return i;
}

// FNV-1a of a text.
uint64_t TextHash(std::string_view text) {
  uint64_t h = 1469598103934665603ull;
  for (char c : text)
    h = (h ^ uint8_t(c)) * 1099511628211ull;
  return h;
}

// A caption's bytes within the key: the text itself when it fits, else its
// start, a zero and a hash of the whole text in the field's last 8 bytes, so
// that captions with the same start still make different keys.
constexpr size_t kHashAt = FaceField::CaptionSize - 8;

} // namespace

TRichImageList::TRichImageList() {
  FDescriptor.Key[FaceField::Spacing] = 2;
}

TRichImageList::~TRichImageList() = default;

// ---- Fields -------------------------------------------------------------------

int TRichImageList::KeyWord(int offset) const {
  const auto& k = FDescriptor.Key;
  return int(k[size_t(offset)]) | (int(k[size_t(offset) + 1]) << 8);
}

uint32_t TRichImageList::KeyDWord(int offset) const {
  const auto& k = FDescriptor.Key;
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i)
    v = (v << 8) | k[size_t(offset + i)];
  return v;
}

void TRichImageList::SetKeyByte(int offset, uint8_t value) {
  if (FDescriptor.Key[size_t(offset)] == value) return;
  FDescriptor.Key[size_t(offset)] = value;
  Changed(this);
}

void TRichImageList::SetKeyWord(int offset, int value) {
  const int v = value & 0xFFFF;
  if (KeyWord(offset) == v) return;
  FDescriptor.Key[size_t(offset)] = uint8_t(v);
  FDescriptor.Key[size_t(offset) + 1] = uint8_t(v >> 8);
  Changed(this);
}

void TRichImageList::SetKeyDWord(int offset, uint32_t value) {
  if (KeyDWord(offset) == value) return;
  for (int i = 0; i < 4; ++i)
    FDescriptor.Key[size_t(offset + i)] = uint8_t(value >> (8 * i));
  Changed(this);
}

TCustomImageList* TRichImageList::ImageList() const {
  const uint32_t id = ImageListId();
  return id ? ImageListFromHandle(reinterpret_cast<HIMAGELIST>(uintptr_t(id))) : nullptr;
}

void TRichImageList::SetImageList(TCustomImageList* list) {
  // The list's handle number is unique for the program's life and small, so
  // it stands for the list in the 4-byte field.
  const uint32_t id = list ? uint32_t(reinterpret_cast<uintptr_t>(list->Handle())) : 0;
  SetKeyDWord(FaceField::ImageList, id);
}

void TRichImageList::SetCaption(std::string_view caption) {
  // A zero byte ends the stored text, so it ends the caption here too.
  caption = caption.substr(0, std::min(caption.find('\0'), caption.size()));
  caption = caption.substr(0, Utf8Chars(caption, kMaxCaptionChars));
  if (FCaption == caption) return;
  FCaption = std::string(caption);
  uint8_t* p = FDescriptor.Key.data() + FaceField::Caption;
  std::memset(p, 0, FaceField::CaptionSize);
  if (caption.size() < FaceField::CaptionSize) {
    std::memcpy(p, caption.data(), caption.size());
  } else {
    std::memcpy(p, caption.data(), Utf8Cut(caption, kHashAt - 1));
    const uint64_t hash = TextHash(caption);
    std::memcpy(p + kHashAt, &hash, sizeof hash);
  }
  Changed(this);
}

void TRichImageList::SetBlend(uint8_t blend) {
  if (FBlend == blend) return;
  FBlend = blend;
  Changed(this);
}

HPALETTE TRichImageList::Palette() const {
  TFaceDescriptor probe = FDescriptor;
  return FindFace(probe) && probe.Face ? probe.Face->Palette() : 0;
}

void TRichImageList::SetPalette(HPALETTE palette) {
  TFaceDescriptor probe = FDescriptor;
  if (!FindFace(probe) || !probe.Face || probe.Face->Palette() == palette) return;
  probe.Face->SetPalette(palette);
  Changed(this);
}

// ---- Assignment and equality ------------------------------------------------------

void TRichImageList::Assign(TPersistent* source) {
  std::array<uint8_t, FaceKeySize> key{};
  uint8_t blend = 255;
  std::string caption;
  if (auto* other = dynamic_cast<TRichImageList*>(source)) {
    key = other->FDescriptor.Key;
    blend = other->FBlend;
    caption = other->FCaption;
  } else if (source) {
    AssignError(source);
  }
  if (key == FDescriptor.Key && blend == FBlend) return;
  FDescriptor.Key = key;
  FBlend = blend;
  FCaption = std::move(caption);
  Changed(this);
}

void TRichImageList::AssignTo(TPersistent* dest) {
  if (auto* other = dynamic_cast<TRichImageList*>(dest))
    other->Assign(this);
  else
    TGraphic::AssignTo(dest);
}

bool TRichImageList::Equals(TGraphic* other) {
  const auto* rich = dynamic_cast<const TRichImageList*>(other);
  return rich && rich->FDescriptor.Key == FDescriptor.Key;
}

// ---- Drawing ---------------------------------------------------------------------------

void TRichImageList::Draw(TCanvas* canvas, const sys::RECT& r) {
  // An empty rectangle draws nothing; the cached face is left alone.
  if (!canvas || sys::IsRectEmpty(r)) return;
  if (!FindFace(FDescriptor)) {
    AddFace(FDescriptor);
    ComposeFace(FDescriptor.Face, canvas->Font(), r);
  }
  TBitmap* face = FDescriptor.Face;
  if (!face || face->Empty()) return;
  // A face without a colour of its own shows what lies below its
  // background, as a transparent one does.
  if (!Transparent() && FBlend == 255 && Color() != clNone) {
    sys::BitBlt(canvas->Handle(), r.left, r.top, face->Width(), face->Height(),
                face->Canvas()->Handle(), 0, 0, sys::SRCCOPY);
  } else if (FBlend != 0) {
    DrawWithOpacity(canvas, r);
  }
}

void TRichImageList::DrawWithOpacity(TCanvas* canvas, const sys::RECT& r) {
  auto& work = bitop::BlendWorkBitmap();
  sys::RECT area = r;
  PrepareFaceBitmap(work, area);
  if (!work) return;
  sys::BitBlt(work->Canvas()->Handle(), 0, 0, area.right, area.bottom, canvas->Handle(), r.left,
              r.top, sys::SRCCOPY);
  bitop::TBits background, face;
  GetBits32(work.get(), background.Bits, background.Header);
  GetBits32(FDescriptor.Face, face.Bits, face.Header);
  FillEmptyAlpha(background.Bits, 255, area.right * area.bottom);
  DrawAlpha(face.Bits, background.Bits, face.Header, background.Header, 0, 0, clNone, FBlend);
  SetBits32(work.get(), background.Bits, background.Header);
  sys::BitBlt(canvas->Handle(), r.left, r.top, work->Width(), work->Height(),
              work->Canvas()->Handle(), 0, 0, sys::SRCCOPY);
}

} // namespace zel
