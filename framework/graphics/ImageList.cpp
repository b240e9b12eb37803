#include "framework/graphics/ImageList.h"
#include "framework/graphics/GraphicsConsts.h"

#include <algorithm>
#include <unordered_map>

#include "framework/core/Streams.h"

namespace zel {

namespace {

// The largest cell side: far beyond any glyph, small enough that a cell's
// pixels always fit in memory.
constexpr int kMaxCellSide = 4096;

constexpr uint32_t kDataMagic = 0x314C495A; // "ZIL1"

// Pixels at or above this luminance count as background when an image is
// drawn disabled, as a black-and-white conversion of the image would make
// them: outlines and dark areas stay, light fills (yellow, white) drop out.
constexpr int kDisabledInkLimit = 192;

// The lists that have a handle, by the handle's number.
std::unordered_map<uintptr_t, TCustomImageList*>& HandleRegistry() {
  static std::unordered_map<uintptr_t, TCustomImageList*> registry;
  return registry;
}

uintptr_t NextHandleNumber() {
  static uintptr_t next = 0;
  return ++next;
}

uintptr_t HandleNumber(HIMAGELIST h) {
  return reinterpret_cast<uintptr_t>(h);
}

sys::COLORREF Rgb(sys::Pixel p) {
  return sys::ColorRefFromPixel(p);
}

// Perceived brightness, 0..255, with the usual weights of red, green and blue.
int Luminance(sys::Pixel p) {
  return (int((p >> 16) & 0xFF) * 77 + int((p >> 8) & 0xFF) * 151 + int(p & 0xFF) * 28) >> 8;
}

// A colour that none of the drawn pixels has, so that a colour-keyed blit
// leaves out exactly the transparent ones.  The search walks a full-period
// sequence of all 2^24 colours, so it ends.
sys::COLORREF ChooseKey(const sys::Surface& pixels, const std::vector<uint8_t>& drawn) {
  std::vector<sys::COLORREF> used;
  used.reserve(drawn.size());
  const auto all = pixels.Pixels();
  for (size_t i = 0; i < all.size(); ++i)
    if (drawn[i]) used.push_back(Rgb(all[i]));
  std::sort(used.begin(), used.end());
  sys::COLORREF key = sys::RGB(255, 0, 255);
  while (std::binary_search(used.begin(), used.end(), key))
    key = (key * 1103515245u + 12345u) & 0xFFFFFFu;
  return key;
}

// A 32-bit bitmap holding the pixels, with every pixel that is not drawn set
// to the key colour.
sys::HBITMAP MakeKeyedBitmap(const sys::Surface& pixels, const std::vector<uint8_t>& drawn,
                             sys::COLORREF key) {
  sys::HBITMAP bitmap = sys::CreateBitmap(pixels.Width(), pixels.Height(), 32);
  if (!bitmap) return nullptr;
  bitmap->surface = pixels;
  auto out = bitmap->surface.Pixels();
  const sys::Pixel keyPixel = sys::PixelFromColorRef(key);
  for (size_t i = 0; i < out.size(); ++i)
    if (!drawn[i]) out[i] = keyPixel;
  return bitmap;
}

// Copies a bitmap to the context through a memory context, leaving out the
// key colour when keyed.
void Blit(sys::HDC target, int x, int y, sys::HBITMAP bitmap, bool keyed, sys::COLORREF key) {
  if (!bitmap) return;
  sys::HDC source = sys::CreateCompatibleDC(nullptr);
  if (!source) return;
  sys::HGDIOBJ old = sys::SelectObject(source, bitmap);
  const int w = bitmap->surface.Width();
  const int h = bitmap->surface.Height();
  if (keyed)
    sys::TransparentBlt(target, x, y, w, h, source, 0, 0, w, h, key);
  else
    sys::BitBlt(target, x, y, w, h, source, 0, 0, sys::SRCCOPY);
  sys::SelectObject(source, old);
  sys::DeleteDC(source);
}

sys::Pixel Mix(sys::Pixel p, sys::COLORREF with, int parts) {
  // parts of 4 taken from `with`, the rest from p; alpha stays.
  const auto channel = [&](int shift, int other) {
    const int mine = int((p >> shift) & 0xFF);
    return sys::Pixel(((mine * (4 - parts) + other * parts) / 4) & 0xFF) << shift;
  };
  return (p & 0xFF000000u) | channel(16, sys::GetRValue(with)) | channel(8, sys::GetGValue(with)) |
         channel(0, sys::GetBValue(with));
}

} // namespace

// ---- Handles ---------------------------------------------------------------------

TCustomImageList* ImageListFromHandle(HIMAGELIST list) {
  if (!list) return nullptr;
  auto& registry = HandleRegistry();
  const auto it = registry.find(HandleNumber(list));
  return it == registry.end() ? nullptr : it->second;
}

int ImageList_GetImageCount(HIMAGELIST list) {
  TCustomImageList* images = ImageListFromHandle(list);
  return images ? images->Count() : 0;
}

sys::BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
  TCustomImageList* images = ImageListFromHandle(list);
  if (!images) return 0;
  if (cx) *cx = images->Width();
  if (cy) *cy = images->Height();
  return 1;
}

// ---- TChangeLink --------------------------------------------------------------------

TChangeLink::~TChangeLink() {
  if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(FSender);
}

// ---- TCustomImageList ------------------------------------------------------------------

struct TCustomImageList::TImage {
  sys::Surface pixels;        // the cell, transparent pixels 0
  std::vector<uint8_t> drawn; // 1 where the pixel is drawn
  bool anyTransparent = false;
  // The pixels with the transparent ones in a colour no drawn pixel has;
  // made on the first draw.
  sys::UniqueGdi<sys::HBITMAP> keyed;
  sys::COLORREF key = 0;

  void Finish() {
    anyTransparent = std::find(drawn.begin(), drawn.end(), 0) != drawn.end();
    keyed.reset();
  }
  // Without masks the stored pixels are drawn as they are (black where the
  // mask had cleared them).
  sys::HBITMAP Keyed(bool masked) {
    if (!keyed) {
      if (masked) {
        key = ChooseKey(pixels, drawn);
        keyed.reset(MakeKeyedBitmap(pixels, drawn, key));
      } else {
        keyed.reset(MakeKeyedBitmap(pixels, std::vector<uint8_t>(drawn.size(), 1), 0));
      }
    }
    return keyed.get();
  }
};

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::TCustomImageList(int width, int height, TComponent* owner) : TComponent(owner) {
  if (width < 1 || height < 1 || width > kMaxCellSide || height > kMaxCellSide)
    throw EInvalidOperation(SInvalidImageSize);
  FWidth = width;
  FHeight = height;
}

TCustomImageList::~TCustomImageList() {
  *FAlive = false;
  for (TChangeLink* link : FLinks)
    link->SetSender(nullptr);
  FLinks.clear();
  if (FHandle) HandleRegistry().erase(HandleNumber(FHandle));
}

HIMAGELIST TCustomImageList::Handle() {
  if (!FHandle) {
    FHandle = reinterpret_cast<HIMAGELIST>(NextHandleNumber());
    HandleRegistry()[HandleNumber(FHandle)] = this;
  }
  return FHandle;
}

void TCustomImageList::SetSize(int width, int height) {
  if (width < 1 || height < 1 || width > kMaxCellSide || height > kMaxCellSide)
    throw EInvalidOperation(SInvalidImageSize);
  if (width == FWidth && height == FHeight) return;
  FWidth = width;
  FHeight = height;
  // The images were cut for the old size, so they go.
  FImages.clear();
  Change();
}

void TCustomImageList::SetBkColor(TColor color) {
  if (color == FBkColor) return;
  FBkColor = color;
  Change();
}

void TCustomImageList::SetBlendColor(TColor color) {
  if (color == FBlendColor) return;
  FBlendColor = color;
  Change();
}

void TCustomImageList::SetMasked(bool value) {
  if (value == FMasked) return;
  FMasked = value;
  for (auto& image : FImages)
    image->keyed.reset();
  Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle style) {
  if (style == FDrawingStyle) return;
  FDrawingStyle = style;
  Change();
}

std::vector<std::unique_ptr<TCustomImageList::TImage>>
TCustomImageList::Cut(TBitmap* image, TBitmap* mask, bool useColorKey, TColor maskColor) const {
  std::vector<std::unique_ptr<TImage>> cells;
  if (!image || image->Empty()) return cells;
  const sys::Surface& src = image->Handle()->surface;
  const sys::Surface* maskSrc = mask && !mask->Empty() ? &mask->Handle()->surface : nullptr;
  bool keyed = useColorKey && maskColor != clNone;
  if (keyed && maskColor == clDefault) maskColor = image->TransparentColor();
  if (maskColor == clDefault) keyed = false;
  const sys::COLORREF key = keyed ? ColorToColorRef(maskColor) : 0;

  const int count = std::max(1, src.Width() / FWidth);
  for (int k = 0; k < count; ++k) {
    auto cell = std::make_unique<TImage>();
    cell->pixels.Resize(FWidth, FHeight);
    cell->drawn.assign(size_t(FWidth) * size_t(FHeight), FMasked ? 0 : 1);
    // Row by row, over the part of the cell that lies in the strip (and, for
    // the mask, in the mask); the rest keeps its initial state.
    const int x0 = k * FWidth;
    const int inStrip = std::min(FWidth, src.Width() - x0);
    const int inMask = maskSrc ? std::clamp(maskSrc->Width() - x0, 0, inStrip) : 0;
    for (int y = 0; y < std::min(FHeight, src.Height()); ++y) {
      const sys::Pixel* in = src.Row(y) + x0;
      const sys::Pixel* maskIn =
          maskSrc && y < maskSrc->Height() ? maskSrc->Row(y) + x0 : nullptr;
      sys::Pixel* out = cell->pixels.Row(y);
      uint8_t* drawnOut = cell->drawn.data() + size_t(y) * size_t(FWidth);
      for (int x = 0; x < inStrip; ++x) {
        const sys::Pixel p = in[x];
        bool drawn = true;
        if (FMasked) {
          if (maskIn && x < inMask) drawn = Rgb(maskIn[x]) == 0;
          if (keyed && Rgb(p) == key) drawn = false;
        }
        drawnOut[x] = drawn ? 1 : 0;
        if (drawn) out[x] = p;
      }
    }
    cell->Finish();
    cells.push_back(std::move(cell));
  }
  return cells;
}

void TCustomImageList::InsertImages(int index, std::vector<std::unique_ptr<TImage>> images) {
  if (images.empty()) return;
  index = std::clamp(index, 0, Count());
  FImages.insert(FImages.begin() + index, std::make_move_iterator(images.begin()),
                 std::make_move_iterator(images.end()));
  Change();
}

void TCustomImageList::ReplaceWith(int index, std::vector<std::unique_ptr<TImage>> images) {
  if (index < 0 || index >= Count()) throw EInvalidOperation(SImageIndexError);
  if (images.empty()) return;
  FImages[size_t(index)] = std::move(images.front());
  Change();
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
  auto cells = Cut(image, mask, false, clNone);
  if (cells.empty()) return -1;
  const int first = Count();
  InsertImages(first, std::move(cells));
  return first;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
  auto cells = Cut(image, nullptr, true, maskColor);
  if (cells.empty()) return -1;
  const int first = Count();
  InsertImages(first, std::move(cells));
  return first;
}

void TCustomImageList::Insert(int index, TBitmap* image, TBitmap* mask) {
  if (index < 0 || index > Count()) throw EInvalidOperation(SImageIndexError);
  InsertImages(index, Cut(image, mask, false, clNone));
}

void TCustomImageList::InsertMasked(int index, TBitmap* image, TColor maskColor) {
  if (index < 0 || index > Count()) throw EInvalidOperation(SImageIndexError);
  InsertImages(index, Cut(image, nullptr, true, maskColor));
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
  ReplaceWith(index, Cut(image, mask, false, clNone));
}

void TCustomImageList::ReplaceMasked(int index, TBitmap* image, TColor maskColor) {
  ReplaceWith(index, Cut(image, nullptr, true, maskColor));
}

std::unique_ptr<TCustomImageList::TImage> TCustomImageList::CopyImage(const TImage& image) const {
  auto copy = std::make_unique<TImage>();
  copy->pixels = image.pixels;
  copy->drawn = image.drawn;
  copy->Finish();
  return copy;
}

int TCustomImageList::AddImages(TCustomImageList* source) {
  if (!source || source == this || source->Count() == 0) return -1;
  if (source->FWidth != FWidth || source->FHeight != FHeight) {
    // Cells of another size are drawn into cells of this size, top-left.
    BeginUpdate();
    const int first = Count();
    for (int i = 0; i < source->Count(); ++i) {
      TBitmap cell(FWidth, FHeight);
      cell.Canvas()->Brush()->SetColor(clFuchsia);
      cell.Canvas()->FillRect(sys::RECT{0, 0, FWidth, FHeight});
      source->Draw(cell.Canvas(), 0, 0, i, dsTransparent, true);
      AddMasked(&cell, clFuchsia);
    }
    EndUpdate();
    return first;
  }
  std::vector<std::unique_ptr<TImage>> copies;
  for (const auto& image : source->FImages)
    copies.push_back(CopyImage(*image));
  const int first = Count();
  InsertImages(first, std::move(copies));
  return first;
}

void TCustomImageList::Delete(int index) {
  if (index == -1) {
    Clear();
    return;
  }
  if (index < 0 || index >= Count()) throw EInvalidOperation(SImageIndexError);
  FImages.erase(FImages.begin() + index);
  Change();
}

void TCustomImageList::Clear() {
  FImages.clear();
  Change();
}

void TCustomImageList::Move(int curIndex, int newIndex) {
  if (curIndex < 0 || curIndex >= Count() || newIndex < 0 || newIndex >= Count())
    throw EInvalidOperation(SImageIndexError);
  if (curIndex == newIndex) return;
  auto image = std::move(FImages[size_t(curIndex)]);
  FImages.erase(FImages.begin() + curIndex);
  FImages.insert(FImages.begin() + newIndex, std::move(image));
  Change();
}

const sys::Surface* TCustomImageList::ImagePixels(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return &FImages[size_t(index)]->pixels;
}

const std::vector<uint8_t>* TCustomImageList::ImageMask(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return &FImages[size_t(index)]->drawn;
}

void TCustomImageList::Assign(TPersistent* source) {
  if (!source) {
    Clear();
    return;
  }
  if (auto* list = dynamic_cast<TCustomImageList*>(source)) {
    if (list == this) return;
    BeginUpdate();
    FImages.clear();
    FWidth = list->FWidth;
    FHeight = list->FHeight;
    FBkColor = list->FBkColor;
    FBlendColor = list->FBlendColor;
    FMasked = list->FMasked;
    FDrawingStyle = list->FDrawingStyle;
    for (const auto& image : list->FImages)
      FImages.push_back(CopyImage(*image));
    Change();
    EndUpdate();
    return;
  }
  TComponent::Assign(source);
}

void TCustomImageList::GetBitmap(int index, TBitmap* image) {
  if (!image || index < 0 || index >= Count()) return;
  image->SetSize(FWidth, FHeight);
  image->Canvas()->Brush()->SetColor(clWhite);
  image->Canvas()->FillRect(sys::RECT{0, 0, FWidth, FHeight});
  Draw(image->Canvas(), 0, 0, index);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
  Draw(canvas, x, y, index, FDrawingStyle, enabled);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle style,
                            bool enabled) {
  if (!canvas || index < 0 || index >= Count()) return;
  DoDraw(index, canvas, x, y, style, enabled);
}

void TCustomImageList::DoDraw(int index, TCanvas* canvas, int x, int y, TDrawingStyle style,
                              bool enabled) {
  TImage& image = *FImages[size_t(index)];
  sys::HDC dc = canvas->Handle();
  const bool transparent = FMasked && image.anyTransparent;

  if (!enabled) {
    // The embossed look: the image's dark pixels, in the highlight colour one
    // pixel down and right, then in the shadow colour in place.
    std::vector<uint8_t> ink(image.drawn.size(), 0);
    const auto pixels = image.pixels.Pixels();
    for (size_t i = 0; i < ink.size(); ++i)
      ink[i] = (image.drawn[i] || !FMasked) && Luminance(pixels[i]) < kDisabledInkLimit ? 1 : 0;
    for (const auto& [dx, color] : {std::pair{1, clBtnHighlight}, std::pair{0, clBtnShadow}}) {
      sys::Surface flat(FWidth, FHeight, sys::PixelFromColorRef(ColorToColorRef(color)));
      const sys::COLORREF key = ChooseKey(flat, ink);
      sys::UniqueGdi<sys::HBITMAP> bitmap(MakeKeyedBitmap(flat, ink, key));
      Blit(dc, x + dx, y + dx, bitmap.get(), true, key);
    }
    return;
  }

  if (transparent && FBkColor != clNone && style != dsTransparent) {
    sys::UniqueGdi<sys::HBRUSH> brush(sys::CreateSolidBrush(ColorToColorRef(FBkColor)));
    sys::FillRect(dc, sys::RECT{x, y, x + FWidth, y + FHeight}, brush.get());
  }

  const int blendParts =
      FBlendColor == clNone ? 0 : (style == dsSelected ? 2 : (style == dsFocus ? 1 : 0));
  if (blendParts == 0) {
    sys::HBITMAP keyed = image.Keyed(FMasked);
    Blit(dc, x, y, keyed, transparent, image.key);
    return;
  }
  sys::Surface blended = image.pixels;
  const sys::COLORREF with = ColorToColorRef(FBlendColor);
  for (sys::Pixel& p : blended.Pixels())
    p = Mix(p, with, blendParts);
  const std::vector<uint8_t> drawn =
      FMasked ? image.drawn : std::vector<uint8_t>(image.drawn.size(), 1);
  const sys::COLORREF key = ChooseKey(blended, drawn);
  sys::UniqueGdi<sys::HBITMAP> bitmap(MakeKeyedBitmap(blended, drawn, key));
  Blit(dc, x, y, bitmap.get(), transparent, key);
}

void TCustomImageList::RegisterChanges(TChangeLink* link) {
  if (!link) return;
  if (link->Sender() && link->Sender() != this) link->Sender()->UnRegisterChanges(link);
  link->SetSender(this);
  if (std::find(FLinks.begin(), FLinks.end(), link) == FLinks.end()) FLinks.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link) {
  const auto it = std::find(FLinks.begin(), FLinks.end(), link);
  if (it == FLinks.end()) return;
  FLinks.erase(it);
  link->SetSender(nullptr);
}

void TCustomImageList::BeginUpdate() {
  if (FUpdateCount++ == 0) Updating();
}

void TCustomImageList::EndUpdate() {
  if (FUpdateCount <= 0) {
    FUpdateCount = 0;
    return;
  }
  if (--FUpdateCount > 0) return;
  Updated();
  if (FChanged) Change();
}

void TCustomImageList::Change() {
  if (FUpdateCount > 0) {
    FChanged = true;
    return;
  }
  FChanged = false;
  // A handler may register or unregister links, or delete this list: each
  // link is told only while it is still registered, and nothing more happens
  // once the list is gone.
  const std::shared_ptr<bool> alive = FAlive;
  const std::vector<TChangeLink*> links = FLinks;
  for (TChangeLink* link : links) {
    if (std::find(FLinks.begin(), FLinks.end(), link) == FLinks.end()) continue;
    link->Change();
    if (!*alive) return;
  }
  if (OnChange) OnChange(this);
}

void TCustomImageList::WriteData(TStream& stream) const {
  stream.WriteU32(kDataMagic);
  stream.WriteI32(FWidth);
  stream.WriteI32(FHeight);
  stream.WriteI32(Count());
  for (const auto& image : FImages) {
    for (sys::Pixel p : image->pixels.Pixels())
      stream.WriteU32(p);
    stream.WriteBuffer(image->drawn.data(), int64_t(image->drawn.size()));
  }
}

void TCustomImageList::ReadData(TStream& stream) {
  TStreamRewindOnError rewind(stream);
  if (stream.ReadU32() != kDataMagic) throw EReadError(SInvalidImageListData);
  const int width = stream.ReadI32();
  const int height = stream.ReadI32();
  const int count = stream.ReadI32();
  if (width < 1 || height < 1 || width > kMaxCellSide || height > kMaxCellSide || count < 0)
    throw EReadError(SInvalidImageListData);
  const int64_t cellBytes = int64_t(width) * height * 5;
  if (cellBytes * count > stream.Size() - stream.Position())
    throw EReadError(SInvalidImageListData);
  std::vector<std::unique_ptr<TImage>> images;
  for (int i = 0; i < count; ++i) {
    auto image = std::make_unique<TImage>();
    image->pixels.Resize(width, height);
    for (sys::Pixel& p : image->pixels.Pixels())
      p = stream.ReadU32();
    image->drawn.assign(size_t(width) * size_t(height), 0);
    stream.ReadBuffer(image->drawn.data(), int64_t(image->drawn.size()));
    for (uint8_t& d : image->drawn)
      d = d ? 1 : 0;
    image->Finish();
    images.push_back(std::move(image));
  }
  FWidth = width;
  FHeight = height;
  FImages = std::move(images);
  Change();
}

void TCustomImageList::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Bitmap", [this](TStream& stream) { ReadData(stream); },
      [this](TStream& stream) { WriteData(stream); }, Count() > 0);
}

void TCustomImageList::DeclareProperties(TPropertyTable<TCustomImageList>& t) {
  t.AddColor("BkColor", &TCustomImageList::BkColor, &TCustomImageList::SetBkColor);
  t.AddColor("BlendColor", &TCustomImageList::BlendColor, &TCustomImageList::SetBlendColor);
  t.AddEnum("DrawingStyle", "TDrawingStyle", &TCustomImageList::DrawingStyle,
            &TCustomImageList::SetDrawingStyle,
            {"dsFocus", "dsSelected", "dsNormal", "dsTransparent"});
  t.Add("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight).Default = 16;
  t.Add("Masked", &TCustomImageList::Masked, &TCustomImageList::SetMasked).Default = 1;
  t.Add("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth).Default = 16;
}

void RegisterImageListClasses() {
  RegisterClass(TCustomImageList::StaticClass());
  RegisterClass(TDragImageList::StaticClass());
  RegisterClass(TImageList::StaticClass());
}

// ---- TDragImageList -----------------------------------------------------------------

bool TDragImageList::SetDragImage(int index, int hotSpotX, int hotSpotY) {
  if (index < 0 || index >= Count()) return false;
  FDragIndex = index;
  FDragHotspot = sys::POINT{hotSpotX, hotSpotY};
  return true;
}

bool TDragImageList::BeginDrag(int x, int y) {
  if (FDragging || FDragIndex < 0 || FDragIndex >= Count()) return false;
  FDragging = true;
  FDragPos = sys::POINT{x, y};
  return true;
}

bool TDragImageList::DragMove(int x, int y) {
  if (!FDragging) return false;
  FDragPos = sys::POINT{x, y};
  return true;
}

bool TDragImageList::EndDrag() {
  if (!FDragging) return false;
  FDragging = false;
  return true;
}

} // namespace zel
