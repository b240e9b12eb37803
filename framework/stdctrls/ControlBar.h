#pragma once
// The control bar: a strip whose child controls are bands laid out in rows
// of RowSize pixels.  Each band has a grip at its left; dragging the grip
// moves the band along its row, into another row, or into a new row above
// or below the others.  AutoSize fits the bar's height to its rows.  The
// background is the bar's colour or, with dsGradient, a two-colour gradient.
//
// A band whose control has the drag kind dkDock floats when its grip is
// dragged well outside the bar (further than half a row): the drag becomes a
// dock drag, whose release over no site floats the control in a floating
// dock form, and over a control bar that accepts it (OnDockOver) docks it as
// a band at the row and position under the mouse.  Esc puts the band back.
//
// Layout rule: each visible child keeps a row and a wanted left position;
// the bands of a row are placed left to right in the order of their wanted
// positions, each at its wanted position or right after the band before it,
// whichever is further right, and slide left where they would run past the
// right edge.  A band that still runs past it behind another band opens a
// row below; a band being dragged stays in the row under the pointer and
// the others make way, towards the row it came from.  Empty rows close up.  A child moved by the
// program (its bounds differ from where the bar put it) takes its row and
// position from its new bounds.

#include <functional>
#include <map>
#include <vector>

#include "framework/controls/CustomControl.h"
#include "framework/graphics/GraphUtil.h"

namespace zel {

// Scoped, since the image lists' drawing styles have a dsNormal of their
// own; dsGradient is also known unscoped.
enum class TBandDrawingStyle { dsNormal, dsGradient };
constexpr TBandDrawingStyle dsGradient = TBandDrawingStyle::dsGradient;

// insets: the space around the control inside its band (the grip is in the
// left inset); preferredSize: the control's width; rowCount: the rows the
// band takes.
using TBandInfoEvent = std::function<void(TObject* sender, TControl* control, sys::RECT& insets,
                                          int& preferredSize, int& rowCount)>;
using TDockOverEvent = std::function<void(TObject* sender, TDragDockObject* source, int x, int y,
                                          TDragState state, bool& accept)>;

class TCustomControlBar : public TCustomControl {
  ZEL_CLASS(TCustomControlBar, TCustomControl)
public:
  explicit TCustomControlBar(TComponent* owner);
  ~TCustomControlBar() override;

  int RowSize() const { return FRowSize; }
  void SetRowSize(int value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  TBandDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TBandDrawingStyle value);
  TColor GradientStartColor() const { return FGradientStartColor; }
  void SetGradientStartColor(TColor value);
  TColor GradientEndColor() const { return FGradientEndColor; }
  void SetGradientEndColor(TColor value);
  TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TGradientDirection value);

  // The band info of a child: the defaults (grip inset 11, 2 elsewhere, the
  // control's width, the rows its height needs), then OnBandInfo.
  void GetBandInfo(TControl* control, sys::RECT& insets, int& preferredSize, int& rowCount);
  // The number of rows after the last layout.
  int RowCount() const { return FRowCount; }
  // The row of a child's band (-1 for a control that is no band).
  int BandRow(TControl* control) const;
  // A child's band rectangle in client coordinates (empty for no band).
  sys::RECT BandRect(TControl* control) const;
  // With dsGradient, the rectangle (client coordinates) whose gradient a
  // band shows: the control's client area grown by one pixel on every side,
  // its left edge 10 pixels further left, at the band's left edge.  A
  // control that fills this same rectangle with the bar's gradient behind
  // itself joins its band without a seam; neighbouring bands show the same
  // colours at the same offsets from their left edges.
  sys::RECT BandGradientRect(TControl* control);

  TBandInfoEvent OnBandInfo;
  TDockOverEvent OnDockOver;

  // Proposes the band place under the mouse as the drag's dock rectangle,
  // then asks OnDockOver.
  void DockOver(TDragDockObject* source, int x, int y, TDragState state, bool& accept) override;
  void DoAddDockClient(TControl* client, const sys::RECT& rect) override;
  // Where control would go if dropped at a client point: its rectangle in
  // client coordinates, its grip under the point, in the row there (a new
  // row above or below the others outside them).
  sys::RECT DockPlace(TControl* control, int x, int y);
  // The distance beyond the client area at which a band's drag turns into a
  // dock drag.
  int FloatDistance() const;
  void Notification(TComponent* component, TOperation operation) override;

  static void DeclareProperties(TPropertyTable<TCustomControlBar>& t);

protected:
  void AlignControls(TControl* control, sys::RECT& rect) override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(sys::WORD& key, TShiftState shift) override;
  void WndProc(TMessage& message) override;
  // Draws one band's frame and grip.
  virtual void PaintBand(TControl* control, const sys::RECT& band);
  // Fills area, a band and the free space after it in its row, with the
  // band's gradient as BandGradientRect describes.
  void PaintBandGradient(TControl* control, const sys::RECT& area);

private:
  struct TBand {
    TControl* Control = nullptr;
    double RowKey = 0;  // the row, possibly between two rows while dragging
    int WantedLeft = 0; // the wanted left edge of the band
    sys::RECT Placed{}; // where the layout put the control
    sys::RECT Rect{};   // the band's rectangle
    int Row = 0;
    int Order = 0; // breaks ties of wanted positions: lower goes first
  };
  TBand* FindBand(TControl* control);
  const TBand* FindBand(TControl* control) const;
  void SyncBands(const sys::RECT& area);
  int PlanBands(const sys::RECT& area, std::vector<size_t>& order);
  void PlaceRow(const sys::RECT& area, const std::vector<size_t>& order, size_t first, size_t last);
  void LayoutBands(const sys::RECT& area);
  TBand* LastOtherBandInRow(const std::vector<size_t>& order, const TBand& band);
  void MoveDraggedBand(int x, int y);
  void RestorePressBands();
  int PressBottom() const;
  void EndBandMove();
  TBand* GripAt(int x, int y);
  void Changed();
  void BeginBandDockDrag(sys::POINT screen);
  void EndBandDockDrag(bool drop, sys::POINT screen);

  int FRowSize = 26;
  bool FAutoSize = false;
  TBandDrawingStyle FDrawingStyle = TBandDrawingStyle::dsNormal;
  TColor FGradientStartColor = clWindow;
  TColor FGradientEndColor = clBtnFace;
  TGradientDirection FGradientDirection = gdVertical;
  std::vector<TBand> FBands;
  int FRowCount = 0;
  int FNextOrder = 0;
  bool FLayingOut = false;
  TControl* FDragControl = nullptr;
  int FDragOffset = 0;
  int FDragFromRow = 0; // the dragged band's row at the press
  // The bands as they stood at the press on a grip, put back when the drag
  // turns into a dock drag or is cancelled.
  std::vector<TBand> FPressBands;
  bool FDockDragging = false;
  sys::HWND FFocusBeforeDrag = nullptr;
};

class TControlBar : public TCustomControlBar {
  ZEL_CREATABLE_CLASS(TControlBar, TCustomControlBar)
public:
  explicit TControlBar(TComponent* owner) : TCustomControlBar(owner) {}
};

} // namespace zel
