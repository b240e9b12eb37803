#pragma once
// TListBox: a sunken white box of text lines, one of which may be chosen,
// with a scroll bar when they do not all fit.  With CheckBoxes every line
// starts with a check box that a click on it (or Space) toggles.  The
// owner-drawn style paints lines through OnDrawItem (a glyph beside the
// text, for example); the line objects carry a pointer for the owner.
//
// A choice made by the person (click, arrows, Home, End, Page Up/Down)
// raises OnClick; a toggled box raises OnClickCheck.  Setting ItemIndex or
// Checked from code raises nothing.

#include <memory>
#include <vector>

#include "framework/controls/CustomControl.h"
#include "framework/core/Strings.h"
#include "framework/stdctrls/ComboBox.h"

namespace zel {

class TDrawnScrollBar;

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };

class TCustomListBox : public TCustomControl {
  ZEL_CLASS(TCustomListBox, TCustomControl)
public:
  explicit TCustomListBox(TComponent* owner);
  ~TCustomListBox() override;

  TStrings* Items() { return FItems.get(); }
  int Count() const;
  int ItemIndex() const { return FItemIndex; }
  // -1 clears the choice; an index outside the lines is taken as -1.  The
  // chosen line is scrolled into view.
  void SetItemIndex(int index);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle value);
  // The line height: the font's line plus 3 unless set (0: back to that).
  int ItemHeight();
  void SetItemHeight(int value);
  int TopIndex() const { return FTopIndex; }
  void SetTopIndex(int index);
  // The number of whole lines that fit.
  int VisibleRows();

  bool CheckBoxes() const { return FCheckBoxes; }
  void SetCheckBoxes(bool value);
  bool Checked(int index) const;
  void SetChecked(int index, bool value);

  // The line at a client point, or -1; a line's rectangle in client
  // coordinates (outside the box when scrolled away).
  int ItemAtPos(sys::POINT p);
  sys::RECT ItemRect(int index);
  // The check box of a line, in client coordinates.
  sys::RECT CheckBoxRect(int index);
  bool HasScrollBar();

  void WndProc(TMessage& message) override;

  TNotifyEvent OnClickCheck;
  TDrawItemEvent OnDrawItem;

  // Paints a line into rect: OnDrawItem for the owner-drawn style, else
  // its text, on the selection colours when chosen.
  virtual void DrawItem(int index, const sys::RECT& rect, TOwnerDrawState state);

protected:
  void Paint() override;
  void Resize() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(sys::WORD& key, TShiftState shift) override;
  bool WantsKey(sys::WORD key, TShiftState shift) override;
  // The person chose a line: stored, shown, OnClick.
  void ChooseItem(int index);
  void ToggleCheck(int index);

private:
  void ItemsChanged(TObject*);
  void LayoutBar();
  sys::RECT InnerRect();
  void DrawCheckBox(const sys::RECT& box, bool checked);

  std::unique_ptr<TStringList> FItems;
  std::unique_ptr<TDrawnScrollBar> FBar;
  std::vector<bool> FChecked;
  int FItemIndex = -1;
  int FTopIndex = 0;
  int FItemHeight = 0;
  int FFontHeight = 0; // the measured line of the font, 0 until measured
  TListBoxStyle FStyle = lbStandard;
  bool FCheckBoxes = false;
};

class TListBox : public TCustomListBox {
  ZEL_CREATABLE_CLASS(TListBox, TCustomListBox)
public:
  using TCustomListBox::TCustomListBox;
};

} // namespace zel
