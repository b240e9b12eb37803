#pragma once
// The glyph image list: TImageListZel rebuilds every image at its current
// cell size from bitmap strips held as named resources (one TResourceName per
// family of strips that differ only by a size suffix, such as STANDARTBTN_16,
// STANDARTBTN_24 and STANDARTBTN_32), followed by the images of an ordinary
// embedded list, CustomImg.  Changes are coalesced: every change restarts a
// 40 ms one-shot timer, and only when it fires is the list rebuilt and its
// users told.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "framework/core/Collection.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/ImageList.h"
#include "platform/resource/Resource.h"
#include "speedbutton/InternalTimer.h"

namespace zel {

class TImageListZel;
class TResourceNames;
class TStrings;

// When true every FileName applies as if the list were being designed.
extern bool ForceResourceFiles;

// Unit start-up and shut-down, run explicitly by the program's start.
void InitializeImageListZel();
void FinalizeImageListZel();

// Splits a trailing size suffix of at most three digits after an underscore:
// "STANDARTBTN_24" gives ("STANDARTBTN", 24), "STANDARTBTN" gives
// ("STANDARTBTN", 0), "ICON_1024" gives ("ICON_1024", 0).  The text is
// trimmed first.
void SplitSizeSuffix(const std::string& Text, std::string& Base, int& Number);
// The factor that fits a cell of CellWidth x CellHeight into Width x Height
// keeping its proportions; 0 for an empty cell, exactly 1 within 1 % of it.
double FitScale(int Width, int Height, int CellWidth, int CellHeight);

// An image list that composes its images from cells of other bitmaps,
// scaled and centred to its own cell size, with an update bracket that keeps
// its work bitmaps for the whole bracket and a change notification deferred
// by 40 ms.
class TCustomImg : public TDragImageList {
  ZEL_CREATABLE_CLASS(TCustomImg, TDragImageList)
public:
  // The quiet time after the last change before the list acts on it.
  static constexpr int kChangeDelay = 40;

  explicit TCustomImg(TComponent* owner);
  ~TCustomImg() override;

  // nil: empty, colours clNone, masked, Tag 0, 16 x 16.  Another TCustomImg:
  // its size, colours and images.  Else the framework list's copy.
  void Assign(TPersistent* source) override;

  // A counting bracket.  The first BeginUpdate marks the list as updating
  // and makes the work bitmaps; the last EndUpdate frees them and issues the
  // change notification.  An EndUpdate without a BeginUpdate does nothing.
  void BeginUpdate() override;
  void EndUpdate() override;
  int UpdateCounter() const { return FUpdateCount; }

  // Starts, or restarts, the 40 ms one-shot timer that calls DelayedChange.
  void Change() override;
  // What a change comes to once the burst is over: a CustomImg tells its
  // owning TImageListZel; a list that is neither loading, destroying nor
  // updating tells its change links and raises OnChange.
  virtual void DelayedChange();

  // Cuts strip into cells of cellWidth x cellHeight, row by row from the top,
  // and puts them from image index on.  count > 0 limits the cells taken;
  // images missing beyond the strip's cells become crossed boxes; count < 0
  // puts the whole strip as one image.  Returns the number of images placed.
  int AddStrip(int index, TBitmap* strip, int cellWidth, int cellHeight, int count);
  // Fits rect of source into a cell of the list (scaled, centred) and puts
  // it at index: replacing that image when it exists, else appended.  The
  // pixels of source's transparent colour and of the background colour
  // become transparent.
  void PutImage(int index, TBitmap* source, const sys::RECT& rect);
  // The colour under transparent pixels while composing, resolved to RGB.
  TColor GetBackColor() const;

  // The deferring timer; nil until the first change.
  TInternalTimer* Timer() const { return FTimer.get(); }

protected:
  // Stops a pending change notification.
  void StopTimer();
  // Neither loading, destroying nor updating, and outside its own bracket.
  bool Quiet() const;

private:
  struct TScratch;
  void FreeWorkBitmaps();
  void StoreImage(int index, TBitmap* image, TColor back);

  int32_t FUpdateCount = 0;
  // The cell, scaled-cell and centred-cell work bitmaps.
  std::unique_ptr<TBitmap> FCellBitmap;
  std::unique_ptr<TBitmap> FScaledBitmap;
  std::unique_ptr<TBitmap> FCenteredBitmap;
  std::unique_ptr<TInternalTimer> FTimer;
};

// One family of strips.
class TResourceName : public TCollectionItem {
  ZEL_CREATABLE_CLASS_ARG(TResourceName, TCollectionItem, TCollection)
public:
  explicit TResourceName(TCollection* collection);
  // Releases a module file still open, without raising.
  ~TResourceName() override;

  // nil empties Name and FileName; another TResourceName copies all eight
  // settings (one change, none when they are equal already).
  void Assign(TPersistent* source) override;
  // "Name (WxH)[GliphCount]", the class's display name standing in for an
  // empty Name.
  std::string GetDisplayName() const override;

  const std::string& Name() const { return FName; }
  // Stored trimmed and upper-case.
  void SetName(const std::string& value);
  uint8_t Width() const { return FWidth; }
  void SetWidth(uint8_t value); // 0 is refused
  uint8_t Height() const { return FHeight; }
  void SetHeight(uint8_t value); // 0 is refused
  uint16_t GliphCount() const { return FGliphCount; }
  void SetGliphCount(uint16_t value);
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor value);
  bool AutoSize() const { return FAutoSize; }
  // Resolves the strip at once, which may change Width and Height.
  void SetAutoSize(bool value);
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& value);
  bool FileNameDOM() const { return FFileNameDOM; }
  void SetFileNameDOM(bool value);
  // The module file opened from FileName while it is in use, else nil.
  sys::HMODULE Module() const { return FModule; }

  // The list this item belongs to, or nil.
  TImageListZel* ImageList() const;

  // True when FileName applies: the strips come from that module file
  // rather than from the program's own resources.
  bool UsesResourceFile() const;
  // Opens the module file when FileName applies (closing it when not).
  // False, or with raiseErrors an EOSError, when it applies but cannot be
  // used.
  bool OpenResourceFile(bool raiseErrors);
  void CloseResourceFile(bool raiseErrors);
  // Loads the strip that fits the list's Height into bitmap.  False when the
  // module file cannot be used; a strip that cannot be loaded leaves the
  // bitmap empty (or raises with raiseErrors).
  bool LoadStrip(TBitmap* bitmap, bool raiseErrors);
  // The resource name of the strip to use: with AutoSize the family member
  // whose size suffix is the smallest not below the list's Height (else the
  // largest), whose size then becomes Width and Height.
  std::string ResolveResourceName();
  // Adds the name of every bitmap resource of the source module to list
  // (each once).  Raises when a FileName applies but cannot be used.
  void ListBitmapResources(TStrings* list);

  static void DeclareProperties(TPropertyTable<TResourceName>& t);

private:
  std::string FName;
  uint8_t FWidth = 24;
  uint8_t FHeight = 24;
  uint16_t FGliphCount = 8;
  TColor FTransparentColor = 0xFF00FF;
  bool FAutoSize = true;
  std::string FFileName;
  sys::HMODULE FModule = nullptr;
  bool FFileNameDOM = true;
};

// The strips of a TImageListZel.
class TResourceNames : public TOwnedCollection {
  ZEL_CLASS(TResourceNames, TOwnedCollection)
public:
  explicit TResourceNames(TPersistent* owner);

  // The owner when it is a TImageListZel, else nil.
  TImageListZel* ImageListZel() const;
  TResourceName* Items(int index) const { return ItemsAs<TResourceName>(index); }
  TResourceName* Add() { return static_cast<TResourceName*>(TCollection::Add()); }

  // nil empties the collection.
  void Assign(TPersistent* source) override;
  // Any change of an item or of the collection is a change of the list.
  void Update(TCollectionItem* item) override;

  static void DeclareProperties(TPropertyTable<TResourceNames>& t);
};

class TImageListZel : public TCustomImg {
  ZEL_CREATABLE_CLASS(TImageListZel, TCustomImg)
public:
  explicit TImageListZel(TComponent* owner);
  ~TImageListZel() override;

  void Assign(TPersistent* source) override;
  // Adds "DirName" to what is stored.
  void DefineProperties(TFiler& filer) override;
  // Builds the list 40 ms after it has been read.
  void Loaded() override;
  // The images are rebuilt, never stored.
  void WriteData(TStream& stream) const override {}
  void ReadData(TStream& stream) override {}

  // Rebuilds every image now, then runs the inherited deferred change.
  void DelayedChange() override;
  // Rebuilds every image from the strips and CustomImg.  True when the list
  // was rebuilt or cleared; nothing happens inside an update bracket.
  virtual bool RebuildImages();

  TCustomImg* CustomImg() const { return FCustomImg; }
  TResourceNames* ResourceNames() const { return FResourceNames.get(); }
  void SetResourceNames(TResourceNames* value) { FResourceNames->Assign(value); }
  const std::string& DirName() const { return FDirName; }
  void SetDirName(const std::string& value) { FDirName = value; }

  // The framework list's change event, under the name this list publishes.
  TNotifyEvent& onChange = OnChange;

  static void DeclareProperties(TPropertyTable<TImageListZel>& t);

private:
  bool BuildImages();
  void AddPlaceholders(TResourceName* item);
  void AddCustomImages();
  // The strip of an item in 32-bit pixels, or nullptr when it cannot be
  // loaded.  A strip of a resource file is read into fromFile every time;
  // one of the program's own resources, which never change while it runs,
  // is decoded once and kept in FOwnStrips by its resource name.
  TBitmap* ItemStrip(TResourceName* item, std::unique_ptr<TBitmap>& fromFile);

  bool FRebuilding = false;
  std::map<std::string, std::unique_ptr<TBitmap>> FOwnStrips;
  TCustomImg* FCustomImg = nullptr;
  std::unique_ptr<TResourceNames> FResourceNames;
  std::string FDirName;
};

} // namespace zel
