// The menu bar's menu loop and its pop-up menus: opening and closing the
// tree of pop-ups, mouse and keyboard navigation, menu items and the button
// that reveals unused items.

#include <algorithm>
#include <cctype>
#include <vector>

#include "framework/actions/ActnList.h"
#include "framework/actions/ListActns.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/ActnStyles.h"
#include "framework/forms/Form.h"
#include "framework/graphics/GraphUtil.h"
#include "framework/graphics/ImageList.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/SystemParams.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

namespace {

// Posted to a pop-up by its expand button: the button cannot remake the
// controls (itself among them) while its click runs.
constexpr UINT CM_EXPANDMENU = WM_USER + 0x3A1;
// The timer of a menu's pending hover.
constexpr UINT_PTR HoverTimerId = 0x3A2;

// The list action whose items an item shows as its sub-menu, or nil.
TCustomListAction* ListOf(TActionClientItem* item) {
  if (!item || (item->HasItems() && item->Items()->Count() > 0)) return nullptr;
  auto* list = dynamic_cast<TCustomListAction*>(item->Action());
  return list && list->Count() > 0 ? list : nullptr;
}

char32_t Accelerator(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    const auto c = static_cast<unsigned char>(caption[i + 1]);
    if (c < 0x80) return char32_t(std::tolower(c));
    if ((c & 0xE0) == 0xC0 && i + 2 < caption.size()) {
      char32_t cp = char32_t((c & 0x1F) << 6) | char32_t(caption[i + 2] & 0x3F);
      if (cp >= 0x410 && cp <= 0x42F) cp += 0x20;
      return cp;
    }
    return 0;
  }
  return 0;
}

char32_t FoldCase(char32_t c) {
  if (c < 0x80) return char32_t(std::tolower(int(c)));
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

// Decodes the UTF-8 character at caption[i], or returns false at a broken
// or cut one; n is its length.
bool DecodeAt(const std::string& caption, size_t i, char32_t& cp, size_t& n) {
  const auto c = static_cast<unsigned char>(caption[i]);
  cp = c;
  n = 1;
  if (c >= 0xF0)
    n = 4, cp = c & 0x07;
  else if (c >= 0xE0)
    n = 3, cp = c & 0x0F;
  else if (c >= 0xC0)
    n = 2, cp = c & 0x1F;
  if (i + n > caption.size()) return false;
  for (size_t k = 1; k < n; ++k)
    cp = (cp << 6) | char32_t(caption[i + k] & 0x3F);
  return true;
}

// The characters of a UTF-8 caption that can serve as an accelerator:
// letters and digits, case-folded; '&' marks are skipped.
std::vector<char32_t> KeyLetters(const std::string& caption) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < caption.size();) {
    char32_t cp = 0;
    size_t n = 1;
    if (!DecodeAt(caption, i, cp, n)) break;
    i += n;
    const bool letter = cp < 0x80 ? std::isalnum(int(cp)) != 0 : (cp >= 0xC0 && cp < 0x2000);
    if (letter) out.push_back(FoldCase(cp));
  }
  return out;
}

// The accelerators of a bar's items, by control index (0: none): the
// letter a caption marks with '&', otherwise the first letter of the
// caption that no other item of the bar has taken, so that every item
// can be reached from the keyboard without captions written for it.
std::vector<char32_t> BarAccelerators(const TCustomActionMenuBar& bar) {
  const int n = bar.ActionControlCount();
  std::vector<char32_t> keys(size_t(std::max(n, 0)), 0);
  auto captionOf = [&](int i) -> const TActionClientItem* {
    TCustomActionControl* c = bar.ActionControls(i);
    if (!c->ActionClient() || !c->Visible() || c->IsSeparator()) return nullptr;
    return c->ActionClient();
  };
  for (int i = 0; i < n; ++i)
    if (const TActionClientItem* item = captionOf(i))
      keys[size_t(i)] = Accelerator(item->Caption());
  for (int i = 0; i < n; ++i) {
    const TActionClientItem* item = captionOf(i);
    if (!item || keys[size_t(i)] != 0) continue;
    for (char32_t letter : KeyLetters(item->Caption()))
      if (std::find(keys.begin(), keys.end(), letter) == keys.end()) {
        keys[size_t(i)] = letter;
        break;
      }
  }
  return keys;
}

} // namespace

char32_t MenuBarAccelerator(const TCustomActionControl* control) {
  auto* bar = control ? dynamic_cast<const TCustomActionMenuBar*>(control->ActionBar()) : nullptr;
  // Only a menu bar's top level answers Alt with a letter.
  if (!bar || bar->ParentMenu() || dynamic_cast<const TCustomActionPopupMenu*>(bar)) return 0;
  const std::vector<char32_t> keys = BarAccelerators(*bar);
  for (int i = 0; i < bar->ActionControlCount(); ++i)
    if (bar->ActionControls(i) == control) return keys[size_t(i)];
  return 0;
}

std::string MarkAccelerator(const std::string& caption, char32_t letter) {
  if (letter == 0 || Accelerator(caption) != 0) return caption;
  for (size_t i = 0; i < caption.size();) {
    char32_t cp = 0;
    size_t n = 1;
    if (!DecodeAt(caption, i, cp, n)) break;
    if (FoldCase(cp) == letter) return caption.substr(0, i) + "&" + caption.substr(i);
    i += n;
  }
  return caption;
}

bool OpensSubMenu(const TCustomActionControl* c) {
  TActionClientItem* item = c ? c->ActionClient() : nullptr;
  if (!item) return false;
  return (item->HasItems() && item->Items()->Count() > 0) || ListOf(item);
}

// ---- TCustomActionMenuBar ------------------------------------------------------------------

TCustomActionMenuBar::TCustomActionMenuBar(TComponent* owner) : TCustomActionDockBar(owner) {}

TCustomActionMenuBar::~TCustomActionMenuBar() {
  if (FPressHook) RemovePressHook(FPressHook);
  CancelHover();
  // The pop-ups are owned by the root and go after it: none of them may
  // reach back into a menu that is gone.
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* menu = dynamic_cast<TCustomActionMenuBar*>(Components(i))) {
      menu->FParentMenu = nullptr;
      menu->FPopup = nullptr;
    }
  if (FParentMenu && FParentMenu->FPopup == this) FParentMenu->FPopup = nullptr;
}

TCustomActionMenuBar* TCustomActionMenuBar::RootMenu() {
  TCustomActionMenuBar* m = this;
  while (m->FParentMenu)
    m = m->FParentMenu;
  return m;
}

bool TCustomActionMenuBar::InMenuLoop() {
  return MenuMode() != TMenuMode::Idle;
}

TMenuMode TCustomActionMenuBar::MenuMode() {
  TCustomActionMenuBar* root = RootMenu();
  if (root->IsBarRoot()) return root->FMode;
  // A pop-up at the root (a drop-down, a context menu) is a menu loop of
  // its own while it is on the screen.
  return root->FPopup || root->Visible() ? TMenuMode::DropDown : TMenuMode::Idle;
}

bool TCustomActionMenuBar::IsBarRoot() const {
  return !FParentMenu && !dynamic_cast<const TCustomActionPopupMenu*>(this);
}

// The modes of a menu bar's loop, kept by the bar at the root of its menus.
// Every input has an exit from every mode; the one in a cell is what the
// input does there ("-": nothing of the menu's, the input does its own
// work as it would without a menu):
//
//   input                          Idle          BarSelected       DropDown
//   F10, Alt alone                 BarSelected   Idle              Idle
//   Alt+letter of a title          DropDown      DropDown          DropDown (that title)
//   Esc                            -             Idle              a sub-menu closes; the first
//                                                                  level goes to BarSelected
//   Left, Right                    -             the next title    the next title's drop-down
//   Down, Enter, a title's letter  -             DropDown          the item: chosen (Idle) or
//                                                                  its sub-menu opened
//   other Ctrl or Alt combination  -             Idle, then its    Idle, then its work
//     (Alt+X, Ctrl+F4, Ctrl+F6)                  work
//   a press on a title             DropDown      DropDown          Idle on the open title,
//                                                                  else that title's DropDown
//   a press anywhere else in the   -             Idle, then its    Idle, then its work
//     program (any window)                       work
//   a press outside the program,   -             Idle              Idle
//     the focus or the foreground
//     lost, the bar's window gone
//
// The mode shows as the selected title (none in Idle); in BarSelected and
// DropDown the bar has the keyboard (not in the customize mode, where the
// dialog keeps it and the drop-downs open by clicks only) and every press
// of the program comes to PressedIn first.  Leaving to Idle deselects the
// title and gives the keyboard back to the window that had it.  An item
// chosen leaves to Idle before it runs, so a dialog it opens finds the
// menus closed.
void TCustomActionMenuBar::SetMode(TMenuMode mode, TCustomActionControl* title) {
  CancelHover();
  if (mode != TMenuMode::DropDown) ClosePopups();
  FMode = IsBarRoot() ? mode : TMenuMode::Idle;
  if (mode == TMenuMode::Idle) {
    // A pop-up at the root (a context pop-up) goes off the screen itself.
    if (!IsBarRoot() && !FParentMenu) {
      if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
      SetVisibleFlag(false);
      ReleaseChildOf();
      if (auto* popup = dynamic_cast<TCustomActionPopupMenu*>(this)) popup->ReleaseKeys();
    }
    SelectControl(nullptr);
    if (FPressHook) RemovePressHook(FPressHook);
    FPressHook = 0;
    GiveKeyboardBack();
    return;
  }
  SelectControl(title);
  WatchPresses();
  // A main menu bar takes the keyboard in its loop, so the arrows work
  // after a mouse click too; in the customize mode the dialog keeps it.
  if (dynamic_cast<TCustomActionMainMenuBar*>(this) && !DesignMode()) TakeKeyboard();
}

TCustomActionControl* TCustomActionMenuBar::SelectedControl() const {
  for (int i = 0; i < ActionControlCount(); ++i)
    if (ActionControls(i)->Selected()) return ActionControls(i);
  return nullptr;
}

void TCustomActionMenuBar::SelectControl(TCustomActionControl* control) {
  for (int i = 0; i < ActionControlCount(); ++i)
    ActionControls(i)->SetSelected(ActionControls(i) == control);
}

TCustomActionControl* TCustomActionMenuBar::NextControl(int direction) const {
  const int n = ActionControlCount();
  if (n == 0) return nullptr;
  int start = -1;
  for (int i = 0; i < n; ++i)
    if (ActionControls(i)->Selected()) start = i;
  int i = start < 0 ? (direction > 0 ? -1 : 0) : start;
  for (int step = 0; step < n; ++step) {
    i = (i + direction + n) % n;
    TCustomActionControl* c = ActionControls(i);
    if (c->Visible() && !c->IsSeparator() && c->IsEnabled()) return c;
  }
  return nullptr;
}

TCustomActionPopupMenu* TCustomActionMenuBar::CreatePopup() {
  TClassRef<TCustomActionBar> cls;
  if (auto* ex = dynamic_cast<TActionBarStyleEx*>(Style())) cls = ex->GetPopupClass(this);
  TCustomActionPopupMenu* popup = nullptr;
  if (cls && cls.InheritsFrom(TCustomActionPopupMenu::StaticClass()))
    popup = static_cast<TCustomActionPopupMenu*>(cls.Create(RootMenu()));
  if (!popup) popup = new TCustomActionPopupMenu(RootMenu());
  return popup;
}

void TCustomActionMenuBar::FreeClosedPopups() {
  std::vector<TCustomActionPopupMenu*> closed;
  closed.swap(FClosed);
  for (TCustomActionPopupMenu* p : closed)
    delete p;
}

POINT TCustomActionMenuBar::PopupPoint(TCustomActionControl* control) {
  return control->ClientToScreen(POINT{0, control->Height()});
}

void TCustomActionMenuBar::OpenSubMenu(TCustomActionControl* control) {
  TCustomActionMenuBar* root = RootMenu();
  CancelHover();
  ClosePopups();
  // Pop-ups closed earlier are no longer on the call stack.
  root->FreeClosedPopups();
  if (!OpensSubMenu(control)) {
    // A title without a drop-down stays selected, from the keyboard; an
    // item of a pop-up only selected.
    if (IsBarRoot())
      SetMode(DesignMode() ? TMenuMode::Idle : TMenuMode::BarSelected, control);
    else
      SelectControl(control);
    return;
  }
  if (this == root)
    SetMode(TMenuMode::DropDown, control);
  else
    SelectControl(control);
  root->WatchPresses();
  TCustomActionPopupMenu* popup = CreatePopup();
  popup->FParentMenu = this;
  popup->FSourceItem = control->ActionClient();
  // A sub-menu of a bar in design mode is in design mode too, and shows
  // every item, so that the unused ones can be moved as well.
  popup->SetDesignMode(DesignMode());
  popup->FExpanded = DesignMode();
  FPopup = popup;
  if (ListOf(control->ActionClient())) {
    popup->ShowListItems(control, PopupPoint(control));
    return;
  }
  // Items of a pop-up's own have no manager; the sub-menu takes this one's.
  popup->SetFallbackManager(ActionManager());
  popup->SetActionClient(control->ActionClient());
  // The item lets go of the pop-up when it goes (a configuration read, a
  // reset of its bar) while the pop-up is open.
  control->ActionClient()->SetChildActionBar(popup);
  popup->PopupAt(PopupPoint(control));
}

void TCustomActionMenuBar::CloseSubMenus() {
  ClosePopups();
  // A bar's drop-down closed by anything but Esc (the customize mode's
  // changes, a menu of a gone item) ends the loop: a title selected by the
  // mouse shows nothing once its drop-down is gone.
  if (IsBarRoot() && FMode == TMenuMode::DropDown) SetMode(TMenuMode::Idle, nullptr);
}

void TCustomActionMenuBar::ClosePopups() {
  TCustomActionPopupMenu* popup = FPopup;
  if (!popup) return;
  popup->CancelHover();
  popup->ClosePopups();
  FPopup = nullptr;
  if (popup->HandleAllocated()) ShowWindow(popup->Handle(), SW_HIDE);
  popup->SetVisibleFlag(false);
  popup->ReleaseChildOf();
  RootMenu()->FClosed.push_back(popup);
}

void TCustomActionMenuBar::ReleaseChildOf() {
  // The item whose children the closed pop-up showed has no child bar on
  // the screen any more.
  if (TActionClient* item = ActionClient(); item && item->ChildActionBar() == this)
    item->SetChildActionBar(nullptr);
}

void TCustomActionMenuBar::ItemsHidingChanged() {
  if (IsBarRoot() && InMenuLoop()) CloseMenu();
  TCustomActionDockBar::ItemsHidingChanged();
}

void TCustomActionMenuBar::CloseMenu() {
  RootMenu()->SetMode(TMenuMode::Idle, nullptr);
}

void TCustomActionMenuBar::TakeKeyboard() {
  if (!CanFocus() || Focused()) return;
  FFocusBefore = sys::GetFocus();
  SetFocus();
}

void TCustomActionMenuBar::GiveKeyboardBack() {
  const HWND back = FFocusBefore;
  FFocusBefore = nullptr;
  if (!Focused()) return;
  // The window that had the keys, when it can still take them; otherwise
  // the bar's form, so that its short cuts reach it again.
  if (back && IsWindow(back) && IsWindowVisible(back) && IsWindowEnabled(back)) {
    sys::SetFocus(back);
    return;
  }
  if (TCustomForm* form = GetParentForm(this)) sys::SetFocus(form->Handle());
}

void TCustomActionMenuBar::WatchPresses() {
  if (FPressHook || FParentMenu) return;
  FPressHook = AddPressHook([this](HWND window) { PressedIn(window); });
}

void TCustomActionMenuBar::PressedIn(HWND window) {
  if (!InMenuLoop()) return;
  // Presses on the bar itself and on the open pop-ups are theirs to handle.
  for (TCustomActionMenuBar* m = this; m; m = m->FPopup)
    if (m->HandleAllocated() && (m->Handle() == window || IsChild(m->Handle(), window))) return;
  // So are presses on the bar a root pop-up dropped from (its button
  // decides whether the pop-up opens again).
  if (auto* from = dynamic_cast<TWinControl*>(Owner());
      from && FParentMenu == nullptr && dynamic_cast<TCustomActionPopupMenu*>(this))
    if (from->HandleAllocated() && (from->Handle() == window || IsChild(from->Handle(), window)))
      return;
  CloseMenu();
}

bool TCustomActionMenuBar::ControlClicked(TCustomActionControl* control) {
  auto* bar = control ? dynamic_cast<TCustomActionMenuBar*>(control->ActionBar()) : nullptr;
  return bar && bar->HandleControlClick(control);
}

bool TCustomActionMenuBar::HandleControlClick(TCustomActionControl* control) {
  CancelHover();
  if (OpensSubMenu(control)) {
    // On a menu bar the press toggles the sub-menu; in a pop-up a click
    // opens at once, and a sub-menu the hover opened already stays.
    const bool open = FPopup && FPopup->SourceItem() == control->ActionClient();
    if (open && !dynamic_cast<TCustomActionPopupMenu*>(this)) {
      CloseMenu();
      return true;
    }
    if (!open) OpenSubMenu(control);
    SelectControl(control);
    return true;
  }
  // A separator or a disabled item leaves the menu open.
  if (!control->ActionClient() || control->IsSeparator() || !control->IsEnabled()) return false;
  CloseMenu();
  control->TCustomActionControl::Click();
  return !DesignMode();
}

void TCustomActionMenuBar::ControlEntered(TCustomActionControl* control) {
  // Hovering switches menus only while one is open.
  if (!FPopup || control == SelectedControl() || DesignMode()) return;
  OpenSubMenu(control);
}

// Hovering over the items of a pop-up, with D the system's menu show delay:
//
//   mouse enters            selection          after D (unless cancelled)
//   item with sub-items     the item           its sub-menu opens
//   other item, sub open    the item           the open sub-menu closes
//   other item, none open   the item           -
//   the open sub-menu       its item again     (pending hover cancelled)
//   item whose sub is open  the item           (pending hover cancelled)
//
// A key or a click cancels a pending hover; a hover whose item is no
// longer selected when D ends does nothing.  So the mouse can cross other
// items on its way into an open sub-menu without closing it.
void TCustomActionMenuBar::HoverControl(TCustomActionControl* control) {
  SelectControl(control);
  const bool ownsPopup = FPopup && control && FPopup->SourceItem() == control->ActionClient();
  if (!control || ownsPopup || (!OpensSubMenu(control) && !FPopup)) {
    CancelHover();
    return;
  }
  FHoverControl = control;
  int delay = 400;
  SystemParametersInfo(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
  if (delay <= 0 || !HandleAllocated()) {
    HoverExpired();
    return;
  }
  SetTimer(Handle(), HoverTimerId, UINT(delay));
}

void TCustomActionMenuBar::CancelHover() {
  if (!FHoverControl) return;
  FHoverControl = nullptr;
  if (HandleAllocated()) KillTimer(Handle(), HoverTimerId);
}

void TCustomActionMenuBar::HoverExpired() {
  TCustomActionControl* control = FHoverControl;
  CancelHover();
  if (!control || !Showing()) return;
  // The control must still be one of this bar's and still selected.
  bool mine = false;
  for (int i = 0; i < ActionControlCount(); ++i)
    if (ActionControls(i) == control) mine = true;
  if (!mine || !control->Selected()) return;
  if (OpensSubMenu(control))
    OpenSubMenu(control);
  else
    CloseSubMenus();
}

void TCustomActionMenuBar::MouseReachedMenu() {
  TCustomActionMenuBar* parent = FParentMenu;
  if (!parent || parent->FPopup != this) return;
  parent->CancelHover();
  for (int i = 0; i < parent->ActionControlCount(); ++i)
    if (parent->ActionControls(i)->ActionClient() == parent->FPopup->SourceItem())
      parent->SelectControl(parent->ActionControls(i));
}

bool TCustomActionMenuBar::HandleMenuKey(WORD key) {
  TCustomActionMenuBar* root = RootMenu();
  // A key takes over from the mouse in every open menu.
  for (TCustomActionMenuBar* m = root; m; m = m->FPopup)
    m->CancelHover();
  // A pop-up at the root (a context menu) walks its items like a sub-menu.
  const bool popup = !IsBarRoot();
  TCustomActionControl* selected = SelectedControl();
  auto openFirst = [](TCustomActionMenuBar* bar, TCustomActionControl* c) {
    bar->OpenSubMenu(c);
    if (TCustomActionPopupMenu* p = bar->Popup()) p->SelectControl(p->NextControl(1));
  };
  auto moveRoot = [&](int direction) {
    TCustomActionControl* next = root->NextControl(direction);
    if (!next) return;
    if (root->Popup())
      openFirst(root, next);
    else
      root->SelectControl(next);
  };
  switch (key) {
  case VK_ESCAPE:
    // Out of a bar's first drop-down the title stays selected, however the
    // drop-down was opened; a second Esc leaves.
    if (FParentMenu == root && root->IsBarRoot())
      root->SetMode(TMenuMode::BarSelected, root->SelectedControl());
    else if (FParentMenu)
      FParentMenu->CloseSubMenus();
    else
      CloseMenu();
    return true;
  case VK_LEFT:
  case VK_RIGHT: {
    const int direction = key == VK_RIGHT ? 1 : -1;
    if (!popup) {
      moveRoot(direction);
    } else if (direction > 0 && OpensSubMenu(selected)) {
      openFirst(this, selected);
    } else if (direction < 0 && FParentMenu && (FParentMenu != root || !root->IsBarRoot())) {
      FParentMenu->CloseSubMenus();
    } else if (root->IsBarRoot()) {
      moveRoot(direction);
    }
    return true;
  }
  case VK_UP:
  case VK_DOWN:
    if (!popup) {
      if (key == VK_DOWN && selected) openFirst(this, selected);
    } else {
      SelectControl(NextControl(key == VK_DOWN ? 1 : -1));
    }
    return true;
  case VK_RETURN:
    if (!selected) return true;
    if (OpensSubMenu(selected))
      openFirst(this, selected);
    else
      selected->Click();
    return true;
  default:
    return false;
  }
}

void TCustomActionMenuBar::KeyDown(WORD& key, TShiftState shift) {
  // The keys go to the deepest open menu.
  TCustomActionMenuBar* target = this;
  while (target->FPopup)
    target = target->FPopup;
  if (InMenuLoop() && target->HandleMenuKey(key)) {
    key = 0;
    return;
  }
  // A combination with Ctrl or Alt the menus do not use (Ctrl+F4, Alt+X)
  // leaves them and goes to the form as it would without them.
  const bool modifier = key == VK_CONTROL || key == VK_MENU || key == VK_SHIFT;
  if (InMenuLoop() && !FParentMenu && !modifier &&
      (shift.Contains(ssCtrl) || shift.Contains(ssAlt))) {
    CloseMenu();
    if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGKEY, key, 0) != 0) {
      key = 0;
      return;
    }
  }
  TCustomActionDockBar::KeyDown(key, shift);
}

void TCustomActionMenuBar::KeyPress(char32_t& key) {
  if (!InMenuLoop()) return;
  TCustomActionMenuBar* target = this;
  while (target->FPopup)
    target = target->FPopup;
  const char32_t k = FoldCase(key);
  const std::vector<char32_t> keys = BarAccelerators(*target);
  for (int i = 0; i < target->ActionControlCount(); ++i) {
    TCustomActionControl* c = target->ActionControls(i);
    if (!c->ActionClient() || !c->Visible() || !c->IsEnabled()) continue;
    if (keys[size_t(i)] != k) continue;
    key = 0;
    if (OpensSubMenu(c)) {
      target->OpenSubMenu(c);
      if (TCustomActionPopupMenu* p = target->Popup()) p->SelectControl(p->NextControl(1));
    } else {
      c->Click();
    }
    return;
  }
}

void TCustomActionMenuBar::WndProc(TMessage& m) {
  // F10 enters the menu loop of a main menu bar that has the keyboard; Alt
  // with a letter opens that item.  A lone Alt counts at its release (see
  // CM_MENUKEY): pressed, it may still become Alt+X.
  if (m.Msg == WM_SYSKEYDOWN || m.Msg == WM_KEYDOWN) {
    auto* main = dynamic_cast<TCustomActionMainMenuBar*>(this);
    if (main && m.WParam == VK_F10 && !InMenuLoop()) {
      main->EnterMenuLoop();
      m.Result = 0;
      return;
    }
  }
  if (m.Msg == WM_SYSCHAR) {
    if (auto* main = dynamic_cast<TCustomActionMainMenuBar*>(this)) {
      main->OpenByAccelerator(char32_t(m.WParam));
      m.Result = 0;
      return;
    }
  }
  // A menu key pressed anywhere in the form (the form offers it to its
  // controls): Alt alone or F10 enter the menu loop and, pressed again,
  // leave it; Alt+letter opens the item with that accelerator; an unknown
  // letter is left to the form.
  if (m.Msg == CM_MENUKEY) {
    auto* main = dynamic_cast<TCustomActionMainMenuBar*>(this);
    if (!main || !Showing() || !Enabled() || DesignMode()) return;
    if (m.WParam == WM_SYSCHAR) {
      if (main->OpenByAccelerator(char32_t(m.LParam))) m.Result = 1;
    } else {
      if (InMenuLoop())
        CloseMenu();
      else
        main->EnterMenuLoop();
      m.Result = 1;
    }
    return;
  }
  if (m.Msg == WM_TIMER && m.WParam == HoverTimerId) {
    HoverExpired();
    return;
  }
  // The keyboard leaving the menu bar (a click on another control, the
  // program left) ends the menu loop, and so does the bar's window going.
  if ((m.Msg == WM_KILLFOCUS || m.Msg == WM_DESTROY) && IsBarRoot() && InMenuLoop()) CloseMenu();
  TCustomActionDockBar::WndProc(m);
}

// ---- TCustomActionMainMenuBar --------------------------------------------------------------

TCustomActionMainMenuBar::TCustomActionMainMenuBar(TComponent* owner)
    : TCustomActionMenuBar(owner) {
  SetBounds(0, 0, 150, 24);
  SetHorzMargin(1);
  SetVertMargin(1);
  SetWrapping(true);
  SetUseSystemFont(true);
}

void TCustomActionMainMenuBar::SetUseSystemFont(bool value) {
  if (value == FUseSystemFont) return;
  FUseSystemFont = value;
  if (!value) return;
  const sys::LOGFONT& menu = sys::GetNonClientMetrics().lfMenuFont;
  Font()->SetName(menu.lfFaceName);
  Font()->SetHeight(menu.lfHeight);
  Font()->SetCharset(menu.lfCharSet);
}

void TCustomActionMainMenuBar::EnterMenuLoop() {
  if (TCustomActionControl* first = NextControl(1)) SetMode(TMenuMode::BarSelected, first);
}

bool TCustomActionMainMenuBar::OpenByAccelerator(char32_t letter) {
  const char32_t k = FoldCase(letter);
  const std::vector<char32_t> keys = BarAccelerators(*this);
  for (int i = 0; i < ActionControlCount(); ++i) {
    TCustomActionControl* c = ActionControls(i);
    if (!c->ActionClient() || !c->Visible() || !c->IsEnabled() || keys[size_t(i)] != k) continue;
    OpenSubMenu(c);
    if (TCustomActionPopupMenu* p = Popup()) p->SelectControl(p->NextControl(1));
    return true;
  }
  return false;
}

// ---- TCustomActionPopupMenu ----------------------------------------------------------------

TCustomActionPopupMenu::TCustomActionPopupMenu(TComponent* owner) : TCustomActionMenuBar(owner) {
  SetVisibleFlag(false);
  SetOrientation(boTopToBottom);
  SetBarAutoSize(false);
  SetWrapping(false);
  SetEdgeOuter(esRaised);
  SetEdgeInner(esRaised);
  SetHorzMargin(1);
  SetVertMargin(1);
}

TCustomActionPopupMenu::~TCustomActionPopupMenu() {
  ReleaseKeys();
}

void TCustomActionPopupMenu::TakeKeys() {
  if (FKeyHook || FParentMenu || !Showing()) return;
  FKeyHook = AddMenuKeyHook([this](UINT msg, WPARAM key) { return MenuKey(msg, key); });
}

void TCustomActionPopupMenu::ReleaseKeys() {
  if (FKeyHook) RemoveMenuKeyHook(FKeyHook);
  FKeyHook = 0;
}

// Every key message of the program while the pop-up has the keyboard.
bool TCustomActionPopupMenu::MenuKey(UINT msg, WPARAM key) {
  if (!InMenuLoop()) {
    ReleaseKeys();
    return false;
  }
  TCustomActionMenuBar* target = this;
  while (target->Popup())
    target = target->Popup();
  if (msg == WM_CHAR || msg == WM_SYSCHAR) {
    char32_t ch = char32_t(key);
    KeyPress(ch);
    return true;
  }
  if (msg == WM_KEYUP || msg == WM_SYSKEYUP) {
    // A lone Alt leaves the menu, as it leaves a menu bar's loop.
    if (msg == WM_SYSKEYUP && key == VK_MENU) CloseMenu();
    return true;
  }
  const WORD vk = WORD(key);
  if (vk == VK_MENU || vk == VK_CONTROL || vk == VK_SHIFT) return true;
  if (target->HandleMenuKey(vk)) return true;
  // Letters and digits come again as characters (the items' accelerators,
  // with Alt still held from opening the menu too); other combinations
  // with Ctrl or Alt (Alt+F4, Ctrl+F6) are the window's.
  const TShiftState shift = KeyboardShiftState();
  const bool character = (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') || vk == VK_SPACE;
  if (shift.Contains(ssCtrl) || (shift.Contains(ssAlt) && !character)) {
    CloseMenu();
    return false;
  }
  return true;
}

void TCustomActionPopupMenu::CreateParams(TCreateParams& p) {
  TCustomActionMenuBar::CreateParams(p);
  p.Style = WS_POPUP;
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  p.WndParent = nullptr;
}

bool TCustomActionPopupMenu::ItemShown(TActionClientItem* item) const {
  return FExpanded ? ItemVisible(item) : TCustomActionMenuBar::ItemShown(item);
}

TClassRef<TCustomActionControl> TCustomActionPopupMenu::ExpandBtnClass() {
  return TCustomMenuExpandBtn::StaticClass();
}

void TCustomActionPopupMenu::CreateControls() {
  TCustomActionMenuBar::CreateControls();
  if (FExpanded || !ActionClient() || !ActionClient()->HasItems()) return;
  // An expand button when items are left out as unused.
  TActionClients* items = ActionClient()->Items();
  bool hidden = false;
  for (int i = 0; i < items->Count(); ++i)
    if (items->Items(i)->Visible() && items->Items(i)->HideUnused() && items->Items(i)->Unused())
      hidden = true;
  if (!hidden) return;
  TCustomActionControl* button = ExpandBtnClass().Create(this);
  button->SetParent(this);
  AddActionControl(button);
}

void TCustomActionPopupMenu::Expand() {
  if (FExpanded) return;
  FExpanded = true;
  const POINT at{Left(), Top()};
  RecreateControls();
  if (Showing()) PopupAt(at);
}

void TCustomActionPopupMenu::PopupAt(POINT at) {
  int w = 0, h = 0;
  for (int i = 0; i < ActionControlCount(); ++i) {
    const SIZE s = ActionControls(i)->CalcSize();
    w = std::max<int>(w, s.cx);
    h += s.cy + Spacing();
  }
  const int frame = (EdgeOuter() != esNone ? 1 : 0) + (EdgeInner() != esNone ? 1 : 0);
  w += 2 * (frame + HorzMargin());
  h += 2 * (frame + VertMargin());
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  const int x = std::clamp<int>(at.x, 0, std::max(0, sw - w));
  const int y = std::clamp<int>(at.y, 0, std::max(0, sh - h));
  SetBounds(x, y, w, h);
  LayoutControls();
  HandleNeeded();
  SetWindowPos(Handle(), HWND_TOPMOST, x, y, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  SetVisibleFlag(true);
  Invalidate();
  // A pop-up of its own (not a sub-menu) closes at a press anywhere else.
  if (!FParentMenu) WatchPresses();
}

POINT TCustomActionPopupMenu::PopupPoint(TCustomActionControl* control) {
  return control->ClientToScreen(POINT{control->Width() - 1, -3});
}

void TCustomActionPopupMenu::DrawBackground() {
  const RECT r = ClientRect();
  TCustomActionBarColorMap* m = ColorMap();
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(m->MenuColor());
  Canvas()->FillRect(r);
  DrawEdges(Canvas(), r, m->FrameTopLeftInner(), m->FrameBottomRightOuter(), m->FrameTopLeftOuter(),
            m->FrameBottomRightInner());
}

void TCustomActionPopupMenu::WndProc(TMessage& m) {
  if (m.Msg == CM_EXPANDMENU) {
    Expand();
    return;
  }
  TCustomActionMenuBar::WndProc(m);
}

// ---- TCustomMenuItem -----------------------------------------------------------------------

std::string TCustomMenuItem::ShortCutText() const {
  if (!ActionClient()) return {};
  const TShortCut sc = ActionClient()->ShortCut();
  return sc == scNone ? std::string() : ShortCutToText(sc);
}

SIZE TCustomMenuItem::CalcSize() {
  if (IsSeparator()) return SIZE{GutterWidth() + 20, 7};
  SIZE s = TCustomActionControl::CalcSize();
  int w = GutterWidth() + 6 + (s.cx - 12) + 24;
  const std::string sc = ShortCutText();
  if (!sc.empty()) w += int(sc.size()) * 7 + 16;
  return SIZE{std::max(w, 120), std::max<int>({s.cy, 22, int(GlyphCell().cy) + 6})};
}

SIZE TCustomMenuItem::GlyphCell() const {
  if (TCustomActionBar* bar = ActionBar())
    if (TCustomActionManager* m = bar->ActionManager())
      if (m->Images()) return SIZE{m->Images()->Width(), m->Images()->Height()};
  return SIZE{16, 16};
}

POINT TCustomMenuItem::GlyphPos() {
  const SIZE cell = GlyphCell();
  return POINT{(GutterWidth() - cell.cx) / 2, (Height() - cell.cy) / 2};
}

RECT TCustomMenuItem::TextBounds() {
  RECT r = ClientRect();
  r.left = GutterWidth() + 6;
  r.right -= 18;
  return r;
}

TColor TCustomMenuItem::CaptionColor() {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return Font()->Color();
  if (!IsEnabled()) return m->DisabledFontColor();
  return Selected() ? m->SelectedFontColor() : m->FontColor();
}

void TCustomMenuItem::DrawText(RECT& r, UINT flags, const std::string& text) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  if (WantsShadowedText()) {
    DrawShadowedText(r, flags, text, m->DisabledFontColor(), m->DisabledFontShadow());
    return;
  }
  Canvas()->Brush()->SetStyle(bsClear);
  Canvas()->Font()->SetColor(CaptionColor());
  Canvas()->TextRect(r, text, flags);
}

void TCustomMenuItem::DrawSeparator(const RECT& r) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  const int y = (r.top + r.bottom) / 2 - 1;
  Canvas()->Pen()->SetColor(m->ShadowColor());
  Canvas()->MoveTo(r.left + 1, y);
  Canvas()->LineTo(r.right - 1, y);
  Canvas()->Pen()->SetColor(m->FrameTopLeftOuter());
  Canvas()->MoveTo(r.left + 1, y + 1);
  Canvas()->LineTo(r.right - 1, y + 1);
}

void TCustomMenuItem::DrawCheckMark(const RECT& cell) {
  const TColor color = CaptionColor();
  Canvas()->Pen()->SetColor(color);
  auto* action = ActionClient() ? dynamic_cast<TCustomAction*>(ActionClient()->Action()) : nullptr;
  if (action && action->GroupIndex() > 0) {
    // A radio dot, 5 pixels across, in the middle of the column.
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(color);
    const int x = cell.left + (cell.Width() - 5) / 2, y = cell.top + (cell.Height() - 5) / 2;
    Canvas()->Ellipse(x, y, x + 5, y + 5);
    return;
  }
  DrawCheck(Canvas(), POINT{cell.left + (cell.Width() - 7) / 2, cell.top + cell.Height() / 2 - 1},
            2, false);
}

void TCustomMenuItem::DrawGlyph(const POINT& p) {
  const bool checked = IsChecked();
  const bool glyph = HasGlyph();
  if (checked && (!glyph || CheckBesideGlyph())) DrawCheckMark(RECT{0, 0, GutterWidth(), Height()});
  if (!glyph) return;
  if (checked && !CheckBesideGlyph()) {
    const SIZE cell = GlyphCell();
    DrawCheckedGlyphBox(RECT{p.x - 2, p.y - 2, p.x + cell.cx + 2, p.y + cell.cy + 2});
  }
  TCustomActionControl::DrawGlyph(p);
}

void TCustomMenuItem::DrawCheckedGlyphBox(const RECT& box) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  DrawEdges(Canvas(), box, m->ShadowColor(), m->FrameTopLeftOuter(), clNone, clNone);
}

void TCustomMenuItem::DrawSubMenuArrow(const RECT& r) {
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(Canvas()->Font()->Color());
  Canvas()->Pen()->SetColor(Canvas()->Font()->Color());
  DrawArrow(Canvas(), sdRight, POINT{r.right - 12, (r.top + r.bottom) / 2 - 4}, 4);
}

void TCustomMenuItem::Paint() {
  Canvas()->Font()->Assign(Font());
  RECT r = ClientRect();
  DrawBackground(r);
  if (IsSeparator()) {
    DrawSeparator(RECT{GutterWidth() + 2, 0, Width(), Height()});
    return;
  }
  if (HasGlyph() || IsChecked()) DrawGlyph(GlyphPos());
  RECT t = TextBounds();
  DrawText(t, DT_SINGLELINE | DT_VCENTER | DT_LEFT,
           ActionClient() ? ActionClient()->Caption() : "");
  const std::string sc = ShortCutText();
  if (!sc.empty()) {
    RECT s = TextBounds();
    s.right = Width() - 20;
    DrawText(s, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX, sc);
  }
  if (OpensSubMenu(this)) DrawSubMenuArrow(ClientRect());
}

void TCustomMenuItem::MouseEnter() {
  TCustomActionControl::MouseEnter();
  auto* bar = dynamic_cast<TCustomActionMenuBar*>(ActionBar());
  if (!bar) return;
  bar->MouseReachedMenu();
  if (IsSeparator() || bar->DesignMode()) return;
  bar->HoverControl(this);
}

void TCustomMenuItem::Click() {
  auto* bar = dynamic_cast<TCustomActionMenuBar*>(ActionBar());
  if (bar) bar->RootMenu()->ControlClicked(this);
}

// ---- TCustomMenuExpandBtn ------------------------------------------------------------------

SIZE TCustomMenuExpandBtn::CalcSize() {
  return SIZE{60, 16};
}

void TCustomMenuExpandBtn::Click() {
  if (TCustomActionBar* bar = ActionBar(); bar && bar->HandleAllocated())
    PostMessage(bar->Handle(), CM_EXPANDMENU, 0, 0);
}

void TCustomMenuExpandBtn::Paint() {
  RECT r = ClientRect();
  DrawBackground(r);
  DrawFrame(r, false);
  Canvas()->Pen()->SetColor(Font()->Color());
  DrawChevron(Canvas(), sdDown, POINT{Width() / 2 - 4, 3}, 3);
}

} // namespace zel
