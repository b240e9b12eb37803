// The system menu as a pop-up action bar.  One is on the screen at a time,
// as on any desktop; it belongs to the application and is filled afresh for
// the window it opens for, whose handle its items keep (never the form: a
// form may go while its menu shows).

#include "framework/actnbars/SystemMenuPopup.h"

#include "framework/actions/ActnList.h"
#include "framework/actnbars/PopupActnBar.h"
#include "framework/forms/Application.h"
#include "framework/forms/SystemMenu.h"

namespace zel {

using namespace sys;

namespace {

class TSystemMenuPopup;
TSystemMenuPopup* gMenu = nullptr;
// A press on the window whose menu showed closes the menu (as any press
// outside it does); when that press was on the caption's icon, the menu
// stays closed rather than opening again at once.
bool gPressClosedIt = false;
int gPressHook = 0;

class TSystemMenuPopup : public TPopupActionBar {
public:
  explicit TSystemMenuPopup(TComponent* owner) : TPopupActionBar(owner) {}
  ~TSystemMenuPopup() override {
    if (gMenu == this) gMenu = nullptr;
    RemovePressHook(gPressHook);
    gPressHook = 0;
  }
  HWND FWindow = nullptr; // the window whose menu it is
};

// The main menu bar among parent's controls (depth first), or nil.
TCustomActionBar* MenuBarIn(TWinControl* parent) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* w = dynamic_cast<TWinControl*>(parent->Controls(i));
    if (!w) continue;
    if (w->Is<TCustomActionMainMenuBar>()) return static_cast<TCustomActionBar*>(w);
    if (TCustomActionBar* bar = MenuBarIn(w)) return bar;
  }
  return nullptr;
}

// The main menu bar of a form: among its controls, or floating.
TCustomActionBar* MenuBarOf(TCustomForm* form) {
  if (!form) return nullptr;
  if (TCustomActionBar* bar = MenuBarIn(form)) return bar;
  return dynamic_cast<TCustomActionBar*>(form->MenuKeyBar());
}

// The menu bar whose look the system menu of window takes, or nil.
TCustomActionBar* LookOf(HWND window) {
  auto* form = dynamic_cast<TCustomForm*>(FindControl(window));
  if (!form) return nullptr;
  for (TCustomForm* f : {form, form->MDIParent(), Application ? Application->MainForm() : nullptr})
    if (TCustomActionBar* bar = MenuBarOf(f)) return bar;
  return nullptr;
}

void TakeLook(TCustomActionBar* popup, TActionClient* item, TCustomActionControlClass& cls) {
  TCustomActionBar* look = gMenu ? LookOf(gMenu->FWindow) : nullptr;
  if (!look || !popup) return;
  popup->SetColorMap(look->ColorMap());
  auto* clientItem = dynamic_cast<TActionClientItem*>(item);
  if (TActionBarStyle* style = look->Style(); style && clientItem)
    cls = style->ControlClassFor(popup, clientItem);
}

void Fill(TSystemMenuPopup* menu, const std::vector<TSystemMenuItem>& items) {
  TMenuItem* root = menu->Items();
  while (root->Count() > 0)
    delete root->Items(root->Count() - 1);
  const HWND window = menu->FWindow;
  for (const TSystemMenuItem& entry : items) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(entry.Caption.empty() ? "-" : entry.Caption);
    item->SetEnabled(entry.Enabled);
    item->SetShortCut(TextToShortCut(entry.ShortCut));
    const WPARAM command = entry.Command;
    item->OnClick = [window, command](TObject*) {
      if (IsWindow(window)) SendMessage(window, WM_SYSCOMMAND, command, 0);
    };
    root->Add(item);
  }
}

void Present(TCustomForm* form, const std::vector<TSystemMenuItem>& items, POINT at,
             bool byKeyboard) {
  if (!Application || !form || !form->HandleAllocated()) return;
  if (!gMenu) {
    gMenu = new TSystemMenuPopup(Application);
    gMenu->OnGetControlClass = TakeLook;
    gPressHook = AddPressHook([](HWND window) {
      TCustomActionPopupMenu* bar = gMenu ? gMenu->PopupBar() : nullptr;
      gPressClosedIt = bar && bar->Showing() && window == gMenu->FWindow;
    });
  }
  if (!byKeyboard && gPressClosedIt && form->Handle() == gMenu->FWindow) {
    gPressClosedIt = false;
    return;
  }
  // One menu loop at a time: the menu bar's ends (F10, then Alt+Space).
  if (auto* bar = dynamic_cast<TCustomActionMenuBar*>(LookOf(form->Handle()));
      bar && bar->InMenuLoop())
    bar->CloseMenu();
  gMenu->FWindow = form->Handle();
  Fill(gMenu, items);
  gMenu->Popup(at.x, at.y);
  TCustomActionPopupMenu* bar = gMenu->PopupBar();
  if (byKeyboard && bar) bar->SelectControl(bar->NextControl(1));
}

} // namespace

void InstallSystemMenu() {
  SetSystemMenuPresenter(Present);
}

} // namespace zel
