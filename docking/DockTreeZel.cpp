// TDockTreeZel's grabbers: a gradient bar, a close box with a cross and the
// docked control's caption, painted on dock sites of style 1.  The grabber
// lies on top of each leaf, or on its left when the site is aligned to the
// top or bottom (the caption then reads upwards).

#include "docking/DockTreeZel.h"

#include <algorithm>

#include "docking/DockForms.h"
#include "docking/FrameSite.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Font.h"
#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"
#include "platform/user/SystemParams.h"

namespace zel {

using namespace sys;

TColor ScaleColor(TColor color, int p) {
  const COLORREF c = COLORREF(ColorToRGB(color));
  auto scale = [p](int v) { return std::min(255, (v * p + 49) / 100); };
  return TColor(RGB(scale(GetRValue(c)), scale(GetGValue(c)), scale(GetBValue(c))));
}

TDockTreeZel::TDockTreeZel(TWinControl* dockSite) : TDockTree(dockSite) {}

TDockTreeZel::~TDockTreeZel() {
  if (FCaptionFont) DeleteObject(FCaptionFont);
  if (FCaptionFontVert) DeleteObject(FCaptionFontVert);
}

bool TDockTreeZel::PaintsGrabbers() const {
  const auto* site = dynamic_cast<const TFrameSite*>(DockSite());
  return site && site->DockStyle() == 1;
}

RECT TDockTreeZel::GrabberBarRect(const RECT& f) const {
  if (GrabbersOnLeft()) return RECT{f.left, f.top + 14, f.left + 11, f.bottom - 1};
  return RECT{f.left + 1, f.top, f.right - 14, f.top + 11};
}

RECT TDockTreeZel::GrabberCloseRect(const RECT& f) const {
  if (GrabbersOnLeft()) return RECT{f.left, f.top + 1, f.left + 11, f.top + 12};
  return RECT{f.right - 12, f.top, f.right - 1, f.top + 11};
}

RECT TDockTreeZel::GrabberCaptionRect(const RECT& f) const {
  if (GrabbersOnLeft()) return RECT{f.left - 3, f.top + 15, f.left + 10, f.bottom - 5};
  return RECT{f.left + 4, f.top - 1, f.right - 17, f.top + 11};
}

void TDockTreeZel::PaintDockFrame(TCanvas* canvas, TControl* control, const RECT& frame) {
  if (!PaintsGrabbers()) {
    TDockTree::PaintDockFrame(canvas, control, frame);
    return;
  }
  DrawGrabberBar(canvas->Handle(), GrabberBarRect(frame));
  DrawGrabberClose(canvas, GrabberCloseRect(frame));
  DrawGrabberCaption(canvas, GrabberCaptionRect(frame), control);
}

void TDockTreeZel::DrawGrabberBar(HDC dc, const RECT& r) {
  if (r.Width() <= 7 || r.Height() <= 7) return;
  const TColor face = DockSite()->Color();
  DrawGradientBox(dc, r, 2, !GrabbersOnLeft(), clDefault, ScaleColor(face, 120),
                  ScaleColor(face, 85));
}

void TDockTreeZel::DrawGrabberClose(TCanvas* canvas, const RECT& box) {
  DrawGrabberBar(canvas->Handle(), box);
  RECT r{box.left + 2, box.top + 2, box.right - 2, box.bottom - 2};
  if ((r.right - r.left) % 2 != 0) --r.right;
  if ((r.bottom - r.top) % 2 != 0) --r.bottom;
  canvas->Pen()->SetColor(ScaleColor(DockSite()->Color(), 40));
  canvas->Pen()->SetWidth(2);
  canvas->MoveTo(r.left, r.top);
  canvas->LineTo(r.right, r.bottom);
  canvas->MoveTo(r.left, r.bottom);
  canvas->LineTo(r.right, r.top);
  canvas->Pen()->SetWidth(1);
}

void TDockTreeZel::CreateCaptionFonts() {
  if (FCaptionFont) return;
  NONCLIENTMETRICS m;
  LOGFONT lf = SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0)
                   ? m.lfStatusFont
                   : GetNonClientMetrics().lfMessageFont;
  lf.lfHeight = -10;
  lf.lfWeight = 400;
  FCaptionFont = CreateFontIndirect(lf);
  lf.lfEscapement = 900;
  lf.lfOrientation = 900;
  FCaptionFontVert = CreateFontIndirect(lf);
}

void TDockTreeZel::DrawGrabberCaption(TCanvas* canvas, const RECT& area, TControl* control) {
  auto* win = dynamic_cast<TWinControl*>(control);
  if (!win) return;
  const std::string text = win->Caption();
  if (text.empty() || area.Width() <= 10 || area.Height() <= 10) return;
  CreateCaptionFonts();
  if (!FCaptionFont || !FCaptionFontVert) return;
  canvas->Lock();
  HDC dc = canvas->Handle();
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, COLORREF(ColorToRGB(DockSite()->Font()->Color())));
  SelectObject(dc, FCaptionFont);
  RECT box{0, 0, 2000, 2000};
  if (!GrabbersOnLeft()) {
    DrawText(dc, text, &box, DT_CALCRECT | DT_SINGLELINE);
    const int m = box.Height();
    const int y = std::max((area.top + area.bottom - m) / 2, area.top - 1);
    RECT r{area.left, y, area.right, y + m};
    DrawText(dc, text, &r, DT_END_ELLIPSIS | DT_SINGLELINE);
  } else {
    DrawText(dc, text, &box, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
    const int m = box.Height();
    SelectObject(dc, FCaptionFontVert);
    const int x = std::max((area.right + area.left - m + 1) / 2, area.left - 1);
    RECT r{x, area.bottom, x + std::abs(area.bottom - area.top), area.top};
    DrawText(dc, text, &r, DT_END_ELLIPSIS | DT_NOCLIP | DT_SINGLELINE);
  }
  RestoreDC(dc, saved);
  canvas->Unlock();
}

} // namespace zel
