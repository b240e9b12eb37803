// TResourceName and TResourceNames: the strip families of a TImageListZel,
// the module files they may come from and the choice of strip by size.

#include <algorithm>
#include <climits>
#include <string_view>

#include "framework/core/Exceptions.h"
#include "framework/core/FileUtils.h"
#include "framework/core/StrUtils.h"
#include "framework/core/Strings.h"
#include "imagelist/ImageListZel.h"
#include "imagelist/ImageListZelConsts.h"

namespace zel {

bool ForceResourceFiles = false;

void InitializeImageListZel() {
  ForceResourceFiles = false;
  // Stored forms name these classes; reading them back creates them by name.
  RegisterClass(TCustomImg::StaticClass());
  RegisterClass(TImageListZel::StaticClass());
}

void FinalizeImageListZel() {
  UnRegisterClass(TImageListZel::StaticClass());
  UnRegisterClass(TCustomImg::StaticClass());
  ForceResourceFiles = false;
}

void SplitSizeSuffix(const std::string& Text, std::string& Base, int& Number) {
  const std::string text = Trim(Text);
  size_t digits = 0;
  while (digits < 3 && digits < text.size() && text[text.size() - 1 - digits] >= '0' &&
         text[text.size() - 1 - digits] <= '9')
    ++digits;
  const size_t underscore = text.size() - digits;
  if (underscore > 0 && text[underscore - 1] == '_') {
    Number = digits == 0 ? 0 : StrToIntDef(std::string_view(text).substr(underscore), -1);
    Base = text.substr(0, underscore - 1);
  } else {
    Base = text;
    Number = 0;
  }
}

// ---- TResourceName ------------------------------------------------------------------------

TResourceName::TResourceName(TCollection* collection) : TCollectionItem(collection) {}

TResourceName::~TResourceName() {
  CloseResourceFile(false);
}

TImageListZel* TResourceName::ImageList() const {
  auto* names = dynamic_cast<TResourceNames*>(Collection());
  return names ? names->ImageListZel() : nullptr;
}

void TResourceName::Assign(TPersistent* source) {
  if (!source) {
    FName.clear();
    FFileName.clear();
    return;
  }
  auto* other = dynamic_cast<TResourceName*>(source);
  if (!other) {
    TCollectionItem::Assign(source);
    return;
  }
  const std::string name = UpperCase(Trim(other->FName));
  if (name == FName && other->FWidth == FWidth && other->FHeight == FHeight &&
      other->FGliphCount == FGliphCount && other->FFileName == FFileName &&
      other->FTransparentColor == FTransparentColor && other->FAutoSize == FAutoSize &&
      other->FFileNameDOM == FFileNameDOM)
    return;
  // A module opened from the old file must not serve the new one.
  if (other->FFileName != FFileName || other->FFileNameDOM != FFileNameDOM)
    CloseResourceFile(false);
  FName = name;
  FWidth = other->FWidth;
  FHeight = other->FHeight;
  FGliphCount = other->FGliphCount;
  FFileName = other->FFileName;
  FTransparentColor = other->FTransparentColor;
  FAutoSize = other->FAutoSize;
  FFileNameDOM = other->FFileNameDOM;
  Changed(false);
}

std::string TResourceName::GetDisplayName() const {
  std::string result = FName.empty() ? TCollectionItem::GetDisplayName() : FName;
  if (!result.empty()) result += ' ';
  return result + Format("(%dx%d)[%d]", FWidth, FHeight, FGliphCount);
}

void TResourceName::SetName(const std::string& value) {
  const std::string name = UpperCase(Trim(value));
  if (name == FName) return;
  FName = name;
  Changed(false);
}

void TResourceName::SetWidth(uint8_t value) {
  if (value == 0 || value == FWidth) return;
  FWidth = value;
  Changed(false);
}

void TResourceName::SetHeight(uint8_t value) {
  if (value == 0 || value == FHeight) return;
  FHeight = value;
  Changed(false);
}

void TResourceName::SetGliphCount(uint16_t value) {
  if (value == FGliphCount) return;
  FGliphCount = value;
  // The images of every later item move, so the whole list changes.
  Changed(true);
}

void TResourceName::SetTransparentColor(TColor value) {
  if (value == FTransparentColor) return;
  FTransparentColor = value;
  Changed(false);
}

void TResourceName::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  ResolveResourceName();
  Changed(false);
}

void TResourceName::SetFileName(const std::string& value) {
  if (value == FFileName) return;
  FFileName = value;
  CloseResourceFile(true);
  Changed(false);
}

void TResourceName::SetFileNameDOM(bool value) {
  if (value == FFileNameDOM) return;
  FFileNameDOM = value;
  CloseResourceFile(true);
  Changed(true);
}

// ---- module files and strips --------------------------------------------------------------

bool TResourceName::UsesResourceFile() const {
  TImageListZel* list = ImageList();
  const bool designing = list && list->ComponentState().Contains(csDesigning);
  return !FFileName.empty() && (!FFileNameDOM || ForceResourceFiles || designing);
}

bool TResourceName::OpenResourceFile(bool raiseErrors) {
  if (!UsesResourceFile()) {
    CloseResourceFile(raiseErrors);
    return true;
  }
  if (FModule) return true;
  if (!FileExists(FFileName)) {
    if (raiseErrors) throw EOSError(Format(SZelFileNotFound, FFileName), sys::ERROR_FILE_NOT_FOUND);
    return false;
  }
  FModule = sys::LoadLibraryEx(FFileName, nullptr, sys::LOAD_LIBRARY_AS_DATAFILE);
  if (FModule) return true;
  if (raiseErrors) RaiseLastOSError();
  return false;
}

void TResourceName::CloseResourceFile(bool raiseErrors) {
  if (!FModule) return;
  sys::HMODULE module = FModule;
  FModule = nullptr;
  if (!sys::FreeLibrary(module) && raiseErrors) RaiseLastOSError();
}

bool TResourceName::LoadStrip(TBitmap* bitmap, bool raiseErrors) {
  if (!OpenResourceFile(raiseErrors)) return false;
  try {
    const std::string name = ResolveResourceName();
    if (bitmap) bitmap->LoadFromResourceName(FModule, name);
  } catch (const Exception&) {
    CloseResourceFile(false);
    if (raiseErrors) throw;
    return true;
  }
  CloseResourceFile(raiseErrors);
  return true;
}

std::string TResourceName::ResolveResourceName() {
  if (FName.empty() || !FAutoSize) return FName;
  std::string base;
  int ignored = 0;
  SplitSizeSuffix(FName, base, ignored);
  TImageListZel* list = ImageList();
  const int height = list ? list->Height() : 0;
  if (base.empty() || height <= 0) return FName;

  TStringList names;
  ListBitmapResources(&names);
  int above = INT_MAX; // the smallest size not below the height
  int largest = -1;
  for (int i = 0; i < names.Count(); ++i) {
    std::string otherBase;
    int number = 0;
    SplitSizeSuffix(names[i], otherBase, number);
    // A size beyond what a cell side can hold names no strip of cells.
    if (otherBase != base || number > 255) continue;
    if (number >= height) above = std::min(above, number);
    largest = std::max(largest, number);
  }
  const int choice = above != INT_MAX ? above : std::max(largest, 0);
  if (choice <= 0) return base;
  FWidth = uint8_t(choice);
  FHeight = uint8_t(choice);
  return base + "_" + std::to_string(choice);
}

void TResourceName::ListBitmapResources(TStrings* list) {
  // A module file that is already open (the strip is being loaded from it)
  // stays open for the caller; only one opened here is closed again.
  const bool wasOpen = FModule != nullptr;
  OpenResourceFile(true);
  try {
    TStringList found;
    sys::EnumResourceNames(FModule, sys::RT_BITMAP, [&found](const char* name) {
      found.Add(name);
      return true;
    });
    if (list) {
      list->BeginUpdate();
      for (int i = 0; i < found.Count(); ++i)
        if (list->IndexOf(found[i]) < 0) list->Add(found[i]);
      list->EndUpdate();
    }
  } catch (...) {
    if (!wasOpen) CloseResourceFile(false);
    throw;
  }
  if (!wasOpen) CloseResourceFile(true);
}

void TResourceName::DeclareProperties(TPropertyTable<TResourceName>& t) {
  t.Add("Name", &TResourceName::Name, &TResourceName::SetName);
  t.Add("Width", "Byte", &TResourceName::Width, &TResourceName::SetWidth).Default = 24;
  t.Add("Height", "Byte", &TResourceName::Height, &TResourceName::SetHeight).Default = 24;
  t.Add("GliphCount", "Word", &TResourceName::GliphCount, &TResourceName::SetGliphCount).Default =
      8;
  t.AddColor("TransparentColor", &TResourceName::TransparentColor,
             &TResourceName::SetTransparentColor)
      .Default = 0xFF00FF;
  t.Add("AutoSize", &TResourceName::AutoSize, &TResourceName::SetAutoSize).Default = 1;
  t.Add("FileName", &TResourceName::FileName, &TResourceName::SetFileName);
  t.Add("FileNameDOM", &TResourceName::FileNameDOM, &TResourceName::SetFileNameDOM).Default = 1;
}

// ---- TResourceNames -----------------------------------------------------------------------

TResourceNames::TResourceNames(TPersistent* owner)
    : TOwnedCollection(owner, TResourceName::StaticClass()) {}

TImageListZel* TResourceNames::ImageListZel() const {
  return dynamic_cast<TImageListZel*>(Owner());
}

void TResourceNames::Assign(TPersistent* source) {
  if (!source) {
    Clear();
    return;
  }
  TOwnedCollection::Assign(source);
}

void TResourceNames::Update(TCollectionItem* item) {
  if (TImageListZel* list = ImageListZel(); list && UpdateCount() == 0) list->Change();
}

void TResourceNames::DeclareProperties(TPropertyTable<TResourceNames>& t) {
  t.AddReadOnly("ImageListZel", &TResourceNames::ImageListZel);
}

} // namespace zel
