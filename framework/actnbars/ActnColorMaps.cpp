#include "framework/actnbars/ActnColorMaps.h"

#include <algorithm>

#include "framework/actnbars/ActionBar.h"

namespace zel {

TCustomActionBarColorMap::TCustomActionBarColorMap(TComponent* owner) : TComponent(owner) {}

TCustomActionBarColorMap::~TCustomActionBarColorMap() {
  // The bars hold the map through free notification; the list only serves
  // the font colour, so it is simply dropped.
  FBars.clear();
}

TCustomActionBarColorMap::TColors TCustomActionBarColorMap::DefaultColors() const {
  return {clBtnShadow,    clBtnFace,      clWindowText,    clBtnFace,   clGray,
          clGrayText,     clBtnHighlight, clWindowText,    clBtnShadow, cl3DDkShadow,
          clBtnHighlight, cl3DLight,      cl3DLight,       clBtnFace,   clWindowText,
          clMenu,         clHighlight,    clHighlightText, clBtnShadow, cl3DLight};
}

void TCustomActionBarColorMap::SetAll(const TColors& c) {
  FBtnFrameColor = c.BtnFrameColor;
  FBtnSelectedColor = c.BtnSelectedColor;
  FBtnSelectedFont = c.BtnSelectedFont;
  FColor = c.Color;
  FDisabledColor = c.DisabledColor;
  FDisabledFontColor = c.DisabledFontColor;
  FDisabledFontShadow = c.DisabledFontShadow;
  FFrameBottomRightInner = c.FrameBottomRightInner;
  FFrameBottomRightOuter = c.FrameBottomRightOuter;
  FFrameTopLeftInner = c.FrameTopLeftInner;
  FFrameTopLeftOuter = c.FrameTopLeftOuter;
  FHighlightColor = c.HighlightColor;
  FHotColor = c.HotColor;
  FHotFontColor = c.HotFontColor;
  FMenuColor = c.MenuColor;
  FSelectedColor = c.SelectedColor;
  FSelectedFontColor = c.SelectedFontColor;
  FShadowColor = c.ShadowColor;
  FUnusedColor = c.UnusedColor;
  SetFontColor(c.FontColor);
}

void TCustomActionBarColorMap::UpdateColors() {
  SetAll(DefaultColors());
  ColorChanged();
}

void TCustomActionBarColorMap::Assign(TPersistent* source) {
  auto* s = dynamic_cast<TCustomActionBarColorMap*>(source);
  if (!s) {
    TComponent::Assign(source);
    return;
  }
  SetAll({s->FBtnFrameColor,         s->FBtnSelectedColor,
          s->FBtnSelectedFont,       s->FColor,
          s->FDisabledColor,         s->FDisabledFontColor,
          s->FDisabledFontShadow,    s->FFontColor,
          s->FFrameBottomRightInner, s->FFrameBottomRightOuter,
          s->FFrameTopLeftInner,     s->FFrameTopLeftOuter,
          s->FHighlightColor,        s->FHotColor,
          s->FHotFontColor,          s->FMenuColor,
          s->FSelectedColor,         s->FSelectedFontColor,
          s->FShadowColor,           s->FUnusedColor});
  ColorChanged();
}

void TCustomActionBarColorMap::SetColor(TColor v) {
  FColor = v;
  ColorChanged();
}

void TCustomActionBarColorMap::ColorChanged() {
  if (OnColorChange) OnColorChange(this);
}

void TCustomActionBarColorMap::SetFontColor(TColor v) {
  FFontColor = v;
  const std::vector<TCustomActionBar*> bars = FBars;
  for (TCustomActionBar* bar : bars)
    bar->ColorMapFontChanged(v);
}

void TCustomActionBarColorMap::AddBar(TCustomActionBar* bar) {
  if (bar && std::find(FBars.begin(), FBars.end(), bar) == FBars.end()) FBars.push_back(bar);
}

void TCustomActionBarColorMap::RemoveBar(TCustomActionBar* bar) {
  FBars.erase(std::remove(FBars.begin(), FBars.end(), bar), FBars.end());
}

#define ZEL_COLOR_PROP(t, Name)                                                                    \
  t.AddColor(#Name, &TCustomActionBarColorMap::Name, &TCustomActionBarColorMap::Set##Name)

// ---- TStandardColorMap -----------------------------------------------------------------

TStandardColorMap::TStandardColorMap(TComponent* owner) : TCustomActionBarColorMap(owner) {
  UpdateColors();
}

TCustomActionBarColorMap::TColors TStandardColorMap::DefaultColors() const {
  TColors c = TCustomActionBarColorMap::DefaultColors();
  c.MenuColor = clMenu;
  c.FontColor = clMenuText;
  c.SelectedColor = clHighlight;
  c.SelectedFontColor = clHighlightText;
  return c;
}

void TStandardColorMap::DeclareProperties(TPropertyTable<TStandardColorMap>& t) {
  ZEL_COLOR_PROP(t, HighlightColor);
  ZEL_COLOR_PROP(t, UnusedColor);
  ZEL_COLOR_PROP(t, BtnFrameColor);
  ZEL_COLOR_PROP(t, BtnSelectedColor);
  ZEL_COLOR_PROP(t, BtnSelectedFont);
  ZEL_COLOR_PROP(t, Color);
  ZEL_COLOR_PROP(t, DisabledFontColor);
  ZEL_COLOR_PROP(t, DisabledFontShadow);
  ZEL_COLOR_PROP(t, FontColor);
  ZEL_COLOR_PROP(t, HotColor);
  ZEL_COLOR_PROP(t, HotFontColor);
  ZEL_COLOR_PROP(t, MenuColor);
  ZEL_COLOR_PROP(t, FrameTopLeftInner);
  ZEL_COLOR_PROP(t, FrameTopLeftOuter);
  ZEL_COLOR_PROP(t, FrameBottomRightInner);
  ZEL_COLOR_PROP(t, FrameBottomRightOuter);
  ZEL_COLOR_PROP(t, DisabledColor);
  ZEL_COLOR_PROP(t, SelectedColor);
  ZEL_COLOR_PROP(t, SelectedFontColor);
  ZEL_COLOR_PROP(t, ShadowColor);
}

// ---- TXPColorMap ---------------------------------------------------------------------------

TXPColorMap::TXPColorMap(TComponent* owner) : TCustomActionBarColorMap(owner) {
  UpdateColors();
}

TCustomActionBarColorMap::TColors TXPColorMap::DefaultColors() const {
  TColors c{};
  c.ShadowColor = clBtnShadow;
  c.Color = clBtnFace;
  c.DisabledColor = clGray;
  c.DisabledFontColor = clGrayText;
  c.DisabledFontShadow = clBtnHighlight;
  c.FontColor = clWindowText;
  c.HighlightColor = 0xDEDEDE;
  c.HotColor = 0xEED2C1;
  c.HotFontColor = clWindowText;
  c.MenuColor = clWindow;
  c.FrameTopLeftInner = clBtnHighlight;
  c.FrameTopLeftOuter = clBtnFace;
  c.FrameBottomRightInner = clBtnFace;
  c.FrameBottomRightOuter = clBtnShadow;
  c.BtnFrameColor = 0xC66931;
  c.BtnSelectedColor = clWhite;
  c.BtnSelectedFont = clWindowText;
  c.SelectedColor = 0xEED2C1;
  c.SelectedFontColor = clBlack;
  c.UnusedColor = 0xE6E6E6;
  return c;
}

void TXPColorMap::DeclareProperties(TPropertyTable<TXPColorMap>& t) {
  ZEL_COLOR_PROP(t, ShadowColor);
  ZEL_COLOR_PROP(t, Color);
  ZEL_COLOR_PROP(t, DisabledColor);
  ZEL_COLOR_PROP(t, DisabledFontColor);
  ZEL_COLOR_PROP(t, DisabledFontShadow);
  ZEL_COLOR_PROP(t, FontColor);
  ZEL_COLOR_PROP(t, HighlightColor);
  ZEL_COLOR_PROP(t, HotColor);
  ZEL_COLOR_PROP(t, HotFontColor);
  ZEL_COLOR_PROP(t, MenuColor);
  ZEL_COLOR_PROP(t, FrameTopLeftInner);
  ZEL_COLOR_PROP(t, FrameTopLeftOuter);
  ZEL_COLOR_PROP(t, FrameBottomRightInner);
  ZEL_COLOR_PROP(t, FrameBottomRightOuter);
  ZEL_COLOR_PROP(t, BtnFrameColor);
  ZEL_COLOR_PROP(t, BtnSelectedColor);
  ZEL_COLOR_PROP(t, BtnSelectedFont);
  ZEL_COLOR_PROP(t, SelectedColor);
  ZEL_COLOR_PROP(t, SelectedFontColor);
  ZEL_COLOR_PROP(t, UnusedColor);
}

// ---- TTwilightColorMap -------------------------------------------------------------------

TTwilightColorMap::TTwilightColorMap(TComponent* owner) : TCustomActionBarColorMap(owner) {
  UpdateColors();
}

TCustomActionBarColorMap::TColors TTwilightColorMap::DefaultColors() const {
  TColors c{};
  c.Color = clBlack;
  c.DisabledFontColor = clGray;
  c.DisabledFontShadow = clBlack;
  c.FontColor = clWhite;
  c.HighlightColor = 0x404040;
  c.HotColor = clWhite;
  c.HotFontColor = clBlack;
  c.FrameTopLeftInner = clGray;
  c.FrameTopLeftOuter = clWhite;
  c.FrameBottomRightInner = clGray;
  c.FrameBottomRightOuter = clWhite;
  c.BtnFrameColor = clWhite;
  c.BtnSelectedColor = clWhite;
  c.BtnSelectedFont = clBlack;
  c.MenuColor = clBlack;
  c.DisabledColor = clGray;
  c.SelectedColor = clWhite;
  c.SelectedFontColor = clBlack;
  c.ShadowColor = cl3DDkShadow;
  c.UnusedColor = 0x404040;
  return c;
}

void TTwilightColorMap::DeclareProperties(TPropertyTable<TTwilightColorMap>& t) {
  ZEL_COLOR_PROP(t, Color);
  ZEL_COLOR_PROP(t, DisabledFontColor);
  ZEL_COLOR_PROP(t, DisabledFontShadow);
  ZEL_COLOR_PROP(t, FontColor);
  ZEL_COLOR_PROP(t, HighlightColor);
  ZEL_COLOR_PROP(t, HotColor);
  ZEL_COLOR_PROP(t, HotFontColor);
  ZEL_COLOR_PROP(t, FrameTopLeftInner);
  ZEL_COLOR_PROP(t, FrameTopLeftOuter);
  ZEL_COLOR_PROP(t, FrameBottomRightInner);
  ZEL_COLOR_PROP(t, FrameBottomRightOuter);
  ZEL_COLOR_PROP(t, BtnFrameColor);
  ZEL_COLOR_PROP(t, BtnSelectedColor);
  ZEL_COLOR_PROP(t, BtnSelectedFont);
  ZEL_COLOR_PROP(t, MenuColor);
  ZEL_COLOR_PROP(t, DisabledColor);
  ZEL_COLOR_PROP(t, SelectedColor);
  ZEL_COLOR_PROP(t, SelectedFontColor);
  ZEL_COLOR_PROP(t, ShadowColor);
  ZEL_COLOR_PROP(t, UnusedColor);
}

#undef ZEL_COLOR_PROP

} // namespace zel
