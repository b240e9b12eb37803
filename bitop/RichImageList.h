#pragma once
// TRichImageList: a graphic that renders a whole button face (background,
// border of one of four kinds, glyph and caption) in a given state, caches
// the result in the module-wide face cache under the face's descriptor, and
// draws it with an overall opacity.

#include <string>
#include <string_view>

#include "bitop/BitOp.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Graphic.h"
#include "framework/graphics/ImageList.h"

namespace zel {

// Offsets of the fields in the descriptor's key bytes (little-endian).
namespace FaceField {
constexpr int ImageList = 0;  // 4 bytes: the list's identity, 0 for none
constexpr int ImageIndex = 4; // 4 bytes, signed
constexpr int Width = 8;      // 2 bytes
constexpr int Height = 10;    // 2 bytes
constexpr int Checked = 12;
constexpr int Hot = 13;
constexpr int Enabled = 14;
constexpr int Pushed = 15;
constexpr int Transparent = 16;
constexpr int Substitute = 17;
constexpr int FrameColor = 18;    // 4 bytes
constexpr int SelectedColor = 22; // 4 bytes
constexpr int Color = 26;         // 4 bytes
constexpr int Border = 30;
constexpr int Layout = 31;
constexpr int Spacing = 32;
constexpr int Caption = 33; // 256 bytes, zero-terminated
constexpr int CaptionSize = 256;
} // namespace FaceField

class TRichImageList : public TGraphic {
  ZEL_CLASS(TRichImageList, TGraphic)
public:
  TRichImageList();
  ~TRichImageList() override;

  // From nil: an all-zero key and Blend 255; from another TRichImageList:
  // its key and Blend.  One change notification, only when something changed.
  void Assign(TPersistent* source) override;
  // Paints the face at r's top-left corner with the canvas's font: composed
  // on the first request of a descriptor, then taken from the cache.
  void Draw(TCanvas* canvas, const sys::RECT& r) override;
  // Equal keys; Blend is not compared.
  bool Equals(TGraphic* other) override;

  bool Empty() const override { return false; }
  int Width() const override { return KeyWord(FaceField::Width); }
  int Height() const override { return KeyWord(FaceField::Height); }
  void SetWidth(int width) override { SetKeyWord(FaceField::Width, width); }
  void SetHeight(int height) override { SetKeyWord(FaceField::Height, height); }
  bool Transparent() const override { return KeyFlag(FaceField::Transparent); }
  void SetTransparent(bool value) override { SetKeyFlag(FaceField::Transparent, value); }
  HPALETTE Palette() const override;
  void SetPalette(HPALETTE palette) override;

  // A face holds no data of its own: nothing is stored or loaded.
  void LoadFromStream(TStream&) override {}
  void SaveToStream(TStream&) override {}
  void LoadFromClipboardFormat(TClipboardFormat, uintptr_t, HPALETTE) override {}
  void SaveToClipboardFormat(TClipboardFormat&, uintptr_t&, HPALETTE&) override {}

  // The image list, found again by its identity; nullptr once it is gone.
  TCustomImageList* ImageList() const;
  void SetImageList(TCustomImageList* list);
  uint32_t ImageListId() const { return KeyDWord(FaceField::ImageList); }
  int ImageIndex() const { return int32_t(KeyDWord(FaceField::ImageIndex)); }
  void SetImageIndex(int index) { SetKeyDWord(FaceField::ImageIndex, uint32_t(index)); }
  bool Checked() const { return KeyFlag(FaceField::Checked); }
  void SetChecked(bool value) { SetKeyFlag(FaceField::Checked, value); }
  bool Hot() const { return KeyFlag(FaceField::Hot); }
  void SetHot(bool value) { SetKeyFlag(FaceField::Hot, value); }
  bool Enabled() const { return KeyFlag(FaceField::Enabled); }
  void SetEnabled(bool value) { SetKeyFlag(FaceField::Enabled, value); }
  bool Pushed() const { return KeyFlag(FaceField::Pushed); }
  void SetPushed(bool value) { SetKeyFlag(FaceField::Pushed, value); }
  bool Substitute() const { return KeyFlag(FaceField::Substitute); }
  void SetSubstitute(bool value) { SetKeyFlag(FaceField::Substitute, value); }
  TColor FrameColor() const { return TColor(KeyDWord(FaceField::FrameColor)); }
  void SetFrameColor(TColor c) { SetKeyDWord(FaceField::FrameColor, uint32_t(c)); }
  TColor SelectedColor() const { return TColor(KeyDWord(FaceField::SelectedColor)); }
  void SetSelectedColor(TColor c) { SetKeyDWord(FaceField::SelectedColor, uint32_t(c)); }
  TColor Color() const { return TColor(KeyDWord(FaceField::Color)); }
  void SetColor(TColor c) { SetKeyDWord(FaceField::Color, uint32_t(c)); }
  TZelButtonBorder Border() const { return TZelButtonBorder(FDescriptor.Key[FaceField::Border]); }
  void SetBorder(TZelButtonBorder border) { SetKeyByte(FaceField::Border, uint8_t(border)); }
  uint8_t Layout() const { return FDescriptor.Key[FaceField::Layout]; }
  void SetLayout(uint8_t layout) { SetKeyByte(FaceField::Layout, layout); }
  uint8_t Spacing() const { return FDescriptor.Key[FaceField::Spacing]; }
  void SetSpacing(uint8_t spacing) { SetKeyByte(FaceField::Spacing, spacing); }
  // At most 255 characters (UTF-8); a longer text is cut to its first 255.
  // The key holds the text when it fits its 255 bytes, else its start and
  // a hash of the whole.
  const std::string& Caption() const { return FCaption; }
  void SetCaption(std::string_view caption);
  static constexpr size_t kMaxCaptionChars = 255;
  uint8_t Blend() const { return FBlend; }
  void SetBlend(uint8_t blend);

  const TFaceDescriptor& Descriptor() const { return FDescriptor; }

  // The glyph and caption rectangles of the face, for the canvas's font.
  virtual void LayoutFace(TCanvas* canvas, sys::RECT& glyph, sys::RECT& text);

  // Sets a work bitmap up for a face of r's size (32-bit, magenta key,
  // brush magenta; pixels kept); an empty r frees it.  r becomes
  // (0, 0, w, h) either way.
  static void PrepareFaceBitmap(std::unique_ptr<TBitmap>& bitmap, sys::RECT& r);
  // The bevel of a raised (or, pressed, sunken) edge at the given level.
  static void DrawBevel(TCanvas* canvas, const sys::RECT& r, TColor color, bool pressed, int level);
  // The dark and light luminance steps of a bevel level.
  static void BevelSteps(int level, int& darkStep, int& lightStep);

  // Composes the face into face (a bitmap of the cache) at r's size with font.
  void ComposeFace(TBitmap* face, TFont* font, sys::RECT r);

  // A rich image destination takes this one's key and Blend.
  void AssignTo(TPersistent* dest) override;

protected:
  // Draws the caption into r; with DT_CALCRECT in flags r receives the
  // space the caption needs.  Through the caption bitmap the text is drawn
  // on a keyed background first and copied transparently.
  void DrawCaption(TCanvas* canvas, sys::RECT& r, sys::UINT flags, bool throughBitmap);
  void DrawFaceBackground(TBitmap* bitmap, sys::RECT r);
  // Draws the glyph into the glyph work bitmap; glyph grows by the inset.
  void RenderGlyph(sys::RECT& glyph);

private:
  int KeyWord(int offset) const;
  uint32_t KeyDWord(int offset) const;
  bool KeyFlag(int offset) const { return FDescriptor.Key[size_t(offset)] != 0; }
  void SetKeyByte(int offset, uint8_t value);
  void SetKeyFlag(int offset, bool value) { SetKeyByte(offset, value ? 1 : 0); }
  void SetKeyWord(int offset, int value);
  void SetKeyDWord(int offset, uint32_t value);

  void DrawBuiltInGlyph(TCanvas* canvas, int kind, int offset, int width, int height);
  void BlendGlyph(uint8_t* glyph, const sys::BITMAPINFO& glyphHeader, uint8_t* face,
                  const sys::BITMAPINFO& faceHeader, const sys::RECT& at);
  void DrawCaptionText(TCanvas* canvas, sys::RECT& r, sys::UINT flags);
  void DrawWithOpacity(TCanvas* canvas, const sys::RECT& r);

  TFaceDescriptor FDescriptor;
  uint8_t FBlend = 255;
  std::string FCaption;
};

} // namespace zel
