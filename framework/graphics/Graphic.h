#pragma once
// TGraphic: the abstract picture that a canvas can draw, with a size, a
// transparency flag, a palette handle, equality and stream storage.

#include <string>

#include "framework/core/Exceptions.h"
#include "framework/core/Persistent.h"
#include "framework/graphics/GraphicsTypes.h"
#include "platform/Types.h"

namespace zel {

class TCanvas;
class TStream;

// A picture that cannot be read, and an operation a picture cannot do.
ZEL_EXCEPTION(EInvalidGraphic, Exception);
ZEL_EXCEPTION(EInvalidGraphicOperation, Exception);

// Clipboard formats: no clipboard exists in this system, so the clipboard
// operations of a graphic report that they cannot be done.
using TClipboardFormat = uint16_t;

class TGraphic : public TPersistent {
  ZEL_CLASS(TGraphic, TPersistent)
public:
  TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  // Draws the picture into r of the canvas (stretched when r differs from
  // the picture's size).  Callers normally use TCanvas::Draw/StretchDraw.
  virtual void Draw(TCanvas* canvas, const sys::RECT& r) = 0;

  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int width) = 0;
  virtual void SetHeight(int height) = 0;
  // Bitmaps resize in one step; others set the width, then the height.
  virtual void SetSize(int width, int height) {
    SetWidth(width);
    SetHeight(height);
  }

  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool value);
  virtual HPALETTE Palette() const { return 0; }
  virtual void SetPalette(HPALETTE) {}

  // The same class and the same saved bytes.
  virtual bool Equals(TGraphic* other);

  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) = 0;
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path);
  // There is no clipboard: both raise EInvalidGraphicOperation.
  virtual void LoadFromClipboardFormat(TClipboardFormat format, uintptr_t data, HPALETTE palette);
  virtual void SaveToClipboardFormat(TClipboardFormat& format, uintptr_t& data, HPALETTE& palette);

  bool Modified() const { return FModified; }
  void SetModified(bool value);

  TNotifyEvent OnChange;

protected:
  // Marks the graphic modified and raises OnChange.
  virtual void Changed(TObject* sender = nullptr);

private:
  bool FTransparent = false;
  bool FModified = false;
};

} // namespace zel
