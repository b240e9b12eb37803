// The tool bar and the main menu bar that paint their control bar's
// gradient, and the placement record both keep in the layout file.

#include "actionbars/ZelStyleActnCtrls.h"

#include <algorithm>

#include "actionbars/ZelStyleConsts.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/docking/DragDock.h"
#include "framework/stdctrls/ControlBar.h"
#include "platform/user/SystemParams.h"

namespace zel {

using namespace sys;

// ---- Background ----------------------------------------------------------------------------

bool PaintsGradientBackground(TCustomActionBar* bar) {
  auto* cb = bar ? dynamic_cast<TCustomControlBar*>(bar->Parent()) : nullptr;
  return cb && Is<TZelStyleActionBars>(bar->Style()) && cb->DrawingStyle() == dsGradient;
}

// The bar's client grown by 1, its left edge 10 further left: bands that
// share the control bar's settings show the same colours at the same
// offsets from their own left edges (the control bar paints its bands the
// same way), and the style's buttons continue exactly this rectangle.
void PaintGradientBackground(TCustomActionBar* bar) {
  auto* cb = static_cast<TCustomControlBar*>(bar->Parent());
  RECT r = bar->ClientRect();
  InflateRect(r, 1, 1);
  r.left -= 10;
  bar->Canvas()->Brush()->SetStyle(bsSolid);
  GradientFillCanvas(bar->Canvas(), cb->GradientStartColor(), cb->GradientEndColor(), r,
                     cb->GradientDirection());
}

// ---- TGradientActionToolBar ----------------------------------------------------------------

TGradientActionToolBar::TGradientActionToolBar(TComponent* owner) : TActionToolBar(owner) {
  SetEnableClose(true);
}

void TGradientActionToolBar::DrawBackground() {
  if (PaintsGradientBackground(this))
    PaintGradientBackground(this);
  else
    TActionToolBar::DrawBackground();
}

// Run on every parent change with the current value, so a bar floated
// later gets the close button its setting asks for.
void TGradientActionToolBar::SetEnableClose(bool value) {
  FEnableClose = value;
  auto* form = dynamic_cast<TCustomDockForm*>(Parent());
  if (!form) return;
  TBorderIcons icons = form->BorderIcons();
  if (value)
    icons.Include(biSystemMenu);
  else
    icons.Exclude(biSystemMenu);
  form->SetBorderIcons(icons);
}

void TGradientActionToolBar::SetParent(TWinControl* parent) {
  TActionToolBar::SetParent(parent);
  SetEnableClose(FEnableClose);
}

// ---- TGradientActionMainMenuBar ------------------------------------------------------------

void TGradientActionMainMenuBar::DrawBackground() {
  if (PaintsGradientBackground(this))
    PaintGradientBackground(this);
  else
    TActionMainMenuBar::DrawBackground();
}

// A floating main menu bar has no close button: closing it would leave
// the window without its menu.
void TGradientActionMainMenuBar::SetParent(TWinControl* parent) {
  TActionMainMenuBar::SetParent(parent);
  if (auto* form = dynamic_cast<TCustomDockForm*>(Parent()))
    form->SetBorderIcons(form->BorderIcons() - biSystemMenu);
}

bool TGradientActionMainMenuBar::ControlClicked(TCustomActionControl* control) {
  if (onItemClicked && control) onItemClicked(control);
  return TActionMainMenuBar::ControlClicked(control);
}

// ---- Placement record ----------------------------------------------------------------------

namespace {

constexpr char kSignature[] = "Zel";
constexpr char kVersion = '0';
// Bounds beyond these are no placement a window system could give.
constexpr int32_t kMaxCoordinate = 32767;

struct TPlacement {
  bool Visible = true;
  uint8_t Kind = ppkNone;
  std::string Name;
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};

uint8_t ParentKind(TWinControl* parent) {
  if (!parent) return ppkNone;
  if (parent->Is<TCustomDockForm>()) return ppkDockForm;
  if (parent->Is<TCustomControlBar>()) return ppkControlBar;
  return ppkOther;
}

// A bar stands only in a control bar or floats in a form of its own; a
// record of any other parent (ppkOther) is not one this program writes for
// its bars.  A bar of no width or height shows nothing and can never be
// reached again, so such a record is damage too.
bool Plausible(const TPlacement& p) {
  const bool kindKnown = p.Kind == ppkDockForm || p.Kind == ppkControlBar || p.Kind == ppkNone;
  auto coordinate = [](int32_t v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; };
  auto extent = [](int32_t v) { return v >= 1 && v <= kMaxCoordinate; };
  return kindKnown && coordinate(p.Left) && coordinate(p.Top) && extent(p.Width) &&
         extent(p.Height);
}

// Reads the whole record before anything is applied; every failure sets
// the stream back to the record's start.
TPlacement ReadPlacement(TStream& stream) {
  const int64_t start = stream.Position();
  try {
    TPlacement p;
    if (stream.ReadChars(3) != kSignature) throw EReadError(SZelBadPlacement);
    const char version = char(stream.ReadU8());
    if (version != kVersion)
      throw EReadError::CreateFmt(SZelBadPlacementVersion, std::string(1, version));
    p.Visible = stream.ReadBool();
    p.Kind = stream.ReadU8();
    if (p.Kind != ppkNone) p.Name = stream.ReadChars(stream.ReadU16());
    p.Left = stream.ReadI32();
    p.Top = stream.ReadI32();
    p.Width = stream.ReadI32();
    p.Height = stream.ReadI32();
    if (!Plausible(p)) throw EReadError(SZelBadPlacement);
    return p;
  } catch (...) {
    stream.SetPosition(start);
    throw;
  }
}

// The control bar a docked record names, looked up in the bar's owner:
// nullptr when the name finds nothing (the bar stays where it is); a name of
// anything but a control bar outside the bar is damage.
TWinControl* RecordParent(TCustomActionDockBar* bar, const TPlacement& p) {
  if (p.Kind != ppkControlBar || !bar->Owner()) return nullptr;
  TComponent* found = bar->Owner()->FindComponent(p.Name);
  if (!found) return nullptr;
  auto* parent = dynamic_cast<TCustomControlBar*>(found);
  if (!parent || parent->IsWithin(bar)) throw EReadError(SZelBadPlacement);
  return parent;
}

// The rectangle moved to lie on the work area as far as it fits there: a
// form saved wholly on the screen stays where it was, one saved off the
// screen comes back onto it.  The size is bounded first by the caller.
RECT KeepOnWorkArea(const RECT& r) {
  RECT work{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int left = std::max<int>(work.left, std::min<int>(r.left, work.right - w));
  const int top = std::max<int>(work.top, std::min<int>(r.top, work.bottom - h));
  return RECT{left, top, left + w, top + h};
}

} // namespace

void SaveBarPlacement(TCustomActionDockBar* bar, TStream& stream) {
  TWinControl* parent = bar->Parent();
  const uint8_t kind = ParentKind(parent);
  stream.WriteChars(kSignature);
  stream.WriteU8(uint8_t(kVersion));
  stream.WriteBool(bar->Visible());
  stream.WriteU8(kind);
  if (kind != ppkNone) {
    std::string name = kind == ppkDockForm ? parent->ClassName() : parent->Name();
    if (name.size() > 0xFFFF) name.resize(0xFFFF);
    stream.WriteU16(uint16_t(name.size()));
    stream.WriteChars(name);
  }
  const bool floating = kind == ppkDockForm;
  stream.WriteI32(floating ? parent->Left() : bar->Left());
  stream.WriteI32(floating ? parent->Top() : bar->Top());
  stream.WriteI32(bar->Width());
  stream.WriteI32(bar->Height());
}

// A floating bar floats again in a form as large as the bar and the small
// caption's frame, on the screen; a docked one goes back into its control
// bar, found by name in its owner and checked before anything changes (a
// bar floating now is docked there, never put in bare), and takes its
// bounds there.
void LoadBarPlacement(TCustomActionDockBar* bar, TStream& stream) {
  if (stream.Remaining() < 4) return;
  const int64_t start = stream.Position();
  TPlacement p = ReadPlacement(stream);
  TWinControl* parent = nullptr;
  try {
    parent = RecordParent(bar, p);
  } catch (...) {
    stream.SetPosition(start);
    throw;
  }
  // No bar is larger than the screen it is shown on.
  p.Width = std::min(p.Width, GetSystemMetrics(SM_CXSCREEN));
  p.Height = std::min(p.Height, GetSystemMetrics(SM_CYSCREEN));
  if (p.Kind == ppkDockForm) {
    // A bar saved hidden (its form was closed) floats hidden: its form
    // does not show, empty, at the next start.
    bar->SetVisible(p.Visible);
    const int w = p.Width + 2 * GetSystemMetrics(SM_CXSMSIZE);
    const int h = p.Height + 2 * GetSystemMetrics(SM_CYSMSIZE) + GetSystemMetrics(SM_CYSMCAPTION);
    bar->ManualFloat(RECT{p.Left, p.Top, p.Left + w, p.Top + h});
    // The enlargement stands for a frame and caption of the small-caption
    // metrics; the form the bar lands in may have others, so it is sized to
    // give the bar its saved size, which a later save then writes unchanged.
    if (TWinControl* host = bar->HostDockSite(); host && bar->Floating()) {
      if (bar->Visible()) {
        host->SetClientWidth(host->ClientWidth() + p.Width - bar->Width());
        host->SetClientHeight(host->ClientHeight() + p.Height - bar->Height());
      } else {
        // A hidden bar is not aligned to the form: it takes the size itself.
        host->SetClientWidth(p.Width);
        host->SetClientHeight(p.Height);
        bar->SetBounds(0, 0, p.Width, p.Height);
      }
      // Fitted on the screen at the enlarged size, the form may have moved
      // up or left more than its real size needs: it is fitted again from
      // the saved corner, so a form saved whole on the screen comes back
      // exactly there (and a later save writes the same place).
      const RECT fitted =
          KeepOnWorkArea(RECT{p.Left, p.Top, p.Left + host->Width(), p.Top + host->Height()});
      host->SetBounds(fitted.left, fitted.top, host->Width(), host->Height());
    }
    return;
  }
  if (parent && parent != bar->Parent()) {
    if (bar->Floating())
      bar->ManualDock(parent);
    else
      bar->SetParent(parent);
  }
  bar->SetBounds(p.Left, p.Top, p.Width, p.Height);
  bar->SetVisible(p.Visible);
}

} // namespace zel
