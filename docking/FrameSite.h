#pragma once
// TFrameSite: a frame that is a dock site.  It picks its dock tree and the
// floating class of its children by its dock style, docks the children that
// were merely parented into it when its window is made, shrinks to nothing
// while no docked control is visible and grows back to its former size when
// one becomes visible (sizing the drop preview to match), keeps its splitter
// beside it, and finds docked controls again by name when a saved
// arrangement is loaded.

#include <cstdint>

#include "framework/forms/Frame.h"

namespace zel {

class TStream;

// Posted by a site to itself after every docking change; the collapse or
// expansion happens once the framework has finished that change.
constexpr sys::UINT WM_SITEUPDATE = sys::WM_USER + 238; // 1262

class TFrameSite : public TFrame {
  ZEL_CREATABLE_CLASS(TFrameSite, TFrame)
public:
  // Follows the site's dock manager stream in SaveToStream.
  static constexpr int32_t StreamMarker = 0x02D27C0D;

  explicit TFrameSite(TComponent* owner);

  void WndProc(TMessage& message) override;
  void CreateHandle() override;

  // 0: the framework's default dock tree and the unit's default floating
  // class; 1: TDockTreeZel and TCustomDockFormZel; 2: the framework's own.
  // A change rebuilds the dock manager and keeps the arrangement.
  uint8_t DockStyle() const { return FDockStyle; }
  void SetDockStyle(uint8_t style);

  bool Collapsed() const { return FCollapsed; }
  int ExpandedWidth() const { return FExpandedWidth; }
  int ExpandedHeight() const { return FExpandedHeight; }
  int VisibleDockClientCount() const;
  void UpdateSplitter();
  void UpdateFloatingClasses();
  void DockUndockedChildren();

  // The dock manager's arrangement followed by the marker and the site's
  // size; nothing happens for a missing stream.
  virtual void SaveToStream(TStream* stream);
  virtual void LoadFromStream(TStream* stream);

  void DockOver(TDragDockObject* source, int x, int y, TDragState state, bool& accept) override;
  void DockDrop(TDragDockObject* source, int x, int y) override;
  bool DoUnDock(TWinControl* newTarget, TControl* client) override;
  void DoAddDockClient(TControl* client, const sys::RECT& rect) override;
  void ReloadDockedControl(const std::string& controlName, TControl*& control) override;
  // Besides the framework's rule: only a control that docks by dragging
  // (dkDock), never an action bar nor a form.
  bool AcceptsDockClient(TControl* client) override;

protected:
  std::unique_ptr<IDockManager> CreateDockManager() override;
  void AlignControls(TControl* control, sys::RECT& rect) override;

private:
  TClass FloatingClass() const;
  void PostSiteUpdate();
  void SiteUpdate();
  sys::RECT PreviewRect(sys::RECT r);
  void ReadSizes(TStream& s);

  bool FBusy = false;
  bool FCollapsed = false;
  bool FFirstHandle = true;
  bool FUpdatePosted = false;
  int FExpandedWidth = 0;
  int FExpandedHeight = 0;
  uint8_t FDockStyle = 0;
  uint32_t FLastResetTick = 0;
};

} // namespace zel
