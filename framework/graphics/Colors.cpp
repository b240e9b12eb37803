#include "framework/graphics/Colors.h"
#include "framework/graphics/GraphicsConsts.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "framework/core/Exceptions.h"
#include "platform/user/SystemParams.h"

namespace zel {

namespace {

struct NamedColor {
  TColor value;
  const char* name;
};

// The order a colour list shows them in: standard colours, the extended
// ones, the special values, then the system colours.
constexpr NamedColor kNamedColors[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses hex or decimal digits into a 32-bit pattern; no digits, a foreign
// character or more than 32 bits of value fail.
std::optional<TColor> ParseNumber(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text[0] == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    int d = base == 16 ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (d < 0) return std::nullopt;
    value = value * uint64_t(base) + uint64_t(d);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  // Decimal numbers are signed 32-bit values; hex digits give the bit pattern.
  if (base == 10 && value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return std::nullopt;
  uint32_t bits = uint32_t(value);
  if (negative) bits = 0u - bits;
  return TColor(bits);
}

int HueToRGB(int n1, int n2, int hue) {
  if (hue < 0) hue += HLSMAX;
  if (hue > HLSMAX) hue -= HLSMAX;
  if (hue < HLSMAX / 6) return n1 + (((n2 - n1) * hue + HLSMAX / 12) / (HLSMAX / 6));
  if (hue < HLSMAX / 2) return n2;
  if (hue < (HLSMAX * 2) / 3)
    return n1 + (((n2 - n1) * (((HLSMAX * 2) / 3) - hue) + HLSMAX / 12) / (HLSMAX / 6));
  return n1;
}

int ClampChannel(int v) {
  return std::clamp(v, 0, RGBMAX);
}

} // namespace

TColor ColorToRGB(TColor color) {
  if (IsSysColor(color)) return TColor(sys::GetSysColor(int(uint32_t(color) & 0xFF)));
  return color;
}

sys::COLORREF ColorToColorRef(TColor color) {
  return sys::COLORREF(uint32_t(ColorToRGB(color)) & 0x00FFFFFFu);
}

int NamedColorCount() {
  return int(std::size(kNamedColors));
}
const char* NamedColorName(int index) {
  return kNamedColors[index].name;
}
TColor NamedColorValue(int index) {
  return kNamedColors[index].value;
}

std::optional<std::string> ColorToIdent(TColor color) {
  for (const auto& entry : kNamedColors) {
    if (entry.value == color) return std::string(entry.name);
  }
  return std::nullopt;
}

std::optional<TColor> IdentToColor(std::string_view ident) {
  for (const auto& entry : kNamedColors) {
    if (EqualNoCase(entry.name, ident)) return entry.value;
  }
  return std::nullopt;
}

std::string ColorToString(TColor color) {
  if (auto name = ColorToIdent(color)) return *name;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "$%08X", unsigned(uint32_t(color)));
  return buffer;
}

std::optional<TColor> TryStringToColor(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  if (auto named = IdentToColor(text)) return named;
  return ParseNumber(text);
}

TColor StringToColor(std::string_view text) {
  if (auto color = TryStringToColor(text)) return *color;
  throw EConvertError::CreateFmt(SInvalidColor, text);
}

void ColorRGBToHLS(sys::COLORREF rgb, int& hue, int& luminance, int& saturation) {
  const int r = sys::GetRValue(rgb);
  const int g = sys::GetGValue(rgb);
  const int b = sys::GetBValue(rgb);
  const int cMax = std::max({r, g, b});
  const int cMin = std::min({r, g, b});
  luminance = (((cMax + cMin) * HLSMAX) + RGBMAX) / (2 * RGBMAX);
  if (cMax == cMin) {
    // A grey has no hue; the conventional placeholder keeps round trips stable.
    saturation = 0;
    hue = HLSUndefinedHue;
    return;
  }
  const int delta = cMax - cMin;
  if (luminance <= HLSMAX / 2)
    saturation = ((delta * HLSMAX) + ((cMax + cMin) / 2)) / (cMax + cMin);
  else
    saturation = ((delta * HLSMAX) + ((2 * RGBMAX - cMax - cMin) / 2)) / (2 * RGBMAX - cMax - cMin);
  const int rDelta = (((cMax - r) * (HLSMAX / 6)) + (delta / 2)) / delta;
  const int gDelta = (((cMax - g) * (HLSMAX / 6)) + (delta / 2)) / delta;
  const int bDelta = (((cMax - b) * (HLSMAX / 6)) + (delta / 2)) / delta;
  if (r == cMax)
    hue = bDelta - gDelta;
  else if (g == cMax)
    hue = (HLSMAX / 3) + rDelta - bDelta;
  else
    hue = ((2 * HLSMAX) / 3) + gDelta - rDelta;
  if (hue < 0) hue += HLSMAX;
  if (hue > HLSMAX) hue -= HLSMAX;
}

THLS ColorRGBToHLS(sys::COLORREF rgb) {
  THLS hls;
  ColorRGBToHLS(rgb, hls.hue, hls.luminance, hls.saturation);
  return hls;
}

sys::COLORREF ColorHLSToRGB(int hue, int luminance, int saturation) {
  // Out-of-range input is brought into the scale rather than rejected, so a
  // luminance step past white or black saturates there.
  hue = ((hue % (HLSMAX + 1)) + (HLSMAX + 1)) % (HLSMAX + 1);
  luminance = std::clamp(luminance, 0, HLSMAX);
  saturation = std::clamp(saturation, 0, HLSMAX);
  if (saturation == 0) {
    const int v = ClampChannel(luminance * RGBMAX / HLSMAX);
    return sys::RGB(v, v, v);
  }
  int magic2;
  if (luminance <= HLSMAX / 2)
    magic2 = (luminance * (HLSMAX + saturation) + (HLSMAX / 2)) / HLSMAX;
  else
    magic2 = luminance + saturation - ((luminance * saturation) + (HLSMAX / 2)) / HLSMAX;
  const int magic1 = 2 * luminance - magic2;
  const int r = (HueToRGB(magic1, magic2, hue + (HLSMAX / 3)) * RGBMAX + (HLSMAX / 2)) / HLSMAX;
  const int g = (HueToRGB(magic1, magic2, hue) * RGBMAX + (HLSMAX / 2)) / HLSMAX;
  const int b = (HueToRGB(magic1, magic2, hue - (HLSMAX / 3)) * RGBMAX + (HLSMAX / 2)) / HLSMAX;
  return sys::RGB(ClampChannel(r), ClampChannel(g), ClampChannel(b));
}

sys::COLORREF ColorAdjustLuma(sys::COLORREF rgb, int n, bool scale) {
  int h, l, s;
  ColorRGBToHLS(rgb, h, l, s);
  if (scale) {
    n = std::clamp(n, -1000, 1000);
    if (n > 0)
      l += ((HLSMAX - l) * n) / 1000;
    else
      l = (l * (1000 + n)) / 1000;
  } else {
    l += n;
  }
  return ColorHLSToRGB(h, std::clamp(l, 0, HLSMAX), s);
}

TColor Lighten(TColor color, int n) {
  const sys::COLORREF rgb = ColorToColorRef(color);
  const THLS hls = ColorRGBToHLS(rgb);
  const int step = hls.saturation < 221 ? n : -n;
  return TColor(ColorAdjustLuma(rgb, step, false));
}

TColor Darken(TColor color, int n) {
  return TColor(ColorAdjustLuma(ColorToColorRef(color), n, false));
}

} // namespace zel
