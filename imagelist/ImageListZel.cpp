// TImageListZel: the list rebuilt from resource strips and CustomImg.

#include "imagelist/ImageListZel.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Filer.h"

namespace zel {

TImageListZel::TImageListZel(TComponent* owner) : TCustomImg(owner) {
  FCustomImg = new TCustomImg(this);
  FCustomImg->SetName("CustomImg");
  FCustomImg->SetSubComponent(true);
  FResourceNames = std::make_unique<TResourceNames>(this);
  RebuildImages();
}

TImageListZel::~TImageListZel() {
  Destroying();
  // The items go before the list they report to, and CustomImg before the
  // members that point at it.
  FResourceNames.reset();
  FreeAndNil(FCustomImg);
}

void TImageListZel::Assign(TPersistent* source) {
  if (source == this) return;
  auto* other = dynamic_cast<TImageListZel*>(source);
  auto* list = dynamic_cast<TCustomImageList*>(source);
  if (source && !list) {
    TCustomImg::Assign(source);
    return;
  }
  BeginUpdate();
  try {
    if (!source) {
      FResourceNames->Clear();
      FCustomImg->Clear();
    } else if (other) {
      Clear();
      SetSize(other->Width(), other->Height());
      SetBkColor(other->BkColor());
      SetBlendColor(other->BlendColor());
      FResourceNames->Assign(other->FResourceNames.get());
      FCustomImg->Assign(other->FCustomImg);
    } else {
      FResourceNames->Clear();
      FCustomImg->Assign(list);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  Change();
}

void TImageListZel::DefineProperties(TFiler& filer) {
  TCustomImg::DefineProperties(filer);
  filer.DefineProperty(
      "DirName",
      [this](TReader& reader) {
        try {
          FDirName = reader.ReadString();
        } catch (const Exception&) {
          FDirName.clear();
        }
      },
      [this](TWriter& writer) { writer.WriteString(FDirName); }, !FDirName.empty());
}

void TImageListZel::Loaded() {
  TCustomImg::Loaded();
  Change();
}

void TImageListZel::DelayedChange() {
  RebuildImages();
  TCustomImg::DelayedChange();
}

bool TImageListZel::RebuildImages() {
  if (UpdateCounter() > 0 || FRebuilding) return false;
  FRebuilding = true;
  bool result = false;
  try {
    result = BuildImages();
  } catch (...) {
    FRebuilding = false;
    try {
      StopTimer();
    } catch (const Exception&) {
      // The first failure is the one worth reporting.
    }
    throw;
  }
  FRebuilding = false;
  // The rebuild's own EndUpdate scheduled a change notification; whoever
  // asked for the rebuild reports it.
  StopTimer();
  return result;
}

bool TImageListZel::BuildImages() {
  const TComponentState state = ComponentState();
  if (state.Contains(csLoading) || state.Contains(csDestroying) || state.Contains(csUpdating))
    return false;
  if (Width() <= 0 || Height() <= 0 || !FResourceNames || !FCustomImg) return false;

  int total = FCustomImg->Count();
  for (int i = 0; i < FResourceNames->Count(); ++i)
    total += FResourceNames->Items(i)->GliphCount();
  if (total <= 0) {
    if (Count() == 0) return false;
    Clear();
    return true;
  }

  BeginUpdate();
  try {
    Clear();
    for (int i = 0; i < FResourceNames->Count(); ++i) {
      TResourceName* item = FResourceNames->Items(i);
      std::unique_ptr<TBitmap> fromFile;
      TBitmap* strip = ItemStrip(item, fromFile);
      if (strip) {
        strip->SetTransparentColor(item->TransparentColor());
        // clDefault leaves the automatic mode: the bottom-left pixel.
        strip->SetTransparent(item->TransparentColor() != clNone);
      }
      if (strip)
        AddStrip(Count(), strip, item->Width(), item->Height(), item->GliphCount());
      else
        AddPlaceholders(item);
    }
    AddCustomImages();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return true;
}

TBitmap* TImageListZel::ItemStrip(TResourceName* item, std::unique_ptr<TBitmap>& fromFile) {
  if (item->Name().empty()) return nullptr;
  if (item->UsesResourceFile()) {
    fromFile = std::make_unique<TBitmap>();
    if (!item->LoadStrip(fromFile.get(), false)) return nullptr;
    fromFile->SetPixelFormat(pf32bit);
    return fromFile.get();
  }
  std::unique_ptr<TBitmap>& own = FOwnStrips[item->ResolveResourceName()];
  if (!own) {
    auto loaded = std::make_unique<TBitmap>();
    if (!item->LoadStrip(loaded.get(), false)) return nullptr;
    loaded->SetPixelFormat(pf32bit);
    own = std::move(loaded);
  }
  return own.get();
}

void TImageListZel::AddPlaceholders(TResourceName* item) {
  // Numbered cells that name their family, so that a strip that could not
  // be found is seen at once and the indexes after it stay in place.
  TBitmap cell;
  cell.SetPixelFormat(pf32bit);
  cell.SetSize((item->Width() * 3) >> 1, (item->Height() * 3) >> 1);
  cell.SetTransparentColor(clBtnFace);
  TCanvas* canvas = cell.Canvas();
  canvas->Brush()->SetColor(clBtnFace);
  const sys::RECT all{0, 0, cell.Width(), cell.Height()};
  for (int i = 0; i < item->GliphCount(); ++i) {
    canvas->FillRect(all);
    canvas->Font()->SetName("Small Fonts");
    canvas->Font()->SetColor(clWindowText);
    canvas->Font()->SetSize(7);
    canvas->TextOut(0, 0, Format("%d", i));
    canvas->TextOut(0, 8, item->Name());
    PutImage(Count(), &cell, all);
  }
}

void TImageListZel::AddCustomImages() {
  if (FCustomImg->Count() == 0) return;
  TBitmap cell;
  cell.SetPixelFormat(pf32bit);
  cell.SetTransparent(false);
  cell.SetSize(FCustomImg->Width(), FCustomImg->Height());
  TCanvas* canvas = cell.Canvas();
  canvas->Brush()->SetColor(GetBackColor());
  const sys::RECT all{0, 0, cell.Width(), cell.Height()};
  for (int i = 0; i < FCustomImg->Count(); ++i) {
    canvas->FillRect(all);
    FCustomImg->Draw(canvas, 0, 0, i, true);
    PutImage(Count(), &cell, all);
  }
}

void TImageListZel::DeclareProperties(TPropertyTable<TImageListZel>& t) {
  t.AddReadOnly("CustomImg", &TImageListZel::CustomImg);
  t.Add("ResourceNames", &TImageListZel::ResourceNames, &TImageListZel::SetResourceNames);
}

} // namespace zel
