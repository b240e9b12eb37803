#pragma once
// The parts of the colour dialog: swatch palettes, the hue and saturation
// field, the luminance bar, number entry fields and push buttons.

#include <functional>
#include <vector>

#include "framework/controls/CustomControl.h"

namespace zel {

// A grid of colour swatches; a click or the arrow keys select one.
class TColorPalette : public TCustomControl {
  ZEL_CLASS(TColorPalette, TCustomControl)
public:
  TColorPalette(TComponent* owner, int columns, std::vector<TColor> colors);
  int Count() const { return int(FColors.size()); }
  TColor Colors(int index) const { return FColors.at(size_t(index)); }
  void SetColors(int index, TColor color);
  int Selected() const { return FSelected; }
  void SetSelected(int index);
  sys::RECT CellRect(int index) const;
  // Raised when the person selects a swatch.
  TNotifyEvent OnSelect;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(sys::WORD& key, TShiftState shift) override;
  bool WantsKey(sys::WORD key, TShiftState shift) override;

private:
  int FColumns;
  std::vector<TColor> FColors;
  int FSelected = -1;
};

// Hue 0..239 from left to right, saturation 240..0 from top to bottom.
class THueSatField : public TCustomControl {
  ZEL_CLASS(THueSatField, TCustomControl)
public:
  explicit THueSatField(TComponent* owner);
  int Hue() const { return FHue; }
  int Saturation() const { return FSat; }
  void SetValues(int hue, int sat);
  sys::POINT PointOf(int hue, int sat);
  TNotifyEvent OnChange;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;

private:
  void PickAt(int x, int y);
  int FHue = 0, FSat = 0;
};

// Luminance 240 at the top to 0 at the bottom, for the field's hue and
// saturation, with a pointer at the right.
class TLuminanceBar : public TCustomControl {
  ZEL_CLASS(TLuminanceBar, TCustomControl)
public:
  explicit TLuminanceBar(TComponent* owner);
  int Luminance() const { return FLum; }
  void SetLuminance(int lum);
  void SetHueSat(int hue, int sat);
  int YOf(int lum);
  TNotifyEvent OnChange;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void KeyDown(sys::WORD& key, TShiftState shift) override;

private:
  void PickAt(int y);
  int FLum = 120, FHue = 0, FSat = 0;
};

// A field for a whole number in a range: digits, Backspace, and the arrows
// to step.
class TNumberEdit : public TCustomControl {
  ZEL_CLASS(TNumberEdit, TCustomControl)
public:
  TNumberEdit(TComponent* owner, int min, int max);
  int Value() const { return FValue; }
  void SetValue(int v);
  TNotifyEvent OnChange;

protected:
  void Paint() override;
  void KeyDown(sys::WORD& key, TShiftState shift) override;
  void KeyPress(char32_t& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void WndProc(TMessage& message) override;
  bool WantsKey(sys::WORD key, TShiftState shift) override;

private:
  void Edited(int v);
  int FMin, FMax, FValue = 0;
  bool FFresh = true; // the next digit replaces the value
};

// A push button that closes its modal form with a result, or runs OnClick.
// The form's default button answers Enter, its cancel button Esc, wherever
// the focus is in the form (unless the focused control uses the key).
class TPushButton : public TCustomControl {
  ZEL_CLASS(TPushButton, TCustomControl)
public:
  TPushButton(TComponent* owner, int modalResult);
  void Click() override;
  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }

protected:
  void Paint() override;
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;
  void KeyDown(sys::WORD& key, TShiftState shift) override;
  void WndProc(TMessage& message) override;

private:
  int FResult;
  bool FDefault = false, FCancel = false;
};

} // namespace zel
