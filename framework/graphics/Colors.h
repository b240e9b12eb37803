#pragma once
// Colours of the framework.  A TColor is a signed 32-bit value: an RGB colour
// is 0x00BBGGRR (red in the low byte), a system colour is 0xFF0000nn with nn
// the index of the system colour, resolved to RGB only when it is drawn, and
// two special values mark "no colour" and "the default colour".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Types.h"

namespace zel {

using TColor = int32_t;

// Built from an unsigned pattern so that the system colours keep their bits.
constexpr TColor MakeSysColor(int index) {
  return TColor(0xFF000000u | uint32_t(index & 0xFF));
}

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// System colours, by the index of the colour in the system's table.
constexpr TColor clScrollBar = MakeSysColor(0);
constexpr TColor clBackground = MakeSysColor(1);
constexpr TColor clActiveCaption = MakeSysColor(2);
constexpr TColor clInactiveCaption = MakeSysColor(3);
constexpr TColor clMenu = MakeSysColor(4);
constexpr TColor clWindow = MakeSysColor(5);
constexpr TColor clWindowFrame = MakeSysColor(6);
constexpr TColor clMenuText = MakeSysColor(7);
constexpr TColor clWindowText = MakeSysColor(8);
constexpr TColor clCaptionText = MakeSysColor(9);
constexpr TColor clActiveBorder = MakeSysColor(10);
constexpr TColor clInactiveBorder = MakeSysColor(11);
constexpr TColor clAppWorkSpace = MakeSysColor(12);
constexpr TColor clHighlight = MakeSysColor(13);
constexpr TColor clHighlightText = MakeSysColor(14);
constexpr TColor clBtnFace = MakeSysColor(15);
constexpr TColor clBtnShadow = MakeSysColor(16);
constexpr TColor clGrayText = MakeSysColor(17);
constexpr TColor clBtnText = MakeSysColor(18);
constexpr TColor clInactiveCaptionText = MakeSysColor(19);
constexpr TColor clBtnHighlight = MakeSysColor(20);
constexpr TColor cl3DDkShadow = MakeSysColor(21);
constexpr TColor cl3DLight = MakeSysColor(22);
constexpr TColor clInfoText = MakeSysColor(23);
constexpr TColor clInfoBk = MakeSysColor(24);
constexpr TColor clHotLight = MakeSysColor(26);
constexpr TColor clGradientActiveCaption = MakeSysColor(27);
constexpr TColor clGradientInactiveCaption = MakeSysColor(28);
constexpr TColor clMenuHighlight = MakeSysColor(29);
constexpr TColor clMenuBar = MakeSysColor(30);

// Standard colours.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

constexpr bool IsSysColor(TColor c) {
  return (uint32_t(c) & 0xFF000000u) == 0xFF000000u;
}

// The index of the last system colour the table knows.
constexpr int MaxSysColorIndex = 30;

// Whether c is a colour at all: an RGB colour, a system colour of the
// table's range, clNone or clDefault.
constexpr bool IsValidColor(TColor c) {
  const uint32_t u = uint32_t(c);
  return (u & 0xFF000000u) == 0 || (IsSysColor(c) && (u & 0x00FFFFFFu) <= MaxSysColorIndex) ||
         c == clNone || c == clDefault;
}

// Resolves a system colour to its current RGB value; any other colour is
// returned unchanged (clNone and clDefault stay as they are).
TColor ColorToRGB(TColor color);
// The colour reference a drawing call takes: the resolved colour's low 24 bits.
sys::COLORREF ColorToColorRef(TColor color);

// Names: "clBtnFace", "clRed", ... for the named colours, else "$00BBGGRR".
std::string ColorToString(TColor color);
// Accepts a colour name (without regard to case), "$" followed by hex digits,
// "0x" followed by hex digits, or a decimal number; raises EConvertError
// otherwise.
TColor StringToColor(std::string_view text);
// The same without raising: nothing for text that names no colour.
std::optional<TColor> TryStringToColor(std::string_view text);
// The name of a named colour, if it has one.
std::optional<std::string> ColorToIdent(TColor color);
// The colour of a name (without regard to case), if it is one.
std::optional<TColor> IdentToColor(std::string_view ident);
// Calls visit(name) for each named colour in the order a colour list shows them.
template <class F> void GetColorValues(F&& visit);
int NamedColorCount();
const char* NamedColorName(int index);
TColor NamedColorValue(int index);

// Hue, luminance and saturation on the 0..240 scale.  The conversion is the
// classic integer one, so that stepping the luminance of a grey lands on the
// same values the system colour scheme uses.
constexpr int HLSMAX = 240;
constexpr int RGBMAX = 255;
constexpr int HLSUndefinedHue = HLSMAX * 2 / 3;

struct THLS {
  int hue = 0;
  int luminance = 0;
  int saturation = 0;
  friend bool operator==(const THLS&, const THLS&) = default;
};

// Both take and give an RGB colour reference (0x00BBGGRR); the top byte of
// the input is ignored, that of the result is 0.
void ColorRGBToHLS(sys::COLORREF rgb, int& hue, int& luminance, int& saturation);
THLS ColorRGBToHLS(sys::COLORREF rgb);
sys::COLORREF ColorHLSToRGB(int hue, int luminance, int saturation);

// Changes the luminance of an RGB colour.  Without scale, n is added to the
// luminance on the 0..240 scale; with scale, n is in thousandths: a positive
// n moves the luminance that share of the way towards white, a negative one
// that share of the way towards black.  The luminance is clamped to 0..240.
sys::COLORREF ColorAdjustLuma(sys::COLORREF rgb, int n, bool scale);

// The luminance steps of the button-face drawing.  Both resolve c to RGB
// first.  Lighten raises the luminance by n when the saturation is below 221
// and lowers it by n otherwise; Darken adds n (usually negative).
TColor Lighten(TColor color, int n);
TColor Darken(TColor color, int n);

template <class F> void GetColorValues(F&& visit) {
  for (int i = 0; i < NamedColorCount(); ++i)
    visit(std::string(NamedColorName(i)));
}

} // namespace zel
