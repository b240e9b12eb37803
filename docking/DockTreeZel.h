#pragma once
// TDockTreeZel: the dock manager the system's dock sites get by default.  On
// a dock site of style 1 it paints gradient grabbers with a close box and the
// docked control's caption (rotated to read upwards when the grabber lies on
// the left), and it loads a saved tree tolerantly: hidden clients are
// re-docked and stay hidden without passing through the framework's loader,
// and clients docked now but absent from the saved tree float, each taking
// the placement the float tree saved for it.

#include "framework/docking/DockTree.h"
#include "framework/graphics/Colors.h"

namespace zel {

class TCanvas;

// The colour resolved to RGB with every channel scaled by p percent (rounded
// up from .51) and limited to 255.
TColor ScaleColor(TColor color, int p);

class TDockTreeZel : public TDockTree {
public:
  explicit TDockTreeZel(TWinControl* dockSite);
  ~TDockTreeZel() override;

  void LoadFromStream(TStream& stream) override;

  // The grabber's parts for a leaf frame (L, T, R, B), as painted.
  sys::RECT GrabberBarRect(const sys::RECT& frame) const;
  sys::RECT GrabberCloseRect(const sys::RECT& frame) const;
  sys::RECT GrabberCaptionRect(const sys::RECT& frame) const;

  sys::HFONT CaptionFont() const { return FCaptionFont; }
  sys::HFONT CaptionFontVert() const { return FCaptionFontVert; }

protected:
  void PaintDockFrame(TCanvas* canvas, TControl* control, const sys::RECT& frame) override;
  // Makes the horizontal and the upright caption fonts from the status font
  // at height -10 (nothing when they exist).
  virtual void CreateCaptionFonts();

private:
  bool PaintsGrabbers() const;
  void DrawGrabberBar(sys::HDC dc, const sys::RECT& r);
  void DrawGrabberClose(TCanvas* canvas, const sys::RECT& r);
  void DrawGrabberCaption(TCanvas* canvas, const sys::RECT& area, TControl* control);
  void FloatAbsentClients(const std::vector<TControl*>& absent);
  void RedockHidden(const std::vector<TControl*>& clients);

  sys::HFONT FCaptionFont = nullptr;
  sys::HFONT FCaptionFontVert = nullptr;
};

} // namespace zel
