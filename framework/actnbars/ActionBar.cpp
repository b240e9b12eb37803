#include "framework/actnbars/ActionBar.h"

#include <algorithm>

#include "framework/actions/ActnList.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/ActnStyles.h"
#include "framework/actnbars/DesignDrag.h"
#include "platform/user/MessageQueue.h"

namespace zel {

TCustomActionBar::TCustomActionBar(TComponent* owner) : TCustomControl(owner) {}

TCustomActionBar::~TCustomActionBar() {
  if (FActionClient) FActionClient->RemoveShowingBar(this);
  FActionClient = nullptr;
  if (FColorMap) FColorMap->RemoveBar(this);
  if (FDefaultColorMap) FDefaultColorMap->RemoveBar(this);
  // Found by pointer, so a client that is already gone is never touched.
  if (TCustomActionManager* m = ActionManager())
    if (TActionBarItem* item = m->FindActionBar(this)) item->SetActionBar(nullptr);
}

void TCustomActionBar::SetActionClient(TActionClient* value) {
  if (value == FActionClient) return;
  // The client tells the bar when it goes, so the bar never keeps a freed
  // one (a closed pop-up kept for later included).
  if (FActionClient) FActionClient->RemoveShowingBar(this);
  FActionClient = value;
  if (value) value->AddShowingBar(this);
  // The manager of the client tells the bar when it goes, and hears when
  // the bar goes, so neither keeps a dangling reference.
  FClientManager = value ? value->ActionManager() : nullptr;
  if (FClientManager) FClientManager->FreeNotification(this);
  ActionClientChanged();
}

void TCustomActionBar::ActionClientGone(TActionClient* item, bool open) {
  if (item != FActionClient) return;
  if (open) {
    SetActionClient(nullptr);
    return;
  }
  FActionClient = nullptr;
}

namespace {
// Posted by a bar to itself to free the controls whose items went.
constexpr sys::UINT CM_FREEGONECONTROLS = sys::WM_USER + 0x3C2;
} // namespace

void TCustomActionBar::ActionControlGone(TCustomActionControl* control) {
  if (ComponentState().Contains(csDestroying)) return;
  auto it = std::find(FActionControls.begin(), FActionControls.end(), control);
  if (it == FActionControls.end()) return;
  FActionControls.erase(it);
  control->SetSelected(false);
  control->SetVisible(false);
  FGoneControls.push_back(control);
  if (HandleAllocated()) sys::PostMessage(Handle(), CM_FREEGONECONTROLS, 0, 0);
  LayoutControls();
  Invalidate();
}

void TCustomActionBar::FreeGoneControls() {
  std::vector<TCustomActionControl*> gone;
  gone.swap(FGoneControls);
  for (TCustomActionControl* c : gone)
    delete c;
}

void TCustomActionBar::SetActionManager(TCustomActionManager* value) {
  if (value == FActionManager) return;
  if (FActionManager) {
    if (TActionBarItem* item = FActionManager->FindActionBar(this)) item->SetActionBar(nullptr);
  }
  FActionManager = value;
  if (FActionManager) {
    FActionManager->FreeNotification(this);
    TActionBars* bars = FActionManager->ActionBars();
    TActionBarItem* item = FActionManager->FindActionBar(this);
    for (int i = 0; !item && i < bars->Count(); ++i)
      if (!bars->ActionBars(i)->ActionBar()) item = bars->ActionBars(i);
    if (!item) item = bars->Add();
    item->SetActionBar(this);
  }
  StyleChanged();
}

TCustomActionManager* TCustomActionBar::ActionManager() const {
  if (FActionManager) return FActionManager;
  return FClientManager ? FClientManager : FFallbackManager;
}

TActionBarStyle* TCustomActionBar::Style() const {
  TCustomActionManager* m = ActionManager();
  if (!m) return nullptr;
  // A manager whose style name is not (yet) registered keeps the name and
  // shows its bars in the default style rather than not at all.
  return m->Style() ? m->Style() : DefaultActionBarStyle();
}

TCustomActionBarColorMap* TCustomActionBar::ColorMap() {
  if (FColorMap) return FColorMap;
  if (!FDefaultColorMap) {
    TCustomColorMapClass cls;
    if (TActionBarStyle* style = Style()) cls = style->ColorMapClassFor(this);
    if (!cls) cls = TStandardColorMap::StaticClass();
    FDefaultColorMap = cls.Create(this);
    FDefaultColorMap->AddBar(this);
    ColorMapFontChanged(FDefaultColorMap->FontColor());
  }
  return FDefaultColorMap;
}

void TCustomActionBar::SetColorMap(TCustomActionBarColorMap* value) {
  if (value == FColorMap) return;
  if (FColorMap) {
    FColorMap->RemoveBar(this);
    FColorMap->RemoveFreeNotification(this);
  }
  FColorMap = value;
  if (FColorMap) {
    FColorMap->FreeNotification(this);
    FColorMap->AddBar(this);
  }
  ColorMapFontChanged(ColorMap()->FontColor());
  Invalidate();
}

void TCustomActionBar::DropDefaultColorMap() {
  if (!FDefaultColorMap) return;
  TCustomActionBarColorMap* map = FDefaultColorMap;
  FDefaultColorMap = nullptr;
  map->RemoveBar(this);
  Free(map);
}

void TCustomActionBar::StyleChanged() {
  DropDefaultColorMap();
  // The style's map takes over at once, so the font shows its colour.
  if (!FColorMap && !ComponentState().Contains(csDestroying)) ColorMap();
  Invalidate();
}

void TCustomActionBar::ColorMapFontChanged(TColor color) {
  Font()->SetColor(color);
}

void TCustomActionBar::Loaded() {
  TCustomControl::Loaded();
  if (FActionClient) RecreateControls();
}

void TCustomActionBar::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == FDefaultColorMap) FDefaultColorMap = nullptr;
  if (component == FColorMap) {
    FColorMap = nullptr;
    if (!ComponentState().Contains(csDestroying)) ColorMapFontChanged(ColorMap()->FontColor());
  }
  if (component == FActionManager) FActionManager = nullptr;
  if (component == FFallbackManager) FFallbackManager = nullptr;
  if (component == FClientManager) {
    FClientManager = nullptr;
    if (FActionClient) FActionClient->RemoveShowingBar(this);
    FActionClient = nullptr;
  }
}

void TCustomActionBar::WndProc(TMessage& message) {
  if (message.Msg == CM_FREEGONECONTROLS) {
    FreeGoneControls();
    return;
  }
  if (FDesignMode && DesignDragMessage(this, message)) return;
  TCustomControl::WndProc(message);
}

void TCustomActionBar::SetFallbackManager(TCustomActionManager* value) {
  FFallbackManager = value;
  if (value) value->FreeNotification(this);
}

TCustomActionControl::TCustomActionControl(TComponent* owner) : TGraphicControl(owner) {}

TCustomActionControl::~TCustomActionControl() {
  if (FActionClient) FActionClient->RemoveShowingControl(this);
}

void TCustomActionControl::SetActionClient(TActionClientItem* value) {
  if (value == FActionClient) return;
  // The item tells every control showing it when it goes, so a control
  // never keeps a freed item, whichever bar it sits on.
  if (FActionClient) FActionClient->RemoveShowingControl(this);
  FActionClient = value;
  if (FActionClient) FActionClient->AddShowingControl(this);
  // The control's hint is its action's ("short|long"), for tool tips and
  // the application's hint line.
  auto* action = FActionClient ? dynamic_cast<TCustomAction*>(FActionClient->Action()) : nullptr;
  SetHint(action ? action->Hint() : std::string());
}

TCustomActionBar* TCustomActionControl::ActionBar() const {
  return dynamic_cast<TCustomActionBar*>(Parent());
}

} // namespace zel
