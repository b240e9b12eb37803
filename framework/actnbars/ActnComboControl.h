#pragma once
// A combo box on a tool bar for an item whose action is a list action.
//
// The item's control (TCustomComboControl) is an action control like every
// other, laid out by its bar; it keeps a windowed combo box (TActionComboBox)
// on the bar over its own bounds, which gives the drop-down list, the
// keyboard and the focus of the framework's combo box.  The box shows the
// list action's items and its ItemIndex; a choice the person makes sets the
// action's ItemIndex, raises its OnItemSelected and counts a use of the
// item.  The box follows the action: its items, its selection, and its
// enabled state.
//
// The control paints the box through painting roles of its own, so that a
// style can give it its look: the base draws a flat field framed in the
// colour map's colours (hot and dropped tinted like the style's buttons);
// the "Standard" style's class draws classic sunken edges.

#include "framework/actnbars/ActnCtrls.h"
#include "framework/stdctrls/ComboBox.h"

namespace zel {

class TCustomComboControl;
class TCustomListAction;

// The windowed box of a combo control.  It paints through its control and
// hands the person's choices to it.
class TActionComboBox : public TCustomComboBox {
  ZEL_CLASS(TActionComboBox, TCustomComboBox)
public:
  TActionComboBox(TComponent* owner, TCustomComboControl* control);
  ~TActionComboBox() override;
  TCustomComboControl* Control() const { return FControl; }
  // The mouse is over the box (the hot state).
  bool MouseInBox() const { return FMouseIn; }
  void DrawItem(TCanvas* canvas, int index, const sys::RECT& rect, TOwnerDrawState state) override;
  void WndProc(TMessage& message) override;

protected:
  void Paint() override;
  void MouseEnter() override;
  void MouseLeave() override;
  void Select() override;
  void DropDown() override;
  void CloseUp() override;

private:
  friend class TCustomComboControl;
  TCustomComboControl* FControl;
  bool FMouseIn = false;
};

// The states the painting roles of a combo control are given.
struct TComboPaintState {
  bool enabled = true;
  bool hot = false;     // the mouse is over the box
  bool dropped = false; // the list is open
  bool focused = false; // the box has the keyboard
};

class TCustomComboControl : public TCustomActionControl {
  ZEL_CREATABLE_CLASS(TCustomComboControl, TCustomActionControl)
public:
  explicit TCustomComboControl(TComponent* owner);
  ~TCustomComboControl() override;

  // The item's action when it is a list action, else nil.
  TCustomListAction* ListAction() const;
  TActionComboBox* ComboBox() const { return FComboBox; }
  // The state the box is painted in now.
  TComboPaintState PaintState() const;

  sys::SIZE CalcSize() override;
  void SetActionClient(TActionClientItem* value) override;
  void SetParent(TWinControl* parent) override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool value) override;
  // The action changed (its items, index or enabled state): the box
  // follows, then repaints.
  void Invalidate() override;
  // Brings the box in line with the list action.
  void UpdateComboBox();

  // ---- Painting roles of the box (canvas and rectangles of the box) ---------------------
  // The field behind the text and its frame.
  virtual void DrawComboField(TCanvas* canvas, const sys::RECT& r, const TComboPaintState& s);
  // The button at the right with its arrow.
  virtual void DrawComboButton(TCanvas* canvas, const sys::RECT& r, const TComboPaintState& s);
  // One item: in the field (index of the current item, odComboBoxEdit in
  // state) or a row of the open list.
  virtual void DrawComboItem(TCanvas* canvas, int index, const sys::RECT& r, TOwnerDrawState state);
  // The width of the button part.
  virtual int ButtonWidth() const { return 13; }

protected:
  // The bar's background shows around the box; the box paints itself.
  void Paint() override {}
  // The person chose an item in the box.
  virtual void ItemChosen(int index);

private:
  friend class TActionComboBox;
  void BoxStateChanged();
  TActionComboBox* FComboBox = nullptr;
  int FItemHeight = 0; // the row height given to the box (0: the font's)
};

// The "Standard" style's combo: a sunken field and a raised button that
// looks pressed while the list is open.
class TStandardComboControl : public TCustomComboControl {
  ZEL_CREATABLE_CLASS(TStandardComboControl, TCustomComboControl)
public:
  explicit TStandardComboControl(TComponent* owner) : TCustomComboControl(owner) {}
  void DrawComboField(TCanvas* canvas, const sys::RECT& r, const TComboPaintState& s) override;
  void DrawComboButton(TCanvas* canvas, const sys::RECT& r, const TComboPaintState& s) override;
  int ButtonWidth() const override;
};

// Whether item, on bar, is shown as a combo control: an item of a tool bar
// without sub-items whose action is a list action.
bool IsComboItem(TCustomActionBar* bar, TActionClientItem* item);

} // namespace zel
