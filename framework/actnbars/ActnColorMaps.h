#pragma once
// Colour maps: the colours an action bar and its controls are drawn with.
// Every map has the same twenty colours; each concrete class publishes them
// in its own order (the colour editor lists them in that order) and has its
// own defaults, to which UpdateColors resets the map.

#include <vector>

#include "framework/core/Component.h"
#include "framework/graphics/Colors.h"

namespace zel {

class TCustomActionBar;

class TCustomActionBarColorMap : public TComponent {
  ZEL_CLASS(TCustomActionBarColorMap, TComponent)
public:
  explicit TCustomActionBarColorMap(TComponent* owner);
  ~TCustomActionBarColorMap() override;

  // Resets every colour to the class's defaults and raises OnColorChange.
  virtual void UpdateColors();
  // Copies the colours of another map (any class) and raises OnColorChange.
  void Assign(TPersistent* source) override;

  TColor BtnFrameColor() const { return FBtnFrameColor; }
  void SetBtnFrameColor(TColor v) { FBtnFrameColor = v; }
  TColor BtnSelectedColor() const { return FBtnSelectedColor; }
  void SetBtnSelectedColor(TColor v) { FBtnSelectedColor = v; }
  TColor BtnSelectedFont() const { return FBtnSelectedFont; }
  void SetBtnSelectedFont(TColor v) { FBtnSelectedFont = v; }
  TColor Color() const { return FColor; }
  // Stores the colour and raises OnColorChange.
  void SetColor(TColor v);
  TColor DisabledColor() const { return FDisabledColor; }
  void SetDisabledColor(TColor v) { FDisabledColor = v; }
  TColor DisabledFontColor() const { return FDisabledFontColor; }
  void SetDisabledFontColor(TColor v) { FDisabledFontColor = v; }
  TColor DisabledFontShadow() const { return FDisabledFontShadow; }
  void SetDisabledFontShadow(TColor v) { FDisabledFontShadow = v; }
  TColor FontColor() const { return FFontColor; }
  // Stores the colour and gives it to the fonts of the bars drawn with the map.
  void SetFontColor(TColor v);
  TColor FrameBottomRightInner() const { return FFrameBottomRightInner; }
  void SetFrameBottomRightInner(TColor v) { FFrameBottomRightInner = v; }
  TColor FrameBottomRightOuter() const { return FFrameBottomRightOuter; }
  void SetFrameBottomRightOuter(TColor v) { FFrameBottomRightOuter = v; }
  TColor FrameTopLeftInner() const { return FFrameTopLeftInner; }
  void SetFrameTopLeftInner(TColor v) { FFrameTopLeftInner = v; }
  TColor FrameTopLeftOuter() const { return FFrameTopLeftOuter; }
  void SetFrameTopLeftOuter(TColor v) { FFrameTopLeftOuter = v; }
  TColor HighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor v) { FHighlightColor = v; }
  TColor HotColor() const { return FHotColor; }
  void SetHotColor(TColor v) { FHotColor = v; }
  TColor HotFontColor() const { return FHotFontColor; }
  void SetHotFontColor(TColor v) { FHotFontColor = v; }
  TColor MenuColor() const { return FMenuColor; }
  void SetMenuColor(TColor v) { FMenuColor = v; }
  TColor SelectedColor() const { return FSelectedColor; }
  void SetSelectedColor(TColor v) { FSelectedColor = v; }
  TColor SelectedFontColor() const { return FSelectedFontColor; }
  void SetSelectedFontColor(TColor v) { FSelectedFontColor = v; }
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor v) { FShadowColor = v; }
  TColor UnusedColor() const { return FUnusedColor; }
  void SetUnusedColor(TColor v) { FUnusedColor = v; }

  TNotifyEvent OnColorChange;

  // The bars drawn with this map (they register themselves).
  void AddBar(TCustomActionBar* bar);
  void RemoveBar(TCustomActionBar* bar);
  int BarCount() const { return int(FBars.size()); }

protected:
  // The twenty colours in one record, so a class states its defaults at once.
  struct TColors {
    TColor BtnFrameColor, BtnSelectedColor, BtnSelectedFont, Color, DisabledColor,
        DisabledFontColor, DisabledFontShadow, FontColor, FrameBottomRightInner,
        FrameBottomRightOuter, FrameTopLeftInner, FrameTopLeftOuter, HighlightColor, HotColor,
        HotFontColor, MenuColor, SelectedColor, SelectedFontColor, ShadowColor, UnusedColor;
  };
  virtual TColors DefaultColors() const;
  void SetAll(const TColors& c);
  void ColorChanged();

private:
  TColor FBtnFrameColor = clNone, FBtnSelectedColor = clNone, FBtnSelectedFont = clNone;
  TColor FColor = clBtnFace, FDisabledColor = clNone, FDisabledFontColor = clNone;
  TColor FDisabledFontShadow = clNone, FFontColor = clNone, FFrameBottomRightInner = clNone;
  TColor FFrameBottomRightOuter = clNone, FFrameTopLeftInner = clNone;
  TColor FFrameTopLeftOuter = clNone, FHighlightColor = clNone, FHotColor = clNone;
  TColor FHotFontColor = clNone, FMenuColor = clNone, FSelectedColor = clNone;
  TColor FSelectedFontColor = clNone, FShadowColor = clNone, FUnusedColor = clNone;
  std::vector<TCustomActionBar*> FBars;
};

// Classic raised and sunken edges, the selection in the system highlight.
class TStandardColorMap : public TCustomActionBarColorMap {
  ZEL_CREATABLE_CLASS(TStandardColorMap, TCustomActionBarColorMap)
public:
  explicit TStandardColorMap(TComponent* owner);
  static void DeclareProperties(TPropertyTable<TStandardColorMap>& t);

protected:
  TColors DefaultColors() const override;
};

// Light menus with a framed, tinted selection.
class TXPColorMap : public TCustomActionBarColorMap {
  ZEL_CREATABLE_CLASS(TXPColorMap, TCustomActionBarColorMap)
public:
  explicit TXPColorMap(TComponent* owner);
  static void DeclareProperties(TPropertyTable<TXPColorMap>& t);

protected:
  TColors DefaultColors() const override;
};

// Dark bars with light text.
class TTwilightColorMap : public TCustomActionBarColorMap {
  ZEL_CREATABLE_CLASS(TTwilightColorMap, TCustomActionBarColorMap)
public:
  explicit TTwilightColorMap(TComponent* owner);
  static void DeclareProperties(TPropertyTable<TTwilightColorMap>& t);

protected:
  TColors DefaultColors() const override;
};

using TCustomColorMapClass = TClassRef<TCustomActionBarColorMap>;

} // namespace zel
