#pragma once
// TPageControl and TTabSheet: a set of pages of which one shows at a time,
// chosen by a row of tabs along the top.  A tab sheet joins a page control
// by SetPageControl (or by taking it as its parent) and fills the page area
// inside the control's frame; only the active sheet is visible.
//
// The tabs are painted in the classic raised look: the active tab stands
// two pixels higher and wider than the others and runs into the page below
// it without a line.  A press on a tab activates its sheet; with the focus
// on the control the left and right arrows move between the tabs, and a
// form may pass Ctrl+Tab on through TurnPage.

#include <vector>

#include "framework/controls/CustomControl.h"

namespace zel {

class TPageControl;

class TTabSheet : public TCustomControl {
  ZEL_CREATABLE_CLASS(TTabSheet, TCustomControl)
public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return FPageControl; }
  // Moves the sheet to another page control (nil: to none).
  void SetPageControl(TPageControl* value);
  // The sheet's place among its control's pages, or -1.
  int PageIndex() const;
  void SetPageIndex(int value);
  // Whether the sheet's tab shows; a hidden tab's sheet cannot be active.
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool value);

  void SetParent(TWinControl* parent) override;
  void WndProc(TMessage& message) override;

protected:
  void Paint() override;

private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};

using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

class TPageControl : public TCustomControl {
  ZEL_CREATABLE_CLASS(TPageControl, TCustomControl)
public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  int PageCount() const { return int(FPages.size()); }
  TTabSheet* Pages(int index) const { return FPages.at(size_t(index)); }
  TTabSheet* ActivePage() const { return FActivePage; }
  // Shows page (one of this control's, with a visible tab; nil hides all).
  // Raises no events: OnChanging and OnChange belong to the person's choice.
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  // Activates the next (or previous) page whose tab shows, wrapping round,
  // as a choice of the person.
  void SelectNextPage(bool goForward);
  // The same from the keyboard (Ctrl+Tab): the new page's first control
  // that takes the keyboard gets it (the tabs, when the page has none), so
  // that the focus shows where the keys now go.
  void TurnPage(bool goForward);
  // The index of the page whose tab lies at a client point, or -1.
  int IndexOfTabAt(int x, int y);
  // A tab's rectangle in client coordinates (the active tab's raised one);
  // empty for a hidden tab.
  sys::RECT TabRect(int index);
  // The height of the row of tabs.
  int TabHeight();
  // The rectangle the sheets fill.
  sys::RECT DisplayRect();

  void AdjustClientRect(sys::RECT& rect) override;
  void WndProc(TMessage& message) override;

  // Asked before the person switches pages, then told after.
  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(sys::WORD& key, TShiftState shift) override;
  bool WantsKey(sys::WORD key, TShiftState shift) override;
  // A choice of the person: OnChanging may refuse it, OnChange follows.
  void ChoosePage(TTabSheet* page);

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void MovePage(TTabSheet* page, int index);
  int TabWidth(int index);
  void DrawTab(int index);
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
};

} // namespace zel
