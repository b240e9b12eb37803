#include "framework/stdctrls/ControlBar.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "framework/docking/DragDock.h"
#include "platform/gdi/Gdi.h"
#include "platform/user/User.h"

namespace zel {

using sys::RECT;

namespace {

constexpr int kGripInset = 11;
constexpr int kEdgeInset = 2;

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TCustomControlBar::TCustomControlBar(TComponent* owner) : TCustomControl(owner) {
  FControlStyle += csAcceptsControls;
  FControlStyle += csOpaque;
  SetColor(clBtnFace);
  SetParentColor(false);
  SetBevelKind(bkTile);
  SetBounds(0, 0, 100, 50);
  SetDockSite(true);
}

TCustomControlBar::~TCustomControlBar() = default;

void TCustomControlBar::Changed() {
  Realign();
  Invalidate();
}

void TCustomControlBar::SetRowSize(int value) {
  value = std::max(value, 1);
  if (value == FRowSize) return;
  FRowSize = value;
  Changed();
}

void TCustomControlBar::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  Changed();
}

void TCustomControlBar::SetDrawingStyle(TBandDrawingStyle value) {
  if (value == FDrawingStyle) return;
  FDrawingStyle = value;
  Invalidate();
}

void TCustomControlBar::SetGradientStartColor(TColor value) {
  if (value == FGradientStartColor) return;
  FGradientStartColor = value;
  Invalidate();
}

void TCustomControlBar::SetGradientEndColor(TColor value) {
  if (value == FGradientEndColor) return;
  FGradientEndColor = value;
  Invalidate();
}

void TCustomControlBar::SetGradientDirection(TGradientDirection value) {
  if (value == FGradientDirection) return;
  FGradientDirection = value;
  Invalidate();
}

void TCustomControlBar::GetBandInfo(TControl* control, RECT& insets, int& preferredSize,
                                    int& rowCount) {
  insets = {kGripInset, kEdgeInset, kEdgeInset, kEdgeInset};
  preferredSize = control->Width();
  const int height = control->Height() + insets.top + insets.bottom;
  rowCount = std::max(1, (height + FRowSize - 1) / FRowSize);
  if (OnBandInfo) OnBandInfo(this, control, insets, preferredSize, rowCount);
  preferredSize = std::max(preferredSize, 0);
  rowCount = std::clamp(rowCount, 1, 100);
}

TCustomControlBar::TBand* TCustomControlBar::FindBand(TControl* control) {
  for (TBand& b : FBands)
    if (b.Control == control) return &b;
  return nullptr;
}

const TCustomControlBar::TBand* TCustomControlBar::FindBand(TControl* control) const {
  return const_cast<TCustomControlBar*>(this)->FindBand(control);
}

int TCustomControlBar::BandRow(TControl* control) const {
  const TBand* b = FindBand(control);
  return b ? b->Row : -1;
}

RECT TCustomControlBar::BandRect(TControl* control) const {
  const TBand* b = FindBand(control);
  return b ? b->Rect : RECT{};
}

// Brings the band list in line with the visible children.  A child that is
// new, or that was moved since the last layout, takes the row its middle
// lies in (a new row above or below the others when it lies outside them).
void TCustomControlBar::SyncBands(const RECT& area) {
  std::vector<TBand> kept;
  // Row edges of the last layout, for placing moved and new controls.
  std::vector<std::pair<int, int>> rows; // (top, bottom) per row index
  for (const TBand& b : FBands) {
    if (int(rows.size()) <= b.Row) rows.resize(size_t(b.Row) + 1, {0, 0});
    rows[size_t(b.Row)] = {b.Rect.top, std::max(rows[size_t(b.Row)].second, int(b.Rect.bottom))};
  }
  auto rowOf = [&](int y) -> double {
    for (size_t r = 0; r < rows.size(); ++r)
      if (y >= rows[r].first && y < rows[r].second) return double(r);
    if (rows.empty()) return std::max(0, (y - int(area.top)) / FRowSize);
    return y < rows.front().first ? -0.5 : double(rows.size()) - 0.5 + 1.0;
  };
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible() && !ComponentState().Contains(csDesigning)) continue;
    RECT insets;
    int pref = 0, rowCount = 1;
    GetBandInfo(c, insets, pref, rowCount);
    TBand band;
    if (const TBand* old = FindBand(c)) band = *old;
    const bool moved = !FindBand(c) || !SameRect(c->BoundsRect(), band.Placed);
    if (!FindBand(c)) {
      band.Order = ++FNextOrder; // a new band yields to the others
    } else if (moved) {
      // A band the program moved wins a tie with a band that wants the
      // same place, as a dragged band does: bands placed one by one (a
      // saved arrangement read back) each end where they were put,
      // whichever band stood there before.
      band.Order = -1;
    }
    if (moved) {
      band.Control = c;
      band.RowKey = rowOf(c->Top() + c->Height() / 2);
      band.WantedLeft = std::max(int(area.left), c->Left() - insets.left);
    }
    kept.push_back(band);
  }
  FBands = std::move(kept);
}

// Computes every band's row and rectangle from the row keys, wanted
// positions and orders, without moving anything.  Returns the total height.
int TCustomControlBar::PlanBands(const RECT& area, std::vector<size_t>& order) {
  // Order: by row, then by wanted position, then by the bands' order, in
  // which a dragged band comes first and a new one last.
  order.resize(FBands.size());
  std::iota(order.begin(), order.end(), size_t(0));
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const TBand& x = FBands[a];
    const TBand& y = FBands[b];
    if (x.RowKey != y.RowKey) return x.RowKey < y.RowKey;
    if (x.WantedLeft != y.WantedLeft) return x.WantedLeft < y.WantedLeft;
    return x.Order < y.Order;
  });
  int row = -1;
  double rowKey = 0;
  int rowTop = area.top;
  int rowHeight = 0;
  size_t rowStart = 0;
  for (size_t i = 0; i < order.size(); ++i) {
    TBand& b = FBands[order[i]];
    RECT insets;
    int pref = 0, rowCount = 1;
    GetBandInfo(b.Control, insets, pref, rowCount);
    if (row < 0 || b.RowKey != rowKey) {
      PlaceRow(area, order, rowStart, i);
      rowStart = i;
      rowTop += rowHeight;
      rowHeight = 0;
      ++row;
      rowKey = b.RowKey;
    }
    const int width = pref + insets.left + insets.right;
    const int height = rowCount * FRowSize;
    b.Row = row;
    b.Rect = {b.WantedLeft, rowTop, b.WantedLeft + width, rowTop + height};
    rowHeight = std::max(rowHeight, height);
  }
  PlaceRow(area, order, rowStart, order.size());
  FRowCount = row + 1;
  return rowTop + rowHeight - area.top;
}

// Places the bands order[first..last) of one row, whose rectangles stand at
// their wanted positions: each at its wanted position or right after the
// band before it, whichever is further right; then, where that runs past
// the bar's right edge, the bands move left as far as needed (a band put
// further right than fits, its place saved in a wider window, comes back
// inside) but never over the band before them nor past the bar's left
// edge.  What still runs past the edge does not fit in the row.
void TCustomControlBar::PlaceRow(const RECT& area, const std::vector<size_t>& order, size_t first,
                                 size_t last) {
  auto place = [&](size_t i, int left) {
    RECT& r = FBands[order[i]].Rect;
    r.right = left + (r.right - r.left);
    r.left = left;
  };
  auto afterTheOneBefore = [&] {
    int cursor = area.left;
    for (size_t i = first; i < last; ++i) {
      place(i, std::max(cursor, int(FBands[order[i]].Rect.left)));
      cursor = FBands[order[i]].Rect.right;
    }
  };
  afterTheOneBefore();
  int limit = area.right;
  for (size_t i = last; i > first; --i) {
    const RECT& r = FBands[order[i - 1]].Rect;
    place(i - 1, std::min(int(r.left), limit - int(r.right - r.left)));
    limit = FBands[order[i - 1]].Rect.left;
  }
  afterTheOneBefore();
}

void TCustomControlBar::LayoutBands(const RECT& area) {
  std::vector<size_t> order;
  int total = PlanBands(area, order);
  // A band that runs past the right edge, behind another band of its row,
  // moves to a row of its own below, one band at a time, so that no band
  // is pushed out of sight.  A band wider than the bar ends up alone in its
  // row, at its left edge.  The band being dragged keeps the row it is
  // dragged into: another band of that row makes way instead, into a row
  // on the side the drag came from, so that two bands a row each swap.
  const TBand* dragged = FDragControl && !FDockDragging ? FindBand(FDragControl) : nullptr;
  const bool draggedDown = dragged && dragged->RowKey > FDragFromRow;
  for (size_t pass = 0; pass < FBands.size(); ++pass) {
    TBand* overflow = nullptr;
    for (size_t i = 0; i < order.size() && !overflow; ++i) {
      TBand& b = FBands[order[i]];
      const bool firstInRow = i == 0 || FBands[order[i - 1]].Row != b.Row;
      if (!firstInRow && b.Rect.right > area.right) overflow = &b;
    }
    if (!overflow) break;
    const bool makesWay = dragged && overflow->Row == dragged->Row;
    if (overflow == dragged) overflow = LastOtherBandInRow(order, *dragged);
    if (!overflow) break;
    for (TBand& b : FBands)
      b.RowKey = 2.0 * b.Row;
    overflow->RowKey = 2.0 * overflow->Row + (makesWay && draggedDown ? -1 : 1);
    overflow->WantedLeft = area.left;
    total = PlanBands(area, order);
  }
  for (size_t i = 0; i < order.size(); ++i) {
    TBand& b = FBands[order[i]];
    RECT insets;
    int pref = 0, rowCount = 1;
    GetBandInfo(b.Control, insets, pref, rowCount);
    b.Control->SetBounds(b.Rect.left + insets.left, b.Rect.top + insets.top, pref,
                         b.Control->Height());
    b.Placed = b.Control->BoundsRect();
    b.Order = int(i);
  }
  FNextOrder = int(order.size());
  // The rows close up: the keys become the row indexes.
  for (TBand& b : FBands) {
    b.RowKey = b.Row;
    b.WantedLeft = b.Rect.left;
  }
  if (FAutoSize) {
    const int extra = Height() - (area.bottom - area.top);
    const int wanted = std::max(total + extra, 0);
    if (wanted != Height()) SetHeight(wanted);
  }
}

// The last band in the row of band, other than band itself, or nil.
TCustomControlBar::TBand* TCustomControlBar::LastOtherBandInRow(const std::vector<size_t>& order,
                                                                const TBand& band) {
  TBand* last = nullptr;
  for (size_t i : order)
    if (FBands[i].Row == band.Row && &FBands[i] != &band) last = &FBands[i];
  return last;
}

void TCustomControlBar::AlignControls(TControl* control, RECT& rect) {
  if (FLayingOut) return;
  FLayingOut = true;
  try {
    SyncBands(rect);
    LayoutBands(rect);
  } catch (...) {
    FLayingOut = false;
    throw;
  }
  FLayingOut = false;
  Invalidate();
}

TCustomControlBar::TBand* TCustomControlBar::GripAt(int x, int y) {
  for (TBand& b : FBands) {
    if (!ContainsControl(b.Control)) continue;
    RECT insets;
    int pref = 0, rows = 1;
    GetBandInfo(b.Control, insets, pref, rows);
    if (x >= b.Rect.left && x < b.Rect.left + insets.left && y >= b.Rect.top && y < b.Rect.bottom)
      return &b;
  }
  return nullptr;
}

void TCustomControlBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  // A dock drag cancelled elsewhere (Esc in the preview) is over.
  if (FDockDragging && !DockDragging()) EndBandDockDrag(false, sys::POINT{});
  if (button != mbLeft || FDockDragging) return;
  if (TBand* b = GripAt(x, y)) {
    FDragControl = b->Control;
    FDragOffset = x - b->Rect.left;
    FDragFromRow = b->Row;
    FPressBands = FBands;
  }
}

int TCustomControlBar::FloatDistance() const {
  return std::max(FRowSize / 2, 10);
}

void TCustomControlBar::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (FDockDragging) {
    if (!DockDragging() || !shift.Contains(ssLeft)) {
      // Cancelled elsewhere (Esc in the preview), or the release went to
      // another window.
      EndBandDockDrag(false, sys::POINT{});
      return;
    }
    DockDragMove(ClientToScreen(sys::POINT{x, y}));
    return;
  }
  if (!FDragControl || !ContainsControl(FDragControl)) {
    FDragControl = nullptr;
    // A grip shows that its band can be moved.
    SetCursor(GripAt(x, y) ? crSizeAll : crDefault);
    return;
  }
  RECT outer = ClientRect();
  outer.bottom = std::max(outer.bottom, PressBottom());
  InflateRect(outer, FloatDistance(), FloatDistance());
  if (FDragControl->DragKind() == dkDock && !PtInRect(outer, sys::POINT{x, y})) {
    BeginBandDockDrag(ClientToScreen(sys::POINT{x, y}));
    return;
  }
  MoveDraggedBand(x, y);
}

// The bands as they stood at the press, with the dragged one in the row
// and at the place under the pointer.  Every move starts again from the
// press: bands the dragged one pushed aside come back when it moves on,
// and a row that closes behind it does not move the rows under the
// pointer.  Above the first row or below the last one the band opens a row
// of its own there.
void TCustomControlBar::MoveDraggedBand(int x, int y) {
  double key = -0.5;
  int lastRow = -1;
  for (const TBand& b : FPressBands) {
    if (y >= b.Rect.top && y < b.Rect.bottom) key = b.Row;
    lastRow = std::max(lastRow, b.Row);
  }
  if (y >= PressBottom()) key = lastRow + 0.5;
  RestorePressBands();
  TBand* band = FindBand(FDragControl);
  if (!band) return;
  band->RowKey = key;
  band->WantedLeft = std::max(0, x - FDragOffset);
  // The dragged band wins a tie with a band that wants the same place.
  band->Order = -1;
  Realign();
}

// FBands := the bands at the press that are still shown, not taken for
// controls the program moved (they stand where the last move put them).
void TCustomControlBar::RestorePressBands() {
  std::vector<TBand> saved;
  for (TBand& b : FPressBands)
    if (ContainsControl(b.Control) && b.Control->Visible()) {
      b.Placed = b.Control->BoundsRect();
      saved.push_back(b);
    }
  FBands = std::move(saved);
}

// The bottom of the rows as they stood at the press.
int TCustomControlBar::PressBottom() const {
  int bottom = 0;
  for (const TBand& b : FPressBands)
    bottom = std::max(bottom, int(b.Rect.bottom));
  return bottom;
}

void TCustomControlBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button != mbLeft) return;
  if (FDockDragging)
    EndBandDockDrag(true, ClientToScreen(sys::POINT{x, y}));
  else
    EndBandMove();
}

// The band stays where the drag put it; the bar forgets the press.
void TCustomControlBar::EndBandMove() {
  FDragControl = nullptr;
  FPressBands.clear();
}

// A press whose release never comes (another program took the pointer):
// a band's move stops where it is and a drag out of the bar is cancelled.
void TCustomControlBar::WndProc(TMessage& message) {
  if (message.Msg == sys::WM_CANCELMODE) {
    if (FDockDragging) EndBandDockDrag(false, sys::POINT{});
    EndBandMove();
  }
  TCustomControl::WndProc(message);
}

void TCustomControlBar::KeyDown(sys::WORD& key, TShiftState shift) {
  if (FDockDragging && key == sys::VK_ESCAPE) {
    EndBandDockDrag(false, sys::POINT{});
    key = 0;
    return;
  }
  TCustomControl::KeyDown(key, shift);
}

void TCustomControlBar::BeginBandDockDrag(sys::POINT screen) {
  TControl* control = FDragControl;
  // The bands stand where they stood at the press while the preview shows
  // where the control goes; a cancelled drag leaves them so.
  RestorePressBands();
  Realign();
  FDockDragging = true;
  FFocusBeforeDrag = sys::GetFocus();
  // The floating preview is carried with the mouse just inside its corner,
  // on the floating form's caption.
  const sys::POINT tl = control->ClientToScreen(sys::POINT{0, 0});
  BeginDockDrag(control, sys::POINT{tl.x + 8, tl.y + 8});
  DockDragMove(screen);
  // The bar keeps the mouse and takes the keyboard, for Esc, once the
  // preview is on screen.
  sys::SetFocus(Handle());
  sys::SetCapture(Handle());
}

void TCustomControlBar::EndBandDockDrag(bool drop, sys::POINT screen) {
  FDockDragging = false;
  FDragControl = nullptr;
  FPressBands.clear();
  if (sys::GetCapture() == Handle()) sys::ReleaseCapture();
  const sys::HWND focus = FFocusBeforeDrag;
  FFocusBeforeDrag = nullptr;
  if (focus && sys::IsWindow(focus)) sys::SetFocus(focus);
  if (drop)
    DockDragEnd(screen, true);
  else
    CancelDockDrag();
}

RECT TCustomControlBar::BandGradientRect(TControl* control) {
  if (!control || control->Parent() != this) return RECT{};
  const sys::POINT o = control->ClientToParent(sys::POINT{0, 0}, this);
  return RECT{o.x - 11, o.y - 1, o.x + control->ClientWidth() + 1,
              o.y + control->ClientHeight() + 1};
}

// A band's gradient runs across BandGradientRect, one colour per column
// (horizontal) or row (vertical); the pixels of area (the band and the
// free space after it) beyond that rectangle take the nearer end colour.
void TCustomControlBar::PaintBandGradient(TControl* control, const RECT& area) {
  TCanvas* canvas = Canvas();
  RECT g = BandGradientRect(control);
  RECT before = area, after = area;
  if (FGradientDirection == gdHorizontal) {
    g.top = area.top;
    g.bottom = area.bottom;
    before.right = g.left;
    after.left = g.right;
  } else {
    g.left = area.left;
    g.right = area.right;
    before.bottom = g.top;
    after.top = g.bottom;
  }
  const sys::HDC dc = canvas->Handle();
  const int saved = sys::SaveDC(dc);
  sys::IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(FGradientStartColor);
  if (!sys::IsRectEmpty(before)) canvas->FillRect(before);
  canvas->Brush()->SetColor(FGradientEndColor);
  if (!sys::IsRectEmpty(after)) canvas->FillRect(after);
  GradientFillCanvas(canvas, FGradientStartColor, FGradientEndColor, g, FGradientDirection);
  sys::RestoreDC(dc, saved);
}

void TCustomControlBar::Paint() {
  TCanvas* canvas = Canvas();
  const RECT client = ClientRect();
  if (FDrawingStyle == dsGradient) {
    GradientFillCanvas(canvas, FGradientStartColor, FGradientEndColor, client, FGradientDirection);
    // Each band's gradient also runs on to the next band of its row (or the
    // bar's right edge), so the row shows no seam where a band ends.
    std::vector<const TBand*> shown;
    for (const TBand& b : FBands)
      if (ContainsControl(b.Control)) shown.push_back(&b);
    std::sort(shown.begin(), shown.end(), [](const TBand* x, const TBand* y) {
      return x->Row != y->Row ? x->Row < y->Row : x->Rect.left < y->Rect.left;
    });
    for (size_t i = 0; i < shown.size(); ++i) {
      RECT area = shown[i]->Rect;
      const bool last = i + 1 == shown.size() || shown[i + 1]->Row != shown[i]->Row;
      area.right = std::max<int>(area.right, last ? client.right : shown[i + 1]->Rect.left);
      PaintBandGradient(shown[i]->Control, area);
    }
  } else {
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(client);
  }
  for (const TBand& b : FBands)
    if (ContainsControl(b.Control)) PaintBand(b.Control, b.Rect);
}

void TCustomControlBar::PaintBand(TControl* control, const RECT& r) {
  TCanvas* canvas = Canvas();
  auto line = [&](int x0, int y0, int x1, int y1, TColor c) {
    canvas->Pen()->SetColor(c);
    canvas->MoveTo(x0, y0);
    canvas->LineTo(x1, y1);
  };
  // A raised frame around the band; with the gradient the frame is left out
  // so the bands look like one surface.
  if (FDrawingStyle == TBandDrawingStyle::dsNormal) {
    line(r.left, r.bottom - 1, r.left, r.top, clBtnHighlight);
    line(r.left, r.top, r.right - 1, r.top, clBtnHighlight);
    line(r.right - 1, r.top, r.right - 1, r.bottom - 1, clBtnShadow);
    line(r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1, clBtnShadow);
  }
  // The grip: two raised ridges.
  for (int x : {int(r.left) + 3, int(r.left) + 6}) {
    line(x, r.top + 3, x, r.bottom - 3, clBtnHighlight);
    line(x + 1, r.top + 3, x + 1, r.bottom - 3, clBtnShadow);
  }
}

RECT TCustomControlBar::DockPlace(TControl* control, int x, int y) {
  RECT insets;
  int pref = 0, rowCount = 1;
  GetBandInfo(control, insets, pref, rowCount);
  // The rows of the other bands.
  int top = -1, first = 0, bottom = 0;
  bool any = false;
  for (const TBand& b : FBands) {
    if (b.Control == control || !ContainsControl(b.Control)) continue;
    if (y >= b.Rect.top && y < b.Rect.bottom) top = b.Rect.top;
    first = any ? std::min(first, int(b.Rect.top)) : int(b.Rect.top);
    bottom = std::max(bottom, int(b.Rect.bottom));
    any = true;
  }
  if (top < 0) top = any && y < first ? first - rowCount * FRowSize : bottom;
  const int left = std::max(0, x - kGripInset / 2) + insets.left;
  top += insets.top;
  // A control back from floating takes its docked height again, and the
  // width it wants docked, within the bar.
  sys::SIZE size{pref, control->TBDockHeight()};
  if (control->Floating()) {
    control->Perform(CM_DOCKEDSIZE, 0, sys::LPARAM(&size));
    const int room = ClientWidth() - insets.left - insets.right;
    if (room > 0) size.cx = std::min<int>(size.cx, room);
  }
  return RECT{left, top, left + size.cx, top + size.cy};
}

void TCustomControlBar::DockOver(TDragDockObject* source, int x, int y, TDragState state,
                                 bool& accept) {
  if (TControl* c = source ? source->Control() : nullptr) {
    RECT r = DockPlace(c, x, y);
    const sys::POINT tl = ClientToScreen(sys::POINT{r.left, r.top});
    OffsetRect(r, tl.x - r.left, tl.y - r.top);
    source->SetDockRect(r);
  }
  if (OnDockOver) OnDockOver(this, source, x, y, state, accept);
}

void TCustomControlBar::DoAddDockClient(TControl* client, const RECT& rect) {
  // A control that filled its floating form is a band again.
  client->SetAlign(alNone);
  TCustomControl::DoAddDockClient(client, rect);
}

void TCustomControlBar::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == FDragControl) FDragControl = nullptr;
  for (std::vector<TBand>* bands : {&FBands, &FPressBands})
    bands->erase(std::remove_if(bands->begin(), bands->end(),
                                [&](const TBand& b) { return b.Control == component; }),
                 bands->end());
}

void TCustomControlBar::DeclareProperties(TPropertyTable<TCustomControlBar>& t) {
  t.Add("AutoSize", &TCustomControlBar::AutoSize, &TCustomControlBar::SetAutoSize);
  t.AddEnum("DrawingStyle", "TBandDrawingStyle", &TCustomControlBar::DrawingStyle,
            &TCustomControlBar::SetDrawingStyle, {"dsNormal", "dsGradient"});
  t.AddColor("GradientEndColor", &TCustomControlBar::GradientEndColor,
             &TCustomControlBar::SetGradientEndColor);
  t.AddColor("GradientStartColor", &TCustomControlBar::GradientStartColor,
             &TCustomControlBar::SetGradientStartColor);
  t.AddEnum("GradientDirection", "TGradientDirection", &TCustomControlBar::GradientDirection,
            &TCustomControlBar::SetGradientDirection, {"gdHorizontal", "gdVertical"});
  t.Add("RowSize", &TCustomControlBar::RowSize, &TCustomControlBar::SetRowSize);
}

} // namespace zel
