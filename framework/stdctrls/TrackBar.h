#pragma once
// TTrackBar: a thumb that slides along a channel between Min and Max, with
// tick marks.  Keys: the arrows move by LineSize, Page Up / Page Down by
// PageSize, Home and End to Min and Max.  The mouse drags the thumb, or,
// pressed on the channel beside it, pages towards the pointer (repeating
// while held).  OnChange follows every change of Position.

#include <memory>
#include <vector>

#include "framework/controls/CustomControl.h"
#include "framework/stdctrls/StdCtrlTypes.h"

namespace zel {

class TTimer;

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };

class TTrackBar : public TCustomControl {
  ZEL_CREATABLE_CLASS(TTrackBar, TCustomControl)
public:
  explicit TTrackBar(TComponent* owner);
  ~TTrackBar() override;
  static void DeclareProperties(TPropertyTable<TTrackBar>& t);

  void WndProc(TMessage& message) override;

  int Min() const { return FMin; }
  void SetMin(int value);
  int Max() const { return FMax; }
  void SetMax(int value);
  int Position() const { return FPosition; }
  // Kept within Min..Max; OnChange when it changes.
  void SetPosition(int value);
  void SetParams(int position, int min, int max);
  int LineSize() const { return FLineSize; }
  void SetLineSize(int value) { FLineSize = value < 1 ? 1 : value; }
  int PageSize() const { return FPageSize; }
  void SetPageSize(int value) { FPageSize = value < 1 ? 1 : value; }
  TTrackBarOrientation Orientation() const { return FOrientation; }
  // Turning the bar swaps its width and height.
  void SetOrientation(TTrackBarOrientation value);
  TTickMark TickMarks() const { return FTickMarks; }
  void SetTickMarks(TTickMark value);
  TTickStyle TickStyle() const { return FTickStyle; }
  void SetTickStyle(TTickStyle value);
  int Frequency() const { return FFrequency; }
  void SetFrequency(int value);
  // The thumb's extent across the channel.
  int ThumbLength() const { return FThumbLength; }
  void SetThumbLength(int value);
  // A manual tick (tsManual) at a position.
  void SetTick(int value);

  // Geometry, in client coordinates.
  sys::RECT ThumbRect();
  sys::RECT ChannelRect();
  // The centre of the thumb along the channel for a position.
  int PositionToPixel(int position);
  // The position whose thumb centre is nearest the pixel.
  int PixelToPosition(int pixel);
  // The positions that get a tick, in order.
  std::vector<int> TickPositions() const;

  TNotifyEvent OnChange;

protected:
  void Paint() override;
  void KeyDown(sys::WORD& key, TShiftState shift) override;
  bool WantsKey(sys::WORD key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  virtual void Changed();

private:
  bool Vertical() const { return FOrientation == trVertical; }
  // Maps (along, across) to a client point.
  sys::POINT Map(int along, int across) const;
  sys::RECT MapRect(int a0, int c0, int a1, int c1) const;
  int Length() { return Vertical() ? ClientHeight() : ClientWidth(); }
  int ThumbWidth() const;
  int ThumbTop() const; // across coordinate of the thumb's top edge
  void PageTowardsMouse();
  void DrawThumb(TCanvas* c);
  void DrawTicks(TCanvas* c);

  int FMin = 0, FMax = 10, FPosition = 0;
  int FLineSize = 1, FPageSize = 2;
  TTrackBarOrientation FOrientation = trHorizontal;
  TTickMark FTickMarks = tmBottomRight;
  TTickStyle FTickStyle = tsAuto;
  int FFrequency = 1;
  int FThumbLength = 20;
  std::vector<int> FManualTicks;
  bool FDraggingThumb = false;
  int FDragOffset = 0;    // pointer minus thumb centre at the press
  int FPageDirection = 0; // -1 or +1 while the channel is held
  sys::POINT FMousePos{};
  std::unique_ptr<TTimer> FRepeatTimer;
};

} // namespace zel
