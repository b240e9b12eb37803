#pragma once
// TComboBox: a closed box showing the chosen item and a button; pressing it
// (or F4, Alt+Down) drops a list window below it, which closes when an item
// is chosen, on Escape, or on a press anywhere else.  Closed, the arrows,
// Page Up/Down, Home and End and the first letter of an item choose items
// directly.  Owner-drawn styles paint items through DrawItem / OnDrawItem.
//
// A choice made by the person raises OnChange (and OnSelect); setting
// ItemIndex from code does not.

#include <memory>

#include "framework/controls/CustomControl.h"
#include "framework/core/Strings.h"
#include "framework/stdctrls/StdCtrlTypes.h"

namespace zel {

class TComboListWindow;

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

enum TOwnerDrawStateFlag {
  odSelected,
  odGrayed,
  odDisabled,
  odChecked,
  odFocused,
  odDefault,
  odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateFlag>;

using TDrawItemEvent = std::function<void(TWinControl* control, int index, const sys::RECT& rect,
                                          TOwnerDrawState state)>;

class TCustomComboBox : public TCustomControl {
  ZEL_CLASS(TCustomComboBox, TCustomControl)
public:
  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override;
  static void DeclareProperties(TPropertyTable<TCustomComboBox>& t);

  void WndProc(TMessage& message) override;

  TStrings* Items() { return FItems.get(); }
  int ItemIndex() const { return FItemIndex; }
  // -1 clears the choice; an index outside the items is taken as -1.
  virtual void SetItemIndex(int index);
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle value);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int value) { FDropDownCount = value < 1 ? 1 : value; }
  int ItemHeight();
  void SetItemHeight(int value);
  // The text of the chosen item ("" when none).
  std::string ItemText();

  bool DroppedDown() const;
  void SetDroppedDown(bool value);
  // The list window while it exists (for tests and descendants).
  TComboListWindow* ListWindow() const { return FList; }

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;

  // Paints item index into rect on canvas: the owner-draw handler for the
  // owner-drawn styles, else the item's text.  The list uses it as well.
  virtual void DrawItem(TCanvas* canvas, int index, const sys::RECT& rect, TOwnerDrawState state);
  // A choice of the person: stores it and raises OnSelect and OnChange.
  void ChooseItem(int index);
  // The canvas an owner-draw handler draws on while it runs (the box's or
  // the list's).
  TCanvas* ItemCanvas() { return FDrawCanvas ? FDrawCanvas : Canvas(); }
  // The button at the right, in client coordinates.
  sys::RECT ButtonRect();

protected:
  void Paint() override;
  void KeyDown(sys::WORD& key, TShiftState shift) override;
  void KeyPress(char32_t& key) override;
  bool WantsKey(sys::WORD key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  int BorderSize() const;

private:
  friend class TComboListWindow;
  void ItemsChanged(TObject*);
  void ListClosed(bool choose, int index);
  void FitHeight();

  std::unique_ptr<TStringList> FItems;
  int FItemIndex = -1;
  TComboBoxStyle FStyle = csDropDown;
  int FDropDownCount = 8;
  int FItemHeight = 0; // 0: from the font
  TComboListWindow* FList = nullptr;
  TCanvas* FDrawCanvas = nullptr;
};

// The drop-down list: a top-level window without frame of its own that
// holds the mouse while it is open.
class TComboListWindow : public TCustomControl {
  ZEL_CLASS(TComboListWindow, TCustomControl)
public:
  explicit TComboListWindow(TCustomComboBox* combo);
  ~TComboListWindow() override;

  void WndProc(TMessage& message) override;

  // Opens below (or above) the box at screen bounds and takes the mouse.
  void Open(const sys::RECT& screenBounds, int rows);
  // Releases the mouse and hides.
  void Close();
  int HotIndex() const { return FHot; }
  void SetHotIndex(int index); // scrolls it into view
  int TopIndex() const { return FTop; }
  void SetTopIndex(int index);
  int Rows() const { return FRows; }
  // The item at a client point, or -1.
  int ItemAt(sys::POINT p);
  sys::RECT ItemRect(int index);
  bool HasScrollBar() const;
  // The scroll bar's rectangle (empty without one), in client coordinates.
  sys::RECT VertScrollBarRect() const;

protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

private:
  void Mouse(TMessage& m);
  void LayoutBar();

  TCustomComboBox* FCombo;
  int FHot = -1;
  int FTop = 0;
  int FRows = 1;
  bool FPressedInside = false;
  bool FMovedInside = false;
  std::unique_ptr<class TDrawnScrollBar> FBar;
};

class TComboBox : public TCustomComboBox {
  ZEL_CREATABLE_CLASS(TComboBox, TCustomComboBox)
public:
  using TCustomComboBox::TCustomComboBox;
};

} // namespace zel
