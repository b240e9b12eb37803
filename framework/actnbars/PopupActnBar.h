#pragma once
// Plain pop-up menus (TPopupMenu with its TMenuItem tree) and
// TPopupActionBar, which shows such a menu through the action-bar
// machinery so that it is drawn by an action-bar style.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnStyles.h"

namespace zel {

class TMenuItem : public TComponent {
  ZEL_CREATABLE_CLASS(TMenuItem, TComponent)
public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value) { FCaption = value; }
  bool Checked() const { return FChecked; }
  // Checking a radio item unchecks the radio items of its group among its
  // siblings.
  void SetChecked(bool value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int value) { FGroupIndex = value; }
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool value) { FRadioItem = value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value) { FEnabled = value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool value) { FVisible = value; }
  // Shown beside the caption; the menu does not answer it itself.
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut value) { FShortCut = value; }

  // The child items; an item is in at most one parent.
  int Count() const { return int(FItems.size()); }
  TMenuItem* Items(int index) const { return FItems.at(size_t(index)); }
  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);
  TMenuItem* Parent() const { return FParent; }

  // Raises OnClick.
  virtual void Click();
  TNotifyEvent OnClick;

private:
  std::string FCaption;
  bool FChecked = false, FRadioItem = false, FEnabled = true, FVisible = true;
  int FGroupIndex = 0;
  TShortCut FShortCut = scNone;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
};

class TPopupMenu : public TComponent {
  ZEL_CREATABLE_CLASS(TPopupMenu, TComponent)
public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  // The root item whose children are the menu's items (owned by the menu).
  TMenuItem* Items() const { return FItems.get(); }
  // Shows the menu with its top-left corner at a screen point; it has the
  // keyboard while it shows.
  virtual void Popup(int x, int y) {}

private:
  std::unique_ptr<TMenuItem> FItems;
};

// Asked for each item's control class; cls holds the class the style gave.
using TGetControlClassEvent =
    std::function<void(TCustomActionBar* bar, TActionClient* item, TCustomActionControlClass& cls)>;

// A pop-up menu shown as an action-bar pop-up: its items become action-bar
// items whose choice clicks the menu item.
class TPopupActionBar : public TPopupMenu {
  ZEL_CREATABLE_CLASS(TPopupActionBar, TPopupMenu)
public:
  explicit TPopupActionBar(TComponent* owner);
  ~TPopupActionBar() override;
  void Popup(int x, int y) override;
  // The pop-up on screen (or last shown), or nil.
  TCustomActionPopupMenu* PopupBar() const { return FPopupBar; }
  // The style the pop-up is drawn with when OnGetControlClass leaves the
  // class alone: the first registered style (nil: plain controls).
  TGetControlClassEvent OnGetControlClass;

private:
  class TMenuPopup;
  void Mirror(TMenuItem* source, TActionClients* target);
  std::unique_ptr<TActionManager> FManager;
  TCustomActionPopupMenu* FPopupBar = nullptr;
};

} // namespace zel
