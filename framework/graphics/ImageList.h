#pragma once
// Image lists: images of one size, each with a mask, drawn enabled or
// disabled, with change links that tell their users of every change, and a
// handle that answers the image count through ImageList_GetImageCount.

#include <memory>
#include <vector>

#include "framework/core/Component.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Colors.h"

namespace zel {

class TCustomImageList;
class TStream;

// The handle of an image list: an identity that is never reused while the
// program runs, so a stale handle finds no list instead of another one.
struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;

// The number of images of the list, 0 for a handle that names no list.
int ImageList_GetImageCount(HIMAGELIST list);
// The cell size; FALSE for a handle that names no list.
sys::BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// The list a handle names, or nullptr.
TCustomImageList* ImageListFromHandle(HIMAGELIST list);

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };

// Tells its owner when the image list it is registered with changes.  A link
// unregisters itself when it is deleted; a list that is deleted first clears
// its links' Sender.
class TChangeLink : public TObject {
  ZEL_CLASS(TChangeLink, TObject)
public:
  TChangeLink() = default;
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;
  ~TChangeLink() override;

  TCustomImageList* Sender() const { return FSender; }
  void SetSender(TCustomImageList* sender) { FSender = sender; }
  // Raises OnChange with the sender.
  virtual void Change();

  TNotifyEvent OnChange;

private:
  TCustomImageList* FSender = nullptr;
};

class TCustomImageList : public TComponent {
  ZEL_CREATABLE_CLASS(TCustomImageList, TComponent)
public:
  explicit TCustomImageList(TComponent* owner);
  TCustomImageList(int width, int height, TComponent* owner);
  ~TCustomImageList() override;

  // From another image list: its size, colours, style and images, with one
  // change; from nil: cleared.
  void Assign(TPersistent* source) override;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // A change of size empties the list.  Sides below 1 are refused.
  void SetWidth(int width) { SetSize(width, FHeight); }
  void SetHeight(int height) { SetSize(FWidth, height); }
  void SetSize(int width, int height);
  int Count() const { return int(FImages.size()); }

  // The colour drawn under transparent pixels; clNone draws them
  // transparently.
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor color);
  // The colour images are blended with in the focus (25 %) and selected
  // (50 %) styles; clNone blends nothing.
  TColor BlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor color);
  // Without masks every pixel of an image added afterwards is drawn.
  bool Masked() const { return FMasked; }
  void SetMasked(bool value);
  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle style);

  // Adds the cells of image (cut into pieces of Width, left to right) with
  // the mask's cells: black mask pixels are drawn, others are transparent; a
  // missing mask draws everything.  Returns the index of the first image
  // added, -1 when nothing was added.
  int Add(TBitmap* image, TBitmap* mask);
  // The same, with the pixels of maskColor transparent (clDefault: the
  // image's transparent colour; clNone: none).
  int AddMasked(TBitmap* image, TColor maskColor);
  int AddImages(TCustomImageList* source);
  void Insert(int index, TBitmap* image, TBitmap* mask);
  void InsertMasked(int index, TBitmap* image, TColor maskColor);
  // Replaces one image with the first cell of image.
  void Replace(int index, TBitmap* image, TBitmap* mask);
  void ReplaceMasked(int index, TBitmap* image, TColor maskColor);
  // -1 deletes every image.
  void Delete(int index);
  void Clear();
  void Move(int curIndex, int newIndex);

  // Draws image index with its top-left at (x, y).  A disabled image is
  // drawn embossed: its dark pixels in the button highlight colour one pixel
  // down and right, then in the button shadow colour in place.  An index
  // outside the list draws nothing.
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
  void Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle style, bool enabled);
  // Sizes image to a cell and draws image index on white.
  void GetBitmap(int index, TBitmap* image);
  // The pixels and the opacity (1 = drawn) of an image, top row first.
  const sys::Surface* ImagePixels(int index) const;
  const std::vector<uint8_t>* ImageMask(int index) const;

  // Made on first request, unique for the program's life.
  HIMAGELIST Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  void RegisterChanges(TChangeLink* link);
  void UnRegisterChanges(TChangeLink* link);
  // A counting bracket: the changes inside it are told once, at the end.
  // Descendants with a bracket of their own override both, so that callers
  // holding them as a plain image list open that bracket.
  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // The images as bytes, for component storage.  ReadData raises EReadError
  // for data that is not an image list and then keeps the list as it was.
  virtual void WriteData(TStream& stream) const;
  virtual void ReadData(TStream& stream);
  // Stores the images beside the published properties as "Bitmap".
  void DefineProperties(TFiler& filer) override;

  TNotifyEvent OnChange;

  static void DeclareProperties(TPropertyTable<TCustomImageList>& t);

protected:
  // Called on every change; outside an update bracket it tells every
  // registered link and raises OnChange.  Descendants override it to defer
  // or filter the notification and call this one to deliver it.
  virtual void Change();
  virtual void DoDraw(int index, TCanvas* canvas, int x, int y, TDrawingStyle style, bool enabled);

private:
  struct TImage;
  std::vector<std::unique_ptr<TImage>> Cut(TBitmap* image, TBitmap* mask, bool useColorKey,
                                           TColor maskColor) const;
  void InsertImages(int index, std::vector<std::unique_ptr<TImage>> images);
  void ReplaceWith(int index, std::vector<std::unique_ptr<TImage>> images);
  std::unique_ptr<TImage> CopyImage(const TImage& image) const;

  int FWidth = 16;
  int FHeight = 16;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  bool FMasked = true;
  TDrawingStyle FDrawingStyle = dsNormal;
  std::vector<std::unique_ptr<TImage>> FImages;
  std::vector<TChangeLink*> FLinks;
  HIMAGELIST FHandle = nullptr;
  int FUpdateCount = 0;
  bool FChanged = false;
  // Cleared by the destructor, so that a notification loop notices when a
  // handler deleted the list.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// An image list that can also stand for a dragged image.  There is no
// drag-image window in this system: the drag state is kept so that callers
// can ask for it.
class TDragImageList : public TCustomImageList {
  ZEL_CREATABLE_CLASS(TDragImageList, TCustomImageList)
public:
  explicit TDragImageList(TComponent* owner) : TCustomImageList(owner) {}
  TDragImageList(int width, int height, TComponent* owner)
      : TCustomImageList(width, height, owner) {}

  // False for an index outside the list.
  bool SetDragImage(int index, int hotSpotX, int hotSpotY);
  int DragIndex() const { return FDragIndex; }
  sys::POINT DragHotspot() const { return FDragHotspot; }
  bool BeginDrag(int x, int y);
  bool DragMove(int x, int y);
  bool EndDrag();
  bool Dragging() const { return FDragging; }
  sys::POINT DragPosition() const { return FDragPos; }

private:
  int FDragIndex = 0;
  sys::POINT FDragHotspot{};
  sys::POINT FDragPos{};
  bool FDragging = false;
};

// Registers the image-list classes by name, so that stored forms can create
// them (called at program start-up, before forms are read).
void RegisterImageListClasses();

class TImageList : public TDragImageList {
  ZEL_CREATABLE_CLASS(TImageList, TDragImageList)
public:
  explicit TImageList(TComponent* owner) : TDragImageList(owner) {}
  TImageList(int width, int height, TComponent* owner) : TDragImageList(width, height, owner) {}
};

} // namespace zel
