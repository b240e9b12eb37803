// TSpeedButtonZel: pressing, hover with its partner rule and poll,
// auto-repeat, enabled and visible changes, the action link and clicks.

#include "framework/controls/WinControl.h"
#include "platform/user/Input.h"
#include "speedbutton/SpeedButtonZel.h"

namespace zel {

namespace {
constexpr int kHoverPollMs = 200;
constexpr unsigned kFirstRepeatMs = 199;
constexpr unsigned kSecondRepeatMs = 200;
constexpr unsigned kFastestRepeatMs = 40;
} // namespace

bool TSpeedButtonZel::CursorInside() {
  sys::POINT p{};
  sys::GetCursorPos(&p);
  p = ScreenToClient(p);
  return p.x >= 0 && p.y >= 0 && p.x < Width() && p.y < Height();
}

// ---- Press and release -------------------------------------------------------------------

void TSpeedButtonZel::SetPushed(bool p) {
  p = p && Enabled() && Visible();
  if (p == fList->Pushed()) return;
  BeginUpdate();
  fList->SetPushed(p);
  if (FHoverMaster) {
    for (int i = 0; i < ComponentCount(); ++i)
      if (auto* part = dynamic_cast<TSpeedButtonZel*>(Components(i))) part->SetPushed(p);
    // Only a release by the mouse toggles: ending the press because the
    // button was disabled or hidden does not.
    if (!p && Enabled() && Visible() && CursorInside() && FAutoCheck) {
      SetChecked(!Checked());
      if (auto* action = dynamic_cast<TCustomAction*>(Action())) action->SetChecked(Checked());
    }
    if (p)
      StartRepeat();
    else
      StopRepeat();
  } else {
    StopRepeat();
  }
  Changed();
  UpdateGlyph();
  EndUpdate();
}

void TSpeedButtonZel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (Enabled() && button == mbLeft) SetPushed(true);
  TGraphicControl::MouseDown(button, shift, x, y);
}

// ---- Hover ----------------------------------------------------------------------------------

void TSpeedButtonZel::SetHoverMaster(bool v) {
  if (v == FHoverMaster) return;
  FHoverMaster = v;
  if (!v) TInternalTimer::Stop(FHoverTimer);
}

void TSpeedButtonZel::SetHot(bool h) {
  h = h && Enabled() && Visible();
  if (h == fList->Hot()) return;
  fList->SetHot(h);
  if (FHoverMaster) {
    for (int i = 0; i < ComponentCount(); ++i)
      if (auto* part = dynamic_cast<TSpeedButtonZel*>(Components(i))) {
        part->SetHoverMaster(!h);
        part->SetHot(h);
      }
  }
  if (auto* owner = dynamic_cast<TSpeedButtonZel*>(Owner()); owner && FHoverMaster) {
    owner->SetHoverMaster(!h);
    owner->SetHot(h);
  }
  if (h && FHoverMaster) {
    if (!FHoverTimer || !FHoverTimer->Running()) {
      if (!FHoverTimer) FHoverTimer = new TInternalTimer(this);
      FHoverTimer->StartRepeating(kHoverPollMs, [this](TObject* s) { HoverPoll(s); });
    }
  } else {
    TInternalTimer::Stop(FHoverTimer);
  }
  Changed();
  BeginUpdate();
  try {
    UpdateGlyph();
    if (!ComponentState().Contains(csDesigning)) DoHotChanged();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TSpeedButtonZel::HoverPoll(TObject*) {
  if (CursorInside()) {
    SetHot(true);
    return;
  }
  if (IsUpdating()) return;
  BeginUpdate();
  SetHot(false);
  SetPushed(false);
  EndUpdate();
}

void TSpeedButtonZel::DoHotChanged() {
  if (onHotChanged) onHotChanged(this);
}

void TSpeedButtonZel::MouseEntered() {
  MouseEnter();
  if (FHoverMaster) SetHot(true);
}

void TSpeedButtonZel::MouseLeft() {
  MouseLeave();
  if (Enabled()) {
    BeginUpdate();
    if (FHoverMaster) SetHot(false);
    SetPushed(false);
    EndUpdate();
  } else {
    if (FHoverMaster) fList->SetHot(false);
    SetPushed(false);
  }
}

// ---- Auto-repeat ------------------------------------------------------------------------------

void TSpeedButtonZel::StartRepeat() {
  FClicksFired = false;
  if (!FRepeatTimer) {
    FRepeatTimer = new TTimer(this);
    FRepeatTimer->SetInterval(kFirstRepeatMs);
    FRepeatTimer->SetOnTimer([this](TObject* s) { RepeatTick(s); });
  }
  FRepeatTimer->SetEnabled(true);
}

void TSpeedButtonZel::StopRepeat() {
  // Each press starts again at the first interval.
  delete FRepeatTimer;
  FRepeatTimer = nullptr;
}

void TSpeedButtonZel::RepeatTick(TObject*) {
  if (!FRepeatTimer) return;
  const unsigned interval = FRepeatTimer->Interval();
  const unsigned next =
      interval == kFirstRepeatMs ? kSecondRepeatMs : std::max(interval / 2, kFastestRepeatMs);
  FRepeatTimer->SetInterval(next);
  DoClicks();
}

void TSpeedButtonZel::DoClicks() {
  if (onClicks) {
    FClicksFired = true;
    onClicks(this);
  }
}

void TSpeedButtonZel::Click() {
  if (FClicksFired) return;
  // A linked action executes (and so checks itself) unless the button has a
  // click handler of its own.
  if (FActionLink && FActionLink->Action() && !ComponentState().Contains(csDesigning) &&
      (!OnClick || FActionLink->IsOnExecuteLinked())) {
    FActionLink->Execute(this);
    return;
  }
  TGraphicControl::Click();
}

// ---- Enabled and visible ------------------------------------------------------------------------

void TSpeedButtonZel::EnabledChanged() {
  BeginUpdate();
  if (!Enabled()) {
    // A disabled button gives up the mouse, so the release that follows
    // is no click.
    if (MouseCapture()) SetMouseCapture(false);
    SetPushed(false);
    SetHot(false);
  } else {
    sys::POINT p{};
    sys::GetCursorPos(&p);
    const sys::POINT origin = ClientToScreen(sys::POINT{0, 0});
    if (p.x >= origin.x && p.y >= origin.y && p.x < origin.x + Width() && p.y < origin.y + Height())
      Perform(CM_MOUSEENTER, 0, sys::LPARAM(this));
  }
  fList->SetEnabled(Enabled());
  UpdateGlyph();
  if (FDropButton) FDropButton->SetEnabled(Enabled());
  EndUpdate();
}

void TSpeedButtonZel::VisibleChanged() {
  BeginUpdate();
  if (!Visible()) {
    SetHot(false);
    SetPushed(false);
  }
  UpdateGlyph();
  if (FDropButton) FDropButton->SetVisible(Visible());
  EndUpdate();
}

// ---- Action link
// ----------------------------------------------------------------------------------

void TSpeedButtonZel::SetAction(TComponent* action) {
  auto* basic = dynamic_cast<TBasicAction*>(action);
  if (!basic) {
    FActionLink.reset();
    TGraphicControl::SetAction(nullptr);
    return;
  }
  TGraphicControl::SetAction(basic);
  if (!FActionLink) FActionLink = std::make_unique<TZelLink>(this);
  FActionLink->SetAction(basic);
  ActionChange(basic, ComponentState().Contains(csLoading));
}

void TSpeedButtonZel::ActionChange(TObject* sender, bool checkDefaults) {
  ApplyActionToControl(this, dynamic_cast<TBasicAction*>(sender), checkDefaults);
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (!action) return;
  BeginUpdate();
  try {
    // Only an action with an image of its own replaces the button's
    // glyphs: one without (ImageIndex -1) would otherwise blank a button
    // that carries its own glyphs at every change of the action.  The list
    // is set only when it differs, as setting it empties the face cache.
    TCustomActionList* list = action->ActionList();
    if (!checkDefaults && list && list->Images() && action->ImageIndex() >= 0) {
      if (ImageList() != list->Images()) SetImageList(list->Images());
      FGliphs->SetImageIndexNormalHot(action->ImageIndex());
      FGliphs->SetImageIndexNormal(-1);
      FGliphs->SetImageIndexPush(-1);
      FGliphs->SetImageIndexCheck(-1);
      FGliphs->SetImageIndexCheckHot(-1);
      FGliphs->SetImageIndexDisable(-1);
      FGliphs->SetImageIndexCheckDisable(-1);
    }
    if (!checkDefaults || !Checked()) SetChecked(action->Checked());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  // The glyph set changed while updating, when its own notification does
  // not select a glyph: select it now so the face does not show a stale one.
  UpdateGlyph();
}

} // namespace zel
