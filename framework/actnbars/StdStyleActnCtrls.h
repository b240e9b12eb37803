#pragma once
// The "Standard" style: classic raised and sunken edges around hot and
// pressed buttons, menus with the selection in the highlight colour.
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnStyles.h"

namespace zel {

class TStandardButtonControl : public TCustomButtonControl {
  ZEL_CREATABLE_CLASS(TStandardButtonControl, TCustomButtonControl)
public:
  explicit TStandardButtonControl(TComponent* owner) : TCustomButtonControl(owner) {}
};

class TStandardDropDownButton : public TCustomDropDownButton {
  ZEL_CREATABLE_CLASS(TStandardDropDownButton, TCustomDropDownButton)
public:
  explicit TStandardDropDownButton(TComponent* owner) : TCustomDropDownButton(owner) {}
};

class TStandardMenuButton : public TCustomMenuButton {
  ZEL_CREATABLE_CLASS(TStandardMenuButton, TCustomMenuButton)
public:
  explicit TStandardMenuButton(TComponent* owner) : TCustomMenuButton(owner) {}
  // Raised while hot, sunken while checked.
  void DrawFrame(const sys::RECT& r, bool down) override {
    TCustomActionControl::DrawFrame(r, down);
  }
};

class TStandardMenuItem : public TCustomMenuItem {
  ZEL_CREATABLE_CLASS(TStandardMenuItem, TCustomMenuItem)
public:
  explicit TStandardMenuItem(TComponent* owner) : TCustomMenuItem(owner) {}
  void DrawBackground(sys::RECT& r) override;
};

class TStandardStyleActionBars : public TActionBarStyleEx {
  ZEL_CLASS(TStandardStyleActionBars, TActionBarStyleEx)
public:
  TCustomActionControlClass ControlClassFor(TCustomActionBar* bar,
                                            TActionClientItem* item) override;
  TCustomColorMapClass ColorMapClassFor(TCustomActionBar* bar) override;
  std::string StyleName() override { return "Standard"; }
  TCustomActionBarClass GetPopupClass(TCustomActionBar* bar) override;
  TCustomActionControlClass GetAddRemoveItemClass(TCustomActionBar* bar) override;
  TCustomActionControlClass GetScrollBtnClass() override;
};

// The one instance the program registers.
TStandardStyleActionBars* StandardStyle();

} // namespace zel
