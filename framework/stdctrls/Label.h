#pragma once
// TLabel: a caption painted on its parent, with an "&" accelerator that
// gives the focus to FocusControl, AutoSize (the label fits its text),
// Alignment, Layout, WordWrap and Transparent.

#include "framework/controls/GraphicControl.h"
#include "framework/stdctrls/StdCtrlTypes.h"

namespace zel {

class TWinControl;

class TCustomLabel : public TGraphicControl {
  ZEL_CLASS(TCustomLabel, TGraphicControl)
public:
  explicit TCustomLabel(TComponent* owner);
  static void DeclareProperties(TPropertyTable<TCustomLabel>& t);

  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* control);

  // The accelerator letter of the caption (lower case), or 0.
  char32_t AccelChar();
  // Fits the label to its text now (AutoSize does this after every change).
  void AdjustBounds();

protected:
  void Paint() override;
  // The DrawText flags of the current settings.
  unsigned TextFlags() const;

private:
  bool DialogChar(char32_t ch);

  bool FAutoSize = true;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FTransparent = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
  ZEL_CREATABLE_CLASS(TLabel, TCustomLabel)
public:
  using TCustomLabel::TCustomLabel;
};

// The lower-case form of a character for matching accelerators and first
// letters: ASCII and Cyrillic letters are folded, others stay as they are.
char32_t LowerChar(char32_t ch);

// Offers the character of an Alt+letter press to every control of the form
// (CM_DIALOGCHAR), first to last; returns true when one used it.  Forms call
// it for the keys they do not use themselves.
bool DispatchDialogChar(TWinControl* form, char32_t ch);

} // namespace zel
