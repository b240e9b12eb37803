#pragma once
// TFont: the face name, size, style, colour and character set of text, and
// the font object of the system layer made from them.

#include <string>

#include "framework/graphics/Colors.h"
#include "framework/graphics/GraphicsObject.h"

namespace zel {

class TFont : public TGraphicsObject {
  ZEL_CLASS(TFont, TGraphicsObject)
public:
  TFont();

  void Assign(TPersistent* source) override;

  // The font object for the current settings, made on need and made anew
  // after any change.
  sys::HFONT Handle() { return static_cast<sys::HFONT>(GetHandle()); }
  // The description the font object is made from.
  sys::LOGFONT LogFont() const;

  const std::string& Name() const { return FName; }
  // The face to look for; cut to 31 characters, and an empty name is
  // ignored (a font always names a face).
  void SetName(const std::string& name);
  // Negative: the character height in pixels; positive: the cell height.
  int Height() const { return FHeight; }
  void SetHeight(int height);
  // Points at the font's pixels per inch (96): Height = -Size * 96 / 72.
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset charset);
  // Tenths of a degree, counter-clockwise; 900 reads upwards.
  int Orientation() const { return FOrientation; }
  void SetOrientation(int tenths);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch pitch);
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int ppi);

  static void DeclareProperties(TPropertyTable<TFont>& t);

protected:
  sys::HGDIOBJ CreateHandle() override;

private:
  std::string FName = "Tahoma";
  int FHeight = -11;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  TFontCharset FCharset = sys::DEFAULT_CHARSET;
  int FOrientation = 0;
  TFontPitch FPitch = fpDefault;
  int FPixelsPerInch = 96;
};

} // namespace zel
