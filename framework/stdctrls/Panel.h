#pragma once
// TPanel: a container with raised or lowered bevels and a centred caption.
// TGroupBox: a container framed by an etched line with its caption set into
// the top edge.

#include "framework/controls/CustomControl.h"
#include "framework/stdctrls/StdCtrlTypes.h"

namespace zel {

// Draws a one-pixel 3D frame: top-left edges in topLeft, bottom-right edges
// in bottomRight, and moves r one pixel inwards.
void Frame3D(TCanvas* canvas, sys::RECT& r, TColor topLeft, TColor bottomRight, int width = 1);

class TCustomPanel : public TCustomControl {
  ZEL_CLASS(TCustomPanel, TCustomControl)
public:
  explicit TCustomPanel(TComponent* owner);

  void WndProc(TMessage& message) override;
  void AdjustClientRect(sys::RECT& rect) override;

  // The panel's own bevels (TWinControl's BevelInner/BevelOuter belong to
  // the window border kind and are not these).
  TBevelCut PanelBevelInner() const { return FBevelInner; }
  void SetPanelBevelInner(TBevelCut value);
  TBevelCut PanelBevelOuter() const { return FBevelOuter; }
  void SetPanelBevelOuter(TBevelCut value);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool value);

protected:
  void Paint() override;
  // Width of everything drawn around the client area.
  int FrameWidth() const;

private:
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  int FBevelWidth = 1;
  TBorderStyle FBorderStyle = bsNone;
  TAlignment FAlignment = taCenter;
  bool FShowCaption = true;
};

class TPanel : public TCustomPanel {
  ZEL_CREATABLE_CLASS(TPanel, TCustomPanel)
public:
  using TCustomPanel::TCustomPanel;
};

class TCustomGroupBox : public TCustomControl {
  ZEL_CLASS(TCustomGroupBox, TCustomControl)
public:
  explicit TCustomGroupBox(TComponent* owner);

  void WndProc(TMessage& message) override;
  // Inside the frame, below the caption.
  void AdjustClientRect(sys::RECT& rect) override;

protected:
  void Paint() override;
  int CaptionHeight();
};

class TGroupBox : public TCustomGroupBox {
  ZEL_CREATABLE_CLASS(TGroupBox, TCustomGroupBox)
public:
  using TCustomGroupBox::TCustomGroupBox;
};

} // namespace zel
