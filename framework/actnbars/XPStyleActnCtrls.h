#pragma once
// The "XP Style": light menus with a gutter for the glyphs, selections and
// hot buttons in a tinted box with a thin frame.
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnStyles.h"

namespace zel {

class TXPStyleButton : public TCustomButtonControl {
  ZEL_CREATABLE_CLASS(TXPStyleButton, TCustomButtonControl)
public:
  explicit TXPStyleButton(TComponent* owner) : TCustomButtonControl(owner) {}
  void DrawBackground(sys::RECT& r) override;
  void DrawFrame(const sys::RECT& r, bool down) override;
};

class TXPStyleDropDownBtn : public TCustomDropDownButton {
  ZEL_CREATABLE_CLASS(TXPStyleDropDownBtn, TCustomDropDownButton)
public:
  explicit TXPStyleDropDownBtn(TComponent* owner) : TCustomDropDownButton(owner) {}
  void DrawBackground(sys::RECT& r) override;
  void DrawFrame(const sys::RECT& r, bool down) override;
};

class TXPStyleMenuButton : public TCustomMenuButton {
  ZEL_CREATABLE_CLASS(TXPStyleMenuButton, TCustomMenuButton)
public:
  explicit TXPStyleMenuButton(TComponent* owner) : TCustomMenuButton(owner) {}
  void DrawBackground(sys::RECT& r) override;
  void DrawFrame(const sys::RECT& r, bool down) override;
  // Joined to its open menu, the button takes the menu's colour and so the
  // menu's text colour.
  TColor CaptionColor() override;

private:
  bool JoinsOpenMenu() const;
};

class TXPStyleMenuItem : public TCustomMenuItem {
  ZEL_CREATABLE_CLASS(TXPStyleMenuItem, TCustomMenuItem)
public:
  explicit TXPStyleMenuItem(TComponent* owner) : TCustomMenuItem(owner) {}
  // The item's background with its selection box.
  void DrawBackground(sys::RECT& r) override;
  void DrawSeparator(const sys::RECT& r) override;
  int GutterWidth() const override { return std::max<int>(26, GlyphCell().cx + 10); }

protected:
  void DrawCheckedGlyphBox(const sys::RECT& box) override;
};

class TXPStyleExpandBtn : public TCustomMenuExpandBtn {
  ZEL_CREATABLE_CLASS(TXPStyleExpandBtn, TCustomMenuExpandBtn)
public:
  explicit TXPStyleExpandBtn(TComponent* owner) : TCustomMenuExpandBtn(owner) {}
  void DrawBackground(sys::RECT& r) override;
  void DrawFrame(const sys::RECT& r, bool down) override;
};

class TXPStylePopupMenu : public TCustomActionPopupMenu {
  ZEL_CREATABLE_CLASS(TXPStylePopupMenu, TCustomActionPopupMenu)
public:
  explicit TXPStylePopupMenu(TComponent* owner);
  void DrawBackground() override;
  TClassRef<TCustomActionControl> ExpandBtnClass() override;
};

// An item of the add-or-remove menu: a check box column beside the glyph.
class TXPStyleAddRemoveItem : public TXPStyleMenuItem {
  ZEL_CREATABLE_CLASS(TXPStyleAddRemoveItem, TXPStyleMenuItem)
public:
  explicit TXPStyleAddRemoveItem(TComponent* owner) : TXPStyleMenuItem(owner) {}
  int GutterWidth() const override { return std::max<int>(46, GlyphCell().cx + 30); }
  bool CheckBesideGlyph() const override { return true; }
  sys::POINT GlyphPos() override;

protected:
  void DrawCheckMark(const sys::RECT& glyphCell) override;
};

class TXPStyleCustomizePopup : public TCustomizeActionToolBar {
  ZEL_CREATABLE_CLASS(TXPStyleCustomizePopup, TCustomizeActionToolBar)
public:
  explicit TXPStyleCustomizePopup(TComponent* owner);
  void DrawBackground() override;
  TClassRef<TCustomActionControl> ExpandBtnClass() override;
};

class TXPStyleActionBars : public TActionBarStyleEx {
  ZEL_CLASS(TXPStyleActionBars, TActionBarStyleEx)
public:
  TCustomActionControlClass ControlClassFor(TCustomActionBar* bar,
                                            TActionClientItem* item) override;
  TCustomColorMapClass ColorMapClassFor(TCustomActionBar* bar) override;
  std::string StyleName() override { return "XP Style"; }
  TCustomActionBarClass GetPopupClass(TCustomActionBar* bar) override;
  TCustomActionControlClass GetAddRemoveItemClass(TCustomActionBar* bar) override;
  TCustomActionControlClass GetScrollBtnClass() override;
};

TXPStyleActionBars* XPStyle();

} // namespace zel
