#pragma once
// TSplitter: a thin bar placed beside the control it resizes, with the same
// alignment.  Dragging it changes that control's width (left and right
// alignment) or height (top and bottom), never below MinSize and never so far
// that the free space of the parent falls below MinSize.
//
// ResizeStyle rsUpdate resizes the control at every mouse move; rsLine and
// rsPattern show a dark or a hatched bar where the splitter would go and
// resize once at the release; rsNone does the same without the bar.  The
// bar is a small window of its own above everything, so that the windows
// beside the splitter cannot hide it.

#include <memory>

#include "framework/controls/GraphicControl.h"

namespace zel {

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };

using TCanResizeSizeEvent = std::function<void(TObject* sender, int& newSize, bool& accept)>;

class TSplitter : public TGraphicControl {
  ZEL_CREATABLE_CLASS(TSplitter, TGraphicControl)
public:
  explicit TSplitter(TComponent* owner);
  ~TSplitter() override;
  static void DeclareProperties(TPropertyTable<TSplitter>& t);

  void SetAlign(TAlign value) override;

  int MinSize() const { return FMinSize; }
  void SetMinSize(int value) { FMinSize = value < 1 ? 1 : value; }
  TResizeStyle ResizeStyle() const { return FResizeStyle; }
  void SetResizeStyle(TResizeStyle value) { FResizeStyle = value; }
  bool AutoSnap() const { return FAutoSnap; }
  void SetAutoSnap(bool value) { FAutoSnap = value; }

  // The control the splitter resizes now: the nearest visible sibling on
  // the splitter's aligned side with the same alignment, or nullptr.
  TControl* FindControl();
  // True while a drag is going on.
  bool Dragging() const { return FDragging; }

  TCanResizeSizeEvent OnCanResize;
  TNotifyEvent OnMoved;

protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
  bool Horizontal() const { return Align() == alLeft || Align() == alRight; }
  // The size the control would take for the mouse at parent point p.
  int SizeFor(sys::POINT p);
  void ApplySize(int size);
  // Shows the bar at FLineRect (parent coordinates), or hides it.
  void ShowLine(bool show);
  sys::RECT LineRect(int size);

  int FMinSize = 30;
  TResizeStyle FResizeStyle = rsUpdate;
  bool FAutoSnap = false;
  bool FDragging = false;
  TControl* FControl = nullptr;
  sys::POINT FDownPos{}; // parent coordinates of the press
  int FStartSize = 0;
  int FMaxSize = 0;
  int FNewSize = 0;
  sys::RECT FLineRect{};
  std::unique_ptr<class TSplitterLine> FLine;
};

} // namespace zel
