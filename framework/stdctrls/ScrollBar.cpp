// Framework-drawn scroll bars.

#include "framework/stdctrls/ScrollBar.h"

#include <algorithm>

#include "framework/graphics/GraphUtil.h"
#include "framework/stdctrls/Panel.h"
#include "framework/stdctrls/Timer.h"
#include "platform/user/ScrollBar.h"
#include "platform/user/SystemParams.h"

namespace zel {

using namespace sys;

namespace {
constexpr int kMinThumb = 8;
constexpr int kRepeatDelay = 350;
constexpr int kRepeatInterval = 50;
} // namespace

TDrawnScrollBar::TDrawnScrollBar(TScrollBarKind kind) : FKind(kind) {}
TDrawnScrollBar::~TDrawnScrollBar() = default;

void TDrawnScrollBar::SetParams(int min, int max, int page, int position) {
  FMin = min;
  FMax = std::max(max, min);
  FPage = std::max(page, 1);
  FPosition = std::clamp(position, FMin, MaxPosition());
}

int TDrawnScrollBar::MaxPosition() const {
  return std::max(FMin, FMax - FPage + 1);
}

void TDrawnScrollBar::SetPosition(int position) {
  position = std::clamp(position, FMin, MaxPosition());
  if (position == FPosition) return;
  FPosition = position;
  if (OnInvalidate) OnInvalidate();
}

int TDrawnScrollBar::ArrowSize() const {
  const int across = FKind == sbVertical ? FBounds.Width() : FBounds.Height();
  const int along = FKind == sbVertical ? FBounds.Height() : FBounds.Width();
  return std::min(across, along / 2);
}

int TDrawnScrollBar::TrackLength() const {
  const int along = FKind == sbVertical ? FBounds.Height() : FBounds.Width();
  return std::max(along - 2 * ArrowSize(), 0);
}

int TDrawnScrollBar::ThumbLength() const {
  const int track = TrackLength();
  const int range = FMax - FMin + 1;
  if (range <= 0) return track;
  const int len = int((long long)track * FPage / range);
  return std::clamp(len, std::min(kMinThumb, track), track);
}

int TDrawnScrollBar::Along(POINT p) const {
  return FKind == sbVertical ? p.y - FBounds.top : p.x - FBounds.left;
}

RECT TDrawnScrollBar::PartRect(TScrollBarPart part) const {
  const int arrow = ArrowSize();
  const int track = TrackLength();
  const int thumb = ThumbLength();
  const int span = MaxPosition() - FMin;
  const int pos = FPressed == spThumb ? FTrackPosition : FPosition;
  const int thumbStart =
      arrow + (span > 0 ? int((long long)(track - thumb) * (pos - FMin) / span) : 0);
  const int along = FKind == sbVertical ? FBounds.Height() : FBounds.Width();
  int a0 = 0, a1 = 0;
  switch (part) {
  case spLineUp:
    a0 = 0;
    a1 = arrow;
    break;
  case spPageUp:
    a0 = arrow;
    a1 = thumbStart;
    break;
  case spThumb:
    a0 = thumbStart;
    a1 = thumbStart + thumb;
    break;
  case spPageDown:
    a0 = thumbStart + thumb;
    a1 = along - arrow;
    break;
  case spLineDown:
    a0 = along - arrow;
    a1 = along;
    break;
  default:
    return RECT{};
  }
  if (FKind == sbVertical)
    return RECT{FBounds.left, FBounds.top + a0, FBounds.right, FBounds.top + a1};
  return RECT{FBounds.left + a0, FBounds.top, FBounds.left + a1, FBounds.bottom};
}

TScrollBarPart TDrawnScrollBar::HitTest(POINT p) const {
  if (!PtInRect(FBounds, p)) return spNone;
  for (TScrollBarPart part : {spLineUp, spLineDown, spThumb, spPageUp, spPageDown})
    if (Enabled() || part == spLineUp || part == spLineDown)
      if (PtInRect(PartRect(part), p)) return part;
  return spNone;
}

void DrawScrollArrowButton(TCanvas* c, const RECT& r, int direction, bool pressed, bool enabled) {
  RECT f = r;
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(f);
  if (pressed) {
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(f);
  } else {
    Frame3D(c, f, cl3DLight, cl3DDkShadow);
    Frame3D(c, f, clBtnHighlight, clBtnShadow);
  }
  const int size = std::max(std::min(r.Width(), r.Height()) / 4, 2);
  const bool vertical = direction == sdUp || direction == sdDown;
  const int w = vertical ? 2 * size + 1 : size + 1;
  const int h = vertical ? size + 1 : 2 * size + 1;
  POINT at{r.left + (r.Width() - w) / 2, r.top + (r.Height() - h) / 2};
  if (pressed) {
    ++at.x;
    ++at.y;
  }
  if (!enabled) {
    c->Pen()->SetColor(clBtnHighlight);
    DrawArrow(c, TScrollDirection(direction), POINT{at.x + 1, at.y + 1}, size);
  }
  c->Pen()->SetColor(enabled ? clBtnText : clBtnShadow);
  DrawArrow(c, TScrollDirection(direction), at, size);
}

void TDrawnScrollBar::Paint(TCanvas* c) const {
  if (FBounds.Width() <= 0 || FBounds.Height() <= 0) return;
  const bool on = Enabled();
  // The track: the light dotted look is a plain light grey here.
  c->Brush()->SetColor(cl3DLight);
  c->FillRect(FBounds);
  for (TScrollBarPart part : {spPageUp, spPageDown})
    if (FPressed == part && FPressedInside && on) {
      c->Brush()->SetColor(cl3DDkShadow);
      c->FillRect(PartRect(part));
    }
  const bool vertical = FKind == sbVertical;
  DrawScrollArrowButton(c, PartRect(spLineUp), vertical ? sdUp : sdLeft,
                        FPressed == spLineUp && FPressedInside, on);
  DrawScrollArrowButton(c, PartRect(spLineDown), vertical ? sdDown : sdRight,
                        FPressed == spLineDown && FPressedInside, on);
  if (!on) return;
  RECT thumb = PartRect(spThumb);
  if (thumb.Width() <= 0 || thumb.Height() <= 0) return;
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(thumb);
  Frame3D(c, thumb, cl3DLight, cl3DDkShadow);
  Frame3D(c, thumb, clBtnHighlight, clBtnShadow);
}

void TDrawnScrollBar::Request(WORD code, int position) {
  if (OnScroll) OnScroll(code, position);
}

bool TDrawnScrollBar::MouseDown(POINT p) {
  const TScrollBarPart part = HitTest(p);
  if (part == spNone) return PtInRect(FBounds, p);
  FPressed = part;
  FPressedInside = true;
  FMouse = p;
  if (part == spThumb) {
    FTrackPosition = FPosition;
    FDragOffset = Along(p) - (FKind == sbVertical ? PartRect(spThumb).top - FBounds.top
                                                  : PartRect(spThumb).left - FBounds.left);
  } else {
    Repeat();
    if (!FTimer) FTimer = std::make_unique<TTimer>(nullptr);
    FTimer->SetInterval(kRepeatDelay);
    FTimer->SetOnTimer([this](TObject*) {
      FTimer->SetInterval(kRepeatInterval);
      Repeat();
    });
    FTimer->SetEnabled(true);
  }
  if (OnInvalidate) OnInvalidate();
  return true;
}

// One more step of a held arrow or page; a page stops once the thumb has
// reached the pointer.
void TDrawnScrollBar::Repeat() {
  if (!FPressedInside) return;
  switch (FPressed) {
  case spLineUp:
    Request(SB_LINEUP, FPosition);
    break;
  case spLineDown:
    Request(SB_LINEDOWN, FPosition);
    break;
  case spPageUp:
    if (HitTest(FMouse) == spPageUp) Request(SB_PAGEUP, FPosition);
    break;
  case spPageDown:
    if (HitTest(FMouse) == spPageDown) Request(SB_PAGEDOWN, FPosition);
    break;
  default:
    break;
  }
}

void TDrawnScrollBar::MouseMove(POINT p) {
  FMouse = p;
  if (FPressed == spThumb) {
    const int track = TrackLength() - ThumbLength();
    const int start = Along(p) - FDragOffset - ArrowSize();
    const int span = MaxPosition() - FMin;
    int pos = FMin;
    if (track > 0) pos = FMin + int(((long long)start * span * 2 + track) / (2LL * track));
    if (start < 0) pos = FMin;
    pos = std::clamp(pos, FMin, MaxPosition());
    if (pos != FTrackPosition) {
      FTrackPosition = pos;
      Request(SB_THUMBTRACK, pos);
      if (OnInvalidate) OnInvalidate();
    }
    return;
  }
  if (FPressed != spNone) {
    const bool inside = PtInRect(PartRect(FPressed), p) ||
                        ((FPressed == spPageUp || FPressed == spPageDown) && PtInRect(FBounds, p));
    if (inside != FPressedInside) {
      FPressedInside = inside;
      if (OnInvalidate) OnInvalidate();
    }
  }
}

void TDrawnScrollBar::MouseUp(POINT) {
  if (FPressed == spNone) return;
  if (FTimer) FTimer->SetEnabled(false);
  const TScrollBarPart was = FPressed;
  FPressed = spNone;
  if (was == spThumb) Request(SB_THUMBPOSITION, FTrackPosition);
  Request(SB_ENDSCROLL, FPosition);
  if (OnInvalidate) OnInvalidate();
}

// ---- TScrollBar ------------------------------------------------------------------------

TScrollBar::TScrollBar(TComponent* owner) : TCustomControl(owner) {
  FControlStyle -= csDoubleClicks;
  MakeBar(sbHorizontal);
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  Sync();
}

TScrollBar::~TScrollBar() = default;

void TScrollBar::MakeBar(TScrollBarKind kind) {
  FBar = std::make_unique<TDrawnScrollBar>(kind);
  FBar->OnInvalidate = [this] { Invalidate(); };
  FBar->OnScroll = [this](WORD code, int pos) { Scrolled(code, pos); };
}

void TScrollBar::SetKind(TScrollBarKind kind) {
  if (kind == FBar->Kind()) return;
  MakeBar(kind);
  SetBounds(Left(), Top(), Height(), Width());
  Sync();
}

void TScrollBar::SetParams(int position, int min, int max) {
  max = std::max(max, min);
  const int maxPos = FPageSize > 0 ? std::max(min, max - FPageSize + 1) : max;
  position = std::clamp(position, min, maxPos);
  const bool changed = position != FPosition;
  FMin = min;
  FMax = max;
  FPosition = position;
  Sync();
  if (changed && OnChange) OnChange(this);
}

void TScrollBar::SetPageSize(int value) {
  FPageSize = std::max(value, 0);
  SetParams(FPosition, FMin, FMax);
}

void TScrollBar::Sync() {
  FBar->SetBounds(ClientRect());
  // Without a page the thumb stands for one position.
  FBar->SetParams(FMin, FMax + (FPageSize > 0 ? 0 : 1), std::max(FPageSize, 1), FPosition);
  Invalidate();
}

void TScrollBar::Resize() {
  Sync();
  TCustomControl::Resize();
}

void TScrollBar::Scrolled(WORD code, int position) {
  int pos = FPosition;
  switch (code) {
  case SB_LINEUP:
    pos -= FSmallChange;
    break;
  case SB_LINEDOWN:
    pos += FSmallChange;
    break;
  case SB_PAGEUP:
    pos -= FLargeChange;
    break;
  case SB_PAGEDOWN:
    pos += FLargeChange;
    break;
  case SB_THUMBTRACK:
  case SB_THUMBPOSITION:
    pos = position;
    break;
  default:
    break;
  }
  if (OnScroll) OnScroll(this, code, pos);
  SetPosition(pos);
}

void TScrollBar::Paint() {
  FBar->Paint(Canvas());
}

void TScrollBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) FBar->MouseDown(POINT{x, y});
  TCustomControl::MouseDown(button, shift, x, y);
}

void TScrollBar::MouseMove(TShiftState shift, int x, int y) {
  FBar->MouseMove(POINT{x, y});
  TCustomControl::MouseMove(shift, x, y);
}

void TScrollBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) FBar->MouseUp(POINT{x, y});
  TCustomControl::MouseUp(button, shift, x, y);
}

} // namespace zel
