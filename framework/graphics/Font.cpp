#include "framework/graphics/Font.h"

#include <cstdlib>

#include "platform/text/Text.h"

namespace zel {

namespace {

// a * b / c rounded half away from zero, as font sizes convert.
int MulDivRound(int a, int b, int c) {
  if (c == 0) return 0;
  const long long p = static_cast<long long>(a) * b;
  const long long q = (std::llabs(p) + std::llabs(c) / 2) / std::llabs(c);
  return int(((p < 0) != (c < 0)) ? -q : q);
}

// Face names are at most 31 characters, cut at a character boundary.
std::string CutFaceName(const std::string& name) {
  size_t chars = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    if ((static_cast<unsigned char>(name[i]) & 0xC0) != 0x80) {
      if (chars == 31) return name.substr(0, i);
      ++chars;
    }
  }
  return name;
}

} // namespace

TFont::TFont() = default;

void TFont::Assign(TPersistent* source) {
  if (auto* font = dynamic_cast<TFont*>(source)) {
    if (font == this) return;
    FName = font->FName;
    FHeight = MulDivRound(font->FHeight, FPixelsPerInch, font->FPixelsPerInch);
    FStyle = font->FStyle;
    FColor = font->FColor;
    FCharset = font->FCharset;
    FOrientation = font->FOrientation;
    FPitch = font->FPitch;
    Changed();
    return;
  }
  inherited::Assign(source);
}

void TFont::SetName(const std::string& name) {
  const std::string value = CutFaceName(name);
  if (value.empty() || value == FName) return;
  FName = value;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == FHeight) return;
  FHeight = height;
  Changed();
}

int TFont::Size() const {
  return -MulDivRound(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int points) {
  SetHeight(-MulDivRound(points, FPixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  // The colour is the context's text colour, not part of the font object.
  NotifyChanged();
}

void TFont::SetCharset(TFontCharset charset) {
  if (charset == FCharset) return;
  FCharset = charset;
  Changed();
}

void TFont::SetOrientation(int tenths) {
  if (tenths == FOrientation) return;
  FOrientation = tenths;
  Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
  if (pitch == FPitch) return;
  FPitch = pitch;
  Changed();
}

void TFont::SetPixelsPerInch(int ppi) {
  if (ppi > 0) FPixelsPerInch = ppi;
}

sys::LOGFONT TFont::LogFont() const {
  sys::LOGFONT lf;
  lf.lfHeight = FHeight;
  lf.lfEscapement = FOrientation;
  lf.lfOrientation = FOrientation;
  lf.lfWeight = FStyle.Contains(fsBold) ? sys::FW_BOLD : sys::FW_NORMAL;
  lf.lfItalic = FStyle.Contains(fsItalic) ? 1 : 0;
  lf.lfUnderline = FStyle.Contains(fsUnderline) ? 1 : 0;
  lf.lfStrikeOut = FStyle.Contains(fsStrikeOut) ? 1 : 0;
  lf.lfCharSet = FCharset;
  lf.lfPitchAndFamily = sys::BYTE(FPitch);
  lf.lfFaceName = FName;
  return lf;
}

sys::HGDIOBJ TFont::CreateHandle() {
  return sys::CreateFontIndirect(LogFont());
}

void TFont::DeclareProperties(TPropertyTable<TFont>& t) {
  t.Add("Charset", "TFontCharset", &TFont::Charset, &TFont::SetCharset);
  t.AddColor("Color", &TFont::Color, &TFont::SetColor);
  t.Add("Height", &TFont::Height, &TFont::SetHeight);
  t.Add("Name", "TFontName", &TFont::Name, &TFont::SetName);
  t.Add("Orientation", &TFont::Orientation, &TFont::SetOrientation);
  t.AddEnum("Pitch", "TFontPitch", &TFont::Pitch, &TFont::SetPitch,
            {"fpDefault", "fpVariable", "fpFixed"});
  t.Add("Size", &TFont::Size, &TFont::SetSize);
  t.Add("Style", "TFontStyles", &TFont::Style, &TFont::SetStyle);
}

} // namespace zel
