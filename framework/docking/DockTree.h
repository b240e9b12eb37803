#pragma once
// TDockTree: the dock manager that arranges a dock site's clients in nested
// zones.  A zone either holds one control (a leaf) or splits its room among
// its children, side by side (doVertical) or one above the other
// (doHorizontal).  Every leaf shows a grabber with a close box; a splitter
// between neighbouring zones resizes them.  The tree saves itself to a stream
// and reloads it, finding the controls again by name.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/WinControl.h"

namespace zel {

class TCanvas;
class TDockTree;

// doHorizontal: the children are stacked top to bottom (the split lines are
// horizontal); doVertical: the children stand side by side.
enum TDockOrientation : uint8_t { doNoOrient = 0, doHorizontal = 1, doVertical = 2 };

class TDockZone {
public:
  explicit TDockZone(TDockTree* tree) : FTree(tree) {}

  TDockTree* Tree() const { return FTree; }
  TDockZone* ParentZone() const { return FParent; }
  TControl* ChildControl() const { return FChildControl; }
  TDockOrientation Orientation() const { return FOrientation; }
  int ChildCount() const { return int(FChildren.size()); }
  TDockZone* Child(int i) const { return FChildren[size_t(i)].get(); }
  // The zone's share of its parent's room along the parent's orientation.
  double Weight() const { return FWeight; }
  // The zone's rectangle in the site's client coordinates (ResetBounds sets it).
  const sys::RECT& Bounds() const { return FBounds; }
  // The far edge of the zone along its parent's orientation: the bottom for a
  // child of a doHorizontal zone, the right edge otherwise.
  int Limit() const;
  // True when the zone holds a visible control docked in the tree's site,
  // or a child that is visible.  A leaf inserted ahead of its control's
  // Dock is not visible until the control arrives.
  bool Visible() const;
  int IndexInParent() const;

private:
  friend class TDockTree;
  TDockTree* FTree;
  TDockZone* FParent = nullptr;
  std::vector<std::unique_ptr<TDockZone>> FChildren;
  TDockOrientation FOrientation = doNoOrient;
  TControl* FChildControl = nullptr;
  // A leaf inserted ahead of its control's Dock: it waits for the control,
  // taking no room, instead of going as a leaf whose control left does.
  bool FWaiting = false;
  double FWeight = 1.0;
  sys::RECT FBounds{};
};

class TDockTree : public IDockManager {
public:
  static constexpr int32_t StreamVersion = 0x00080000;
  static constexpr int32_t OldStreamVersion = 0x00040000;
  static constexpr int GrabberSize = 12;
  static constexpr int SplitterWidth = 4;
  static constexpr int MinZoneSize = 16;

  explicit TDockTree(TWinControl* dockSite);
  ~TDockTree() override;

  TWinControl* DockSite() const { return FDockSite; }
  TDockZone* TopZone() const { return FTopZone.get(); }
  // The leaf holding control, or nullptr.
  TDockZone* FindControlZone(TControl* control) const;

  void BeginUpdate() override;
  void EndUpdate() override;
  bool Updating() const { return FUpdateCount > 0; }
  void InsertControl(TControl* control, TAlign insertAt, TControl* dropControl) override;
  void RemoveControl(TControl* control) override;
  // Lays the zones out in the site's client area and moves the docked
  // controls; nothing moves while an update is open unless force is set.
  void ResetBounds(bool force) override;
  void PaintSite(sys::HDC dc) override;
  void PositionDockRect(TControl* client, TControl* dropControl, TAlign dropAlign,
                        sys::RECT& dockRect) override;
  void GetControlBounds(TControl* control, sys::RECT& bounds) override;
  void SaveToStream(TStream& stream) override;
  void LoadFromStream(TStream& stream) override;
  bool HandleSiteMessage(TMessage& message) override;

  // Whether limits written by SaveToStream are relative values.  Both kinds
  // load alike: the reader turns limits into shares of the parent's room.
  bool RelativeSizes() const { return FRelativeSizes; }
  void SetRelativeSizes(bool v) { FRelativeSizes = v; }

  // The grabber lies on the left of a leaf when the site is aligned to the
  // top or bottom, otherwise on top.
  bool GrabbersOnLeft() const;
  sys::RECT GrabberRect(const TDockZone* zone) const;
  sys::RECT CloseBoxRect(const TDockZone* zone) const;
  // The splitter after zone (none for the last visible child), or empty.
  sys::RECT SplitterRect(const TDockZone* zone) const;
  // What lies at a point of the site's client area.
  enum THitKind { htNothing, htGrabber, htClose, htSplitter };
  THitKind HitTest(sys::POINT p, TDockZone*& zone) const;

  // Called when a press on a grabber has moved past the drag threshold;
  // without a handler the tree begins a dock drag of the control.
  std::function<void(TControl* control)> OnGrabberDrag;

protected:
  // Paints the grabber and the close box of one docked control; frame is
  // the leaf's rectangle.
  virtual void PaintDockFrame(TCanvas* canvas, TControl* control, const sys::RECT& frame);

private:
  struct TSavedZone;
  TDockZone* NewLeaf(TControl* control);
  void InsertNewLeaf(TDockZone* target, std::unique_ptr<TDockZone> leaf, TAlign align);
  void Collapse(TDockZone* zone);
  void Layout(TDockZone* zone, const sys::RECT& r);
  void ApplyBounds(TDockZone* zone);
  void Reconcile();
  void WriteZone(TStream& s, const TDockZone* zone, int level) const;
  bool MouseMessage(TMessage& m);
  void EndDrag(bool drop, sys::POINT screen);
  void ForEachLeaf(TDockZone* zone, const std::function<void(TDockZone*)>& f) const;

  TWinControl* FDockSite;
  std::unique_ptr<TDockZone> FTopZone;
  int FUpdateCount = 0;
  bool FRelativeSizes = false;
  bool FLoading = false;
  bool FResetting = false;
  bool FDragging = false;
  sys::HWND FFocusBeforeDrag = nullptr;
  // Mouse state: a splitter being dragged, or a pressed grabber / close box.
  TDockZone* FSizingZone = nullptr;
  TDockZone* FPressedZone = nullptr;
  THitKind FPressedKind = htNothing;
  sys::POINT FPressPoint{};
};

// The class of dock manager that dock sites make by default; a unit may
// replace it.
using TDockTreeClass = std::function<std::unique_ptr<TDockTree>(TWinControl* site)>;
TDockTreeClass& DefaultDockTreeClass();

} // namespace zel
